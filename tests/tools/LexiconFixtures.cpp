#include "LexiconFixtures.h"

#include <zlib.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "LookupCommand.h"
#include "TestFiles.h"

namespace parlivo::test {

namespace fs = std::filesystem;

void WriteDictd(const fs::path& base,
                const std::vector<std::pair<std::string, std::string>>& entries, bool compressed) {
  auto base64 = [](uint64_t value) {
    static const char digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    do {
      out.insert(out.begin(), digits[value % 64]);
      value /= 64;
    } while (value > 0);
    return out;
  };
  std::ostringstream index;
  index << "00databaseinfo\t" << base64(0) << "\t" << base64(5) << "\n";
  std::string data = "info\n";
  for (const auto& [key, text] : entries) {
    index << key << "\t" << base64(data.size()) << "\t" << base64(text.size()) << "\n";
    data += text;
  }
  std::ofstream(base.string() + ".index") << index.str();
  if (compressed) {
    gzFile file = gzopen((base.string() + ".dict.dz").c_str(), "wb");
    gzwrite(file, data.data(), static_cast<unsigned>(data.size()));
    gzclose(file);
  } else {
    std::ofstream(base.string() + ".dict", std::ios::binary) << data;
  }
}

void WriteWordNet(const fs::path& folder) {
  fs::create_directories(folder);
  const char* licence = "  1 This software and database is being provided\n";
  std::ofstream((folder / "index.noun").string())
      << licence << "child n 1 0 1 0 00000010\nglasses n 1 0 1 0 00000100\n"
      << "box n 1 0 1 0 00000020\nability n 1 0 1 0 00000030\n"
      << "house n 2 0 2 2 00000040 00000050\nbank n 1 0 1 0 00000060\n"
      << "banks n 1 0 1 0 00000200\nacting n 1 0 1 0 00000300\nglass n 1 0 1 0 00000070\n"
      << "warren n 2 0 2 0 00000400 00000410\nfounder n 1 0 1 0 00000420\n"
      << "larger n 1 0 1 0 00000430\nu n 1 0 1 0 00000010\nhe n 1 0 1 0 00000440\n"
      << "us n 1 0 1 0 00000450\nan n 1 0 1 0 00000460\n";
  std::ofstream((folder / "index.verb").string())
      << licence << "accept v 1 0 1 0 00000010\ngo v 1 0 1 0 00000020\n"
      << "house v 1 0 1 1 00000030\nmake v 1 0 1 0 00000040\nact v 1 0 1 0 00000050\n"
      << "din v 1 0 1 0 00000060\ndine v 1 0 1 0 00000070\nopen v 1 0 1 0 00000080\n";
  std::ofstream((folder / "index.adj").string())
      << licence << "large a 1 0 1 0 00000010\nalternative a 1 0 1 0 00000500\n"
      << "found a 1 0 1 0 00000020\n";
  std::ofstream((folder / "index.adv").string())
      << licence << "instead r 1 0 1 0 00000600\nalternatively r 1 0 1 0 00000600\n";
  std::ofstream((folder / "noun.exc").string()) << "children child\n";
  std::ofstream((folder / "verb.exc").string()) << "went go\n";
  std::ofstream((folder / "adj.exc").string()) << "";
  std::ofstream((folder / "adv.exc").string()) << "";
  std::ofstream((folder / "data.noun").string())
      << licence << "00000010 18 n 01 child 0 000 | a young person\n"
      << "00000020 06 n 01 box 0 000 | a container\n"
      << "00000030 07 n 01 ability 0 000 | the quality of being able\n"
      << "00000040 06 n 01 house 0 000 | a dwelling that serves as living quarters; \"he has a "
         "house\"\n"
      << "00000050 14 n 01 house 0 000 | a family\n"
      << "00000060 17 n 01 bank 0 000 | sloping land\n"
      << "00000070 27 n 01 glass 0 000 | a brittle transparent solid\n"
      << "00000100 06 n 02 glasses 0 spectacles 0 000 | optical instrument\n"
      << "00000200 18 n 02 Banks 0 Sir_Joseph_Banks 0 000 | English botanist\n"
      << "00000300 04 n 01 acting 0 001 @ 00000100 n 0000 | performing\n"
      << "00000400 18 n 01 Warren 0 000 | United States writer\n"
      << "00000410 06 n 01 warren 0 000 | a series of connected underground tunnels\n"
      << "00000420 18 n 01 founder 0 000 | a person who founds an institution\n"
      << "00000430 18 n 01 larger 0 000 | a made-up noun, to be less met than large\n"
      << "00000440 10 n 01 he 0 000 | the 5th letter of the Hebrew alphabet\n"
      << "00000450 15 n 01 US 0 000 | a North American republic\n"
      << "00000460 09 n 01 AN 0 000 | an associate degree in nursing\n";
  std::ofstream((folder / "data.verb").string())
      << licence << "00000010 31 v 01 accept 0 000 | consider or hold as true\n"
      << "00000020 38 v 01 go 0 000 | change location\n"
      << "00000030 41 v 01 house 0 000 | provide housing for\n"
      << "00000040 36 v 01 make 0 000 | create\n"
      << "00000050 41 v 01 act 0 000 | perform an action\n"
      << "00000060 39 v 01 din 0 000 | make a loud noise\n"
      << "00000070 34 v 01 dine 0 000 | have supper\n"
      << "00000080 35 v 01 open 0 000 | cause to open\n";
  std::ofstream((folder / "data.adj").string())
      << licence << "00000010 00 a 01 large 0 000 | above average in size\n"
      << "00000500 00 a 01 alternative(a) 0 000 | allowing a choice\n"
      << "00000020 00 a 01 found 0 000 | come upon unexpectedly\n";
  std::ofstream((folder / "data.adv").string())
      << licence << "00000600 02 r 02 instead 0 alternatively 0 001 \\ 00000500 a 0201 | "
      << "in place of\n";
  std::ofstream((folder / "cntlist.rev").string())
      << "house%1:06:00:: 1 30\nhouse%1:14:00:: 2 3\nhouse%2:41:00:: 1 5\n"
      << "large%3:00:00:: 1 40\nus%1:15:00:: 1 7\n";
}

namespace {

void Compile(const fs::path& folder, const std::string& name, const std::string& dix,
             const char* direction) {
  const fs::path source = folder / (name + ".dix");
  std::ofstream(source.string()) << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<dictionary>\n"
                                 << dix << "</dictionary>\n";
  const std::string command = std::string("lt-comp ") + direction + " '" + source.string() + "' '" +
                              (folder / name).string() + ".bin' > /dev/null";
  if (std::system(command.c_str()) != 0) throw std::runtime_error("cannot run " + command);
}

std::string Symbols(std::initializer_list<const char*> names) {
  std::string out = "<sdefs>";
  for (const char* name : names) out += std::string("<sdef n=\"") + name + "\"/>";
  return out + "</sdefs>\n";
}

// A bilingual entry: left lemma and tags, right lemma and tags, tags as "<n><f>".
std::string Pair(const std::string& left, const std::string& leftTags, const std::string& right,
                 const std::string& rightTags) {
  auto tags = [](const std::string& written) {
    std::string out;
    for (size_t at = written.find('<'); at != std::string::npos; at = written.find('<', at + 1))
      out += "<s n=\"" + written.substr(at + 1, written.find('>', at) - at - 1) + "\"/>";
    return out;
  };
  return "<e><p><l>" + left + tags(leftTags) + "</l><r>" + right + tags(rightTags) +
         "</r></p></e>\n";
}

// A monolingual dictionary's text: each surface form with its lemma and tags ("<n><sg>"),
// after the alphabet and symbols in head.
using TWordForm = std::tuple<const char*, const char*, const char*>;
std::string Monolingual(const std::string& head, std::initializer_list<TWordForm> forms) {
  std::string dix = head + "<section id=\"main\" type=\"standard\">\n";
  for (auto [surface, lemma, tags] : forms) dix += Pair(surface, "", lemma, tags);
  return dix + "</section>\n";
}

}  // namespace

void CompileApertium(const fs::path& folder) {
  fs::create_directories(folder);
  const std::string symbols = Symbols(
      {"n", "np", "ant", "vblex", "adj", "prn", "m", "f", "sg", "pl", "inf", "past", "pres"});
  const std::string letters =
      "<alphabet>abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ</alphabet>\n";
  // Analyser: surface on the left, lemma and tags on the right.
  Compile(folder, "eng-spa.automorf",
          Monolingual(letters + symbols, {{"house", "house", "<n><sg>"},
                                          {"houses", "house", "<n><pl>"},
                                          {"house", "house", "<vblex><inf>"},
                                          {"daughter", "daughter", "<n><sg>"},
                                          {"run", "run", "<vblex><inf>"},
                                          {"ran", "run", "<vblex><past>"},
                                          {"red", "red", "<adj>"},
                                          {"polish", "polish", "<vblex><inf>"},
                                          {"Polish", "polish", "<adj>"},
                                          {"bill", "bill", "<n><sg>"},
                                          {"Bill", "Bill", "<np>"},
                                          {"John", "John", "<np>"},
                                          {"sue", "sue", "<vblex><inf>"},
                                          {"Sue", "Sue", "<np>"},
                                          {"Peter", "Peter", "<np><ant>"},
                                          {"Philip", "Philip", "<np><ant>"},
                                          {"this", "this", "<prn><sg>"}}),
          "lr");

  std::string engSpa = "<alphabet/>" + symbols + "<section id=\"main\" type=\"standard\">\n";
  engSpa +=
      Pair("house", "<n>", "casa", "<n><f>") + Pair("house", "<n>", "cámara", "<n><f>") +
      Pair("daughter", "<n>", "hijo", "<n><f>") + Pair("run", "<vblex>", "correr", "<vblex>") +
      Pair("red", "<adj>", "rojo", "<adj>") + Pair("polish", "<vblex>", "abrillantar", "<vblex>") +
      Pair("polish", "<adj>", "polaco", "<adj>") + Pair("bill", "<n>", "factura", "<n><f>") +
      Pair("Bill", "<np>", "Bill", "<np>") + Pair("John", "<np>", "John", "<np>") +
      Pair("Sue", "<np>", "Sue", "<np>") + Pair("Peter", "<np><ant>", "Pedro", "<np><ant>") +
      Pair("Philip", "<np><ant>", "Felipe", "<np><ant>") + Pair("this", "<prn>", "este", "<prn>");
  Compile(folder, "eng-spa.autobil", engSpa + "</section>\n", "lr");

  // Generators: surface on the left, compiled right to left.
  std::string spanish = "<alphabet>abcdefghijklmnopqrstuvwxyzáéíóú</alphabet>\n" + symbols +
                        "<section id=\"main\" type=\"standard\">\n";
  for (auto [surface, lemma, tags] : {std::tuple{"casa", "casa", "<n><f><sg>"},
                                      {"cámara", "cámara", "<n><f><sg>"},
                                      {"hijo", "hijo", "<n><m><sg>"},
                                      {"hija", "hijo", "<n><f><sg>"},
                                      {"correr", "correr", "<vblex><inf>"},
                                      {"rojo", "rojo", "<adj><m><sg>"},
                                      {"abrillantar", "abrillantar", "<vblex><inf>"},
                                      {"polaco", "polaco", "<adj><m><sg>"},
                                      {"factura", "factura", "<n><f><sg>"},
                                      {"Bill", "Bill", "<np>"},
                                      {"John", "John", "<np>"},
                                      {"Sue", "Sue", "<np>"},
                                      {"Pedro", "Pedro", "<np><ant>"},
                                      {"Felipe", "Felipe", "<np><ant>"},
                                      // a template the post-generator spells
                                      {"~esteprn", "este", "<prn><sg>"}})
    spanish += Pair(surface, "", lemma, tags);
  Compile(folder, "eng-spa.autogen", spanish + "</section>\n", "rl");

  // Spanish to Italian: an adjective is found with its gender and number only.
  std::string spaIta = "<alphabet/>" + symbols + "<section id=\"main\" type=\"standard\">\n";
  spaIta += Pair("casa", "<n>", "casa", "<n>") + Pair("cámara", "<n>", "camera", "<n>") +
            Pair("correr", "<vblex>", "correre", "<vblex>") +
            Pair("rojo", "<adj><m><sg>", "rosso", "<adj><m><sg>") +
            // Names: one Italian spells its own way, one Italian's dictionary keeps.
            Pair("Pedro", "<np><ant>", "Pietro", "<np><ant>") +
            Pair("Felipe", "<np><ant>", "Felipe", "<np><ant>");
  Compile(folder, "spa-ita.autobil", spaIta + "</section>\n", "lr");
  Compile(folder, "spa-ita.autogen",
          Monolingual(letters + symbols, {{"casa", "casa", "<n><f><sg>"},
                                          {"camera", "camera", "<n><f><sg>"},
                                          {"correre", "correre", "<vblex><inf>"},
                                          {"rosso", "rosso", "<adj><m><sg>"},
                                          {"Pietro", "Pietro", "<np><ant>"},
                                          {"Felipe", "Felipe", "<np><ant>"}}),
          "rl");

  // A Spanish analyser: a verb with its pronoun joined, a preposition with its article,
  // a feminine filed under its masculine.
  const std::string joined =
      "<alphabet>abcdefghijklmnopqrstuvwxyz</alphabet>" +
      Symbols({"n", "vblex", "f", "sg", "pl", "imp", "prn", "pr", "det"}) +
      "<section id=\"main\" type=\"standard\">\n" + Pair("casas", "", "casa", "<n><f><pl>") +
      Pair("reina", "", "rey", "<n><f><sg>") + Pair("reinas", "", "rey", "<n><f><pl>") +
      "<e><p><l>dame</l><r>dar<s n=\"vblex\"/><s n=\"imp\"/><j/>me"
      "<s n=\"prn\"/></r></p></e>\n"
      "<e><p><l>del</l><r>de<s n=\"pr\"/><j/>el<s n=\"det\"/></r></p></e>\n";
  Compile(folder, "spa.automorf", joined + "</section>\n", "lr");
}

void CompileParticiples(const fs::path& folder) {
  fs::create_directories(folder);
  const std::string symbols = Symbols({"n", "pl", "vblex", "inf", "pp", "pprs", "ger", "past"});
  const std::string letters = "<alphabet>abcdefghijklmnopqrstuvwxyz</alphabet>\n";
  Compile(folder, "deu.automorf",
          Monolingual(letters + symbols, {{"gefahren", "fahren", "<vblex><pp>"},
                                          {"fahrend", "fahren", "<vblex><pprs>"},
                                          {"fuhr", "fahren", "<vblex><past>"},
                                          {"angemacht", "anmachen", "<vblex><pp>"},
                                          {"fuhren", "fuhre", "<n><pl>"},
                                          {"fuhren", "fahren", "<vblex><past>"},
                                          {"machte", "machen", "<vblex><past>"},
                                          {"machte", "fahren", "<vblex><past>"},
                                          {"hafte", "haften", "<vblex><past>"},
                                          {"hafte", "fahren", "<vblex><past>"},
                                          {"realisiert", "realisieren", "<vblex><pp>"}}),
          "lr");
  Compile(folder, "eng.autogen",
          Monolingual(letters + symbols, {{"driven", "drive", "<vblex><pp>"},
                                          {"driving", "drive", "<vblex><ger>"},
                                          {"gone", "go", "<vblex><pp>"},
                                          {"going", "go", "<vblex><ger>"},
                                          {"turned", "turn", "<vblex><pp>"},
                                          // British lemmas, American forms
                                          {"realized", "realise", "<vblex><pp>"}}),
          "rl");
}

void CompileContractions(const fs::path& folder) {
  fs::create_directories(folder);
  auto joined = [](const char* form, const char* preposition) {
    return std::string("<e><p><l>") + form + "</l><r>" + preposition +
           "<s n=\"pr\"/><j/>il<s n=\"det\"/><s n=\"def\"/></r></p></e>\n";
  };
  Compile(folder, "ita.automorf",
          "<alphabet>abcdefghijklmnopqrstuvwxyz</alphabet>\n" + Symbols({"pr", "det", "def"}) +
              "<section id=\"main\" type=\"standard\">\n" + joined("al", "a") +
              joined("del", "di") + "</section>\n",
          "lr");
}

std::string LookedUp(const fs::path& programFolder, const std::vector<std::string>& args) {
  std::vector<String16> wide;
  for (const auto& arg : args) wide.push_back(FromUtf8(arg));
  std::ostringstream out, err;
  RunLookup(wide, ToText(programFolder), out, err);
  return out.str() + err.str();
}

}  // namespace parlivo::test
