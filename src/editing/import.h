#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "editing/cell_editors.h"
#include "feedback/hints.h"
#include "input/key_actions.h"
#include "paste/paste_modes.h"
#include "paste/working_modes.h"
#include "table/data_table.h"
#include "table/splitting.h"

namespace hf::editing {

using table::ImportMode;
using table::ImportSource;

// Dropped files larger than this are not imported (the user is told): a
// 32-bit process has no room for the rows of much larger texts.
inline constexpr std::size_t kMaxDroppedFileBytes = std::size_t(64) << 20;

// Entries reach the table from a dropped file or from text the user selects
// in another program and captures with the back-quote key; the import-mode
// selector `导入方式` decides how a text becomes rows.
class Importer {
 public:
  struct Controls {
    ui::DropDown& 导入方式;  // the import mode
    ui::EditBox& 分割符;     // the custom separator
    ui::CheckBox& 选择框14;  // a capture deletes the selected text
  };
  struct Neighbours {
    CellEditors& cellEditors;
    paste::PasteEngine& engine;
    paste::WorkingModes& modes;
  };
  Importer(Controls controls, feedback::Hints& hints, table::DataTable& table,
           Neighbours neighbours)
      : c_(controls), hints_(hints), table_(table), n_(neighbours) {}

  ImportMode mode() const { return static_cast<ImportMode>(c_.导入方式.selectedIndex()); }
  void chooseMode(ImportMode mode) { c_.导入方式.select(static_cast<int>(mode)); }
  // Whether a capture deletes the selected text after copying it.
  input::Cut selectionCut() const {
    return c_.选择框14.isChecked() ? input::Cut::Yes : input::Cut::No;
  }
  std::string separator() const { return c_.分割符.text(); }
  const ui::Control& separatorBox() const { return c_.分割符; }
  // A double click on the separator box empties it, for a quick new one.
  void clearSeparator() { c_.分割符.setText(""); }

  // Splits the text by the current mode and appends the pieces as rows.
  void importText(std::string_view text, ImportSource source);
  // The back-quote key: copies the selection of the focused program and imports it.
  void captureSelection();
  void filesDroppedOnTable(const std::vector<std::filesystem::path>& paths);
  // Files dropped on the open 内容 editor become picture markers "#" + path.
  void filesDroppedOnEntryEditor(const std::vector<std::filesystem::path>& paths);
  // A new item chosen in the selector.
  void modeChosen();

 private:
  // The pieces, or nothing when the memory ran out.
  std::optional<std::vector<std::string>> split(std::string_view text, ImportSource source) const;
  // The dropped files that can be picture items, as GBK paths; a hint names
  // one that cannot.
  std::vector<std::string> itemPaths(const std::vector<std::filesystem::path>& paths);

  Controls c_;
  feedback::Hints& hints_;
  table::DataTable& table_;
  Neighbours n_;
};

}  // namespace hf::editing
