// Writes an index file and language files that keep every rule the reader relies on:
// complete bucket tables, word blocks ordered by length, one pointer for every word of
// a bucket that a language covers, direct offsets within 16 MiB and cross-references
// only to direct slots.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "TextPacker.h"

namespace parlivo {

// A lexicon that would break a limit of the file format.
class ELexiconLimit : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct TWordSlot {
  uint32_t Bucket;
  uint32_t Number;  // word number within the bucket
};

// The headwords and their places. Headwords are bytes in the ANSI code page
// (Windows-1252); words of one or two characters are stored padded with spaces to
// three, as the reader reports them.
class TLexiconIndex {
 public:
  // Throws ELexiconLimit for an empty headword, one over 255 characters, or more than
  // 65,535 words of one length in a bucket.
  explicit TLexiconIndex(std::vector<std::string> headwords);

  static uint32_t BucketOfBytes(std::string_view headword) noexcept;
  static std::string Stored(std::string_view headword);

  std::optional<TWordSlot> Find(std::string_view headword) const;
  size_t WordCount() const noexcept { return FSlots.size(); }
  // Words of a bucket in word-number order, in stored form.
  const std::vector<std::string>& BucketWords(uint32_t bucket) const { return FBuckets[bucket]; }
  std::vector<uint8_t> FileBytes() const;

 private:
  std::vector<std::vector<std::string>> FBuckets;
  std::map<std::string, TWordSlot, std::less<>> FSlots;
};

// How a language file stores entries that equal one stored before.
enum class TSharing { EqualOffsets, CrossReferences };

class TLanguageFileBuilder {
 public:
  TLanguageFileBuilder(const TLexiconIndex& index, TSharing sharing);

  // Sets the entry of a headword of the index (throws std::invalid_argument for
  // others): its first text, which the reader passes over, and the text it shows.
  void Set(std::string_view headword, TPackedText second, TPackedText first = TPackedText{0});
  size_t EntryCount() const noexcept { return FEntries.size(); }

  struct TStats {
    size_t Records = 0;        // entry records written
    size_t SharedEntries = 0;  // words with a text that reuse a record stored for another word
    size_t WithoutText = 0;    // words of covered buckets without a text in this language
    size_t Bytes = 0;
  };
  // Throws ELexiconLimit when a record would start beyond the 16 MiB of direct offsets.
  std::vector<uint8_t> FileBytes(TStats* stats = nullptr) const;

 private:
  const TLexiconIndex& FIndex;
  TSharing FSharing;
  std::map<std::pair<uint32_t, uint32_t>, std::vector<uint8_t>> FEntries;  // slot -> record
};

void WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace parlivo
