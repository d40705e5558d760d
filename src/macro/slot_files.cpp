#include "macro/slot_files.h"

#include "platform/files.h"
#include "platform/text_codec.h"
#include "text/gbk_text.h"
#include "text/numbers.h"

namespace hf::macro {

std::filesystem::path slotFile(int slot) {
  return files::programFolder() / codec::pathFromGbk("数据" + text::toText(slot) + ".txt");
}

std::string formatSlotFile(const std::vector<Step>& steps) {
  std::string out;
  for (const Step& step : steps) {
    for (const std::string& cell : step) {
      out += cell;
      out += kCellSeparator;
    }
    out += "\r\n";
  }
  return out;
}

std::vector<Step> parseSlotFile(std::string_view text) {
  std::vector<Step> steps;
  if (text.empty()) return steps;
  text::forEachPiece(text, "\r\n", [&](std::string_view line) {
    Step& step = steps.emplace_back();
    if (line.empty()) return;
    int column = 0;
    text::forEachPiece(line, kCellSeparator, [&](std::string_view cell) {
      if (column < kStepColumns) step[column++] = std::string(cell);
    });
  });
  return steps;
}

}  // namespace hf::macro
