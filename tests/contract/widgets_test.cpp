// The widgets' state, layout and focus, and the rule that a change made by
// the program raises no event. Events raised by the user's own input are
// tested per backend: only the win32 backend has input to simulate.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "contract/backend.h"
#include "platform/event_loop.h"
#include "platform/ui.h"

namespace {

using namespace hf::ui;

using Widgets = contract::WindowTest;

TEST_F(Widgets, TextsAreKeptAsGbk) {
  struct Case {
    const char* what;
    std::function<std::unique_ptr<Control>(Window&)> make;
    std::string changed;
  };
  const std::vector<Case> cases = {
      {"edit box",
       [](Window& w) {
         return std::make_unique<EditBox>(w, EditBox::Args{{10, 10, 200, 22}, "中"});
       },
       "★文"},
      {"multiline edit box",
       [](Window& w) {
         return std::make_unique<EditBox>(w, EditBox::Args{{10, 10, 200, 80}, "中", true});
       },
       "第一行\r\n第二行\r\n"},
      {"button",
       [](Window& w) {
         return std::make_unique<Button>(w, Button::Args{{10, 10, 80, 24}, "中"});
       },
       "保存"},
      {"check box",
       [](Window& w) {
         return std::make_unique<CheckBox>(w, CheckBox::Args{{10, 10, 80, 20}, "中"});
       },
       "勾选"},
      {"label",
       [](Window& w) {
         return std::make_unique<Label>(w, Label::Args{{10, 10, 100, 16}, "中"});
       },
       "●提示"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const auto control = c.make(window());
    EXPECT_EQ(control->text(), "中");
    control->setText(c.changed);
    EXPECT_EQ(control->text(), c.changed);
    control->setText("");
    EXPECT_EQ(control->text(), "");
  }
}

struct Rows : ListModel {
  int rowCount() const override { return count; }
  std::string cellText(int row, int column) const override {
    return std::to_string(row) + ":" + std::to_string(column);
  }
  bool isChecked(int row) const override { return row % 2 == 0; }
  int count = 10;
};

TEST_F(Widgets, ChangesMadeByTheProgramRaiseNoEvents) {
  std::vector<std::string> events;
  const auto note = [&](const char* what) {
    return [&events, what](auto&&...) { events.push_back(what); };
  };
  Rows rows;  // outlives the list that shows it
  Button button(window(), {{10, 10, 80, 24}, "按钮"});
  CheckBox box(window(), {{10, 40, 80, 20}, "", true});
  DropDown modes(window(), {{10, 70, 150, 22}, {"一", "二", "三"}});
  EditBox edit(window(), {{10, 100, 200, 22}});
  EditBox other(window(), {{10, 130, 200, 22}});
  ListView list(window(), {{10, 160, 420, 200}, {{"A", 60}, {"B", 100}}});
  button.onClick = note("button click");
  box.onClick = note("check box click");
  modes.onSelectionChanged = note("drop-down selection");
  modes.onFocusLost = note("drop-down focus lost");
  edit.onTextChanged = note("edit text");
  edit.onFocusLost = note("edit focus lost");
  list.onSelectionChanged = note("list selection");
  list.onCheckClicked = note("list check");

  button.setText("保存");
  button.setColor({200, 40, 40});
  box.setChecked(false);
  modes.select(1);
  modes.setText("三");
  edit.setText("typed");
  list.setModel(&rows);
  list.selectRow(3);
  rows.count = 3;
  list.rowsChanged();
  list.selectRow(1);
  modes.setItems({"x"});
  hf::loop::processPending();

  EXPECT_EQ(events, std::vector<std::string>{});
  EXPECT_FALSE(box.isChecked());
  EXPECT_EQ(edit.text(), "typed");
  EXPECT_EQ(list.selectedRow(), 1);
}

// A focus move is the one change of the program's that raises an event: the
// control that loses the focus hears of it, whoever moved it (the cell
// editors commit then).
TEST_F(Widgets, TheControlThatLosesTheFocusHearsOfIt) {
  DropDown modes(window(), {{10, 70, 150, 22}, {"一", "二"}});
  EditBox edit(window(), {{10, 100, 200, 22}});
  EditBox other(window(), {{10, 130, 200, 22}});
  ListView list(window(), {{10, 160, 200, 80}, {{"一", 60}}});
  std::vector<std::string> events;
  modes.onFocusLost = [&] { events.push_back("drop-down"); };
  edit.onFocusLost = [&] { events.push_back("edit"); };
  other.onFocusLost = [&] { events.push_back("other"); };
  list.onFocusLost = [&] { events.push_back("list"); };
  modes.focus();
  list.focus();
  edit.focus();
  other.focus();
  hf::loop::processPending();
  EXPECT_EQ(events, (std::vector<std::string>{"drop-down", "list", "edit"}));
  EXPECT_TRUE(other.hasFocus());
}

TEST_F(Widgets, ControlsKeepTheirLayoutInUnitsAndFollowTheWindowOnScreen) {
  Label label(window(), {{20, 30, 100, 16}, "label"});
  EXPECT_EQ(label.rect(), (hf::Rect{20, 30, 100, 16}));
  const hf::Rect before = label.screenRect();
  EXPECT_EQ(before.width, window().scaled(100));
  EXPECT_EQ(before.height, window().scaled(16));

  label.setRect({40, 50, 60, 20});
  const hf::Rect moved = label.screenRect();
  EXPECT_EQ(moved.left - before.left, window().scaled(20));
  EXPECT_EQ(moved.top - before.top, window().scaled(20));
  EXPECT_EQ(moved.width, window().scaled(60));
  EXPECT_EQ(moved.height, window().scaled(20));

  const hf::Rect frame = window().frameRect();
  window().moveTo({frame.left + 30, frame.top + 10});
  const hf::Rect carried = label.screenRect();
  EXPECT_EQ(carried.left - moved.left, 30);
  EXPECT_EQ(carried.top - moved.top, 10);
}

TEST_F(Widgets, VisibilityAndEnablingAreEachControlsOwn) {
  Label shown(window(), {{10, 10, 100, 16}, "shown"});
  Label hidden(window(), {{10, 30, 100, 16}, "hidden", false});
  EXPECT_FALSE(window().isVisible());
  EXPECT_TRUE(shown.isVisible());  // whatever its window's state
  EXPECT_FALSE(hidden.isVisible());

  shown.setVisible(false);
  hidden.setVisible(true);
  EXPECT_FALSE(shown.isVisible());
  EXPECT_TRUE(hidden.isVisible());

  EXPECT_TRUE(shown.isEnabled());
  shown.setEnabled(false);
  EXPECT_FALSE(shown.isEnabled());
  EXPECT_TRUE(hidden.isEnabled());
  shown.setEnabled(true);
  EXPECT_TRUE(shown.isEnabled());
}

TEST_F(Widgets, OneControlHasTheFocusAndTakesItAlongWhenItGoes) {
  EditBox first(window(), {{10, 10, 200, 22}});
  Button button(window(), {{10, 70, 80, 24}, "OK"});
  {
    EditBox second(window(), {{10, 40, 200, 22}});
    first.focus();
    EXPECT_TRUE(first.hasFocus());
    second.focus();
    EXPECT_FALSE(first.hasFocus());
    EXPECT_TRUE(second.hasFocus());
  }
  // A control made where the focused one was is not focused by inheritance.
  EditBox third(window(), {{10, 40, 200, 22}});
  EXPECT_FALSE(third.hasFocus());
  EXPECT_FALSE(first.hasFocus());
  EXPECT_FALSE(button.hasFocus());

  Window dialog({"dialog", {200, 100}});
  Button inDialog(dialog, {{10, 10, 80, 24}, "OK"});
  inDialog.focus();
  first.focus();
  EXPECT_TRUE(first.hasFocus());
  EXPECT_FALSE(inDialog.hasFocus());
}

TEST_F(Widgets, DropDownTextIsThePickedItem) {
  DropDown dropDown(window(), {{10, 10, 150, 22}, {"零", "one", "two"}});
  EXPECT_EQ(dropDown.itemCount(), 3);
  EXPECT_EQ(dropDown.itemText(0), "零");
  EXPECT_EQ(dropDown.itemText(3), "");
  EXPECT_EQ(dropDown.selectedIndex(), -1);
  EXPECT_EQ(dropDown.text(), "");

  struct Step {
    const char* what;
    std::function<void()> act;
    int selected;
    std::string text;
  };
  const std::vector<Step> steps = {
      {"pick an item", [&] { dropDown.select(1); }, 1, "one"},
      {"the text of an item", [&] { dropDown.setText("two"); }, 2, "two"},
      {"the text of no item", [&] { dropDown.setText("四"); }, -1, ""},
      {"pick again", [&] { dropDown.select(0); }, 0, "零"},
      {"pick beyond the items", [&] { dropDown.select(5); }, -1, ""},
      {"pick again", [&] { dropDown.select(2); }, 2, "two"},
      {"clear the pick", [&] { dropDown.select(-1); }, -1, ""},
      {"pick again", [&] { dropDown.select(2); }, 2, "two"},
      {"new items",
       [&] {
         dropDown.setItems({"a", "b"});
       },
       -1, ""},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    step.act();
    EXPECT_EQ(dropDown.selectedIndex(), step.selected);
    EXPECT_EQ(dropDown.text(), step.text);
  }
  EXPECT_EQ(dropDown.itemCount(), 2);
  EXPECT_EQ(dropDown.itemText(1), "b");
}

TEST_F(Widgets, EditableDropDownTakesATextOfItsOwn) {
  DropDown dropDown(window(), {{10, 10, 150, 22}, {"1", "2"}, true, true});
  dropDown.setText("自定义");
  EXPECT_EQ(dropDown.text(), "自定义");
  EXPECT_EQ(dropDown.selectedIndex(), -1);
  dropDown.setText("2");
  EXPECT_EQ(dropDown.selectedIndex(), 1);
  EXPECT_EQ(dropDown.text(), "2");
  dropDown.select(0);
  EXPECT_EQ(dropDown.text(), "1");
}

TEST_F(Widgets, TimerTicksUntilStopped) {
  Timer timer(window());
  int ticks = 0;
  timer.onTick = [&] { ++ticks; };
  timer.setInterval(20);
  EXPECT_TRUE(waitFor([&] { return ticks >= 3; }));
  timer.setInterval(0);
  const int stoppedAt = ticks;
  hf::loop::pause(100);
  EXPECT_EQ(ticks, stoppedAt);
}

TEST_F(Widgets, BalloonTipShowsUntilHiddenOrForAFewSeconds) {
  BalloonTip tip(window());
  EXPECT_FALSE(tip.isShown());
  tip.show({300, 300}, "●提示\r\n第二行");
  EXPECT_TRUE(tip.isShown());
  tip.hide();
  EXPECT_FALSE(tip.isShown());

  tip.show({320, 310}, "●提示");
  EXPECT_FALSE(waitFor([&] { return !tip.isShown(); }, 3000));
  EXPECT_TRUE(waitFor([&] { return !tip.isShown(); }, 3000));
}

TEST_F(Widgets, WindowSizesAreInScaledUnits) {
  EXPECT_EQ(window().frameRect().width, window().scaled(460));
  EXPECT_EQ(window().frameRect().height, window().scaled(627));
  window().setOuterHeight(506);
  EXPECT_EQ(window().frameRect().height, window().scaled(506));
  EXPECT_EQ(window().frameRect().width, window().scaled(460));
  window().moveTo({100, 120});
  EXPECT_EQ(window().frameRect().left, 100);
  EXPECT_EQ(window().frameRect().top, 120);
}

TEST_F(Widgets, WindowShowsHidesMinimizesAndRestoresQuietly) {
  int minimized = 0;
  window().onMinimized = [&] { ++minimized; };
  window().show();
  EXPECT_TRUE(window().isVisible());
  window().minimize();
  EXPECT_TRUE(window().isMinimized());
  window().restore();
  EXPECT_TRUE(window().isVisible());
  EXPECT_FALSE(window().isMinimized());
  window().hide();
  EXPECT_FALSE(window().isVisible());
  hf::loop::processPending();
  EXPECT_EQ(minimized, 0);
}

TEST_F(Widgets, ClosingAWindowRaisesCloseThenDestroyAndEndsTheLoop) {
  std::vector<std::string> events;
  window().onClose = [&] { events.push_back("close"); };
  window().onDestroy = [&] { events.push_back("destroy"); };
  // Another window keeps events coming, so only the end of the loop stops it.
  Window other({"other", {200, 100}});
  Timer keepsGoing(other);
  int ticks = 0;
  keepsGoing.onTick = [&] {
    if (++ticks == 50) hf::loop::quit();
  };
  keepsGoing.setInterval(10);

  window().close();
  EXPECT_TRUE(window().isDestroyed());
  EXPECT_EQ(events, (std::vector<std::string>{"close", "destroy"}));
  hf::loop::run();
  EXPECT_LT(ticks, 50) << "the loop ran on after the close";
}

}  // namespace
