#include "text/gbk_text.h"

#include <climits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

// "★" is the GBK bytes A1 EF.
namespace hf::text {
namespace {

// Chinese characters whose trail byte equals an ASCII character.
const std::string kTrailA = "\xB0\x41";
const std::string kTrailBar = "\xB0|";

TEST(GbkText, CharSize) {
  struct Case {
    std::string text;
    std::size_t at;
    std::size_t expected;
  };
  const Case cases[] = {
      {"a", 0, 1},
      {"★", 0, 2},
      {"a★", 1, 2},
      {kTrailA, 0, 2},
      // A lone lead byte at the end is a character of its own.
      {"ab\xB0", 2, 1},
      // Past the end there is no character.
      {"a", 1, 0},
      {"", 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "text=\"" << c.text << "\" at=" << c.at);
    EXPECT_EQ(charSize(c.text, c.at), c.expected);
  }
}

TEST(GbkText, Characters) {
  struct Case {
    std::string text;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {"", {}},
      {"a★b", {"a", "★", "b"}},
      {"ab\xB0", {"a", "b", "\xB0"}},
      {kTrailA + "A", {kTrailA, "A"}},
      {"\x80\x80\x80", {"\x80\x80", "\x80"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "text=\"" << c.text << "\"");
    const std::vector<std::string_view> got = characters(c.text);
    EXPECT_EQ(std::vector<std::string>(got.begin(), got.end()), c.expected);
  }
}

TEST(GbkText, Find) {
  struct Case {
    std::string text;
    std::string what;
    int from;
    bool ignoreCase;
    int expected;
  };
  const Case cases[] = {
      {"abcabc", "c", 1, false, 3},
      {"abcabc", "c", 4, false, 6},
      {"abcabc", "c", 6, false, 6},
      {"abcabc", "c", 7, false, -1},
      {"abcabc", "c", 100, false, -1},
      {"abcabc", "c", 0, false, 3},
      {"abcabc", "c", -5, false, 3},
      {"abcabc", "", 1, false, -1},
      {"", "", 1, false, -1},
      {"abc", "abcd", 1, false, -1},
      {"abc", "C", 1, false, -1},
      {"Hello", "hELLo", 1, true, 1},
      {"保存A", "存a", 1, true, 3},
      // Trail bytes never match, with or without case folding.
      {kTrailA + "A", "A", 1, false, 3},
      {kTrailA, "a", 1, true, -1},
      {kTrailA + "x", "A", 1, false, -1},
      {kTrailBar + "x|", "|", 1, false, 4},
      // Bytes of a Chinese character are not folded.
      {kTrailA, "\xB0\x61", 1, true, -1},
      {"\xB0\x61", "\xB0\x61", 1, true, 1},
      // A start inside a character moves to the next character.
      {kTrailA + "A", "A", 2, false, 3},
      {"★a★a", "a", 2, false, 3},
      // A match must end on a character boundary as well.
      {"\xB0\xA1", "\xB0", 1, false, -1},
      {"x\xB0", "\xB0", 1, false, 2},
      {std::string("x\xB0\0", 3), "\xB0", 1, false, -1},
      {"\xA1\xA1\xEF", "★", 1, false, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "text=\"" << c.text << "\" what=\"" << c.what
                                    << "\" from=" << c.from << " ignoreCase=" << c.ignoreCase);
    EXPECT_EQ(find(c.text, c.what, c.from, c.ignoreCase), c.expected);
  }
}

TEST(GbkText, ReplaceAll) {
  struct Case {
    std::string text;
    std::string what;
    std::string with;
    std::string expected;
  };
  const Case cases[] = {
      {"a,b,c", ",", ";", "a;b;c"},
      {"a,b,c", "", ";", "a,b,c"},
      {"", "a", "b", ""},
      {"aA", "a", "b", "bA"},
      {"aaa", "aa", "b", "ba"},
      {"ab", "a", "aa", "aab"},
      {"★★", "★", "x", "xx"},
      {"a★b", "★", "", "ab"},
      {kTrailA + "A", "A", "z", kTrailA + "z"},
      {kTrailBar + "x|", "|", "-", kTrailBar + "x-"},
      {"x\xB0", "\xB0", "y", "xy"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "text=\"" << c.text << "\" what=\"" << c.what << "\" with=\""
                                    << c.with << "\"");
    EXPECT_EQ(replaceAll(c.text, c.what, c.with), c.expected);
  }
}

TEST(GbkText, Split) {
  struct Case {
    std::string text;
    std::string separator;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {"", ",", {""}},
      {"abc", ",", {"abc"}},
      {"abc", "", {"abc"}},
      {"a,b", ",", {"a", "b"}},
      {",a", ",", {"", "a"}},
      {"a,,", ",", {"a", ""}},
      {"a★★b", "★", {"a", "", "b"}},
      {"★", "★", {""}},
      {"a★b★", "★", {"a", "b"}},
      {"a\r\nb\r\n", "\r\n", {"a", "b"}},
      {kTrailBar + "x|y", "|", {kTrailBar + "x", "y"}},
      {"a,\xB0", ",", {"a", "\xB0"}},
      {"\xA1\xA1\xEF", "★", {"\xA1\xA1\xEF"}},
      {kTrailA + "A" + kTrailA, "A", {kTrailA, kTrailA}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << "text=\"" << c.text << "\" separator=\"" << c.separator << "\"");
    EXPECT_EQ(split(c.text, c.separator), c.expected);
  }
}

TEST(GbkText, Left) {
  struct Case {
    int n;
    std::string expected;
  };
  const Case cases[] = {{2, "ab"}, {3, "abc"}, {5, "abc"}, {INT_MAX, "abc"}, {0, ""}, {-1, ""}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "n=" << c.n);
    EXPECT_EQ(left("abc", c.n), c.expected);
  }
}

TEST(GbkText, Right) {
  struct Case {
    int n;
    std::string expected;
  };
  const Case cases[] = {{2, "bc"}, {3, "abc"}, {5, "abc"}, {INT_MAX, "abc"}, {0, ""}, {-1, ""}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "n=" << c.n);
    EXPECT_EQ(right("abc", c.n), c.expected);
  }
}

TEST(GbkText, Mid) {
  struct Case {
    int start;
    int n;
    std::string expected;
  };
  const Case cases[] = {
      {2, 3, "bcd"}, {1, 6, "abcdef"}, {5, 10, "ef"},         {6, 1, "f"},
      {7, 1, ""},    {100, 1, ""},     {0, 2, "ab"},          {-3, 2, "ab"},
      {2, 0, ""},    {2, -1, ""},      {2, INT_MAX, "bcdef"}, {INT_MIN, 1, "a"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "start=" << c.start << " n=" << c.n);
    EXPECT_EQ(mid("abcdef", c.start, c.n), c.expected);
  }
}

// The system's half-width mapping as code page 936 text sees it: a character
// turns into the code page 936 form of its half-width counterpart, and stays
// when the mapping leaves it alone or the code page has no such form (where
// the mapping itself would write "?").
TEST(GbkText, HalfWidthMapsWhatTheSystemMapsUnderCodePage936) {
  struct Case {
    const char* name;
    std::string in;
    std::string out;
  };
  const Case cases[] = {
      {"ideographic space", "\xA1\xA1", " "},
      {"first and last forms of ASCII in row A3", "\xA3\xA1\xA3\xFD", "!}"},
      {"letters, digits, caret", "\xA3\xC1\xA3\xE1\xA3\xB0\xA3\xDE", "Aa0^"},
      {"full-width tilde and dollar live in row A1", "\xA1\xAB\xA1\xE7", "~$"},
      {"full-width backslash stays", "\xA3\xDC", "\xA3\xDC"},
      {"yen, cent, pound come back as they were", "\xA3\xA4\xA1\xE9\xA1\xEA",
       "\xA3\xA4\xA1\xE9\xA1\xEA"},
      {"full-width macron becomes the modifier macron", "\xA3\xFE", "\xA1\xA5"},
      {"not sign has no form and stays; broken bar becomes a bar", "\xA9\x56\xA9\x57", "\xA9\x56|"},
      {"right quotes become ASCII quotes, left ones stay", "\xA1\xAE\xA1\xAF\xA1\xB0\xA1\xB1",
       "\xA1\xAE'\xA1\xB0\""},
      {"ideographic comma, full stop and corner brackets stay", "\xA1\xA2\xA1\xA3\xA1\xB8\xA1\xB9",
       "\xA1\xA2\xA1\xA3\xA1\xB8\xA1\xB9"},
      {"katakana with one or two half-width characters stay", "\xA5\xA2\xA5\xAC\xA9\x60",
       "\xA5\xA2\xA5\xAC\xA9\x60"},
      {"katakana without a half-width form stay", "\xA5\xEE\xA5\xF6\xA9\x63",
       "\xA5\xEE\xA5\xF6\xA9\x63"},
      {"voiced iteration mark stays", "\xA9\x64", "\xA9\x64"},
      {"hiragana, Chinese and ASCII stay", "\xA4\xA2\xD6\xD0z9 ", "\xA4\xA2\xD6\xD0z9 "},
      {"not full-width forms", "\xA3\x41\xA3", "\xA3\x41\xA3"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(halfWidth(c.in), c.out);
  }
}

}  // namespace
}  // namespace hf::text
