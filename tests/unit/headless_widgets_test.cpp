// What only the headless widgets show: how often the list paints its rows.
// The widgets' shared behaviour is tested for both backends in
// contract/widgets_test.cpp and contract/list_view_test.cpp.
#include <gtest/gtest.h>

#include <string>

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

}  // namespace
