// Windows file layer: CreateFileW read-only with share mode 0, so that nobody else
// opens a lexicon file while the program holds it.
#include <windows.h>

#include <cstdint>

#include "Errors.h"
#include "FileStream.h"

namespace parlivo {

struct TFileStream::Handle {
  explicit Handle(HANDLE h) : FFile(h) {}
  ~Handle() {
    if (FView) UnmapViewOfFile(FView);
    if (FMapping) CloseHandle(FMapping);
    CloseHandle(FFile);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  HANDLE FFile;
  HANDLE FMapping = nullptr;
  void* FView = nullptr;
  uint64_t FSystemPosition = 0;  // the file pointer as the system holds it
};

TFileStream::TFileStream(std::unique_ptr<Handle> handle, uint64_t size, const uint8_t* mapped)
    : FHandle(std::move(handle)), FSize(size), FMapped(mapped) {}

TFileStream::~TFileStream() = default;

namespace {

String16 SystemErrorText(DWORD code) {
  wchar_t* buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  String16 text;
  if (length != 0 && buffer != nullptr) {
    text.assign(buffer, length);
  } else {
    text = L"System error " + std::to_wstring(code);
  }
  LocalFree(buffer);
  return text;
}

}  // namespace

std::unique_ptr<TFileStream> TFileStream::OpenRead(const String16& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD code = GetLastError();
    throw EFOpenError(OpenErrorMessage(path, SystemErrorText(code)));
  }
  auto handle = std::make_unique<Handle>(file);
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file, &size)) size.QuadPart = 0;
  if (size.QuadPart > 0 && static_cast<uint64_t>(size.QuadPart) <= SIZE_MAX) {
    // Nobody else can open the file while we hold it, so the view cannot shrink under
    // us. Without a mapping the file is read with ReadFile, as before.
    handle->FMapping = CreateFileMappingW(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
    if (handle->FMapping) handle->FView = MapViewOfFile(handle->FMapping, FILE_MAP_READ, 0, 0, 0);
  }
  const auto* view = static_cast<const uint8_t*>(handle->FView);
  return std::unique_ptr<TFileStream>(
      new TFileStream(std::move(handle), static_cast<uint64_t>(size.QuadPart), view));
}

std::unique_ptr<TFileStream> TFileStream::OpenRead(const TFolder& folder, StringView16 name) {
  // The folder cannot move while it is held, so its path still leads into it.
  return OpenRead(folder.Path() + String16(name));
}

struct TFolder::Handle {
  explicit Handle(HANDLE h) : FFolder(h) {}
  ~Handle() { CloseHandle(FFolder); }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  HANDLE FFolder;
};

TFolder::TFolder(std::unique_ptr<Handle> handle, String16 path)
    : FHandle(std::move(handle)), FPath(std::move(path)) {}

TFolder::~TFolder() = default;

std::unique_ptr<TFolder> TFolder::Open(const String16& path) {
  String16 withSeparator = path;
  if (withSeparator.empty() || (withSeparator.back() != L'\\' && withSeparator.back() != L'/'))
    withSeparator.push_back(L'\\');
  // Without FILE_SHARE_DELETE nobody can rename or remove the folder while it is held.
  HANDLE folder = CreateFileW(path.c_str(), FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (folder == INVALID_HANDLE_VALUE) {
    const DWORD code = GetLastError();
    throw EFOpenError(OpenErrorMessage(withSeparator, SystemErrorText(code)));
  }
  return std::unique_ptr<TFolder>(
      new TFolder(std::make_unique<Handle>(folder), std::move(withSeparator)));
}

bool TFolder::StillAtPath() const noexcept {
  return true;
}

size_t TFileStream::ReadAt(uint64_t offset, void* buffer, size_t count) noexcept {
  // A plain ReadFile after a seek: positioned reads through OVERLAPPED cost far more
  // on some Windows implementations.
  if (offset != FHandle->FSystemPosition) {
    LARGE_INTEGER where;
    where.QuadPart = static_cast<LONGLONG>(offset);
    if (!SetFilePointerEx(FHandle->FFile, where, nullptr, FILE_BEGIN)) return 0;
    FHandle->FSystemPosition = offset;
  }
  size_t total = 0;
  while (total < count) {
    const size_t left = count - total;
    const DWORD chunk = left > 0x40000000 ? 0x40000000 : static_cast<DWORD>(left);
    DWORD got = 0;
    const BOOL ok =
        ReadFile(FHandle->FFile, static_cast<uint8_t*>(buffer) + total, chunk, &got, nullptr);
    total += got;
    FHandle->FSystemPosition += got;
    if (!ok || got == 0) break;
  }
  return total;
}

}  // namespace parlivo
