// Owners and scope guards for GDI handles: a font, picture or picture list is deleted
// with its owner; a device context is released and an object deselected at the end of
// the scope that took them.
#pragma once

#include <windows.h>
// after windows.h, which it needs
#include <commctrl.h>

#include <memory>
#include <type_traits>

namespace parlivo {

struct TDeleteObject {
  void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
struct TDestroyImageList {
  void operator()(HIMAGELIST list) const { ImageList_Destroy(list); }
};

using TFont = std::unique_ptr<std::remove_pointer_t<HFONT>, TDeleteObject>;
using TBitmap = std::unique_ptr<std::remove_pointer_t<HBITMAP>, TDeleteObject>;
using TImageList = std::unique_ptr<std::remove_pointer_t<HIMAGELIST>, TDestroyImageList>;

// A window's device context (the screen's for nullptr) for a scope.
class TWindowDC {
 public:
  explicit TWindowDC(HWND window) : FWindow(window), FDC(GetDC(window)) {}
  ~TWindowDC() { ReleaseDC(FWindow, FDC); }
  TWindowDC(const TWindowDC&) = delete;
  TWindowDC& operator=(const TWindowDC&) = delete;
  operator HDC() const { return FDC; }

 private:
  HWND FWindow;
  HDC FDC;
};

// An object selected into a device context for a scope.
class TSelect {
 public:
  TSelect(HDC dc, HGDIOBJ object) : FDC(dc), FOld(SelectObject(dc, object)) {}
  ~TSelect() { SelectObject(FDC, FOld); }
  TSelect(const TSelect&) = delete;
  TSelect& operator=(const TSelect&) = delete;

 private:
  HDC FDC;
  HGDIOBJ FOld;
};

}  // namespace parlivo
