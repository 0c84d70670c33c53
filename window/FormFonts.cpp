#include "FormFonts.h"

#include "Dpi.h"
#include "Registry.h"
#include "Text.h"

namespace parlivo {

namespace {

TFont MakeFont(int pixelHeight, int weight, const wchar_t* face = L"MS Sans Serif") {
  return TFont(CreateFontW(-pixelHeight, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                           DEFAULT_PITCH | FF_DONTCARE, face));
}

// The system's default interface face: the substitute registered for "MS Shell Dlg 2".
String16 InterfaceFace() {
  return RegReadString(L"", HKEY_LOCAL_MACHINE, 0,
                       L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes",
                       L"MS Shell Dlg 2", L"MS Sans Serif");
}

// Pixels of a size in points at a dpi.
int PointsAt(int points, int dpi) {
  return MulDiv(points, dpi, 72);
}

}  // namespace

TFormFonts::TFormFonts(int dpi)
    : Font(MakeFont(PointsAt(8, dpi), FW_NORMAL)),
      EditFont(MakeFont(Scaled(19, dpi), FW_BOLD)),
      MeasureFont(MakeFont(PointsAt(8, dpi), FW_BOLD)) {
  const String16 face = InterfaceFace();
  CellFont = MakeFont(PointsAt(8, dpi), FW_NORMAL, face.c_str());
  BoldCellFont = MakeFont(PointsAt(8, dpi), FW_BOLD, face.c_str());
}

}  // namespace parlivo
