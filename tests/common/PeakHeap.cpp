#include "PeakHeap.h"

#include <atomic>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define PARLIVO_ASAN_HEAP 1
#endif
#elif defined(__SANITIZE_ADDRESS__)
#define PARLIVO_ASAN_HEAP 1
#endif

#ifdef PARLIVO_ASAN_HEAP
#include <sanitizer/allocator_interface.h>
#endif

namespace parlivo::test {

namespace {

// The bytes allocated less those freed since measuring began, and their most.
std::atomic<bool> gMeasuring{false};
std::atomic<long long> gHeld{0};
std::atomic<long long> gPeak{0};

#ifdef PARLIVO_ASAN_HEAP
void AfterMalloc(const volatile void*, size_t size) {
  if (!gMeasuring.load(std::memory_order_relaxed)) return;
  const long long held =
      gHeld.fetch_add(static_cast<long long>(size)) + static_cast<long long>(size);
  long long peak = gPeak.load(std::memory_order_relaxed);
  while (held > peak && !gPeak.compare_exchange_weak(peak, held, std::memory_order_relaxed)) {
  }
}

void BeforeFree(const volatile void* memory) {
  if (!gMeasuring.load(std::memory_order_relaxed) || !memory) return;
  gHeld.fetch_sub(static_cast<long long>(__sanitizer_get_allocated_size(memory)));
}

// Installed for the whole run; they cost a load per allocation while nothing is measured.
const bool gHooked = __sanitizer_install_malloc_and_free_hooks(AfterMalloc, BeforeFree) != 0;
#else
const bool gHooked = false;
#endif

}  // namespace

bool TPeakHeap::Measurable() {
  return gHooked;
}

TPeakHeap::TPeakHeap() {
  gHeld = 0;
  gPeak = 0;
  gMeasuring = true;
}

TPeakHeap::~TPeakHeap() {
  gMeasuring = false;
}

size_t TPeakHeap::PeakBytes() const {
  return static_cast<size_t>(gPeak.load());
}

}  // namespace parlivo::test
