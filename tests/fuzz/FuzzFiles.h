// Lexicon files for the fuzzers: the sample lexicon with patched, extended or truncated
// regions, kept in anonymous memory files that vanish with the process (nothing is
// left on disk however the fuzzer ends); a run writes only the pages that changed.
#pragma once

#include <fuzzer/FuzzedDataProvider.h>

#include <string>
#include <vector>

#include "Text.h"

namespace parlivo::fuzz {

class TMemoryFile {
 public:
  explicit TMemoryFile(const char* name);
  ~TMemoryFile();
  TMemoryFile(const TMemoryFile&) = delete;
  TMemoryFile& operator=(const TMemoryFile&) = delete;

  // Replaces the content; the file's size becomes bytes.size().
  void Write(const std::vector<uint8_t>& bytes);
  // A path by which the file can be opened like any other.
  const std::string& Path() const { return FPath; }

 private:
  int FFile;
  std::string FPath;
  std::vector<uint8_t> FWritten;  // what the file holds
};

// The sample pair damaged as the input says, in memory files that live as long as
// the process; paths as the engine takes them.
struct TDamagedLexicon {
  String16 Index;
  String16 Language;
};
TDamagedLexicon WriteDamagedSample(FuzzedDataProvider& input);

}  // namespace parlivo::fuzz
