// Pictures as the screen shows them and as the resources hold them, pixel by pixel, to
// tell whether a window shows a picture at its own size or one stretched to it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

namespace parlivo::test {

// 32-bit pixels, top row first, each 0xAARRGGBB.
struct TPixels {
  int Width = 0;
  int Height = 0;
  std::vector<uint32_t> Bits;
  uint32_t At(int x, int y) const { return Bits[static_cast<size_t>(y * Width + x)]; }
};

// A piece of the screen as it shows now, other programs' windows included.
TPixels ScreenPixels(const RECT& onScreen);
// A bitmap of this program's resources with its alpha as stored (0 for a 24-bit one).
TPixels ResourcePixels(int resource);
// A piece of a picture.
TPixels Piece(const TPixels& picture, int left, int top, int width, int height);
// The picture with its alpha laid over a background colour, as the screen shows it.
TPixels OverBackground(const TPixels& picture, uint32_t background);
// A picture stretched to another size by averaging, as a program that has one picture
// for every scale would show it.
TPixels Stretched(const TPixels& picture, int width, int height);

// How far a picture placed at (left, top) of the shown pixels is from them: the mean
// difference a colour channel.
double Difference(const TPixels& shown, int left, int top, const TPixels& picture);
// The place inside the shown pixels where the picture comes nearest them.
struct TFit {
  int Left;
  int Top;
  double Difference;
};
TFit BestFit(const TPixels& shown, const TPixels& picture);

}  // namespace parlivo::test
