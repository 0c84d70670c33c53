// The most heap a piece of code holds at once, measured through AddressSanitizer's
// allocator hooks where it is built in (the native test build); elsewhere nothing is
// measured.
#pragma once

#include <cstddef>

namespace parlivo::test {

class TPeakHeap {
 public:
  // Whether this build can measure at all.
  static bool Measurable();

  TPeakHeap();
  ~TPeakHeap();
  TPeakHeap(const TPeakHeap&) = delete;
  TPeakHeap& operator=(const TPeakHeap&) = delete;

  // The most bytes held at once since construction, above what was held then. One
  // measure at a time.
  size_t PeakBytes() const;
};

}  // namespace parlivo::test
