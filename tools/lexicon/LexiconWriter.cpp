#include "LexiconWriter.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <tuple>
#include <unordered_map>

#include "Translator.h"

namespace parlivo {

namespace {

constexpr size_t kMaxHeadwordLength = 255;
constexpr uint32_t kMaxWordsOfOneLength = 0xFFFF;
constexpr uint32_t kMaxCrossReferencedNumber = 0xFFFF;
constexpr uint32_t kMinCrossReferencedBucket = 256;

void PutU16(std::vector<uint8_t>& out, size_t at, uint32_t value) {
  out[at] = static_cast<uint8_t>(value);
  out[at + 1] = static_cast<uint8_t>(value >> 8);
}

void PutU32(std::vector<uint8_t>& out, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

// The order of words in a bucket, which gives their word numbers.
bool ByLengthThenBytes(const std::string& a, const std::string& b) {
  return a.size() != b.size() ? a.size() < b.size() : a < b;
}

}  // namespace

uint32_t TLexiconIndex::BucketOfBytes(std::string_view headword) noexcept {
  // Latin-1 keeps bytes above 127 non-letters, whatever the code page makes of them.
  return TTranslator::BucketOf(FromLatin1(headword.substr(0, 3)));
}

std::string TLexiconIndex::Stored(std::string_view headword) {
  std::string stored(headword);
  if (stored.size() < 3) stored.resize(3, ' ');
  return stored;
}

TLexiconIndex::TLexiconIndex(std::vector<std::string> headwords) : FBuckets(kBucketCount) {
  for (auto& word : headwords) {
    if (word.empty()) throw ELexiconLimit("empty headword");
    if (word.size() > kMaxHeadwordLength) {
      throw ELexiconLimit("headword longer than 255 characters: " + word.substr(0, 40) + "...");
    }
    word = Stored(word);
  }
  std::sort(headwords.begin(), headwords.end(), ByLengthThenBytes);
  headwords.erase(std::unique(headwords.begin(), headwords.end()), headwords.end());
  FWordCount = headwords.size();
  for (auto& word : headwords) FBuckets[BucketOfBytes(word)].push_back(std::move(word));
  for (uint32_t h = 0; h < kBucketCount; ++h) {
    std::map<size_t, uint32_t> perLength;
    for (const auto& word : FBuckets[h]) {
      if (++perLength[word.size()] > kMaxWordsOfOneLength) {
        throw ELexiconLimit("more than 65,535 headwords of length " + std::to_string(word.size()) +
                            " begin like \"" + word.substr(0, 3) + "\"");
      }
    }
  }
}

std::optional<TWordSlot> TLexiconIndex::Find(std::string_view headword) const {
  const std::string stored = Stored(headword);
  const uint32_t h = BucketOfBytes(stored);
  const auto& words = FBuckets[h];
  const auto it = std::lower_bound(words.begin(), words.end(), stored, ByLengthThenBytes);
  if (it == words.end() || *it != stored) return std::nullopt;
  return TWordSlot{h, static_cast<uint32_t>(it - words.begin())};
}

std::vector<uint8_t> TLexiconIndex::FileBytes() const {
  std::vector<uint8_t> out(kIndexBlocksOffset, 0);
  for (uint32_t h = 0; h < kBucketCount; ++h) {
    const auto& words = FBuckets[h];
    if (words.empty()) continue;
    PutU32(out, static_cast<size_t>(BucketEntryOffset(h)), static_cast<uint32_t>(out.size()));
    const size_t minLength = words.front().size();
    const size_t maxLength = words.back().size();
    const size_t block = out.size();
    out.resize(block + 2 + 2 * (maxLength - minLength + 1), 0);
    out[block] = static_cast<uint8_t>(minLength);
    out[block + 1] = static_cast<uint8_t>(maxLength);
    for (const auto& word : words) {
      const size_t countAt = block + 2 + 2 * (word.size() - minLength);
      PutU16(out, countAt, out[countAt] + (out[countAt + 1] << 8) + 1);
    }
    for (const auto& word : words) out.insert(out.end(), word.begin() + 3, word.end());
  }
  return out;
}

TLanguageFileBuilder::TLanguageFileBuilder(const TLexiconIndex& index, TSharing sharing)
    : FIndex(index), FSharing(sharing) {}

void TLanguageFileBuilder::Set(std::string_view headword, TPackedText second, TPackedText first) {
  const auto slot = FIndex.Find(headword);
  if (!slot) throw std::invalid_argument("headword not in the index: " + std::string(headword));
  const size_t at = FRecords.size();
  FRecords.resize(at + kEntryPrefixSize, 0);
  FRecords.insert(FRecords.end(), first.begin(), first.end());
  FRecords.insert(FRecords.end(), second.begin(), second.end());
  FPlaced.push_back(
      TPlaced{*slot, static_cast<uint32_t>(at), static_cast<uint32_t>(FRecords.size() - at)});
}

std::vector<uint8_t> TLanguageFileBuilder::FileBytes(TStats* stats) const {
  // The records in slot order, the last one set for a slot kept.
  std::vector<TPlaced> placed = FPlaced;
  std::stable_sort(placed.begin(), placed.end(), [](const TPlaced& a, const TPlaced& b) {
    return std::tie(a.Slot.Bucket, a.Slot.Number) < std::tie(b.Slot.Bucket, b.Slot.Number);
  });
  auto sameSlot = [](const TPlaced& a, const TPlaced& b) {
    return a.Slot.Bucket == b.Slot.Bucket && a.Slot.Number == b.Slot.Number;
  };
  size_t kept = 0;
  for (size_t i = 0; i < placed.size(); ++i) {
    if (i + 1 == placed.size() || !sameSlot(placed[i], placed[i + 1])) placed[kept++] = placed[i];
  }
  placed.resize(kept);

  // Pointer tables back to back in bucket order for the buckets this language covers,
  // then the records in the order of their first use.
  std::vector<bool> covered(kBucketCount, false);
  for (const auto& entry : placed) covered[entry.Slot.Bucket] = true;

  std::vector<uint8_t> out(kDataTablesOffset, 0);
  std::vector<uint32_t> tableOffset(kBucketCount + 1);
  uint32_t next = kDataTablesOffset;
  for (uint32_t h = 0; h <= kBucketCount; ++h) {
    tableOffset[h] = next;
    PutU32(out, static_cast<size_t>(BucketEntryOffset(h)), next);
    if (h < kBucketCount && covered[h])
      next += 4 * static_cast<uint32_t>(FIndex.BucketWords(h).size());
  }
  out.reserve(next + FRecords.size() + kMaxEntrySize);
  out.resize(next, 0);

  const std::vector<uint8_t> emptyRecord = [] {
    std::vector<uint8_t> record(kEntryPrefixSize, 0);
    record.push_back(0);
    record.push_back(0);
    return record;
  }();
  struct Stored {
    uint32_t Offset;
    uint32_t Size;
    TWordSlot FirstUser;
  };
  // Records stored so far by the hash of their bytes, which lie in out.
  std::unordered_multimap<uint64_t, Stored> stored;
  TStats counts;
  auto entry = placed.begin();
  for (uint32_t h = 0; h < kBucketCount; ++h) {
    if (!covered[h]) continue;
    const uint32_t words = static_cast<uint32_t>(FIndex.BucketWords(h).size());
    for (uint32_t j = 0; j < words; ++j) {
      const bool hasText =
          entry != placed.end() && entry->Slot.Bucket == h && entry->Slot.Number == j;
      const uint8_t* record = hasText ? FRecords.data() + entry->At : emptyRecord.data();
      const size_t size = hasText ? entry->Size : emptyRecord.size();
      if (hasText) {
        ++entry;
      } else {
        ++counts.WithoutText;
      }
      const std::string_view bytes(reinterpret_cast<const char*>(record), size);
      const uint64_t hash = HashOf(bytes);
      const Stored* known = nullptr;
      for (auto [it, end] = stored.equal_range(hash); it != end && !known; ++it) {
        const Stored& candidate = it->second;
        if (candidate.Size == size && std::memcmp(out.data() + candidate.Offset, record, size) == 0)
          known = &candidate;
      }
      const size_t slotAt = tableOffset[h] + 4 * j;
      if (!known) {
        if (out.size() > kMaxDirectOffset) throw ELexiconLimit(kLanguageFileTooBig);
        const auto offset = static_cast<uint32_t>(out.size());
        stored.emplace(hash, Stored{offset, static_cast<uint32_t>(size), TWordSlot{h, j}});
        PutU32(out, slotAt, offset);
        out.insert(out.end(), record, record + size);
        ++counts.Records;
        continue;
      }
      if (hasText) ++counts.SharedEntries;
      const TWordSlot target = known->FirstUser;
      if (FSharing == TSharing::CrossReferences && target.Bucket >= kMinCrossReferencedBucket &&
          target.Number <= kMaxCrossReferencedNumber) {
        PutU32(out, slotAt, (target.Bucket << 16) | target.Number);
      } else {
        PutU32(out, slotAt, known->Offset);
      }
    }
  }
  counts.Bytes = out.size();
  if (stats) *stats = counts;
  return out;
}

const char kLanguageFileTooBig[] = "language file exceeds the 16 MiB reachable by direct offsets";

void TLanguageFileBound::Add(std::string_view text) {
  FBytes += 4;
  // Packing goes from left to right, so a text takes at least the code words of its
  // first part; two records differ where their texts' first parts do. Equal hashes of
  // different parts only lower the bound.
  size_t end = 0;
  while (end < text.size() &&
         !((text[end] == ',' || text[end] == ';') && end + 1 < text.size() && text[end + 1] == ' '))
    ++end;
  const std::string_view first = text.substr(0, end);
  if (FBeginnings.Insert(HashOf(first))) FBytes += kEntryPrefixSize + 1 + PackText(first).size();
}

void TLanguageFileBound::Check(const std::string& file) const {
  // The last record may start at the last direct offset and reach beyond it.
  if (FBytes > uint64_t{kMaxDirectOffset} + kMaxEntrySize)
    throw ELexiconLimit(file + ": " + kLanguageFileTooBig);
}

void WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  file.close();
  if (!file) throw std::runtime_error("cannot write " + path + ": " + std::strerror(errno));
}

}  // namespace parlivo
