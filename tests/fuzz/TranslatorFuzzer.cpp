// Feeds the lexicon reader damaged files, looked up with arbitrary queries. The
// sanitizers and libFuzzer's memory limits turn any stray read, write or unbounded
// allocation into a failure.
#include <cstdlib>

#include "FuzzFiles.h"
#include "Search.h"
#include "Translator.h"

using namespace parlivo;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  const fuzz::TDamagedLexicon files = fuzz::WriteDamagedSample(input);
  TTranslator translator;
  translator.SetIndexFileName(files.Index);
  translator.SetDataFileName(files.Language);
  // Headwords from the records' first texts, as the other direction reads them.
  translator.SetHeadwordsAsSpelt(input.ConsumeBool());
  for (int queries = 0; queries < 8 && input.remaining_bytes() > 0; ++queries) {
    std::string query = input.ConsumeBool() ? "mip" : "";
    query += input.ConsumeRandomLengthString(40);
    const int code = translator.Translate(FromLatin1(query));
    if (code < trFound || code > trNoMatch) std::abort();
    if (translator.Words().size() != translator.Translations().size()) std::abort();
    if (code != trFound && !translator.Words().empty()) std::abort();
  }
  size_t rows = 0;
  SearchTypedWord(translator, PLV_TEXT("mip"), [&](StringView16, StringView16) { ++rows; });
  SearchTypedWord(
      translator, PLV_TEXT("M\u00CEp\u00DF"), [&](StringView16, StringView16) { ++rows; },
      TDirection::ToEnglish);
  return 0;
}
