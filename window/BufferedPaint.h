// Painting a window off screen and copying the result in one piece when done, so that
// resizing and repainting do not flicker. Wraps BeginPaint/EndPaint and the memory
// surface with their handles.
#pragma once

#include <windows.h>

#include <algorithm>

namespace parlivo {

class TBufferedPaint {
 public:
  explicit TBufferedPaint(HWND window) : FWindow(window) {
    FTarget = BeginPaint(window, &FPaint);
    GetClientRect(window, &FClient);
    FBuffer = CreateCompatibleDC(FTarget);
    FSurface = CreateCompatibleBitmap(FTarget, std::max<LONG>(FClient.right, 1),
                                      std::max<LONG>(FClient.bottom, 1));
    FOldSurface = SelectObject(FBuffer, FSurface);
    FOldFont = GetCurrentObject(FBuffer, OBJ_FONT);
  }
  ~TBufferedPaint() {
    BitBlt(FTarget, 0, 0, FClient.right, FClient.bottom, FBuffer, 0, 0, SRCCOPY);
    SelectObject(FBuffer, FOldFont);
    SelectObject(FBuffer, FOldSurface);
    DeleteObject(FSurface);
    DeleteDC(FBuffer);
    EndPaint(FWindow, &FPaint);
  }
  TBufferedPaint(const TBufferedPaint&) = delete;
  TBufferedPaint& operator=(const TBufferedPaint&) = delete;

  HDC Surface() const { return FBuffer; }  // where to paint
  HDC Screen() const { return FTarget; }   // the window's own device context
  const RECT& Client() const { return FClient; }

 private:
  HWND FWindow;
  PAINTSTRUCT FPaint{};
  HDC FTarget = nullptr;
  RECT FClient{};
  HDC FBuffer = nullptr;
  HBITMAP FSurface = nullptr;
  HGDIOBJ FOldSurface = nullptr;
  HGDIOBJ FOldFont = nullptr;
};

}  // namespace parlivo
