// What only the headless widgets show: how often the list paints its rows,
// and the user's typing (test control of the headless backend).
// The widgets' shared behaviour is tested for both backends in
// contract/widgets_test.cpp and contract/list_view_test.cpp.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/headless/simulation.h"
#include "platform/headless/widget_state.h"
#include "platform/ui.h"

namespace {

struct Rows : hf::ui::ListModel {
  int rowCount() const override { return 10; }
  std::string cellText(int, int) const override { return "x"; }
  bool isChecked(int) const override { return false; }
};

TEST(HeadlessList, RowsArePaintedOnceAfterABulkRefill) {
  hf::headless::reset(::testing::TempDir());
  hf::ui::Window window{{"main", {460, 480}}};
  hf::ui::ListView list{window, {{14, 109, 426, 105}, {{"a", 40}}}};
  Rows rows;
  list.setModel(&rows);
  const int before = list.impl().repaints;
  list.setRedraw(false);
  for (int i = 0; i < 3; ++i) list.rowsChanged();
  EXPECT_EQ(list.impl().repaints, before);
  list.setRedraw(true);
  EXPECT_EQ(list.impl().repaints, before + 1);
  list.setRedraw(true);  // already painting: nothing to catch up on
  EXPECT_EQ(list.impl().repaints, before + 1);
}

// Typing goes in at the caret; a new text puts the caret before its first character.
TEST(HeadlessEditBox, TypingGoesInAtTheCaret) {
  hf::headless::reset(::testing::TempDir());
  hf::ui::Window window{{"main", {460, 480}}};
  hf::ui::EditBox lines(window, {{0, 0, 50, 40}, "", true});
  hf::ui::EditBox line(window, {{0, 0, 50, 20}});
  std::vector<int> keys;
  int changes = 0;
  for (hf::ui::EditBox* box : {&lines, &line}) {
    box->onKeyDown = [&](int key) { keys.push_back(key); };
    box->onTextChanged = [&] { ++changes; };
  }
  lines.setText("ab");
  hf::headless::typeInto(lines, "x");
  lines.putCaretAtEnd();
  hf::headless::typeInto(lines, "\r\n乙");
  EXPECT_EQ(lines.text(), "xab\r\n乙");
  line.setText("ab");
  line.putCaretAtEnd();
  hf::headless::typeInto(line, "c\r\n");
  EXPECT_EQ(line.text(), "abc");  // a one-line box takes no line break
  EXPECT_EQ(keys, (std::vector<int>{0x0D, 0x0D}));
  EXPECT_EQ(changes, 4);
}

}  // namespace
