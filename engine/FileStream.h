// The lexicon's file layer: an existing file opened for reading only and without
// sharing, a byte position and positioned reads. Reads past the end of the file
// deliver zero bytes, so a reader that trusts its data never sees undefined values.
// Where the system allows, the open file is also mapped for reading: the system's own
// view of the file, which View hands out without a copy or a system call.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#if defined(_MSC_VER) && (defined(_M_X64) || defined(_M_IX86))
#include <xmmintrin.h>
#endif

#include "Text.h"

namespace parlivo {

// Little-endian decoding of file integers.
inline uint16_t LoadU16(const uint8_t* p) noexcept {
  return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
inline uint32_t LoadU32(const uint8_t* p) noexcept {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

class TFolder;

class TFileStream {
 public:
  // Throws EFOpenError with the full path and the system's reason.
  static std::unique_ptr<TFileStream> OpenRead(const String16& path);
  // The file of that name in a held folder, wherever the folder has gone since.
  static std::unique_ptr<TFileStream> OpenRead(const TFolder& folder, StringView16 name);

  ~TFileStream();
  TFileStream(const TFileStream&) = delete;
  TFileStream& operator=(const TFileStream&) = delete;

  uint64_t Size() const noexcept { return FSize; }
  uint64_t Position() const noexcept { return FPosition; }
  void Seek(uint64_t position) noexcept { FPosition = position; }
  void Skip(uint64_t count) noexcept { FPosition += count; }

  // Reads count bytes at the position and advances it by count; bytes that lie
  // outside the file are delivered as zero. Returns the number of bytes that came
  // from the file.
  size_t Read(void* buffer, size_t count) noexcept;

  uint8_t ReadU8() noexcept;
  uint16_t ReadU16() noexcept;
  uint32_t ReadU32() noexcept;

  // The count bytes at offset: straight from the mapping when the file holds them all,
  // otherwise read into scratch (grown to count if need be) with zeros past the end.
  // The pointer is valid until scratch changes or the file closes. Moves no position.
  const uint8_t* View(uint64_t offset, size_t count, std::vector<uint8_t>& scratch) {
    if (FMapped && offset <= FSize && count <= FSize - offset) return FMapped + offset;
    return CopiedView(offset, count, scratch);
  }
  // Asks the processor to start fetching the bytes at offset, where the file is mapped,
  // so that a View of them soon after need not wait as long.
  void Prefetch(uint64_t offset) const noexcept {
    if (!FMapped || offset >= FSize) return;
#if defined(_MSC_VER) && (defined(_M_X64) || defined(_M_IX86))
    _mm_prefetch(reinterpret_cast<const char*>(FMapped + offset), _MM_HINT_T0);
#elif defined(__GNUC__)
    __builtin_prefetch(FMapped + offset);
#endif
  }
  // The u32 at offset, with zero bytes past the end.
  uint32_t U32At(uint64_t offset) noexcept {
    if (FMapped && offset < FSize && FSize - offset >= 4) return LoadU32(FMapped + offset);
    return CopiedU32At(offset);
  }

 private:
  struct Handle;
  TFileStream(std::unique_ptr<Handle> handle, uint64_t size, const uint8_t* mapped);
#ifndef _WIN32
  static std::unique_ptr<TFileStream> FromDescriptor(int fd, const String16& path);
#endif
  // View and U32At where the mapping cannot serve.
  const uint8_t* CopiedView(uint64_t offset, size_t count, std::vector<uint8_t>& scratch);
  uint32_t CopiedU32At(uint64_t offset) noexcept;
  // One positioned read of the operating system; returns the bytes delivered.
  size_t ReadAt(uint64_t offset, void* buffer, size_t count) noexcept;
  // count bytes at offset into buffer, zeros past the end; the position stays.
  void ReadPadded(uint64_t offset, void* buffer, size_t count) noexcept;

  std::unique_ptr<Handle> FHandle;
  uint64_t FSize;
  const uint8_t* FMapped;  // the whole file, or nullptr; owned by FHandle
  uint64_t FPosition = 0;
};

// A folder held open, so that the files opened through it all come from that folder,
// even when another folder takes its name meanwhile: the files of one lexicon set,
// while a build swaps in the next. On POSIX they are opened relative to the folder's
// descriptor; Windows refuses to rename or remove a folder held without delete sharing.
class TFolder {
 public:
  // path names the folder, with or without a separator at its end; throws EFOpenError.
  static std::unique_ptr<TFolder> Open(const String16& path);
  ~TFolder();
  TFolder(const TFolder&) = delete;
  TFolder& operator=(const TFolder&) = delete;

  // The path as given, ending in a separator: a file's full path is Path() + name.
  const String16& Path() const noexcept { return FPath; }
  // False once the path names another folder, or none.
  bool StillAtPath() const noexcept;

 private:
  friend class TFileStream;
  struct Handle;
  TFolder(std::unique_ptr<Handle> handle, String16 path);
  std::unique_ptr<Handle> FHandle;
  String16 FPath;
};

}  // namespace parlivo
