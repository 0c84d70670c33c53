#include "ScreenPixels.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "GdiHandles.h"
#include "Pictures.h"

namespace parlivo::test {

namespace {

BITMAPINFO TopDown32(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

int Channel(uint32_t pixel, int shift) {
  return static_cast<int>((pixel >> shift) & 0xFF);
}

}  // namespace

TPixels ScreenPixels(const RECT& onScreen) {
  TPixels pixels{onScreen.right - onScreen.left, onScreen.bottom - onScreen.top, {}};
  pixels.Bits.resize(static_cast<size_t>(pixels.Width * pixels.Height));
  const TWindowDC screen(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  const TBitmap copy(CreateCompatibleBitmap(screen, pixels.Width, pixels.Height));
  {
    const TSelect target(memory, copy.get());
    BitBlt(memory, 0, 0, pixels.Width, pixels.Height, screen, onScreen.left, onScreen.top, SRCCOPY);
  }
  BITMAPINFO info = TopDown32(pixels.Width, pixels.Height);
  GetDIBits(memory, copy.get(), 0, static_cast<UINT>(pixels.Height), pixels.Bits.data(), &info,
            DIB_RGB_COLORS);
  DeleteDC(memory);
  for (uint32_t& pixel : pixels.Bits) pixel |= 0xFF000000;  // the screen is opaque
  return pixels;
}

TPixels ResourcePixels(int resource) {
  const TBitmap bitmap = LoadPicture(resource);
  BITMAP size{};
  GetObjectW(bitmap.get(), sizeof size, &size);
  TPixels pixels{size.bmWidth, size.bmHeight, {}};
  pixels.Bits.resize(static_cast<size_t>(pixels.Width * pixels.Height));
  BITMAPINFO info = TopDown32(pixels.Width, pixels.Height);
  GetDIBits(TWindowDC(nullptr), bitmap.get(), 0, static_cast<UINT>(pixels.Height),
            pixels.Bits.data(), &info, DIB_RGB_COLORS);
  return pixels;
}

TPixels Piece(const TPixels& picture, int left, int top, int width, int height) {
  TPixels piece{width, height, {}};
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) piece.Bits.push_back(picture.At(left + x, top + y));
  return piece;
}

TPixels OverBackground(const TPixels& picture, uint32_t background) {
  TPixels laid = picture;
  for (uint32_t& pixel : laid.Bits) {
    const int alpha = Channel(pixel, 24);
    uint32_t blended = 0xFF000000;
    for (int shift : {0, 8, 16}) {
      const int mixed =
          (Channel(pixel, shift) * alpha + Channel(background, shift) * (255 - alpha) + 127) / 255;
      blended |= static_cast<uint32_t>(mixed) << shift;
    }
    pixel = blended;
  }
  return laid;
}

TPixels Stretched(const TPixels& picture, int width, int height) {
  // Each target pixel averages the source area it covers (a box filter).
  TPixels stretched{width, height, {}};
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const double left = double(x) * picture.Width / width;
      const double right = double(x + 1) * picture.Width / width;
      const double top = double(y) * picture.Height / height;
      const double bottom = double(y + 1) * picture.Height / height;
      double sums[4] = {}, total = 0;
      for (int sy = int(top); sy < bottom && sy < picture.Height; ++sy) {
        const double h = std::min<double>(bottom, sy + 1) - std::max<double>(top, sy);
        for (int sx = int(left); sx < right && sx < picture.Width; ++sx) {
          const double w = std::min<double>(right, sx + 1) - std::max<double>(left, sx);
          for (int c = 0; c < 4; ++c) sums[c] += w * h * Channel(picture.At(sx, sy), 8 * c);
          total += w * h;
        }
      }
      uint32_t pixel = 0;
      for (int c = 0; c < 4; ++c)
        pixel |= static_cast<uint32_t>(std::lround(sums[c] / total)) << (8 * c);
      stretched.Bits.push_back(pixel);
    }
  }
  return stretched;
}

double Difference(const TPixels& shown, int left, int top, const TPixels& picture) {
  double sum = 0;
  for (int y = 0; y < picture.Height; ++y) {
    for (int x = 0; x < picture.Width; ++x) {
      const uint32_t a = shown.At(left + x, top + y), b = picture.At(x, y);
      for (int shift : {0, 8, 16}) sum += std::abs(Channel(a, shift) - Channel(b, shift));
    }
  }
  return sum / (3.0 * picture.Width * picture.Height);
}

TFit BestFit(const TPixels& shown, const TPixels& picture) {
  TFit best{0, 0, std::numeric_limits<double>::infinity()};
  for (int top = 0; top + picture.Height <= shown.Height; ++top) {
    for (int left = 0; left + picture.Width <= shown.Width; ++left) {
      const double difference = Difference(shown, left, top, picture);
      if (difference < best.Difference) best = {left, top, difference};
    }
  }
  return best;
}

}  // namespace parlivo::test
