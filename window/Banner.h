// The banner strip: the banner picture for the window's dpi at its natural size,
// centred on white, with the hand pointer; a click on it is reported to the parent as
// BN_CLICKED.
#pragma once

#include <windows.h>

#include "GdiHandles.h"

namespace parlivo {

class TBanner {
 public:
  static constexpr wchar_t kClassName[] = L"ParlivoBanner";
  static void Register(HINSTANCE instance);

  TBanner() = default;
  TBanner(const TBanner&) = delete;
  TBanner& operator=(const TBanner&) = delete;

  // The parent destroys the strip's window; the strip owns its picture.
  HWND Create(HWND parent, int id, int dpi);
  HWND Handle() const { return FHandle; }
  SIZE PictureSize() const;
  // Takes the picture drawn for a new dpi.
  void SetDpi(int dpi);

 private:
  template <class T>
  friend LRESULT CALLBACK ForwardToInstance(HWND, UINT, WPARAM, LPARAM);
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void Paint();

  HWND FHandle = nullptr;
  TBitmap FPicture;
  bool FPressed = false;
};

}  // namespace parlivo
