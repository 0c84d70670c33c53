// The window at other scales than 100 %: the shipped program started at 120, 144 and
// 192 dpi and looked at from here (the screen, and the tool bar as readers see it), and
// WM_DPICHANGED sent as Windows sends it when the window moves to a monitor of another
// scale, which Wine cannot do (it has one dpi for all monitors).
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
#include "UserInput.h"
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
  return Piece(strip, picture * scale.FlagSize, 0, scale.FlagSize, scale.FlagSize);
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
  const TPixels picture = ResourcePixels(scale.Banner);
  // The first program of a run may still be painting when it first waits for input:
  // look again until the strip shows the picture, a few seconds at most.
  TPixels shown;
  WaitUntil(
      [&] {
        shown = ScreenPixels(strip);
        return shown.Width >= picture.Width && shown.Height >= picture.Height &&
               Difference(shown, (shown.Width - picture.Width) / 2,
                          (shown.Height - picture.Height) / 2, picture) == 0.0;
      },
      3000);
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

TEST(TurnedRoundAtTheScreensScale, TheFirstPictureIsTheLanguagesFlagForTheScale) {
  const TProgramRun program(k150.Dpi, TDirection::ToEnglish);
  ASSERT_NE(program.Window(), nullptr);
  const TReaderView bar(program.Control(TOOLBARCLASSNAMEW));
  ASSERT_NE(bar.Object(), nullptr);
  ASSERT_EQ(bar.Count(), 3);
  EXPECT_EQ(bar.Location(2).bottom - bar.Location(2).top, Scaled(38, k150.Dpi));
  const int german = Languages[0].Picture;
  ExpectFlagDrawnForTheScale(bar.Location(1), german, k150);
  ExpectFlagDrawnForTheScale(bar.Location(2), 1, k150);  // the arrow, pressed
  ExpectFlagDrawnForTheScale(bar.Location(3), german, k150);
}

INSTANTIATE_TEST_SUITE_P(Scales, AtTheScreensScale, ::testing::Values(k125, k150, k200),
                         [](const auto& info) { return std::to_string(info.param.Dpi) + "dpi"; });

// A setting of the shipped program's manifest as the system reads it.
String16 ManifestSetting(const wchar_t* space, const wchar_t* name) {
  const String16 program = ProgramFolder() + L"..\\bin\\Parlivo.exe";
  ACTCTXW context{};
  context.cbSize = sizeof context;
  context.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
  context.lpSource = program.c_str();
  context.lpResourceName = CREATEPROCESS_MANIFEST_RESOURCE_ID;
  const HANDLE manifest = CreateActCtxW(&context);
  if (manifest == INVALID_HANDLE_VALUE) return L"<no manifest>";
  wchar_t value[128] = {};
  SIZE_T written = 0;
  if (!QueryActCtxSettingsW(0, manifest, space, name, value, std::size(value), &written))
    value[0] = L'\0';
  ReleaseActCtx(manifest);
  return value;
}

TEST(Manifest, AsksForEachMonitorsScaleAndTheScreensOnOlderWindows) {
  // Windows 10 1607 and later take the first value they know.
  EXPECT_EQ(
      ManifestSetting(L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", L"dpiAwareness"),
      L"PerMonitorV2, PerMonitor");
  // Windows 8.1 takes it as each monitor's scale, Windows 7 and 8 as the screen's.
  EXPECT_EQ(ManifestSetting(L"http://schemas.microsoft.com/SMI/2005/WindowsSettings", L"dpiAware"),
            L"true/pm");
}

LONG FontHeight(HFONT font) {
  LOGFONTW description{};
  GetObjectW(font, sizeof description, &description);
  return description.lfHeight;
}

LONG ControlFontHeight(HWND control) {
  return FontHeight(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
}

// The window moved between monitors of 100 and 150 % as Windows moves it: the same
// window, told its new dpi and given a new place. One window for the suite.
class DpiChange : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    Shown = ShowFormOn([](const std::filesystem::path& folder) {
      WriteLexicon(folder, {{"German.plv",
                             {{"sun", "Sonne"},
                              {"sunny", "sonnig"},
                              {"sunday", "Sonntag"},
                              {"sunflower", "Sonnenblume"}}}});
    });
    Form = Shown->Form.get();
    // On top, where the screen shows all of it at both scales.
    SetWindowPos(Form->Handle(), HWND_TOPMOST, 20, 20, 0, 0, SWP_NOSIZE);
    Form->LanguageBar().Press(LanguageButtonId(0));
    Form->ToolButton3Click();
    SetWindowTextW(Form->EditWord(), L"sun");
    PumpMessages();
  }
  static void TearDownTestSuite() { Shown.reset(); }

  // Sends WM_DPICHANGED with the place Windows suggests: the top-left corner kept, the
  // client area the design's at the new dpi inside a frame of that dpi. Returns it.
  static RECT MoveToMonitorOf(int dpi) {
    RECT window;
    GetWindowRect(Form->Handle(), &window);
    const SIZE outer =
        OuterSize({Scaled(366, dpi), Scaled(463, dpi)},
                  static_cast<DWORD>(GetWindowLongPtrW(Form->Handle(), GWL_STYLE)), 0, dpi);
    RECT suggested{window.left, window.top, window.left + outer.cx, window.top + outer.cy};
    SendMessageW(Form->Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                 reinterpret_cast<LPARAM>(&suggested));
    // Until the row heights that painting measures settle.
    for (int i = 0; i < 4; ++i) {
      RedrawWindow(Form->Handle(), nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
      PumpMessages();
    }
    return suggested;
  }

  // What the dpi sets, by name, for comparing whole layouts.
  static std::map<std::string, int> Layout() {
    std::map<std::string, int> layout;
    RECT client;
    GetClientRect(Form->Handle(), &client);
    layout["client width"] = client.right;
    layout["client height"] = client.bottom;
    const std::pair<const char*, HWND> strips[] = {{"banner", Form->TopPanel()},
                                                   {"tool bar", Form->ToolBar()},
                                                   {"word box", Form->EditWord()},
                                                   {"grid", Form->VList().Handle()},
                                                   {"status bar", Form->StatusBar()}};
    for (const auto& [name, strip] : strips) {
      const RECT place = ChildRect(strip);
      layout[std::string(name) + " top"] = place.top;
      layout[std::string(name) + " height"] = place.bottom - place.top;
    }
    const RECT button = Form->LanguageBar().ButtonRect(ToolButtonId(1));
    layout["button left"] = button.left;
    layout["button width"] = button.right - button.left;
    layout["button height"] = button.bottom - button.top;
    int flagWidth = 0, flagHeight = 0;
    ImageList_GetIconSize(
        reinterpret_cast<HIMAGELIST>(SendMessageW(Form->ToolBar(), TB_GETIMAGELIST, 0, 0)),
        &flagWidth, &flagHeight);
    layout["flag size"] = flagWidth;
    layout["word box font"] = ControlFontHeight(Form->EditWord());
    layout["status bar font"] = ControlFontHeight(Form->StatusBar());
    layout["cell font"] = FontHeight(Form->VList().CellFont(false));
    layout["bold cell font"] = FontHeight(Form->VList().CellFont(true));
    layout["row height"] = Form->VList().RowHeight(0);
    layout["key column"] = Form->VList().ColWidth(0);
    MINMAXINFO limits{};
    SendMessageW(Form->Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    layout["minimum width"] = limits.ptMinTrackSize.x;
    layout["minimum height"] = limits.ptMinTrackSize.y;
    return layout;
  }

  // The tool bar's buttons on the screen show the flags drawn for the scale.
  static void ExpectFlagsDrawnFor(const TScale& scale) {
    const int numbers[] = {1, 2, 3};  // English, the arrow, German
    for (size_t i = 0; i < std::size(numbers); ++i) {
      RECT button = Form->LanguageBar().ButtonRect(ToolButtonId(numbers[i]));
      MapWindowPoints(Form->ToolBar(), HWND_DESKTOP, reinterpret_cast<POINT*>(&button), 2);
      ExpectFlagDrawnForTheScale(button, kFlagsShown[i], scale);
    }
  }

  static inline std::unique_ptr<TShownForm> Shown;
  static inline TMainForm* Form = nullptr;
};

TEST_F(DpiChange, From100To150PercentAndBack) {
  MoveToMonitorOf(96);  // as at the start: nothing changes
  const auto at96 = Layout();
  ExpectFlagsDrawnFor(k100);
  ExpectBannerDrawnForTheScale(Form->TopPanel(), k100);

  const RECT suggested = MoveToMonitorOf(144);
  const auto at144 = Layout();
  RECT window;
  GetWindowRect(Form->Handle(), &window);
  EXPECT_TRUE(EqualRect(&window, &suggested));
  // The client area is the design's, but for the frame: Wine keeps that of the screen's
  // dpi where Windows draws one for the window's.
  const int height = at144.at("client height");
  EXPECT_GE(at144.at("client width"), 549);
  EXPECT_GE(height, 695);
  // The strips from the top, 50, 46, 32 and 20 pixels high at 96 dpi.
  EXPECT_EQ(at144.at("tool bar top"), 75);
  EXPECT_EQ(at144.at("word box top"), 75 + 69);
  EXPECT_EQ(at144.at("grid top"), 75 + 69 + 48);
  EXPECT_EQ(at144.at("status bar height"), 30);
  EXPECT_EQ(at144.at("status bar top"), height - 30);
  EXPECT_EQ(at144.at("grid height"), height - 30 - 192);
  EXPECT_EQ(at144.at("button left"), 3);
  EXPECT_EQ(at144.at("button width"), 59);
  EXPECT_EQ(at144.at("button height"), 57);
  EXPECT_EQ(at144.at("flag size"), 48);
  // 19 pixels and 8 points at 96 dpi.
  EXPECT_EQ(at144.at("word box font"), -29);
  EXPECT_EQ(at144.at("cell font"), -16);
  EXPECT_EQ(at144.at("bold cell font"), -16);
  NONCLIENTMETRICSW system{};
  system.cbSize = sizeof system;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof system, &system, 0);
  EXPECT_EQ(at144.at("status bar font"), MulDiv(system.lfStatusFont.lfHeight, 144, 96));
  // Rows are measured again in the new font; keys too.
  EXPECT_EQ(at144.at("row height"), CellLineHeight(Form->VList()) + 5);
  EXPECT_GT(at144.at("row height"), at96.at("row height"));
  EXPECT_GT(at144.at("key column"), at96.at("key column") * 13 / 10);
  EXPECT_EQ(at144.at("minimum height"), 225);
  ExpectFlagsDrawnFor(k150);
  ExpectBannerDrawnForTheScale(Form->TopPanel(), k150);

  // No way of setting the size goes below the minimum at the new scale either.
  SetWindowPos(Form->Handle(), nullptr, 0, 0, 10, 10, SWP_NOMOVE | SWP_NOZORDER);
  RECT client;
  GetClientRect(Form->Handle(), &client);
  EXPECT_GE(client.right, 549);
  RECT small;
  GetWindowRect(Form->Handle(), &small);
  EXPECT_EQ(small.bottom - small.top, 225);
  SetWindowPos(Form->Handle(), nullptr, 0, 0, window.right - window.left,
               window.bottom - window.top, SWP_NOMOVE | SWP_NOZORDER);

  MoveToMonitorOf(96);
  EXPECT_EQ(Layout(), at96);
  ExpectFlagsDrawnFor(k100);
  ExpectBannerDrawnForTheScale(Form->TopPanel(), k100);
}

}  // namespace
}  // namespace parlivo::test
