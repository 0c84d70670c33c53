// The lexicon engine: an index file and one language file held open, and lookups of
// fixed-length queries in the bucket of their first three characters.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "FileStream.h"
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

// File layout constants shared by the reader and the writer.
inline constexpr uint32_t kBucketCount = 28 * 28 * 28;
inline constexpr uint32_t kBucketTableOffset = 100;
inline constexpr uint32_t kIndexBlocksOffset = kBucketTableOffset + 4 * kBucketCount;
inline constexpr uint32_t kDataTablesOffset = kBucketTableOffset + 4 * (kBucketCount + 1);
inline constexpr uint32_t kMaxDirectOffset = 0xFFFFFF;
inline constexpr size_t kEntryPrefixSize = 7;
inline constexpr size_t kMaxPackedTextSize = 1 + 2 * 255;
inline constexpr size_t kMaxEntrySize = kEntryPrefixSize + 2 * kMaxPackedTextSize;

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

  static int CharCode(Char16 ch) noexcept;
  static uint32_t BucketOf(StringView16 word) noexcept;

  StringView16 SymbolText(int code) noexcept;
  String16 ReadText();
  void ReadEntry(const String16& headword);
  int Translate(StringView16 query);

  // The bytes a packed text takes; bytes holds kMaxPackedTextSize readable bytes.
  static size_t PackedTextSize(const uint8_t* bytes);

  const std::vector<String16>& Words() const noexcept { return FWords; }
  const std::vector<String16>& Translations() const noexcept { return FTranslations; }
  const String16& DataFileName() const noexcept { return FDataFileName; }
  const String16& IndexFileName() const noexcept { return FIndexFileName; }
  int32_t TextLength() const noexcept { return FTextLength; }

 private:
  struct TMatch {
    uint32_t WordNumber;
    String16 Candidate;
    uint32_t Entry = 0;  // offset of the record; after reading, its place in its span
    uint32_t Span = 0;
    bool Valid = false;
  };

  // Decodes the packed text at cursor within bytes, advancing cursor past the last
  // code word used; the caller guarantees kMaxPackedTextSize readable bytes.
  String16 DecodeText(const uint8_t* bytes, size_t& cursor);
  // Decodes a record of at most kMaxEntrySize bytes and adds its pair, if any. Returns
  // the bytes it used.
  size_t AddEntry(const String16& headword, const uint8_t* record);
  static void ReadPadded(TFileStream& stream, uint64_t offset, size_t length,
                         std::vector<uint8_t>& out);
  // The direct offsets of the matched words, cross-references followed one level.
  void ResolvePointers(uint32_t table);
  void ReadMatchedEntries();

  std::unique_ptr<TFileStream> FDataStream;
  std::unique_ptr<TFileStream> FIndexStream;
  int32_t FTextLength = 0;
  std::vector<String16> FWords;
  std::vector<String16> FTranslations;
  String16 FDataFileName;
  String16 FIndexFileName;
  // Scratch of one lookup, refilled by every lookup: nothing read is kept between them.
  std::vector<uint8_t> FScratch;
  std::vector<TMatch> FMatches;
  std::vector<uint32_t> FOrder;
  std::vector<std::vector<uint8_t>> FSpans;
};

}  // namespace parlivo
