// The Word and Excel working modes against scripted automation servers: a
// small Word that keeps what is pasted and typed, and a small Excel sheet
// that keeps its cells and reports its used range as Excel does (one row for
// an empty sheet).
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app_fixture.h"
#include "feedback/button_colors.h"
#include "office/office_application.h"
#include "platform/event_loop.h"
#include "platform/headless/automation_simulation.h"
#include "platform/headless/target_simulation.h"

namespace hf::office {
namespace {

using automation::Variant;
using headless::AutomationCall;
using Log = std::vector<std::string>;

// Documents and sheets by server instance.
class ScriptedOffice {
 public:
  std::optional<automation::Result<Variant>> answer(const AutomationCall& call) {
    const std::string clipboard = desktop::clipboardText().value_or("");
    if (closed.contains({call.progId, call.instance})) {
      if (call.member == "Count" &&
          (call.object.ends_with(".Documents") || call.object.ends_with(".Workbooks")))
        return Variant{0};
      if (call.member == "Add" && !call.object.ends_with(".Sheets")) {
        closed.erase({call.progId, call.instance});
        return std::nullopt;
      }
      // What the applications answer with no document open.
      if (call.member == "ActiveSheet" || call.member == "ActiveWorkbook") return Variant{};
      if (call.member == "Selection" || call.member == "Range")
        return automation::Error{kNoDocument, "no document is open"};
    }
    if (call.action == "call" && call.member == "Paste") {
      documents[call.instance] += clipboard;
      return Variant{};
    }
    if (call.action == "call" && call.member == "TypeText") {
      documents[call.instance] += std::get<std::string>(call.args.at(0));
      return Variant{};
    }
    if (call.action == "call" && call.member == "PasteSpecial") {
      const auto open = call.object.find("Range(\"");
      const std::string address = call.object.substr(open + 7, call.object.size() - open - 9);
      sheets[call.instance][address] = clipboard;
      return Variant{};
    }
    if (call.action == "get" && call.member == "Count") {
      int rows = 1, columns = 1;
      for (const auto& [address, text] : sheets[call.instance]) {
        rows = std::max(rows, std::stoi(address.substr(1)));
        columns = std::max(columns, address[0] - 'A' + 1);
      }
      if (call.object.ends_with("UsedRange.Rows")) return Variant{rows};
      if (call.object.ends_with("UsedRange.Columns")) return Variant{columns};
    }
    return std::nullopt;
  }

  // The user closes the document or workbook but leaves the application running.
  void closeDocument(const std::string& progId, int instance) {
    closed.insert({progId, instance});
    documents[instance].clear();
    sheets[instance].clear();
  }

  static constexpr std::int32_t kNoDocument = static_cast<std::int32_t>(0x80020009);
  std::map<int, std::string> documents;
  std::map<int, std::map<std::string, std::string>> sheets;
  std::set<std::pair<std::string, int>> closed;
};

class DocumentModesTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    start();
    headless::openTarget(1);
    office_ = std::make_shared<ScriptedOffice>();
    headless::respondToAutomation(
        [office = office_](const AutomationCall& call) { return office->answer(call); });
  }
  app::MainControls& c() { return window_->controls(); }
  int interval() { return std::stoi(c().组合框2.text()); }

  void install(const std::vector<std::string>& progIds) {
    for (const std::string& progId : progIds) headless::installAutomationServer(progId);
  }
  void pressWord() {
    c().按钮word.onClick();
    headless::clearAutomationLog();
  }
  void pressExcel() {
    c().按钮excel.onClick();
    headless::clearAutomationLog();
  }
  // The user selects the text in the focused program and presses the back-quote key.
  void capture(const std::string& text) {
    headless::selectInTarget(text);
    ASSERT_TRUE(headless::pressHotkey(0, 192));
  }
  void chooseColumns(const std::string& item) {
    for (int i = 0; i < c().组合框63.itemCount(); ++i)
      if (c().组合框63.itemText(i) == item) c().组合框63.select(i);
    c().组合框63.onSelectionChanged();
  }
  const std::map<std::string, std::string>& sheet(int instance = 1) {
    return office_->sheets[instance];
  }
  std::string hint2() { return window_->hints().气球提示框2.text(); }
  std::int64_t timeOf(const std::string& text) {
    for (const AutomationCall& call : headless::automationCalls())
      if (call.text() == text) return call.at;
    return -1;
  }

  std::shared_ptr<ScriptedOffice> office_;
};

const Log kWordCapture = {
    "Word.Application get Selection",
    "Word.Application.Selection call Paste",
    "Word.Application get Selection",
    "Word.Application.Selection call TypeText(\"\r\n\")",
};

TEST_F(DocumentModesTest, WordButtonStartsWordWithAVisibleNewDocumentAndTakesTheBackQuoteKey) {
  install({"Word.Application"});
  c().按钮word.onClick();
  EXPECT_EQ(headless::automationLog(),
            (Log{"create Word.Application", "Word.Application get Documents",
                 "Word.Application.Documents call Add", "Word.Application put Visible = true"}));
  EXPECT_EQ(headless::liveAutomationObjects(), 1);  // the intermediate objects are let go
  EXPECT_FALSE(window_->modes().backQuoteImports());
  EXPECT_EQ(window_->modes().backQuoteMode(), paste::BackQuoteMode::Word);
  EXPECT_EQ(c().按钮word.color(), feedback::kHighlightColor);
  EXPECT_EQ(c().按钮1.color(), feedback::kHighlightColor);  // the row mode stays
  for (ui::Button* other : {&c().按钮excel, &c().按钮6, &c().按钮66, &c().按钮104, &c().按钮10})
    EXPECT_EQ(other->color(), feedback::kNormalColor);
  EXPECT_EQ(c().导入方式.selectedIndex(), 1);
  EXPECT_EQ(hint2(), "");  // Word itself answered: nothing to say
}

TEST_F(DocumentModesTest, WordCapturesArePastedEachFollowedByALineBreak) {
  install({"Word.Application"});
  pressWord();
  const std::int64_t pressed = loop::nowMs();
  capture("a");
  EXPECT_EQ(headless::automationLog(), kWordCapture);
  // After the copy's own pauses and three intervals.
  EXPECT_EQ(timeOf(kWordCapture[0]) - pressed, 100 + 50 + 3 * interval());
  EXPECT_EQ(headless::liveAutomationObjects(), 1);

  capture("b");
  capture("");  // nothing selected: nothing goes to Word
  capture("c");
  EXPECT_EQ(office_->documents[1], "a\r\nb\r\nc\r\n");
  EXPECT_EQ(headless::automationLog().size(), 3 * kWordCapture.size());
}

TEST_F(DocumentModesTest, ExcelButtonStartsExcelWithANewWorkbookAndTheGreetingInA1) {
  install({"Excel.Application"});
  c().按钮excel.onClick();
  EXPECT_EQ(headless::automationLog(),
            (Log{"create Excel.Application", "Excel.Application get ActiveWorkbook",
                 "Excel.Application.ActiveWorkbook get Sheets",
                 "Excel.Application.ActiveWorkbook.Sheets call Add",
                 "Excel.Application get Workbooks", "Excel.Application.Workbooks call Add",
                 "Excel.Application.Workbooks.Add get ActiveSheet",
                 "Excel.Application put Visible = true", "Excel.Application get Range(\"A1\")",
                 "Excel.Application.Range(\"A1\") call PasteSpecial"}));
  EXPECT_EQ(sheet(), (std::map<std::string, std::string>{{"A1", "欢迎使用！"}}));
  EXPECT_EQ(desktop::clipboardText(), "欢迎使用！");
  EXPECT_EQ(headless::liveAutomationObjects(), 1);
  EXPECT_EQ(c().组合框63.text(), "2");
  EXPECT_EQ(window_->hints().气球提示框1.text(), "●设置粘贴纵列数！最大可设置10纵列！");
  EXPECT_EQ(window_->modes().backQuoteMode(), paste::BackQuoteMode::Excel);
  for (ui::Button* lit : {&c().按钮excel, &c().按钮6})
    EXPECT_EQ(lit->color(), feedback::kHighlightColor);
  EXPECT_EQ(c().按钮word.color(), feedback::kNormalColor);
}

TEST_F(DocumentModesTest, ExcelCaptureReadsTheUsedRangeAndPastesBelowIt) {
  install({"Excel.Application"});
  pressExcel();
  std::int64_t pressed = loop::nowMs();
  capture("x");
  EXPECT_EQ(headless::automationLog(),
            (Log{"Excel.Application get ActiveSheet", "Excel.Application.ActiveSheet get UsedRange",
                 "Excel.Application.ActiveSheet.UsedRange get Rows",
                 "Excel.Application.ActiveSheet.UsedRange.Rows get Count",
                 "Excel.Application.ActiveSheet.UsedRange get Columns",
                 "Excel.Application.ActiveSheet.UsedRange.Columns get Count",
                 "Excel.Application get Range(\"A2\")",
                 "Excel.Application.Range(\"A2\") call PasteSpecial"}));
  EXPECT_EQ(sheet().at("A2"), "x");
  EXPECT_EQ(headless::liveAutomationObjects(), 1);
  // The copy's pauses, an interval, and one more before the paste of a row of two.
  EXPECT_EQ(timeOf("Excel.Application get Range(\"A2\")") - pressed, 100 + 50 + 3 * interval());

  chooseColumns("1");  // one column: no pause before the paste
  headless::clearAutomationLog();
  pressed = loop::nowMs();
  capture("y");
  EXPECT_EQ(sheet().at("A3"), "y");
  EXPECT_EQ(timeOf("Excel.Application get Range(\"A3\")") - pressed, 100 + 50 + 2 * interval());
}

TEST_F(DocumentModesTest, ExcelCapturesFillRowsOfTheChosenColumnCount) {
  struct Case {
    std::string columns;
    int captures;
    std::vector<std::string> cells;  // in the order the captures land
  };
  const std::vector<Case> cases = {
      {"1", 3, {"A2", "A3", "A4"}},
      {"3", 7, {"A2", "B2", "C2", "A3", "B3", "C3", "A4"}},
      {"10", 11, {"A2", "B2", "C2", "D2", "E2", "F2", "G2", "H2", "I2", "J2", "A3"}},
  };
  install({"Excel.Application"});
  int instance = 0;
  for (const Case& k : cases) {
    SCOPED_TRACE(k.columns);
    pressExcel();  // a new instance of Excel with a sheet of its own each time
    ++instance;
    chooseColumns(k.columns);
    for (int i = 0; i < k.captures; ++i) capture("v" + std::to_string(i));
    std::map<std::string, std::string> expected{{"A1", "欢迎使用！"}};
    for (int i = 0; i < k.captures; ++i) expected[k.cells[i]] = "v" + std::to_string(i);
    EXPECT_EQ(sheet(instance), expected);
  }
}

TEST_F(DocumentModesTest, ACaptureWithNothingSelectedDoesNotPasteTheGreetingAgain) {
  install({"Excel.Application"});
  pressExcel();
  ASSERT_EQ(desktop::clipboardText(), "欢迎使用！");
  ASSERT_TRUE(headless::pressHotkey(0, 192));  // nothing selected in the target
  EXPECT_EQ(headless::automationLog(), Log{});
  EXPECT_EQ(sheet(), (std::map<std::string, std::string>{{"A1", "欢迎使用！"}}));
}

TEST_F(DocumentModesTest, ResetAndTheBatchSelectorStartANewRow) {
  install({"Excel.Application"});
  pressExcel();
  chooseColumns("3");
  capture("a");
  capture("b");
  c().按钮6.onClick();  // 复原 in the middle of row 2
  capture("c");
  EXPECT_EQ(sheet().at("A3"), "c");

  chooseColumns("循环");  // no column count: nothing is pasted, the text stays
  headless::clearAutomationLog();
  capture("d");
  EXPECT_EQ(headless::automationLog(), Log{});
  EXPECT_EQ(desktop::clipboardText(), "d");

  chooseColumns("2");
  capture("e");
  EXPECT_EQ(sheet().at("A4"), "e");
}

TEST_F(DocumentModesTest, StandInsAreTriedInOrderAndTheHintNamesTheOneStarted) {
  struct Case {
    bool excel;
    std::vector<std::string> installed;
    Log creations;
    std::string hint;
  };
  const std::vector<Case> cases = {
      {false,
       {"KWPS.Application"},
       {"create Word.Application", "create KWPS.Application"},
       "●未找到Word，已启动WPS文字！"},
      {false,
       {"wps.Application"},
       {"create Word.Application", "create KWPS.Application", "create wps.Application"},
       "●未找到Word，已启动WPS文字！"},
      {false,
       {},
       {"create Word.Application", "create KWPS.Application", "create wps.Application"},
       "●未找到Word或WPS文字！"},
      {true,
       {"KET.Application"},
       {"create Excel.Application", "create KET.Application"},
       "●未找到Excel，已启动WPS表格！"},
      {true,
       {"et.Application", "KWPS.Application"},
       {"create Excel.Application", "create KET.Application", "create et.Application"},
       "●未找到Excel，已启动WPS表格！"},
      {true,
       {},
       {"create Excel.Application", "create KET.Application", "create et.Application"},
       "●未找到Excel或WPS表格！"},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.hint);
    window_.reset();
    headless::reset(folder_);
    start();
    install(k.installed);
    (k.excel ? c().按钮excel : c().按钮word).onClick();
    Log creations;
    for (const std::string& line : headless::automationLog())
      if (line.starts_with("create ")) creations.push_back(line);
    EXPECT_EQ(creations, k.creations);
    EXPECT_EQ(hint2(), k.hint);
  }
}

TEST_F(DocumentModesTest, AStandInReceivesTheSameCalls) {
  install({"KWPS.Application"});
  pressWord();
  capture("a");
  Log expected;
  for (std::string line : kWordCapture) expected.push_back(line.replace(0, 4, "KWPS"));
  EXPECT_EQ(headless::automationLog(), expected);
}

TEST_F(DocumentModesTest, AClosedApplicationIsStartedAgainAtTheNextCapture) {
  install({"Word.Application", "Excel.Application"});
  pressWord();
  headless::closeAutomationApplication("Word.Application");
  capture("a");
  EXPECT_EQ(headless::automationLog(),
            (Log{"Word.Application get Selection", "create Word.Application",
                 "Word.Application get Documents", "Word.Application.Documents call Add",
                 "Word.Application put Visible = true", kWordCapture[0], kWordCapture[1],
                 kWordCapture[2], kWordCapture[3]}));
  EXPECT_EQ(headless::automationCalls().back().instance, 2);
  EXPECT_EQ(office_->documents[2], "a\r\n");
  EXPECT_EQ(hint2(), "●已重新启动Word！");
  EXPECT_EQ(headless::liveAutomationObjects(), 1);  // the dead reference is let go

  // Excel in the middle of a row: the new workbook's first capture starts a row.
  pressExcel();
  chooseColumns("3");
  capture("b");
  capture("c");
  headless::closeAutomationApplication("Excel.Application");
  capture("d");
  EXPECT_EQ(sheet(2), (std::map<std::string, std::string>{{"A2", "d"}}));
  EXPECT_EQ(hint2(), "●已重新启动Excel！");
}

TEST_F(DocumentModesTest, AClosedDocumentIsReplacedByANewOneWhileTheApplicationRuns) {
  install({"Word.Application", "Excel.Application"});
  pressWord();
  capture("a");
  office_->closeDocument("Word.Application", 1);
  capture("b");
  EXPECT_EQ(office_->documents[1], "b\r\n");
  EXPECT_EQ(hint2(), "●Word中的文档已关闭，已新建文档！");
  EXPECT_EQ(headless::automationCalls().back().instance, 1);  // not started again

  // Excel in the middle of a row: the new workbook's first capture starts a row.
  pressExcel();
  chooseColumns("3");
  capture("c");
  capture("d");
  office_->closeDocument("Excel.Application", 1);
  capture("e");
  capture("f");
  EXPECT_EQ(sheet(1), (std::map<std::string, std::string>{{"A2", "e"}, {"B2", "f"}}));
  EXPECT_EQ(hint2(), "●Excel中的工作簿已关闭，已新建工作簿！");
}

TEST_F(DocumentModesTest, ClosingTheWindowDuringACaptureSendsNothingToTheApplication) {
  install({"Word.Application"});
  pressWord();
  c().组合框2.select(25);  // "1000": the paste follows the copy by three seconds
  headless::selectInTarget("a");
  headless::at(loop::nowMs() + 1000, [this] { window_->window().close(); });
  ASSERT_TRUE(headless::pressHotkey(0, 192));
  EXPECT_TRUE(window_->window().isDestroyed());
  EXPECT_EQ(headless::automationLog(), Log{});
  EXPECT_EQ(office_->documents[1], "");
}

TEST_F(DocumentModesTest, NoApplicationAtAllKeepsTheCaptureOnTheClipboard) {
  pressWord();  // nothing installed
  capture("a");
  EXPECT_EQ(headless::automationLog(),
            (Log{"create Word.Application", "create KWPS.Application", "create wps.Application"}));
  EXPECT_EQ(hint2(), "●未找到Word或WPS文字，内容仍在剪贴板！");
  EXPECT_EQ(desktop::clipboardText(), "a");

  install({"Word.Application"});  // installed meanwhile: the next capture finds it
  capture("b");
  EXPECT_EQ(office_->documents[1], "b\r\n");
}

TEST_F(DocumentModesTest, ABusyApplicationIsGivenAboutASecond) {
  install({"Word.Application"});
  pressWord();
  headless::rejectAutomationCalls(kBusyAttempts - 1);  // the dialog closes in time
  capture("a");
  EXPECT_EQ(office_->documents[1], "a\r\n");
  EXPECT_EQ(hint2(), "");
  std::vector<std::int64_t> tries;
  for (const AutomationCall& call : headless::automationCalls())
    if (call.member == "Selection") tries.push_back(call.at);
  ASSERT_EQ(tries.size(), static_cast<std::size_t>(kBusyAttempts + 1));
  EXPECT_EQ(tries[kBusyAttempts - 1] - tries[0], (kBusyAttempts - 1) * kBusyRetryMs);

  headless::clearAutomationLog();
  headless::rejectAutomationCalls(kBusyAttempts);  // the dialog stays open
  capture("b");
  EXPECT_EQ(headless::automationLog(), Log(kBusyAttempts, kWordCapture[0]));
  EXPECT_EQ(office_->documents[1], "a\r\n");
  EXPECT_EQ(hint2(), "●Word正忙（请先关闭其中的对话框），内容仍在剪贴板！");
  EXPECT_EQ(desktop::clipboardText(), "b");
}

// Word stops answering in the middle of a paste; the user presses the
// back-quote key twice more and turns to another window. The paste gives up
// at the time limit with a hint, and no press copies anything afterwards,
// neither while Word hangs nor once it answers again.
TEST_F(DocumentModesTest, AnApplicationThatHangsIsGivenUpOnAndNoPressCopiesLater) {
  install({"Word.Application"});
  pressWord();
  headless::hangAutomationCalls("Paste");
  headless::selectInTarget("a");
  const std::int64_t t0 = loop::nowMs();
  for (int later : {300, 400})
    headless::at(t0 + later, [] { ASSERT_TRUE(headless::pressHotkey(0, 192)); });
  headless::at(t0 + 600, [] { headless::setForegroundWindow(0x4711); });
  ASSERT_TRUE(headless::pressHotkey(0, 192));
  loop::preciseWait(10000);

  const auto copies = [] {
    int count = 0;
    for (const headless::KeyEvent& key : headless::keyEvents())
      count += key.down && key.virtualKey == 'C';
    return count;
  };
  EXPECT_EQ(copies(), 1);
  EXPECT_EQ(headless::automationLog(),
            (Log{kWordCapture[0], kWordCapture[1]}));  // nothing after the hung paste
  EXPECT_EQ(hint2(), "●Word没有响应，内容仍在剪贴板！");
  EXPECT_EQ(window_->hints().气球提示框1.text(), "●上一次复制还未完成，这次按键未执行！");
  EXPECT_EQ(desktop::clipboardText(), "a");

  // Back in the target while Word still hangs: the press copies nothing.
  headless::setForegroundWindow(headless::kTargetWindow);
  capture("b");
  EXPECT_EQ(copies(), 1);
  EXPECT_EQ(hint2(), "●Word仍没有响应，未复制！");

  headless::answerHungAutomation();
  loop::preciseWait(10000);
  EXPECT_EQ(copies(), 1);
  capture("c");
  EXPECT_EQ(office_->documents[1], "c\r\n");
}

TEST_F(DocumentModesTest, AnExcelPasteThatFailsLeavesTheRowWhereItWas) {
  install({"Excel.Application"});
  pressExcel();
  chooseColumns("3");
  capture("a");
  headless::rejectAutomationCalls(100);
  capture("b");
  headless::rejectAutomationCalls(0);
  capture("b");  // the user closes the dialog and tries again
  EXPECT_EQ(sheet(),
            (std::map<std::string, std::string>{{"A1", "欢迎使用！"}, {"A2", "a"}, {"B2", "b"}}));
}

// 反撇号键粘贴 on (its button reads "关闭复制"): a document button ends it,
// and Excel then leaves the new sheet without the greeting.
TEST_F(DocumentModesTest, TheButtonsEndMouseCopyAndEmptyTheClipboard) {
  install({"Word.Application", "Excel.Application"});
  for (ui::Button* button : {&c().按钮word, &c().按钮excel}) {
    c().按钮66.onClick();
    ASSERT_EQ(c().按钮66.text(), "关闭复制");
    desktop::setClipboardText("copied by the mouse");
    button->onClick();
    EXPECT_EQ(c().按钮66.text(), "反撇号键粘贴");
    EXPECT_EQ(c().按钮66.color(), feedback::kNormalColor);
    EXPECT_EQ(desktop::clipboardText(), "");
  }
  EXPECT_EQ(sheet(), (std::map<std::string, std::string>{}));
}

TEST_F(DocumentModesTest, TheButtonsRefuseWhileTheRecordTableIsShown) {
  install({"Word.Application", "Excel.Application"});
  window_->macroPanel().showRecordTable(true);
  for (ui::Button* button : {&c().按钮word, &c().按钮excel}) {
    button->onClick();
    EXPECT_EQ(headless::automationLog(), Log{});
    EXPECT_EQ(window_->hints().气球提示框1.text(), "●点击【隐藏】再操作！");
    EXPECT_TRUE(window_->modes().backQuoteImports());
  }
}

}  // namespace
}  // namespace hf::office
