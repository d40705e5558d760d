#include "editing/import.h"

#include <new>

#include "input/key_actions.h"
#include "paste/composite_entries.h"
#include "platform/desktop.h"
#include "platform/event_loop.h"
#include "platform/files.h"
#include "platform/text_codec.h"

namespace hf::editing {
namespace {

constexpr std::size_t kSplitAloneBytes = std::size_t(1) << 20;

std::string gbkPath(const std::filesystem::path& path) {
  const std::u8string utf8 = path.u8string();
  return codec::utf8ToGbk(std::string(utf8.begin(), utf8.end()));
}

}  // namespace

// Large texts are split on a worker thread while the window keeps handling
// its events, so a big dropped file does not freeze the program.
std::optional<std::vector<std::string>> Importer::split(std::string_view text,
                                                        ImportSource source) const {
  const ImportMode importMode = mode();
  const std::string separator = c_.分割符.text();
  std::optional<std::vector<std::string>> pieces;
  const auto splitText = [&] {
    try {
      pieces = splitForImport(importMode, text, source, separator);
    } catch (const std::bad_alloc&) {
      pieces.reset();
    }
  };
  if (text.size() < kSplitAloneBytes)
    splitText();
  else
    loop::runOffUiThread(splitText);
  return pieces;
}

void Importer::importText(std::string_view text, ImportSource source) {
  const ImportMode importMode = mode();
  if (!isTableImportMode(importMode)) return;
  const auto pieces = split(text, source);
  if (!pieces) {
    hints_.show(hints_.气球提示框1, table_.view(), 100, "●文本太大，内存不足，未导入！");
    return;
  }
  table_.appendRows(*pieces);
  if (sweepsEmptyRows(importMode)) table_.removeEmptyRows();
  if (emptiesClipboard(importMode, source)) desktop::setClipboardText("");
}

void Importer::captureSelection() {
  const ImportMode importMode = mode();
  const table::ImportModeTraits& traits = table::traitsOf(importMode);
  if (traits.captureCopyWaitMs == 0) return;  // a mode that takes no capture
  loop::pause(100);
  input::copySelection(selectionCut());
  loop::pause(traits.captureCopyWaitMs);
  const std::string text = desktop::clipboardText().value_or("");
  if (text.empty()) {
    if (sweepsEmptyRows(importMode)) table_.removeEmptyRows();
    return;
  }
  importText(text, ImportSource::Capture);
  if (traits.captureBecomesCurrent) {
    table_.setCurrentRow(table_.rowCount() - 1);
    table_.scrollTo(table_.rowCount() - 1);
  }
}

void Importer::filesDroppedOnTable(const std::vector<std::filesystem::path>& paths) {
  n_.engine.resetRandomCycle();
  const ImportMode importMode = mode();
  if (!isTableImportMode(importMode) || paths.empty()) return;
  if (table::traitsOf(importMode).split == table::Split::DroppedPaths) {
    std::string lines;
    for (const std::string& path : itemPaths(paths)) lines += (lines.empty() ? "" : "\r\n") + path;
    return importText(lines, ImportSource::Drop);
  }
  // Several files dropped together give no text: only one file is read.
  std::string text;
  if (paths.size() == 1) {
    std::error_code error;
    const auto size = std::filesystem::file_size(paths[0], error);  // fails for a folder
    if (!error && size > kMaxDroppedFileBytes) {
      hints_.show(hints_.气球提示框1, table_.view(), 100, "●文件超过64MB，未导入！请先拆分文件。");
      return;
    }
    text = files::readWhole(paths[0], kMaxDroppedFileBytes).value_or("");
  }
  importText(text, ImportSource::Drop);
}

void Importer::filesDroppedOnEntryEditor(const std::vector<std::filesystem::path>& paths) {
  std::string text;
  for (const std::string& path : itemPaths(paths)) text += "#" + path + "\r\n";
  n_.cellEditors.appendToEntryEditor(text);
}

std::vector<std::string> Importer::itemPaths(const std::vector<std::filesystem::path>& paths) {
  std::vector<std::string> fitting;
  for (const auto& path : paths) {
    std::string gbk = gbkPath(path);
    if (paste::fitsInEntry(gbk))
      fitting.push_back(std::move(gbk));
    else
      hints_.show(hints_.气球提示框1, table_.view(), 100, paste::hashInPathHint(gbk));
  }
  return fitting;
}

void Importer::modeChosen() {
  const ImportMode importMode = mode();
  if (isSamePageMode(importMode)) return n_.modes.samePageImportChosen();
  if (!isTableImportMode(importMode)) return;
  n_.modes.tableImportChosen();
  if (!table::traitsOf(importMode).choosesPicturesWithText) return;
  n_.engine.choosePicturesWithText();
  n_.modes.switchToMassCopy();
  n_.engine.setPicturesWithText(true);
  table_.applyDefaultLayout();
}

}  // namespace hf::editing
