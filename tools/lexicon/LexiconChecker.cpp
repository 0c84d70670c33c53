#include "LexiconChecker.h"

#include <array>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>

#include "FileStream.h"
#include "Translator.h"

namespace parlivo {

namespace {

struct TFile {
  std::string Name;  // as reported
  std::vector<uint8_t> Bytes;
  uint32_t U32(uint64_t at) const { return LoadU32(&Bytes[at]); }
  bool Holds(uint64_t at, uint64_t count) const {
    return at <= Bytes.size() && count <= Bytes.size() - at;
  }
};

TFile Load(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return {std::filesystem::path(path).filename().string() + " (cannot be read)", {}};
  return {std::filesystem::path(path).filename().string(),
          std::vector<uint8_t>(std::istreambuf_iterator<char>(file), {})};
}

// "bucket 11273 (mip)": letter codes as letters, backslash as '\', code 0 as '.'.
std::string BucketName(uint32_t bucket) {
  std::string letters;
  for (uint32_t divisor : {784u, 28u, 1u}) {
    const uint32_t code = bucket / divisor % 28;
    letters.push_back(code == 0 ? '.' : code == 1 ? '\\' : static_cast<char>('a' + code - 2));
  }
  return "bucket " + std::to_string(bucket) + " (" + letters + ")";
}

struct TWordBlock {
  uint32_t Words = 0;
  bool Valid = false;
};

class TChecker {
 public:
  explicit TChecker(size_t maxReported) : FMaxReported(maxReported) {}

  void Problem(const std::string& text) {
    if (FReport.Problems.size() < FMaxReported) FReport.Problems.push_back(text);
    ++FReport.ProblemCount;
  }

  // The word block of bucket h: lengths, counts and tails inside the file.
  TWordBlock CheckBlock(const TFile& index, uint32_t h) {
    const uint32_t at = index.U32(kBucketTableOffset + 4ull * h);
    const std::string where =
        index.Name + ": " + BucketName(h) + ": word block at offset " + std::to_string(at);
    if (!index.Holds(at, 2)) {
      Problem(where + " lies outside the file");
      return {};
    }
    const uint32_t minLength = index.Bytes[at];
    const uint32_t maxLength = index.Bytes[at + 1];
    if (minLength < 3)
      Problem(where + ": minimum length " + std::to_string(minLength) + " is below 3");
    if (maxLength < minLength) {
      Problem(where + ": maximum length " + std::to_string(maxLength) + " is below the minimum");
      return {};
    }
    const uint64_t counts = at + 2;
    if (!index.Holds(counts, 2ull * (maxLength - minLength + 1))) {
      Problem(where + ": length counts run past the end of the file");
      return {};
    }
    TWordBlock block;
    uint64_t tails = 0;
    for (uint32_t length = minLength; length <= maxLength; ++length) {
      const uint32_t count = LoadU16(&index.Bytes[counts + 2ull * (length - minLength)]);
      block.Words += count;
      if (length >= 3) tails += uint64_t{length - 3} * count;
    }
    if (!index.Holds(counts + 2ull * (maxLength - minLength + 1), tails)) {
      Problem(where + ": tails run past the end of the file");
      return {};
    }
    block.Valid = minLength >= 3;
    return block;
  }

  void CheckRecord(const TFile& language, uint32_t offset, const std::string& where) {
    if (!FCheckedRecords.insert(offset).second) return;
    if (!language.Holds(offset, kEntryPrefixSize + 2)) {
      Problem(where + ": entry record at offset " + std::to_string(offset) +
              " lies outside the file");
      return;
    }
    std::array<uint8_t, kMaxEntrySize> record{};
    const size_t available = std::min(record.size(), language.Bytes.size() - offset);
    std::memcpy(record.data(), &language.Bytes[offset], available);
    size_t used = kEntryPrefixSize;
    used += TTranslator::PackedTextSize(record.data() + used);
    used += TTranslator::PackedTextSize(record.data() + used);
    if (used > available) {
      Problem(where + ": entry record at offset " + std::to_string(offset) +
              " is cut by the end of the file");
    }
  }

  void CheckLanguage(const TFile& language, const std::vector<TWordBlock>& blocks) {
    FCheckedRecords.clear();
    if (language.Bytes.size() < kDataTablesOffset) {
      Problem(language.Name + ": " + std::to_string(language.Bytes.size()) +
              " bytes, shorter than its bucket table of " + std::to_string(kDataTablesOffset) +
              " bytes");
      return;
    }
    auto hasTable = [&](uint32_t h) {
      return language.U32(kBucketTableOffset + 4ull * h) !=
             language.U32(kBucketTableOffset + 4ull * (h + 1));
    };
    for (uint32_t h = 0; h < kBucketCount; ++h) {
      if (!hasTable(h)) continue;
      const std::string where = language.Name + ": " + BucketName(h);
      if (!blocks[h].Valid) {
        Problem(where + ": has a pointer table but the index has no valid word block for it");
        continue;
      }
      const uint32_t table = language.U32(kBucketTableOffset + 4ull * h);
      if (!language.Holds(table, 4ull * blocks[h].Words)) {
        Problem(where + ": pointer table at offset " + std::to_string(table) +
                " runs past the end of the file");
        continue;
      }
      for (uint32_t j = 0; j < blocks[h].Words; ++j) {
        const std::string word = where + ": word " + std::to_string(j);
        const uint32_t p = language.U32(table + 4ull * j);
        if (p <= kMaxDirectOffset) {
          CheckRecord(language, p, word);
          continue;
        }
        const uint32_t bucket = p >> 16;
        const uint32_t number = p & 0xFFFF;
        const std::string target =
            "cross-reference to " + BucketName(bucket) + " word " + std::to_string(number);
        if (bucket >= kBucketCount || !hasTable(bucket)) {
          Problem(word + ": " + target + ", which has no pointer table");
        } else if (!blocks[bucket].Valid || number >= blocks[bucket].Words) {
          Problem(word + ": " + target + ", which does not exist");
        } else {
          const uint32_t slot =
              language.U32(language.U32(kBucketTableOffset + 4ull * bucket) + 4ull * number);
          if (slot > kMaxDirectOffset) {
            Problem(word + ": " + target + ", which is a cross-reference itself");
          } else {
            CheckRecord(language, slot, word);
          }
        }
      }
    }
  }

  TCheckReport Finish() { return std::move(FReport); }

 private:
  size_t FMaxReported;
  TCheckReport FReport;
  std::set<uint32_t> FCheckedRecords;
};

}  // namespace

TCheckReport CheckLexicon(const std::string& indexPath,
                          const std::vector<std::string>& languagePaths, size_t maxReported) {
  TChecker checker(maxReported);
  const TFile index = Load(indexPath);
  if (index.Bytes.size() < kIndexBlocksOffset) {
    checker.Problem(index.Name + ": " + std::to_string(index.Bytes.size()) +
                    " bytes, shorter than its bucket table of " +
                    std::to_string(kIndexBlocksOffset) + " bytes");
    return checker.Finish();
  }
  std::vector<TFile> languages;
  for (const auto& path : languagePaths) languages.push_back(Load(path));

  // Blocks are checked where a language uses them; with no language, wherever the
  // bucket table points somewhere.
  std::vector<bool> used(kBucketCount, languages.empty());
  for (const auto& language : languages) {
    if (language.Bytes.size() < kDataTablesOffset) continue;
    for (uint32_t h = 0; h < kBucketCount; ++h) {
      used[h] = used[h] || language.U32(kBucketTableOffset + 4ull * h) !=
                               language.U32(kBucketTableOffset + 4ull * (h + 1));
    }
  }
  std::vector<TWordBlock> blocks(kBucketCount);
  for (uint32_t h = 0; h < kBucketCount; ++h) {
    if (used[h] && (!languages.empty() || index.U32(kBucketTableOffset + 4ull * h) != 0)) {
      blocks[h] = checker.CheckBlock(index, h);
    }
  }
  for (const auto& language : languages) checker.CheckLanguage(language, blocks);
  return checker.Finish();
}

}  // namespace parlivo
