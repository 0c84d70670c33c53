// Whether Windows runs a high-contrast theme: then the window paints with the system's
// colours instead of its own tints.
#pragma once

#include <windows.h>

namespace parlivo {

// Stands in for the system's answer where a test cannot switch the theme (Wine).
inline bool (*HighContrastForTesting)() = nullptr;

inline bool HighContrastOn() {
  if (HighContrastForTesting) return HighContrastForTesting();
  HIGHCONTRASTW contrast{};
  contrast.cbSize = sizeof contrast;
  return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
         (contrast.dwFlags & HCF_HIGHCONTRASTON);
}

}  // namespace parlivo
