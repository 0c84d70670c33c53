#include "ReverseLexicon.h"

#include <stdexcept>

#include "Languages.h"
#include "Latin1.h"
#include "LexiconWriter.h"

namespace parlivo::test {

namespace {

std::string Latin1Of(const std::string& utf8) {
  const auto latin1 = ToLatin1(utf8);
  if (!latin1) throw std::invalid_argument("no Latin-1 form: " + utf8);
  return *latin1;
}

}  // namespace

void WriteReverseSet(const std::filesystem::path& folder, const std::string& language,
                     const std::vector<TReverseEntry>& entries) {
  const TLanguage* row = FindLanguage(FromUtf8(language));
  if (!row || !HasReverse(*row)) throw std::invalid_argument("no reverse set: " + language);
  std::vector<std::string> keys;
  for (const auto& entry : entries) keys.push_back(entry.Key);
  const TLexiconIndex index(keys);
  TLanguageFileBuilder data(index, TSharing::EqualOffsets);
  for (const auto& entry : entries)
    data.Set(entry.Key, PackText(Latin1Of(entry.Text)), PackText(Latin1Of(entry.Spelt)));
  std::filesystem::create_directories(folder);
  WriteFileBytes((folder / ToUtf8(row->ReverseIndexFileName)).string(), index.FileBytes());
  WriteFileBytes((folder / ToUtf8(row->ReverseFileName)).string(), data.FileBytes());
}

}  // namespace parlivo::test
