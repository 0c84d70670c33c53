#include "Hex.h"

#include <stdexcept>

namespace parlivo::test {

std::vector<uint8_t> Hex(std::string_view hex) {
  std::vector<uint8_t> bytes;
  int pending = -1;
  for (char ch : hex) {
    int digit;
    if (ch >= '0' && ch <= '9') {
      digit = ch - '0';
    } else if (ch >= 'A' && ch <= 'F') {
      digit = ch - 'A' + 10;
    } else if (ch >= 'a' && ch <= 'f') {
      digit = ch - 'a' + 10;
    } else {
      continue;
    }
    if (pending < 0) {
      pending = digit;
    } else {
      bytes.push_back(static_cast<uint8_t>(pending * 16 + digit));
      pending = -1;
    }
  }
  if (pending >= 0) throw std::invalid_argument("odd number of hex digits");
  return bytes;
}

}  // namespace parlivo::test
