#include "AllocationCount.h"

#include <cstdlib>
#include <new>

namespace parlivo::test {

namespace {
size_t gAllocations = 0;
bool gCounting = false;
}  // namespace

TAllocationCount::TAllocationCount() {
  gAllocations = 0;
  gCounting = true;
}

TAllocationCount::~TAllocationCount() {
  gCounting = false;
}

size_t TAllocationCount::Allocations() const {
  return gAllocations;
}

}  // namespace parlivo::test

#ifdef PARLIVO_COUNTS_ALLOCATIONS
void* operator new(std::size_t size) {
  if (parlivo::test::gCounting) ++parlivo::test::gAllocations;
  if (void* memory = std::malloc(size ? size : 1)) return memory;
  throw std::bad_alloc();
}

void operator delete(void* memory) noexcept {
  std::free(memory);
}

void operator delete(void* memory, std::size_t) noexcept {
  std::free(memory);
}
#endif
