// Feeds the lexicon checker damaged files: it must report, never crash, read outside a
// buffer or allocate without bound. A pair it passes must also read cleanly.
#include <cstdlib>

#include "FuzzFiles.h"
#include "LexiconChecker.h"
#include "Translator.h"

using namespace parlivo;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  const fuzz::TDamagedLexicon files = fuzz::WriteDamagedSample(input);
  const TCheckReport report = CheckLexicon(ToUtf8(files.Index), {ToUtf8(files.Language)}, 4);
  if (report.Problems.size() > 4 || report.Ok() != report.Problems.empty()) std::abort();
  if (report.Ok()) {
    TTranslator translator;
    translator.SetIndexFileName(files.Index);
    translator.SetDataFileName(files.Language);
    for (const char* query : {"mip", "mip ", "mip  ", "mipa "})
      translator.Translate(FromLatin1(query));
  }
  return 0;
}
