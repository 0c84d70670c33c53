#include "Pivot.h"

#include <algorithm>
#include <cmath>

#include "EntryText.h"
#include "Latin1.h"

namespace parlivo {

std::string ComparableWord(const std::string& word) {
  const THeadword stored = StoredHeadword(word);
  if (!stored.Key.empty()) return stored.Key;
  return AsciiLower(word);
}

std::string PivotKey(const std::string& word, bool caseMatters) {
  return (caseMatters && StartsWithCapital(word) ? "^" : "") + ComparableWord(word);
}

TKeyedDictionary Keyed(const std::vector<TSourceEntry>& entries, bool caseMatters) {
  TKeyedDictionary keyed;
  for (const auto& entry : entries) {
    TKeyedItems& items = keyed[PivotKey(entry.Headword, caseMatters)];
    for (size_t i = 0; i < entry.Items.size(); ++i) {
      items.Items.push_back(entry.Items[i]);
      items.Senses.push_back(i < entry.Senses.size() ? entry.Senses[i] : 1);
    }
  }
  return keyed;
}

TKeyedDictionary KeyedTurned(const std::vector<TSourceEntry>& xToMiddle, bool caseMatters) {
  TKeyedDictionary keyed;
  for (const auto& entry : xToMiddle) {
    for (size_t i = 0; i < entry.Items.size(); ++i) {
      TKeyedItems& items = keyed[PivotKey(entry.Items[i], caseMatters)];
      if (std::find(items.Items.begin(), items.Items.end(), entry.Headword) != items.Items.end())
        continue;
      items.Items.push_back(entry.Headword);
      items.Senses.push_back(entry.SenseOf(i));
    }
  }
  return keyed;
}

std::unordered_map<std::string, std::vector<std::string>> Reversed(
    const std::vector<TSourceEntry>& xToEnglish) {
  std::unordered_map<std::string, std::vector<std::string>> reversed;
  for (const auto& entry : xToEnglish) {
    for (const auto& english : entry.Items) {
      const THeadword stored = StoredHeadword(english);
      if (stored.LeftOut || stored.Key.empty()) continue;
      auto& headwords = reversed[stored.Key];
      if (std::find(headwords.begin(), headwords.end(), entry.Headword) == headwords.end())
        headwords.push_back(entry.Headword);
    }
  }
  return reversed;
}

std::vector<TPivotCandidate> PivotCandidates(const std::vector<TSourceItem>& middle,
                                             const TKeyedDictionary& middleToX, bool caseMatters) {
  std::vector<TPivotCandidate> candidates;  // in order of first appearance
  std::vector<double> partPath;             // the strongest path of each so far
  for (size_t rank = 0; rank < middle.size(); ++rank) {
    const auto found = middleToX.find(PivotKey(middle[rank].Text, caseMatters));
    if (found == middleToX.end()) continue;
    const TKeyedItems& x = found->second;
    for (size_t i = 0; i < x.Items.size(); ++i) {
      const double path =
          1.0 / static_cast<double>(rank + 1) / std::pow(2.0, std::max(0, x.Senses[i] - 1));
      auto same = std::find_if(candidates.begin(), candidates.end(),
                               [&](const auto& candidate) { return candidate.Text == x.Items[i]; });
      if (same == candidates.end()) {
        candidates.push_back({x.Items[i], path, middle[rank].Part, middle[rank].Capital});
        partPath.push_back(path);
        continue;
      }
      same->Score += path;
      double& strongest = partPath[static_cast<size_t>(same - candidates.begin())];
      if (path > strongest) {
        strongest = path;
        same->Part = middle[rank].Part;
        same->Capital = middle[rank].Capital;
      }
    }
  }
  std::stable_sort(candidates.begin(), candidates.end(),
                   [](const auto& a, const auto& b) { return a.Score > b.Score; });
  return candidates;
}

}  // namespace parlivo
