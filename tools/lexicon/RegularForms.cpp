#include "RegularForms.h"

#include <algorithm>
#include <unordered_map>

namespace parlivo {

namespace {

bool IsVowel(char ch) {
  return ch == 'a' || ch == 'e' || ch == 'i' || ch == 'o' || ch == 'u';
}

// Dutch spells a voiced consonant before a vowel: "huis", "huizen"; "brief", "brieven".
char Voiced(char ch) {
  return ch == 's' ? 'z' : ch == 'f' ? 'v' : ch;
}
char Voiceless(char ch) {
  return ch == 'z' ? 's' : ch == 'v' ? 'f' : ch;
}

// The vowel groups of a word: "stor" one, "luister" two.
int SyllablesOf(std::string_view word) {
  int groups = 0;
  for (size_t i = 0; i < word.size(); ++i)
    if (IsVowel(word[i]) && (i == 0 || !IsVowel(word[i - 1]))) ++groups;
  return groups;
}

// What the ending "-en" makes of a stem, by the rules of open and closed syllables:
// "werk" werken, "bel" bellen, "duur" duren, "leef" leven, "ga" gaan, "doe" doen.
std::vector<std::string> WithEn(const std::string& stem) {
  std::vector<std::string> words;
  const size_t n = stem.size();
  if (n < 2) return words;
  const char last = stem[n - 1];
  if (IsVowel(last)) {
    words.push_back(last == 'e' || IsVowel(stem[n - 2]) ? stem + "n" : stem + last + "n");
    return words;
  }
  const std::string soft = stem.substr(0, n - 1) + Voiced(last);
  if (n >= 3 && IsVowel(stem[n - 2]) && stem[n - 2] == stem[n - 3]) {
    words.push_back(stem.substr(0, n - 3) + stem[n - 2] + Voiced(last) + "en");
  } else if (n >= 3 && IsVowel(stem[n - 2]) && !IsVowel(stem[n - 3])) {
    words.push_back(stem + last + "en");
    // A stem of one syllable with one short vowel doubles its consonant: "bel" is only
    // bellen, "stor" no stem of storen (whose stem is "stoor").
    if (SyllablesOf(stem) == 1) return words;
  }
  words.push_back(stem + "en");
  if (soft != stem) words.push_back(soft + "en");
  return words;
}

// A stem as a word of its own, which an ending took apart: "bom" boom (bomen), "huiz"
// huis, "drukk" druk.
std::vector<std::string> AsWord(const std::string& stem) {
  std::vector<std::string> words;
  const size_t n = stem.size();
  if (n < 2) return words;
  const char last = stem[n - 1];
  if (IsVowel(last)) {
    words.push_back(stem);
    return words;
  }
  const std::string hard = stem.substr(0, n - 1) + Voiceless(last);
  if (stem[n - 2] == last) words.push_back(stem.substr(0, n - 1));
  if (n >= 3 && IsVowel(stem[n - 2]) && !IsVowel(stem[n - 3]))
    words.push_back(stem.substr(0, n - 1) + stem[n - 2] + Voiceless(last));
  words.push_back(stem);
  if (hard != stem) words.push_back(hard);
  return words;
}

bool EndsWith(std::string_view word, std::string_view end) {
  return word.size() > end.size() + 1 && word.substr(word.size() - end.size()) == end;
}

void Add(std::vector<TBaseWord>& bases, std::string_view form, const std::string& word,
         TPartOfSpeech part) {
  if (word.size() < 2 || word == form) return;
  const bool known = std::any_of(bases.begin(), bases.end(), [&](const TBaseWord& base) {
    return base.Word == word && base.Part == part;
  });
  if (!known) bases.push_back({word, part});
}

// The strong and irregular verbs, whose past and participle no rule makes: infinitive,
// past singular, past plural, participle. Compounds are found by their prefix:
// "meegenomen" of meenemen, "verliet" of verlaten.
constexpr std::string_view kIrregularVerbs[] = {"bakken bakte bakten gebakken",
                                                "bederven bedierf bedierven bedorven",
                                                "bedriegen bedroog bedrogen bedrogen",
                                                "beginnen begon begonnen begonnen",
                                                "begrijpen begreep begrepen begrepen",
                                                "bergen borg borgen geborgen",
                                                "bevelen beval bevalen bevolen",
                                                "bewegen bewoog bewogen bewogen",
                                                "bidden bad baden gebeden",
                                                "bieden bood boden geboden",
                                                "bijten beet beten gebeten",
                                                "binden bond bonden gebonden",
                                                "blazen blies bliezen geblazen",
                                                "blijken bleek bleken gebleken",
                                                "blijven bleef bleven gebleven",
                                                "breken brak braken gebroken",
                                                "brengen bracht brachten gebracht",
                                                "buigen boog bogen gebogen",
                                                "denken dacht dachten gedacht",
                                                "doen deed deden gedaan",
                                                "dragen droeg droegen gedragen",
                                                "drijven dreef dreven gedreven",
                                                "dringen drong drongen gedrongen",
                                                "drinken dronk dronken gedronken",
                                                "duiken dook doken gedoken",
                                                "dwingen dwong dwongen gedwongen",
                                                "eten at aten gegeten",
                                                "fluiten floot floten gefloten",
                                                "gaan ging gingen gegaan",
                                                "gelden gold golden gegolden",
                                                "genieten genoot genoten genoten",
                                                "geven gaf gaven gegeven",
                                                "gieten goot goten gegoten",
                                                "glijden gleed gleden gegleden",
                                                "graven groef groeven gegraven",
                                                "grijpen greep grepen gegrepen",
                                                "hangen hing hingen gehangen",
                                                "hebben had hadden gehad",
                                                "heffen hief hieven geheven",
                                                "helpen hielp hielpen geholpen",
                                                "houden hield hielden gehouden",
                                                "jagen joeg joegen gejaagd",
                                                "kiezen koos kozen gekozen",
                                                "kijken keek keken gekeken",
                                                "klimmen klom klommen geklommen",
                                                "klinken klonk klonken geklonken",
                                                "knijpen kneep knepen geknepen",
                                                "komen kwam kwamen gekomen",
                                                "kopen kocht kochten gekocht",
                                                "krijgen kreeg kregen gekregen",
                                                "kruipen kroop kropen gekropen",
                                                "kunnen kon konden gekund",
                                                "lachen lachte lachten gelachen",
                                                "laten liet lieten gelaten",
                                                "lezen las lazen gelezen",
                                                "liegen loog logen gelogen",
                                                "liggen lag lagen gelegen",
                                                "lijden leed leden geleden",
                                                "lijken leek leken geleken",
                                                "lopen liep liepen gelopen",
                                                "meten mat maten gemeten",
                                                "moeten moest moesten gemoeten",
                                                "mogen mocht mochten gemogen",
                                                "nemen nam namen genomen",
                                                "prijzen prees prezen geprezen",
                                                "rijden reed reden gereden",
                                                "rijzen rees rezen gerezen",
                                                "roepen riep riepen geroepen",
                                                "ruiken rook roken geroken",
                                                "scheiden scheidde scheidden gescheiden",
                                                "schelden schold scholden gescholden",
                                                "schenken schonk schonken geschonken",
                                                "scheppen schiep schiepen geschapen",
                                                "scheren schoor schoren geschoren",
                                                "schieten schoot schoten geschoten",
                                                "schijnen scheen schenen geschenen",
                                                "schrijven schreef schreven geschreven",
                                                "schrikken schrok schrokken geschrokken",
                                                "schuiven schoof schoven geschoven",
                                                "slaan sloeg sloegen geslagen",
                                                "slapen sliep sliepen geslapen",
                                                "slijten sleet sleten gesleten",
                                                "sluiten sloot sloten gesloten",
                                                "smelten smolt smolten gesmolten",
                                                "smijten smeet smeten gesmeten",
                                                "snijden sneed sneden gesneden",
                                                "spreken sprak spraken gesproken",
                                                "springen sprong sprongen gesprongen",
                                                "staan stond stonden gestaan",
                                                "steken stak staken gestoken",
                                                "stelen stal stalen gestolen",
                                                "sterven stierf stierven gestorven",
                                                "stijgen steeg stegen gestegen",
                                                "stinken stonk stonken gestonken",
                                                "strijden streed streden gestreden",
                                                "treffen trof troffen getroffen",
                                                "trekken trok trokken getrokken",
                                                "vallen viel vielen gevallen",
                                                "vangen ving vingen gevangen",
                                                "varen voer voeren gevaren",
                                                "vechten vocht vochten gevochten",
                                                "verdwijnen verdween verdwenen verdwenen",
                                                "vergelijken vergeleek vergeleken vergeleken",
                                                "vergeten vergat vergaten vergeten",
                                                "verliezen verloor verloren verloren",
                                                "vinden vond vonden gevonden",
                                                "vliegen vloog vlogen gevlogen",
                                                "vragen vroeg vroegen gevraagd",
                                                "vriezen vroor vroren gevroren",
                                                "wassen waste wasten gewassen",
                                                "wegen woog wogen gewogen",
                                                "werpen wierp wierpen geworpen",
                                                "werven wierf wierven geworven",
                                                "weten wist wisten geweten",
                                                "wijzen wees wezen gewezen",
                                                "willen wilde wilden gewild",
                                                "winnen won wonnen gewonnen",
                                                "worden werd werden geworden",
                                                "zeggen zei zeiden gezegd",
                                                "zenden zond zonden gezonden",
                                                "zien zag zagen gezien",
                                                "zijn was waren geweest",
                                                "zingen zong zongen gezongen",
                                                "zinken zonk zonken gezonken",
                                                "zitten zat zaten gezeten",
                                                "zoeken zocht zochten gezocht",
                                                "zuigen zoog zogen gezogen",
                                                "zullen zou zouden -",
                                                "zwemmen zwom zwommen gezwommen",
                                                "zweren zwoer zwoeren gezworen",
                                                "zwijgen zweeg zwegen gezwegen"};

// Present forms no rule makes.
constexpr std::string_view kIrregularPresents[] = {
    "zijn ben bent is", "hebben heb hebt heeft", "kunnen kan kunt", "willen wil wilt wou",
    "mogen mag",        "zullen zal zult",       "komen kom komt",  "zien zie ziet"};

// The forms of the irregular verbs, each with its infinitive; a participle also without
// its "ge-", which a verb with an inseparable prefix leaves off ("verloren", "bedrogen").
struct TIrregularForms {
  std::unordered_map<std::string_view, std::string_view> Forms;
  std::unordered_map<std::string_view, std::string_view> ParticiplesWithoutGe;
};

std::vector<std::string_view> Words(std::string_view line) {
  std::vector<std::string_view> words;
  for (size_t at = 0; at < line.size();) {
    const size_t space = std::min(line.find(' ', at), line.size());
    words.push_back(line.substr(at, space - at));
    at = space + 1;
  }
  return words;
}

const TIrregularForms& IrregularForms() {
  static const TIrregularForms forms = [] {
    TIrregularForms made;
    for (std::string_view line : kIrregularVerbs) {
      const auto words = Words(line);
      for (size_t i = 1; i < words.size(); ++i)
        if (words[i] != "-") made.Forms.emplace(words[i], words[0]);
      if (words[3].substr(0, 2) == "ge")
        made.ParticiplesWithoutGe.emplace(words[3].substr(2), words[0]);
    }
    for (std::string_view line : kIrregularPresents) {
      const auto words = Words(line);
      for (size_t i = 1; i < words.size(); ++i) made.Forms.emplace(words[i], words[0]);
    }
    return made;
  }();
  return forms;
}

void DutchVerbBases(std::string_view form, std::vector<TBaseWord>& bases) {
  static constexpr std::string_view kSeparable[] = {
      "aan",   "achter", "af",   "bij", "binnen", "buiten", "door", "in",    "los",
      "mee",   "na",     "neer", "om",  "op",     "over",   "rond", "samen", "tegen",
      "terug", "thuis",  "toe",  "uit", "vast",   "voor",   "weg",  "langs", "open"};
  auto addStem = [&](const std::string& prefix, const std::string& stem) {
    for (const auto& word : WithEn(stem)) Add(bases, form, prefix + word, TPartOfSpeech::Verb);
  };
  // An irregular verb's form, alone or after a prefix: "nam", "meegenomen", "verliet".
  static constexpr std::string_view kInseparable[] = {"be", "ver", "ont", "her", "er", "ge"};
  const TIrregularForms& irregular = IrregularForms();
  for (size_t cut = 0; cut + 2 <= form.size(); ++cut) {
    const std::string_view prefix = form.substr(0, cut), rest = form.substr(cut);
    const bool separable = cut == 0 || std::find(std::begin(kSeparable), std::end(kSeparable),
                                                 prefix) != std::end(kSeparable);
    const bool inseparable = std::find(std::begin(kInseparable), std::end(kInseparable), prefix) !=
                             std::end(kInseparable);
    if (separable || inseparable) {
      if (const auto found = irregular.Forms.find(rest); found != irregular.Forms.end())
        Add(bases, form, std::string(prefix) + std::string(found->second), TPartOfSpeech::Verb);
    }
    if (inseparable) {
      const auto found = irregular.ParticiplesWithoutGe.find(rest);
      if (found != irregular.ParticiplesWithoutGe.end())
        Add(bases, form, std::string(prefix) + std::string(found->second), TPartOfSpeech::Verb);
    }
  }
  // Past participles: "gebeld", "opgebeld", "gegeven", "aangekomen".
  std::string prefix;
  std::string_view rest;
  for (std::string_view separable : kSeparable) {
    if (form.size() > separable.size() + 4 && form.substr(0, separable.size()) == separable &&
        form.substr(separable.size(), 2) == "ge") {
      prefix = separable;
      rest = form.substr(separable.size() + 2);
      break;
    }
  }
  if (rest.empty() && form.size() > 4 && form.substr(0, 2) == "ge") rest = form.substr(2);
  if (!rest.empty()) {
    // "gewerkt" of werken; "gedood" of doden, whose stem ends in its own d.
    if (rest.back() == 'd' || rest.back() == 't') {
      addStem(prefix, std::string(rest.substr(0, rest.size() - 1)));
      addStem(prefix, std::string(rest));
    }
    if (EndsWith(rest, "en")) Add(bases, form, prefix + std::string(rest), TPartOfSpeech::Verb);
  }
  // The past of weak verbs, "belde", "werkten"; the present, "duurt", "wordt"; and the
  // stem itself, "lieg", "kalmeer".
  for (std::string_view ending : {"den", "ten", "de", "te", "t", "d"}) {
    if (EndsWith(form, ending)) {
      addStem("", std::string(form.substr(0, form.size() - ending.size())));
      break;
    }
  }
  addStem("", std::string(form));
}

void DutchNounBases(std::string_view form, std::vector<TBaseWord>& bases) {
  auto addStem = [&](std::string_view stem) {
    for (const auto& word : AsWord(std::string(stem))) Add(bases, form, word, TPartOfSpeech::Noun);
  };
  if (EndsWith(form, "'s")) addStem(form.substr(0, form.size() - 2));
  // "huisjes", "balletje", "etentje": the word a diminutive is made of.
  for (std::string_view ending : {"etjes", "tjes", "pjes", "jes", "etje", "tje", "pje", "je"}) {
    if (EndsWith(form, ending)) {
      addStem(form.substr(0, form.size() - ending.size()));
      break;
    }
  }
  if (EndsWith(form, "eren")) addStem(form.substr(0, form.size() - 4));
  if (EndsWith(form, "en")) addStem(form.substr(0, form.size() - 2));
  if (EndsWith(form, "s")) addStem(form.substr(0, form.size() - 1));
}

void DutchAdjectiveBases(std::string_view form, std::vector<TBaseWord>& bases) {
  auto addStem = [&](std::string_view stem) {
    for (const auto& word : AsWord(std::string(stem)))
      Add(bases, form, word, TPartOfSpeech::Adjective);
  };
  // "grote", "groter", "grootste", "vieze".
  for (std::string_view ending : {"ste", "st", "ere", "er", "e"}) {
    if (EndsWith(form, ending)) {
      addStem(form.substr(0, form.size() - ending.size()));
      break;
    }
  }
}

// A separable verb's infinitive with "zu" inside: "aufzunehmen" of aufnehmen,
// "zuzuhören" of zuhören. A "zu" at the start is a prefix of its own ("zuhören").
void GermanVerbBases(std::string_view form, std::vector<TBaseWord>& bases) {
  if (form.empty() || form.front() < 'a' || form.front() > 'z' || !form.ends_with('n')) return;
  for (size_t zu = form.find("zu", 2); zu != std::string_view::npos; zu = form.find("zu", zu + 1)) {
    const std::string_view rest = form.substr(zu + 2);
    if (rest.size() < 3) break;
    Add(bases, form, std::string(form.substr(0, zu)) + std::string(rest), TPartOfSpeech::Verb);
  }
}

}  // namespace

std::vector<TBaseWord> RegularBases(std::string_view language, std::string_view form) {
  std::vector<TBaseWord> bases;
  if (language == "German") GermanVerbBases(form, bases);
  if (language != "Dutch" || form.size() < 2) return bases;
  const bool letters = std::all_of(form.begin(), form.end(),
                                   [](char ch) { return (ch >= 'a' && ch <= 'z') || ch == '\''; });
  if (!letters) return bases;
  DutchVerbBases(form, bases);
  DutchNounBases(form, bases);
  DutchAdjectiveBases(form, bases);
  return bases;
}

TVerbForm RegularParticiple(std::string_view language, std::string_view form,
                            std::string_view infinitive) {
  struct TEndings {
    std::string_view Language, Infinitive;
    std::vector<std::string_view> Past, Present;
  };
  static const TEndings kEndings[] = {
      {"Italian", "are", {"ato", "ata", "ati", "ate"}, {"ante", "anti", "ando"}},
      {"Italian", "ere", {"uto", "uta", "uti", "ute"}, {"ente", "enti", "endo"}},
      {"Italian", "ire", {"ito", "ita", "iti", "ite"}, {"ente", "enti", "endo"}},
      {"Spanish", "ar", {"ado", "ada", "ados", "adas"}, {"ando"}},
      {"Spanish", "er", {"ido", "ida", "idos", "idas"}, {"iendo"}},
      {"Spanish", "ir", {"ido", "ida", "idos", "idas"}, {"iendo"}},
      {"Portuguese", "ar", {"ado", "ada", "ados", "adas"}, {"ando"}},
      {"Portuguese", "er", {"ido", "ida", "idos", "idas"}, {"endo"}},
      {"Portuguese", "ir", {"ido", "ida", "idos", "idas"}, {"indo"}},
      {"French",
       "er",
       {"\xC3\xA9",
        "\xC3\xA9"
        "e",
        "\xC3\xA9"
        "s",
        "\xC3\xA9"
        "es"},
       {"ant"}},
      {"French", "ir", {"i", "ie", "is", "ies"}, {"issant"}},
      {"French", "re", {"u", "ue", "us", "ues"}, {"ant"}},
  };
  for (const TEndings& endings : kEndings) {
    if (endings.Language != language || !EndsWith(infinitive, endings.Infinitive)) continue;
    const std::string_view root =
        infinitive.substr(0, infinitive.size() - endings.Infinitive.size());
    if (root.empty() || !form.starts_with(root)) continue;
    const std::string_view ending = form.substr(root.size());
    const auto among = [&](const std::vector<std::string_view>& list) {
      return std::find(list.begin(), list.end(), ending) != list.end();
    };
    if (among(endings.Past)) return TVerbForm::PastParticiple;
    if (among(endings.Present)) return TVerbForm::Gerund;
  }
  return TVerbForm::Other;
}

}  // namespace parlivo
