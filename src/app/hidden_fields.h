#pragma once

#include <array>
#include <functional>
#include <string>

namespace hf::app {

// Program-wide state that the subsystems exchange, under the names every
// subsystem uses for it. None of it is ever shown. Texts are GBK; check
// boxes are bools; hidden selectors hold their item index.
struct HiddenFields {
  // Data table and its files.
  std::string 编辑框检查框保存;  // text of the check file while it is built or read
  std::string 跳格暂停;          // target column of the batch selector
  bool 全选项 = true;            // the next click on the 序号 header marks every row
  std::string 编辑框行号;        // cell of the open 内容 editor
  std::string 编辑框列号;

  // Hotkeys and paste runs.
  std::string 按钮120 = "自动";  // run state: "自动" idle, "单次" while a run is in progress
  std::string 编辑框1011;        // "66" asks a running paste to stop
  std::array<std::string, 5> 编辑框1000到1004;  // hotkey texts being registered
  std::string 编辑框5;                          // random cycle
  std::string 编辑框6;
  std::string 编辑框7 = "0";
  std::string 编辑框3;  // saved cursor position
  std::string 编辑框4;
  std::string 编辑框21;  // target point
  std::string 编辑框23;
  std::string 编辑框14;  // pick point
  std::string 编辑框15;
  bool 图文选择 = false;  // image-and-text flag
  std::string 编辑框19;
  std::string 编辑框20;

  // Working modes.
  int 组合框1 = 0;  // copy mode: 0 "万条复制", 1 "有序复制", 2 "字符复制"
  int 组合框3 = 0;  // back-quote mode: 0 "Word", 1 "Excel", 2 "同页粘贴", 3 "反撇号键复制粘贴", 4
                    // "不同页粘贴"
  bool 选择框11 = false;  // import flag: the back-quote key imports into the data table
  std::string 编辑框70;   // same-page file name
  std::string 编辑框1;    // work text

  // Macro recorder.
  std::string 透明标签16 = "状态：记录未开启";  // recorder state
  bool 选择框93 = false;                        // run flag
  std::array<std::string, 5> 按键1到5;          // key scratch fields
  std::string 时间 = "200";                     // find-colour step delay
  std::string 标签4;

  // Screenshots and documents.
  std::string 内容编辑框;
  bool 选择框15 = false;  // series mark
  std::array<std::string, 10> 编辑框hang{"A1", "B1", "C1", "D1", "E1",
                                         "F1", "G1", "H1", "I1", "J1"};  // 编辑框hang … 编辑框hang9
  std::array<bool, 10> 选择框1到10{true, true, true, true, true, true, true, true, true, true};
};

}  // namespace hf::app

namespace hf::app {

// Hidden buttons that no user can press: other parts of the program run
// their click actions. The main window assigns each one.
struct HiddenCommands {
  std::function<void()> 按钮4;       // switch to 万条复制 without its checks
  std::function<void()> 按钮12;      // start the same-page collection without a hint
  std::function<void()> 按钮13;      // pattern fill
  std::function<void()> 按钮14;      // random reset
  std::function<void()> 按钮17;      // default column layout of the data table
  std::function<void()> 保存检查框;  // write the check file
  std::function<void()> 打开检查框;  // read the check file
  std::function<void()> 删除1;       // empty-row sweep: delete rows with an empty entry
  std::function<void()> 按钮9;       // search-and-mark
};

}  // namespace hf::app
