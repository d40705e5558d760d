#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/hidden_fields.h"
#include "app/main_controls.h"
#include "feedback/hints.h"
#include "table/data_table.h"
#include "table/paste_mode_view.h"
#include "table/splitting.h"

namespace hf::table {

// Dropped files larger than this are not imported (the user is told): a
// 32-bit process has no room for the rows of much larger texts.
inline constexpr std::size_t kMaxDroppedFileBytes = std::size_t(64) << 20;

// Entries reach the table from a dropped file or from text the user selects
// in another program and captures with the back-quote key; the import-mode
// selector `导入方式` decides how a text becomes rows.
class Importer {
 public:
  Importer(app::MainControls& controls, app::HiddenFields& fields, app::HiddenCommands& commands,
           feedback::Hints& hints, DataTable& table, PasteModeView& pasteMode)
      : controls_(controls),
        fields_(fields),
        commands_(commands),
        hints_(hints),
        table_(table),
        pasteMode_(pasteMode) {}

  ImportMode mode() const { return static_cast<ImportMode>(controls_.导入方式.selectedIndex()); }

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

  app::MainControls& controls_;
  app::HiddenFields& fields_;
  app::HiddenCommands& commands_;
  feedback::Hints& hints_;
  DataTable& table_;
  PasteModeView& pasteMode_;
};

}  // namespace hf::table
