// The lexicon engine: an index file and one language file held open, and lookups of
// fixed-length queries in the bucket of their first three characters.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "FileStream.h"
#include "StringList.h"
#include "Text.h"

namespace parlivo {

// Letter groups that escape-form code words can name; entry 0 is reached only
// through a low part of 0.
inline constexpr StringView16 Suffixes[32] = {
    PLV_TEXT("<0>"), PLV_TEXT("ion"), PLV_TEXT("ies"), PLV_TEXT("ing"), PLV_TEXT("ous"),
    PLV_TEXT("ses"), PLV_TEXT("al"),  PLV_TEXT("an"),  PLV_TEXT("at"),  PLV_TEXT("ed"),
    PLV_TEXT("en"),  PLV_TEXT("er"),  PLV_TEXT("es"),  PLV_TEXT("ia"),  PLV_TEXT("ic"),
    PLV_TEXT("ie"),  PLV_TEXT("in"),  PLV_TEXT("io"),  PLV_TEXT("is"),  PLV_TEXT("it"),
    PLV_TEXT("le"),  PLV_TEXT("ly"),  PLV_TEXT("ne"),  PLV_TEXT("on"),  PLV_TEXT("or"),
    PLV_TEXT("ra"),  PLV_TEXT("se"),  PLV_TEXT("ss"),  PLV_TEXT("st"),  PLV_TEXT("te"),
    PLV_TEXT("ti"),  PLV_TEXT("th")};

// File layout constants shared by the reader, the writer and the checker.
inline constexpr uint32_t kBucketCount = 28 * 28 * 28;
inline constexpr uint32_t kBucketTableOffset = 100;
// Where bucket h's entry of a bucket table lies, in both kinds of file; h =
// kBucketCount is the language file's closing entry.
constexpr uint64_t BucketEntryOffset(uint32_t h) {
  return kBucketTableOffset + 4ull * h;
}
inline constexpr uint32_t kIndexBlocksOffset = kBucketTableOffset + 4 * kBucketCount;
inline constexpr uint32_t kDataTablesOffset = kBucketTableOffset + 4 * (kBucketCount + 1);
static_assert(kIndexBlocksOffset == 87908 && kDataTablesOffset == 87912);
inline constexpr uint32_t kMaxDirectOffset = 0xFFFFFF;
inline constexpr size_t kEntryPrefixSize = 7;
inline constexpr size_t kMaxPackedTextSize = 1 + 2 * 255;
inline constexpr size_t kMaxEntrySize = kEntryPrefixSize + 2 * kMaxPackedTextSize;
// The most UTF-16 units one packed text decodes to: at most 255 code words of at most
// six units each.
inline constexpr size_t kMaxDecodedLength = 255 * 6;

// Result codes of Translate.
enum TTranslateResult : int {
  trFound = 0,
  trNoBucket = 1,
  trLengthOutside = 2,
  trNoMatch = 3,
};

class TTranslator {
 public:
  TTranslator();
  virtual ~TTranslator();
  TTranslator(const TTranslator&) = delete;
  TTranslator& operator=(const TTranslator&) = delete;

  // Opening throws EFOpenError; the new name stays recorded and the old file is closed.
  void SetIndexFileName(const String16& fileName);
  void SetDataFileName(const String16& fileName);
  // Takes an index and a language file that the caller opened, under their full names:
  // the two files of one set, opened through one held folder (TFolder).
  void AdoptFiles(std::unique_ptr<TFileStream> index, String16 indexName,
                  std::unique_ptr<TFileStream> data, String16 dataName);

  // Whether a row's headword is its record's first text, where that is not empty, rather
  // than the index's word: a reverse set keeps there each word as it is spelt ("Häuser"),
  // its index only the key ("hauser"). Off to begin with: the first text is passed over.
  void SetHeadwordsAsSpelt(bool spelt) noexcept { FHeadwordsAsSpelt = spelt; }
  bool HeadwordsAsSpelt() const noexcept { return FHeadwordsAsSpelt; }

  // The files in which a lookup met an offset beyond the end since they were opened: a
  // file cut short or overwritten. Lookups go on as ever, leaving out what lies outside.
  enum TDamage : unsigned { dmNone = 0, dmIndex = 1, dmData = 2 };
  unsigned Damage() const noexcept { return FDamage; }

  static int CharCode(Char16 ch) noexcept;
  static uint32_t BucketOf(StringView16 word) noexcept;

  StringView16 SymbolText(int code) noexcept;
  String16 ReadText();
  void ReadEntry(const String16& headword);
  int Translate(StringView16 query);

  // What a lookup works out from its query alone, before it reads anything. A word and
  // its forms padded with spaces share all of it, so the lookups of one keystroke work
  // it out once; each of them still reads the files afresh.
  struct TQueryForm {
    explicit TQueryForm(StringView16 query) noexcept;
    uint32_t Bucket;
    StringView16 Prefix;  // the query up to its first space
    bool Ascii;           // the prefix and the first three characters are ASCII
    // Where Ascii: the bytes a tail must begin with, the prefix from its fourth
    // character on, and the first eight of them in one word with its mask.
    size_t WantedLength = 0;
    uint64_t WantedHead = 0;
    uint64_t WantedMask = 0;
    std::array<uint8_t, 256> Wanted;
  };

  // Translate for the first shortest characters of longest, then for each longer start
  // of it, up to the whole: a whole lookup each, shortest first. After every lookup that
  // returns trFound, found() runs with the lists holding that lookup's pairs. From
  // shortest on, longest holds nothing but spaces.
  template <class F>
  void TranslateEachLength(StringView16 longest, size_t shortest, F&& found) {
    const TQueryForm form(longest);
    for (size_t length = shortest; length <= longest.size(); ++length)
      if (Lookup(longest.substr(0, length), form) == trFound) found();
  }

  // The bytes a packed text takes; bytes holds kMaxPackedTextSize readable bytes.
  static size_t PackedTextSize(const uint8_t* bytes);

  // The pairs of the last lookup, in word order.
  const TStringList& Words() const noexcept { return FWords; }
  const TStringList& Translations() const noexcept { return FTranslations; }
  const String16& DataFileName() const noexcept { return FDataFileName; }
  const String16& IndexFileName() const noexcept { return FIndexFileName; }
  int32_t TextLength() const noexcept { return FTextLength; }

 private:
  // Where a lookup's bucket lies: its pointer table in the language file and its word
  // block in the index.
  struct TBucketPlace {
    uint32_t Table;
    uint32_t WordBlock;
  };
  // The words of the query's length in the bucket's word block.
  struct TLengthRun {
    uint32_t FirstWord = 0;  // word number of the first of them
    uint32_t Count = 0;
    uint64_t TailsAt = 0;  // offset of their tails in the index
  };
  struct TMatch {
    uint32_t WordNumber;
    uint32_t Candidate;  // its place in the run, or in FCandidateWords beyond ASCII
    uint32_t Entry = 0;  // direct offset of the record
    bool Valid = false;
  };

  // Translate for a query of the given form.
  int Lookup(StringView16 query, const TQueryForm& form);
  // True when the language file has a pointer table for bucket h.
  bool FindBucket(uint32_t h, TBucketPlace& place);
  // True when the query's length lies within the bucket's word block, which is well
  // formed: a block claiming more tails than the index holds after it holds no words.
  // A length without words is not summed or bounded: its run has only its count, 0.
  bool FindLengthRun(uint32_t wordBlock, size_t length, TLengthRun& run);
  // Collects into FMatches the words of the run that begin with the query's prefix,
  // comparing bytes where the query is ASCII. True when any does.
  bool MatchTails(StringView16 query, const TQueryForm& form, const TLengthRun& run);
  // MatchTails beyond ASCII: each candidate is built whole through the code page, kept
  // in FCandidateWords, and compared with the prefix as text.
  bool MatchCandidates(StringView16 query, StringView16 prefix, const TLengthRun& run);
  // The direct record offsets of the matches, cross-references followed one level; a
  // match whose slot lies outside the language file stays invalid. The records of the
  // valid ones are asked for at once, so that their fetches overlap.
  void ResolvePointers(uint32_t table);
  // Decodes the records of the valid matches in word order and adds their pairs.
  void ReadMatchedEntries(StringView16 query, bool ascii);
  // Writes a match's headword as the index has it into FWords' reserved room; returns
  // its length.
  size_t ReserveIndexHeadword(StringView16 query, bool ascii, uint32_t candidate);

  // Decodes a record of kMaxEntrySize readable bytes and adds its pair, if any: the
  // headword is the headwordLength units already written into FWords' reserved room,
  // or the record's first text, decoded there, where FHeadwordsAsSpelt and it has one;
  // the text is decoded straight into FTranslations'. Returns the bytes it used.
  size_t AddEntry(size_t headwordLength, const uint8_t* record);

  std::unique_ptr<TFileStream> FDataStream;
  std::unique_ptr<TFileStream> FIndexStream;
  int32_t FTextLength = 0;
  unsigned FDamage = dmNone;
  bool FHeadwordsAsSpelt = false;
  // The last lookup's pairs; their buffers are reused from lookup to lookup, so that a
  // keystroke allocates nothing once they have grown.
  TStringList FWords;
  TStringList FTranslations;
  String16 FDataFileName;
  String16 FIndexFileName;
  // Scratch of one lookup, refilled by every lookup: nothing read is kept between them.
  std::vector<uint8_t> FBlockScratch;
  std::vector<uint8_t> FTailScratch;
  std::vector<uint8_t> FSlotScratch;
  std::vector<uint8_t> FRecordScratch;
  const uint8_t* FTails = nullptr;  // the run's tails: in the index's mapping or FTailScratch
  std::vector<TMatch> FMatches;
  std::vector<String16> FCandidateWords;  // whole candidates, for a query beyond ASCII
};

}  // namespace parlivo
