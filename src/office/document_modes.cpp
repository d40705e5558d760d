#include "office/document_modes.h"

#include <string>

#include "input/key_actions.h"
#include "office/excel_cells.h"
#include "platform/desktop.h"
#include "platform/event_loop.h"

namespace hf::office {
namespace {

using automation::asObject;
using automation::Variant;
using paste::BackQuoteMode;

constexpr std::string_view kLineBreak = "\r\n";
constexpr std::string_view kGreeting = "欢迎使用！";
constexpr int kColumnCountItem = 1;  // "2" in the batch selector
constexpr std::string_view kStillOnClipboard = "，内容仍在剪贴板！";

}  // namespace

bool DocumentModes::refusedForRecordTable() {
  if (!n_.macroPanel.recordTableShown()) return false;
  hints_.show(hints_.气球提示框1, n_.macroPanel.recordTableToggle(), 16, "●点击【隐藏】再操作！");
  return true;
}

void DocumentModes::pressWord() {
  if (refusedForRecordTable()) return;
  n_.importer.chooseMode(table::ImportMode::CustomSeparator);
  n_.hotkeys.registerBackQuote();
  n_.modes.chooseDocumentMode(BackQuoteMode::Word);
  if (start(word_, c_.按钮word)) openWordDocument();
  n_.modes.endSelectionCopy(true);
}

void DocumentModes::pressExcel() {
  if (refusedForRecordTable()) return;
  n_.editing.showBatchItem(kColumnCountItem);
  n_.importer.chooseMode(table::ImportMode::CustomSeparator);
  n_.modes.chooseDocumentMode(BackQuoteMode::Excel);
  loop::pause(10);
  n_.hotkeys.registerBackQuote();
  loop::pause(10);
  n_.modes.resetOfficeCells();
  hints_.show(hints_.气球提示框1, n_.editing.batchSelector(), 16,
              "●设置粘贴纵列数！最大可设置10纵列！");
  if (start(excel_, c_.按钮excel)) openExcelWorkbook();
  if (n_.modes.selectionCopyOn()) return n_.modes.endSelectionCopy(true);
  // The greeting shows the user where the captures go; the clipboard keeps it.
  desktop::setClipboardText(kGreeting);
  pasteAt("A1");
}

bool DocumentModes::captureSelection() {
  loop::pause(100);
  input::scanCopySelection(n_.importer.selectionCut());
  pauseInterval();
  return !desktop::clipboardText().value_or("").empty();
}

void DocumentModes::pauseInterval() const {
  loop::pause(n_.delivery.interval());
}

void DocumentModes::copyIntoWord() {
  if (!captureSelection()) return;
  pauseInterval();
  pauseInterval();
  pasteRestarting(word_, c_.按钮word, [this] { return pasteIntoWord(); });
}

void DocumentModes::copyIntoExcel() {
  if (!captureSelection()) return;
  pauseInterval();
  const auto columns = columnCount(n_.editing.batchText());
  if (!columns) return;  // the text stays on the clipboard
  pasteRestarting(excel_, c_.按钮excel, [this, n = *columns] { return fillNextCell(n); });
}

void DocumentModes::pasteRestarting(OfficeApplication& application, const ui::Control& anchor,
                                    const std::function<Result()>& paste) {
  Result done = paste();
  if (!done && (!application.started() || done.error().serverGone())) {
    if (!restart(application, anchor)) return;
    done = paste();
  } else if (!done && !done.error().busy() && reopenedDocument(application, anchor)) {
    done = paste();
  }
  if (!done) reportFailure(application, anchor, done.error());
}

bool DocumentModes::start(OfficeApplication& application, const ui::Control& anchor) {
  const auto started = application.start();
  const auto& candidates = application.candidates();
  if (!started) {
    hint(anchor, "●未找到" + candidates[0].name + "或" + candidates[1].name + "！");
    return false;
  }
  if (started.value().progId != candidates[0].progId)
    hint(anchor, "●未找到" + candidates[0].name + "，已启动" + started.value().name + "！");
  return true;
}

bool DocumentModes::restart(OfficeApplication& application, const ui::Control& anchor) {
  const auto started = application.start();
  if (!started) {
    const auto& candidates = application.candidates();
    hint(anchor, "●未找到" + candidates[0].name + "或" + candidates[1].name +
                     std::string(kStillOnClipboard));
    return false;
  }
  openDocument(application);
  hint(anchor, "●已重新启动" + started.value().name + "！");
  return true;
}

bool DocumentModes::reopenedDocument(OfficeApplication& application, const ui::Control& anchor) {
  const bool word = &application == &word_;
  const auto documents = asObject(application.get(word ? "Documents" : "Workbooks"));
  if (!documents) return false;
  const Result count = OfficeApplication::get(documents.value(), "Count");
  if (!count || count.value() != Variant{0}) return false;
  openDocument(application);
  const std::string& name = application.current().name;
  hint(anchor, word ? "●" + name + "中的文档已关闭，已新建文档！"
                    : "●" + name + "中的工作簿已关闭，已新建工作簿！");
  return true;
}

void DocumentModes::openDocument(OfficeApplication& application) {
  if (&application == &word_) return openWordDocument();
  openExcelWorkbook();
  n_.modes.resetOfficeCells();
}

void DocumentModes::openWordDocument() {
  if (const auto documents = asObject(word_.get("Documents")))
    OfficeApplication::call(documents.value(), "Add");
  word_.put("Visible", true);
}

void DocumentModes::openExcelWorkbook() {
  // A sheet in the workbook open now, if any, then a workbook of its own.
  if (const auto workbook = asObject(excel_.get("ActiveWorkbook")))
    if (const auto sheets = asObject(OfficeApplication::get(workbook.value(), "Sheets")))
      OfficeApplication::call(sheets.value(), "Add");
  if (const auto workbooks = asObject(excel_.get("Workbooks")))
    if (const auto added = asObject(OfficeApplication::call(workbooks.value(), "Add")))
      OfficeApplication::get(added.value(), "ActiveSheet");
  excel_.put("Visible", true);
}

DocumentModes::Result DocumentModes::pasteIntoWord() {
  const auto selection = asObject(word_.get("Selection"));
  if (!selection) return selection.error();
  const Result pasted = OfficeApplication::call(selection.value(), "Paste");
  if (!pasted) return pasted;
  const auto typing = asObject(word_.get("Selection"));
  if (!typing) return typing.error();
  return OfficeApplication::call(typing.value(), "TypeText", {std::string(kLineBreak)});
}

automation::Result<int> DocumentModes::usedRows() {
  const auto sheet = asObject(excel_.get("ActiveSheet"));
  if (!sheet) return sheet.error();
  const auto used = asObject(OfficeApplication::get(sheet.value(), "UsedRange"));
  if (!used) return used.error();
  const auto rows = asObject(OfficeApplication::get(used.value(), "Rows"));
  if (!rows) return rows.error();
  const Result rowCount = OfficeApplication::get(rows.value(), "Count");
  if (!rowCount) return rowCount.error();
  // The used columns are read as well, though only the rows decide.
  if (const auto columns = asObject(OfficeApplication::get(used.value(), "Columns")))
    OfficeApplication::get(columns.value(), "Count");
  if (const int* count = std::get_if<int>(&rowCount.value())) return *count;
  return automation::Error{automation::kTypeMismatch, "used rows not a number"};
}

DocumentModes::Result DocumentModes::pasteAt(const std::string& address) {
  const auto range = asObject(excel_.get("Range", {address}));
  if (!range) return range.error();
  return OfficeApplication::call(range.value(), "PasteSpecial");
}

DocumentModes::Result DocumentModes::fillNextCell(int columns) {
  paste::OfficeCells& cells = n_.modes.officeCells();
  const NextCell next = nextCell(cells, columns);
  if (next.column == 0) return Variant{};
  if (next.newRow) {
    const auto rows = usedRows();
    if (!rows) return rows.error();
    startRow(cells, columns, rows.value());
  }
  if (columns == 1) return pasteAt(cells.cells[0]);
  pauseInterval();
  const Result done = pasteAt(cells.cells[next.column - 1]);
  pauseInterval();
  if (done) columnFilled(cells, columns, next.column);
  return done;
}

void DocumentModes::reportFailure(const OfficeApplication& application, const ui::Control& anchor,
                                  const automation::Error& error) {
  const std::string& name = application.current().name;
  if (error.busy())
    hint(anchor, "●" + name + "正忙（请先关闭其中的对话框）" + std::string(kStillOnClipboard));
  else
    hint(anchor, "●" + name + "未能粘贴：" + error.text + std::string(kStillOnClipboard));
}

void DocumentModes::hint(const ui::Control& anchor, std::string_view text) {
  hints_.show(hints_.气球提示框2, anchor, 16, text);
}

}  // namespace hf::office
