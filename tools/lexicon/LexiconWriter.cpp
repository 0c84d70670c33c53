#include "LexiconWriter.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
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
  std::sort(headwords.begin(), headwords.end(), [](const std::string& a, const std::string& b) {
    return a.size() != b.size() ? a.size() < b.size() : a < b;
  });
  headwords.erase(std::unique(headwords.begin(), headwords.end()), headwords.end());
  for (auto& word : headwords) {
    const uint32_t h = BucketOfBytes(word);
    auto& bucket = FBuckets[h];
    FSlots.emplace(word, TWordSlot{h, static_cast<uint32_t>(bucket.size())});
    bucket.push_back(std::move(word));
  }
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
  const auto it = FSlots.find(Stored(headword));
  if (it == FSlots.end()) return std::nullopt;
  return it->second;
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
  std::vector<uint8_t> record(kEntryPrefixSize, 0);
  record.insert(record.end(), first.begin(), first.end());
  record.insert(record.end(), second.begin(), second.end());
  FEntries[{slot->Bucket, slot->Number}] = std::move(record);
}

std::vector<uint8_t> TLanguageFileBuilder::FileBytes(TStats* stats) const {
  // Pointer tables back to back in bucket order for the buckets this language covers,
  // then the records in the order of their first use.
  std::vector<bool> covered(kBucketCount, false);
  for (const auto& [slot, record] : FEntries) covered[slot.first] = true;

  std::vector<uint8_t> out(kDataTablesOffset, 0);
  std::vector<uint32_t> tableOffset(kBucketCount + 1);
  uint32_t next = kDataTablesOffset;
  for (uint32_t h = 0; h <= kBucketCount; ++h) {
    tableOffset[h] = next;
    PutU32(out, static_cast<size_t>(BucketEntryOffset(h)), next);
    if (h < kBucketCount && covered[h])
      next += 4 * static_cast<uint32_t>(FIndex.BucketWords(h).size());
  }
  out.resize(next, 0);

  const std::vector<uint8_t> emptyRecord = [] {
    std::vector<uint8_t> record(kEntryPrefixSize, 0);
    record.push_back(0);
    record.push_back(0);
    return record;
  }();
  struct Stored {
    uint32_t Offset;
    TWordSlot FirstUser;
  };
  std::unordered_map<std::string, Stored> stored;  // record bytes -> where it went
  TStats counts;
  for (uint32_t h = 0; h < kBucketCount; ++h) {
    if (!covered[h]) continue;
    const uint32_t words = static_cast<uint32_t>(FIndex.BucketWords(h).size());
    for (uint32_t j = 0; j < words; ++j) {
      const auto entry = FEntries.find({h, j});
      const auto& record = entry == FEntries.end() ? emptyRecord : entry->second;
      if (entry == FEntries.end()) ++counts.WithoutText;
      const size_t slotAt = tableOffset[h] + 4 * j;
      std::string key(record.begin(), record.end());
      const auto known = stored.find(key);
      if (known == stored.end()) {
        if (out.size() > kMaxDirectOffset) {
          throw ELexiconLimit("language file exceeds the 16 MiB reachable by direct offsets");
        }
        stored.emplace(std::move(key), Stored{static_cast<uint32_t>(out.size()), TWordSlot{h, j}});
        PutU32(out, slotAt, static_cast<uint32_t>(out.size()));
        out.insert(out.end(), record.begin(), record.end());
        ++counts.Records;
        continue;
      }
      if (entry != FEntries.end()) ++counts.SharedEntries;
      const TWordSlot target = known->second.FirstUser;
      if (FSharing == TSharing::CrossReferences && target.Bucket >= kMinCrossReferencedBucket &&
          target.Number <= kMaxCrossReferencedNumber) {
        PutU32(out, slotAt, (target.Bucket << 16) | target.Number);
      } else {
        PutU32(out, slotAt, known->second.Offset);
      }
    }
  }
  counts.Bytes = out.size();
  if (stats) *stats = counts;
  return out;
}

void WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  file.close();
  if (!file) throw std::runtime_error("cannot write " + path + ": " + std::strerror(errno));
}

}  // namespace parlivo
