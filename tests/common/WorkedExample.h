// The four-headword sample lexicon ('mip', 'mips', 'mipat', 'mipel') in bucket 11273,
// written by the lexicon writer with hand-packed texts and one cross-reference.
#pragma once

#include <cstdint>
#include <vector>

namespace parlivo::test {

struct TSampleFiles {
  std::vector<uint8_t> Index;
  std::vector<uint8_t> Language;
};

TSampleFiles WorkedExampleFiles();

}  // namespace parlivo::test
