// The window's scale: dots per inch as Windows gives them for a window or the whole
// screen, and lengths designed at 96 dpi (100 %) brought to it. Functions that newer
// versions of Windows have are looked up at run time: the program runs on Windows 7.
#pragma once

#include <windows.h>

namespace parlivo {

inline constexpr int kDesignDpi = 96;

// A length designed at 96 dpi at another dpi, rounded to the nearest pixel.
inline int Scaled(int pixels, int dpi) {
  return MulDiv(pixels, dpi, kDesignDpi);
}

// The screen's dpi, which a window has unless Windows says otherwise.
int SystemDpi();
// A window's dpi: its monitor's for a window aware of each monitor's (Windows 10 1607
// and later), the screen's otherwise.
int WindowDpi(HWND window);

// The outer size of a window of the given styles around a client area, with its frame
// at the given dpi where Windows can say how wide that is.
SIZE OuterSize(SIZE client, DWORD style, DWORD exStyle, int dpi);

}  // namespace parlivo
