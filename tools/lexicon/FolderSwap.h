// Replacing a lexicon folder as one set: the new files are written into a folder beside
// the target, which then takes the target's place, so that a failure at any step leaves
// the old set complete where it was.
#pragma once

#include <filesystem>
#include <functional>
#include <iosfwd>

namespace parlivo {

// The file system steps of a swap, replaceable for tests that make one of them fail.
struct TFolderSteps {
  // Exchanges two folders in one step; false where the system cannot.
  std::function<bool(const std::filesystem::path&, const std::filesystem::path&)> Exchange;
  // Renames a folder; throws std::filesystem::filesystem_error.
  std::function<void(const std::filesystem::path&, const std::filesystem::path&)> Rename;
  static TFolderSteps System();
};

// The folder beside target in which a new set is built ("Files.new-<pid>").
std::filesystem::path BuildFolderFor(const std::filesystem::path& target);

// Undoes what an interrupted run left beside target: a target missing while its old set
// waits under "<target>.old-*" gets that set back; leftover build folders go. Says what
// it did on log.
void RecoverInterruptedSwap(const std::filesystem::path& target, std::ostream& log);

// Puts the folder built in target's place and removes what target held. On failure
// target keeps what it held, built is removed, and the error is thrown on.
void ReplaceFolder(const std::filesystem::path& built, const std::filesystem::path& target,
                   const TFolderSteps& steps = TFolderSteps::System());

}  // namespace parlivo
