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
  if (start(word_)) openWordDocument();
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
  hints_.show(hints_.气球提示框1, n_.editing.batchSelector(), 16,
              "●设置粘贴纵列数！最大可设置10纵列！");
  if (start(excel_)) openExcelWorkbook();
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
  if (stillUnanswered(word_) || !captureSelection()) return;
  pauseInterval();
  pauseInterval();
  pasteRestarting(word_, [this] { return pasteIntoWord(); });
}

void DocumentModes::copyIntoExcel() {
  if (stillUnanswered(excel_) || !captureSelection()) return;
  pauseInterval();
  const auto columns = columnCount(n_.editing.batchText());
  if (!columns) return;  // the text stays on the clipboard
  pasteRestarting(excel_, [this, n = *columns] { return fillNextCell(n); });
}

void DocumentModes::pasteRestarting(Office& office, const std::function<Result()>& paste) {
  Result done = paste();
  if (!done && (!office.application.started() || done.error().serverGone())) {
    if (!restart(office)) return;
    done = paste();
  } else if (!done && !done.error().busy() && !done.error().unanswered() &&
             reopenedDocument(office)) {
    done = paste();
  }
  if (!done) reportFailure(office, done.error());
}

// An application that left a call unanswered gets none until it answers:
// the press copies nothing, so nothing is left to paste later.
bool DocumentModes::stillUnanswered(const Office& office) {
  if (!automation::awaitingLateAnswer()) return false;
  hint(office.anchor, "●" + unansweredName(office) + "仍没有响应，未复制！");
  return true;
}

const std::string& DocumentModes::unansweredName(const Office& office) const {
  return unansweredName_.empty() ? office.application.candidates()[0].name : unansweredName_;
}

bool DocumentModes::start(Office& office) {
  const auto started = office.application.start();
  const auto& candidates = office.application.candidates();
  if (!started && started.error().unanswered()) {
    hint(office.anchor, "●" + unansweredName(office) + "没有响应！");
    return false;
  }
  if (!started) {
    hint(office.anchor, "●未找到" + candidates[0].name + "或" + candidates[1].name + "！");
    return false;
  }
  if (started.value().progId != candidates[0].progId)
    hint(office.anchor, "●未找到" + candidates[0].name + "，已启动" + started.value().name + "！");
  return true;
}

bool DocumentModes::restart(Office& office) {
  const auto started = office.application.start();
  if (!started) {
    const auto& candidates = office.application.candidates();
    hint(office.anchor, "●未找到" + candidates[0].name + "或" + candidates[1].name +
                            std::string(kStillOnClipboard));
    return false;
  }
  (this->*office.openDocument)();
  hint(office.anchor, "●已重新启动" + started.value().name + "！");
  return true;
}

bool DocumentModes::reopenedDocument(Office& office) {
  const auto documents = asObject(office.application.get(office.documents));
  if (!documents) return false;
  const Result count = OfficeApplication::get(documents.value(), "Count");
  if (!count || count.value() != Variant{0}) return false;
  (this->*office.openDocument)();
  hint(office.anchor, "●" + office.application.current().name + std::string(office.closedHint));
  return true;
}

void DocumentModes::openWordDocument() {
  if (const auto documents = asObject(word_.application.get("Documents")))
    OfficeApplication::call(documents.value(), "Add");
  word_.application.put("Visible", true);
}

void DocumentModes::openExcelWorkbook() {
  // A sheet in the workbook open now, if any, then a workbook of its own.
  if (const auto workbook = asObject(excel_.application.get("ActiveWorkbook")))
    if (const auto sheets = asObject(OfficeApplication::get(workbook.value(), "Sheets")))
      OfficeApplication::call(sheets.value(), "Add");
  if (const auto workbooks = asObject(excel_.application.get("Workbooks")))
    if (const auto added = asObject(OfficeApplication::call(workbooks.value(), "Add")))
      OfficeApplication::get(added.value(), "ActiveSheet");
  excel_.application.put("Visible", true);
  n_.modes.resetOfficeCells();
}

DocumentModes::Result DocumentModes::pasteIntoWord() {
  const auto selection = asObject(word_.application.get("Selection"));
  if (!selection) return selection.error();
  const Result pasted = OfficeApplication::call(selection.value(), "Paste");
  if (!pasted) return pasted;
  const auto typing = asObject(word_.application.get("Selection"));
  if (!typing) return typing.error();
  return OfficeApplication::call(typing.value(), "TypeText", {std::string(kLineBreak)});
}

automation::Result<int> DocumentModes::usedRows() {
  const auto sheet = asObject(excel_.application.get("ActiveSheet"));
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
  const auto range = asObject(excel_.application.get("Range", {address}));
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

void DocumentModes::reportFailure(const Office& office, const automation::Error& error) {
  const std::string& name = office.application.current().name;
  if (error.unanswered()) {
    unansweredName_ = name;
    hint(office.anchor, "●" + name + "没有响应" + std::string(kStillOnClipboard));
  } else if (error.busy())
    hint(office.anchor,
         "●" + name + "正忙（请先关闭其中的对话框）" + std::string(kStillOnClipboard));
  else
    hint(office.anchor, "●" + name + "未能粘贴：" + error.text + std::string(kStillOnClipboard));
}

void DocumentModes::hint(const ui::Control& anchor, std::string_view text) {
  hints_.show(hints_.气球提示框2, anchor, 16, text);
}

}  // namespace hf::office
