#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace parlivo::test {

// "0A 6B EF" -> {0x0A, 0x6B, 0xEF}; anything but hex digits is passed over.
std::vector<uint8_t> Hex(std::string_view hex);

}  // namespace parlivo::test
