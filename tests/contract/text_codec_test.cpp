// GBK conversions at the edges of the system. GBK bytes are written as
// escapes, so the conversion under test is not the compiler's; u"" literals
// are UTF-16 and u8"" literals UTF-8.
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/text_codec.h"

namespace {

namespace codec = hf::codec;

std::string bytesOf(std::u8string_view utf8) {
  return {utf8.begin(), utf8.end()};
}

TEST(GbkCodec, RoundTripsThroughUtf16AndUtf8) {
  struct Case {
    std::string gbk;
    std::u16string utf16;
    std::u8string utf8;
  };
  const std::vector<Case> cases = {
      {"", u"", u8""},
      {"plain ASCII\r\n", u"plain ASCII\r\n", u8"plain ASCII\r\n"},
      {std::string("a\0b", 3), std::u16string(u"a\0b", 3), std::u8string(u8"a\0b", 3)},
      {"\xA1\xEF\xD6\xD0", u"★中", u8"★中"},
      {"\xB1\xA3\xB4\xE6"
       "A.txt",
       u"保存A.txt", u8"保存A.txt"},
      {"\xCE\xD2\xC3\xC7\xCC\xEE\xB1\xED\xA1\xA3", u"我们填表。", u8"我们填表。"},
      {"\xA8\xA6", u"é", u8"é"},
      {"\x80", u"\u20AC", u8"\u20AC"},  // the euro sign of the Windows code page
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(bytesOf(c.utf8));
    EXPECT_EQ(codec::gbkToUtf16(c.gbk), c.utf16);
    EXPECT_EQ(codec::utf16ToGbk(c.utf16), c.gbk);
    EXPECT_EQ(codec::gbkToUtf8(c.gbk), bytesOf(c.utf8));
    EXPECT_EQ(codec::utf8ToGbk(bytesOf(c.utf8)), c.gbk);
  }
}

// The Windows code page has a character for every lead and trail byte.
TEST(GbkCodec, EveryDoubleByteCodeIsOneCharacterAndRoundTrips) {
  std::string all;
  for (int lead = 0x81; lead <= 0xFE; ++lead) {
    for (int trail = 0x40; trail <= 0xFE; ++trail) {
      if (trail != 0x7F) all += {char(lead), char(trail)};
    }
  }
  const std::u16string decoded = codec::gbkToUtf16(all);
  EXPECT_EQ(decoded.size(), all.size() / 2);
  EXPECT_EQ(decoded.find(u'\uFFFD'), std::u16string::npos);
  EXPECT_EQ(codec::utf16ToGbk(decoded), all);
  EXPECT_EQ(codec::utf8ToGbk(codec::gbkToUtf8(all)), all);
}

// Codes GBK leaves free (user-defined characters among them) are
// private-use characters: first the three user-defined areas, then the rest.
TEST(GbkCodec, FreeCodesArePrivateUseCharacters) {
  struct Case {
    std::string gbk;
    char16_t utf16;
  };
  const std::vector<Case> cases = {
      {"\xAA\xA1", u'\uE000'}, {"\xAF\xFE", u'\uE233'}, {"\xF8\xA1", u'\uE234'},
      {"\xFE\xFE", u'\uE4C5'}, {"\xA1\x40", u'\uE4C6'}, {"\xA1\x80", u'\uE505'},
      {"\xA7\xA0", u'\uE765'}, {"\xA2\xAB", u'\uE766'}, {"\xA2\xE3", u'\uE76C'},
      {"\xFE\xA0", u'\uE864'},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << int(c.utf16));
    EXPECT_EQ(codec::gbkToUtf16(c.gbk + "\xA1\xEF"), (std::u16string{c.utf16, u'\u2605'}));
    EXPECT_EQ(codec::utf16ToGbk(std::u16string{u'a', c.utf16}), "a" + c.gbk);
    EXPECT_EQ(codec::utf8ToGbk(codec::gbkToUtf8(c.gbk)), c.gbk);
  }
  EXPECT_EQ(codec::utf16ToGbk(u"\uE865\uF000"), "??");  // private use, but not the code page's
}

TEST(GbkCodec, UndecodableBytesBecomeReplacementCharacters) {
  struct Case {
    const char* what;
    std::string gbk;
    std::u16string utf16;
  };
  const std::vector<Case> cases = {
      {"lead byte cut off at the end", "ab\x81", u"ab\uFFFD"},
      {"lead byte before a tab", "\x81\tB", u"\uFFFD\tB"},
      {"lead byte before a quote", "\x81\"x", u"\uFFFD\"x"},
      {"never a lead byte", "x\xFFy", u"x\uFFFDy"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(codec::gbkToUtf16(c.gbk), c.utf16);
  }
  EXPECT_EQ(codec::gbkToUtf8("ab\x81"), bytesOf(u8"ab\uFFFD"));
}

TEST(GbkCodec, UnencodableCharactersBecomeOneQuestionMarkEach) {
  struct Case {
    const char* what;
    std::u16string utf16;
    std::string gbk;
  };
  const std::vector<Case> cases = {
      {"not in GBK", u"a\u00A5b", "a?b"},
      {"no look-alike instead", u"\u00C0x", "?x"},
      {"outside the basic plane", u"a\U0001F600\u2605", "a?\xA1\xEF"},
      {"lone high surrogate", std::u16string{u'x', char16_t(0xD800), u'y'}, "x?y"},
      {"high surrogate at the end", std::u16string{u'x', char16_t(0xD800)}, "x?"},
      {"lone low surrogate", std::u16string{char16_t(0xDC00), u'z'}, "?z"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(codec::utf16ToGbk(c.utf16), c.gbk);
  }
  EXPECT_EQ(codec::utf8ToGbk(bytesOf(u8"\U0001F600★")), "?\xA1\xEF");
  // Each broken UTF-8 character is one: its lead byte with what could continue it.
  EXPECT_EQ(codec::utf8ToGbk("\xC3(\xE2\x98"), "?(?");
  EXPECT_EQ(codec::utf8ToGbk("\xF0\x9F\x98"), "?");
  EXPECT_EQ(codec::utf8ToGbk("\xC0\xAFz"), "??z");  // never a lead byte, nor a lone trail
}

TEST(GbkCodec, PathsFromGbkNamesAreTheNamesInUnicode) {
  EXPECT_EQ(codec::pathFromGbk("\xB1\xA3\xB4\xE6"
                               "A.txt"),
            std::filesystem::path(u8"保存A.txt"));
}

}  // namespace
