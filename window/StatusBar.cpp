#include "StatusBar.h"

// after windows.h, which it needs
#include <commctrl.h>

#include "Dpi.h"

namespace parlivo {

namespace {

constexpr UINT_PTR kBarSubclass = 1;

// The text as a reader speaks it, without the leading space that keeps it off the bar's
// edge.
String16 Spoken(const String16& text) {
  const size_t first = text.find_first_not_of(L' ');
  const size_t last = text.find_last_not_of(L' ');
  return first == String16::npos ? String16() : text.substr(first, last - first + 1);
}

}  // namespace

HWND TStatusBar::Create(HWND parent, int id) {
  FHandle = CreateWindowExW(
      0, STATUSCLASSNAMEW, nullptr,
      WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP | CCS_NOPARENTALIGN | CCS_NORESIZE, 0, 0, 0, 0, parent,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
      reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE)), nullptr);
  SendMessageW(FHandle, SB_SIMPLE, TRUE, 0);
  SetWindowSubclass(FHandle, BarProc, kBarSubclass, reinterpret_cast<DWORD_PTR>(this));
  return FHandle;
}

void TStatusBar::SetText(const String16& text) {
  FText = text;
  SendMessageW(FHandle, SB_SETTEXTW, SB_SIMPLEID, reinterpret_cast<LPARAM>(FText.c_str()));
  // Readers announce the count when the status bar says its name changed.
  NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, FHandle, OBJID_CLIENT, CHILDID_SELF);
}

void TStatusBar::SetDpi(int dpi) {
  // The stock bar takes the system's status font at the system's dpi.
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return;
  LOGFONTW& font = metrics.lfStatusFont;
  font.lfHeight = MulDiv(font.lfHeight, dpi, SystemDpi());
  TFont scaled(CreateFontIndirectW(&font));
  SendMessageW(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(scaled.get()), TRUE);
  FFont = std::move(scaled);  // the bar no longer uses the old one
}

LRESULT CALLBACK TStatusBar::BarProc(HWND bar, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                     DWORD_PTR data) {
  auto* self = reinterpret_cast<TStatusBar*>(data);
  switch (message) {
    case WM_GETOBJECT:
      if (static_cast<LONG>(lParam) == OBJID_CLIENT) {
        return self->FAccessible.Answer(bar, wParam, [self] {
          TItemsSource source;
          source.Name = [self] { return Spoken(self->FText); };
          source.Role = ROLE_SYSTEM_STATUSBAR;
          source.Focusable = false;
          source.Count = [] { return 0L; };
          return source;
        });
      }
      break;
    case WM_NCDESTROY:
      self->FAccessible.Disconnect();
      RemoveWindowSubclass(bar, BarProc, kBarSubclass);
      break;
  }
  return DefSubclassProc(bar, message, wParam, lParam);
}

}  // namespace parlivo
