// Dictionaries in the dictd format: NAME.index (headword, offset and length in base64,
// tab-separated) over NAME.dict or its gzip-compatible NAME.dict.dz.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace parlivo {

struct TDictdEntry {
  std::string Key;   // the index's headword, UTF-8
  std::string Text;  // the entry as stored, UTF-8
};

// Each stored entry once, in the index's order, without the dictionary's own
// 00-database entries. Throws std::runtime_error with the file's name on failure.
// progress, when set, is told how many index lines have been read so far.
std::vector<TDictdEntry> ReadDictd(const std::string& basePath,
                                   const std::function<void(size_t)>& progress = {});

// The value of a dictd base64 number ("BAK3S"); throws std::runtime_error.
uint64_t DictdNumber(std::string_view digits);

}  // namespace parlivo
