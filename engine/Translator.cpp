#include "Translator.h"

#include <algorithm>
#include <array>

#include "AnsiCodePage.h"

namespace parlivo {

namespace {

// Storage for the one-character symbol texts 0..255.
constexpr std::array<Char16, 256> MakeSymbolChars() {
  std::array<Char16, 256> chars{};
  for (int i = 0; i < 256; ++i) chars[i] = static_cast<Char16>(i);
  return chars;
}
constexpr std::array<Char16, 256> kSymbolChars = MakeSymbolChars();

void OpenInto(std::unique_ptr<TFileStream>& stream, String16& recordedName,
              const String16& fileName) {
  // The same name again opens nothing, unless its opening failed: then it is tried
  // again, and fails again with its error if it must.
  if (fileName == recordedName && (stream || fileName.empty())) return;
  recordedName = fileName;
  stream.reset();
  if (!fileName.empty()) stream = TFileStream::OpenRead(fileName);
}

bool IsAscii(StringView16 text) {
  return std::all_of(text.begin(), text.end(), [](Char16 ch) { return ch < 0x80; });
}

}  // namespace

TTranslator::TTranslator() = default;

TTranslator::~TTranslator() {
  FWords.clear();
  FTranslations.clear();
  FDataStream.reset();
  FIndexStream.reset();
}

void TTranslator::SetIndexFileName(const String16& fileName) {
  OpenInto(FIndexStream, FIndexFileName, fileName);
}

void TTranslator::SetDataFileName(const String16& fileName) {
  OpenInto(FDataStream, FDataFileName, fileName);
}

int TTranslator::CharCode(Char16 ch) noexcept {
  if (ch >= 'A' && ch <= 'Z') return ch - 63;
  if (ch >= 'a' && ch <= 'z') return ch - 95;
  if (ch == '\\') return 1;
  return 0;
}

uint32_t TTranslator::BucketOf(StringView16 word) noexcept {
  uint32_t h = 0;
  for (size_t i = 0; i < 3; ++i) {
    h *= 28;
    if (i < word.size()) h += static_cast<uint32_t>(CharCode(word[i]));
  }
  return h;
}

StringView16 TTranslator::SymbolText(int code) noexcept {
  switch (code) {
    case 31:
      return PLV_TEXT(".");
    case 44:
      ++FTextLength;
      return PLV_TEXT(", ");
    case 59:
      ++FTextLength;
      return PLV_TEXT("; ");
    default:
      return StringView16(&kSymbolChars[static_cast<uint8_t>(code)], 1);
  }
}

String16 TTranslator::DecodeText(const uint8_t* bytes, size_t& cursor) {
  FTextLength = bytes[cursor++];
  String16 result;
  while (static_cast<int32_t>(result.size()) < FTextLength) {
    const uint16_t w = LoadU16(bytes + cursor);
    cursor += 2;
    if ((w & 0x8000) == 0) {
      result.append(SymbolText(w & 31));
      result.append(SymbolText((w >> 5) & 31));
      result.append(SymbolText((w >> 10) & 31));
    } else {
      const int low = w & 0xFF;
      const int high = (w >> 8) & 0x7F;
      result.append(low < 32 ? Suffixes[low] : SymbolText(low));
      if (high >= 32) {
        result.append(SymbolText(high));
      } else if (high > 0) {
        result.append(Suffixes[high]);
      }
    }
  }
  return result;
}

size_t TTranslator::PackedTextSize(const uint8_t* bytes) {
  TTranslator scratch;
  size_t cursor = 0;
  scratch.DecodeText(bytes, cursor);
  return cursor;
}

String16 TTranslator::ReadText() {
  // A packed text never takes more than kMaxPackedTextSize bytes, so one read
  // fetches it whole; the position then moves to just after its last code word.
  std::array<uint8_t, kMaxPackedTextSize> bytes{};
  const uint64_t start = FDataStream ? FDataStream->Position() : 0;
  if (FDataStream) FDataStream->Read(bytes.data(), bytes.size());
  size_t cursor = 0;
  String16 text = DecodeText(bytes.data(), cursor);
  if (FDataStream) FDataStream->Seek(start + cursor);
  return text;
}

size_t TTranslator::AddEntry(const String16& headword, const uint8_t* record) {
  size_t cursor = kEntryPrefixSize;
  DecodeText(record, cursor);
  String16 text = DecodeText(record, cursor);
  text.resize(std::min(text.size(), static_cast<size_t>(std::max<int32_t>(FTextLength, 0))));
  if (!headword.empty() && !text.empty()) {
    FWords.push_back(headword);
    FTranslations.push_back(std::move(text));
  }
  return cursor;
}

void TTranslator::ReadEntry(const String16& headword) {
  std::array<uint8_t, kMaxEntrySize> bytes{};
  const uint64_t start = FDataStream ? FDataStream->Position() : 0;
  if (FDataStream) FDataStream->Read(bytes.data(), bytes.size());
  const size_t used = AddEntry(headword, bytes.data());
  if (FDataStream) FDataStream->Seek(start + used);
}

void TTranslator::ReadPadded(TFileStream& stream, uint64_t offset, size_t length,
                             std::vector<uint8_t>& out) {
  out.resize(length);
  stream.Seek(offset);
  stream.Read(out.data(), length);
}

void TTranslator::ResolvePointers(uint32_t table) {
  // The slots from the first to the last matched word, in one read.
  const uint32_t first = FMatches.front().WordNumber;
  const uint32_t count = FMatches.back().WordNumber - first + 1;
  ReadPadded(*FDataStream, uint64_t{table} + 4ull * first, 4ull * count, FScratch);
  const uint64_t fileSize = FDataStream->Size();
  auto inFile = [fileSize](uint64_t slot) { return slot + 4 <= fileSize; };
  for (TMatch& match : FMatches) {
    // A word whose slot lies outside the file adds no pair.
    match.Valid = inFile(uint64_t{table} + 4ull * match.WordNumber);
    if (!match.Valid) continue;
    uint32_t p = LoadU32(&FScratch[4ull * (match.WordNumber - first)]);
    if (p > kMaxDirectOffset) {
      // A cross-reference names word k of bucket B, whose slot holds a direct offset.
      FDataStream->Seek(kBucketTableOffset + 4ull * (p >> 16));
      const uint32_t otherTable = FDataStream->ReadU32();
      const uint64_t slot = uint64_t{otherTable} + 4ull * (p & 0xFFFF);
      FDataStream->Seek(slot);
      p = FDataStream->ReadU32();
      match.Valid = inFile(slot);
    }
    // A second level of indirection is malformed.
    match.Valid = match.Valid && p <= kMaxDirectOffset;
    match.Entry = p;
  }
}

void TTranslator::ReadMatchedEntries() {
  // Records of nearby words lie near each other: read them in spans of at most
  // kMaxSpan bytes, in file order, then add the pairs in word order.
  constexpr uint64_t kMaxSpan = 64 * 1024;
  FOrder.clear();
  for (uint32_t i = 0; i < FMatches.size(); ++i) {
    if (FMatches[i].Valid) FOrder.push_back(i);
  }
  std::sort(FOrder.begin(), FOrder.end(),
            [this](uint32_t a, uint32_t b) { return FMatches[a].Entry < FMatches[b].Entry; });
  FSpans.clear();
  for (size_t i = 0; i < FOrder.size();) {
    const uint32_t spanStart = FMatches[FOrder[i]].Entry;
    size_t end = i + 1;
    while (end < FOrder.size() &&
           FMatches[FOrder[end]].Entry - spanStart + kMaxEntrySize <= kMaxSpan)
      ++end;
    const size_t spanLength = FMatches[FOrder[end - 1]].Entry - spanStart + kMaxEntrySize;
    FSpans.emplace_back();
    ReadPadded(*FDataStream, spanStart, spanLength, FSpans.back());
    for (size_t k = i; k < end; ++k) {
      TMatch& match = FMatches[FOrder[k]];
      match.Span = static_cast<uint32_t>(FSpans.size() - 1);
      match.Entry -= spanStart;
    }
    i = end;
  }
  for (const TMatch& match : FMatches) {
    if (match.Valid) AddEntry(match.Candidate, FSpans[match.Span].data() + match.Entry);
  }
}

int TTranslator::Translate(StringView16 query) {
  FWords.clear();
  FTranslations.clear();
  if (!FIndexStream || !FDataStream) return trNoBucket;

  const size_t n = query.size();
  const uint64_t bucketEntry = kBucketTableOffset + 4ull * BucketOf(query);
  FIndexStream->Seek(bucketEntry);
  const uint32_t wordBlock = FIndexStream->ReadU32();
  FDataStream->Seek(bucketEntry);
  uint8_t tableBounds[8];
  FDataStream->Read(tableBounds, sizeof tableBounds);
  const uint32_t table = LoadU32(tableBounds);
  if (table == LoadU32(tableBounds + 4)) return trNoBucket;

  // The minimum and maximum lengths and every count fit in 514 bytes: one read.
  std::array<uint8_t, 2 + 2 * 256> block;
  FIndexStream->Seek(wordBlock);
  FIndexStream->Read(block.data(), block.size());
  const size_t minLength = block[0];
  const size_t maxLength = block[1];
  // Words shorter than three characters cannot be stored; a block that claims them is
  // malformed and is treated as holding no word of the query's length.
  if (n > maxLength || n < minLength || minLength < 3) return trLengthOutside;

  uint32_t wordNumber = 0;
  uint64_t shorterTails = 0;
  uint64_t allTails = 0;
  for (size_t length = minLength; length <= maxLength; ++length) {
    const uint16_t count = LoadU16(&block[2 + 2 * (length - minLength)]);
    const uint64_t tails = (length - 3) * uint64_t{count};
    if (length < n) {
      wordNumber += count;
      shorterTails += tails;
    }
    allTails += tails;
  }
  // A block that claims more tails than the file holds after it is malformed: its
  // bucket holds no word. This bounds a lookup's work by the size of the file.
  const uint64_t tailsStart = uint64_t{wordBlock} + 2 + 2 * (maxLength - minLength + 1);
  if (tailsStart + allTails > FIndexStream->Size()) return trLengthOutside;
  const uint32_t wordsOfLength = LoadU16(&block[2 + 2 * (n - minLength)]);
  FIndexStream->Seek(tailsStart + shorterTails);

  const StringView16 prefix = query.substr(0, query.find(Char16{' '}));
  if (prefix.empty()) return trNoMatch;

  // All tails of the query's length in one read; tails the file does not hold are
  // zero bytes, without allocating for them.
  const size_t tailLength = n - 3;
  const uint64_t tailBytes = uint64_t{wordsOfLength} * tailLength;
  const uint64_t here = FIndexStream->Position();
  const uint64_t inFile = here < FIndexStream->Size() ? FIndexStream->Size() - here : 0;
  FScratch.resize(static_cast<size_t>(std::min(tailBytes, inFile)));
  FIndexStream->Read(FScratch.data(), FScratch.size());

  const StringView16 head = query.substr(0, 3);
  const bool asciiQuery = IsAscii(query);
  const std::string headAnsi = asciiQuery ? std::string() : ToAnsi(head);
  std::string tail(tailLength, '\0');
  FMatches.clear();
  for (uint32_t i = 0; i < wordsOfLength; ++i, ++wordNumber) {
    const size_t at = std::min(size_t{i} * tailLength, FScratch.size());
    const size_t stored = std::min(tailLength, FScratch.size() - at);
    std::copy_n(FScratch.begin() + static_cast<std::ptrdiff_t>(at), stored, tail.begin());
    std::fill(tail.begin() + static_cast<std::ptrdiff_t>(stored), tail.end(), '\0');

    String16 candidate;
    if (asciiQuery) {
      // Every ANSI code page maps ASCII to itself and nothing else to ASCII, so the
      // bytes can be compared before anything is converted.
      bool equal = true;
      for (size_t c = 3; c < prefix.size() && equal; ++c) {
        equal = static_cast<uint8_t>(tail[c - 3]) == prefix[c];
      }
      if (!equal) continue;
      candidate.assign(head);
      candidate.append(FromAnsi(tail));
    } else {
      candidate = FromAnsi(headAnsi + tail);
      if (candidate.size() < prefix.size() || candidate.compare(0, prefix.size(), prefix) != 0)
        continue;
    }
    FMatches.push_back(TMatch{wordNumber, std::move(candidate)});
  }
  if (FMatches.empty()) return trNoMatch;

  ResolvePointers(table);
  ReadMatchedEntries();
  return trFound;
}

}  // namespace parlivo
