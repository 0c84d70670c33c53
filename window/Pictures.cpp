#include "Pictures.h"

#include <iterator>

#include "Resources.h"

namespace parlivo {

namespace {

constexpr TPictureSet kSets[] = {{96, IDB_BANNER, IDB_TOOLBAR, 32},
                                 {120, IDB_BANNER_125, IDB_TOOLBAR_125, 40},
                                 {144, IDB_BANNER_150, IDB_TOOLBAR_150, 48},
                                 {192, IDB_BANNER_200, IDB_TOOLBAR_200, 64}};

}  // namespace

const TPictureSet& ToolBarPicturesFor(int dpi) {
  for (const TPictureSet& set : kSets) {
    if (set.Dpi >= dpi) return set;
  }
  return kSets[std::size(kSets) - 1];
}

const TPictureSet& BannerPicturesFor(int dpi) {
  const TPictureSet* chosen = &kSets[0];
  for (const TPictureSet& set : kSets) {
    if (set.Dpi <= dpi) chosen = &set;
  }
  return *chosen;
}

TBitmap LoadPicture(int resource) {
  return TBitmap(
      static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resource),
                                      IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}

}  // namespace parlivo
