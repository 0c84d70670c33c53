// The main window's fonts for one dpi; a new dpi gets a new set, and the old one goes
// once the controls have taken the new.
#pragma once

#include <windows.h>

#include "GdiHandles.h"

namespace parlivo {

struct TFormFonts {
  explicit TFormFonts(int dpi);

  TFont Font;         // the window's: "MS Sans Serif", 8 points
  TFont EditFont;     // the word box's: "MS Sans Serif", 19 pixels at 96 dpi, bold
  TFont MeasureFont;  // the window's font in the word box's style: measures keys
  TFont CellFont;     // the drawing surface's own: the interface face, 8 points
  TFont BoldCellFont;
};

}  // namespace parlivo
