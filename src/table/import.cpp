#include "table/import.h"

#include <new>

#include "input/key_actions.h"
#include "platform/desktop.h"
#include "platform/event_loop.h"
#include "platform/files.h"
#include "platform/keys.h"
#include "platform/text_codec.h"

namespace hf::table {
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
  const std::string separator = controls_.分割符.text();
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
    hints_.show(hints_.气球提示框1, controls_.超级列表框1, 100, "●文本太大，内存不足，未导入！");
    return;
  }
  table_.appendRows(*pieces);
  if (sweepsEmptyRows(importMode)) commands_.删除1();
  if (emptiesClipboard(importMode, source)) desktop::setClipboardText("");
}

void Importer::captureSelection() {
  const ImportMode importMode = mode();
  if (!isTableImportMode(importMode) || importMode == ImportMode::DroppedImages) return;
  loop::pause(100);
  input::ctrlC();
  loop::pause(50);
  if (controls_.选择框14.isChecked()) input::press(keys::kDelete);
  const bool letterOrDigit = importMode == ImportMode::Letters || importMode == ImportMode::Digits;
  loop::pause(letterOrDigit ? 30 : 50);
  const std::string text = desktop::clipboardText().value_or("");
  if (text.empty()) {
    if (sweepsEmptyRows(importMode)) commands_.删除1();
    return;
  }
  importText(text, ImportSource::Capture);
  if (importMode == ImportMode::Single) {
    table_.setCurrentRow(table_.rowCount() - 1);
    table_.scrollTo(table_.rowCount() - 1);
  }
}

void Importer::filesDroppedOnTable(const std::vector<std::filesystem::path>& paths) {
  commands_.按钮14();
  const ImportMode importMode = mode();
  if (!isTableImportMode(importMode) || paths.empty()) return;
  if (importMode == ImportMode::DroppedImages) {
    std::string lines;
    for (const auto& path : paths) lines += (lines.empty() ? "" : "\r\n") + gbkPath(path);
    return importText(lines, ImportSource::Drop);
  }
  // Several files dropped together give no text: only one file is read.
  std::string text;
  if (paths.size() == 1) {
    std::error_code error;
    const auto size = std::filesystem::file_size(paths[0], error);  // fails for a folder
    if (!error && size > kMaxDroppedFileBytes) {
      hints_.show(hints_.气球提示框1, controls_.超级列表框1, 100,
                  "●文件超过64MB，未导入！请先拆分文件。");
      return;
    }
    text = files::readWhole(paths[0], kMaxDroppedFileBytes).value_or("");
  }
  importText(text, ImportSource::Drop);
}

void Importer::filesDroppedOnEntryEditor(const std::vector<std::filesystem::path>& paths) {
  std::string text = controls_.编辑框1009.text();
  for (const auto& path : paths) text += "#" + gbkPath(path) + "\r\n";
  controls_.编辑框1009.setText(text);
}

void Importer::modeChosen() {
  const ImportMode importMode = mode();
  if (isSamePageMode(importMode)) {
    fields_.组合框1 = 2;
    if (commands_.按钮12) commands_.按钮12();
    return;
  }
  if (!isTableImportMode(importMode)) return;
  if (controls_.按钮1.color() == app::kHighlightColor) fields_.组合框1 = 0;
  if (controls_.按钮102.color() == app::kHighlightColor) fields_.组合框1 = 1;
  if (importMode != ImportMode::DroppedImages) return;
  pasteMode_.choosePicturesWithText();
  commands_.按钮4();
  fields_.图文选择 = true;
  table_.applyDefaultLayout();
}

}  // namespace hf::table
