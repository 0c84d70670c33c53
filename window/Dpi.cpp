#include "Dpi.h"

#include "GdiHandles.h"

namespace parlivo {

namespace {

// A user32 function that older versions of Windows lack, or nullptr.
template <class TFunction>
TFunction User32Function(const char* name) {
  const FARPROC found = GetProcAddress(GetModuleHandleW(L"user32.dll"), name);
  // Through the one function type that converts to any other without a warning.
  return reinterpret_cast<TFunction>(reinterpret_cast<void (*)()>(found));
}

using TGetDpiForWindow = UINT(WINAPI*)(HWND);
using TAdjustWindowRectExForDpi = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);

int DeviceDpi(HWND window) {
  const TWindowDC dc(window);
  const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
  return dpi > 0 ? dpi : kDesignDpi;
}

}  // namespace

int SystemDpi() {
  return DeviceDpi(nullptr);
}

int WindowDpi(HWND window) {
  static const auto getDpiForWindow = User32Function<TGetDpiForWindow>("GetDpiForWindow");
  if (getDpiForWindow) {
    if (const UINT dpi = getDpiForWindow(window)) return static_cast<int>(dpi);
  }
  return DeviceDpi(window);
}

SIZE OuterSize(SIZE client, DWORD style, DWORD exStyle, int dpi) {
  static const auto adjustForDpi =
      User32Function<TAdjustWindowRectExForDpi>("AdjustWindowRectExForDpi");
  RECT rect{0, 0, client.cx, client.cy};
  if (!adjustForDpi || !adjustForDpi(&rect, style, FALSE, exStyle, static_cast<UINT>(dpi)))
    AdjustWindowRectEx(&rect, style, FALSE, exStyle);
  return {rect.right - rect.left, rect.bottom - rect.top};
}

}  // namespace parlivo
