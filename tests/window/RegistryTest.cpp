// The registry helpers against Wine's real registry.
#include <gtest/gtest.h>

#include "Registry.h"

namespace parlivo::test {
namespace {

constexpr wchar_t kKey[] = L"Software\\ParlivoTests\\Registry";

class Registry : public ::testing::Test {
 protected:
  void SetUp() override { RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\ParlivoTests"); }
  void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\ParlivoTests"); }
  // The raw value: its type and data.
  std::pair<DWORD, std::vector<BYTE>> Raw(const wchar_t* name) {
    DWORD type = 0, size = 0;
    RegGetValueW(HKEY_CURRENT_USER, kKey, name, RRF_RT_ANY | RRF_NOEXPAND, &type, nullptr, &size);
    std::vector<BYTE> data(size);
    RegGetValueW(HKEY_CURRENT_USER, kKey, name, RRF_RT_ANY | RRF_NOEXPAND, &type, data.data(),
                 &size);
    data.resize(size);
    return {type, data};
  }
  bool KeyExists() {
    HKEY key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
  }
};

TEST_F(Registry, WritesWithoutTerminatingNulAndCreatesTheKey) {
  ASSERT_FALSE(KeyExists());
  EXPECT_EQ(RegWriteString(L"", HKEY_CURRENT_USER, 0, kKey, L"Language", L"German"), 0u);
  const auto [type, data] = Raw(L"Language");
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(data.size(), 12u);
  EXPECT_EQ(RegReadString(L"", HKEY_CURRENT_USER, 0, kKey, L"Language", L"none"), L"German");

  EXPECT_EQ(RegWriteString(L"", HKEY_CURRENT_USER, 0, kKey, L"Language", L""), 0u);
  EXPECT_EQ(Raw(L"Language").second.size(), 0u);
  EXPECT_EQ(RegReadString(L"", HKEY_CURRENT_USER, 0, kKey, L"Language", L"none"), L"");
}

TEST_F(Registry, ReadsOtherToolsValuesUpToTheirNul) {
  RegWriteString(L"", HKEY_CURRENT_USER, 0, kKey, L"x", L"");
  HKEY key;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, kKey, 0, KEY_WRITE, &key), ERROR_SUCCESS);
  const wchar_t german[] = L"German";  // with its NUL: 14 bytes
  RegSetValueExW(key, L"WithNul", 0, REG_SZ, reinterpret_cast<const BYTE*>(german), sizeof german);
  const DWORD one = 1;
  RegSetValueExW(key, L"Number", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), sizeof one);
  RegCloseKey(key);
  EXPECT_EQ(Raw(L"WithNul").second.size(), 14u);
  EXPECT_EQ(RegReadString(L"", HKEY_CURRENT_USER, 0, kKey, L"WithNul", L"none"), L"German");
  EXPECT_EQ(RegReadString(L"", HKEY_CURRENT_USER, 0, kKey, L"Number", L"none"),
            String16(1, L'\x0001'));
  EXPECT_EQ(RegReadString(L"", HKEY_CURRENT_USER, 0, kKey, L"Missing", L"none"), L"none");
}

TEST_F(Registry, MissingKeyReadsTheDefaultAndCreatesNothing) {
  EXPECT_EQ(RegReadString(L"", HKEY_CURRENT_USER, 0, kKey, L"Language", L"dflt"), L"dflt");
  EXPECT_FALSE(KeyExists());
}

TEST_F(Registry, TheCallersRootKeyStaysOpen) {
  HKEY root;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\ParlivoTests", 0, nullptr, 0,
                            KEY_ALL_ACCESS, nullptr, &root, nullptr),
            ERROR_SUCCESS);
  EXPECT_EQ(RegWriteString(L"", root, 0, L"Registry", L"Language", L"Dutch"), 0u);
  EXPECT_EQ(RegReadString(L"", root, 0, L"Registry", L"Language", L""), L"Dutch");
  // Still usable: neither call closed it.
  DWORD subKeys = 0;
  EXPECT_EQ(RegQueryInfoKeyW(root, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, nullptr,
                             nullptr, nullptr, nullptr, nullptr),
            ERROR_SUCCESS);
  EXPECT_EQ(subKeys, 1u);
  RegCloseKey(root);
}

TEST_F(Registry, AKeyThatCannotBeMadeStoresNothing) {
  RegWriteString(L"", HKEY_CURRENT_USER, 0, kKey, L"Language", L"German");
  // Key names are at most 255 characters long.
  const String16 tooLong = String16(kKey) + L"\\" + String16(300, L'k');
  EXPECT_NE(RegWriteString(L"", HKEY_CURRENT_USER, 0, tooLong, L"Language", L"French"), 0u);
  EXPECT_EQ(RegReadString(L"", HKEY_CURRENT_USER, 0, tooLong, L"Language", L"dflt"), L"dflt");
  EXPECT_EQ(RegReadString(L"", HKEY_CURRENT_USER, 0, kKey, L"Language", L""), L"German");
  // A remote registry that cannot be reached reads as the default.
  EXPECT_EQ(RegReadString(L"\\\\no-such-host", HKEY_CURRENT_USER, 0, kKey, L"Language", L"dflt"),
            L"dflt");
}

}  // namespace
}  // namespace parlivo::test
