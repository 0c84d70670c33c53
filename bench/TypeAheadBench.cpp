// One keystroke's work: the typed word looked up in lower case and padded with spaces
// up to 30 characters, against a lexicon of 200,000 headwords.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>

#include "Search.h"
#include "SyntheticLexicon.h"
#include "Translator.h"

namespace parlivo::bench {
namespace {

constexpr size_t kHeadwords = 200000;

struct TFixture {
  TFixture() {
    folder = std::filesystem::temp_directory_path() / "parlivo-bench";
    std::filesystem::create_directories(folder);
    lexicon = MakeSyntheticLexicon(kHeadwords, 2026);
    WriteSyntheticLexicon(lexicon, folder.string());
    translator.SetIndexFileName(FromUtf8((folder / "Index.plv").string()));
    translator.SetDataFileName(FromUtf8((folder / "German.plv").string()));
  }
  ~TFixture() {
    translator.SetIndexFileName({});
    translator.SetDataFileName({});
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  }
  // Typed words of the given length that begin real headwords.
  std::vector<String16> TypedWords(size_t letters) const {
    std::mt19937 random(static_cast<unsigned>(letters));
    std::vector<String16> words;
    while (words.size() < 256) {
      const std::string& headword = lexicon.Headwords[random() % lexicon.Headwords.size()];
      if (headword.size() < letters ||
          LettersOnly(FromLatin1(headword.substr(0, letters))).size() != letters)
        continue;
      words.push_back(FromLatin1(headword.substr(0, letters)));
    }
    return words;
  }
  std::filesystem::path folder;
  TSyntheticLexicon lexicon;
  TTranslator translator;
};

TFixture& Fixture() {
  static TFixture fixture;
  return fixture;
}

void Keystroke(benchmark::State& state) {
  TFixture& fixture = Fixture();
  const auto words = fixture.TypedWords(static_cast<size_t>(state.range(0)));
  size_t next = 0;
  size_t rows = 0;
  size_t keystrokes = 0;
  for (auto _ : state) {
    rows +=
        SearchTypedWord(fixture.translator, words[next], [](StringView16 word, StringView16 text) {
          benchmark::DoNotOptimize(word.data());
          benchmark::DoNotOptimize(text.data());
        });
    next = (next + 1) % words.size();
    ++keystrokes;
  }
  state.counters["rows"] =
      benchmark::Counter(static_cast<double>(rows) / static_cast<double>(keystrokes));
}

BENCHMARK(Keystroke)->Arg(1)->Arg(2)->Arg(3)->Arg(6)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace parlivo::bench

BENCHMARK_MAIN();
