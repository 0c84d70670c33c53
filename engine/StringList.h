// A list of strings in insertion order, held in one buffer of units: once the buffer
// has grown to a lookup's size, clearing and adding allocate nothing. A string can be
// written in place: Reserve room at the end, write into it, Commit what was written.
#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

#include "Text.h"

namespace parlivo {

class TStringList {
 public:
  size_t size() const noexcept { return FItems.size(); }
  bool empty() const noexcept { return FItems.empty(); }
  // Valid until the list changes.
  StringView16 operator[](size_t i) const noexcept {
    return StringView16(FUnits.data() + FItems[i].Start, FItems[i].Length);
  }

  void Clear() noexcept {
    FItems.clear();
    FUsed = 0;
  }
  // Room for length units after the last string, which a later Commit takes as the
  // next string; the room is valid until the list changes.
  Char16* Reserve(size_t length) {
    if (FUnits.size() - FUsed < length) FUnits.resize(std::max(2 * FUnits.size(), FUsed + length));
    return FUnits.data() + FUsed;
  }
  // The first length units of the reserved room become the list's next string.
  void Commit(size_t length) {
    FItems.push_back({FUsed, length});
    FUsed += length;
  }
  void Add(StringView16 text) {
    std::copy(text.begin(), text.end(), Reserve(text.size()));
    Commit(text.size());
  }

 private:
  struct TItem {
    size_t Start;
    size_t Length;
  };
  std::vector<Char16> FUnits;  // grown, never shrunk; the first FUsed units are in use
  size_t FUsed = 0;
  std::vector<TItem> FItems;
};

}  // namespace parlivo
