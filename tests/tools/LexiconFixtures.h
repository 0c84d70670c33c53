// Small sources of every kind the lexicon builder reads, written by the tests: dictd
// dictionaries, a WordNet database and Apertium's compiled lexicons; and the lookup
// command that reads what the builder made of them.
#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace parlivo::test {

// NAME.index and NAME.dict (or NAME.dict.dz) of the entries, under base.
void WriteDictd(const std::filesystem::path& base,
                const std::vector<std::pair<std::string, std::string>>& entries, bool compressed);

// A WordNet database of a few words in folder: index files whose licence lines are
// indented, the lists of irregular forms, synsets with their definitions and tag
// counts. "house" is mostly a noun ("a dwelling", met 30 times; "a family", 3) and
// sometimes a verb ("provide housing for", 5); "glasses" a common noun, "Banks" a name,
// "acting" a noun in -ing, "alternatively" an adverb from "alternative", "Warren" a name
// only and "warren" a common noun too.
void WriteWordNet(const std::filesystem::path& folder);

// Apertium's lexicons, compiled with lt-comp into folder: an English analyser, an
// English-Spanish and a Spanish-Italian dictionary, a Spanish and an Italian generator,
// as folder/eng-spa.* and folder/spa-ita.*. "house" is casa or camara in Spanish, casa
// or camera in Italian; "daughter" is hija; "run" and "ran" are correr; "red" is rojo,
// rosso; "Polish" and "polish" are polaco and abrillantar; Peter is Pedro, Pietro, and
// Philip Felipe in both. And a Spanish analyser,
// folder/spa.automorf.bin, that reads "casas", "dame" (dar + me) and "del" (de + el).
void CompileApertium(const std::filesystem::path& folder);

// A German analyser, folder/deu.automorf.bin, that reads "gefahren" and "angemacht" as
// past participles, "fahrend" as a present one, "fuhr" as a past and "fuhren" as the
// plural of Fuhre (cartload) before the past of fahren, "machte" and "hafte" as pasts
// of machen and haften before ones of fahren; and an English
// generator, folder/eng.autogen.bin, that spells "driven", "gone", "turned" and
// "driving", "going", but knows no form of "motor"; "realisiert" is read as a
// participle of realisieren, and "realized" spelt from the British "realise".
void CompileParticiples(const std::filesystem::path& folder);

// An Italian analyser (ita.automorf.bin) that reads "al" and "del" as a preposition
// joined with the article.
void CompileContractions(const std::filesystem::path& folder);

// What the lookup command writes, output and errors, for the arguments (UTF-8) with
// the lexicon in programFolder/Files: "Hund=dog\nFound: 1\n".
std::string LookedUp(const std::filesystem::path& programFolder,
                     const std::vector<std::string>& args);

}  // namespace parlivo::test
