#pragma once

#include <array>
#include <initializer_list>
#include <string>

#include "feedback/hints.h"
#include "macro/macro_panel.h"
#include "paste/hotkeys.h"
#include "paste/paste_modes.h"
#include "paste/selection_copy.h"
#include "table/data_table.h"

namespace hf::paste {

// The copy mode `组合框1`: which rows the custom hotkeys paste.
enum class CopyMode { Mass = 0, Ordered = 1, Characters = 2 };

// The back-quote mode `组合框3`: what the back-quote key does while it does
// not import into the data table.
enum class BackQuoteMode { Word = 0, Excel = 1, SamePage = 2, SelectionCopy = 3, Transfer = 4 };

// The cells of Excel that the document modes fill, with their switches
// (`编辑框hang` … `编辑框hang9`, `选择框1` … `选择框10`).
struct OfficeCells {
  std::array<std::string, 10> cells{"A1", "B1", "C1", "D1", "E1", "F1", "G1", "H1", "I1", "J1"};
  std::array<bool, 10> used{true, true, true, true, true, true, true, true, true, true};
};

// The row of working-mode buttons at the top of the main window: which rows
// the custom hotkeys paste and what the back-quote key does. The highlighted
// button is the working mode.
class WorkingModes {
 public:
  struct Controls {
    ui::Button& 按钮1;
    ui::Button& 按钮102;
    ui::Button& 按钮66;
    ui::Button& 按钮104;
    ui::Button& 按钮10;
    ui::Button& 按钮word;
    ui::Button& 按钮excel;
    ui::Button& 按钮6;
    ui::EditBox& 编辑框25;        // the same-page editor, over the data table
    const ui::Control& 导入方式;  // where the import hints point
  };
  WorkingModes(Controls controls, feedback::Hints& hints, HotkeyRegistry& hotkeys,
               PasteEngine& engine, table::DataTable& table, const macro::MacroPanel& macroPanel,
               SelectionCopy& selectionCopy)
      : c_(controls),
        hints_(hints),
        hotkeys_(hotkeys),
        engine_(engine),
        table_(table),
        macroPanel_(macroPanel),
        selectionCopy_(selectionCopy) {}

  // The buttons refuse, with a hint, while the record table lies over the data table.
  bool refuseWhileRecordTableShown();

  // 万条复制: the custom hotkeys paste rows in table order from the current
  // row on; the back-quote key imports into the data table.
  void pressMassCopy();
  // 万条复制 as a chosen paste or import mode switches to it: without the
  // checks of its button, and leaving the back-quote action as it is.
  void switchToMassCopy();
  // The mouse button pressed on 万条复制: the hints that guide a new user.
  void mouseDownOnMassCopy();
  // 有序复制: the custom hotkeys paste only marked rows and unmark them.
  void pressOrderedCopy();
  // 有序复制 as the search box chooses it before the user marks rows by hand:
  // no checks, no hint, the back-quote hotkey left as it is.
  void chooseOrderedCopyForMarking();
  // A new paste mode may bring its working mode along.
  void pasteModeChosen();

  // 反撇号键粘贴 `按钮66`: switches the selection copy on, or off again.
  void pressSelectionCopy();
  // 同页粘贴 `按钮104` while it reads "同页粘贴": the same-page editor
  // takes the data table's place and collects the captures.
  void startSamePage();
  bool collectingSamePage() const { return c_.按钮104.text() == "同页保存"; }
  // 不同页粘贴 `按钮10`: the back-quote key carries the selection to the
  // picked point of another window.
  void chooseTransfer();
  BackQuoteMode backQuoteMode() const { return backQuoteMode_; }
  bool transferChosen() const;
  bool samePageChosen() const;

  // An import mode chosen: the same-page modes collect on the page (copy
  // mode 字符复制, the collection opened without a hint); the table modes
  // restore the copy mode of the highlighted button.
  void samePageImportChosen();
  void tableImportChosen();

  CopyMode copyMode() const { return copyMode_; }
  bool massCopyChosen() const;
  bool orderedCopyChosen() const;
  // The back-quote key imports into the data table (`选择框11`).
  bool backQuoteImports() const { return backQuoteImports_; }

  // The same-page editor lies over the data table.
  bool samePageEditorShown() const { return c_.编辑框25.isVisible(); }
  void clearSamePageEditor() { c_.编辑框25.setText(""); }
  std::string samePageText() const { return c_.编辑框25.text(); }
  void appendToSamePageEditor(std::string_view text);
  const ui::Control& samePageEditor() const { return c_.编辑框25; }

  const OfficeCells& officeCells() const { return officeCells_; }
  OfficeCells& officeCells() { return officeCells_; }
  void resetOfficeCells() { officeCells_ = OfficeCells{}; }

  // Word or Excel takes the back-quote key: the import flag off, the data
  // table shown, the document mode's buttons highlighted (Excel with 复原),
  // the other back-quote buttons normal; 万条复制 and 有序复制 keep theirs.
  void chooseDocumentMode(BackQuoteMode mode);
  // 反撇号键粘贴 is on (`按钮66` reads "关闭复制").
  bool selectionCopyOn() const { return selectionCopy_.on(); }
  // Ends 反撇号键粘贴 when it is on: caption, colour, hook; the clipboard
  // emptied if asked.
  void endSelectionCopy(bool emptyClipboard);

 private:
  void highlightOnly(ui::Button& button);
  // What 万条复制 and 有序复制 share: they end every back-quote action.
  void selectRowMode(ui::Button& button, CopyMode copyMode);
  void bringTableForward();
  void hintHideRecordTable();
  // Back-quote buttons that another one replaces take the normal colour.
  void normalBackQuoteButtons(std::initializer_list<ui::Button*> buttons);
  void openSamePageEditor();
  void endSamePageCollection();

  Controls c_;
  feedback::Hints& hints_;
  HotkeyRegistry& hotkeys_;
  PasteEngine& engine_;
  table::DataTable& table_;
  const macro::MacroPanel& macroPanel_;
  SelectionCopy& selectionCopy_;
  CopyMode copyMode_ = CopyMode::Mass;
  BackQuoteMode backQuoteMode_ = BackQuoteMode::SamePage;
  bool backQuoteImports_ = false;
  OfficeCells officeCells_;
};

}  // namespace hf::paste
