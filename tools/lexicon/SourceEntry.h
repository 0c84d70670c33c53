// Entries of the dictionary sources, taken apart into a headword and a list of
// translations or definitions without pronunciations, examples and markup.
#pragma once

#include <fstream>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "Dictd.h"
#include "EntryText.h"
#include "PartOfSpeech.h"

namespace parlivo {

struct TSourceEntry {
  std::string Headword;            // UTF-8, as the source spells it
  std::string Pronunciation;       // FreeDict only
  std::vector<std::string> Items;  // UTF-8, in the source's order
  size_t Weight = 0;               // examples and notes: main senses carry the most
  std::vector<int> Senses;         // the sense of each item, 1 for the first, where known
  // The part of speech of each item, where the source tags it or its headword.
  std::vector<TPartOfSpeech> Parts;
  // How much each item's usage labels let it weigh ("[fig.]", "[veraltet]"), where known.
  std::vector<TUsage> Usage;
  TPartOfSpeech PartOf(size_t item) const {
    return item < Parts.size() ? Parts[item] : TPartOfSpeech::Unknown;
  }
  int SenseOf(size_t item) const { return item < Senses.size() ? Senses[item] : 1; }
  TUsage UsageOf(size_t item) const { return item < Usage.size() ? Usage[item] : TUsage{}; }
};

// One translation as a dictionary of English lists it under a stored headword.
struct TSourceItem {
  std::string Text;  // UTF-8
  TPartOfSpeech Part = TPartOfSpeech::Unknown;
  int Sense = 1;         // 1 for the headword's first sense
  size_t Rank = 0;       // its place within its sense, 0 for the first
  bool Capital = false;  // the dictionary's headword has a capital ("Polish")
  float Usage = 1;       // its usage labels' weight as a translation
};

// FreeDict: "headword /pronunciation/ <grammar>" on the first line, then numbered or
// plain lines of comma-separated translations with <grammar>, [domain] and {reference}
// markup, quoted examples and "see:", "Synonym:", "Note:" lines. An item's part of
// speech is that of its own grammar tag, else that of the headword's.
TSourceEntry ParseFreedictEntry(const TDictdEntry& entry);

// WikDict (FreeDict's dictionaries made from Wiktionary's translation tables): senses
// "1. a, b" each followed by a gloss in the source language, or a single line of
// translations after the headword; only the translations are items.
TSourceEntry ParseWikdictEntry(const TDictdEntry& entry);

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
