#include "Gcide.h"

#include <algorithm>
#include <cctype>
#include <span>

namespace parlivo {

namespace {

bool IsSpace(char ch) {
  return ch == ' ' || ch == '\t' || ch == '\r';
}

bool HasLetter(std::string_view text) {
  return std::any_of(text.begin(), text.end(),
                     [](char ch) { return std::isalpha(static_cast<unsigned char>(ch)); });
}

// Labels of senses a reader of today does not use: "[Obs.]", "[R.]", "[Prov. Eng.]".
bool OutOfUse(std::string_view label) {
  for (std::string_view mark :
       {"Obs", "Archaic", "R.", "Rare", "Poetic", "Prov.", "Scot", "Dial", "Local"})
    if (label.starts_with(mark)) return true;
  return false;
}

// The text without its groups in open and close, nested ones included; the top-level
// groups' contents are added to removed.
std::string WithoutGroups(std::string_view text, char open, char close,
                          std::vector<std::string>* removed = nullptr) {
  std::string kept, group;
  int depth = 0;
  for (const char ch : text) {
    if (ch == open) {
      if (depth++ > 0) group.push_back(ch);
    } else if (ch == close && depth > 0) {
      if (--depth > 0) {
        group.push_back(ch);
      } else if (removed) {
        removed->push_back(std::move(group));
        group.clear();
      } else {
        group.clear();
      }
    } else if (depth > 0) {
      group.push_back(ch);
    } else {
      kept.push_back(ch);
    }
  }
  return kept;
}

// Cuts text at the first of the given marks.
void CutAt(std::string& text, std::initializer_list<std::string_view> marks) {
  for (std::string_view mark : marks)
    if (const size_t at = text.find(mark); at != std::string::npos) text.erase(at);
}

// Removes the sentences that send the reader elsewhere, and what follows them: "See
// {Mine}.", "Cf. {Till}."
void RemoveReferences(std::string& text) {
  for (std::string_view lead : {"See ", "Cf. "}) {
    for (size_t at = text.find(lead); at != std::string::npos; at = text.find(lead, at)) {
      const bool sentenceStart =
          at == 0 || text.compare(at - 2, 2, ". ") == 0 || text.compare(at - 2, 2, "; ") == 0;
      if (!sentenceStart) {
        ++at;
        continue;
      }
      // What follows names the word and its grammar: "See {What}, pron., 1."
      text.erase(at);
    }
  }
}

// Spaces collapsed, none before punctuation, "--" a semicolon, no punctuation at the ends.
std::string Tidied(std::string_view text) {
  std::string out;
  for (char ch : text) {
    if (ch == '\n' || ch == '\t') ch = ' ';
    if (ch == '{' || ch == '}') continue;
    if (ch == ' ' && (out.empty() || out.back() == ' ')) continue;
    if ((ch == ',' || ch == ';' || ch == '.' || ch == ':') && !out.empty() && out.back() == ' ')
      out.pop_back();
    if (ch == ';' && !out.empty() && (out.back() == ';' || out.back() == ',')) out.pop_back();
    out.push_back(ch);
  }
  auto edge = [](char ch) { return ch == ' ' || ch == ';' || ch == ',' || ch == '.' || ch == ':'; };
  while (!out.empty() && edge(out.back())) out.pop_back();
  size_t start = 0;
  while (start < out.size() && edge(out[start])) ++start;
  return out.substr(start);
}

// The text up to its first full stop that ends a sentence: one outside parentheses,
// before a capital.
std::string FirstSentence(const std::string& text) {
  int depth = 0;
  for (size_t at = 0; at + 2 < text.size(); ++at) {
    if (text[at] == '(') ++depth;
    if (text[at] == ')' && depth > 0) --depth;
    if (text[at] == '.' && depth == 0 && text[at + 1] == ' ' &&
        std::isupper(static_cast<unsigned char>(text[at + 2])))
      return text.substr(0, at);
  }
  return text;
}

// A sense's text as a row shows it; empty when it is out of use or only sends the
// reader elsewhere.
std::string CleanSense(std::string_view raw) {
  std::vector<std::string> labels;
  std::string text = WithoutGroups(raw, '[', ']', &labels);
  if (std::any_of(labels.begin(), labels.end(), [](const std::string& l) { return OutOfUse(l); }))
    return {};
  // Senses the text itself dates: "If; -- a word used by old English authors".
  for (std::string_view dated : {"old English authors", "our old authors", "old writers"})
    if (text.find(dated) != std::string::npos) return {};
  // Quotations and their authors ("--Shak."), and the examples after "as,".
  CutAt(text, {"\"", "; as,", "; as:", ", as,", "; as;", "; e. g", ", e. g"});
  for (size_t at = text.find("--"); at != std::string::npos; at = text.find("--", at + 2)) {
    if (at + 2 < text.size() && text[at + 2] != ' ') {
      text.erase(at);
      break;
    }
  }
  RemoveReferences(text);
  text = FirstSentence(text);
  for (size_t at = text.find("--"); at != std::string::npos; at = text.find("--", at))
    text.replace(at, 2, ";");
  std::string tidy = Tidied(text);
  if (!HasLetter(tidy)) return {};
  if (std::islower(static_cast<unsigned char>(tidy[0])))
    tidy[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(tidy[0])));
  return tidy;
}

// The grammar that stands between an article's headwords and its definition: its words
// and its abbreviations.
constexpr std::string_view kGrammarWords[] = {"definite article",
                                              "indefinite article",
                                              "article",
                                              "auxiliary",
                                              "possessive",
                                              "personal",
                                              "relative",
                                              "demonstrative",
                                              "interrogative",
                                              "reflexive",
                                              "compound",
                                              "&",
                                              "or",
                                              "and"};
constexpr std::string_view kGrammarAbbreviations[] = {
    "prop.",   "n.",      "v.",      "t.",    "i.",   "a.",    "adv.", "prep.",
    "conj.",   "pron.",   "interj.", "pl.",   "p.",   "pr.",   "imp.", "poss.",
    "superl.", "compar.", "obj.",    "sing.", "nom.", "pers.", "rel.", "interrog.",
    "dem.",    "indef.",  "def.",    "num.",  "adj.", "pres."};

// The word or abbreviation of grammar text starts with, empty for none.
std::string_view GrammarTermAtStart(std::string_view text) {
  using TTerms = std::span<const std::string_view>;
  for (const TTerms terms : {TTerms(kGrammarWords), TTerms(kGrammarAbbreviations)}) {
    for (std::string_view term : terms) {
      if (!text.starts_with(term)) continue;
      const char next = text.size() > term.size() ? text[term.size()] : ' ';
      if (IsSpace(next) || next == ',' || next == ';' || next == '.') return term;
    }
  }
  return {};
}

// The grammar after an article's headwords: ", a. & poss. pron.", ", imp. of {Will}.".
// Returns the text after it; the terms it names are added to terms.
std::string_view AfterGrammar(std::string_view text, std::vector<std::string_view>& terms) {
  for (;;) {
    while (!text.empty() && (IsSpace(text.front()) || text.front() == ',' || text.front() == ';'))
      text.remove_prefix(1);
    if (const std::string_view term = GrammarTermAtStart(text); !term.empty()) {
      terms.push_back(term);
      text.remove_prefix(term.size());
      continue;
    }
    // The forms the grammar names: "pl. {These}", "poss. {Their}".
    if (text.starts_with("{")) {
      const size_t close = text.find('}');
      if (close == std::string_view::npos) return text;
      text.remove_prefix(close + 1);
      continue;
    }
    // "imp. of {Will}.", "pl. of I.": the word a form is of.
    if (text.starts_with("of ")) {
      const size_t close = text.find(text[3] == '{' ? '}' : '.');
      if (close == std::string_view::npos) return text;
      text.remove_prefix(close + 1);
      if (!text.empty() && text.front() == '.') text.remove_prefix(1);
      continue;
    }
    return text;
  }
}

enum class TSegmentKind { Header, Sense, Plain, Ignored };

struct TSegment {
  TSegmentKind Kind;
  std::string Text;
};

// Whether text leaves a bracket open: an etymology that goes on on the next line.
bool InsideBrackets(std::string_view text) {
  int depth = 0;
  for (const char ch : text) depth += ch == '[' ? 1 : ch == ']' && depth > 0 ? -1 : 0;
  return depth > 0;
}

bool StartsNumbered(std::string_view body) {
  size_t digits = 0;
  while (digits < body.size() && std::isdigit(static_cast<unsigned char>(body[digits]))) ++digits;
  return digits > 0 && digits + 1 < body.size() && body[digits] == '.' && body[digits + 1] == ' ';
}

// The article's lines in runs: its header, numbered senses, plain definitions, and what
// no row shows (quotations, notes, synonyms, phrases).
std::vector<TSegment> Segments(std::string_view article) {
  std::vector<TSegment> segments;
  bool afterBlank = false;
  auto start = [&](TSegmentKind kind, std::string_view body) {
    segments.push_back({kind, std::string(body)});
  };
  for (size_t from = 0; from <= article.size();) {
    size_t end = article.find('\n', from);
    if (end == std::string_view::npos) end = article.size();
    const std::string_view line = article.substr(from, end - from);
    from = end + 1;
    size_t indent = 0;
    while (indent < line.size() && IsSpace(line[indent])) ++indent;
    const std::string_view body = line.substr(indent);
    if (body.empty()) {
      afterBlank = !segments.empty();
      continue;
    }
    const bool shallow = indent <= 5;
    if (segments.empty()) {
      start(TSegmentKind::Header, body);
    } else if (shallow && StartsNumbered(body)) {
      start(TSegmentKind::Sense, body.substr(body.find(' ') + 1));
    } else if (shallow && (body.starts_with("Note:") || body.starts_with("Syn:") ||
                           body.starts_with("Usage:") ||
                           (afterBlank && (body.front() == '{' || body.starts_with("--"))))) {
      start(TSegmentKind::Ignored, body);
    } else if (body.front() == '[' && body.find(']') != std::string_view::npos &&
               !InsideBrackets(segments.back().Text)) {
      // "[1913 Webster]" closes a run; the index's words may follow it on the same line.
      segments.back().Text += " " + std::string(body.substr(0, body.find(']') + 1));
    } else if (shallow && (afterBlank || segments.back().Kind == TSegmentKind::Ignored)) {
      start(TSegmentKind::Plain, body);
    } else if (!shallow && afterBlank) {
      start(TSegmentKind::Ignored, body);  // a quotation
    } else {
      segments.back().Text += " " + std::string(body);
    }
    afterBlank = false;
  }
  return segments;
}

// An article's header: the grammar it names, and the definition that may follow it
// before any numbered sense.
struct THeader {
  std::vector<std::string_view> Grammar;
  std::string Definition;
};

THeader ReadHeader(const std::string& text) {
  THeader header;
  // Whatever follows the last headword's "\...\" and the grammar: pronunciation in
  // parentheses and etymology in brackets go first.
  const size_t last = text.rfind('\\');
  if (last == std::string::npos) return header;
  std::vector<std::string> labels;
  const std::string rest = WithoutGroups(
      WithoutGroups(std::string_view(text).substr(last + 1), '(', ')'), '[', ']', &labels);
  header.Definition = std::string(AfterGrammar(rest, header.Grammar));
  // Labels that stood in the header's brackets belong to its definition.
  for (const auto& label : labels)
    if (OutOfUse(label)) header.Definition.clear();
  return header;
}

bool Names(const THeader& header, std::string_view term) {
  return std::find(header.Grammar.begin(), header.Grammar.end(), term) != header.Grammar.end();
}

}  // namespace

std::vector<std::string> GcideHeadwords(std::string_view article) {
  std::vector<std::string> words;
  const std::string_view firstLine = article.substr(0, article.find('\n'));
  size_t open = firstLine.find('\\');
  while (open != std::string_view::npos) {
    const size_t close = firstLine.find('\\', open + 1);
    if (close == std::string_view::npos) break;
    std::string word;
    for (const char ch : firstLine.substr(open + 1, close - open - 1)) {
      if (ch == '*' || ch == '"' || ch == '`' || ch == '\'') continue;
      word.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(ch))));
    }
    if (!word.empty()) words.push_back(std::move(word));
    open = firstLine.find('\\', close + 1);
  }
  return words;
}

std::vector<std::string> GcideSenses(std::string_view article) {
  std::vector<std::string> senses;
  for (const TSegment& segment : Segments(article)) {
    std::string text;
    switch (segment.Kind) {
      case TSegmentKind::Ignored:
        continue;
      case TSegmentKind::Header: {
        THeader header = ReadHeader(segment.Text);
        if (Names(header, "prop.")) return {};
        text = std::move(header.Definition);
        break;
      }
      default:
        text = segment.Text;
    }
    std::string sense = CleanSense(text);
    if (!sense.empty()) senses.push_back(std::move(sense));
  }
  return senses;
}

bool GcideOfFunctionWord(std::string_view article) {
  const auto segments = Segments(article);
  if (segments.empty()) return false;
  const THeader header = ReadHeader(segments.front().Text);
  for (std::string_view term : {"pron.", "prep.", "conj.", "definite article", "indefinite article",
                                "article", "auxiliary", "possessive"})
    if (Names(header, term)) return true;
  return false;
}

}  // namespace parlivo
