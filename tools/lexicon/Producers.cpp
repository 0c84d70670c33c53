#include "Producers.h"

#include <algorithm>
#include <optional>
#include <ostream>
#include <set>

#include "Gcide.h"
#include "LexiconBuilder.h"
#include "WordNet.h"

namespace parlivo {

namespace {

std::string Grouped(size_t value) {
  std::string digits = std::to_string(value);
  for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3)
    digits.insert(static_cast<size_t>(at), ",");
  return digits;
}

bool HasCapital(std::string_view text) {
  return std::any_of(text.begin(), text.end(), [](char ch) { return ch >= 'A' && ch <= 'Z'; });
}

// Dictionaries that index phrases under their first word keep the phrase only in the
// pronunciation ("go /gouaut/" beside "go /gou/" for "go out"): an entry whose
// pronunciation extends the shortest one of its headword belongs to a phrase.
std::vector<const TSourceEntry*> MainEntries(std::vector<const TSourceEntry*> group) {
  const TSourceEntry* shortest = nullptr;
  for (const auto* entry : group) {
    if (!entry->Pronunciation.empty() &&
        (!shortest || entry->Pronunciation.size() < shortest->Pronunciation.size())) {
      shortest = entry;
    }
  }
  if (shortest) {
    const std::string& word = shortest->Pronunciation;
    std::erase_if(group, [&](const TSourceEntry* entry) {
      const std::string& own = entry->Pronunciation;
      return own.size() > word.size() && own.compare(0, word.size(), word) == 0;
    });
  }
  // Main senses carry the most examples and notes: they come first.
  std::stable_sort(group.begin(), group.end(), [](const TSourceEntry* a, const TSourceEntry* b) {
    return a->Weight > b->Weight;
  });
  return group;
}

}  // namespace

void TRichestEntryFirst::Begin(const std::string& key, size_t entry, size_t richness,
                               size_t place) {
  auto& entries = FEntries[key];
  if (entries.empty() || entries.back().Number != entry)
    entries.push_back({entry, richness, place, place});
}

void TRichestEntryFirst::End(const std::string& key, size_t place) {
  FEntries[key].back().End = place;
}

void TRichestEntryFirst::Weigh(TProposals& proposals) {
  for (auto& [key, entries] : FEntries) {
    if (entries.size() < 2) continue;
    std::stable_sort(entries.begin(), entries.end(),
                     [](const TEntry& a, const TEntry& b) { return a.Richness > b.Richness; });
    auto& own = proposals[key];
    for (size_t rank = 1; rank < entries.size(); ++rank) {
      for (size_t at = entries[rank].Begin; at < entries[rank].End; ++at)
        own[at].Strength *= RankStrength(0, static_cast<int>(rank) + 1);
    }
  }
  FEntries.clear();
}

void CountLeftOut(TLeftOutReason reason, TLanguageSummary& summary) {
  switch (reason) {
    case TLeftOutReason::NoLatin1Form:
      ++summary.NoLatin1Form;
      break;
    case TLeftOutReason::LongerThan30:
      ++summary.LongerThan30;
      break;
    case TLeftOutReason::UnreachableStart:
      ++summary.UnreachableStart;
      break;
  }
}

std::vector<TSourceEntry> ReadSource(const TLanguageSource& source, std::ostream& log) {
  log << source.Language << ": reading " << source.Path << std::endl;
  const auto raw = ReadDictd(source.Path, [&](size_t lines) {
    log << "  " << Grouped(lines) << " index lines\r" << std::flush;
  });
  log << std::endl;
  std::vector<TSourceEntry> entries;
  entries.reserve(raw.size());
  for (const auto& entry : raw) {
    entries.push_back(source.Format == TSourceFormat::Pivot ? ParseWikdictEntry(entry)
                                                            : ParseFreedictEntry(entry));
  }
  return entries;
}

TSourceItems ReadItems(const TLanguageSource& source, TLanguageSummary& summary, std::ostream& log,
                       TKeying keying) {
  const auto entries = ReadSource(source, log);
  TSourceItems read;
  read.Entries = entries.size();
  std::map<std::string, std::vector<const TSourceEntry*>> groups;
  std::set<std::pair<TLeftOutReason, std::string>> leftOut;
  for (const auto& entry : entries) {
    THeadword headword = KeyedHeadword(entry.Headword, keying);
    if (headword.LeftOut) {
      leftOut.insert({*headword.LeftOut, entry.Headword});
    } else {
      groups[headword.Key].push_back(&entry);
    }
  }
  for (const auto& [reason, headword] : leftOut) CountLeftOut(reason, summary);
  for (const auto& [key, group] : groups) {
    std::vector<TSourceItem>& items = read.Items[key];
    // Each entry of a headword is a sense of its own, as is each numbered line.
    int senses = 0;
    for (const auto* entry : MainEntries(group)) {
      const bool capital = HasCapital(entry->Headword);
      int last = 0;
      size_t rank = 0;
      for (size_t i = 0; i < entry->Items.size(); ++i) {
        const int sense = senses + entry->SenseOf(i);
        rank = sense == last ? rank + 1 : 0;
        last = sense;
        items.push_back({entry->Items[i], entry->PartOf(i), sense, rank, capital,
                         entry->UsageOf(i).AsTranslation()});
      }
      senses = std::max(senses, last);
    }
  }
  return read;
}

namespace {

// Whether a dictionary lists each sense's translations in alphabetical order, as those
// made from Wiktionary's tables do: then their order says nothing of which is the most
// used. Decided on the senses of three translations or more.
bool SensesInAlphabeticalOrder(const TSourceItems& read) {
  size_t senses = 0, sorted = 0;
  for (const auto& [key, items] : read.Items) {
    for (size_t start = 0; start < items.size();) {
      size_t end = start;
      while (end < items.size() && items[end].Sense == items[start].Sense) ++end;
      if (end - start >= 3) {
        ++senses;
        sorted += std::is_sorted(
            items.begin() + static_cast<std::ptrdiff_t>(start),
            items.begin() + static_cast<std::ptrdiff_t>(end),
            [](const TSourceItem& a, const TSourceItem& b) { return a.Text < b.Text; });
      }
      start = end;
    }
  }
  return senses > 0 && 10 * sorted > 8 * senses;
}

}  // namespace

void ProduceDictionary(const TSourceItems& read, uint8_t place, TProposals& proposals) {
  const bool alphabetical = SensesInAlphabeticalOrder(read);
  for (const auto& [key, items] : read.Items) {
    auto& own = proposals[key];
    for (size_t at = 0; at < items.size(); ++at) {
      const TSourceItem& item = items[at];
      const float strength =
          (alphabetical ? RankStrength(0, item.Sense) : RankStrength(at, item.Sense)) * item.Usage;
      own.push_back({item.Text, item.Part, place, item.Capital, strength});
    }
  }
}

void ProduceReversed(const std::vector<TSourceEntry>& entries, uint8_t place, TProposals& proposals,
                     TKeying keying) {
  for (const auto& entry : entries) {
    for (size_t i = 0; i < entry.Items.size(); ++i) {
      const THeadword stored = KeyedHeadword(entry.Items[i], keying);
      if (stored.LeftOut || stored.Key.empty()) continue;
      auto& own = proposals[stored.Key];
      // A capital in a row keyed by spelling is the word's own, no other sense's.
      own.push_back({entry.Headword, entry.PartOf(i), place,
                     keying == TKeying::English && HasCapital(entry.Items[i]),
                     RankStrength(i, entry.SenseOf(i)) * entry.UsageOf(i).AsHeadword()});
    }
  }
}

void ProduceTurned(const TSourceItems& rows, uint8_t place, TProposals& proposals) {
  for (const auto& [key, items] : rows.Items) {
    const std::string english = ToUtf8(FromLatin1(key));
    for (const TSourceItem& item : items) {
      const THeadword spelt = SpeltHeadword(item.Text);
      if (spelt.LeftOut) continue;
      proposals[spelt.Key].push_back(
          {english, item.Part, place, false, RankStrength(item.Rank, item.Sense)});
    }
  }
}

namespace {

// The pivot's candidates for each headword that keep(headword, middle words, candidate)
// accepts.
template <class Keep>
void ProducePivotKept(const TSourceItems& firstLeg, const TKeyedDictionary& middleToX,
                      uint8_t place, TProposals& proposals, bool caseMatters, Keep keep) {
  for (const auto& row : firstLeg.Items) {
    const std::string& key = row.first;
    const std::vector<TSourceItem>& items = row.second;
    auto candidates = PivotCandidates(items, middleToX, caseMatters);
    std::erase_if(candidates,
                  [&](const TPivotCandidate& candidate) { return !keep(key, items, candidate); });
    if (candidates.empty()) continue;
    auto& own = proposals[key];
    for (const auto& candidate : candidates)
      own.push_back({candidate.Text, candidate.Part, place, candidate.Capital,
                     static_cast<float>(candidate.Score)});
  }
}

}  // namespace

void ProducePivot(const TSourceItems& firstLeg, const TKeyedDictionary& middleToX, uint8_t place,
                  TProposals& proposals, bool caseMatters) {
  ProducePivotKept(firstLeg, middleToX, place, proposals, caseMatters,
                   [](const auto&, const auto&, const auto&) { return true; });
}

void ProducePivotToEnglish(const TSourceItems& wordsToMiddle, const TSourceItems& middleRows,
                           uint8_t place, TProposals& proposals) {
  // A middle word's row leads with its likeliest English word: the others count as
  // a second sense.
  TKeyedDictionary middleToEnglish;
  for (const auto& [spelt, items] : middleRows.Items) {
    TKeyedItems& keyed = middleToEnglish[ComparableWord(spelt)];
    for (const TSourceItem& item : items) {
      keyed.Items.push_back(item.Text);
      keyed.Senses.push_back(keyed.Senses.empty() ? 1 : 2);
    }
  }
  // A name the middle language spells its own way is no English for the word: Dutch
  // "Thomas" is not "Tomás", though Spanish's row of "Tomás" says only that. One spelt
  // as the word is ("Lucas", "Daniel" of "Daniël").
  ProducePivotKept(
      wordsToMiddle, middleToEnglish, place, proposals, false,
      [](const std::string& word, const std::vector<TSourceItem>& middle,
         const TPivotCandidate& candidate) {
        if (!HasCapital(candidate.Text) || ReverseKey(candidate.Text) == ReverseKey(word))
          return true;
        return std::none_of(middle.begin(), middle.end(),
                            [&](const TSourceItem& m) { return m.Text == candidate.Text; });
      });
}

std::unordered_map<std::string, TPartOfSpeech> HeadwordParts(const std::string& dictdPath,
                                                             std::ostream& log) {
  log << "Reading the parts of speech of " << dictdPath << "'s headwords" << std::endl;
  std::unordered_map<std::string, TPartOfSpeech> parts;
  for (const auto& entry : ReadDictd(dictdPath)) {
    const std::string_view header = std::string_view(entry.Text).substr(0, entry.Text.find('\n'));
    const size_t open = header.rfind(" <");
    if (open == std::string_view::npos || header.back() != '>') continue;
    const std::string_view tags = header.substr(open + 2, header.size() - open - 3);
    const TPartOfSpeech part = PartOfTag(tags.substr(0, tags.find(',')));
    if (part == TPartOfSpeech::Unknown) continue;
    const std::string headword(header.substr(0, header.find(" /")));
    const auto [known, fresh] = parts.emplace(headword, part);
    if (!fresh && known->second != part) known->second = TPartOfSpeech::Unknown;
  }
  return parts;
}

void ProduceDefinitions(const TWordNet& wordNet, uint8_t place, TProposals& proposals,
                        TLanguageSummary& summary) {
  for (const std::string& lemma : wordNet.Lemmas()) {
    ++summary.SourceEntries;
    const THeadword stored = StoredHeadword(lemma);
    if (stored.LeftOut) {
      CountLeftOut(*stored.LeftOut, summary);
      continue;
    }
    const auto senses = wordNet.Senses(lemma);
    auto& own = proposals[stored.Key];
    for (size_t rank = 0; rank < senses.size(); ++rank) {
      const auto& sense = senses[rank];
      if (!sense.Gloss.empty())
        own.push_back({sense.Gloss, sense.Part, place, sense.Capital, RankStrength(rank)});
    }
  }
}

void ProduceGcide(const std::vector<TDictdEntry>& articles,
                  const std::function<bool(const std::string&, bool)>& take, uint8_t place,
                  TProposals& proposals, TLanguageSummary& summary) {
  // A word keeps at most this many senses, its articles' in their order.
  constexpr size_t kMostSenses = 5;
  for (const TDictdEntry& article : articles) {
    ++summary.SourceEntries;
    const bool functionWord = GcideOfFunctionWord(article.Text);
    std::optional<std::vector<std::string>> senses;  // read for the first word taken
    for (const std::string& word : GcideHeadwords(article.Text)) {
      if (!take(word, functionWord)) continue;
      const THeadword stored = StoredHeadword(word);
      if (stored.LeftOut) continue;
      if (!senses) senses = GcideSenses(article.Text);
      auto& own = proposals[stored.Key];
      size_t taken = static_cast<size_t>(std::count_if(
          own.begin(), own.end(), [&](const TProposal& p) { return p.Source == place; }));
      for (const std::string& sense : *senses) {
        if (taken >= kMostSenses) break;
        // Taken where WordNet has nothing or only senses never met in use: before those
        // ("he" is a pronoun before it is a Hebrew letter).
        const float strength = RankStrength(taken++) + 1.0f;
        own.push_back({sense, TPartOfSpeech::Unknown, place, false, strength});
      }
      if (own.empty()) proposals.erase(stored.Key);
    }
  }
}

}  // namespace parlivo
