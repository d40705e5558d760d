// GBK conversions at the edges of the system. Narrow literals in this file
// are GBK bytes, u"" literals UTF-16 and u8"" literals UTF-8.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/text_codec.h"

namespace {

namespace codec = hf::codec;

std::string bytesOf(std::u8string_view utf8) {
  return {utf8.begin(), utf8.end()};
}

TEST(TextCodec, RoundTripsGbkThroughUtf16AndUtf8) {
  struct Case {
    std::string gbk;
    std::u16string utf16;
    std::u8string utf8;
  };
  const std::vector<Case> cases = {
      {"plain ASCII\r\n", u"plain ASCII\r\n", u8"plain ASCII\r\n"},
      {"\xA1\xEF", u"★", u8"★"},
      {"保存A.txt", u"保存A.txt", u8"保存A.txt"},
      {"\x80", u"\u20AC", u8"\u20AC"},  // the euro sign of the Windows code page
      {std::string("a\0b", 3), std::u16string(u"a\0b", 3), std::u8string(u8"a\0b", 3)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.gbk);
    EXPECT_EQ(codec::gbkToUtf16(c.gbk), c.utf16);
    EXPECT_EQ(codec::utf16ToGbk(c.utf16), c.gbk);
    EXPECT_EQ(codec::gbkToUtf8(c.gbk), bytesOf(c.utf8));
    EXPECT_EQ(codec::utf8ToGbk(bytesOf(c.utf8)), c.gbk);
  }
}

TEST(TextCodec, UndecodableGbkBecomesReplacementCharacters) {
  struct Case {
    std::string gbk;
    std::u16string utf16;
  };
  const std::vector<Case> cases = {
      {"A\x81", u"A\uFFFD"},             // a lead byte cut off at the end
      {"\x81\tB", u"\uFFFD\tB"},         // a lead byte without trail keeps what follows
      {"x\xFFy", u"x\uFFFDy"},           // never a lead byte
      {"\xA2\xE3\xA1\xEF", u"\uFFFD★"},  // an unassigned pair is one character
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.gbk);
    EXPECT_EQ(codec::gbkToUtf16(c.gbk), c.utf16);
  }
  EXPECT_EQ(codec::gbkToUtf8("A\x81"), bytesOf(u8"A\uFFFD"));
}

TEST(TextCodec, UnencodableCharactersBecomeQuestionMarks) {
  EXPECT_EQ(codec::utf16ToGbk(u"a\u00A5b"), "a?b");
  EXPECT_EQ(codec::utf16ToGbk(u"\U0001F600★"), "?★");  // one character, two code units
  EXPECT_EQ(codec::utf16ToGbk(std::u16string{u'x', char16_t(0xD800), u'y'}), "x?y");
  EXPECT_EQ(codec::utf16ToGbk(std::u16string{u'x', char16_t(0xD800)}), "x?");
  EXPECT_EQ(codec::utf8ToGbk(bytesOf(u8"\U0001F600★")), "?★");
  EXPECT_EQ(codec::utf8ToGbk("\xC3(\xE2\x98"), "?(??");  // malformed and cut-off UTF-8
}

TEST(TextCodec, PathFromGbkIsUtf8OnThisSystem) {
  EXPECT_EQ(codec::pathFromGbk("保存A.txt").string(), bytesOf(u8"保存A.txt"));
}

}  // namespace
