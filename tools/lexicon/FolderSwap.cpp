#include "FolderSwap.h"

#include <ostream>
#include <string>

#if defined(__linux__)
#include <fcntl.h>
#include <stdio.h>
#endif
#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
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

fs::path Sibling(const fs::path& target, const std::string& kind) {
  return target.parent_path() /
         (target.filename().string() + "." + kind + "-" + std::to_string(ProcessId()));
}

bool StartsWith(const std::string& text, const std::string& start) {
  return text.compare(0, start.size(), start) == 0;
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

fs::path BuildFolderFor(const fs::path& target) {
  return Sibling(target, "new");
}

void RecoverInterruptedSwap(const fs::path& target, std::ostream& log) {
  const fs::path parent = target.parent_path().empty() ? fs::path(".") : target.parent_path();
  if (!fs::is_directory(parent)) return;
  const std::string name = target.filename().string();
  for (const auto& entry : fs::directory_iterator(parent)) {
    const std::string other = entry.path().filename().string();
    if (StartsWith(other, name + ".old-") && !fs::exists(target)) {
      fs::rename(entry.path(), target);
      log << "Restored " << target.string() << " from an interrupted build" << std::endl;
    } else if (StartsWith(other, name + ".new-") || StartsWith(other, name + ".old-")) {
      fs::remove_all(entry.path());
      log << "Removed " << entry.path().string() << ", left by an interrupted build" << std::endl;
    }
  }
}

void ReplaceFolder(const fs::path& built, const fs::path& target, const TFolderSteps& steps) {
  try {
    if (!fs::exists(target)) {
      steps.Rename(built, target);
      return;
    }
    if (steps.Exchange(built, target)) {
      fs::remove_all(built);  // now the old set
      return;
    }
    // Two renames: the old set steps aside and comes back if the new one cannot go in.
    const fs::path old = Sibling(target, "old");
    steps.Rename(target, old);
    try {
      steps.Rename(built, target);
    } catch (...) {
      steps.Rename(old, target);
      throw;
    }
    fs::remove_all(old);
  } catch (...) {
    std::error_code ignored;
    fs::remove_all(built, ignored);
    throw;
  }
}

}  // namespace parlivo
