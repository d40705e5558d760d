#include <gtest/gtest.h>

#include "paste/composite_entries.h"
#include "paste_fixture.h"
#include "picture/bmp.h"
#include "platform/files.h"
#include "platform/text_codec.h"

namespace hf::paste {
namespace {

using Kind = EntryItem::Kind;

TEST(CompositeEntries, ItemsAreTextsOrPicturesInOrder) {
  const std::vector<std::pair<std::string, std::vector<EntryItem>>> cases{
      {"#C:\\a.bmp", {{Kind::Picture, "C:\\a.bmp"}}},
      {"甲#乙", {{Kind::Text, "甲"}, {Kind::Text, "乙"}}},
      {"#C:\\a.BMP#IMG.Jpeg", {{Kind::Picture, "C:\\a.BMP"}, {Kind::Picture, "IMG.Jpeg"}}},
      {"#C:\\p\r\nic.png#名", {{Kind::Picture, "C:\\pic.png"}, {Kind::Text, "名"}}},
      {"##x.jpeg##", {{Kind::Picture, "x.jpeg"}}},
  };
  for (const auto& [entry, items] : cases) EXPECT_EQ(entryItems(entry), items) << entry;
}

class PicturePasteTest : public PasteTest {
 protected:
  // A 3 x 2 picture in the program folder; its full path in GBK.
  std::string pictureFile(const std::string& name) {
    const picture::BmpData bmp = picture::encodeBmp24(Bitmap(3, 2, 0x00FF0000));
    write(name, std::string(bmp.begin(), bmp.end()));
    return codec::utf8ToGbk((files::programFolder() / codec::pathFromGbk(name)).string());
  }
};

TEST_F(PicturePasteTest, EachItemIsFollowedByTheRowsSeparators) {
  const std::string picture = pictureFile("a.bmp");
  startCase({{"#" + picture + "#名字", "1", "", "回车", "F1"}, {"plain", "", "", "", ""}},
            PasteMode::ImageText);
  press();
  loop::pause(2000);
  EXPECT_EQ(names(), (std::vector<std::string>{"paste picture 3x2", "tab", "enter", "paste 名字",
                                               "tab", "enter"}));
  headless::clearTargetEvents();
  press();  // a row without "#" goes as one text
  loop::pause(2000);
  EXPECT_EQ(names(), (std::vector<std::string>{"paste plain"}));
  EXPECT_EQ(table().currentRow(), 0);  // after the last row, back to the first
}

TEST_F(PicturePasteTest, APictureThatCannotBeReadIsSkippedWithAHint) {
  startCase({{"#C:\\missing\\gone.png#after", "", "", "", "F1"}}, PasteMode::ImageTextArrows);
  table().setCell(0, 2, "1");
  table().setCell(0, 4, "2");
  press();
  loop::pause(2000);
  // The picture's field stays empty: its separators still move on.
  EXPECT_EQ(names(), (std::vector<std::string>{"right", "down", "down", "paste after", "right",
                                               "down", "down"}));
  EXPECT_NE(window_->hints().气球提示框1.text().find("gone.png"), std::string::npos);
}

// The picture modes keep their rows: after the last row, marked or not,
// the run starts over at row 0.
TEST_F(PicturePasteTest, AfterTheLastMarkedRowThePictureModesStartOverWithTheTableIntact) {
  const std::pair<PasteMode, int> cases[] = {{PasteMode::ImageText, 2},
                                             {PasteMode::ImageTextArrows, 2},
                                             {PasteMode::ImageTextAuto, 1},
                                             {PasteMode::ImageTextAutoArrows, 1}};
  for (const auto& [mode, presses] : cases) {
    SCOPED_TRACE(traitsOf(mode).name);
    startCase({{"#C:\\a.png#张三", "", "", "", "F1"}, {"#C:\\b.png#李四", "", "", "", ""}}, mode);
    table().setMarked(1, true);
    for (int n = 0; n < presses; ++n) {
      press();
      loop::pause(2000);
    }
    ASSERT_EQ(table().rowCount(), 2);
    EXPECT_EQ(table().cell(1, 1), "#C:\\b.png#李四");
    EXPECT_EQ(table().currentRow(), 0);
  }
}

TEST_F(PicturePasteTest, TheNextRowIsScrolledIntoView) {
  std::vector<Row> rows;
  for (int i = 0; i < 60; ++i) rows.push_back({"e" + std::to_string(i), "", "", "", i ? "" : "F1"});
  startCase(rows, PasteMode::ImageText);
  table().setCurrentRow(10);
  table().scrollTo(59);
  ASSERT_GT(table().view().topRow(), 11);
  press();
  loop::pause(1000);
  EXPECT_EQ(table().currentRow(), 11);
  EXPECT_EQ(table().view().topRow(), 11);
}

// A camera's capital extension is a picture too: its field gets its Tab
// whether or not the picture can be read, so the texts keep their fields.
TEST_F(PicturePasteTest, ACapitalExtensionKeepsTheItemsInTheirFields) {
  startCase({{"#D:\\IMG_0001.JPG#张三#138", "1", "", "", "F1"}}, PasteMode::ImageText);
  press();
  loop::pause(2000);
  EXPECT_EQ(names(), (std::vector<std::string>{"tab", "paste 张三", "tab", "paste 138", "tab"}));
  EXPECT_NE(window_->hints().气球提示框1.text().find("IMG_0001.JPG"), std::string::npos);
}

TEST_F(PicturePasteTest, TheAutomaticModeRunsRowAfterRowUntilAPauseRow) {
  startCase({{"a#b", "", "", "", "F1"}, {"c", "", "暂停", "", ""}, {"d", "", "", "", ""}},
            PasteMode::ImageTextAuto);
  press();
  loop::pause(3000);
  EXPECT_EQ(names(), (std::vector<std::string>{"paste a", "paste b", "paste c"}));
  EXPECT_EQ(table().currentRow(), 2);
}

}  // namespace
}  // namespace hf::paste
