#include "LexiconChecker.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <memory>
#include <set>

#include "Errors.h"
#include "FileStream.h"
#include "Languages.h"
#include "Translator.h"

namespace parlivo {

namespace {

// A lexicon file read through the engine's file layer, a piece at a time, so that a
// file of any size or kind costs no more memory than the parts that are checked. Its
// bucket table is read once: every check asks for it.
class TFile {
 public:
  TFile(const std::string& path, uint32_t tableEntries) {
    Name = std::filesystem::path(path).filename().string();
    try {
      FStream = TFileStream::OpenRead(FromUtf8(path));
    } catch (const EFOpenError& error) {
      OpenError = error.what();
      return;
    }
    FTable.resize(tableEntries);
    std::vector<uint8_t> bytes(4ull * tableEntries);
    Read(kBucketTableOffset, bytes.data(), bytes.size());
    for (uint32_t h = 0; h < tableEntries; ++h) FTable[h] = LoadU32(&bytes[4ull * h]);
  }

  std::string Name;       // as reported
  std::string OpenError;  // empty when the file is open

  uint64_t Size() const { return FStream ? FStream->Size() : 0; }
  bool Holds(uint64_t at, uint64_t count) const { return at <= Size() && count <= Size() - at; }
  // Bytes outside the file read as zero.
  void Read(uint64_t at, void* buffer, size_t count) const {
    FStream->Seek(at);
    FStream->Read(buffer, count);
  }
  uint8_t U8(uint64_t at) const {
    FStream->Seek(at);
    return FStream->ReadU8();
  }
  uint32_t U32(uint64_t at) const { return FStream->U32At(at); }
  uint32_t TableEntry(uint32_t h) const { return FTable[h]; }
  // Whether the language file has a pointer table for bucket h (h < kBucketCount).
  bool HasTable(uint32_t h) const { return FTable[h] != FTable[h + 1]; }

 private:
  std::unique_ptr<TFileStream> FStream;
  std::vector<uint32_t> FTable;
};

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
    const uint32_t at = index.TableEntry(h);
    const std::string where =
        index.Name + ": " + BucketName(h) + ": word block at offset " + std::to_string(at);
    if (!index.Holds(at, 2)) {
      Problem(where + " lies outside the file");
      return {};
    }
    const uint32_t minLength = index.U8(at);
    const uint32_t maxLength = index.U8(at + 1);
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
    std::array<uint8_t, 2 * 256> countBytes;
    index.Read(counts, countBytes.data(), 2ull * (maxLength - minLength + 1));
    for (uint32_t length = minLength; length <= maxLength; ++length) {
      const uint32_t count = LoadU16(&countBytes[2ull * (length - minLength)]);
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
    const size_t available =
        static_cast<size_t>(std::min<uint64_t>(record.size(), language.Size() - offset));
    language.Read(offset, record.data(), record.size());
    size_t used = kEntryPrefixSize;
    used += TTranslator::PackedTextSize(record.data() + used);
    used += TTranslator::PackedTextSize(record.data() + used);
    if (used > available) {
      Problem(where + ": entry record at offset " + std::to_string(offset) +
              " is cut by the end of the file");
    }
  }

  // Whether the file could be opened and holds its whole bucket table; says why not.
  bool CheckOpened(const TFile& file, uint64_t tableEnd) {
    if (!file.OpenError.empty()) {
      Problem(file.Name + ": " + file.OpenError);
      return false;
    }
    if (file.Size() < tableEnd) {
      Problem(file.Name + ": " + std::to_string(file.Size()) +
              " bytes, shorter than its bucket table of " + std::to_string(tableEnd) + " bytes");
      return false;
    }
    return true;
  }

  void CheckLanguage(const TFile& language, const std::vector<TWordBlock>& blocks) {
    FCheckedRecords.clear();
    if (!CheckOpened(language, kDataTablesOffset)) return;
    std::vector<uint8_t> slots;
    for (uint32_t h = 0; h < kBucketCount; ++h) {
      if (!language.HasTable(h)) continue;
      const std::string where = language.Name + ": " + BucketName(h);
      if (!blocks[h].Valid) {
        Problem(where + ": has a pointer table but the index has no valid word block for it");
        continue;
      }
      const uint32_t table = language.TableEntry(h);
      if (!language.Holds(table, 4ull * blocks[h].Words)) {
        Problem(where + ": pointer table at offset " + std::to_string(table) +
                " runs past the end of the file");
        continue;
      }
      slots.resize(4ull * blocks[h].Words);
      language.Read(table, slots.data(), slots.size());
      for (uint32_t j = 0; j < blocks[h].Words; ++j) {
        const std::string word = where + ": word " + std::to_string(j);
        const uint32_t p = LoadU32(&slots[4ull * j]);
        if (p <= kMaxDirectOffset) {
          CheckRecord(language, p, word);
          continue;
        }
        const uint32_t bucket = p >> 16;
        const uint32_t number = p & 0xFFFF;
        const std::string target =
            "cross-reference to " + BucketName(bucket) + " word " + std::to_string(number);
        const uint64_t slotAt =
            bucket < kBucketCount ? uint64_t{language.TableEntry(bucket)} + 4ull * number : 0;
        if (bucket >= kBucketCount || !language.HasTable(bucket)) {
          Problem(word + ": " + target + ", which has no pointer table");
        } else if (!blocks[bucket].Valid || number >= blocks[bucket].Words) {
          Problem(word + ": " + target + ", which does not exist");
        } else if (!language.Holds(slotAt, 4)) {
          Problem(word + ": " + target + ", whose slot lies outside the file");
        } else {
          const uint32_t slot = language.U32(slotAt);
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

// Whether anything stands under the name: a folder, a FIFO or a broken link is to be
// reported, not passed over.
bool Stands(const std::filesystem::path& path) {
  std::error_code error;
  return std::filesystem::symlink_status(path, error).type() !=
         std::filesystem::file_type::not_found;
}

// The problems of one more check added to a report, which keeps the first ones found.
void Add(TCheckReport& report, const TCheckReport& more, size_t maxReported) {
  for (const auto& problem : more.Problems) {
    if (report.Problems.size() < maxReported) report.Problems.push_back(problem);
  }
  report.ProblemCount += more.ProblemCount;
}

}  // namespace

TCheckReport CheckLexicon(const std::string& indexPath,
                          const std::vector<std::string>& languagePaths, size_t maxReported) {
  TChecker checker(maxReported);
  const TFile index(indexPath, kBucketCount);
  if (!checker.CheckOpened(index, kIndexBlocksOffset)) return checker.Finish();
  std::vector<TFile> languages;
  for (const auto& path : languagePaths) languages.emplace_back(path, kBucketCount + 1);

  // Blocks are checked where a language uses them; with no language, wherever the
  // bucket table points somewhere.
  std::vector<bool> used(kBucketCount, languages.empty());
  for (const auto& language : languages) {
    if (!language.OpenError.empty() || language.Size() < kDataTablesOffset) continue;
    for (uint32_t h = 0; h < kBucketCount; ++h) used[h] = used[h] || language.HasTable(h);
  }
  std::vector<TWordBlock> blocks(kBucketCount);
  for (uint32_t h = 0; h < kBucketCount; ++h) {
    if (used[h] && (!languages.empty() || index.TableEntry(h) != 0)) {
      blocks[h] = checker.CheckBlock(index, h);
    }
  }
  for (const auto& language : languages) checker.CheckLanguage(language, blocks);
  return checker.Finish();
}

TFolderCheck CheckLexiconFolder(const std::filesystem::path& folder, size_t maxReported) {
  auto file = [&](StringView16 name) { return folder / ToUtf8(name); };
  TFolderCheck check;
  std::vector<std::string> languages;
  for (const TLanguage& language : Languages) {
    if (Stands(file(language.FileName))) languages.push_back(file(language.FileName).string());
  }
  check.LanguageFiles = languages.size();
  TCheckReport reverse;
  for (const TLanguage& language : Languages) {
    if (!HasReverse(language)) continue;
    const auto index = file(language.ReverseIndexFileName);
    const auto data = file(language.ReverseFileName);
    if (!Stands(index) && !Stands(data)) continue;
    ++check.ReverseSets;
    Add(reverse, CheckLexicon(index.string(), {data.string()}, maxReported), maxReported);
  }
  // A folder of the other direction alone needs no Index.plv.
  if (Stands(file(IndexFileName)) || !languages.empty() || check.ReverseSets == 0)
    check.Report = CheckLexicon(file(IndexFileName).string(), languages, maxReported);
  Add(check.Report, reverse, maxReported);
  return check;
}

}  // namespace parlivo
