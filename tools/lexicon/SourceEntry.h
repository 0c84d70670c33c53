// Entries of the dictionary sources, taken apart into a headword and a list of
// translations or definitions without pronunciations, examples and markup.
#pragma once

#include <fstream>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "Dictd.h"

namespace parlivo {

struct TSourceEntry {
  std::string Headword;            // UTF-8, as the source spells it
  std::string Pronunciation;       // FreeDict only
  std::vector<std::string> Items;  // UTF-8, in the source's order
  size_t Weight = 0;               // examples and notes: main senses carry the most
  std::vector<int> Senses;         // WikDict: the sense of each item, 1 for the first
};

// FreeDict: "headword /pronunciation/" on the first line, then numbered or plain lines
// of comma-separated translations with <grammar>, [domain] and {reference} markup,
// quoted examples and "see:", "Synonym:", "Note:" lines.
TSourceEntry ParseFreedictEntry(const TDictdEntry& entry);

// WikDict (FreeDict's dictionaries made from Wiktionary's translation tables): senses
// "1. a, b" each followed by a gloss in the source language, or a single line of
// translations after the headword; only the translations are items.
TSourceEntry ParseWikdictEntry(const TDictdEntry& entry);

// WordNet: the headword, then senses "n 1: gloss; "example" [syn: ...]".
TSourceEntry ParseWordnetEntry(const TDictdEntry& entry);

// A source file of lines, opened for reading; throws std::runtime_error for anything
// but a readable regular file (a folder, a FIFO that would wait for a writer).
std::ifstream OpenSourceFile(const std::string& path);

// "headword<TAB>text" lines, UTF-8, handed to line one by one, both trimmed. Empty lines
// and lines starting with '#' are passed over. Throws std::runtime_error for a line
// without a tab.
void ReadTabSeparated(
    const std::string& path,
    const std::function<void(std::string_view headword, std::string_view text)>& line);

}  // namespace parlivo
