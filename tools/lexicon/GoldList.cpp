#include "GoldList.h"

#include <algorithm>
#include <fstream>
#include <stdexcept>

#include "Latin1.h"

namespace parlivo {

namespace {

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\r')) text.remove_suffix(1);
  return text;
}

std::vector<std::string> Split(std::string_view text, std::string_view separator) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (true) {
    const size_t end = text.find(separator, start);
    parts.emplace_back(Trimmed(text.substr(start, end - start)));
    if (end == std::string_view::npos) break;
    start = end + separator.size();
  }
  return parts;
}

// Removes a leading "~ " and "(base) ", the marks of a text that came through another
// language and of an inflected form's base word.
std::string_view WithoutMarks(std::string_view text) {
  if (text.substr(0, 2) == "~ ") text.remove_prefix(2);
  if (!text.empty() && text.front() == '(') {
    const size_t close = text.find(") ");
    if (close != std::string_view::npos) text.remove_prefix(close + 2);
  }
  if (text.substr(0, 2) == "~ ") text.remove_prefix(2);
  return text;
}

std::string WithoutBrackets(std::string_view text) {
  std::string out;
  int depth = 0;
  for (const char ch : text) {
    if (ch == '(' || ch == '[' || ch == '{') {
      ++depth;
    } else if (ch == ')' || ch == ']' || ch == '}') {
      depth = std::max(0, depth - 1);
    } else if (depth == 0) {
      out.push_back(ch);
    }
  }
  return out;
}

constexpr std::string_view kArticles[] = {
    "der ", "die ", "das ", "ein ", "eine ", "le ",  "la ",  "les ", "l'",  "un ", "une ",
    "de ",  "het ", "een ", "il ",  "lo ",   "gli ", "uno ", "una ", "un'", "el ", "los ",
    "las ", "o ",   "a ",   "os ",  "as ",   "um ",  "uma ", "to ",  "i "};

}  // namespace

std::vector<TGoldWord> ReadGoldList(const std::string& path) {
  std::ifstream file(path);
  if (!file) throw std::runtime_error("cannot read " + path);
  std::vector<TGoldWord> words;
  for (std::string line; std::getline(file, line);) {
    if (line.empty() || line.front() == '#') continue;
    const size_t tab = line.find('\t');
    if (tab == std::string::npos) throw std::runtime_error(path + ": no tab in \"" + line + "\"");
    TGoldWord word{line.substr(0, tab), {}, false};
    const std::string_view rest = Trimmed(std::string_view(line).substr(tab + 1));
    if (rest == "SKIP") {
      word.Skipped = true;
    } else if (rest != "NONE") {
      for (auto& accepted : Split(rest, "|"))
        if (!accepted.empty()) word.Accepted.push_back(std::move(accepted));
    }
    words.push_back(std::move(word));
  }
  return words;
}

std::string ComparableTranslation(std::string_view latin1) {
  std::string text = Latin1Lower(WithoutBrackets(WithoutMarks(Trimmed(latin1))));
  std::string collapsed;
  for (const char ch : text) {
    if (ch == ' ' && (collapsed.empty() || collapsed.back() == ' ')) continue;
    collapsed.push_back(ch);
  }
  while (!collapsed.empty() &&
         (collapsed.back() == ' ' || collapsed.back() == '.' || collapsed.back() == '!'))
    collapsed.pop_back();
  for (const std::string_view article : kArticles) {
    if (collapsed.size() > article.size() && collapsed.compare(0, article.size(), article) == 0) {
      collapsed.erase(0, article.size());
      break;
    }
  }
  return collapsed;
}

std::vector<std::string> RowItems(std::string_view latin1Text, bool definitions) {
  std::vector<std::string> items = Split(WithoutMarks(latin1Text), definitions ? "; " : ", ");
  if (!definitions) {
    // "; " also separates translations in some texts.
    std::vector<std::string> split;
    for (const auto& item : items)
      for (auto& part : Split(item, "; ")) split.push_back(std::move(part));
    items.swap(split);
  }
  return items;
}

TGoldVerdict JudgeAgainstGold(std::string_view latin1Text, const TGoldWord& gold,
                              bool definitions) {
  std::vector<std::string> accepted;
  for (const auto& utf8 : gold.Accepted) {
    const auto latin1 = ToLatin1(utf8);
    if (!latin1) continue;
    // A definition is compared by its first part, as a row's definitions are split.
    accepted.push_back(ComparableTranslation(
        definitions ? std::string_view(*latin1).substr(0, latin1->find("; ")) : *latin1));
  }
  const auto items = RowItems(latin1Text, definitions);
  auto right = [&](const std::string& item) {
    return std::find(accepted.begin(), accepted.end(), ComparableTranslation(item)) !=
           accepted.end();
  };
  if (!items.empty() && right(items.front())) return TGoldVerdict::FirstRight;
  return std::any_of(items.begin(), items.end(), right) ? TGoldVerdict::LaterRight
                                                        : TGoldVerdict::NothingRight;
}

}  // namespace parlivo
