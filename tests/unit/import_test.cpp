#include "editing/import.h"

#include <gtest/gtest.h>

#include "app_fixture.h"
#include "platform/desktop.h"
#include "platform/headless/target_simulation.h"

namespace hf::editing {
namespace {

class ImportTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    start();
  }
  void chooseImportMode(ImportMode mode) {
    window_->controls().导入方式.select(static_cast<int>(mode));
    window_->controls().导入方式.onSelectionChanged();
  }
  std::vector<std::string> entries() {
    std::vector<std::string> out;
    for (int row = 0; row < window_->table().rowCount(); ++row)
      out.push_back(window_->table().cell(row, 1));
    return out;
  }
  bool drop(const std::vector<std::filesystem::path>& paths) {
    return headless::dropFiles(window_->controls().超级列表框1, paths);
  }
  void pressBackQuote() { ASSERT_TRUE(headless::pressHotkey(0, 192)); }
};

TEST_F(ImportTest, ADroppedFileIsSplitByTheChosenMode) {
  write("words.txt", "one two  three\r\nfour");
  write("other.txt", "x y");
  chooseImportMode(ImportMode::Spaces);
  ASSERT_TRUE(drop({file("words.txt")}));
  EXPECT_EQ(entries(), (std::vector<std::string>{"one", "two", "three", "four"}));
  EXPECT_EQ(window_->table().cell(3, 0), "4");

  drop({file("words.txt"), file("other.txt")});  // two files at once give no text
  EXPECT_EQ(window_->table().rowCount(), 4);
  chooseImportMode(ImportMode::Single);
  drop({file("words.txt"), file("other.txt")});
  EXPECT_EQ(window_->table().rowCount(), 5);
  EXPECT_EQ(window_->table().cell(4, 1), "");
}

// A dropped file empties the clipboard in the modes that empty it on every
// import; 单次录入 and 自定义分割符录入 empty it after a capture only.
TEST_F(ImportTest, ADropEmptiesTheClipboardInTheModesThatAlwaysDo) {
  const std::pair<ImportMode, bool> cases[] = {
      {ImportMode::CustomSeparator, false}, {ImportMode::Single, false},
      {ImportMode::DroppedImages, false},   {ImportMode::ExcelTabs, true},
      {ImportMode::Spaces, true},           {ImportMode::EachCharacter, true},
      {ImportMode::Letters, false},         {ImportMode::Digits, false},
  };
  write("text.txt", "a b");
  for (const auto& [mode, empties] : cases) {
    SCOPED_TRACE(static_cast<int>(mode));
    chooseImportMode(mode);
    desktop::setClipboardText("copied");
    ASSERT_TRUE(drop({file("text.txt")}));
    EXPECT_EQ(desktop::clipboardText().value_or("?"), empties ? "" : "copied");
  }
}

TEST_F(ImportTest, DroppedPicturesBecomeImageEntriesInDropOrder) {
  chooseImportMode(ImportMode::DroppedImages);
  EXPECT_EQ(window_->controls().组合框66.selectedIndex(), 12);
  EXPECT_TRUE(window_->engine().picturesWithText());
  drop({file("b.png"), file("a.jpg")});
  const auto rows = entries();
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0], "#" + codec::utf8ToGbk(file("b.png").string()));
  EXPECT_EQ(rows[1], "#" + codec::utf8ToGbk(file("a.jpg").string()));
}

// An entry is cut at every "#": a dropped picture whose path holds one
// would come back as two items, so it is left out and a hint names it.
TEST_F(ImportTest, APathHoldingAHashMakesNoPictureItemAndSaysWhy) {
  chooseImportMode(ImportMode::DroppedImages);
  const std::string fitting = "#" + codec::utf8ToGbk(file("b.png").string());
  drop({file("b.png"), file("C#工具/x.png")});
  EXPECT_EQ(entries(), std::vector<std::string>{fitting});
  EXPECT_NE(window_->hints().气球提示框1.text().find("C#工具"), std::string::npos);

  ui::EditBox& editor = window_->controls().编辑框1009;
  editor.setVisible(true);
  window_->hints().showAt(window_->hints().气球提示框1, 0, 0, "");
  ASSERT_TRUE(headless::dropFiles(editor, {file("C#工具/x.png"), file("b.png")}));
  EXPECT_EQ(editor.text(), fitting + "\r\n");
  EXPECT_NE(window_->hints().气球提示框1.text().find("C#工具"), std::string::npos);
}

TEST_F(ImportTest, ALargeFileIsSplitAsAWhole) {
  std::string words;
  for (int i = 0; i < 300000; ++i) words += "w" + std::to_string(i) + " ";
  ASSERT_GT(words.size(), 1u << 20);  // large enough to be split off the window's thread
  write("large.txt", words);
  chooseImportMode(ImportMode::Spaces);
  drop({file("large.txt")});
  ASSERT_EQ(window_->table().rowCount(), 300000);
  EXPECT_EQ(window_->table().cell(299999, 1), "w299999");
  EXPECT_EQ(window_->table().cell(299999, 0), "300000");
}

TEST_F(ImportTest, HeadingsAndBrokenFilesImportNothingHarmful) {
  write("broken.txt", std::string("a b\x00\xff\xfe c\xB0", 9));
  ASSERT_TRUE(drop({file("broken.txt")}));  // the heading item: nothing
  EXPECT_EQ(window_->table().rowCount(), 0);
  chooseImportMode(ImportMode::Spaces);
  drop({file("broken.txt")});
  EXPECT_EQ(entries(), (std::vector<std::string>{"a", std::string("b\x00\xff\xfe", 4), "c\xB0"}));
  drop({file("missing.txt")});
  EXPECT_EQ(window_->table().rowCount(), 3);
}

TEST_F(ImportTest, BackQuoteCapturesTheSelectionAndEmptiesTheClipboard) {
  headless::openTarget(1);
  chooseImportMode(ImportMode::CustomSeparator);
  window_->controls().分割符.setText(",");
  headless::selectInTarget("a,\r\n\r\nb,c");
  pressBackQuote();
  EXPECT_EQ(entries(), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(desktop::clipboardText().value_or("?"), "");
  pressBackQuote();  // the same selection again imports it again
  EXPECT_EQ(window_->table().rowCount(), 6);

  headless::selectInTarget("");
  desktop::setClipboardText("");
  pressBackQuote();  // nothing selected: nothing imported
  EXPECT_EQ(window_->table().rowCount(), 6);
}

TEST_F(ImportTest, SingleCaptureSelectsTheNewRowAndCutRemovesTheSource) {
  headless::openTarget(1);
  window_->table().appendRow("first");
  chooseImportMode(ImportMode::Single);
  window_->controls().选择框14.setChecked(true);
  headless::selectInTarget("整段\r\n文字");
  pressBackQuote();
  EXPECT_EQ(entries(), (std::vector<std::string>{"first", "整段\r\n文字"}));
  EXPECT_EQ(window_->table().currentRow(), 1);
  EXPECT_EQ(headless::targetFields()[0], "");  // cut from the source
}

TEST_F(ImportTest, TableModesFollowTheHighlightedRowMode) {
  window_->controls().按钮102.onClick();
  chooseImportMode(ImportMode::RightAcross);
  EXPECT_EQ(window_->modes().copyMode(), paste::CopyMode::Characters);
  chooseImportMode(ImportMode::Letters);
  EXPECT_EQ(window_->modes().copyMode(), paste::CopyMode::Ordered);
}

}  // namespace
}  // namespace hf::editing
