// Lookups against lexicons written by the writer: opening and closing files, the
// result codes, cross-references, and a randomised comparison with a plain model of
// what a lookup must find.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <algorithm>
#include <map>
#include <random>
#include <set>

#ifdef _WIN32
#include <windows.h>
#endif

#include "Errors.h"
#include "LexiconWriter.h"
#include "Search.h"
#include "TestFiles.h"
#include "Translator.h"
#include "WorkedExample.h"

namespace parlivo::test {
namespace {

using Rows = std::vector<std::string>;

// A lexicon of headword -> text for one language, written into a temporary folder.
class SmallLexicon : public ::testing::Test {
 protected:
  // Returns the language file's bytes.
  std::vector<uint8_t> Write(const std::map<std::string, std::string>& entries,
                             TSharing sharing = TSharing::EqualOffsets) {
    std::vector<std::string> words;
    for (const auto& [word, text] : entries) words.push_back(word);
    TLexiconIndex index(words);
    TLanguageFileBuilder language(index, sharing);
    for (const auto& [word, text] : entries) language.Set(word, PackText(text));
    const auto languageBytes = language.FileBytes();
    WriteFileBytes((FDir / "Index.plv").string(), index.FileBytes());
    WriteFileBytes((FDir / "German.plv").string(), languageBytes);
    FTranslator.SetIndexFileName(ToText(FDir / "Index.plv"));
    FTranslator.SetDataFileName(ToText(FDir / "German.plv"));
    return languageBytes;
  }
  TTempDir FDir;
  TTranslator FTranslator;
};

TEST(LetterCodes, CodesAndBuckets) {
  EXPECT_EQ(TTranslator::CharCode('A'), 2);
  EXPECT_EQ(TTranslator::CharCode('z'), 27);
  EXPECT_EQ(TTranslator::CharCode('\\'), 1);
  for (Char16 other : {Char16{' '}, Char16{'0'}, Char16{'@'}, Char16{'['}, Char16{'`'}, Char16{'{'},
                       Char16{0xE9}, Char16{0x0100}, Char16{0xFF21}}) {
    EXPECT_EQ(TTranslator::CharCode(other), 0) << static_cast<int>(other);
  }
  EXPECT_EQ(TTranslator::BucketOf(PLV_TEXT("mip")), 11273u);
  EXPECT_EQ(TTranslator::BucketOf(PLV_TEXT("MIPSY")), 11273u);
  EXPECT_EQ(TTranslator::BucketOf(PLV_TEXT("zzz")), 21951u);
  EXPECT_EQ(TTranslator::BucketOf(PLV_TEXT("a")), 1568u);
  EXPECT_EQ(TTranslator::BucketOf(PLV_TEXT("")), 0u);
  EXPECT_EQ(TTranslator::BucketOf(PLV_TEXT("\\\\\\")), 813u);
}

TEST_F(SmallLexicon, ShortWordsAreFoundThroughPaddedQueries) {
  // 'a b' has a letter third: it lies in another bucket than 'a', out of reach of 'a'.
  Write({{"a", "eins"}, {"a.", "punkt"}, {"a b", "zwei"}, {"ab", "drei"}, {"abc", "vier"}});
  EXPECT_EQ(Lookup(FTranslator, "a").Code, trLengthOutside);  // bucket has a table
  EXPECT_EQ(Lookup(FTranslator, "a  ").Rows, (Rows{"a  =eins", "a  =punkt"}));
  EXPECT_EQ(Lookup(FTranslator, "ab").Code, trLengthOutside);
  EXPECT_EQ(Lookup(FTranslator, "ab ").Rows, Rows{"ab =drei"});
  EXPECT_EQ(Lookup(FTranslator, "abc").Rows, Rows{"abc=vier"});
  EXPECT_EQ(Lookup(FTranslator, "x").Code, trNoBucket);
}

TEST_F(SmallLexicon, WordsSharingABucketAreReportedWithTheQuerysCharacters) {
  Write(
      {{"Abc", "gross"}, {"abc", "klein"}, {"a-cd", "strich"}, {"a cd", "leer"}, {"1ab", "zahl"}});
  // Three-character query: every word of length 3 in the bucket, as the query itself.
  EXPECT_EQ(Lookup(FTranslator, "abc").Rows, (Rows{"abc=gross", "abc=klein"}));
  // 'a-' and 'a ' both have code 0 in second place; the query's characters win.
  EXPECT_EQ(Lookup(FTranslator, "a cd").Rows, (Rows{"a cd=leer", "a cd=strich"}));
  // A query that begins with a space has an empty prefix: nothing matches.
  EXPECT_EQ(Lookup(FTranslator, " ab").Code, trNoMatch);
}

TEST_F(SmallLexicon, LengthsWithoutWordsAndTheLastBucket) {
  Write({{"zzz", "ende"}, {"zzzzzz", "sechs"}, {"abc", "x"}, {"abcdefgh", "acht"}});
  EXPECT_EQ(Lookup(FTranslator, "zzz").Rows, Rows{"zzz=ende"});
  EXPECT_EQ(Lookup(FTranslator, "zzzz").Code, trNoMatch);  // length 4 has count 0
  EXPECT_EQ(Lookup(FTranslator, "zzz   ").Rows, Rows{"zzzzzz=sechs"});
  EXPECT_EQ(Lookup(FTranslator, "zzzzzzz").Code, trLengthOutside);
  EXPECT_EQ(Lookup(FTranslator, "abcdef  ").Rows, Rows{"abcdefgh=acht"});
  EXPECT_EQ(Lookup(FTranslator, "abcdex  ").Code, trNoMatch);
}

// Long runs are scanned in groups of heads: a word that alone matches its query is
// found wherever it stands in its group and whatever the length of its tail, typed
// short (one to four tail bytes wanted) or long.
TEST_F(SmallLexicon, EveryPlaceInALongRunIsFound) {
  std::map<std::string, std::string> texts;
  std::vector<std::string> words;
  for (size_t length : {7, 11, 12, 18}) {
    for (int i = 0; i < 75; ++i) {
      std::string word = "con";
      word += static_cast<char>('a' + i % 25);
      word += static_cast<char>('a' + i / 25);
      while (word.size() < length) word += static_cast<char>('p' + (word.size() + i) % 8);
      texts[word] = "Text " + std::to_string(words.size());
      words.push_back(word);
    }
  }
  Write(texts);
  for (const std::string& word : words) {
    const Rows expected{word + "=" + texts[word]};
    for (size_t typed : {5, 7, 9}) {
      if (typed > word.size()) continue;
      const std::string query = word.substr(0, typed) + std::string(word.size() - typed, ' ');
      ASSERT_EQ(Lookup(FTranslator, query).Rows, expected) << '"' << query << '"';
    }
  }
}

// A length that holds 32768 words or more: its count does not fit a signed 16-bit
// number, and the words and tails before longer words are still counted whole.
TEST_F(SmallLexicon, ALengthOfManyThousandWordsIsCountedWhole) {
  std::map<std::string, std::string> texts;
  for (int i = 0; i < 33000; ++i) {
    std::string word = "abc";
    for (int n = i, c = 0; c < 4; ++c, n /= 26) word += static_cast<char>('a' + n % 26);
    texts[word] = i % 1000 == 0 ? "Text " + std::to_string(i) : std::string();
  }
  texts["abcdefgh"] = "acht";
  texts["abczzzzzz"] = "neun";
  Write(texts);
  EXPECT_EQ(Lookup(FTranslator, "abcdefgh").Rows, Rows{"abcdefgh=acht"});
  EXPECT_EQ(Lookup(FTranslator, "abcz     ").Rows, Rows{"abczzzzzz=neun"});
  EXPECT_EQ(Lookup(FTranslator, "abcaaaa").Rows, Rows{"abcaaaa=Text 0"});
  EXPECT_EQ(Lookup(FTranslator, "abcuivb").Rows, Rows{"abcuivb=Text 32000"});
}

TEST_F(SmallLexicon, CrossReferenceToAnotherBucketThenALaterMatch) {
  // 'mopa' and 'mopc' share the record stored first for 'abc', in another bucket;
  // 'mopb' between them has its own.
  const auto language =
      Write({{"abc", "geteilt"}, {"mopa", "geteilt"}, {"mopb", "eigen"}, {"mopc", "geteilt"}},
            TSharing::CrossReferences);
  const uint32_t mopTable = LoadU32(&language[100 + 4 * TTranslator::BucketOf(PLV_TEXT("mop"))]);
  const uint32_t abcBucket = TTranslator::BucketOf(PLV_TEXT("abc"));
  EXPECT_EQ(LoadU32(&language[mopTable]), abcBucket << 16);  // 'mopa' refers to word 0 of 'abc'
  EXPECT_EQ(Lookup(FTranslator, "mop ").Rows, (Rows{"mopa=geteilt", "mopb=eigen", "mopc=geteilt"}));
}

TEST_F(SmallLexicon, WordsWithoutATextInABucketTheLanguageCovers) {
  std::vector<std::string> words = {"house", "hound", "cat"};
  TLexiconIndex index(words);
  TLanguageFileBuilder german(index, TSharing::EqualOffsets);
  german.Set("house", PackText("Haus"));
  WriteFileBytes((FDir / "Index.plv").string(), index.FileBytes());
  WriteFileBytes((FDir / "German.plv").string(), german.FileBytes());
  FTranslator.SetIndexFileName(ToText(FDir / "Index.plv"));
  FTranslator.SetDataFileName(ToText(FDir / "German.plv"));
  EXPECT_EQ(Lookup(FTranslator, "hou  ").Rows, Rows{"house=Haus"});
  EXPECT_EQ(Lookup(FTranslator, "hound").Code, trFound);   // matched, empty text
  EXPECT_EQ(Lookup(FTranslator, "cat").Code, trNoBucket);  // no table in this language
}

TEST(TranslatorFiles, NoFilesOpenAnswersNoBucket) {
  TTranslator translator;
  EXPECT_EQ(Lookup(translator, "house").Code, trNoBucket);
  EXPECT_TRUE(translator.Words().empty());
  EXPECT_TRUE(translator.DataFileName().empty());
}

TEST(TranslatorFiles, OpenErrorNamesTheFullPathAndTheReason) {
  TTempDir dir;
  const String16 missing = ToText(dir / "Files" / "Index.plv");
  TTranslator translator;
  try {
    translator.SetIndexFileName(missing);
    FAIL() << "opening a missing file succeeded";
  } catch (const EFOpenError& error) {
    const String16 expectedStart = PLV_TEXT("Cannot open file \"") + missing + PLV_TEXT("\". ");
    const String16& message = error.Message();
    ASSERT_EQ(message.substr(0, expectedStart.size()), expectedStart);
    const String16 reason = message.substr(expectedStart.size());
    ASSERT_FALSE(reason.empty());
    EXPECT_NE(reason.back(), Char16{'.'});
    EXPECT_GT(reason.back(), Char16{' '});
#ifdef _WIN32
    EXPECT_EQ(message, OpenErrorMessage(missing, SystemText(ERROR_PATH_NOT_FOUND)));
#endif
  }
  // The failed name stays recorded; no file is held.
  EXPECT_EQ(translator.IndexFileName(), missing);
  EXPECT_EQ(Lookup(translator, "mip").Code, trNoBucket);
}

TEST(TranslatorFiles, OpenErrorReasonIsStripped) {
  EXPECT_EQ(OpenErrorMessage(PLV_TEXT("C:\\x"), PLV_TEXT("Access denied. \r\n")),
            PLV_TEXT("Cannot open file \"C:\\x\". Access denied"));
  EXPECT_EQ(OpenErrorMessage(PLV_TEXT("y"), PLV_TEXT("...")), PLV_TEXT("Cannot open file \"y\". "));
}

TEST(TranslatorFiles, AFolderIsNoLexiconFile) {
  TTempDir dir;
  std::filesystem::create_directory(dir / "German.plv");
  TTranslator translator;
  EXPECT_THROW(translator.SetDataFileName(ToText(dir / "German.plv")), EFOpenError);
}

#ifndef _WIN32
TEST(TranslatorFiles, OnlyRegularFilesAreLexiconFiles) {
  TTempDir dir;
  const auto fifo = dir / "German.plv";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  TTranslator translator;
  try {
    translator.SetDataFileName(ToText(fifo));  // must not wait for a writer
    FAIL() << "a FIFO was opened";
  } catch (const EFOpenError& error) {
    EXPECT_EQ(error.Message(), OpenErrorMessage(ToText(fifo), PLV_TEXT("Not a regular file")));
  }
  std::filesystem::create_symlink(dir / "nowhere.plv", dir / "French.plv");
  EXPECT_THROW(translator.SetDataFileName(ToText(dir / "French.plv")), EFOpenError);
}
#endif

TEST(TranslatorFiles, ANameWhoseOpeningFailedIsTriedAgain) {
  TTempDir dir;
  const TSampleFiles files = WorkedExampleFiles();
  WriteBytes(dir / "Index.plv", files.Index);
  TTranslator translator;
  translator.SetIndexFileName(ToText(dir / "Index.plv"));
  const String16 german = ToText(dir / "German.plv");
  EXPECT_THROW(translator.SetDataFileName(german), EFOpenError);
  EXPECT_THROW(translator.SetDataFileName(german), EFOpenError);  // fails again, and says so
  WriteBytes(dir / "German.plv", files.Language);
  EXPECT_NO_THROW(translator.SetDataFileName(german));
  EXPECT_EQ(Lookup(translator, "mip").Rows, std::vector<std::string>{"mip=kories, mat"});
}

TEST(FileLayer, ViewsAndReadsGiveTheFileThenZeros) {
  TTempDir dir;
  WriteBytes(dir / "bytes.plv", Hex("01 02 03 04 05 06"));
  WriteBytes(dir / "empty.plv", {});
  auto file = TFileStream::OpenRead(ToText(dir / "bytes.plv"));
  std::vector<uint8_t> scratch;
  auto view = [&](uint64_t at, size_t count) {
    const uint8_t* bytes = file->View(at, count, scratch);
    return std::vector<uint8_t>(bytes, bytes + count);
  };
  EXPECT_EQ(view(1, 4), Hex("02 03 04 05"));
  EXPECT_EQ(view(4, 4), Hex("05 06 00 00"));
  EXPECT_EQ(view(100, 3), Hex("00 00 00"));
  EXPECT_EQ(file->U32At(3), 0x00060504u);
  EXPECT_EQ(file->U32At(0xFFFFFFFFFFFFFFF0ull), 0u);
  EXPECT_EQ(file->Position(), 0u);  // views move nothing
  uint8_t read[4];
  file->Seek(5);
  EXPECT_EQ(file->Read(read, sizeof read), 1u);
  EXPECT_EQ(std::vector<uint8_t>(read, read + 4), Hex("06 00 00 00"));
  auto empty = TFileStream::OpenRead(ToText(dir / "empty.plv"));
  EXPECT_EQ(empty->U32At(0), 0u);
  EXPECT_EQ(*empty->View(0, 2, scratch), 0);
  // Nothing asked for, with a scratch that has no storage yet: nothing is touched.
  std::vector<uint8_t> none;
  empty->View(0, 0, none);
  file->View(100, 0, none);
  EXPECT_TRUE(none.empty());
}

class OpenFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    const TSampleFiles files = WorkedExampleFiles();
    WriteBytes(FDir / "Index.plv", files.Index);
    WriteBytes(FDir / "German.plv", files.Language);
    WriteBytes(FDir / "French.plv", files.Language);
    WriteBytes(FDir / "texts.plv", Hex("01 61 80 01 62 80"));
  }
  TTempDir FDir;
};

TEST_F(OpenFiles, SettingTheSameNameKeepsTheFileAndItsPosition) {
  TTranslator translator;
  translator.SetDataFileName(ToText(FDir / "texts.plv"));
  EXPECT_EQ(translator.ReadText(), PLV_TEXT("a"));
  translator.SetDataFileName(ToText(FDir / "texts.plv"));
  EXPECT_EQ(translator.ReadText(), PLV_TEXT("b"));  // not reopened: the position stayed
}

TEST_F(OpenFiles, EmptyNameClosesAndAFailedOpenClosesTheOldFile) {
  TTranslator translator;
  translator.SetIndexFileName(ToText(FDir / "Index.plv"));
  translator.SetDataFileName(ToText(FDir / "German.plv"));
  ASSERT_EQ(Lookup(translator, "mip").Code, trFound);

  translator.SetDataFileName(String16());
  EXPECT_EQ(Lookup(translator, "mip").Code, trNoBucket);
  EXPECT_NO_THROW(TFileStream::OpenRead(ToText(FDir / "German.plv")));  // no longer held

  translator.SetDataFileName(ToText(FDir / "French.plv"));
  ASSERT_EQ(Lookup(translator, "mip").Code, trFound);
  EXPECT_THROW(translator.SetDataFileName(ToText(FDir / "Dutch.plv")), EFOpenError);
  EXPECT_EQ(translator.DataFileName(), ToText(FDir / "Dutch.plv"));
  EXPECT_EQ(Lookup(translator, "mip").Code, trNoBucket);
  EXPECT_NO_THROW(TFileStream::OpenRead(ToText(FDir / "French.plv")));
}

#ifdef _WIN32
TEST_F(OpenFiles, HeldFilesAreNotSharedWithOtherOpeners) {
  TTranslator first;
  first.SetIndexFileName(ToText(FDir / "Index.plv"));
  TTranslator second;
  try {
    second.SetIndexFileName(ToText(FDir / "Index.plv"));
    FAIL() << "a held index file was opened twice";
  } catch (const EFOpenError& error) {
    EXPECT_EQ(error.Message(),
              OpenErrorMessage(ToText(FDir / "Index.plv"), SystemText(ERROR_SHARING_VIOLATION)));
  }
  // Other programs may not even read it.
  HANDLE other =
      CreateFileW(ToText(FDir / "Index.plv").c_str(), GENERIC_READ,
                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_EQ(other, INVALID_HANDLE_VALUE);
  if (other != INVALID_HANDLE_VALUE) CloseHandle(other);
}
#endif

// A plain model of a lookup: scan every headword of the lexicon.
struct TModelWord {
  std::string Stored;
  std::string Text;  // empty: no text in this language
};

TLookup ModelLookup(const std::vector<TModelWord>& words, const std::string& query) {
  const uint32_t bucket = TLexiconIndex::BucketOfBytes(query);
  std::vector<const TModelWord*> inBucket;
  bool covered = false;
  for (const auto& word : words) {
    if (TLexiconIndex::BucketOfBytes(word.Stored) != bucket) continue;
    inBucket.push_back(&word);
    covered = covered || !word.Text.empty();
  }
  if (!covered) return {trNoBucket, {}};
  std::sort(inBucket.begin(), inBucket.end(), [](const TModelWord* a, const TModelWord* b) {
    return a->Stored.size() != b->Stored.size() ? a->Stored.size() < b->Stored.size()
                                                : a->Stored < b->Stored;
  });
  if (query.size() < inBucket.front()->Stored.size() ||
      query.size() > inBucket.back()->Stored.size()) {
    return {trLengthOutside, {}};
  }
  const std::string prefix = query.substr(0, query.find(' '));
  TLookup result{trNoMatch, {}};
  for (const TModelWord* word : inBucket) {
    if (word->Stored.size() != query.size()) continue;
    const std::string candidate = query.substr(0, 3) + word->Stored.substr(3);
    if (prefix.empty() || candidate.compare(0, prefix.size(), prefix) != 0) continue;
    result.Code = trFound;
    if (!word->Text.empty())
      result.Rows.push_back(ToUtf8(FromLatin1(candidate + "=" + word->Text)));
  }
  return result;
}

// Writes the lexicon of texts (headword -> text, empty for none) and checks the lookups
// of every headword's beginnings, cut at each length and padded with 0 to 3 spaces (a
// sample of at most maxQueries of them), against the plain scan: one lookup at a time,
// and, for one in 16, as the series of a query and its forms padded with up to 4
// more spaces.
void ExpectLookupsAgreeWithAPlainScan(const std::map<std::string, std::string>& texts,
                                      TSharing sharing, std::mt19937& random, size_t maxQueries) {
  std::vector<std::string> headwords;
  for (const auto& [word, text] : texts) headwords.push_back(word);
  TLexiconIndex index(headwords);
  TLanguageFileBuilder language(index, sharing);
  std::map<std::string, std::string> storedTexts;
  for (const auto& [word, text] : texts) {
    if (text.empty()) continue;
    language.Set(word, PackText(text));
    storedTexts[TLexiconIndex::Stored(word)] = text;
  }
  std::vector<TModelWord> model;
  std::set<std::string> modelled;
  for (const auto& [word, text] : texts) {
    const std::string stored = TLexiconIndex::Stored(word);
    if (modelled.insert(stored).second)
      model.push_back({stored, storedTexts.count(stored) ? storedTexts[stored] : std::string()});
  }

  TTempDir dir;
  WriteFileBytes((dir / "Index.plv").string(), index.FileBytes());
  TLanguageFileBuilder::TStats stats;
  WriteFileBytes((dir / "German.plv").string(), language.FileBytes(&stats));
  EXPECT_GT(stats.SharedEntries, 0u);
  TTranslator translator;
  translator.SetIndexFileName(ToText(dir / "Index.plv"));
  translator.SetDataFileName(ToText(dir / "German.plv"));

  std::vector<std::string> queries;
  for (const auto& word : model) {
    for (size_t cut = 1; cut <= word.Stored.size(); ++cut) {
      std::string query = word.Stored.substr(0, cut);
      for (char& ch : query) {
        if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch + 32);
      }
      queries.push_back(query + std::string(random() % 4, ' '));
    }
  }
  std::shuffle(queries.begin(), queries.end(), random);
  queries.resize(std::min(queries.size(), maxQueries));
  size_t found = 0;
  for (size_t q = 0; q < queries.size(); ++q) {
    const std::string& query = queries[q];
    const TLookup expected = ModelLookup(model, query);
    const TLookup actual = Lookup(translator, ToUtf8(FromLatin1(query)));
    ASSERT_EQ(actual.Code, expected.Code) << '"' << query << '"';
    ASSERT_EQ(actual.Rows, expected.Rows) << '"' << query << '"';
    found += actual.Rows.size();
    if (q % 16 != 0) continue;  // the model is slow: a series for one query in 16

    const std::string longest = query + std::string(4, ' ');
    Rows expectedSeries, series;
    for (size_t length = query.size(); length <= longest.size(); ++length) {
      const TLookup each = ModelLookup(model, longest.substr(0, length));
      if (each.Code == trFound) expectedSeries.push_back("found:");
      expectedSeries.insert(expectedSeries.end(), each.Rows.begin(), each.Rows.end());
    }
    const String16 longestText = FromLatin1(longest);
    translator.TranslateEachLength(longestText, query.size(), [&] {
      series.push_back("found:");
      for (size_t i = 0; i < translator.Words().size(); ++i)
        series.push_back(ToUtf8(ResultRow(translator.Words()[i], translator.Translations()[i])));
    });
    ASSERT_EQ(series, expectedSeries) << '"' << query << '"';
  }
  EXPECT_GT(found, queries.size() / 4);
}

class RandomLexicon : public ::testing::TestWithParam<TSharing> {};

TEST_P(RandomLexicon, LookupsAgreeWithAPlainScan) {
  std::mt19937 random(GetParam() == TSharing::CrossReferences ? 7 : 11);
  // A small alphabet crowds the buckets; capitals, spaces, digits and accented bytes
  // share codes with other characters.
  const std::string first = "abcAB \\1";
  const std::string rest = "abcde xyzAE-\xE9\xFC";
  std::map<std::string, std::string> texts;
  const std::vector<std::string> pool = {"Haus",     "Hund, Katze", "Maus; Tier",
                                         "\xC4pfel", "x",           "lang lang lang"};
  for (int i = 0; i < 1500; ++i) {
    std::string word;
    const size_t length = 1 + random() % 9;
    for (size_t c = 0; c < length; ++c)
      word += c < 3 ? first[random() % first.size()] : rest[random() % rest.size()];
    if (word[0] == ' ' && random() % 2) word[0] = 'a';
    texts[word] = random() % 7 == 0 ? std::string()
                                    : pool[random() % pool.size()] + std::to_string(random() % 3);
  }
  ExpectLookupsAgreeWithAPlainScan(texts, GetParam(), random, SIZE_MAX);
}

// One bucket crowded with words of every length from 4 to 24 on a few letters, so that
// runs are long and typed tails pass eight characters: families of words that differ
// in one character only, around the eighth and ninth of the tail above all.
TEST_P(RandomLexicon, ACrowdedBucketAgreesWithAPlainScan) {
  std::mt19937 random(GetParam() == TSharing::CrossReferences ? 5 : 13);
  const std::string letters = "eirst\xE9";
  std::map<std::string, std::string> texts;
  for (int family = 0; family < 400; ++family) {
    std::string word = random() % 8 ? "con" : "CoN";
    const size_t length = 4 + random() % 21;
    while (word.size() < length) word += letters[random() % letters.size()];
    for (int member = 0; member < 5; ++member) {
      std::string variant = word;
      const size_t at = member < 3 ? 9 + member + random() % 3 : 3 + random() % (length - 3);
      if (at < length) variant[at] = letters[random() % letters.size()];
      texts[variant] = random() % 9 == 0 ? std::string() : "Text " + std::to_string(random() % 50);
    }
  }
  ExpectLookupsAgreeWithAPlainScan(texts, GetParam(), random, 1500);
}

INSTANTIATE_TEST_SUITE_P(Sharing, RandomLexicon,
                         ::testing::Values(TSharing::EqualOffsets, TSharing::CrossReferences));

}  // namespace
}  // namespace parlivo::test
