#include "WorkedExample.h"

#include "Hex.h"
#include "LexiconWriter.h"

namespace parlivo::test {

TSampleFiles WorkedExampleFiles() {
  TLexiconIndex index({"mip", "mips", "mipat", "mipel"});
  TLanguageFileBuilder language(index, TSharing::CrossReferences);
  const auto koriesMat = Hex("0A 6B EF 72 82 2C ED 08 80");
  language.Set("mip", koriesMat);
  language.Set("mips", koriesMat);
  language.Set("mipat", Hex("04 74 91 6E 80"), Hex("01 78 80"));
  language.Set("mipel", Hex("00"));
  return {index.FileBytes(), language.FileBytes()};
}

}  // namespace parlivo::test
