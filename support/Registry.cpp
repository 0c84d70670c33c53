#include "Registry.h"

#include <algorithm>
#include <vector>

namespace parlivo {

namespace {

// The root under which a call works: the caller's key, or the connection to another
// computer's registry that the call opened. The caller's key is the caller's to close.
class TRoot {
 public:
  TRoot(const String16& machineName, HKEY rootKey) {
    if (machineName.empty()) {
      FKey = rootKey;
    } else {
      FStatus = RegConnectRegistryW(machineName.c_str(), rootKey, &FKey);
      FOwned = FStatus == ERROR_SUCCESS;
      if (!FOwned) FKey = nullptr;
    }
  }
  ~TRoot() {
    if (FOwned) RegCloseKey(FKey);
  }
  TRoot(const TRoot&) = delete;
  TRoot& operator=(const TRoot&) = delete;

  HKEY Key() const { return FKey; }
  LSTATUS Status() const { return FStatus; }

 private:
  HKEY FKey = nullptr;
  LSTATUS FStatus = ERROR_SUCCESS;
  bool FOwned = false;
};

class TKey {
 public:
  TKey() = default;
  ~TKey() {
    if (FKey) RegCloseKey(FKey);
  }
  TKey(const TKey&) = delete;
  TKey& operator=(const TKey&) = delete;
  HKEY* Out() { return &FKey; }
  HKEY Get() const { return FKey; }

 private:
  HKEY FKey = nullptr;
};

}  // namespace

uint32_t RegWriteString(const String16& MachineName, HKEY RootKey, uint32_t Access,
                        const String16& SubKey, const String16& ValueName, const String16& Value) {
  // The key handle is declared after the root so that it is closed first.
  const TRoot root(MachineName, RootKey);
  if (root.Status() != ERROR_SUCCESS) return static_cast<uint32_t>(root.Status());
  TKey key;
  const REGSAM rights = KEY_WRITE | Access;
  LSTATUS status = RegOpenKeyExW(root.Key(), SubKey.c_str(), 0, rights, key.Out());
  if (status != ERROR_SUCCESS) {
    *key.Out() = nullptr;
    status = RegCreateKeyExW(root.Key(), SubKey.c_str(), 0, nullptr, 0, rights, nullptr, key.Out(),
                             nullptr);
    if (status != ERROR_SUCCESS) {
      *key.Out() = nullptr;
      return static_cast<uint32_t>(status);
    }
  }
  // Windows counts a NUL that follows string data into the value when the count
  // leaves it out; a non-NUL unit after the characters keeps the count exact.
  std::vector<wchar_t> data(Value.begin(), Value.end());
  data.push_back(L'\xFFFF');
  status = RegSetValueExW(key.Get(), ValueName.c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(data.data()),
                          static_cast<DWORD>(Value.size() * sizeof(wchar_t)));
  return static_cast<uint32_t>(status);
}

String16 RegReadString(const String16& MachineName, HKEY RootKey, uint32_t Access,
                       const String16& SubKey, const String16& ValueName, const String16& Default) {
  const TRoot root(MachineName, RootKey);
  if (root.Status() != ERROR_SUCCESS) return Default;
  TKey key;
  if (RegOpenKeyExW(root.Key(), SubKey.c_str(), 0, KEY_READ | Access, key.Out()) != ERROR_SUCCESS) {
    *key.Out() = nullptr;
    return Default;
  }
  DWORD size = 0;
  if (RegQueryValueExW(key.Get(), ValueName.c_str(), nullptr, nullptr, nullptr, &size) !=
      ERROR_SUCCESS) {
    return Default;
  }
  std::vector<BYTE> data(size, 0);
  if (RegQueryValueExW(key.Get(), ValueName.c_str(), nullptr, nullptr, data.data(), &size) !=
      ERROR_SUCCESS) {
    return Default;
  }
  const size_t limit = std::min<size_t>(size, data.size());
  String16 text;
  for (size_t i = 0; i + 1 < limit; i += 2) {
    const wchar_t unit = static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
    if (unit == L'\0') break;
    text.push_back(unit);
  }
  return text;
}

}  // namespace parlivo
