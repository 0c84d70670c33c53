// Scratch folders and byte helpers for tests.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "Hex.h"
#include "Text.h"

namespace parlivo::test {

// A fresh folder that is removed with everything in it when the object goes.
class TTempDir {
 public:
  TTempDir();
  ~TTempDir();
  TTempDir(const TTempDir&) = delete;
  TTempDir& operator=(const TTempDir&) = delete;

  const std::filesystem::path& Path() const { return FPath; }
  std::filesystem::path operator/(std::string_view name) const { return FPath / name; }

 private:
  std::filesystem::path FPath;
};

String16 ToText(const std::filesystem::path& path);

#ifdef _WIN32
// The system's own description of an error code, as it words it.
String16 SystemText(unsigned long code);
#endif

void WriteBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes);

}  // namespace parlivo::test

namespace parlivo {
class TTranslator;
}

namespace parlivo::test {

// One lookup's result code and its pairs as "headword=text" in UTF-8.
struct TLookup {
  int Code;
  std::vector<std::string> Rows;
};
TLookup Lookup(TTranslator& translator, std::string_view query);

}  // namespace parlivo::test
