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
// the other six languages, whose pictures the language table gives.
constexpr TButtonPlace kPlaces[] = {{1, 0, false}, {2, 1, false}, {9, -1, true},
                                    {3, -1, true}, {4, -1, true}, {5, -1, true},
                                    {6, -1, true}, {7, -1, true}, {8, -1, true}};

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
    return String16(id == ToolButtonId(1) ? L"From English" : L"to");
  };
  source.ItemState = [this](long item) {
    const int id = VisibleButtons()[static_cast<size_t>(item)];
    if (!IsLanguageButton(id)) return long{STATE_SYSTEM_UNAVAILABLE};
    return IsDown(id) ? long{STATE_SYSTEM_CHECKED} : 0L;
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
  const auto visible = VisibleButtons();
  for (int id : {before, FDown}) {
    const auto place = std::find(visible.begin(), visible.end(), id);
    if (place != visible.end())
      NotifyWinEvent(EVENT_OBJECT_STATECHANGE, FHandle, OBJID_CLIENT,
                     ChildIdOfItem(static_cast<long>(place - visible.begin())));
  }
}

const TLanguage* TLanguageBar::Chosen() const {
  return FDown ? &Languages[LanguageRow(FDown)] : nullptr;
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
      ImageList_Draw(FPictures.get(), info.iImage, item.hdc, item.rc.left + Scaled(3, FDpi) + shift,
                     item.rc.top + Scaled(4, FDpi) + shift, ILD_TRANSPARENT);
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
  if (header.code == TTN_GETDISPINFOW && LanguageRow(static_cast<int>(header.idFrom)) >= 0) {
    auto& info = *reinterpret_cast<NMTTDISPINFOW*>(const_cast<NMHDR*>(&header));
    // The names are literals: their characters end in a NUL and live for good.
    info.lpszText = const_cast<wchar_t*>(ToolButtonHint(static_cast<int>(header.idFrom)).data());
    result = 0;
    return true;
  }
  return false;
}

}  // namespace parlivo
