// POSIX file layer for the native builds (tools, tests, fuzzing). POSIX has no share
// modes; anything but a regular file is refused, as Windows refuses it.
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

#include "Errors.h"
#include "FileStream.h"

namespace parlivo {

struct TFileStream::Handle {
  explicit Handle(int fd) : FFile(fd) {}
  ~Handle() {
    if (FMapped) ::munmap(FMapped, FMappedSize);
    ::close(FFile);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  int FFile;
  void* FMapped = nullptr;
  size_t FMappedSize = 0;
};

TFileStream::TFileStream(std::unique_ptr<Handle> handle, uint64_t size, const uint8_t* mapped)
    : FHandle(std::move(handle)), FSize(size), FMapped(mapped) {}

TFileStream::~TFileStream() = default;

namespace {

[[noreturn]] void ThrowOpenError(const String16& path, int error) {
  throw EFOpenError(OpenErrorMessage(path, FromUtf8(std::strerror(error))));
}

[[noreturn]] void ThrowNotAFile(const String16& path) {
  throw EFOpenError(OpenErrorMessage(path, PLV_TEXT("Not a regular file")));
}

}  // namespace

std::unique_ptr<TFileStream> TFileStream::OpenRead(const String16& path) {
  const std::string name = ToUtf8(path);
  // Without O_NONBLOCK, opening a FIFO waits for a writer that may never come.
  const int fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) ThrowOpenError(path, errno);
  auto handle = std::make_unique<Handle>(fd);
  struct stat info {};
  if (::fstat(fd, &info) != 0) ThrowOpenError(path, errno);
  if (S_ISDIR(info.st_mode)) ThrowOpenError(path, EISDIR);
  if (!S_ISREG(info.st_mode)) ThrowNotAFile(path);
  const auto size = static_cast<uint64_t>(info.st_size);
  if (size > 0 && size <= SIZE_MAX) {
    // Without a mapping the file is read with pread, as before.
    void* mapped = ::mmap(nullptr, static_cast<size_t>(size), PROT_READ, MAP_PRIVATE, fd, 0);
    if (mapped != MAP_FAILED) {
      handle->FMapped = mapped;
      handle->FMappedSize = static_cast<size_t>(size);
    }
  }
  const auto* view = static_cast<const uint8_t*>(handle->FMapped);
  return std::unique_ptr<TFileStream>(new TFileStream(std::move(handle), size, view));
}

size_t TFileStream::ReadAt(uint64_t offset, void* buffer, size_t count) noexcept {
  size_t total = 0;
  while (total < count) {
    const ssize_t got = ::pread(FHandle->FFile, static_cast<uint8_t*>(buffer) + total,
                                count - total, static_cast<off_t>(offset + total));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    total += static_cast<size_t>(got);
  }
  return total;
}

}  // namespace parlivo
