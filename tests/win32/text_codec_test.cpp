#include "platform/text_codec.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace {

using namespace hf::codec;

// GBK bytes are written as escapes: the conversion is under test, not the compiler's.
struct Decoding {
  const char* name;
  std::string gbk;
  std::u16string utf16;
};
void PrintTo(const Decoding& decoding, std::ostream* out) {
  *out << decoding.name;
}

class GbkDecoding : public testing::TestWithParam<Decoding> {};

TEST_P(GbkDecoding, DecodesWithCodePage936) {
  EXPECT_EQ(gbkToUtf16(GetParam().gbk), GetParam().utf16);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GbkDecoding,
    testing::Values(Decoding{"Star", "\xA1\xEF", u"\u2605"},
                    Decoding{"Sentence", "\xCE\xD2\xC3\xC7\xCC\xEE\xB1\xED\xA1\xA3",
                             u"\u6211\u4EEC\u586B\u8868\u3002"},  // 我们填表。
                    Decoding{"LoneLeadByteAtTheEnd", "ab\x81", u"ab\uFFFD"},
                    Decoding{"BrokenPairKeepsItsAsciiByte", "\x81\"x", u"\uFFFD\"x"},
                    Decoding{"UndefinedByte", "\xFF", u"\uFFFD"},
                    Decoding{"EuroSign", "\x80", u"\u20AC"}, Decoding{"Empty", "", u""}),
    [](const auto& info) { return std::string(info.param.name); });

struct Encoding {
  const char* name;
  std::u16string utf16;
  std::string gbk;
};
void PrintTo(const Encoding& encoding, std::ostream* out) {
  *out << encoding.name;
}

class GbkEncoding : public testing::TestWithParam<Encoding> {};

TEST_P(GbkEncoding, EncodesWithCodePage936) {
  EXPECT_EQ(utf16ToGbk(GetParam().utf16), GetParam().gbk);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GbkEncoding,
    testing::Values(Encoding{"StarAndHanzi", u"\u2605\u4E2D", "\xA1\xEF\xD6\xD0"},
                    Encoding{"AccentInGbk", u"\u00E9", "\xA8\xA6"},
                    Encoding{"NoBestFitLookAlike", u"\u00C0x", "?x"},  // not 'A'
                    Encoding{"OneQuestionMarkPerCharacter", u"a\U0001F600b", "a?b"},
                    Encoding{"LoneSurrogate", u"\xD800z", "?z"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TextCodec, RoundTripsEveryDoubleByteCharacterOfGbk) {
  std::string all;
  for (int lead = 0x81; lead <= 0xFE; ++lead) {
    for (int trail = 0x40; trail <= 0xFE; ++trail) {
      if (trail == 0x7F) continue;
      std::string pair{char(lead), char(trail)};
      std::u16string decoded = gbkToUtf16(pair);
      if (decoded.size() == 1 && decoded[0] != u'\uFFFD') all += pair;  // skips unassigned codes
    }
  }
  EXPECT_GT(all.size() / 2, 21000u);
  EXPECT_EQ(utf16ToGbk(gbkToUtf16(all)), all);
}

TEST(TextCodec, ConvertsBetweenGbkAndUtf8) {
  EXPECT_EQ(gbkToUtf8("\xA1\xEF\xD6\xD0"), "\xE2\x98\x85\xE4\xB8\xAD");
  EXPECT_EQ(utf8ToGbk("\xE2\x98\x85\xE4\xB8\xAD"), "\xA1\xEF\xD6\xD0");
  EXPECT_EQ(utf8ToGbk("a\xC3"), "a?");  // truncated UTF-8
}

TEST(TextCodec, BuildsPathsFromGbkNames) {
  EXPECT_EQ(pathFromGbk("\xB1\xA3\xB4\xE6"
                        "A.txt")
                .wstring(),
            L"\u4FDD\u5B58A.txt");  // 保存A.txt
}

}  // namespace
