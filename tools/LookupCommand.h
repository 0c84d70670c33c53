// parlivo-lookup: the window's search from the command line.
#pragma once

#include <functional>
#include <iosfwd>
#include <vector>

#include "Text.h"

namespace parlivo {

// Runs "parlivo-lookup [--files FOLDER] LANGUAGE WORD": the word is cleaned and looked
// up as the window looks it up, the rows "headword=text" are printed one a line, then
// the count. With "--from LANGUAGE WORD" the word is the language's, looked up in
// English as the window turned round looks it up, each row's word as it is spelt.
// Without --files the lexicon is the Files folder beside the program, or else in the
// working folder. Both files are read from one set, even while a build replaces the
// folder. Returns the exit code: 0, 1 when a file cannot be opened or a lookup met a
// damaged file (said on err after the rows), 2 for wrong arguments.
// betweenOpens, for tests, runs after the index file is open and before the language
// file is.
int RunLookup(const std::vector<String16>& args, const String16& programFolder, std::ostream& out,
              std::ostream& err, const std::function<void()>& betweenOpens = {});

}  // namespace parlivo
