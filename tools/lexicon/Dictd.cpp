#include "Dictd.h"

#include <zlib.h>

#include <cstdint>
#include <fstream>
#include <set>
#include <sstream>
#include <stdexcept>

namespace parlivo {

namespace {

bool Exists(const std::string& path) {
  return std::ifstream(path).good();
}

std::string ReadData(const std::string& basePath) {
  // gzread reads plain files as they are, so one path serves both forms.
  const std::string path = Exists(basePath + ".dict") ? basePath + ".dict" : basePath + ".dict.dz";
  gzFile file = gzopen(path.c_str(), "rb");
  if (!file) throw std::runtime_error("cannot open " + path);
  std::string data;
  char buffer[1 << 16];
  int got;
  while ((got = gzread(file, buffer, sizeof buffer)) > 0)
    data.append(buffer, static_cast<size_t>(got));
  int error = Z_OK;
  const char* message = got < 0 ? gzerror(file, &error) : nullptr;
  const std::string reason = message ? message : "";
  gzclose(file);
  if (got < 0) throw std::runtime_error("cannot read " + path + ": " + reason);
  return data;
}

}  // namespace

uint64_t DictdNumber(std::string_view digits) {
  static constexpr std::string_view kDigits =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  if (digits.empty() || digits.size() > 10)
    throw std::runtime_error("bad number \"" + std::string(digits) + "\"");
  uint64_t value = 0;
  for (char ch : digits) {
    const size_t digit = kDigits.find(ch);
    if (digit == std::string_view::npos)
      throw std::runtime_error("bad number \"" + std::string(digits) + "\"");
    value = value * 64 + digit;
  }
  return value;
}

std::vector<TDictdEntry> ReadDictd(const std::string& basePath,
                                   const std::function<void(size_t)>& progress) {
  const std::string indexPath = basePath + ".index";
  std::ifstream index(indexPath);
  if (!index) throw std::runtime_error("cannot open " + indexPath);
  const std::string data = ReadData(basePath);

  std::vector<TDictdEntry> entries;
  std::set<std::pair<uint64_t, uint64_t>> seen;  // an entry indexed under several keys
  std::string line;
  size_t lineNumber = 0;
  while (std::getline(index, line)) {
    ++lineNumber;
    if (progress && lineNumber % 50000 == 0) progress(lineNumber);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    const size_t tab1 = line.find('\t');
    const size_t tab2 = tab1 == std::string::npos ? tab1 : line.find('\t', tab1 + 1);
    if (tab2 == std::string::npos) {
      throw std::runtime_error(indexPath + ":" + std::to_string(lineNumber) +
                               ": expected three tab-separated fields");
    }
    std::string key = line.substr(0, tab1);
    if (key.rfind("00database", 0) == 0 || key.rfind("00-database", 0) == 0) continue;
    uint64_t offset, length;
    try {
      offset = DictdNumber(std::string_view(line).substr(tab1 + 1, tab2 - tab1 - 1));
      const size_t tab3 = line.find('\t', tab2 + 1);
      length = DictdNumber(std::string_view(line).substr(
          tab2 + 1, tab3 == std::string::npos ? tab3 : tab3 - tab2 - 1));
    } catch (const std::runtime_error& error) {
      throw std::runtime_error(indexPath + ":" + std::to_string(lineNumber) + ": " + error.what());
    }
    if (offset > data.size() || length > data.size() - offset) {
      throw std::runtime_error(indexPath + ":" + std::to_string(lineNumber) +
                               ": entry lies outside the data");
    }
    if (!seen.insert({offset, length}).second) continue;
    entries.push_back({std::move(key), data.substr(offset, length)});
  }
  if (progress) progress(lineNumber);
  return entries;
}

}  // namespace parlivo
