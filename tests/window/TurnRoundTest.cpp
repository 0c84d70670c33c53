// Turning the direction round as a user does: the arrow clicked and Ctrl+D pressed on
// the X display Wine draws on, words typed with and without their accents, and the
// direction kept from one start to the next beside the language.
#include <gtest/gtest.h>

#include <windows.h>
// after windows.h, which they need
#include <oleacc.h>

#include "ErrorBox.h"
#include "Languages.h"
#include "Registry.h"
#include "ReverseLexicon.h"
#include "ScreenPixels.h"
#include "ScreenReader.h"
#include "UserInput.h"
#include "WindowTestSupport.h"

namespace parlivo::test {
namespace {

using Rows = std::vector<String16>;

// English words in German, French, Dutch and English; German and French words with
// English texts. Dutch cannot be turned round: its files of the other direction are
// missing.
void WriteFiles(const std::filesystem::path& folder) {
  WriteLexicon(folder, {{"German.plv", {{"house", "Haus"}, {"houses", "Haeuser"}}},
                        {"French.plv", {{"house", "maison"}}},
                        {"Dutch.plv", {{"house", "huis"}}},
                        {"English.plv", {{"house", "a building to live in"}}}});
  WriteReverseSet(folder / "Files", "German",
                  {{"haus", "Haus", "house"},
                   {"hauser", "Häuser", "houses"},
                   {"schon", "schon", "already"},
                   {"schon2", "schön", "beautiful"},
                   {"strasse", "Straße", "street"}});
  WriteReverseSet(folder / "Files", "French",
                  {{"eleve", "élève", "pupil"}, {"francais", "français", "French"}});
}

// The bar's buttons as readers count them, with every language present.
enum TItem : long { itFrom = 1, itArrow, itEnglish, itGerman, itFrench, itDutch };

const int kGerman = LanguageButtonId(0);
const int kFrench = LanguageButtonId(1);
const int kDutch = LanguageButtonId(2);
const int kEnglish = LanguageButtonId(6);

// The window of the suite, shown once, between tests from English with German chosen.
class TurningRound : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    RegDeleteTreeW(HKEY_CURRENT_USER, RegistryKey);
    Shown = ShowFormForInput(WriteFiles);
    Form = Shown->Form.get();
  }
  static void TearDownTestSuite() {
    EndInput(Shown);
    RegDeleteTreeW(HKEY_CURRENT_USER, RegistryKey);
  }
  void SetUp() override {
    FForm = Form;
    SetForegroundWindow(FForm->Handle());
    FForm->LanguageBar().Press(kGerman);
    FForm->LanguageBar().SetTurnedRound(false);
    FForm->ToolButton3Click();
    Type(L"");
    // The X keyboard's focus too: the display's, not only Windows'.
    Click(CentreOf(FForm->EditWord()));
  }
  void Type(const wchar_t* text) {
    SetWindowTextW(FForm->EditWord(), text);
    PumpMessages();
  }
  // Keys typed into the emptied word box on the X keyboard, by their X names.
  void TypeKeys(const std::string& names) {
    Type(L"");
    Click(CentreOf(FForm->EditWord()));
    KeysAtTypingSpeed(names);
  }
  POINT ButtonCentre(int id) {
    const RECT rect = FForm->LanguageBar().ButtonRect(id);
    return OnScreen(FForm->ToolBar(), (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
  }
  // The middle of a button's picture on the screen, once the pointer is away from the
  // bar: opaque flag, whatever the button's background.
  TPixels PictureMiddle(int id) {
    MouseMove(CentreOf(FForm->VList().Handle()));
    const POINT centre = ButtonCentre(id);
    // The picture stands 3 pixels right of the button's left edge and 4 below its top,
    // 32 wide: its middle is the button's, a pixel down.
    return ScreenPixels({centre.x - 6, centre.y - 5, centre.x + 6, centre.y + 7});
  }
  std::vector<String16> Files() {
    return {FForm->Translator()->IndexFileName().substr(FForm->FilesPath().size()),
            FForm->Translator()->DataFileName().substr(FForm->FilesPath().size())};
  }

  static inline std::unique_ptr<TShownForm> Shown;
  static inline TMainForm* Form = nullptr;
  TMainForm* FForm = nullptr;
  TErrorCatcher FErrors;
};

TEST_F(TurningRound, AClickOnTheArrowTurnsTheBarRoundAndAnotherTurnsItBack) {
  const TReaderView bar(FForm->ToolBar());
  ASSERT_NE(bar.Object(), nullptr);
  ASSERT_EQ(bar.Count(), 6);
  EXPECT_EQ(bar.Name(itFrom), L"From English");
  EXPECT_EQ(bar.Name(itArrow), L"to");
  EXPECT_EQ(bar.State(itArrow), 0);  // available, not pressed
  const TPixels britishFlag = PictureMiddle(kFromButton);
  EXPECT_EQ(britishFlag.Bits, PictureMiddle(kEnglish).Bits);

  TEventListener listener;
  Click(ButtonCentre(kArrowButton));
  EXPECT_EQ(FForm->LanguageBar().Direction(), TDirection::ToEnglish);
  EXPECT_EQ(Files(), (std::vector<String16>{L"IndexGerman.plv", L"GermanEnglish.plv"}));
  // The bar reads from German to English; English, and Dutch without its files, cannot
  // be chosen.
  EXPECT_EQ(bar.Name(itFrom), L"From German");
  EXPECT_EQ(bar.Name(itArrow), L"to English");
  EXPECT_EQ(bar.State(itArrow), STATE_SYSTEM_PRESSED);
  EXPECT_EQ(bar.State(itEnglish), STATE_SYSTEM_UNAVAILABLE);
  EXPECT_EQ(bar.State(itGerman), STATE_SYSTEM_CHECKED);
  EXPECT_EQ(bar.State(itFrench), 0);
  EXPECT_EQ(bar.State(itDutch), STATE_SYSTEM_UNAVAILABLE);
  EXPECT_EQ(bar.Shortcut(itArrow), L"Ctrl+D");
  EXPECT_EQ(bar.DefaultAction(itArrow), L"Turn round");
  EXPECT_EQ(TReaderView(FForm->EditWord()).Name(CHILDID_SELF), L"German word");
  PumpMessages();
  EXPECT_TRUE(listener.Heard(EVENT_OBJECT_NAMECHANGE, FForm->ToolBar(), itFrom));
  EXPECT_TRUE(listener.Heard(EVENT_OBJECT_STATECHANGE, FForm->ToolBar(), itArrow));
  EXPECT_TRUE(listener.Heard(EVENT_OBJECT_STATECHANGE, FForm->ToolBar(), itEnglish));
  EXPECT_TRUE(listener.Heard(EVENT_OBJECT_NAMECHANGE, FForm->EditWord(), CHILDID_SELF));
  // On the screen: the German flag before the arrow, the English one faded.
  EXPECT_EQ(PictureMiddle(kFromButton).Bits, PictureMiddle(kGerman).Bits);
  EXPECT_NE(PictureMiddle(kEnglish).Bits, britishFlag.Bits);

  TypeKeys("H a u s e r");
  EXPECT_EQ(FForm->VList().Rows(), Rows{L"H\u00E4user=houses"});
  EXPECT_EQ(FForm->StatusText(), L" Found: 1");

  Click(ButtonCentre(kArrowButton));
  EXPECT_EQ(FForm->LanguageBar().Direction(), TDirection::FromEnglish);
  EXPECT_EQ(Files(), (std::vector<String16>{L"Index.plv", L"German.plv"}));
  EXPECT_EQ(bar.Name(itFrom), L"From English");
  EXPECT_EQ(bar.Name(itArrow), L"to");
  EXPECT_EQ(bar.State(itArrow), 0);
  EXPECT_EQ(bar.State(itEnglish), 0);
  EXPECT_EQ(bar.State(itDutch), 0);
  EXPECT_EQ(TReaderView(FForm->EditWord()).Name(CHILDID_SELF), L"Word");
  EXPECT_EQ(PictureMiddle(kFromButton).Bits, britishFlag.Bits);
  EXPECT_EQ(PictureMiddle(kEnglish).Bits, britishFlag.Bits);
  EXPECT_EQ(WindowText(FForm->EditWord()), L"Hauser");
  EXPECT_EQ(FForm->StatusText(), L" Found: 0");
  TypeKeys("h o u s e");
  EXPECT_EQ(FForm->VList().Rows(), (Rows{L"house=Haus", L"houses=Haeuser"}));
  EXPECT_TRUE(FErrors.Messages().empty());
}

TEST_F(TurningRound, CtrlDTurnsRoundWhereTheChosenLanguageCanBe) {
  Keys("ctrl+d");
  EXPECT_EQ(FForm->LanguageBar().Direction(), TDirection::ToEnglish);
  TypeKeys("h a u s");
  EXPECT_EQ(FForm->VList().Rows(), (Rows{L"Haus=house", L"H\u00E4user=houses"}));
  Keys("ctrl+d");
  EXPECT_EQ(FForm->LanguageBar().Direction(), TDirection::FromEnglish);
  EXPECT_EQ(FForm->StatusText(), L" Found: 0");
  TypeKeys("h o u s e");
  EXPECT_EQ(FForm->VList().Rows(), (Rows{L"house=Haus", L"houses=Haeuser"}));

  // Dutch has no files of the other direction: the arrow and Ctrl+D do nothing.
  Keys("ctrl+4");
  ASSERT_TRUE(FForm->LanguageBar().IsDown(kDutch));
  EXPECT_FALSE(FForm->LanguageBar().IsEnabled(kArrowButton));
  Keys("ctrl+d");
  Click(ButtonCentre(kArrowButton));
  EXPECT_FALSE(FForm->LanguageBar().TurnedRound());
  EXPECT_EQ(Files(), (std::vector<String16>{L"Index.plv", L"Dutch.plv"}));
  EXPECT_EQ(FForm->VList().Rows(), Rows{L"house=huis"});

  // French can. Turned round, English and Dutch cannot be chosen, by key or by click.
  Keys("ctrl+3");
  Keys("ctrl+d");
  EXPECT_EQ(Files(), (std::vector<String16>{L"IndexFrench.plv", L"FrenchEnglish.plv"}));
  Keys("ctrl+1");
  Keys("ctrl+4");
  Click(ButtonCentre(kEnglish));
  Click(ButtonCentre(kDutch));
  EXPECT_TRUE(FForm->LanguageBar().IsDown(kFrench));
  EXPECT_EQ(Files(), (std::vector<String16>{L"IndexFrench.plv", L"FrenchEnglish.plv"}));
  // German can: the direction stays turned round with it.
  Keys("ctrl+2");
  EXPECT_EQ(FForm->LanguageBar().Direction(), TDirection::ToEnglish);
  EXPECT_EQ(Files(), (std::vector<String16>{L"IndexGerman.plv", L"GermanEnglish.plv"}));
  EXPECT_EQ(TReaderView(FForm->ToolBar()).Name(itFrom), L"From German");
  EXPECT_TRUE(FErrors.Messages().empty());
}

TEST_F(TurningRound, WordsTypedWithOrWithoutAccentsAreListedAsSpelt) {
  Keys("ctrl+d");
  const Rows both{L"schon=already", L"sch\u00F6n=beautiful"};
  TypeKeys("s c h o n");
  EXPECT_EQ(FForm->VList().Rows(), both);
  TypeKeys("s c h odiaeresis n");
  EXPECT_EQ(WindowText(FForm->EditWord()), L"sch\u00F6n");
  EXPECT_EQ(FForm->VList().Rows(), both);
  TypeKeys("S t r a ssharp e");
  EXPECT_EQ(WindowText(FForm->EditWord()), L"Stra\u00DFe");
  EXPECT_EQ(FForm->VList().Rows(), Rows{L"Stra\u00DFe=street"});
  TypeKeys("shift+odiaeresis");  // "o": no word is "o" alone, or "o" and a space before more
  EXPECT_EQ(WindowText(FForm->EditWord()), L"\u00D6");
  EXPECT_EQ(FForm->StatusText(), L" Found: 0");
  // Whatever is no letter goes, as from English.
  TypeKeys("h a u s 2 minus e r");
  EXPECT_EQ(WindowText(FForm->EditWord()), L"hauser");
  EXPECT_EQ(FForm->VList().Rows(), Rows{L"H\u00E4user=houses"});

  Keys("ctrl+3");
  EXPECT_EQ(TReaderView(FForm->EditWord()).Name(CHILDID_SELF), L"French word");
  TypeKeys("eacute l egrave v e");
  EXPECT_EQ(WindowText(FForm->EditWord()), L"\u00E9l\u00E8ve");
  EXPECT_EQ(FForm->VList().Rows(), Rows{L"\u00E9l\u00E8ve=pupil"});
  TypeKeys("F R A N C A I S");
  EXPECT_EQ(FForm->VList().Rows(), Rows{L"fran\u00E7ais=French"});
  EXPECT_EQ(FForm->StatusText(), L" Found: 1");

  // Back from English the accents go: they are no letters of an English word.
  TypeKeys("h eacute");
  Keys("ctrl+d");
  EXPECT_EQ(WindowText(FForm->EditWord()), L"h");
}

// Windows started anew on the same files, as the program starts: FormShow reads the
// registry before the first search.
class TurnedRoundAtTheStart : public ::testing::Test {
 protected:
  void SetUp() override {
    RegDeleteTreeW(HKEY_CURRENT_USER, RegistryKey);
    WriteFiles(FDir.Path());
  }
  void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, RegistryKey); }
  // On the screen for a user's input; or, quicker where none is given, hidden with
  // FormShow run as showing runs it.
  std::unique_ptr<TMainForm> Start(bool onScreen = true) {
    auto form = std::make_unique<TMainForm>(Folder(FDir));
    if (onScreen) {
      form->Show();
      SetWindowPos(form->Handle(), HWND_TOPMOST, 100, 60, 0, 0, SWP_NOSIZE);
      SetForegroundWindow(form->Handle());
    } else {
      RunHandler(form->Handle(), [&] { form->FormShow(); });
    }
    PumpMessages();
    return form;
  }
  static String16 Saved(const wchar_t* value) {
    return RegReadString(L"", HKEY_CURRENT_USER, 0, RegistryKey, value, L"<none>");
  }
  static void Save(const wchar_t* value, const wchar_t* text) {
    RegWriteString(L"", HKEY_CURRENT_USER, 0, RegistryKey, value, text);
  }
  static POINT ButtonCentre(TMainForm& form, int id) {
    const RECT rect = form.LanguageBar().ButtonRect(id);
    return OnScreen(form.ToolBar(), (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
  }
  TTempDir FDir;
  TErrorCatcher FErrors;
};

TEST_F(TurnedRoundAtTheStart, ARestartKeepsTheDirectionAndTheLanguage) {
  Save(kLanguageValue, L"French");
  {
    auto form = Start();
    SetMessageFilter([&](const MSG& message) { return form->PreTranslateMessage(message); });
    Keys("ctrl+d");
    SetMessageFilter({});
    ASSERT_EQ(form->LanguageBar().Direction(), TDirection::ToEnglish);
    form->FormClose();
  }
  EXPECT_EQ(Saved(kDirectionValue), L"From");
  EXPECT_EQ(Saved(kLanguageValue), L"French");
  {
    auto form = Start();
    EXPECT_TRUE(form->LanguageBar().IsDown(kFrench));
    EXPECT_EQ(form->LanguageBar().Direction(), TDirection::ToEnglish);
    EXPECT_EQ(form->Translator()->DataFileName(), Folder(FDir) + L"Files\\FrenchEnglish.plv");
    EXPECT_EQ(TReaderView(form->EditWord()).Name(CHILDID_SELF), L"French word");
    SetWindowTextW(form->EditWord(), L"eleve");
    PumpMessages();
    EXPECT_EQ(form->VList().Rows(), Rows{L"\u00E9l\u00E8ve=pupil"});
    // Turned back with a click, it starts from English next time.
    Click(ButtonCentre(*form, kArrowButton));
    form->FormClose();
  }
  EXPECT_EQ(Saved(kDirectionValue), L"To");
  EXPECT_EQ(Saved(kLanguageValue), L"French");
  auto form = Start();
  EXPECT_EQ(form->LanguageBar().Direction(), TDirection::FromEnglish);
  EXPECT_EQ(form->Translator()->DataFileName(), Folder(FDir) + L"Files\\French.plv");
  EXPECT_TRUE(FErrors.Messages().empty());
}

TEST_F(TurnedRoundAtTheStart, AnOldRegistryOrAnOddDirectionStartsFromEnglish) {
  Save(kLanguageValue, L"German");
  for (const wchar_t* odd :
       {static_cast<const wchar_t*>(nullptr), L"", L"from", L"From ", L"Reverse", L"To"}) {
    if (odd) Save(kDirectionValue, odd);
    auto form = Start(false);
    EXPECT_TRUE(form->LanguageBar().IsDown(kGerman));
    EXPECT_FALSE(form->LanguageBar().TurnedRound()) << (odd ? ToUtf8(odd) : "none");
    EXPECT_EQ(form->Translator()->DataFileName(), Folder(FDir) + L"Files\\German.plv");
    EXPECT_EQ(TReaderView(form->ToolBar()).Name(itFrom), L"From English");
  }
  // "Language" keeps its meaning: the language, whatever the direction.
  auto form = Start(false);
  form->FormClose();
  EXPECT_EQ(Saved(kLanguageValue), L"German");
  EXPECT_TRUE(FErrors.Messages().empty());
}

TEST_F(TurnedRoundAtTheStart, ALanguageWhoseFilesWentStartsFromEnglish) {
  Save(kLanguageValue, L"German");
  Save(kDirectionValue, L"From");
  std::filesystem::remove(FDir / "Files" / "GermanEnglish.plv");  // the index stays
  auto form = Start(false);
  EXPECT_TRUE(form->LanguageBar().IsDown(kGerman));
  EXPECT_EQ(form->LanguageBar().Direction(), TDirection::FromEnglish);
  EXPECT_FALSE(form->LanguageBar().IsEnabled(kArrowButton));
  EXPECT_EQ(form->Translator()->DataFileName(), Folder(FDir) + L"Files\\German.plv");
  EXPECT_TRUE(FErrors.Messages().empty());
}

TEST_F(TurnedRoundAtTheStart, WithNoLanguageChosenTheDirectionWaitsForOne) {
  auto form = Start();
  const TReaderView bar(form->ToolBar());
  Click(ButtonCentre(*form, kArrowButton));
  // Turned round, but the bar still reads from English until a language is chosen.
  EXPECT_TRUE(form->LanguageBar().TurnedRound());
  EXPECT_EQ(form->LanguageBar().Direction(), TDirection::FromEnglish);
  EXPECT_EQ(bar.State(itArrow), STATE_SYSTEM_PRESSED);
  EXPECT_EQ(bar.Name(itFrom), L"From English");
  EXPECT_EQ(bar.State(itEnglish), STATE_SYSTEM_UNAVAILABLE);
  EXPECT_EQ(bar.State(itDutch), STATE_SYSTEM_UNAVAILABLE);
  EXPECT_TRUE(form->Translator()->DataFileName().empty());
  Click(ButtonCentre(*form, kGerman));
  EXPECT_EQ(form->LanguageBar().Direction(), TDirection::ToEnglish);
  EXPECT_EQ(bar.Name(itFrom), L"From German");
  EXPECT_EQ(form->Translator()->DataFileName(), Folder(FDir) + L"Files\\GermanEnglish.plv");
  // Remembered while it waits, too.
  form.reset();
  form = Start();
  Click(ButtonCentre(*form, kArrowButton));
  form->FormClose();
  EXPECT_EQ(Saved(kDirectionValue), L"From");
  EXPECT_EQ(Saved(kLanguageValue), L"");
  form.reset();
  form = Start();
  EXPECT_TRUE(form->LanguageBar().TurnedRound());
  EXPECT_TRUE(FErrors.Messages().empty()) << ToUtf8(FErrors.Messages().front());
}

TEST_F(TurnedRoundAtTheStart, WithoutAnyReverseFilesTheArrowStaysAPicture) {
  for (const char* name :
       {"IndexGerman.plv", "GermanEnglish.plv", "IndexFrench.plv", "FrenchEnglish.plv"})
    std::filesystem::remove(FDir / "Files" / name);
  Save(kDirectionValue, L"From");
  auto form = Start();
  const TReaderView bar(form->ToolBar());
  EXPECT_EQ(bar.State(itArrow), STATE_SYSTEM_UNAVAILABLE);
  EXPECT_EQ(bar.Name(itArrow), L"to");
  EXPECT_EQ(bar.DefaultAction(itArrow), L"");
  Click(ButtonCentre(*form, kArrowButton));
  EXPECT_FALSE(form->LanguageBar().TurnedRound());
  EXPECT_EQ(bar.State(itEnglish), 0);
}

}  // namespace
}  // namespace parlivo::test
