#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/ui.h"

namespace hf::app {

// Every visible control of the main window, at its fixed place (client
// coordinates in 96-DPI units: left, top, width, height). The members are
// created in this order, so the declarations below are the layout table.
// Each control belongs to one concern; the main window hands it over.
struct MainControls {
  explicit MainControls(ui::Window& window);

  ui::Window& window;

  // Working-mode buttons.
  ui::Button 按钮1{window, {{25, 15, 52, 24}, "万条复制"}};
  ui::Button 按钮102{window, {{78, 15, 52, 24}, "有序复制"}};
  ui::Button 按钮66{window, {{131, 15, 80, 24}, "反撇号键粘贴"}};
  ui::Button 按钮104{window, {{212, 15, 52, 24}, "同页粘贴"}};
  ui::Button 按钮10{window, {{265, 15, 64, 24}, "不同页粘贴"}};
  ui::Button 按钮word{window, {{330, 15, 34, 24}, "Word"}};
  ui::Button 按钮excel{window, {{365, 15, 34, 24}, "Excel"}};
  ui::Button 按钮6{window, {{400, 15, 30, 24}, "复原"}};

  // Selectors.
  ui::DropDown 导入方式{window, {{23, 44, 152, 20}, importModeItems()}};
  ui::Frame 选择框14框{window, {{180, 44, 21, 20}}};
  ui::CheckBox 选择框14{window, {{184, 48, 12, 12}, ""}};
  ui::DropDown 组合框2{window, {{206, 44, 52, 20}, intervalItems()}};
  ui::DropDown 组合框66{window, {{263, 44, 168, 20}, pasteModeItems()}};

  // Editing row.
  ui::EditBox 分割符{window, {{23, 79, 36, 23}}};
  ui::Button 按钮2{window, {{63, 79, 30, 23}, "清空"}};
  ui::Button 删除{window, {{94, 79, 30, 23}, "删除"}};
  ui::Button 插入{window, {{125, 79, 30, 23}, "插入"}};
  ui::Button 打开{window, {{156, 79, 30, 23}, "查看"}};
  ui::Button 加载热键{window, {{187, 79, 52, 23}, "加载热键"}};
  ui::Button 打开自定义{window, {{240, 79, 62, 23}, "打开自定义"}};
  ui::Label 查找标签{window, {{306, 83, 33, 16}, "查找："}};
  ui::EditBox 编辑框查询{window, {{337, 79, 40, 23}}};
  ui::DropDown 组合框63{window, {{381, 81, 50, 20}, batchItems()}};

  // Table area: three controls share one rectangle; two previews lie over it.
  ui::ListView 超级列表框1{window, {{14, 109, 426, 326}, dataTableColumns()}};
  ui::ListView 超级列表框2{window, {{14, 109, 426, 326}, recordTableColumns(), true, false}};
  ui::EditBox 编辑框25{window, {{14, 109, 426, 326}, "", true, false}};
  ui::PictureBox 图片框4{window, {{290, 332, 131, 101}, Image::None, false}};
  ui::PictureBox 图片框6{window, {{234, 383, 188, 51}, Image::None, false}};

  // File slots and the panel toggle.
  ui::Button 打开A{window, {{23, 442, 34, 23}, "打开A"}};
  ui::Button 打开B{window, {{59, 442, 34, 23}, "打开B"}};
  ui::Button 打开C{window, {{95, 442, 34, 23}, "打开C"}};
  ui::Button 打开D{window, {{131, 442, 34, 23}, "打开D"}};
  ui::Button 打开E{window, {{167, 442, 34, 23}, "打开E"}};
  ui::Button zira{window, {{209, 444, 36, 20}, ""}};
  ui::Button 保存A{window, {{253, 442, 34, 23}, "保存A"}};
  ui::Button 保存B{window, {{289, 442, 34, 23}, "保存B"}};
  ui::Button 保存C{window, {{325, 442, 34, 23}, "保存C"}};
  ui::Button 保存D{window, {{361, 442, 34, 23}, "保存D"}};
  ui::Button 保存E{window, {{397, 442, 34, 23}, "保存E"}};

  // Macro panel.
  ui::Frame 外形框1{window, {{23, 481, 376, 96}}};
  ui::CheckBox 选择框13{window, {{29, 488, 68, 16}, "定时点击"}};
  ui::EditBox 记录{window, {{98, 486, 72, 20}}};
  ui::EditBox 模拟{window, {{173, 486, 72, 20}}};
  ui::EditBox 停止{window, {{247, 486, 72, 20}}};
  ui::EditBox 截图{window, {{322, 486, 72, 20}}};
  ui::EditBox 记录1{window, {{98, 484, 147, 20}, "", false, false}};
  ui::EditBox 模拟1{window, {{247, 484, 147, 20}, "12时12分0秒", false, false}};
  ui::Frame 分隔线1{window, {{23, 510, 375, 1}}};
  ui::Frame 分隔线2{window, {{23, 541, 375, 1}}};
  ui::Button 取色确认1{window, {{29, 513, 31, 26}, "添加"}};
  ui::Label 找色标签{window, {{65, 518, 29, 16}, "找色："}};
  ui::EditBox 编辑框13{window, {{98, 516, 66, 20}}};
  ui::PictureBox 图片框2{window, {{144, 516, 20, 20}}};
  ui::Label 透明标签17{window, {{169, 518, 48, 16}, "次数："}};
  ui::DropDown 组合框64{window, {{221, 516, 70, 20}, loopCountItems()}};
  ui::Label 速度标签{window, {{299, 518, 33, 16}, "速度："}};
  ui::DropDown 组合框65{window, {{331, 516, 63, 20}, speedItems()}};
  ui::PictureBox 图片框_探测{window, {{29, 546, 26, 26}, Image::PickerBullseye}};
  ui::Button 按钮16{window, {{60, 548, 54, 22}, "清空图片"}};
  ui::Button 按钮21{window, {{121, 548, 34, 22}, "编辑"}};
  ui::Button 按钮59{window, {{162, 548, 34, 22}, "保存"}};
  ui::Button 按钮5{window, {{203, 548, 84, 22}, "开zira"}};
  ui::Button 按钮15{window, {{294, 548, 34, 22}, "显示"}};
  ui::CheckBox 选择框16{window, {{339, 553, 12, 12}, ""}};
  ui::Button 按钮19{window, {{364, 548, 28, 22}, "官网"}};
  ui::CheckBox 选择框94{window, {{418, 483, 12, 12}, ""}};
  ui::CheckBox 选择框95{window, {{418, 499, 12, 12}, ""}};
  ui::CheckBox 选择框96{window, {{418, 515, 12, 12}, ""}};
  ui::CheckBox 选择框97{window, {{418, 531, 12, 12}, ""}};
  ui::CheckBox 选择框98{window, {{418, 547, 12, 12}, ""}};
  ui::CheckBox 选择框12{window, {{418, 564, 12, 12}, ""}};

  // Floating editors, hidden until laid over a cell.
  ui::EditBox 编辑框1009{window, {{0, 0, 0, 0}, "", true, false}};
  ui::DropDown 组合框4{window, {{0, 0, 0, 0}, numberItems(1, 100), false, true}};
  ui::EditBox 编辑框1008{window, {{0, 0, 0, 0}, "", false, false}};
  ui::EditBox 编辑框1007{window, {{0, 0, 0, 0}, "", false, false}};
  ui::EditBox 编辑框10{window, {{0, 0, 0, 0}, "", false, false}};
  ui::Label 画板1{window, {{0, 0, 0, 0}, "", false}};

  // Unnamed decoration: the slot labels "1：" … "6：" and the frames of the bottom row.
  std::vector<std::unique_ptr<ui::Control>> decoration;

  // The item lists of the selectors.
  static std::vector<std::string> importModeItems();
  static std::vector<std::string> intervalItems();
  static std::vector<std::string> pasteModeItems();
  static std::vector<std::string> batchItems();
  static std::vector<std::string> loopCountItems();
  static std::vector<std::string> speedItems();
  static std::vector<std::string> numberItems(int first, int last);
  static std::vector<ui::ListView::Column> dataTableColumns();
  static std::vector<ui::ListView::Column> recordTableColumns();
};

}  // namespace hf::app
