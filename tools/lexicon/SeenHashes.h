// Which 64-bit hashes have been seen: eight bytes a hash and no node, for telling apart
// millions of strings where a rare false "seen" does no harm.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace parlivo {

// FNV-1a.
constexpr uint64_t HashOf(std::string_view text) noexcept {
  uint64_t hash = 14695981039346656037ull;
  for (const char ch : text) hash = (hash ^ static_cast<uint8_t>(ch)) * 1099511628211ull;
  return hash;
}

class TSeenHashes {
 public:
  // True when hash was not seen before.
  bool Insert(uint64_t hash);
  size_t Size() const noexcept { return FCount; }

 private:
  static constexpr uint64_t kFree = 0;
  void Grow();
  std::vector<uint64_t> FTable = std::vector<uint64_t>(1024, kFree);  // open addressing
  size_t FCount = 0;
};

}  // namespace parlivo
