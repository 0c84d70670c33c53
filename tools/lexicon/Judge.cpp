#include "Judge.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <ostream>
#include <unordered_map>

#include "EntryText.h"
#include "Latin1.h"
#include "Spelling.h"

namespace parlivo {

namespace {

// One translation with everything said for it.
struct TGroup {
  std::string Translation;
  size_t FirstSeen = 0;
  uint64_t Sources = 0;
  float Evidence = 0;
  float PivotScore = 0;  // the strengths of the pivots that give it, summed
  std::array<float, kPartCount> PartStrength{};
  bool AllCapital = true;
  bool AllPivot = true;
  bool Doubtful = false;  // a word the spelling dictionary does not know
};

std::string Collapsed(std::string_view text) {
  std::string out;
  for (const char ch : text) {
    if (ch == ' ' && (out.empty() || out.back() == ' ')) continue;
    out.push_back(ch);
  }
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

// The part of speech its sources give a translation most strongly, if any does.
TPartOfSpeech StrongestPart(const TGroup& group) {
  size_t best = 0;
  for (size_t part = 1; part < kPartCount; ++part)
    if (group.PartStrength[part] > (best == 0 ? 0.0f : group.PartStrength[best])) best = part;
  return static_cast<TPartOfSpeech>(best);
}

// How much more a translation weighs for its words' place in the frequency list,
// nothing when a word is not in the list. A phrase is rarer than its rarest word: each
// other word adds how much rarer it is than the commonest words, so that "tear drops"
// comes after "tears", while "se rappeler" and "en haut" stand where their verb and
// adverb do.
float FrequencyFactor(std::string_view translation, const TWordFrequencies& frequencies,
                      const TJudgeRules& rules) {
  const auto latin1 = ToLatin1(translation);
  if (!latin1) return 1;
  const std::string lower = Latin1Lower(*latin1);
  // A place is the logarithm of the rank, 0 for the first word and 1 for the last; the
  // commonest words, articles and pronouns, lie below this one.
  constexpr float kCommonestPlace = 0.5f;
  float rarest = -1;
  float beyondCommonest = 0;
  const bool allListed = ForEachWord(lower, [&](std::string_view word) {
    const auto rank = frequencies.Ranks.find(std::string(word));
    if (rank == frequencies.Ranks.end() || rank->second == 0) return false;
    const float place = std::log(static_cast<float>(rank->second)) /
                        std::log(static_cast<float>(frequencies.Count));
    rarest = std::max(rarest, place);
    beyondCommonest += std::max(0.0f, place - kCommonestPlace);
    return true;
  });
  if (!allListed || rarest < 0) return 1;
  const float place = rarest + beyondCommonest - std::max(0.0f, rarest - kCommonestPlace);
  return 1 + rules.FrequencyWeight * std::max(0.0f, 1 - place);
}

// True when a word of the translation ends as an infinitive does; a pronoun joined with
// a hyphen ("lembrar-se") is no part of the verb.
bool HasInfinitive(std::string_view translation, const std::vector<std::string_view>& endings) {
  return !ForEachWord(translation, [&](std::string_view word) {
    word = word.substr(0, word.find('-'));
    return std::none_of(endings.begin(), endings.end(), [&](std::string_view ending) {
      return word.size() > ending.size() && word.ends_with(ending);
    });
  });
}

// True when plural is the regular English plural of singular: "chapters" of "chapter",
// "boxes" of "box", "ladies" of "lady".
bool IsEnglishPluralOf(std::string_view plural, std::string_view singular) {
  const auto madeOf = [&](std::string_view stem, std::string_view ending) {
    return plural.size() == stem.size() + ending.size() && plural.starts_with(stem) &&
           plural.ends_with(ending);
  };
  if (singular.empty()) return false;
  if (madeOf(singular, "s")) return true;
  const char last = singular.back();
  const bool sibilant = last == 's' || last == 'x' || last == 'z' || singular.ends_with("ch") ||
                        singular.ends_with("sh");
  if (sibilant && madeOf(singular, "es")) return true;
  if (last == 'y' && singular.size() >= 2 &&
      std::string_view("aeiou").find(singular[singular.size() - 2]) == std::string_view::npos)
    return madeOf(singular.substr(0, singular.size() - 1), "ies");
  return false;
}

// How much more a translation weighs for the number of sources that agree on it.
float Agreement(uint64_t sources, const TJudgeRules& rules) {
  return 1 + rules.AgreementBonus * static_cast<float>(std::popcount(sources) - 1);
}

// The groups of the row's proposals, each weighed by its sources.
std::vector<TGroup> Grouped(const std::vector<TProposal>& proposals, const TRowContext& context,
                            const TJudgeRules& rules) {
  std::vector<TGroup> groups;
  // The best strength each source gives each group, for the evidence.
  std::vector<std::vector<float>> best;
  for (const TProposal& proposal : proposals) {
    const bool wrongPart = context.OnlyPart != TPartOfSpeech::Unknown &&
                           (proposal.Part != TPartOfSpeech::Unknown || context.OnlyTagged) &&
                           proposal.Part != context.OnlyPart;
    if (wrongPart) continue;
    if (context.OnlyPart == TPartOfSpeech::Verb && proposal.Part == TPartOfSpeech::Unknown &&
        !context.InfinitiveEndings.empty() &&
        !HasInfinitive(proposal.Translation, context.InfinitiveEndings))
      continue;
    std::string translation = Collapsed(proposal.Translation);
    if (translation.empty()) continue;
    if (context.EnglishTranslations && context.Spelling)
      translation = context.Spelling->InMainSpelling(translation);
    auto group = std::find_if(groups.begin(), groups.end(),
                              [&](const TGroup& g) { return g.Translation == translation; });
    if (group == groups.end()) {
      groups.push_back(TGroup{std::move(translation), groups.size()});
      best.emplace_back(64, 0.0f);
      group = groups.end() - 1;
    }
    const size_t at = static_cast<size_t>(group - groups.begin());
    const TSourceKind kind = (*context.Kinds)[proposal.Source];
    group->Sources |= uint64_t{1} << proposal.Source;
    best[at][proposal.Source] = std::max(best[at][proposal.Source], proposal.Strength);
    group->PartStrength[static_cast<size_t>(proposal.Part)] += proposal.Strength;
    group->AllCapital = group->AllCapital && proposal.Capital;
    group->AllPivot = group->AllPivot && kind == TSourceKind::Pivot;
  }
  for (size_t at = 0; at < groups.size(); ++at) {
    TGroup& group = groups[at];
    for (size_t source = 0; source < 64; ++source) {
      if (!(group.Sources >> source & 1)) continue;
      const TSourceKind kind = (*context.Kinds)[source];
      group.Evidence += rules.Trust[static_cast<size_t>(kind)] * best[at][source];
      if (kind == TSourceKind::Pivot) group.PivotScore += best[at][source];
    }
    group.Evidence *= Agreement(group.Sources, rules);
    if (context.Commonness && rules.CommonnessExponent != 0) {
      const auto headwords = context.Commonness->find(group.Translation);
      if (headwords != context.Commonness->end())
        group.Evidence *= std::pow(static_cast<float>(headwords->second), rules.CommonnessExponent);
    }
    if (context.Frequencies && context.Frequencies->Count > 1)
      group.Evidence *= FrequencyFactor(group.Translation, *context.Frequencies, rules);
    if (rules.SameWordFactor != 1 && ReverseKey(group.Translation) == ReverseKey(context.Headword))
      group.Evidence *= rules.SameWordFactor;
    const TPartOfSpeech part = StrongestPart(group);
    if (context.PartShareKnown && part != TPartOfSpeech::Unknown && part != TPartOfSpeech::Other) {
      const float share = context.PartShare[static_cast<size_t>(part)];
      group.Evidence *= rules.RarePartFloor + (1 - rules.RarePartFloor) * share;
    }
  }
  return groups;
}

// Checks each translation's words: words run together are put apart, and what the
// language does not know goes last.
void CheckSpelling(std::vector<TGroup>& groups, const TRowContext& context,
                   const TJudgeRules& rules) {
  // Words run together that another source of the row writes apart are those words:
  // "puestoque" is the row's "puesto que", whatever else the dictionary could cut.
  std::unordered_map<std::string, std::string> apart;
  for (const TGroup& group : groups) {
    if (group.Translation.find(' ') == std::string::npos) continue;
    std::string joined = group.Translation;
    std::erase(joined, ' ');
    apart.emplace(std::move(joined), group.Translation);
  }
  for (TGroup& group : groups) {
    // The headword itself, or a loanword made of it ("porno" of "porn"), is no words
    // run together, whatever the spelling dictionary knows.
    if (SameIgnoringAsciiCase(group.Translation, context.Headword)) continue;
    if (context.Headword.size() >= 4 &&
        SameIgnoringAsciiCase(group.Translation.substr(0, context.Headword.size()),
                              context.Headword))
      continue;
    if (const auto written = apart.find(group.Translation); written != apart.end()) {
      group.Translation = written->second;
      continue;
    }
    const auto checked = context.Spelling->Checked(group.Translation);
    if (!checked) {
      group.Doubtful = true;
    } else if (*checked != group.Translation) {
      group.Translation = *checked;
    }
  }
  // A mended translation may now equal another: they become one.
  for (size_t i = 0; i < groups.size(); ++i) {
    for (size_t j = i + 1; j < groups.size();) {
      if (groups[j].Translation != groups[i].Translation) {
        ++j;
        continue;
      }
      // Two spellings of one translation are one witness per source, not two: the
      // better of them stands, with the agreement of the sources only the other had.
      const TGroup& stronger = groups[i].Evidence >= groups[j].Evidence ? groups[i] : groups[j];
      const uint64_t sources = groups[i].Sources | groups[j].Sources;
      groups[i].Evidence =
          stronger.Evidence * Agreement(sources, rules) / Agreement(stronger.Sources, rules);
      groups[i].PivotScore = std::max(groups[i].PivotScore, groups[j].PivotScore);
      groups[i].Sources = sources;
      groups[i].AllPivot = groups[i].AllPivot && groups[j].AllPivot;
      groups[i].AllCapital = groups[i].AllCapital && groups[j].AllCapital;
      groups.erase(groups.begin() + static_cast<std::ptrdiff_t>(j));
    }
  }
}

// The row's groups as the judge orders them, those it drops gone.
std::vector<TGroup> Ordered(const std::vector<TProposal>& proposals, const TRowContext& context,
                            const TJudgeRules& rules, bool& direct) {
  std::vector<TGroup> groups = Grouped(proposals, context, rules);
  if (context.Spelling && !context.Definitions) CheckSpelling(groups, context, rules);

  const auto hasLetters = [](const TGroup& g) {
    return std::any_of(g.Translation.begin(), g.Translation.end(), [](char ch) {
      return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') ||
             static_cast<unsigned char>(ch) >= 0x80;
    });
  };
  // A common word's capitalised senses give way to its own, where it has any: not
  // where the capital is the word's common spelling ("I").
  const bool ownSense = std::any_of(groups.begin(), groups.end(), [&](const TGroup& g) {
    return !g.AllCapital && hasLetters(g);
  });
  // Signs alone are no translation, nor is an ending ("-erò", Italian's future).
  std::erase_if(groups, [&](const TGroup& g) {
    return !hasLetters(g) || g.Translation.front() == '-' ||
           (context.CommonWord && g.AllCapital && ownSense);
  });
  // Through another language only where nothing better exists, and only the strong.
  direct = std::any_of(groups.begin(), groups.end(), [](const TGroup& g) { return !g.AllPivot; });
  if (direct) {
    std::erase_if(groups, [&](const TGroup& g) {
      return g.AllPivot && std::popcount(g.Sources) < rules.AgreeingPivots;
    });
    for (TGroup& group : groups)
      if (group.AllPivot) group.Evidence /= rules.ConfirmedPivotDiscount;
  } else {
    std::erase_if(groups, [&](const TGroup& g) { return g.PivotScore < rules.PivotThreshold; });
  }
  std::stable_sort(groups.begin(), groups.end(), [](const TGroup& a, const TGroup& b) {
    if (a.Doubtful != b.Doubtful) return b.Doubtful;
    if (a.AllCapital != b.AllCapital) return b.AllCapital;
    if (a.Evidence != b.Evidence) return a.Evidence > b.Evidence;
    return a.FirstSeen < b.FirstSeen;
  });
  // A word that is singular and plural alike ("Kapitel") is looked up for its singular:
  // an English plural goes after its singular wherever the row has both.
  if (context.EnglishTranslations) {
    for (size_t i = 0; i < groups.size(); ++i) {
      if (StrongestPart(groups[i]) != TPartOfSpeech::Noun) continue;
      for (size_t j = i + 1; j < groups.size(); ++j) {
        const TPartOfSpeech part = StrongestPart(groups[j]);
        if ((part != TPartOfSpeech::Noun && part != TPartOfSpeech::Unknown) ||
            (groups[j].AllPivot && !groups[i].AllPivot) ||
            !IsEnglishPluralOf(groups[i].Translation, groups[j].Translation))
          continue;
        std::rotate(groups.begin() + static_cast<std::ptrdiff_t>(i),
                    groups.begin() + static_cast<std::ptrdiff_t>(j),
                    groups.begin() + static_cast<std::ptrdiff_t>(j + 1));
        ++i;  // the plural, one place on
        break;
      }
    }
  }
  if (!direct && groups.size() > rules.MaxPivotTranslations)
    groups.resize(rules.MaxPivotTranslations);
  return groups;
}

}  // namespace

float RankStrength(size_t rank, int sense) {
  return 1.0f / (1.0f + 0.5f * static_cast<float>(rank) + 0.5f * static_cast<float>(sense - 1));
}

TJudgedRow JudgeRow(const std::vector<TProposal>& proposals, const TRowContext& context,
                    const TJudgeRules& rules) {
  bool direct = false;
  const std::vector<TGroup> groups = Ordered(proposals, context, rules, direct);
  TJudgedRow row;
  row.ThroughOther = !direct && !groups.empty();
  const std::string_view mark = row.ThroughOther ? "~ " : "";
  const std::string_view separator = context.Definitions ? "; " : ", ";
  TEntryText text;
  for (const TGroup& group : groups) {
    const std::string* shown = &group.Translation;
    if (context.Respelt) {
      const auto respelt = context.Respelt->find(group.Translation);
      if (respelt == context.Respelt->end()) continue;
      shown = &respelt->second;
    }
    const size_t before = text.Text().size();
    const bool more = text.Add(*shown, separator, context.MaxCounted - mark.size());
    if (text.Text().size() != before) {
      if (before == 0) row.FirstSources = group.Sources;
      row.Translations.emplace_back(*shown, StrongestPart(group));
    }
    if (!more) break;
  }
  if (!text.Text().empty()) row.Text = std::string(mark) + text.Take();
  return row;
}

}  // namespace parlivo

namespace parlivo {

void ExplainRow(const std::vector<TProposal>& proposals, const TRowContext& context,
                const TJudgeRules& rules, std::ostream& out) {
  out << context.Headword << ":\n";
  for (const TProposal& proposal : proposals) {
    out << "  proposed by " << int{proposal.Source} << ": " << proposal.Translation << " ("
        << PartName(proposal.Part) << (proposal.Capital ? ", capital" : "") << ", "
        << proposal.Strength << ")\n";
  }
  bool direct = false;
  for (const TGroup& group : Ordered(proposals, context, rules, direct)) {
    out << "  " << group.Translation << "  evidence " << group.Evidence << ", sources "
        << std::popcount(group.Sources) << (group.Doubtful ? ", doubtful" : "")
        << (group.AllPivot ? ", pivot only" : "") << (group.AllCapital ? ", capital" : "") << "\n";
  }
}

}  // namespace parlivo
