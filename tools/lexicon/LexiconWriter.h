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

#include "SeenHashes.h"
#include "TextPacker.h"
#include "Translator.h"

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
  size_t WordCount() const noexcept { return FWordCount; }
  // Words of a bucket in word-number order, in stored form.
  const std::vector<std::string>& BucketWords(uint32_t bucket) const { return FBuckets[bucket]; }
  std::vector<uint8_t> FileBytes() const;

 private:
  size_t FWordCount = 0;
  // Each bucket's words in word-number order: by length, then by their bytes.
  std::vector<std::vector<std::string>> FBuckets;
};

// How a language file stores entries that equal one stored before.
enum class TSharing { EqualOffsets, CrossReferences };

class TLanguageFileBuilder {
 public:
  TLanguageFileBuilder(const TLexiconIndex& index, TSharing sharing);

  // Sets the entry of a headword of the index (throws std::invalid_argument for
  // others): its first text, which the reader passes over, and the text it shows.
  void Set(std::string_view headword, TPackedText second, TPackedText first = TPackedText{0});

  struct TStats {
    size_t Records = 0;        // entry records written
    size_t SharedEntries = 0;  // words with a text that reuse a record stored for another word
    size_t WithoutText = 0;    // words of covered buckets without a text in this language
    size_t Bytes = 0;
  };
  // Throws ELexiconLimit when a record would start beyond the 16 MiB of direct offsets.
  std::vector<uint8_t> FileBytes(TStats* stats = nullptr) const;

 private:
  // Where a headword's record lies in FRecords; the last one set for a slot counts.
  struct TPlaced {
    TWordSlot Slot;
    uint32_t At;
    uint32_t Size;
  };
  const TLexiconIndex& FIndex;
  TSharing FSharing;
  std::vector<uint8_t> FRecords;
  std::vector<TPlaced> FPlaced;
};

// A lower bound of a language file's size, raised text by text while a source is read,
// so that a source too big for the format is refused as soon as that is certain, not
// after all of it is held: a pointer for every headword, and an entry record for every
// text whose first part, up to its first separator, no text before began with (texts
// that share a record begin alike; those that begin alike are counted once).
class TLanguageFileBound {
 public:
  // One more headword and its Latin-1 text, packable.
  void Add(std::string_view text);
  uint64_t Bytes() const noexcept { return FBytes; }
  // Throws ELexiconLimit once no file of these texts fits the format, naming file.
  void Check(const std::string& file) const;

 private:
  uint64_t FBytes = kDataTablesOffset;
  TSeenHashes FBeginnings;  // of the texts' first parts
};

// What FileBytes throws for a language file beyond the reach of direct offsets.
extern const char kLanguageFileTooBig[];

void WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace parlivo
