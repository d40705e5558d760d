#include "macro/find_steps.h"

#include <string>
#include <vector>

#include "text/gbk_text.h"
#include "text/numbers.h"

namespace hf::macro {

Step findColourStep(std::string_view colour, std::string_view delay) {
  Step step;
  step[kKind] = kFindColourStep;
  step[kCode] = colour;
  step[kDelay] = delay;
  return step;
}

std::optional<Point> foundPictureCentre(std::string_view findResult, Size picture) {
  if (findResult == "-1|-1|-1") return std::nullopt;
  const std::vector<std::string> fields = text::split(findResult, "|");
  if (fields.size() != 3 || text::toInt(fields[0]) < 0) return std::nullopt;
  return Point{text::toInt(fields[1]) + picture.width / 2,
               text::toInt(fields[2]) + picture.height / 2};
}

PreviewKind previewKindOf(std::string_view nameCell) {
  if (text::find(nameCell, ".bmp") > 0) return PreviewKind::Picture;
  if (text::find(nameCell, ".bmp", 1, true) > 0) return PreviewKind::Nothing;
  return PreviewKind::Point;
}

}  // namespace hf::macro
