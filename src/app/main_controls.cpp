#include "app/main_controls.h"

#include "paste/paste_mode_table.h"
#include "table/import_mode_table.h"
#include "text/numbers.h"

namespace hf::app {

MainControls::MainControls(ui::Window& parent) : window(parent) {
  constexpr int kSlotLabelTops[] = {483, 499, 515, 531, 547, 564};
  for (int i = 0; i < 6; ++i) {
    const std::string caption = text::toText(i + 1) + "：";
    decoration.push_back(std::make_unique<ui::Label>(
        window, ui::Label::Args{{404, kSlotLabelTops[i], 12, 12}, caption}));
  }
  constexpr Rect kBottomRowFrames[] = {{58, 546, 58, 26},  {119, 546, 38, 26}, {160, 546, 38, 26},
                                       {201, 546, 88, 26}, {292, 546, 38, 26}, {333, 546, 26, 26},
                                       {362, 546, 32, 26}};
  for (const Rect& frame : kBottomRowFrames)
    decoration.push_back(std::make_unique<ui::Frame>(window, ui::Frame::Args{frame}));
}

std::vector<std::string> MainControls::importModeItems() {
  std::vector<std::string> items;
  for (const table::ImportModeTraits& mode : table::kImportModes) items.emplace_back(mode.name);
  return items;
}

std::vector<std::string> MainControls::intervalItems() {
  std::vector<std::string> items;
  for (int ms = 30; ms <= 200; ms += 10) items.push_back(text::toText(ms));
  for (int ms = 300; ms <= 1000; ms += 100) items.push_back(text::toText(ms));
  items.push_back("2000");
  return items;
}

std::vector<std::string> MainControls::pasteModeItems() {
  std::vector<std::string> items;
  for (const paste::PasteModeTraits& mode : paste::kPasteModes) items.emplace_back(mode.name);
  return items;
}

std::vector<std::string> MainControls::numberItems(int first, int last) {
  std::vector<std::string> items;
  for (int n = first; n <= last; ++n) items.push_back(text::toText(n));
  return items;
}

std::vector<std::string> MainControls::batchItems() {
  auto items = numberItems(1, 100);
  items.push_back("循环");
  return items;
}

std::vector<std::string> MainControls::loopCountItems() {
  return numberItems(1, 10);
}

// Percentages of the recorded delays; index 51 (the second "100") is the default.
std::vector<std::string> MainControls::speedItems() {
  std::vector<std::string> items{"100"};
  for (const auto& item : numberItems(50, 99)) items.push_back(item);
  for (const char* item : {"100", "50", "40", "30", "20", "10"}) items.push_back(item);
  for (const auto& item : numberItems(1, 50)) items.push_back(item);
  items.push_back("100");
  return items;
}

std::vector<ui::ListView::Column> MainControls::dataTableColumns() {
  return {{"序号", 53}, {"内容", 141}, {"跳格", 40},
          {"暂停", 40}, {"回车", 40},  {"自定义快捷键", 92}};
}

std::vector<ui::ListView::Column> MainControls::recordTableColumns() {
  return {{"序号", 53}, {"类型", 45}, {"按键名称", 120}, {"键值", 0},
          {"X", 50},    {"Y", 50},    {"时间", 88}};
}

}  // namespace hf::app
