// Counting the allocations a piece of code makes, through a replaced operator new.
// AddressSanitizer owns operator new where it is built in: there nothing is counted.
#pragma once

#include <cstddef>

#if defined(__clang__)
#if !__has_feature(address_sanitizer)
#define PARLIVO_COUNTS_ALLOCATIONS 1
#endif
#elif !defined(__SANITIZE_ADDRESS__)
#define PARLIVO_COUNTS_ALLOCATIONS 1
#endif

namespace parlivo::test {

// Counts the allocations of this thread's code while it lives.
class TAllocationCount {
 public:
  TAllocationCount();
  ~TAllocationCount();
  TAllocationCount(const TAllocationCount&) = delete;
  TAllocationCount& operator=(const TAllocationCount&) = delete;
  size_t Allocations() const;
};

}  // namespace parlivo::test
