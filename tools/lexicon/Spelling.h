// A language's spelling dictionary (Hunspell's .aff and .dic files), which knows the
// inflected forms of the language: a translation word it rejects is a typo, words run
// together, or a foreign word.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace parlivo {

class TSpelling {
 public:
  // joinsCompounds: the language writes compounds as one word (German, Dutch), so that
  // an unknown word is never split into known ones. Throws std::runtime_error when the
  // files cannot be read.
  TSpelling(const std::string& affPath, const std::string& dicPath, bool joinsCompounds);
  ~TSpelling();
  TSpelling(const TSpelling&) = delete;
  TSpelling& operator=(const TSpelling&) = delete;

  // One word, UTF-8.
  bool Knows(std::string_view word) const;

  // From now on a word run together is put apart only into a phrase that knownPhrase
  // accepts (words apart by spaces), and so even in a language that joins compounds:
  // English translations, where "giveup" is "give up", but "centre" is no "cent re".
  // A word that knownPhrase accepts as it stands is never put apart ("leadoff").
  void SplitOnlyInto(std::function<bool(const std::string& phrase)> knownPhrase);

  // English translations: a word that neither this dictionary nor WordNet knows, and
  // that the language's other spelling (British English, this dictionary's .aff and
  // .dic files) does not know either, is put apart into English's little words and
  // other words of four letters or more, with one little word at least ("beableto" is
  // "be able to", "forsakeof" "for sake of"; "centre" and "assistent" stay whole).
  // Given commonWord, the other words are those it accepts, of three letters or more. Throws
  // std::runtime_error when the files cannot be read.
  void SplitAlsoUnlessSpeltOtherwise(const std::string& affPath, const std::string& dicPath,
                                     std::function<bool(std::string_view word)> commonWord = {});

  // From now on words run together are put apart only into these little words (the
  // language's commonest, UTF-8; those of one or two letters not alone) and other
  // words of three letters or more, or else into words of four letters or more:
  // "pezdecolores" is "pez de colores" and "carreterasecundaria" "carretera
  // secundaria", but "verdor" no "ver dor".
  void SplitOnlyWithLittleWords(std::vector<std::string> littleWords);

  // Whether the language's other spelling, if it has one, knows the word (UTF-8).
  bool OtherSpellingKnows(std::string_view word) const;

  // The translation (UTF-8) with each word that only the other spelling knows spelt as
  // this dictionary spells it, where it knows the twin: British "colour", "centre",
  // "realise", "defence", "travelled" become "color", "center", "realize", "defense",
  // "traveled", so that one word's sources are counted together.
  std::string InMainSpelling(std::string_view translation) const;

  // The translation (UTF-8) as the dictionary knows it: itself when it knows every word;
  // where a word is known words run together ("pezdecolores"), with them apart ("pez de
  // colores"); nothing when a word stays unknown. Words with a capital in a language
  // that does not capitalise its nouns count as names, and pass.
  std::optional<std::string> Checked(std::string_view translation) const;

  // The dictionary forms the word (UTF-8) is inflected from, as the dictionary spells
  // them ("Häuser": "Haus"), the word itself left out; those that begin as the word
  // does first ("versuch": "versuchen" before "suchen"). In a language that joins
  // compounds, a compound's first word is none of them ("geheugenverlies":
  // "geheugen").
  std::vector<std::string> Stems(std::string_view word) const;

  struct Handle;  // a Hunspell dictionary's

 private:
  // littleWords: the short words a part may be, as many as there are; where none are
  // named, any known word, one at most among longer ones. languagesOwn: they are the
  // language's commonest words (SplitOnlyWithLittleWords), not English's.
  std::optional<std::string> Split(std::string_view word,
                                   std::span<const std::string_view> littleWords = {},
                                   bool languagesOwn = false) const;
  // English translations: into a phrase WordNet knows, else into little and common
  // words (SplitAlsoUnlessSpeltOtherwise); a word WordNet knows whole is not cut.
  std::optional<std::string> SplitEnglish(std::string_view word) const;
  std::optional<std::string> SplitIntoKnownPhrase(std::string_view word) const;
  std::optional<std::string> CheckedNow(std::string_view translation) const;
  std::unique_ptr<Handle> FHandle;
  std::unique_ptr<Handle> FOtherSpelling;
  bool FJoinsCompounds;
  std::function<bool(const std::string&)> FKnownPhrase;
  std::function<bool(std::string_view)> FCommonWord;
  std::vector<std::string> FLittleWords;
  std::vector<std::string_view> FLittleWordViews;  // of FLittleWords, for Split
};

}  // namespace parlivo
