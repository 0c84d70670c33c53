#include "SourceEntry.h"

#include <cctype>
#include <filesystem>
#include <fstream>
#include <stdexcept>

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

bool IsSenseStart(std::string_view word) {
  if (word.size() < 2 || word.back() != ':') return false;
  for (size_t i = 0; i + 1 < word.size(); ++i) {
    if (!std::isdigit(static_cast<unsigned char>(word[i]))) return false;
  }
  return true;
}

bool IsPartOfSpeech(std::string_view word) {
  return word == "n" || word == "v" || word == "adj" || word == "adv";
}

// A WordNet sense without its examples and [syn: ...] lists.
std::string_view Gloss(std::string_view sense) {
  const size_t example = sense.find("; \"");
  sense = sense.substr(0, example);
  const size_t list = sense.find(" [");
  sense = sense.substr(0, list);
  if (!sense.empty() && sense.front() == '"') return {};
  return Trim(sense);
}

}  // namespace

TSourceEntry ParseFreedictEntry(const TDictdEntry& entry) {
  TSourceEntry result;
  const auto lines = SplitLines(entry.Text);
  const std::string_view header = Trim(lines.front());
  const size_t slash = header.find(" /");
  result.Headword = std::string(Trim(header.substr(0, slash)));
  if (slash != std::string_view::npos) {
    const size_t end = header.find('/', slash + 2);
    result.Pronunciation = std::string(
        header.substr(slash + 2, end == std::string_view::npos ? end : end - slash - 2));
  }
  if (result.Headword.empty()) result.Headword = entry.Key;
  for (size_t i = 1; i < lines.size(); ++i) {
    std::string_view line = Trim(lines[i]);
    if (line.empty()) continue;
    if (line.front() == '"' || IsLabelLine(line)) {
      ++result.Weight;
      continue;
    }
    line = WithoutSenseNumber(line);
    std::string clean = RemoveDelimited(line, '<', '>', ",");
    clean = RemoveDelimited(clean, '[', ']', "");
    clean = RemoveDelimited(clean, '{', '}', "");
    clean = RemovePronunciations(clean);
    AddSplitItems(clean, result.Items);
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

TSourceEntry ParseWordnetEntry(const TDictdEntry& entry) {
  TSourceEntry result;
  const auto lines = SplitLines(entry.Text);
  result.Headword = std::string(Trim(lines.front()));
  if (result.Headword.empty()) result.Headword = entry.Key;

  // The senses run over several lines: work on the words.
  std::vector<std::string_view> words;
  for (size_t i = 1; i < lines.size(); ++i) {
    std::string_view line = lines[i];
    size_t start = 0;
    for (size_t k = 0; k <= line.size(); ++k) {
      if (k == line.size() || IsSpace(line[k])) {
        if (k > start) words.push_back(line.substr(start, k - start));
        start = k + 1;
      }
    }
  }
  std::vector<std::string> senses;
  bool inSense = false;
  for (size_t i = 0; i < words.size(); ++i) {
    if (IsSenseStart(words[i])) {
      senses.emplace_back();
      inSense = true;
      continue;
    }
    // A part-of-speech word that opens the next sense is not part of this one.
    if (IsPartOfSpeech(words[i]) && i + 1 < words.size() && IsSenseStart(words[i + 1])) continue;
    if (!inSense) continue;
    if (!senses.back().empty()) senses.back().push_back(' ');
    senses.back().append(words[i]);
  }
  for (const auto& sense : senses) {
    const std::string_view gloss = Gloss(sense);
    if (!gloss.empty()) result.Items.emplace_back(gloss);
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
