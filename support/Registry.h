// One string value in the registry, stored or fetched in a single call. Nothing is
// raised and nothing is shown: a read that fails gives the default.
#pragma once

#include <windows.h>

#include <cstdint>

#include "Text.h"

namespace parlivo {

// Stores Value as REG_SZ without a terminating NUL (twice its length in bytes),
// creating the key when it cannot be opened. MachineName empty: the local registry.
// Returns 0, or the error code of the step that failed.
uint32_t RegWriteString(const String16& MachineName, HKEY RootKey, uint32_t Access,
                        const String16& SubKey, const String16& ValueName, const String16& Value);

// The value's data as UTF-16 up to the first NUL or the end of the data, whatever its
// type; Default when the key or value cannot be read. Never creates the key.
String16 RegReadString(const String16& MachineName, HKEY RootKey, uint32_t Access,
                       const String16& SubKey, const String16& ValueName, const String16& Default);

}  // namespace parlivo
