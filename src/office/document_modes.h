#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "editing/import.h"
#include "editing/table_editing.h"
#include "feedback/hints.h"
#include "input/delivery.h"
#include "macro/macro_panel.h"
#include "office/office_application.h"
#include "paste/hotkeys.h"
#include "paste/working_modes.h"
#include "platform/automation.h"
#include "platform/ui.h"

namespace hf::office {

// The Word and Excel working modes: their buttons start the application with
// a new document, and from then on the back-quote key copies the selection
// of the focused program into it: into Word at the insertion point, each
// capture followed by a line break; into Excel cell by cell along a row of 1
// to 10 columns, each row below the sheet's used range. An application the
// user has closed is started again at the next capture, one whose document
// the user has closed gets a new document; a busy one is given
// about a second; what could not be pasted stays on the clipboard, and a hint
// says so. One that leaves a call unanswered within the time limit gets no
// capture until it answers: the presses meanwhile copy nothing.
class DocumentModes {
 public:
  struct Controls {
    const ui::Control& 按钮word;   // where Word's hints point
    const ui::Control& 按钮excel;  // where Excel's hints point
  };
  struct Neighbours {
    paste::WorkingModes& modes;
    paste::HotkeyRegistry& hotkeys;
    const macro::MacroPanel& macroPanel;
    editing::Importer& importer;
    editing::TableEditing& editing;
    const input::Delivery& delivery;  // the interval
  };
  DocumentModes(Controls controls, feedback::Hints& hints, Neighbours neighbours)
      : c_(controls), hints_(hints), n_(neighbours) {}

  // `按钮word` and `按钮excel`.
  void pressWord();
  void pressExcel();
  // `按钮6` (复原): the Excel captures start a new row in column A.
  void resetCells() { n_.modes.resetOfficeCells(); }
  // The back-quote key in the Word and in the Excel mode.
  void copyIntoWord();
  void copyIntoExcel();

 private:
  using Result = OfficeApplication::Result;

  // One of the two applications, and what differs between them.
  struct Office {
    OfficeApplication application;
    const ui::Control& anchor;              // where its hints point
    std::string_view documents;             // the collection of its open documents
    std::string_view closedHint;            // follows its name when a closed document was replaced
    void (DocumentModes::*openDocument)();  // a new document, ready for captures
  };

  bool refusedForRecordTable();
  // Copies the selection of the focused program; false when no text came.
  bool captureSelection();
  void pauseInterval() const;

  // Whether a call still waits for its late answer; a hint then says so.
  bool stillUnanswered(const Office& office);
  // The application that last left a call unanswered.
  const std::string& unansweredName(const Office& office) const;
  // Creates the application; a hint names a stand-in or says none was found.
  bool start(Office& office);
  void openWordDocument();
  // A new workbook, whose first capture starts a row.
  void openExcelWorkbook();
  // The application has gone (or never came): start it again with a new
  // document, quietly unless it cannot be found.
  bool restart(Office& office);
  // The user closed the document but not the application: a new one takes
  // the capture. False when documents are open (the failure was another).
  bool reopenedDocument(Office& office);

  Result pasteIntoWord();
  Result fillNextCell(int columns);
  automation::Result<int> usedRows();
  Result pasteAt(const std::string& address);
  // Runs the paste; once more after a restart when the application had gone.
  void pasteRestarting(Office& office, const std::function<Result()>& paste);
  void reportFailure(const Office& office, const automation::Error& error);
  void hint(const ui::Control& anchor, std::string_view text);

  automation::Apartment apartment_;  // first: the applications below live inside it
  Controls c_;
  feedback::Hints& hints_;
  Neighbours n_;
  std::string unansweredName_;
  Office word_{OfficeApplication(wordProcessors()), c_.按钮word, "Documents",
               "中的文档已关闭，已新建文档！", &DocumentModes::openWordDocument};
  Office excel_{OfficeApplication(spreadsheets()), c_.按钮excel, "Workbooks",
                "中的工作簿已关闭，已新建工作簿！", &DocumentModes::openExcelWorkbook};
};

}  // namespace hf::office
