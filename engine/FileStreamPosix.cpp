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

// Without O_NONBLOCK, opening a FIFO waits for a writer that may never come.
constexpr int kOpenFlags = O_RDONLY | O_CLOEXEC | O_NONBLOCK;

[[noreturn]] void ThrowOpenError(const String16& path, int error) {
  throw EFOpenError(OpenErrorMessage(path, FromUtf8(std::strerror(error))));
}

[[noreturn]] void ThrowNotAFile(const String16& path) {
  throw EFOpenError(OpenErrorMessage(path, PLV_TEXT("Not a regular file")));
}

}  // namespace

// The stream of a file opened as fd (or the open's failure, fd < 0), under its full path.
std::unique_ptr<TFileStream> TFileStream::FromDescriptor(int fd, const String16& path) {
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

std::unique_ptr<TFileStream> TFileStream::OpenRead(const String16& path) {
  return FromDescriptor(::open(ToUtf8(path).c_str(), kOpenFlags), path);
}

struct TFolder::Handle {
  explicit Handle(int fd) : FFolder(fd) {}
  ~Handle() { ::close(FFolder); }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  int FFolder;
  dev_t FDevice = 0;
  ino_t FInode = 0;
};

std::unique_ptr<TFileStream> TFileStream::OpenRead(const TFolder& folder, StringView16 name) {
  const String16 path = folder.Path() + String16(name);
  return FromDescriptor(::openat(folder.FHandle->FFolder, ToUtf8(name).c_str(), kOpenFlags), path);
}

TFolder::TFolder(std::unique_ptr<Handle> handle, String16 path)
    : FHandle(std::move(handle)), FPath(std::move(path)) {}

TFolder::~TFolder() = default;

std::unique_ptr<TFolder> TFolder::Open(const String16& path) {
  String16 withSeparator = path;
  if (withSeparator.empty() || withSeparator.back() != Char16{'/'})
    withSeparator.push_back(Char16{'/'});
  const int fd = ::open(ToUtf8(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) ThrowOpenError(withSeparator, errno);
  auto handle = std::make_unique<Handle>(fd);
  struct stat info {};
  if (::fstat(fd, &info) != 0) ThrowOpenError(withSeparator, errno);
  handle->FDevice = info.st_dev;
  handle->FInode = info.st_ino;
  return std::unique_ptr<TFolder>(new TFolder(std::move(handle), std::move(withSeparator)));
}

bool TFolder::StillAtPath() const noexcept {
  struct stat info {};
  return ::stat(ToUtf8(FPath).c_str(), &info) == 0 && info.st_dev == FHandle->FDevice &&
         info.st_ino == FHandle->FInode;
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
