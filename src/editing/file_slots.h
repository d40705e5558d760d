#pragma once

#include <array>
#include <filesystem>

#include "feedback/hints.h"
#include "paste/hotkey_loading.h"
#include "paste/paste_modes.h"
#include "table/check_file.h"
#include "table/data_table.h"

namespace hf::editing {

inline constexpr int kSlotCount = 5;  // slots A to E

// The five file slots in which a table is saved and reopened. Each slot has
// an entries file "保存X.txt" and a row-settings file "跳快数据X.txt" in the
// program folder; the open button of the current slot wears the highlight.
class FileSlots {
 public:
  struct Controls {
    std::array<ui::Button*, kSlotCount> openButtons;  // 打开A … 打开E
    std::array<ui::Button*, kSlotCount> saveButtons;  // 保存A … 保存E
  };
  FileSlots(Controls controls, feedback::Hints& hints, table::DataTable& table,
            table::CheckFile& checkFile, paste::PasteEngine& engine, paste::HotkeyLoading& loading);

  // The slot whose open button shows the highlight colour (0 for A).
  int currentSlot() const;
  void markCurrent(int slot);

  void open(int slot);
  void save(int slot);
  // Empties columns 2 to 4 and refills them from the current slot's row-settings file.
  void reloadRowSettings();

  static std::filesystem::path entriesFile(int slot);
  static std::filesystem::path rowSettingsFile(int slot);

  ui::Button& openButton(int slot) const { return *c_.openButtons[slot]; }
  ui::Button& saveButton(int slot) const { return *c_.saveButtons[slot]; }

 private:
  bool tableShown() const { return table_.view().isVisible(); }

  Controls c_;
  feedback::Hints& hints_;
  table::DataTable& table_;
  table::CheckFile& checkFile_;
  paste::PasteEngine& engine_;
  paste::HotkeyLoading& loading_;
};

}  // namespace hf::editing
