#include "SourceEntry.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "EntryText.h"

namespace parlivo {

namespace {

bool IsSpace(char ch) {
  return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n';
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsSpace(text.back())) text.remove_suffix(1);
  return text;
}

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  while (start <= text.size()) {
    const size_t end = text.find('\n', start);
    lines.push_back(
        text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  return lines;
}

// Removes every run from open to close (both included), replacing it with instead.
std::string RemoveDelimited(std::string_view text, char open, char close,
                            std::string_view instead) {
  std::string out;
  size_t i = 0;
  while (i < text.size()) {
    if (text[i] == open) {
      const size_t end = text.find(close, i + 1);
      if (end != std::string_view::npos) {
        out.append(instead);
        i = end + 1;
        continue;
      }
    }
    out.push_back(text[i++]);
  }
  return out;
}

// Pronunciations inside a line: " /.../" (a slash after a space up to the next slash).
std::string RemovePronunciations(std::string_view text) {
  std::string out;
  size_t i = 0;
  while (i < text.size()) {
    if (text[i] == '/' && (i == 0 || IsSpace(text[i - 1]))) {
      const size_t end = text.find('/', i + 1);
      if (end != std::string_view::npos) {
        i = end + 1;
        continue;
      }
    }
    out.push_back(text[i++]);
  }
  return out;
}

// The parts of a line's piece between commas and semicolons outside brackets, each as it
// stands, labels and notes included.
std::vector<std::string_view> SplitOutsideBrackets(std::string_view text) {
  std::vector<std::string_view> parts;
  size_t start = 0;
  int depth = 0;
  for (size_t i = 0; i <= text.size(); ++i) {
    const char ch = i < text.size() ? text[i] : ',';
    if (ch == '[' || ch == '{') {
      ++depth;
    } else if ((ch == ']' || ch == '}') && depth > 0) {
      --depth;
    } else if (depth == 0 && (ch == ',' || ch == ';')) {
      parts.push_back(text.substr(start, i - start));
      start = i + 1;
    }
  }
  return parts;
}

// The usage labels a line starts with, which are the whole line's:
// "[fig.] Regen, Hagel".
TUsage LeadingUsage(std::string_view line) {
  TUsage usage;
  line = Trim(line);
  while (!line.empty() && line.front() == '[') {
    const size_t close = line.find(']');
    if (close == std::string_view::npos) break;
    usage = Least(usage, UsageOfLabel(line.substr(1, close - 1)));
    line = Trim(line.substr(close + 1));
  }
  return usage;
}

void AddSplitItems(std::string_view text, std::vector<std::string>& items) {
  size_t start = 0;
  for (size_t i = 0; i <= text.size(); ++i) {
    if (i == text.size() || text[i] == ',' || text[i] == ';') {
      const std::string_view item = Trim(text.substr(start, i - start));
      if (!item.empty()) items.emplace_back(item);
      start = i + 1;
    }
  }
}

bool IsLabelLine(std::string_view line) {
  static constexpr std::string_view kLabels[] = {
      "see:",  "Synonym:", "Synonyms:", "Antonym:",  "Antonyms:", "Note:", "Notes:",
      "also:", "Usage:",   "Example:",  "Examples:", "See:",      "Also:"};
  for (std::string_view label : kLabels) {
    if (line.substr(0, label.size()) == label) return true;
  }
  return false;
}

std::string_view WithoutSenseNumber(std::string_view line) {
  size_t digits = 0;
  while (digits < line.size() && std::isdigit(static_cast<unsigned char>(line[digits]))) ++digits;
  if (digits > 0 && digits + 1 < line.size() && line[digits] == '.' && line[digits + 1] == ' ') {
    return Trim(line.substr(digits + 2));
  }
  return line;
}

}  // namespace

// The part of speech a grammar tag list ("v, trans", "n, fem") names by its first tag.
TPartOfSpeech PartOfTags(std::string_view tags) {
  return PartOfTag(tags.substr(0, tags.find(',')));
}

TSourceEntry ParseFreedictEntry(const TDictdEntry& entry) {
  TSourceEntry result;
  const auto lines = SplitLines(entry.Text);
  std::string_view header = Trim(lines.front());
  TPartOfSpeech headwordPart = TPartOfSpeech::Unknown;
  const size_t tag = header.find(" <");
  if (tag != std::string_view::npos && header.back() == '>') {
    headwordPart = PartOfTags(header.substr(tag + 2, header.size() - tag - 3));
    header = Trim(header.substr(0, tag));
  }
  const size_t slash = header.find(" /");
  result.Headword = std::string(Trim(header.substr(0, slash)));
  if (slash != std::string_view::npos) {
    const size_t end = header.find('/', slash + 2);
    result.Pronunciation = std::string(
        header.substr(slash + 2, end == std::string_view::npos ? end : end - slash - 2));
  }
  if (result.Headword.empty()) result.Headword = entry.Key;
  int sense = 0;
  for (size_t i = 1; i < lines.size(); ++i) {
    std::string_view line = Trim(lines[i]);
    if (line.empty()) continue;
    if (line.front() == '"' || IsLabelLine(line)) {
      ++result.Weight;
      continue;
    }
    const std::string_view translations = WithoutSenseNumber(line);
    sense = translations.size() != line.size() || sense == 0 ? sense + 1 : sense;
    // Each piece up to a grammar tag takes that tag's part of speech; each item the
    // usage labels of its line's start and its own.
    const TUsage lineUsage = LeadingUsage(translations);
    const size_t lineStart = result.Items.size();
    std::string_view rest = translations;
    while (!rest.empty()) {
      const size_t open = rest.find('<');
      const size_t close = open == std::string_view::npos ? open : rest.find('>', open);
      const std::string_view piece = rest.substr(0, close == std::string_view::npos ? close : open);
      const TPartOfSpeech part = close == std::string_view::npos
                                     ? TPartOfSpeech::Unknown
                                     : PartOfTags(rest.substr(open + 1, close - open - 1));
      const size_t before = result.Items.size();
      for (std::string_view marked : SplitOutsideBrackets(piece)) {
        std::string clean = RemoveDelimited(marked, '[', ']', "");
        clean = RemovePronunciations(RemoveDelimited(clean, '{', '}', ""));
        const std::string_view item = Trim(clean);
        if (item.empty()) {
          // A label after an item's grammar is the item's: "brausen <v> [veraltet]".
          if (result.Items.size() > lineStart)
            result.Usage.back() = Least(result.Usage.back(), UsageIn(marked));
          continue;
        }
        result.Items.emplace_back(item);
        result.Usage.push_back(Least(lineUsage, UsageIn(marked)));
      }
      for (size_t k = before; k < result.Items.size(); ++k) {
        // The tag follows the last item of its piece; the others take the headword's.
        const bool tagged = k + 1 == result.Items.size() && part != TPartOfSpeech::Unknown;
        result.Parts.push_back(tagged ? part : headwordPart);
        result.Senses.push_back(sense);
      }
      rest = close == std::string_view::npos ? std::string_view() : rest.substr(close + 1);
    }
  }
  return result;
}

TSourceEntry ParseWikdictEntry(const TDictdEntry& entry) {
  TSourceEntry result;
  const auto lines = SplitLines(entry.Text);
  const std::string_view header = Trim(lines.front());
  result.Headword = std::string(Trim(header.substr(0, header.find(" /"))));
  if (result.Headword.empty()) result.Headword = entry.Key;
  auto add = [&](std::string_view line, int sense) {
    // "maison 2." and "zig#zig (Französisch)": a stray sense number, notes in brackets.
    std::string clean = RemoveDelimited(line, '(', ')', "");
    clean = RemoveDelimited(clean, '[', ']', "");
    clean = RemoveDelimited(clean, '<', '>', ",");
    std::vector<std::string> items;
    AddSplitItems(clean, items);
    for (auto& item : items) {
      const size_t stray = item.find_last_of(' ');
      if (stray != std::string::npos && WithoutSenseNumber(item.substr(stray + 1) + " x") == "x")
        item.erase(stray);
      if (item.empty() || item.find('#') != std::string::npos ||
          std::isdigit(static_cast<unsigned char>(item[0])))
        continue;
      result.Items.push_back(item);
      result.Senses.push_back(sense);
    }
  };
  int sense = 0;
  for (size_t i = 1; i < lines.size(); ++i) {
    const std::string_view line = Trim(lines[i]);
    // "[1. gloss] translations": the gloss in brackets before its sense's translations.
    if (!line.empty() && line.front() == '[' && line.find(']') != std::string_view::npos) {
      add(Trim(line.substr(line.find(']') + 1)), sense = std::max(sense, 0) + 1);
      continue;
    }
    const std::string_view translations = WithoutSenseNumber(line);
    if (translations.size() != line.size()) {
      add(translations, ++sense);
    } else if (sense == 0 && !line.empty()) {
      add(line, ++sense);  // one sense, unnumbered: its gloss follows on the next line
      sense = -1;
    }
  }
  return result;
}

std::ifstream OpenSourceFile(const std::string& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) {
    throw std::runtime_error("cannot open " + path + ": not a file");
  }
  std::ifstream file(path);
  if (!file) throw std::runtime_error("cannot open " + path);
  return file;
}

void ReadTabSeparated(
    const std::string& path,
    const std::function<void(std::string_view headword, std::string_view text)>& line) {
  std::ifstream file = OpenSourceFile(path);
  std::string read;
  size_t lineNumber = 0;
  while (std::getline(file, read)) {
    ++lineNumber;
    if (lineNumber == 1 && read.rfind("\xEF\xBB\xBF", 0) == 0) read.erase(0, 3);
    const std::string_view trimmed = Trim(read);
    if (trimmed.empty() || trimmed.front() == '#') continue;
    const size_t tab = read.find('\t');
    if (tab == std::string::npos) {
      throw std::runtime_error(path + ":" + std::to_string(lineNumber) +
                               ": expected headword<TAB>text");
    }
    line(Trim(std::string_view(read).substr(0, tab)), Trim(std::string_view(read).substr(tab + 1)));
  }
  if (file.bad()) throw std::runtime_error("cannot read " + path);
}

}  // namespace parlivo
