#pragma once

#include <filesystem>
#include <string_view>

#include "app/hidden_fields.h"
#include "app/main_controls.h"
#include "feedback/hints.h"
#include "table/data_table.h"

namespace hf::table {

inline constexpr int kSlotCount = 5;  // slots A to E

// The five file slots in which a table is saved and reopened, and the check
// file that keeps the marks. Each slot has an entries file "保存X.txt" and a
// row-settings file "跳快数据X.txt" in the program folder.
class FileSlots {
 public:
  FileSlots(app::MainControls& controls, app::HiddenFields& fields, app::HiddenCommands& commands,
            feedback::Hints& hints, DataTable& table);

  // The slot whose open button shows the highlight colour (0 for A).
  int currentSlot() const;
  void markCurrent(int slot);

  void open(int slot);
  void save(int slot);
  // Empties columns 2 to 4 and refills them from the current slot's row-settings file.
  void reloadRowSettings();
  void writeCheckFile();
  void readCheckFile();

  static std::filesystem::path entriesFile(int slot);
  static std::filesystem::path rowSettingsFile(int slot);
  static std::filesystem::path checkFile();

  ui::Button& openButton(int slot) const;
  ui::Button& saveButton(int slot) const;

 private:
  bool tableShown() const { return table_.view().isVisible(); }

  app::MainControls& controls_;
  app::HiddenFields& fields_;
  app::HiddenCommands& commands_;
  feedback::Hints& hints_;
  DataTable& table_;
};

}  // namespace hf::table
