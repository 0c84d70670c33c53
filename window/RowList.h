// The grid's rows: strings that outlive a clear, so that listing as many rows again
// reuses their storage instead of allocating a string a row on every keystroke.
#pragma once

#include <algorithm>
#include <vector>

#include "Text.h"

namespace parlivo {

class TRowList {
 public:
  size_t size() const noexcept { return FCount; }
  bool empty() const noexcept { return FCount == 0; }
  const String16& operator[](size_t i) const noexcept { return FRows[i]; }
  String16& operator[](size_t i) noexcept { return FRows[i]; }
  auto begin() const noexcept { return FRows.begin(); }
  auto end() const noexcept { return FRows.begin() + static_cast<std::ptrdiff_t>(FCount); }

  // Keeps the strings, and with them their storage, for the rows to come.
  void clear() noexcept { FCount = 0; }
  // A new, empty last row.
  String16& emplace_back() {
    if (FCount == FRows.size()) FRows.emplace_back();
    FRows[FCount].clear();
    return FRows[FCount++];
  }
  void erase(size_t i) {
    std::rotate(FRows.begin() + static_cast<std::ptrdiff_t>(i),
                FRows.begin() + static_cast<std::ptrdiff_t>(i + 1), FRows.end());
    --FCount;
  }
  std::vector<String16> ToVector() const { return {begin(), end()}; }

 private:
  std::vector<String16> FRows;  // the first FCount are the rows
  size_t FCount = 0;
};

}  // namespace parlivo
