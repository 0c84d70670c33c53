// parlivo-lookup: the window's search from the command line.
#pragma once

#include <iosfwd>
#include <vector>

#include "Text.h"

namespace parlivo {

// Runs "parlivo-lookup [--files FOLDER] LANGUAGE WORD": the word is cleaned and looked
// up as the window looks it up, the rows "headword=text" are printed one a line, then
// the count. Without --files the lexicon is the Files folder beside the program, or
// else in the working folder. Returns the exit code; errors go to err.
int RunLookup(const std::vector<String16>& args, const String16& programFolder, std::ostream& out,
              std::ostream& err);

}  // namespace parlivo
