#include "table/splitting.h"

#include <gtest/gtest.h>

namespace hf::table {
namespace {

using Mode = ImportMode;
using Pieces = std::vector<std::string>;
constexpr ImportSource kDrop = ImportSource::Drop;
constexpr ImportSource kCapture = ImportSource::Capture;

struct SplitCase {
  Mode mode;
  ImportSource source;
  std::string separator;
  std::string text;
  Pieces pieces;
};

void expectSplits(const std::vector<SplitCase>& cases) {
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "mode " << static_cast<int>(c.mode) << ", "
                                    << (c.source == kDrop ? "drop" : "capture") << ", text \""
                                    << c.text.substr(0, 40) << "\"");
    EXPECT_EQ(splitForImport(c.mode, c.text, c.source, c.separator), c.pieces);
  }
}

std::string lineBreaks(int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += "\r\n";
  return text;
}

TEST(Splitting, CustomSeparatorKeepsLineBreaksThatDoNotFollowIt) {
  expectSplits({
      {Mode::CustomSeparator, kDrop, ",", "a,b\r\nx,y", {"a", "b\r\nx", "y"}},
      {Mode::CustomSeparator, kCapture, ",", "a,b\r\nx,y", {"a", "b\r\nx", "y"}},
      // A line break right after the separator survives a drop; a capture absorbs it.
      {Mode::CustomSeparator, kDrop, ",", "a,\r\nb", {"a", "\r\nb"}},
      {Mode::CustomSeparator, kCapture, ",", "a,\r\nb", {"a", "b"}},
      {Mode::CustomSeparator, kDrop, ",", "a\r\n\r\nb", {"a\r\n\r\nb"}},
      {Mode::CustomSeparator, kCapture, ",", "a\r\n\r\n\r\nb,c", {"a\r\nb", "c"}},
      {Mode::CustomSeparator, kDrop, "--", "a--b----c--", {"a", "b", "", "c"}},
      {Mode::CustomSeparator, kDrop, "★", "甲★乙★", {"甲", "乙"}},
      // An empty separator splits at line breaks alone.
      {Mode::CustomSeparator, kDrop, "", "a\r\nb\r\n", {"a", "b"}},
      {Mode::CustomSeparator, kDrop, ",", "", {""}},
      // "\xB0\x41" is one character whose trail byte is "A"; a lone lead byte ends the text.
      {Mode::CustomSeparator, kDrop, "A", "\xB0\x41\x41", {"\xB0\x41"}},
      {Mode::CustomSeparator, kDrop, ",", "a,\x81", {"a", "\x81"}},
  });
}

TEST(Splitting, ExcelAndSpaceModesSplitCellsAndCollapseCapturedBlankLines) {
  expectSplits({
      {Mode::ExcelTabs, kDrop, "", "a\tb\r\nx\ty", {"a", "b", "x", "y"}},
      {Mode::ExcelTabs, kDrop, "", "a\t\tb\r\n", {"a", "", "b"}},
      {Mode::ExcelTabs, kCapture, "", "a\t\tb\r\n\r\nc", {"a", "b", "c"}},
      {Mode::ExcelTabs, kDrop, "", "", {}},
      // Ten halving passes reduce up to 1024 line breaks in a row to one.
      {Mode::ExcelTabs, kCapture, "", "a" + lineBreaks(1024) + "b", {"a", "b"}},
      {Mode::ExcelTabs, kCapture, "", "a" + lineBreaks(1025) + "b", {"a", "", "b"}},
      {Mode::Spaces, kDrop, "", "one two  three\r\n四", {"one", "two", "", "three", "四"}},
      {Mode::Spaces, kCapture, "", "one two  three", {"one", "two", "three"}},
      {Mode::Spaces, kCapture, "", "", {}},
      // The space is the trail byte of "\x81 ", not a separator.
      {Mode::Spaces, kDrop, "", "\x81 x y", {"\x81 x", "y"}},
  });
}

TEST(Splitting, SingleEntryAndImageModes) {
  expectSplits({
      {Mode::Single, kDrop, ",", "a,b\r\n\r\n", {"a,b\r\n\r\n"}},
      {Mode::Single, kCapture, "", "", {""}},
      {Mode::DroppedImages,
       kDrop,
       "",
       "C:\\a.png\r\nD:\\图片\\b.bmp",
       {"#C:\\a.png", "#D:\\图片\\b.bmp"}},
      {Mode::DroppedImages, kDrop, "", "", {}},
      {Mode::DroppedImages, kCapture, "", "C:\\a.png", {}},
      {Mode::TableHeading, kDrop, "", "text", {}},
      {Mode::SamePageHeading, kCapture, "", "text", {}},
      {Mode::LeftAcross, kCapture, "：", "a：b", {}},
  });
}

TEST(Splitting, EachCharacterModeGivesOnePiecePerCharacter) {
  expectSplits({
      // Each space of the text leaves two empty pieces, which the sweep removes.
      {Mode::EachCharacter, kCapture, "", "ab 中", {"a", "b", "", "", "中"}},
      {Mode::EachCharacter, kDrop, "", "中\t文\r\nx", {"中", "文", "x"}},
      // Only the first CR LF of "\r\r\n\n" is removed; the rest is two characters.
      {Mode::EachCharacter, kDrop, "", "\r\r\n\n", {"\r", "\n"}},
      {Mode::EachCharacter, kDrop, "", "", {""}},
      {Mode::EachCharacter, kDrop, "", "\x81\t", {"\x81\t"}},
      // A lone lead byte at the end joins the space written after it.
      {Mode::EachCharacter, kDrop, "", "a\x81", {"a", "\x81 "}},
  });
}

TEST(Splitting, LetterSplitStartsAPieceAtEveryRunOfLetters) {
  expectSplits({
      {Mode::Letters, kCapture, "", "12ab", {"12", "ab"}},
      {Mode::Letters, kCapture, "", "ab", {"ab"}},
      {Mode::Letters, kDrop, "", "ab12cd34", {"ab12", "cd34"}},
      {Mode::Letters, kDrop, "", "张三ab李", {"张三", "ab李"}},
      // Full-width letters, digits and the ideographic space count in half width.
      {Mode::Letters, kDrop, "", "ＡＢ１２ｃ　ｄ", {"AB12", "c ", "d"}},
      // Chinese punctuation, which has no half-width form in the code page, stays.
      {Mode::Letters, kCapture, "", "张三。李四、a「b」", {"张三。李四、", "a「", "b」"}},
      {Mode::Letters, kDrop, "", "", {}},
      // Not full-width forms: "\xA3\x41" (trail byte below A1) and a lone "\xA3".
      {Mode::Letters,
       kDrop,
       "",
       "a\xA3\x41"
       "b\xA3",
       {"a\xA3\x41", "b\xA3"}},
  });
}

TEST(Splitting, DigitSplitStartsAPieceAtEveryRunOfDigits) {
  expectSplits({
      {Mode::Digits, kCapture, "", "张三138李四139", {"张三", "138李四", "139"}},
      {Mode::Digits, kDrop, "", "ＡＢ１２", {"AB", "12"}},
      {Mode::Digits, kDrop, "", "张三。138，李四", {"张三。", "138,李四"}},
      {Mode::Digits, kDrop, "", "123", {"123"}},
      {Mode::Digits, kDrop, "", "a1b2\x81", {"a", "1b", "2\x81"}},
  });
}

TEST(Splitting, ModeFlags) {
  struct Case {
    Mode mode;
    bool sweeps;
    bool emptiesAfterCapture;
    bool emptiesAfterDrop;
  } cases[] = {
      {Mode::TableHeading, false, false, false}, {Mode::CustomSeparator, true, true, false},
      {Mode::Single, false, true, false},        {Mode::DroppedImages, false, false, false},
      {Mode::ExcelTabs, true, true, true},       {Mode::Spaces, true, true, true},
      {Mode::EachCharacter, true, true, true},   {Mode::Letters, true, false, false},
      {Mode::Digits, true, false, false},        {Mode::SamePageHeading, false, false, false},
      {Mode::LeftAcross, false, false, false},   {Mode::RightDown, false, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.mode));
    EXPECT_EQ(sweepsEmptyRows(c.mode), c.sweeps);
    EXPECT_EQ(emptiesClipboard(c.mode, kCapture), c.emptiesAfterCapture);
    EXPECT_EQ(emptiesClipboard(c.mode, kDrop), c.emptiesAfterDrop);
  }
}

TEST(Splitting, SamePageExtraction) {
  struct Case {
    Mode mode;
    std::string separator;
    std::string text;
    std::string result;
  } cases[] = {
      {Mode::RightAcross, "：", "姓名：张三\r\n电话：138", "张三\t138\t"},
      {Mode::LeftAcross, "：", "姓名：张三\r\n电话：138\r\n", "姓名\t电话\t\r\n"},
      {Mode::LeftDown, "：", "姓名：张三\r\n电话：138", "姓名\r\n电话\r\n"},
      {Mode::RightDown, "：", "姓名：张三\r\n电话：138", "张三\r\n138\r\n\r\n"},
      // ASCII punctuation turns full-width and spaces go before the tests.
      {Mode::RightAcross, "：", "姓名 : 张 三", "张三\t"},
      {Mode::RightAcross, "！", "Hi! a.b;c?d,e:f", "a。b；c？d，e：f\t"},
      {Mode::LeftAcross, ":", "a:b", "a：b★\t\r\n"},
      // First and last occurrence; the last may overlap the one before it.
      {Mode::LeftDown, "-", "a-b-c", "a\r\n"},
      {Mode::RightDown, "-", "a-b-c", "c\r\n\r\n"},
      {Mode::RightAcross, "aa", "xaaa", "\t"},
      // A line without the separator is kept with a star; one that has it only
      // in another letter case gives nothing.
      {Mode::LeftDown, "x", "无分隔\r\naXb\r\nyxz", "无分隔★\r\ny\r\n"},
      {Mode::LeftAcross, "：", "", "★\t\r\n"},
      {Mode::LeftDown, "", "a\r\nb", "a★\r\nb★\r\n"},
      {Mode::RightAcross, "A", "\xB0\x41x", "\xB0\x41x★\t"},
      {Mode::RightAcross, "：", "a:\x81", "\x81\t"},
      {Mode::Spaces, "：", "a：b", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(extractSamePage(c.mode, c.text, c.separator), c.result);
  }
}

}  // namespace
}  // namespace hf::table
