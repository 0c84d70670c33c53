#include "Banner.h"

#include "WindowProc.h"

#include "BufferedPaint.h"
#include "HighContrast.h"
#include "Pictures.h"

namespace parlivo {

void TBanner::Register(HINSTANCE instance) {
  // The picture is centred: a new width moves all of it, not only the uncovered part.
  RegisterForwardingClass<TBanner>(instance, kClassName, IDC_HAND, CS_HREDRAW | CS_VREDRAW);
}

HWND TBanner::Create(HWND parent, int id, int dpi) {
  const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
  SetDpi(dpi);
  FHandle = CreateWindowExW(0, kClassName, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, this);
  return FHandle;
}

void TBanner::SetDpi(int dpi) {
  FPicture = LoadPicture(BannerPicturesFor(dpi).Banner);
  if (FHandle) InvalidateRect(FHandle, nullptr, FALSE);
}

SIZE TBanner::PictureSize() const {
  BITMAP info{};
  if (!FPicture || !GetObjectW(FPicture.get(), sizeof info, &info)) return {0, 0};
  return {info.bmWidth, info.bmHeight};
}

void TBanner::Paint() {
  TBufferedPaint paint(FHandle);
  const RECT& client = paint.Client();
  SetDCBrushColor(paint.Surface(),
                  HighContrastOn() ? GetSysColor(COLOR_WINDOW) : RGB(255, 255, 255));
  FillRect(paint.Surface(), &client, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
  if (!FPicture) return;
  const SIZE size = PictureSize();
  HDC picture = CreateCompatibleDC(paint.Screen());
  {
    const TSelect selected(picture, FPicture.get());
    BitBlt(paint.Surface(), (client.right - size.cx) / 2, (client.bottom - size.cy) / 2, size.cx,
           size.cy, picture, 0, 0, SRCCOPY);
  }
  DeleteDC(picture);
}

LRESULT TBanner::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      Paint();
      return 0;
    case WM_LBUTTONDOWN:
      FPressed = true;
      SetCapture(FHandle);
      return 0;
    case WM_LBUTTONUP: {
      if (!FPressed) return 0;
      FPressed = false;
      ReleaseCapture();
      RECT client;
      GetClientRect(FHandle, &client);
      const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      if (PtInRect(&client, at)) {
        SendMessageW(GetParent(FHandle), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(FHandle), BN_CLICKED),
                     reinterpret_cast<LPARAM>(FHandle));
      }
      return 0;
    }
    case WM_CAPTURECHANGED:
      FPressed = false;
      return 0;
  }
  return DefWindowProcW(FHandle, message, wParam, lParam);
}

}  // namespace parlivo
