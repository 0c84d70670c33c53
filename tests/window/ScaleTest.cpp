// The window at other scales than 100 %: the shipped program started at 120, 144 and
// 192 dpi and looked at from here (the screen, and the tool bar as readers see it).
#include <gtest/gtest.h>

#include <windows.h>
// after windows.h, which they need
#include <commctrl.h>

#include <map>
#include <string>
#include <utility>

#include "Banner.h"
#include "Dpi.h"
#include "Languages.h"
#include "ProgramRun.h"
#include "Resources.h"
#include "ScreenPixels.h"
#include "ScreenReader.h"
#include "WindowTestSupport.h"

namespace parlivo::test {
namespace {

// The pictures drawn for one scale, as make-pictures.sh names them.
struct TScale {
  int Dpi;
  int Banner;
  int ToolBar;
  int FlagSize;
};
constexpr TScale k100{96, IDB_BANNER, IDB_TOOLBAR, 32};
constexpr TScale k125{120, IDB_BANNER_125, IDB_TOOLBAR_125, 40};
constexpr TScale k150{144, IDB_BANNER_150, IDB_TOOLBAR_150, 48};
constexpr TScale k200{192, IDB_BANNER_200, IDB_TOOLBAR_200, 64};

// A flag picture shown with its alpha (the tool bar's pictures blend into the button)
// differs from the one it was drawn from by rounding only: a channel 0.1 on average
// under Wine. The 100 % picture stretched to the same size differs by 1.4 (the soft
// arrow) to 17 (the lines of the Union flag).
constexpr double kSameFlag = 0.5;

// The tool bar's visible buttons on a German-only lexicon: the pictures of English, the
// arrow, German.
const int kFlagsShown[] = {0, 1, Languages[0].Picture};

TPixels Flag(const TScale& scale, int picture) {
  const TPixels strip = ResourcePixels(scale.ToolBar);
  return Part(strip, picture * scale.FlagSize, 0, scale.FlagSize, scale.FlagSize);
}

// A button on the screen shows the flag drawn for the scale at the flag's own size:
// the picture over the button's background, wherever in the button it fits best.
void ExpectFlagDrawnForTheScale(const RECT& buttonOnScreen, int picture, const TScale& scale) {
  const TPixels shown = ScreenPixels(buttonOnScreen);
  const uint32_t background = shown.At(1, 1);
  const TFit fit = BestFit(shown, OverBackground(Flag(scale, picture), background));
  EXPECT_LT(fit.Difference, kSameFlag) << "picture " << picture << " at " << scale.Dpi << " dpi";
  if (scale.Dpi == k100.Dpi) return;
  // The check tells the two apart: the 100 % flag stretched does not pass it.
  const TPixels stretched = Stretched(Flag(k100, picture), scale.FlagSize, scale.FlagSize);
  EXPECT_GT(BestFit(shown, OverBackground(stretched, background)).Difference, kSameFlag)
      << "picture " << picture << " at " << scale.Dpi << " dpi";
}

// The banner strip on the screen shows the banner drawn for the scale, centred, and it
// fills the strip's height.
void ExpectBannerDrawnForTheScale(HWND banner, const TScale& scale) {
  RECT strip;
  GetClientRect(banner, &strip);
  MapWindowPoints(banner, HWND_DESKTOP, reinterpret_cast<POINT*>(&strip), 2);
  const TPixels shown = ScreenPixels(strip);
  const TPixels picture = ResourcePixels(scale.Banner);
  EXPECT_EQ(shown.Height, picture.Height) << scale.Dpi << " dpi";
  ASSERT_GE(shown.Width, picture.Width) << scale.Dpi << " dpi";
  ASSERT_GE(shown.Height, picture.Height) << scale.Dpi << " dpi";
  EXPECT_EQ(Difference(shown, (shown.Width - picture.Width) / 2,
                       (shown.Height - picture.Height) / 2, picture),
            0.0)
      << scale.Dpi << " dpi";
}

class AtTheScreensScale : public ::testing::TestWithParam<TScale> {};

TEST_P(AtTheScreensScale, FlagsAndBannerAreTheScalesOwnPictures) {
  const TScale& scale = GetParam();
  const TProgramRun program(scale.Dpi);
  ASSERT_NE(program.Window(), nullptr);
  // The program runs at the scale: its client area is the design's, scaled.
  RECT client;
  GetClientRect(program.Window(), &client);
  EXPECT_EQ(client.right, Scaled(366, scale.Dpi));
  EXPECT_EQ(client.bottom, Scaled(463, scale.Dpi));
  ExpectBannerDrawnForTheScale(program.Control(TBanner::kClassName), scale);
  const TReaderView bar(program.Control(TOOLBARCLASSNAMEW));
  ASSERT_NE(bar.Object(), nullptr);
  ASSERT_EQ(bar.Count(), static_cast<long>(std::size(kFlagsShown)));
  for (long child = 1; child <= bar.Count(); ++child) {
    const RECT button = bar.Location(child);
    EXPECT_EQ(button.bottom - button.top, Scaled(38, scale.Dpi));
    ExpectFlagDrawnForTheScale(button, kFlagsShown[child - 1], scale);
  }
}

INSTANTIATE_TEST_SUITE_P(Scales, AtTheScreensScale, ::testing::Values(k125, k150, k200),
                         [](const auto& info) { return std::to_string(info.param.Dpi) + "dpi"; });

}  // namespace
}  // namespace parlivo::test
