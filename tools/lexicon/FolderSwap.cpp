#include "FolderSwap.h"

#include <fstream>
#include <ostream>
#include <stdexcept>
#include <string>
#include <system_error>

#ifdef _WIN32
#include <process.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <stdio.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace parlivo {

namespace fs = std::filesystem;

namespace {

int ProcessId() {
#ifdef _WIN32
  return _getpid();
#else
  return static_cast<int>(::getpid());
#endif
}

// A name beside target that starts with a dot and names this program, so that no user
// folder or file is taken for one of the build's own.
fs::path Beside(const fs::path& target, const std::string& kind) {
  return target.parent_path() / ("." + target.filename().string() + ".parlivo-" + kind);
}

std::string WorkFolderPrefix(const fs::path& target) {
  return Beside(target, "build-").filename().string();
}

bool StartsWith(const std::string& text, const std::string& start) {
  return text.compare(0, start.size(), start) == 0;
}

// True when folder is a working folder of a build into target: it carries the mark.
bool IsMarkedWorkFolder(const fs::path& folder, const fs::path& target) {
  std::error_code error;
  if (!fs::is_directory(folder, error) || fs::is_symlink(folder, error)) return false;
  std::ifstream mark(folder / kWorkMarkName, std::ios::binary);
  const std::string expected = WorkMarkText(target);
  std::string text(expected.size() + 1, '\0');
  mark.read(text.data(), static_cast<std::streamsize>(text.size()));
  text.resize(static_cast<size_t>(mark.gcount()));
  return text == expected;
}

}  // namespace

TFolderSteps TFolderSteps::System() {
  TFolderSteps steps;
  steps.Exchange = [](const fs::path& a, const fs::path& b) {
#if defined(__linux__) && defined(RENAME_EXCHANGE)
    return ::renameat2(AT_FDCWD, a.c_str(), AT_FDCWD, b.c_str(), RENAME_EXCHANGE) == 0;
#else
    (void)a;
    (void)b;
    return false;
#endif
  };
  steps.Rename = [](const fs::path& from, const fs::path& to) { fs::rename(from, to); };
  return steps;
}

fs::path LexiconTarget(const std::string& folder) {
  fs::path target = fs::absolute(folder).lexically_normal();
  if (!target.has_filename()) target = target.parent_path();
  if (!target.has_filename() || target == target.root_path())
    throw std::runtime_error("\"" + folder + "\" names no folder a lexicon can be built into");
  return target;
}

#ifdef _WIN32
struct TBuildLock::Handle {
  explicit Handle(HANDLE file) : FFile(file) {}
  ~Handle() { CloseHandle(FFile); }  // closing releases the lock
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  HANDLE FFile;
};

TBuildLock::TBuildLock(const fs::path& target, std::ostream& log) {
  const fs::path path = Beside(target, "lock");
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_HIDDEN, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    throw std::runtime_error("cannot open the build lock " + path.string());
  FHandle = std::make_unique<Handle>(file);
  OVERLAPPED whole{};
  if (LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &whole))
    return;
  log << "Waiting for another build of " << target.string() << " to finish" << std::endl;
  if (!LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &whole))
    throw std::runtime_error("cannot lock " + path.string());
}
#else
struct TBuildLock::Handle {
  explicit Handle(int fd) : FFile(fd) {}
  ~Handle() { ::close(FFile); }  // closing releases the lock
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  int FFile;
};

TBuildLock::TBuildLock(const fs::path& target, std::ostream& log) {
  const fs::path path = Beside(target, "lock");
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) {
    throw std::system_error(errno, std::generic_category(),
                            "cannot open the build lock " + path.string());
  }
  FHandle = std::make_unique<Handle>(fd);
  // flock belongs to the open file: the system lets it go when the process dies.
  if (::flock(fd, LOCK_EX | LOCK_NB) == 0) return;
  log << "Waiting for another build of " << target.string() << " to finish" << std::endl;
  while (::flock(fd, LOCK_EX) != 0) {
    if (errno != EINTR)
      throw std::system_error(errno, std::generic_category(), "cannot lock " + path.string());
  }
}
#endif

TBuildLock::~TBuildLock() = default;

std::string WorkMarkText(const fs::path& target) {
  return "Working folder of parlivo-build-lexicon for " + target.filename().string() + "\n";
}

TWorkFolder::TWorkFolder(const fs::path& target)
    : FPath(Beside(target, "build-" + std::to_string(ProcessId()))) {
  // One of this name can only be left by a stopped build: the lock says none runs.
  if (fs::exists(fs::symlink_status(FPath))) {
    if (!IsMarkedWorkFolder(FPath, target))
      throw std::runtime_error(FPath.string() + " is in the way of the build's working folder");
    fs::remove_all(FPath);
  }
  fs::create_directory(FPath);
  std::ofstream(FPath / kWorkMarkName, std::ios::binary) << WorkMarkText(target);
  if (!IsMarkedWorkFolder(FPath, target))
    throw std::runtime_error("cannot write into " + FPath.string());
  fs::create_directory(NewSet());
}

TWorkFolder::~TWorkFolder() {
  std::error_code ignored;
  fs::remove_all(FPath, ignored);
}

void RecoverInterruptedSwap(const fs::path& target, std::ostream& log) {
  const fs::path parent = target.parent_path();
  std::error_code error;
  if (!fs::is_directory(parent, error)) return;
  const std::string prefix = WorkFolderPrefix(target);
  for (const auto& entry : fs::directory_iterator(parent)) {
    const fs::path work = entry.path();
    if (!StartsWith(work.filename().string(), prefix) || !IsMarkedWorkFolder(work, target))
      continue;
    if (!fs::exists(fs::symlink_status(target)) && fs::is_directory(work / "old")) {
      fs::rename(work / "old", target);
      log << "Restored " << target.string() << " from an interrupted build" << std::endl;
    }
    fs::remove_all(work);
    log << "Removed " << work.string() << ", left by an interrupted build" << std::endl;
  }
}

void ReplaceFolder(const TWorkFolder& work, const fs::path& target, const TFolderSteps& steps) {
  const fs::path built = work.NewSet();
  if (!fs::exists(fs::symlink_status(target))) {
    steps.Rename(built, target);
    return;
  }
  // Exchanged, the old set lies where the new one was and goes with the work folder.
  if (steps.Exchange(built, target)) return;
  // Two renames: the old set steps aside and comes back if the new one cannot go in.
  steps.Rename(target, work.OldSet());
  try {
    steps.Rename(built, target);
  } catch (...) {
    steps.Rename(work.OldSet(), target);
    throw;
  }
}

}  // namespace parlivo
