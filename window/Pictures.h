// The banner and tool bar pictures are drawn for 100, 125, 150 and 200 % scaling
// (window/pictures/make-pictures.sh); a window takes the set that suits its dpi and
// shows it at its own size, never stretched.
#pragma once

#include <windows.h>

#include "GdiHandles.h"

namespace parlivo {

struct TPictureSet {
  int Dpi;       // the scale it is drawn for
  int Banner;    // resource of the banner picture
  int ToolBar;   // resource of the strip of tool bar pictures
  int FlagSize;  // width and height of each picture in the strip
};

// The tool bar pictures for a dpi: the set of the nearest scale at or above it, or the
// largest. At the scales Windows offers, 25 % apart, a picture of the next scale up,
// centred on the design's place, still fits its button.
const TPictureSet& ToolBarPicturesFor(int dpi);
// The banner for a dpi: the set of the nearest scale at or below it, or the smallest,
// so that the banner never overflows its strip.
const TPictureSet& BannerPicturesFor(int dpi);

// A picture of the program's resources, with its pixels as they are stored (alpha
// included).
TBitmap LoadPicture(int resource);

}  // namespace parlivo
