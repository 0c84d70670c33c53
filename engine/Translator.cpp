#include "Translator.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstring>

#include "AnsiCodePage.h"

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#endif

#ifdef _MSC_VER
#define PLV_FORCE_INLINE __forceinline
#define PLV_NO_INLINE __declspec(noinline)
#else
#define PLV_FORCE_INLINE [[gnu::always_inline]] inline
#define PLV_NO_INLINE [[gnu::noinline]]
#endif

namespace parlivo {

namespace {

// Storage for the one-character symbol texts 0..255.
constexpr std::array<Char16, 256> MakeSymbolChars() {
  std::array<Char16, 256> chars{};
  for (int i = 0; i < 256; ++i) chars[i] = static_cast<Char16>(i);
  return chars;
}
constexpr std::array<Char16, 256> kSymbolChars = MakeSymbolChars();

// A symbol code's text, and by how much it raises the text's target length: a
// separator counts as one character but is two.
struct TSymbol {
  StringView16 Text;
  unsigned TargetStep;
};
constexpr TSymbol SymbolOf(int code) {
  switch (code) {
    case 31:
      return {PLV_TEXT("."), 0};
    case 44:
      return {PLV_TEXT(", "), 1};
    case 59:
      return {PLV_TEXT("; "), 1};
    default:
      return {StringView16(&kSymbolChars[static_cast<uint8_t>(code)], 1), 0};
  }
}

// True when the file was opened afresh.
bool OpenInto(std::unique_ptr<TFileStream>& stream, String16& recordedName,
              const String16& fileName) {
  // The same name again opens nothing, unless its opening failed: then it is tried
  // again, and fails again with its error if it must.
  if (fileName == recordedName && (stream || fileName.empty())) return false;
  recordedName = fileName;
  stream.reset();
  if (!fileName.empty()) stream = TFileStream::OpenRead(fileName);
  return true;
}

// What a code word's piece does to the two counts of a decoding, added to both at
// once: the units it writes in the low half, and in the high half those units less
// the rise of the target length (a separator writes two units and raises the target by
// one). The decoding ends when the high half reaches the length byte.
constexpr uint64_t Counts(size_t units, unsigned targetStep) {
  return units | uint64_t{units - targetStep} << 32;
}

// What one half of an escape-form code word adds to a text: up to three units, stored
// as one word (the unused ones zero), and its counts. The fourth unit a store writes is
// scratch that the next store or the end of the text leaves behind.
struct TPiece {
  uint64_t Units = 0;
  uint64_t Counts = 0;
};

constexpr TPiece Piece(StringView16 units, unsigned targetStep) {
  TPiece piece{0, Counts(units.size(), targetStep)};
  for (size_t i = 0; i < units.size(); ++i)
    piece.Units |= uint64_t{static_cast<uint16_t>(units[i])} << (16 * i);
  return piece;
}

// A letter group below 32, a symbol from 32 on: what either half of an escape word
// names, but for a high half of 0.
constexpr TPiece HalfPiece(size_t code) {
  if (code < 32) return Piece(Suffixes[code], 0);
  const TSymbol symbol = SymbolOf(static_cast<int>(code));
  return Piece(symbol.Text, symbol.TargetStep);
}

// The pieces of both halves of an escape word: first those of the low byte (a letter
// group below 32, a symbol from 32 on), then from kHighPieces on those of the high
// seven bits (nothing for 0, a letter group below 32, a symbol from 32 on). Units and
// counts stand in two tables of words, which a load indexes directly.
constexpr size_t kHighPieces = 256;
constexpr size_t kPieceCount = kHighPieces + 128;
constexpr TPiece PieceOf(size_t i) {
  if (i < kHighPieces) return HalfPiece(i);
  return i == kHighPieces ? TPiece{} : HalfPiece(i - kHighPieces);
}
template <uint64_t TPiece::*kField>
constexpr std::array<uint64_t, kPieceCount> MakePieceTable() {
  std::array<uint64_t, kPieceCount> table{};
  for (size_t i = 0; i < kPieceCount; ++i) table[i] = PieceOf(i).*kField;
  return table;
}
constexpr std::array<uint64_t, kPieceCount> kPieceUnits = MakePieceTable<&TPiece::Units>();
constexpr std::array<uint64_t, kPieceCount> kPieceCounts = MakePieceTable<&TPiece::Counts>();

// The unit of a code of a triple code word: the character of that number, but for
// 31, the full stop.
constexpr uint64_t TripleUnit(unsigned code) {
  return code == 31 ? uint64_t{'.'} : code;
}

// Decodes one packed text (a target length, then code words until the units reach
// the target, which separators raise). Writes the units into out when kWrite; out has
// room for kMaxDecodedLength units and four more. Returns the units.
// Inlined into each caller: as a call it took a third more time a record.
template <bool kWrite>
PLV_FORCE_INLINE size_t DecodeUnits(const uint8_t* bytes, size_t& cursor, Char16* out,
                                    int32_t& targetLength) {
  static_assert(std::endian::native == std::endian::little, "pieces are stored as they lie");
  const uint32_t lengthByte = bytes[cursor++];
  size_t at = cursor;
  uint64_t counts = 0;
  auto add = [&](size_t piece) {
    if constexpr (kWrite) std::memcpy(out + static_cast<uint32_t>(counts), &kPieceUnits[piece], 8);
    counts += kPieceCounts[piece];
  };
  while ((counts >> 32) < lengthByte) {
    const uint16_t w = LoadU16(bytes + at);
    at += 2;
    if ((w & 0x8000) == 0) {
      if constexpr (kWrite) {
        const uint64_t units =
            TripleUnit(w & 31) | TripleUnit((w >> 5) & 31) << 16 | TripleUnit((w >> 10) & 31) << 32;
        std::memcpy(out + static_cast<uint32_t>(counts), &units, sizeof units);
      }
      counts += Counts(3, 0);
    } else {
      add(w & 0xFF);
      add(kHighPieces + ((w >> 8) & 0x7F));
    }
  }
  cursor = at;
  // The target has risen by the units written less those counted against it.
  const auto length = static_cast<uint32_t>(counts);
  targetLength = static_cast<int32_t>(lengthByte + length - static_cast<uint32_t>(counts >> 32));
  return length;
}

// The packed text at cursor decoded into out (room for kMaxDecodedLength + 4 units),
// cut to its target length; returns the units and moves cursor past it.
PLV_FORCE_INLINE size_t DecodeText(const uint8_t* bytes, size_t& cursor, Char16* out,
                                   int32_t& targetLength) {
  const size_t length = DecodeUnits<true>(bytes, cursor, out, targetLength);
  return std::min(length, static_cast<size_t>(std::max<int32_t>(targetLength, 0)));
}

// A tail's characters into out: ASCII straight, anything else through the code page.
size_t WidenTail(const uint8_t* tail, size_t length, Char16* out) {
  uint8_t any = 0;
  for (size_t i = 0; i < length; ++i) {
    any |= tail[i];
    out[i] = tail[i];
  }
  if (any < 0x80) return length;
  return FromAnsiInto(std::string_view(reinterpret_cast<const char*>(tail), length), out);
}

int32_t LoadI32(const uint8_t* p) noexcept {
  int32_t value;
  std::memcpy(&value, p, sizeof value);
  return value;
}

uint64_t LoadU64(const uint8_t* p) noexcept {
  uint64_t value;
  std::memcpy(&value, p, sizeof value);
  return value;
}

// Compares a tail with the wanted bytes: the first eight in one load where the tail's
// run holds eight bytes from the tail on, the rest, if any, byte by byte.
class TTailComparer {
 public:
  explicit TTailComparer(const TTranslator::TQueryForm& form)
      : FWanted(form.Wanted.data()),
        FLength(form.WantedLength),
        FMask(form.WantedMask),
        FHead(form.WantedHead) {}
  // The first eight bytes, or as many as are wanted, agree; tail holds eight.
  bool HeadMatches(const uint8_t* tail) const noexcept { return (LoadU64(tail) & FMask) == FHead; }
  bool BeginsWith(const uint8_t* tail, bool eightReadable) const noexcept {
    if (eightReadable ? (LoadU64(tail) & FMask) != FHead
                      : std::memcmp(tail, FWanted, std::min<size_t>(FLength, 8)) != 0)
      return false;
    return FLength <= 8 || std::memcmp(tail + 8, FWanted + 8, FLength - 8) == 0;
  }

 private:
  const uint8_t* FWanted;
  size_t FLength;
  uint64_t FMask;
  uint64_t FHead;
};

#if defined(__SSE2__) || defined(_M_X64)
// For a run of tails of length l < 8 and a block of sixteen places beginning at a
// place p with p mod l = phase: the places that begin a tail, one bit each, how many
// they are, and the phase of the next block. A block costs no division.
struct TBlockStarts {
  uint16_t Places = 0;
  uint8_t Count = 0;
  uint8_t NextPhase = 0;
};
constexpr std::array<std::array<TBlockStarts, 8>, 8> MakeTailStarts() {
  std::array<std::array<TBlockStarts, 8>, 8> starts{};
  for (unsigned l = 1; l < 8; ++l) {
    for (unsigned phase = 0; phase < l; ++phase) {
      TBlockStarts& block = starts[l][phase];
      for (unsigned place = 0; place < 16; ++place) {
        if ((phase + place) % l != 0) continue;
        block.Places = static_cast<uint16_t>(block.Places | 1u << place);
        ++block.Count;
      }
      block.NextPhase = static_cast<uint8_t>((phase + 16) % l);
    }
  }
  return starts;
}
constexpr auto kTailStarts = MakeTailStarts();
#endif

// Calls found(i), in increasing order, for every word i < count of a run whose tail
// (tailLength bytes each, back to back) begins with the form's wanted bytes (1 <=
// WantedLength <= tailLength).
template <class F>
void ForTailsBeginningWith(const uint8_t* tails, size_t tailLength, uint32_t count,
                           const TTranslator::TQueryForm& form, F&& found) {
  const TTailComparer comparer(form);
  const uint8_t* wanted = form.Wanted.data();
  const size_t wantedLength = form.WantedLength;
  const size_t size = size_t{count} * tailLength;
  size_t i = 0;  // the first tail the loops have not reached
#if defined(__SSE2__) || defined(_M_X64)
  // Short tails, sixteen places at a time: the places that begin a tail whose first
  // and last wanted bytes stand where they should; only those are compared in full.
  // Blocks stop where a load would pass the run's end. Long tails go by their heads
  // below: looking at each tail's head touches less than scanning them all.
  if (tailLength < 8) {
    const size_t lastAt = wantedLength - 1;
    const __m128i first = _mm_set1_epi8(static_cast<char>(wanted[0]));
    const __m128i last = _mm_set1_epi8(static_cast<char>(wanted[lastAt]));
    size_t phase = 0;  // at mod tailLength
    for (size_t at = 0; at + 16 + lastAt <= size; at += 16) {
      const auto* block = reinterpret_cast<const __m128i*>(tails + at);
      const auto* lastBlock = reinterpret_cast<const __m128i*>(tails + at + lastAt);
      const TBlockStarts& starts = kTailStarts[tailLength][phase];
      unsigned places =
          starts.Places & static_cast<unsigned>(
                              _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_loadu_si128(block), first)) &
                              _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_loadu_si128(lastBlock), last)));
      while (places != 0) {
        const size_t place = at + static_cast<size_t>(std::countr_zero(places));
        if (comparer.BeginsWith(tails + place, place + 8 <= size))
          found(static_cast<uint32_t>(place / tailLength));
        places &= places - 1;
      }
      i += starts.Count;
      phase = starts.NextPhase;
    }
  }
#endif
  if (tailLength >= 8) {
    // Every tail holds eight bytes: a group of heads is looked at before one branch,
    // and only a group with a head that matches is looked at tail by tail.
#if defined(__SSE2__) || defined(_M_X64)
    if (wantedLength <= 4) {
      // Four bytes a head, eight heads in two registers.
      const __m128i mask = _mm_set1_epi32(static_cast<int>(form.WantedMask));
      const __m128i head = _mm_set1_epi32(static_cast<int>(form.WantedHead));
      auto fourHeads = [&](const uint8_t* group) {
        const __m128i heads =
            _mm_setr_epi32(LoadI32(group), LoadI32(group + tailLength),
                           LoadI32(group + 2 * tailLength), LoadI32(group + 3 * tailLength));
        return _mm_cmpeq_epi32(_mm_and_si128(heads, mask), head);
      };
      for (; i + 8 <= count; i += 8) {
        const uint8_t* group = tails + i * tailLength;
        // Two bits a head, both set where it matches, in the order of the tails.
        unsigned heads = static_cast<unsigned>(_mm_movemask_epi8(
            _mm_packs_epi32(fourHeads(group), fourHeads(group + 4 * tailLength))));
        while (heads != 0) {
          const size_t k = i + static_cast<size_t>(std::countr_zero(heads)) / 2;
          if (comparer.BeginsWith(tails + k * tailLength, true)) found(static_cast<uint32_t>(k));
          heads &= heads - 1;
          heads &= heads - 1;
        }
      }
    }
#endif
    for (; i + 4 <= count; i += 4) {
      const uint8_t* group = tails + i * tailLength;
      const int heads = comparer.HeadMatches(group) + comparer.HeadMatches(group + tailLength) +
                        comparer.HeadMatches(group + 2 * tailLength) +
                        comparer.HeadMatches(group + 3 * tailLength);
      if (heads == 0) continue;
      for (size_t k = i; k < i + 4; ++k)
        if (comparer.BeginsWith(tails + k * tailLength, true)) found(static_cast<uint32_t>(k));
    }
  }
  // One tail at a time from the first the loops above did not reach.
  for (; i < count; ++i) {
    const size_t place = i * tailLength;
    if (comparer.BeginsWith(tails + place, tailLength >= 8 || place + 8 <= size))
      found(static_cast<uint32_t>(i));
  }
}

// What a word block's length counts add up to before the query's length (the first
// `own` of them) and in all: a block has at most 253 counts, and counts holds room for
// 256. A tail of a word of length l holds l - 3 bytes; no sum can overflow.
struct TLengthSums {
  uint32_t ShorterWords = 0;
  uint64_t ShorterTails = 0;
  uint64_t AllTails = 0;
};

// One length at a time: the portable way, and the way for a block with a count of
// 32768 or more, which pmaddwd would take as negative.
TLengthSums SumLengthCountsOneByOne(const uint8_t* counts, size_t minLength, size_t own,
                                    size_t lengths) {
  TLengthSums sums;
  for (size_t i = 0; i < lengths; ++i) {
    const uint32_t count = LoadU16(counts + 2 * i);
    const uint64_t tails = (minLength + i - 3) * uint64_t{count};
    if (i < own) {
      sums.ShorterWords += count;
      sums.ShorterTails += tails;
    }
    sums.AllTails += tails;
  }
  return sums;
}

TLengthSums SumLengthCounts(const uint8_t* counts, size_t minLength, size_t own, size_t lengths) {
#if defined(__SSE2__) || defined(_M_X64)
  // Eight counts at a time, multiplied and added in pairs by pmaddwd; lanes past the
  // block count as 0. With counts below 32768 and tail lengths below 256, a pair stays
  // below 2^24, the 32 pairs of a lane below 2^29 and the four lanes below 2^31.
  const short tailBase = static_cast<short>(minLength - 3);
  const __m128i ownEnd = _mm_set1_epi16(static_cast<short>(tailBase + own));
  const __m128i blockEnd = _mm_set1_epi16(static_cast<short>(tailBase + lengths));
  const __m128i ones = _mm_set1_epi16(1);
  __m128i tailLength =
      _mm_add_epi16(_mm_set1_epi16(tailBase), _mm_setr_epi16(0, 1, 2, 3, 4, 5, 6, 7));
  __m128i all = _mm_setzero_si128(), shorterTails = all, shorterWords = all, seen = all;
  for (size_t lanes = 0; lanes < lengths; lanes += 8) {
    const __m128i count =
        _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(counts + 2 * lanes)),
                      _mm_cmplt_epi16(tailLength, blockEnd));
    const __m128i shorter = _mm_and_si128(count, _mm_cmplt_epi16(tailLength, ownEnd));
    seen = _mm_or_si128(seen, count);
    all = _mm_add_epi32(all, _mm_madd_epi16(count, tailLength));
    shorterTails = _mm_add_epi32(shorterTails, _mm_madd_epi16(shorter, tailLength));
    shorterWords = _mm_add_epi32(shorterWords, _mm_madd_epi16(shorter, ones));
    tailLength = _mm_add_epi16(tailLength, _mm_set1_epi16(8));
  }
  if ((_mm_movemask_epi8(seen) & 0xAAAA) != 0)
    return SumLengthCountsOneByOne(counts, minLength, own, lengths);
  auto total = [](__m128i sums) {
    sums = _mm_add_epi32(sums, _mm_shuffle_epi32(sums, 0x4E));
    sums = _mm_add_epi32(sums, _mm_shuffle_epi32(sums, 0xB1));
    return static_cast<uint32_t>(_mm_cvtsi128_si32(sums));
  };
  return TLengthSums{total(shorterWords), total(shorterTails), total(all)};
#else
  return SumLengthCountsOneByOne(counts, minLength, own, lengths);
#endif
}

}  // namespace

TTranslator::TTranslator() = default;

TTranslator::~TTranslator() {
  FWords.Clear();
  FTranslations.Clear();
  FDataStream.reset();
  FIndexStream.reset();
}

void TTranslator::SetIndexFileName(const String16& fileName) {
  if (OpenInto(FIndexStream, FIndexFileName, fileName)) FDamage &= ~dmIndex;
}

void TTranslator::SetDataFileName(const String16& fileName) {
  if (OpenInto(FDataStream, FDataFileName, fileName)) FDamage &= ~dmData;
}

void TTranslator::AdoptFiles(std::unique_ptr<TFileStream> index, String16 indexName,
                             std::unique_ptr<TFileStream> data, String16 dataName) {
  FIndexStream = std::move(index);
  FIndexFileName = std::move(indexName);
  FDataStream = std::move(data);
  FDataFileName = std::move(dataName);
  FDamage = dmNone;
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

TTranslator::TQueryForm::TQueryForm(StringView16 query) noexcept : Bucket(BucketOf(query)) {
  // Only the prefix and the first three characters reach a headword or a comparison.
  unsigned any = 0;
  size_t length = 0;
  while (length < query.size() && query[length] != ' ') any |= query[length++];
  for (size_t i = length; i < std::min<size_t>(3, query.size()); ++i) any |= query[i];
  Prefix = query.substr(0, length);
  Ascii = any < 0x80;
  if (!Ascii || length <= 3) return;
  // A query that reaches the tails has at most 255 characters; the bound only keeps a
  // longer one's form within the array.
  WantedLength = std::min<size_t>(length - 3, Wanted.size());
  for (size_t i = 0; i < WantedLength; ++i) Wanted[i] = static_cast<uint8_t>(query[3 + i]);
  for (size_t i = 0; i < std::min<size_t>(WantedLength, 8); ++i)
    WantedHead |= uint64_t{Wanted[i]} << (8 * i);
  WantedMask = WantedLength >= 8 ? ~uint64_t{0} : (uint64_t{1} << (8 * WantedLength)) - 1;
}

StringView16 TTranslator::SymbolText(int code) noexcept {
  const TSymbol symbol = SymbolOf(code);
  FTextLength += static_cast<int32_t>(symbol.TargetStep);
  return symbol.Text;
}

size_t TTranslator::PackedTextSize(const uint8_t* bytes) {
  size_t cursor = 0;
  int32_t targetLength = 0;
  DecodeUnits<false>(bytes, cursor, nullptr, targetLength);
  return cursor;
}

String16 TTranslator::ReadText() {
  // A packed text never takes more than kMaxPackedTextSize bytes, so one read
  // fetches it whole; the position then moves to just after its last code word.
  std::array<uint8_t, kMaxPackedTextSize> bytes{};
  const uint64_t start = FDataStream ? FDataStream->Position() : 0;
  if (FDataStream) FDataStream->Read(bytes.data(), bytes.size());
  size_t cursor = 0;
  String16 text(kMaxDecodedLength + 4, Char16{});
  text.resize(DecodeUnits<true>(bytes.data(), cursor, text.data(), FTextLength));
  if (FDataStream) FDataStream->Seek(start + cursor);
  return text;
}

size_t TTranslator::AddEntry(size_t headwordLength, const uint8_t* record) {
  size_t cursor = kEntryPrefixSize;
  // The first text is passed over unless it gives the headword; most are empty, a
  // single zero byte.
  if (record[cursor] == 0) {
    ++cursor;
  } else if (FHeadwordsAsSpelt) {
    headwordLength = DecodeText(record, cursor, FWords.Reserve(kMaxDecodedLength + 4), FTextLength);
  } else {
    DecodeUnits<false>(record, cursor, nullptr, FTextLength);
  }
  const size_t length =
      DecodeText(record, cursor, FTranslations.Reserve(kMaxDecodedLength + 4), FTextLength);
  if (headwordLength > 0 && length > 0) {
    FWords.Commit(headwordLength);
    FTranslations.Commit(length);
  }
  return cursor;
}

void TTranslator::ReadEntry(const String16& headword) {
  std::array<uint8_t, kMaxEntrySize> bytes{};
  const uint64_t start = FDataStream ? FDataStream->Position() : 0;
  if (FDataStream) FDataStream->Read(bytes.data(), bytes.size());
  std::copy(headword.begin(), headword.end(), FWords.Reserve(headword.size()));
  const size_t used = AddEntry(headword.size(), bytes.data());
  if (FDataStream) FDataStream->Seek(start + used);
}

bool TTranslator::FindBucket(uint32_t h, TBucketPlace& place) {
  place.WordBlock = FIndexStream->U32At(BucketEntryOffset(h));
  place.Table = FDataStream->U32At(BucketEntryOffset(h));
  if (BucketEntryOffset(h + 1) + 4 > FDataStream->Size()) FDamage |= dmData;
  const bool covered = place.Table != FDataStream->U32At(BucketEntryOffset(h + 1));
  if (covered && BucketEntryOffset(h) + 4 > FIndexStream->Size()) FDamage |= dmIndex;
  return covered;
}

bool TTranslator::FindLengthRun(uint32_t wordBlock, size_t length, TLengthRun& run) {
  // The minimum and maximum lengths and every count fit in 514 bytes.
  const uint8_t* block = FIndexStream->View(wordBlock, 2 + 2 * 256, FBlockScratch);
  const size_t minLength = block[0];
  const size_t maxLength = block[1];
  if (uint64_t{wordBlock} + 2 > FIndexStream->Size()) FDamage |= dmIndex;
  // Words shorter than three characters cannot be stored; a block that claims them is
  // malformed and is treated as holding no word of the query's length.
  if (length > maxLength || length < minLength || minLength < 3) return false;
  const uint64_t tailsStart = uint64_t{wordBlock} + 2 + 2 * (maxLength - minLength + 1);
  if (tailsStart > FIndexStream->Size()) FDamage |= dmIndex;
  run.Count = LoadU16(block + 2 + 2 * (length - minLength));
  // A length without words needs neither the sums nor the bound below.
  if (run.Count == 0) return true;
  const TLengthSums sums =
      SumLengthCounts(block + 2, minLength, length - minLength, maxLength - minLength + 1);
  run.FirstWord = sums.ShorterWords;
  // A block that claims more tails than the file holds after it is malformed: its
  // bucket holds no word. This bounds a lookup's work by the size of the file.
  if (tailsStart + sums.AllTails > FIndexStream->Size()) {
    FDamage |= dmIndex;
    return false;
  }
  run.TailsAt = tailsStart + sums.ShorterTails;
  return true;
}

bool TTranslator::MatchTails(StringView16 query, const TQueryForm& form, const TLengthRun& run) {
  FMatches.clear();
  if (form.Prefix.empty() || run.Count == 0) return false;
  const size_t tailLength = query.size() - 3;
  FTails = FIndexStream->View(run.TailsAt, size_t{run.Count} * tailLength, FTailScratch);
  if (!form.Ascii) return MatchCandidates(query, form.Prefix, run);
  // Every ANSI code page maps ASCII to itself and nothing else to ASCII, so the bytes
  // can be compared before anything is converted.
  // The first three characters came with the query: the tail holds the rest.
  auto match = [&](uint32_t i) { FMatches.push_back(TMatch{run.FirstWord + i, i}); };
  if (form.WantedLength == 0) {
    for (uint32_t i = 0; i < run.Count; ++i) match(i);
  } else {
    ForTailsBeginningWith(FTails, tailLength, run.Count, form, match);
  }
  return !FMatches.empty();
}

PLV_NO_INLINE bool TTranslator::MatchCandidates(StringView16 query, StringView16 prefix,
                                                const TLengthRun& run) {
  FCandidateWords.clear();
  const size_t tailLength = query.size() - 3;
  const std::string head = ToAnsi(query.substr(0, 3));
  for (uint32_t i = 0; i < run.Count; ++i) {
    const auto* tail = reinterpret_cast<const char*>(FTails + size_t{i} * tailLength);
    String16 candidate = FromAnsi(head + std::string(tail, tailLength));
    if (candidate.size() < prefix.size() || candidate.compare(0, prefix.size(), prefix) != 0)
      continue;
    FMatches.push_back(TMatch{run.FirstWord + i, static_cast<uint32_t>(FCandidateWords.size())});
    FCandidateWords.push_back(std::move(candidate));
  }
  return !FMatches.empty();
}

void TTranslator::ResolvePointers(uint32_t table) {
  const uint64_t fileSize = FDataStream->Size();
  auto inFile = [fileSize](uint64_t slot) { return slot + 4 <= fileSize; };
  // The slots from the first to the last match in one piece when the file holds them.
  const uint32_t first = FMatches.front().WordNumber;
  const uint64_t firstSlot = uint64_t{table} + 4ull * first;
  const uint64_t slotBytes = 4ull * (FMatches.back().WordNumber - first + 1);
  const uint8_t* slots = firstSlot + slotBytes <= fileSize
                             ? FDataStream->View(firstSlot, slotBytes, FSlotScratch)
                             : nullptr;
  for (TMatch& match : FMatches) {
    // A word whose slot lies outside the file adds no pair.
    const uint64_t slot = firstSlot + 4ull * (match.WordNumber - first);
    match.Valid = inFile(slot);
    if (!match.Valid) {
      FDamage |= dmData;
      continue;
    }
    uint32_t p = slots ? LoadU32(slots + (slot - firstSlot)) : FDataStream->U32At(slot);
    if (p > kMaxDirectOffset) {
      // A cross-reference names word k of bucket B, whose slot holds a direct offset.
      const uint32_t otherTable = FDataStream->U32At(BucketEntryOffset(p >> 16));
      const uint64_t otherSlot = uint64_t{otherTable} + 4ull * (p & 0xFFFF);
      match.Valid = inFile(otherSlot);
      if (!match.Valid) FDamage |= dmData;
      p = FDataStream->U32At(otherSlot);
    }
    // A second level of indirection is malformed.
    match.Valid = match.Valid && p <= kMaxDirectOffset;
    match.Entry = p;
    if (match.Valid) FDataStream->Prefetch(p);
  }
}

size_t TTranslator::ReserveIndexHeadword(StringView16 query, bool ascii, uint32_t candidate) {
  if (!ascii) {
    const String16& word = FCandidateWords[candidate];
    std::copy(word.begin(), word.end(), FWords.Reserve(word.size()));
    return word.size();
  }
  const size_t tailLength = query.size() - 3;
  Char16* word = FWords.Reserve(query.size());
  word[0] = query[0];
  word[1] = query[1];
  word[2] = query[2];
  return 3 + WidenTail(FTails + size_t{candidate} * tailLength, tailLength, word + 3);
}

void TTranslator::ReadMatchedEntries(StringView16 query, bool ascii) {
  for (const TMatch& match : FMatches) {
    if (!match.Valid) continue;
    const uint8_t* record = FDataStream->View(match.Entry, kMaxEntrySize, FRecordScratch);
    // The headword goes straight into the list; it stays there if the record adds a pair.
    // A record that spells it writes it there itself, in AddEntry.
    const bool spelt = FHeadwordsAsSpelt && record[kEntryPrefixSize] != 0;
    const size_t used =
        AddEntry(spelt ? 0 : ReserveIndexHeadword(query, ascii, match.Candidate), record);
    if (match.Entry + used > FDataStream->Size()) FDamage |= dmData;
  }
}

int TTranslator::Translate(StringView16 query) {
  return Lookup(query, TQueryForm(query));
}

int TTranslator::Lookup(StringView16 query, const TQueryForm& form) {
  FWords.Clear();
  FTranslations.Clear();
  if (!FIndexStream || !FDataStream) return trNoBucket;
  TBucketPlace place;
  if (!FindBucket(form.Bucket, place)) return trNoBucket;
  TLengthRun run;
  if (!FindLengthRun(place.WordBlock, query.size(), run)) return trLengthOutside;
  if (!MatchTails(query, form, run)) return trNoMatch;
  ResolvePointers(place.Table);
  ReadMatchedEntries(query, form.Ascii);
  return trFound;
}

}  // namespace parlivo
