// Feeds the lexicon reader damaged files: the sample lexicon with patched, extended or
// truncated regions, looked up with arbitrary queries. The sanitizers and libFuzzer's
// memory limits turn any stray read, write or unbounded allocation into a failure.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <unistd.h>

#include "Search.h"
#include "Translator.h"
#include "WorkedExample.h"

using namespace parlivo;

namespace {

// Places in the sample files where the interesting structures start.
constexpr size_t kAnchors[] = {0, 100, 45192, 45196, 87908, 87912, 87928, 87945, 87960};

const std::filesystem::path& ScratchFolder() {
  static const std::filesystem::path folder = [] {
    const std::filesystem::path base = std::filesystem::exists("/dev/shm")
                                           ? std::filesystem::path("/dev/shm")
                                           : std::filesystem::temp_directory_path();
    auto path = base / ("parlivo-fuzz-" + std::to_string(::getpid()));
    std::filesystem::create_directories(path);
    std::atexit([] {
      std::error_code ignored;
      std::filesystem::remove_all(ScratchFolder(), ignored);
    });
    return path;
  }();
  return folder;
}

void Patch(FuzzedDataProvider& input, std::vector<uint8_t>& file) {
  const size_t at = kAnchors[input.ConsumeIntegralInRange<size_t>(0, std::size(kAnchors) - 1)] +
                    input.ConsumeIntegralInRange<size_t>(0, 96);
  const auto bytes = input.ConsumeBytes<uint8_t>(input.ConsumeIntegralInRange<size_t>(1, 16));
  if (at + bytes.size() > file.size()) file.resize(at + bytes.size());
  std::copy(bytes.begin(), bytes.end(), file.begin() + static_cast<std::ptrdiff_t>(at));
}

void Save(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const test::TSampleFiles sample = test::WorkedExampleFiles();
  FuzzedDataProvider input(data, size);
  test::TSampleFiles files = sample;
  const int patches = input.ConsumeIntegralInRange(0, 12);
  for (int i = 0; i < patches; ++i)
    Patch(input, input.ConsumeBool() ? files.Index : files.Language);
  if (input.ConsumeBool())
    files.Index.resize(input.ConsumeIntegralInRange<size_t>(0, files.Index.size()));
  if (input.ConsumeBool())
    files.Language.resize(input.ConsumeIntegralInRange<size_t>(0, files.Language.size()));

  const auto index = ScratchFolder() / "Index.plv";
  const auto language = ScratchFolder() / "German.plv";
  Save(index, files.Index);
  Save(language, files.Language);

  TTranslator translator;
  translator.SetIndexFileName(FromUtf8(index.string()));
  translator.SetDataFileName(FromUtf8(language.string()));
  for (int queries = 0; queries < 8 && input.remaining_bytes() > 0; ++queries) {
    std::string query = input.ConsumeBool() ? "mip" : "";
    query += input.ConsumeRandomLengthString(40);
    const int code = translator.Translate(FromLatin1(query));
    if (code < trFound || code > trNoMatch) std::abort();
    if (translator.Words().size() != translator.Translations().size()) std::abort();
    if (code != trFound && !translator.Words().empty()) std::abort();
  }
  size_t rows = 0;
  SearchTypedWord(translator, PLV_TEXT("mip"), [&](const String16&, const String16&) { ++rows; });
  return 0;
}
