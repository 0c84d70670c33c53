// The banner strip: the banner picture at its natural size, centred on white, with
// the hand pointer; a click on it is reported to the parent as BN_CLICKED.
#pragma once

#include <windows.h>

namespace parlivo {

class TBanner {
 public:
  static constexpr wchar_t kClassName[] = L"ParlivoBanner";
  static void Register(HINSTANCE instance);

  TBanner() = default;
  ~TBanner();
  TBanner(const TBanner&) = delete;
  TBanner& operator=(const TBanner&) = delete;

  HWND Create(HWND parent, int id);
  HWND Handle() const { return FHandle; }
  SIZE PictureSize() const;

 private:
  template <class T>
  friend LRESULT CALLBACK ForwardToInstance(HWND, UINT, WPARAM, LPARAM);
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void Paint();

  HWND FHandle = nullptr;
  HBITMAP FPicture = nullptr;
  bool FPressed = false;
};

}  // namespace parlivo
