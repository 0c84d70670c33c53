#include "LanguageBar.h"

#include <algorithm>

#include "Dpi.h"
#include "Languages.h"
#include "Pictures.h"

namespace parlivo {

namespace {

constexpr COLORREF kHighlightFill = RGB(198, 211, 239);
constexpr COLORREF kHighlightFrame = RGB(116, 149, 216);
constexpr COLORREF kHeldFill = RGB(158, 181, 228);
constexpr COLORREF kHeldFrame = RGB(77, 118, 204);

struct TButtonPlace {
  int Number;   // ToolButtonN
  int Picture;  // the two pictures' index into the picture list; languages: -1
  bool Enabled;
};

// Left to right: the flag of the headwords' language and the arrow, then English and
// the other six languages, whose pictures the language table gives. The arrow becomes
// available once the bar knows a language can be turned round.
constexpr TButtonPlace kPlaces[] = {{1, 0, false}, {2, 1, false}, {9, -1, true},
                                    {3, -1, true}, {4, -1, true}, {5, -1, true},
                                    {6, -1, true}, {7, -1, true}, {8, -1, true}};
constexpr int kEnglishPicture = kPlaces[0].Picture;  // the British flag

// What a reader hears for the arrow's keys and default action.
constexpr wchar_t kArrowShortcut[] = L"Ctrl+D";
constexpr wchar_t kArrowAction[] = L"Turn round";

// The language table row (0-based) of a language button: ToolButton3 to ToolButton8
// are rows 0 to 5, ToolButton9 is row 6.
int LanguageRow(int buttonId) {
  const int number = buttonId - kToolButton1 + 1;
  if (number >= 3 && number <= 9) return number - 3;
  return -1;
}

void FillFramed(HDC dc, const RECT& rect, COLORREF fill, COLORREF frame) {
  HBRUSH fillBrush = CreateSolidBrush(fill);
  HBRUSH frameBrush = CreateSolidBrush(frame);
  FillRect(dc, &rect, fillBrush);
  FrameRect(dc, &rect, frameBrush);
  DeleteObject(fillBrush);
  DeleteObject(frameBrush);
}

}  // namespace

bool IsLanguageButton(int buttonId) {
  return LanguageRow(buttonId) >= 0;
}

StringView16 ToolButtonHint(int buttonId) {
  const int row = LanguageRow(buttonId);
  return row < 0 ? StringView16() : Languages[row].Name;
}

std::vector<int> TLanguageBar::VisibleButtons() const {
  std::vector<int> visible;
  for (const TButtonPlace& place : kPlaces) {
    if (IsVisible(ToolButtonId(place.Number))) visible.push_back(ToolButtonId(place.Number));
  }
  return visible;
}

TItemsSource TLanguageBar::AccessibleButtons() {
  TItemsSource source;
  source.Name = [] { return String16(L"Languages"); };
  source.Role = ROLE_SYSTEM_TOOLBAR;
  source.ItemRole = ROLE_SYSTEM_PUSHBUTTON;
  source.Count = [this] { return static_cast<long>(VisibleButtons().size()); };
  source.ItemName = [this](long item) {
    const int id = VisibleButtons()[static_cast<size_t>(item)];
    if (IsLanguageButton(id)) return String16(ToolButtonHint(id));
    return id == kFromButton ? FromName() : ArrowName();
  };
  source.ItemState = [this](long item) {
    const int id = VisibleButtons()[static_cast<size_t>(item)];
    long state = IsEnabled(id) ? 0 : long{STATE_SYSTEM_UNAVAILABLE};
    // The arrow is a button that stays pressed while the direction is turned round.
    if (IsDown(id)) state |= id == kArrowButton ? STATE_SYSTEM_PRESSED : STATE_SYSTEM_CHECKED;
    return state;
  };
  source.ItemRect = [this](long item) {
    return ButtonRect(VisibleButtons()[static_cast<size_t>(item)]);
  };
  source.ItemAt = [this](POINT at) {
    const auto visible = VisibleButtons();
    for (size_t i = 0; i < visible.size(); ++i) {
      const RECT rect = ButtonRect(visible[i]);
      if (PtInRect(&rect, at)) return static_cast<long>(i);
    }
    return -1L;
  };
  auto isArrow = [this](long item) {
    return VisibleButtons()[static_cast<size_t>(item)] == kArrowButton;
  };
  source.ItemShortcut = [isArrow](long item) {
    return String16(isArrow(item) ? kArrowShortcut : L"");
  };
  source.ItemActionName = [this, isArrow](long item) {
    return String16(isArrow(item) && IsEnabled(kArrowButton) ? kArrowAction : L"");
  };
  source.DoItemAction = [this](long) {
    // As a click on the arrow reports itself, after the reader's call has returned.
    PostMessageW(GetParent(FHandle), WM_COMMAND, MAKEWPARAM(kArrowButton, BN_CLICKED),
                 reinterpret_cast<LPARAM>(FHandle));
  };
  return source;
}

LRESULT CALLBACK TLanguageBar::BarProc(HWND bar, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR, DWORD_PTR data) {
  auto* self = reinterpret_cast<TLanguageBar*>(data);
  switch (message) {
    case WM_GETOBJECT:
      // The stock bar has no names for buttons without text: readers get ours.
      if (static_cast<LONG>(lParam) == OBJID_CLIENT)
        return self->FAccessible.Answer(bar, wParam, [self] { return self->AccessibleButtons(); });
      break;
    case WM_NCDESTROY:
      self->FAccessible.Disconnect();
      RemoveWindowSubclass(bar, BarProc, 1);
      break;
  }
  return DefSubclassProc(bar, message, wParam, lParam);
}

HWND TLanguageBar::Create(HWND parent, int id, int dpi) {
  const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
  FHandle = CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr,
                            WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TBSTYLE_TOOLTIPS |
                                CCS_NODIVIDER | CCS_NORESIZE | CCS_NOPARENTALIGN,
                            0, 0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                            instance, nullptr);
  SendMessageW(FHandle, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  SetWindowSubclass(FHandle, BarProc, 1, reinterpret_cast<DWORD_PTR>(this));
  SetDpi(dpi);

  TBBUTTON buttons[std::size(kPlaces)] = {};
  for (size_t i = 0; i < std::size(kPlaces); ++i) {
    const int id = ToolButtonId(kPlaces[i].Number);
    buttons[i].iBitmap =
        kPlaces[i].Enabled ? Languages[LanguageRow(id)].Picture : kPlaces[i].Picture;
    buttons[i].idCommand = id;
    buttons[i].fsState = kPlaces[i].Enabled ? TBSTATE_ENABLED : 0;
    buttons[i].fsStyle = BTNS_BUTTON;
    buttons[i].iString = -1;
  }
  SendMessageW(FHandle, TB_ADDBUTTONSW, std::size(buttons), reinterpret_cast<LPARAM>(buttons));
  KeepButtonSize();
  return FHandle;
}

void TLanguageBar::SetFont(HFONT font) {
  SendMessageW(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  KeepButtonSize();
}

void TLanguageBar::KeepButtonSize() {
  // The stock bar measures its buttons again when it gets buttons or a font: Wine's
  // makes them as high as a picture and its own padding, whatever padding it is given.
  const SIZE button = ButtonSize();
  SendMessageW(FHandle, TB_SETBUTTONSIZE, 0, MAKELPARAM(button.cx, button.cy));
}

void TLanguageBar::SetDpi(int dpi) {
  FDpi = dpi;
  const TPictureSet& pictures = ToolBarPicturesFor(dpi);
  const int size = pictures.FlagSize;
  TImageList list(ImageList_Create(size, size, ILC_COLOR32, 8, 0));
  if (const TBitmap strip = LoadPicture(pictures.ToolBar))
    ImageList_Add(list.get(), strip.get(), nullptr);
  // Disabled buttons draw from the same list: they keep their colours.
  SendMessageW(FHandle, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(list.get()));
  SendMessageW(FHandle, TB_SETDISABLEDIMAGELIST, 0, reinterpret_cast<LPARAM>(list.get()));
  FPictures = std::move(list);  // the bar no longer uses the old list
  SendMessageW(FHandle, TB_SETBITMAPSIZE, 0, MAKELPARAM(size, size));
  const SIZE button = ButtonSize();
  SendMessageW(FHandle, TB_SETPADDING, 0, MAKELPARAM(button.cx - size, button.cy - size));
  // A 2-pixel border inside the bar's edges: the indent gives the left one; the top one
  // is the margin a bar without TBSTYLE_FLAT keeps (a flat bar has none). Our custom
  // draw paints every button, so the style changes nothing else that shows.
  SendMessageW(FHandle, TB_SETINDENT, Scaled(2, dpi), 0);
  SendMessageW(FHandle, TB_SETBUTTONSIZE, 0, MAKELPARAM(button.cx, button.cy));
  SendMessageW(FHandle, TB_SETBUTTONWIDTH, 0, MAKELPARAM(button.cx, button.cx));
  KeepButtonSize();
  InvalidateRect(FHandle, nullptr, TRUE);
}

SIZE TLanguageBar::ButtonSize() const {
  return {Scaled(39, FDpi), Scaled(38, FDpi)};
}

bool TLanguageBar::IsVisible(int buttonId) const {
  return !SendMessageW(FHandle, TB_ISBUTTONHIDDEN, buttonId, 0);
}

void TLanguageBar::SetVisible(int buttonId, bool visible) {
  SendMessageW(FHandle, TB_HIDEBUTTON, buttonId, MAKELPARAM(!visible, 0));
  ShowDirection();  // the arrow may wait for a language now, or no longer
}

bool TLanguageBar::IsEnabled(int buttonId) const {
  return SendMessageW(FHandle, TB_ISBUTTONENABLED, buttonId, 0) != 0;
}

void TLanguageBar::NotifyButton(DWORD event, int buttonId) {
  const auto visible = VisibleButtons();
  const auto place = std::find(visible.begin(), visible.end(), buttonId);
  if (place != visible.end())
    NotifyWinEvent(event, FHandle, OBJID_CLIENT,
                   ChildIdOfItem(static_cast<long>(place - visible.begin())));
}

void TLanguageBar::Press(int buttonId) {
  if (!IsLanguageButton(buttonId) || buttonId == FDown) return;
  // The bar's checked state follows ours, for whoever reads the bar from outside.
  const int before = FDown;
  if (FDown) SendMessageW(FHandle, TB_CHECKBUTTON, FDown, MAKELPARAM(FALSE, 0));
  FDown = buttonId;
  SendMessageW(FHandle, TB_CHECKBUTTON, FDown, MAKELPARAM(TRUE, 0));
  InvalidateRect(FHandle, nullptr, FALSE);
  // Readers hear which button came up and which went down.
  for (int id : {before, FDown}) NotifyButton(EVENT_OBJECT_STATECHANGE, id);
  if (FTurnedRound && !CanTurn(FDown)) SetTurnedRound(false);
  ShowDirection();
}

const TLanguage* TLanguageBar::Chosen() const {
  return FDown ? &Languages[LanguageRow(FDown)] : nullptr;
}

bool TLanguageBar::CanTurn(int buttonId) const {
  const int row = LanguageRow(buttonId);
  return row >= 0 && FCanTurn[static_cast<size_t>(row)] && IsVisible(buttonId);
}

void TLanguageBar::SetCanTurnRound(int buttonId, bool can) {
  const int row = LanguageRow(buttonId);
  if (row < 0) return;
  FCanTurn[static_cast<size_t>(row)] = can;
  ShowDirection();
}

bool TLanguageBar::CanTurnRound() const {
  if (FTurnedRound) return true;
  if (FDown) return CanTurn(FDown);
  for (size_t row = 0; row < std::size(Languages); ++row) {
    if (CanTurn(LanguageButtonId(row))) return true;
  }
  return false;
}

void TLanguageBar::SetTurnedRound(bool turned) {
  if (turned == FTurnedRound || (turned && !CanTurnRound())) return;
  FTurnedRound = turned;
  NotifyButton(EVENT_OBJECT_STATECHANGE, kArrowButton);
  ShowDirection();
}

TDirection TLanguageBar::Direction() const {
  return FTurnedRound && FDown ? TDirection::ToEnglish : TDirection::FromEnglish;
}

String16 TLanguageBar::FromName() const {
  return L"From " + String16(Direction() == TDirection::ToEnglish ? Chosen()->Name : L"English");
}

String16 TLanguageBar::ArrowName() const {
  return Direction() == TDirection::ToEnglish ? L"to English" : L"to";
}

void TLanguageBar::ShowDirection() {
  const TDirection direction = Direction();
  SendMessageW(FHandle, TB_CHANGEBITMAP, kFromButton,
               direction == TDirection::ToEnglish ? Chosen()->Picture : kEnglishPicture);
  auto enable = [this](int id, bool enabled) {
    if (IsEnabled(id) == enabled) return;
    SendMessageW(FHandle, TB_ENABLEBUTTON, id, MAKELPARAM(enabled, 0));
    NotifyButton(EVENT_OBJECT_STATECHANGE, id);
  };
  enable(kArrowButton, CanTurnRound());
  for (size_t row = 0; row < std::size(Languages); ++row)
    enable(LanguageButtonId(row), !FTurnedRound || CanTurn(LanguageButtonId(row)));
  if (direction != FNamedDirection) {
    FNamedDirection = direction;
    NotifyButton(EVENT_OBJECT_NAMECHANGE, kFromButton);
    NotifyButton(EVENT_OBJECT_NAMECHANGE, kArrowButton);
  }
  InvalidateRect(FHandle, nullptr, FALSE);
}

int TLanguageBar::VisibleLanguageButton(int place) const {
  for (int id : VisibleButtons()) {
    if (IsLanguageButton(id) && --place == 0) return id;
  }
  return 0;
}

RECT TLanguageBar::ButtonRect(int buttonId) const {
  RECT rect{};
  SendMessageW(FHandle, TB_GETRECT, buttonId, reinterpret_cast<LPARAM>(&rect));
  return rect;
}

LRESULT TLanguageBar::CustomDraw(NMTBCUSTOMDRAW& draw) {
  NMCUSTOMDRAW& item = draw.nmcd;
  switch (item.dwDrawStage) {
    case CDDS_PREPAINT:
      FillRect(item.hdc, &item.rc, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
      return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT: {
      const UINT state = item.uItemState;
      const bool enabled = !(state & (CDIS_DISABLED | CDIS_GRAYED));
      FillRect(item.hdc, &item.rc, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
      if (enabled && (state & CDIS_SELECTED)) {
        FillFramed(item.hdc, item.rc, kHeldFill, kHeldFrame);
      } else if (enabled && ((state & CDIS_HOT) || IsDown(static_cast<int>(item.dwItemSpec)))) {
        FillFramed(item.hdc, item.rc, kHighlightFill, kHighlightFrame);
      }
      TBBUTTONINFOW info{};
      info.cbSize = sizeof info;
      info.dwMask = TBIF_IMAGE;
      SendMessageW(FHandle, TB_GETBUTTONINFOW, item.dwItemSpec, reinterpret_cast<LPARAM>(&info));
      // Where the design puts a picture of its scale, centred on that place when the
      // pictures are drawn for a nearby scale.
      const int design = Scaled(32, FDpi);
      const int shift = (design - ToolBarPicturesFor(FDpi).FlagSize) / 2;
      const int x = item.rc.left + Scaled(3, FDpi) + shift;
      const int y = item.rc.top + Scaled(4, FDpi) + shift;
      if (enabled || !IsLanguageButton(static_cast<int>(item.dwItemSpec))) {
        ImageList_Draw(FPictures.get(), info.iImage, item.hdc, x, y, ILD_TRANSPARENT);
      } else {
        // A language that cannot be chosen in this direction: its flag half faded into
        // the bar. The two pictures keep their colours whatever their state.
        ImageList_DrawEx(FPictures.get(), info.iImage, item.hdc, x, y, 0, 0, CLR_NONE,
                         RGB(255, 255, 255), ILD_TRANSPARENT | ILD_BLEND50);
      }
      return CDRF_SKIPDEFAULT;
    }
  }
  return CDRF_DODEFAULT;
}

bool TLanguageBar::OnNotify(const NMHDR& header, LRESULT& result) {
  if (header.hwndFrom == FHandle && header.code == NM_CUSTOMDRAW) {
    result = CustomDraw(*reinterpret_cast<NMTBCUSTOMDRAW*>(const_cast<NMHDR*>(&header)));
    return true;
  }
  const int id = static_cast<int>(header.idFrom);
  if (header.code == TTN_GETDISPINFOW && LanguageRow(id) >= 0) {
    auto& info = *reinterpret_cast<NMTTDISPINFOW*>(const_cast<NMHDR*>(&header));
    // The names are literals: their characters end in a NUL and live for good.
    info.lpszText = const_cast<wchar_t*>(ToolButtonHint(id).data());
    result = 0;
    return true;
  }
  if (header.code == TTN_GETDISPINFOW && (id == kFromButton || id == kArrowButton)) {
    auto& info = *reinterpret_cast<NMTTDISPINFOW*>(const_cast<NMHDR*>(&header));
    // Made for the direction: the tip keeps a copy.
    const String16 name = id == kFromButton ? FromName() : ArrowName();
    lstrcpynW(info.szText, name.c_str(), static_cast<int>(std::size(info.szText)));
    info.lpszText = info.szText;
    result = 0;
    return true;
  }
  return false;
}

}  // namespace parlivo
