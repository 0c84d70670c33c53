// Replacing a lexicon folder as one set: the new files are written into a working
// folder beside the target, whose new set then takes the target's place, so that a
// failure at any step leaves the old set complete where it was. Builds into one target
// take turns under a lock, and a build touches no folder but the ones it made: its
// working folders have names no user would choose and carry a mark naming the target.
#pragma once

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>

namespace parlivo {

// The file system steps of a swap, replaceable for tests that make one of them fail.
struct TFolderSteps {
  // Exchanges two folders in one step; false where the system cannot.
  std::function<bool(const std::filesystem::path&, const std::filesystem::path&)> Exchange;
  // Renames a folder; throws std::filesystem::filesystem_error.
  std::function<void(const std::filesystem::path&, const std::filesystem::path&)> Rename;
  static TFolderSteps System();
};

// The folder a build names: absolute, with "." and ".." resolved and no separator at
// the end, so that "New", "New/", "./New" and "New/." are one target.
std::filesystem::path LexiconTarget(const std::string& folder);

// The lock of builds into target, a file beside it ("." name ".parlivo-lock"): held
// from construction to destruction, or until the process ends, however it ends. A
// build that finds it held waits for it, saying so on log.
class TBuildLock {
 public:
  TBuildLock(const std::filesystem::path& target, std::ostream& log);
  ~TBuildLock();
  TBuildLock(const TBuildLock&) = delete;
  TBuildLock& operator=(const TBuildLock&) = delete;

 private:
  struct Handle;
  std::unique_ptr<Handle> FHandle;
};

// A build's working folder beside target ("." name ".parlivo-build-" process id), made
// and marked by the constructor. The new set is written into NewSet(); a swap by two
// renames parks the old set in OldSet() meanwhile. The destructor removes the folder
// with whatever it still holds.
class TWorkFolder {
 public:
  explicit TWorkFolder(const std::filesystem::path& target);
  ~TWorkFolder();
  TWorkFolder(const TWorkFolder&) = delete;
  TWorkFolder& operator=(const TWorkFolder&) = delete;

  const std::filesystem::path& Path() const { return FPath; }
  std::filesystem::path NewSet() const { return FPath / "new"; }
  std::filesystem::path OldSet() const { return FPath / "old"; }

 private:
  std::filesystem::path FPath;
};

// The mark inside a working folder of target: its name and first line.
inline constexpr char kWorkMarkName[] = "parlivo-build";
std::string WorkMarkText(const std::filesystem::path& target);

// Undoes what builds into target that were stopped left beside it; call it holding the
// lock, when no other build into target runs. Only marked working folders of target
// are looked at: a target missing while its old set waits in one gets that set back,
// and then they go. Says what it did on log.
void RecoverInterruptedSwap(const std::filesystem::path& target, std::ostream& log);

// Puts the work folder's new set in target's place; what target held goes with the
// work folder. On failure target keeps what it held and the error is thrown on.
void ReplaceFolder(const TWorkFolder& work, const std::filesystem::path& target,
                   const TFolderSteps& steps = TFolderSteps::System());

}  // namespace parlivo
