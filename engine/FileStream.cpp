// The platform-neutral half of the file layer.
#include <cstring>

#include "Errors.h"
#include "FileStream.h"

namespace parlivo {

String16 OpenErrorMessage(StringView16 path, StringView16 systemReason) {
  while (!systemReason.empty() &&
         (systemReason.back() <= Char16{' '} || systemReason.back() == Char16{'.'})) {
    systemReason.remove_suffix(1);
  }
  String16 message = PLV_TEXT("Cannot open file \"");
  message.append(path);
  message.append(PLV_TEXT("\". "));
  message.append(systemReason);
  return message;
}

size_t TFileStream::Read(void* buffer, size_t count) noexcept {
  size_t delivered = 0;
  if (FPosition < FSize) {
    const uint64_t available = FSize - FPosition;
    delivered =
        ReadAt(FPosition, buffer, count < available ? count : static_cast<size_t>(available));
  }
  if (delivered < count)
    std::memset(static_cast<uint8_t*>(buffer) + delivered, 0, count - delivered);
  FPosition += count;
  return delivered;
}

uint8_t TFileStream::ReadU8() noexcept {
  uint8_t value;
  Read(&value, 1);
  return value;
}

uint16_t TFileStream::ReadU16() noexcept {
  uint8_t bytes[2];
  Read(bytes, sizeof bytes);
  return LoadU16(bytes);
}

uint32_t TFileStream::ReadU32() noexcept {
  uint8_t bytes[4];
  Read(bytes, sizeof bytes);
  return LoadU32(bytes);
}

}  // namespace parlivo
