// Packed texts: the stated decoding examples, the position after each text, and the
// packer's round trip through the reader.
#include <gtest/gtest.h>

#include <random>

#include "TestFiles.h"
#include "TextPacker.h"
#include "Translator.h"

namespace parlivo::test {
namespace {

struct TDecodingCase {
  const char* Packed;
  std::u16string Decoded;  // before the cut
  int32_t TextLength;
};

// Read back to back from one file, so each case also proves that the previous text
// left the position just after its last code word.
const TDecodingCase kCases[] = {
    {"0A 6B EF 72 82 2C ED 08 80", u"kories, mat", 11},
    {"04 74 91 6E 80", u"tion", 4},
    {"04 E4 E2 3B 80 78 80", u"\u00E4b; x", 5},
    {"03 74 80 FF 7F", u"t...", 3},
    {"01 61 AC", u"a, ", 2},
    {"03 1F 00", std::u16string(u".\0\0", 3), 3},
    {"00", u"", 0},
    {"01 00 80", u"<0>", 1},  // low part 0 names "<0>", high part 0 adds nothing
    {"02 E0 FF", u"\u00E0\u007F", 2},
    {"01 41 9F", u"Ath", 1},  // a suffix in the high part
};

String16 Text(const std::u16string& s) {
  return String16(s.begin(), s.end());
}

TEST(TextDecoding, StatedExamplesBackToBack) {
  TTempDir dir;
  std::vector<uint8_t> file;
  for (const auto& c : kCases) {
    const auto bytes = Hex(c.Packed);
    file.insert(file.end(), bytes.begin(), bytes.end());
  }
  file.push_back(0x05);  // a length byte after the last text: must not be consumed
  WriteBytes(dir / "texts.plv", file);

  TTranslator translator;
  translator.SetDataFileName(ToText(dir / "texts.plv"));
  for (const auto& c : kCases) {
    EXPECT_EQ(translator.ReadText(), Text(c.Decoded)) << c.Packed;
    EXPECT_EQ(translator.TextLength(), c.TextLength) << c.Packed;
  }
  // The byte after the last text starts the next text.
  EXPECT_EQ(translator.ReadText().size(), 6u);  // 05 then zeros past the end: two triples
  EXPECT_EQ(translator.TextLength(), 5);
}

TEST(TextDecoding, SeparatorsRaiseTheTargetBeyond255) {
  // 255 counted characters of which 100 are "; " separators: 355 characters.
  std::string text;
  for (int i = 0; i < 100; ++i) text += "x; ";
  text += std::string(55, 'y');
  ASSERT_EQ(CountedLength(text), 255u);
  TTempDir dir;
  auto packed = PackText(text);
  ASSERT_EQ(packed[0], 255);
  const auto next = PackText("ok");
  packed.insert(packed.end(), next.begin(), next.end());
  WriteBytes(dir / "long.plv", packed);

  TTranslator translator;
  translator.SetDataFileName(ToText(dir / "long.plv"));
  EXPECT_EQ(translator.ReadText().substr(0, 355), FromLatin1(text));
  EXPECT_EQ(translator.TextLength(), 355);
  EXPECT_EQ(translator.ReadText(), PLV_TEXT("ok"));
  EXPECT_EQ(translator.TextLength(), 2);
}

TEST(TextDecoding, SymbolTextCountsSeparatorsOnly) {
  TTranslator translator;
  EXPECT_EQ(translator.SymbolText(31), PLV_TEXT("."));
  EXPECT_EQ(translator.SymbolText(0xDF), StringView16(PLV_TEXT("\u00DF")));
  EXPECT_EQ(translator.TextLength(), 0);
  EXPECT_EQ(translator.SymbolText(44), PLV_TEXT(", "));
  EXPECT_EQ(translator.SymbolText(59), PLV_TEXT("; "));
  EXPECT_EQ(translator.TextLength(), 2);
  EXPECT_EQ(translator.SymbolText(0).size(), 1u);
  EXPECT_EQ(translator.SymbolText(0)[0], Char16{0});
}

TEST(TextDecoding, ReadEntryAddsThePairAndStopsAfterTheRecord) {
  TTempDir dir;
  // 'mipat': prefix, first text 'x', second 'tion'; then a packed 'ok'; then an entry
  // whose second text is empty.
  WriteBytes(dir / "entries.plv", Hex("00 00 00 00 00 00 00 01 78 80 04 74 91 6E 80  02 6F 80 6B 80"
                                      "00 00 00 00 00 00 00 01 78 80 00"));
  TTranslator translator;
  translator.SetDataFileName(ToText(dir / "entries.plv"));
  translator.ReadEntry(PLV_TEXT("mipat"));
  EXPECT_EQ(translator.ReadText(), PLV_TEXT("ok"));
  translator.ReadEntry(PLV_TEXT("mipel"));
  ASSERT_EQ(translator.Words().size(), 1u);
  EXPECT_EQ(translator.Words()[0], PLV_TEXT("mipat"));
  EXPECT_EQ(translator.Translations()[0], PLV_TEXT("tion"));
}

TEST(TextPacking, RefusesWhatTheFormCannotHold) {
  EXPECT_THROW(PackText("tab\there"), EUnpackableText);
  EXPECT_THROW(PackText("1,5"), EUnpackableText);
  EXPECT_THROW(PackText("end;"), EUnpackableText);
  EXPECT_THROW(PackText(std::string(256, 'a')), EUnpackableText);
  EXPECT_NO_THROW(PackText(std::string(255, 'a')));
  // 256 characters that count as 255 because of one separator.
  EXPECT_NO_THROW(PackText(std::string(253, 'a') + ", "));
  EXPECT_FALSE(IsPackable("a,b"));
  EXPECT_TRUE(IsPackable("a, b; c. d"));
}

TEST(TextPacking, RoundTripThroughTheReader) {
  std::mt19937 random(20261209);
  const std::string alphabet =
      "abcdefghijklmnopqrstuvwxyz ABC.-()'!?0123456789\xE4\xF6\xFC\xDF\xE9\xE8\xFF\xA0\x80";
  std::vector<std::string> texts = {"", "ion", "tion", "kories, mat", "a; b, c", "<0>", "thththth"};
  for (int i = 0; i < 400; ++i) {
    std::string text;
    const size_t length = random() % 120;
    while (text.size() < length) {
      const unsigned pick = random() % 40;
      if (pick == 0) {
        text += ", ";
      } else if (pick == 1) {
        text += "; ";
      } else {
        text += alphabet[random() % alphabet.size()];
      }
    }
    texts.push_back(text);
  }

  TTempDir dir;
  std::vector<uint8_t> file;
  for (const auto& text : texts) {
    const auto packed = PackText(text);
    file.insert(file.end(), packed.begin(), packed.end());
  }
  WriteBytes(dir / "round.plv", file);
  TTranslator translator;
  translator.SetDataFileName(ToText(dir / "round.plv"));
  for (const auto& text : texts) {
    const String16 decoded = translator.ReadText();
    ASSERT_EQ(translator.TextLength(), static_cast<int32_t>(text.size())) << text;
    ASSERT_EQ(decoded.substr(0, text.size()), FromLatin1(text)) << text;
    ASSERT_LE(decoded.size(), text.size() + 5) << text;
  }
}

// The decoding rules written out plainly, one symbol at a time, to hold the reader's
// table-driven decoder against.
String16 DecodeByTheRules(const std::vector<uint8_t>& bytes, int32_t& target, size_t& used) {
  const char16_t* suffixes[32] = {u"<0>", u"ion", u"ies", u"ing", u"ous", u"ses", u"al", u"an",
                                  u"at",  u"ed",  u"en",  u"er",  u"es",  u"ia",  u"ic", u"ie",
                                  u"in",  u"io",  u"is",  u"it",  u"le",  u"ly",  u"ne", u"on",
                                  u"or",  u"ra",  u"se",  u"ss",  u"st",  u"te",  u"ti", u"th"};
  String16 text;
  auto symbol = [&](int code) {
    if (code == 31) {
      text += Char16{'.'};
    } else if (code == 44 || code == 59) {
      text += static_cast<Char16>(code);
      text += Char16{' '};
      ++target;
    } else {
      text += static_cast<Char16>(code);
    }
  };
  auto suffix = [&](int index) {
    for (const char16_t* c = suffixes[index]; *c; ++c) text += static_cast<Char16>(*c);
  };
  target = bytes[0];
  for (used = 1; static_cast<int32_t>(text.size()) < target; used += 2) {
    const int w = bytes[used] | bytes[used + 1] << 8;
    if ((w & 0x8000) == 0) {
      for (int shift : {0, 5, 10}) symbol((w >> shift) & 31);
    } else {
      const int low = w & 0xFF, high = (w >> 8) & 0x7F;
      low < 32 ? suffix(low) : symbol(low);
      if (high >= 32) {
        symbol(high);
      } else if (high > 0) {
        suffix(high);
      }
    }
  }
  return text;
}

TEST(TextDecoding, RandomCodeWordsDecodeAsTheRulesSay) {
  std::mt19937 random(7);
  TTempDir dir;
  std::vector<std::vector<uint8_t>> texts;
  std::vector<uint8_t> file;
  for (int i = 0; i < 2000; ++i) {
    std::vector<uint8_t> text(kMaxPackedTextSize);
    for (auto& byte : text) byte = static_cast<uint8_t>(random());
    // Escape words full of separators and letter groups, or plain triples.
    if (i % 3 == 0)
      for (size_t at = 2; at < text.size(); at += 2) text[at] |= 0x80;
    texts.push_back(text);
  }
  // Back to back, each cut where the rules stop reading it.
  std::vector<String16> expected(texts.size());
  std::vector<int32_t> targets(texts.size());
  for (size_t i = 0; i < texts.size(); ++i) {
    size_t used = 0;
    expected[i] = DecodeByTheRules(texts[i], targets[i], used);
    file.insert(file.end(), texts[i].begin(), texts[i].begin() + static_cast<std::ptrdiff_t>(used));
  }
  WriteBytes(dir / "random.plv", file);
  TTranslator translator;
  translator.SetDataFileName(ToText(dir / "random.plv"));
  for (size_t i = 0; i < texts.size(); ++i) {
    ASSERT_EQ(translator.ReadText(), expected[i]) << i;
    ASSERT_EQ(translator.TextLength(), targets[i]) << i;
  }
}

TEST(Utf8Text, OnlyTheShortestWellFormedSequencesDecode) {
  const String16 r(1, Char16{0xFFFD});
  EXPECT_EQ(FromUtf8("M\xC3\xA9nd"), PLV_TEXT("M\u00E9nd"));
  EXPECT_EQ(FromUtf8("\xF0\x9F\x98\x80"), String16({Char16{0xD83D}, Char16{0xDE00}}));
  // Overlong forms of '/' and of U+00E9, and an overlong four-byte form of U+FFFF.
  EXPECT_EQ(FromUtf8("M\xC0\xAFond"), PLV_TEXT("M") + r + r + PLV_TEXT("ond"));
  EXPECT_EQ(FromUtf8("\xE0\x83\xA9"), r + r + r);
  EXPECT_EQ(FromUtf8("\xF0\x8F\xBF\xBF"), r + r + r + r);
  // Surrogates, beyond U+10FFFF, a cut sequence.
  EXPECT_EQ(FromUtf8("\xED\xA0\x80"), r + r + r);
  EXPECT_EQ(FromUtf8("\xF4\x90\x80\x80"), r + r + r + r);
  EXPECT_EQ(FromUtf8("a\xC3"), PLV_TEXT("a") + r);
}

}  // namespace
}  // namespace parlivo::test
