// The platform-neutral half of the file layer.
#include <algorithm>
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

void TFileStream::ReadPadded(uint64_t offset, void* buffer, size_t count) noexcept {
  if (count == 0) return;  // buffer may be null then, as an empty scratch's data is
  size_t delivered = 0;
  if (offset < FSize) {
    const uint64_t available = FSize - offset;
    const size_t inFile = count < available ? count : static_cast<size_t>(available);
    if (FMapped) {
      std::memcpy(buffer, FMapped + offset, inFile);
      delivered = inFile;
    } else {
      delivered = ReadAt(offset, buffer, inFile);
    }
  }
  if (delivered < count)
    std::memset(static_cast<uint8_t*>(buffer) + delivered, 0, count - delivered);
}

size_t TFileStream::Read(void* buffer, size_t count) noexcept {
  ReadPadded(FPosition, buffer, count);
  const uint64_t start = FPosition;
  FPosition += count;
  if (start >= FSize) return 0;
  return static_cast<size_t>(std::min<uint64_t>(count, FSize - start));
}

const uint8_t* TFileStream::CopiedView(uint64_t offset, size_t count,
                                       std::vector<uint8_t>& scratch) {
  if (scratch.size() < count) scratch.resize(count);
  ReadPadded(offset, scratch.data(), count);
  return scratch.data();
}

uint32_t TFileStream::CopiedU32At(uint64_t offset) noexcept {
  uint8_t bytes[4];
  ReadPadded(offset, bytes, sizeof bytes);
  return LoadU32(bytes);
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
