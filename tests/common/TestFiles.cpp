#include "TestFiles.h"

#include <atomic>
#include <chrono>
#include <fstream>
#include <stdexcept>
#include <system_error>

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#endif

namespace parlivo::test {

TTempDir::TTempDir() {
  static std::atomic<unsigned> counter{0};
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  for (int attempt = 0; attempt < 100; ++attempt) {
    auto candidate = std::filesystem::temp_directory_path() /
                     ("parlivo-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
    if (std::filesystem::create_directory(candidate)) {
      FPath = candidate;
      return;
    }
  }
  throw std::runtime_error("cannot create a temporary folder");
}

TTempDir::~TTempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(FPath, ignored);
}

String16 ToText(const std::filesystem::path& path) {
#ifdef _WIN32
  return path.wstring();
#else
  return FromUtf8(path.string());
#endif
}

#ifdef _WIN32
String16 SystemText(unsigned long code) {
  wchar_t text[512];
  const DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                      nullptr, code, 0, text, 512, nullptr);
  return String16(text, length);
}
#endif

void WriteBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  if (!file) throw std::runtime_error("cannot write " + path.string());
}

}  // namespace parlivo::test

#include "Search.h"
#include "Translator.h"

namespace parlivo::test {

TLookup Lookup(TTranslator& translator, std::string_view query) {
  TLookup result{translator.Translate(FromUtf8(query)), {}};
  const auto& words = translator.Words();
  EXPECT_EQ(words.size(), translator.Translations().size());
  for (size_t i = 0; i < words.size(); ++i) {
    result.Rows.push_back(ToUtf8(ResultRow(words[i], translator.Translations()[i])));
  }
  return result;
}

}  // namespace parlivo::test
