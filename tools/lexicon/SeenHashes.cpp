#include "SeenHashes.h"

namespace parlivo {

void TSeenHashes::Grow() {
  std::vector<uint64_t> grown(2 * FTable.size(), kFree);
  const size_t mask = grown.size() - 1;
  for (const uint64_t kept : FTable) {
    if (kept == kFree) continue;
    size_t at = kept & mask;
    while (grown[at] != kFree) at = (at + 1) & mask;
    grown[at] = kept;
  }
  FTable.swap(grown);
}

bool TSeenHashes::Insert(uint64_t hash) {
  if (hash == kFree) hash = 1;
  if (2 * (FCount + 1) > FTable.size()) Grow();
  const size_t mask = FTable.size() - 1;
  size_t at = hash & mask;
  while (FTable[at] != kFree) {
    if (FTable[at] == hash) return false;
    at = (at + 1) & mask;
  }
  FTable[at] = hash;
  ++FCount;
  return true;
}

}  // namespace parlivo
