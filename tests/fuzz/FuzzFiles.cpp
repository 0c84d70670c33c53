#include "FuzzFiles.h"

#include "WorkedExample.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace parlivo::fuzz {

namespace {

// Places in the sample files where the interesting structures start.
constexpr size_t kAnchors[] = {0, 100, 45192, 45196, 87908, 87912, 87928, 87945, 87960};

void Patch(FuzzedDataProvider& input, std::vector<uint8_t>& file) {
  const size_t at = kAnchors[input.ConsumeIntegralInRange<size_t>(0, std::size(kAnchors) - 1)] +
                    input.ConsumeIntegralInRange<size_t>(0, 96);
  const auto bytes = input.ConsumeBytes<uint8_t>(input.ConsumeIntegralInRange<size_t>(1, 16));
  if (at + bytes.size() > file.size()) file.resize(at + bytes.size());
  std::copy(bytes.begin(), bytes.end(), file.begin() + static_cast<std::ptrdiff_t>(at));
}

}  // namespace

TMemoryFile::TMemoryFile(const char* name) : FFile(::memfd_create(name, MFD_CLOEXEC)) {
  if (FFile < 0) std::abort();
  FPath = "/proc/self/fd/" + std::to_string(FFile);
}

TMemoryFile::~TMemoryFile() {
  ::close(FFile);
}

void TMemoryFile::Write(const std::vector<uint8_t>& bytes) {
  // Only the pages that differ from the last content are written: a damaged sample
  // differs from the last one in a few places.
  constexpr size_t kPage = 4096;
  if (bytes.size() != FWritten.size()) {
    const size_t kept = std::min(bytes.size(), FWritten.size());
    if (::ftruncate(FFile, static_cast<off_t>(kept)) != 0 ||
        ::ftruncate(FFile, static_cast<off_t>(bytes.size())) != 0)
      std::abort();
    FWritten.resize(kept);
    FWritten.resize(bytes.size(), 0);  // what the file now holds
  }
  for (size_t at = 0; at < bytes.size(); at += kPage) {
    const size_t length = std::min(kPage, bytes.size() - at);
    if (std::memcmp(&bytes[at], &FWritten[at], length) == 0) continue;
    if (::pwrite(FFile, &bytes[at], length, static_cast<off_t>(at)) != static_cast<ssize_t>(length))
      std::abort();
    std::memcpy(&FWritten[at], &bytes[at], length);
  }
}

TDamagedLexicon WriteDamagedSample(FuzzedDataProvider& input) {
  static const test::TSampleFiles sample = test::WorkedExampleFiles();
  static TMemoryFile index("Index.plv");
  static TMemoryFile language("German.plv");
  test::TSampleFiles files = sample;
  const int patches = input.ConsumeIntegralInRange(0, 12);
  for (int i = 0; i < patches; ++i)
    Patch(input, input.ConsumeBool() ? files.Index : files.Language);
  if (input.ConsumeBool())
    files.Index.resize(input.ConsumeIntegralInRange<size_t>(0, files.Index.size()));
  if (input.ConsumeBool())
    files.Language.resize(input.ConsumeIntegralInRange<size_t>(0, files.Language.size()));
  index.Write(files.Index);
  language.Write(files.Language);
  return {FromUtf8(index.Path()), FromUtf8(language.Path())};
}

}  // namespace parlivo::fuzz
