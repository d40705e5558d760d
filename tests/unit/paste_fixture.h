#pragma once

#include <string>
#include <vector>

#include "app_fixture.h"
#include "paste/paste_modes.h"
#include "platform/event_loop.h"
#include "platform/headless/target_simulation.h"

namespace hf::paste {

constexpr int kF1 = 0x70;

struct Row {
  std::string entry, tabs, pause, enter, hotkey;
};

class PasteTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    start();
    headless::openTarget(5);
  }
  app::MainWindow& w() { return *window_; }
  table::DataTable& table() { return w().table(); }

  void fill(const std::vector<Row>& rows) {
    for (const Row& row : rows) {
      table().appendRow(row.entry);
      const int r = table().rowCount() - 1;
      table().setCell(r, 2, row.tabs);
      table().setCell(r, 3, row.pause);
      table().setCell(r, 4, row.enter);
      table().setCell(r, 5, row.hotkey);
    }
    table().setCurrentRow(0);
  }
  // Rows e1 … en whose first row carries the hotkey F1.
  static std::vector<Row> entries(int n, const std::string& tabs = "") {
    std::vector<Row> rows;
    for (int i = 1; i <= n; ++i) rows.push_back({"e" + std::to_string(i), tabs, "", "", ""});
    rows[0].hotkey = "F1";
    return rows;
  }
  void fillEntries(int n, const std::string& tabs = "") { fill(entries(n, tabs)); }
  void chooseMode(PasteMode mode) {
    w().controls().组合框66.select(static_cast<int>(mode));
    w().controls().组合框66.onSelectionChanged();
  }
  void loadHotkeys() {
    w().controls().加载热键.onClick();
    ASSERT_EQ(w().controls().加载热键.text(), "卸载热键");
    headless::clearTargetEvents();
  }
  // The next case of a table of cases: hotkeys unloaded, these rows in the
  // mode, hotkeys loaded again, a fresh form in front.
  void startCase(const std::vector<Row>& rows, PasteMode mode) {
    if (w().controls().加载热键.text() == "卸载热键") w().controls().加载热键.onClick();
    table().clear();
    fill(rows);
    chooseMode(mode);
    headless::openTarget(5);
    loadHotkeys();
  }
  void press(int key = kF1) { ASSERT_TRUE(headless::pressHotkey(0, key)); }
  // The target's reactions, timed from `since`.
  static std::vector<headless::TargetEvent> eventsSince(std::int64_t since) {
    auto events = headless::targetEvents();
    for (auto& event : events) event.at -= since;
    return events;
  }
  static std::vector<std::string> names() {
    std::vector<std::string> out;
    for (const auto& event : headless::targetEvents()) out.push_back(event.what);
    return out;
  }
};

}  // namespace hf::paste
