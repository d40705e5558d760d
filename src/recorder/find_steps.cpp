#include "recorder/find_steps.h"

#include "macro/find_steps.h"
#include "picture/screen_colours.h"
#include "platform/desktop.h"
#include "platform/event_loop.h"
#include "platform/files.h"
#include "platform/text_codec.h"
#include "text/numbers.h"

namespace hf::recorder {

std::filesystem::path findImageFolder() {
  return files::programFolder() / codec::pathFromGbk("找图");
}

std::string findImageOnScreen(picture::PictureFinder& finder, std::string_view name) {
  const Size screen = desktop::screenSize();
  return finder.FindPicE(0, 0, screen.width - 1, screen.height - 1, name, macro::kImageTolerance,
                         macro::kImageSimilarity, macro::kImageDirection);
}

FindSteps::FindSteps(Controls controls, feedback::Hints& hints, Neighbours neighbours)
    : c_(controls), hints_(hints), n_(neighbours) {
  c_.取色确认1.onClick = [this] { addPressed(); };
  c_.选择框16.onMouseDown = [this] { previewBoxPressed(); };
}

void FindSteps::pickerReleased() {
  const std::optional<Point> point = n_.picker.endColourPick();
  if (!point) return;
  pickPoint_ = point;
  loop::pause(100);
  const picture::Colour colour = picture::screenColourAt(*point);
  c_.编辑框13.setText(text::toText(colour));
  n_.picker.showPickedColour(
      colour == picture::kNoColour ? std::nullopt : std::optional<Rgb>(picture::rgbOf(colour)));
  hints_.show(hints_.气球提示框1, n_.panel.recordTableToggle(), 10,
              "●如需其他软件窗口置前，\r\n\r\n  点击【隐藏】操作！", 25);
}

void FindSteps::addPressed() {
  if (!n_.table.shown()) {
    if (n_.panel.recorderOn())
      hints_.show(hints_.气球提示框1, n_.panel.recordTableToggle(), 20, "●点击【显示】再操作！");
    return;
  }
  if (!n_.speed.requireFullSpeed()) return;
  if (c_.编辑框13.text().empty() || !pickPoint_) {
    hints_.show(hints_.气球提示框1, c_.图片框_探测, 18, "●拖动靶心到获取色值的位置！", 37);
    return;
  }
  // A point off the screen (a second monitor) has no colour: a step for it
  // would wait for nothing.
  if (!picture::isColour(text::toInt(c_.编辑框13.text()))) {
    hints_.show(hints_.气球提示框1, c_.图片框_探测, 18, "●未取到颜色，请把靶心拖到主屏幕上！", 37);
    return;
  }
  // After the selected step, or at the top when none is selected.
  const int at = n_.table.selectedRow() + 1;
  n_.table.insertStep(at, macro::findColourStep(c_.编辑框13.text(), macro::kFindColourDelay), true);
  n_.table.selectRow(at);
  n_.table.view().ensureVisible(at);
  n_.table.renumber();
  n_.slots.save();
}

void FindSteps::previewBoxPressed() {
  if (!n_.table.shown()) {
    // The click that follows clears the box again.
    c_.选择框16.setChecked(true);
    hints_.show(hints_.气球提示框1, n_.panel.recorderSwitch(), 10, "●请开启zira再操作！");
    return;
  }
  hints_.show(hints_.气球提示框1, n_.table.view(), 80,
              c_.选择框16.isChecked() ? "●取消，鼠标点击记录表中某行不作即时显示模拟状态！"
                                      : "●勾选，可以鼠标点击记录表中某行即时显示模拟状态！",
              200);
}

void FindSteps::rowSelected() {
  if (!c_.选择框16.isChecked()) return;
  n_.picker.showPickedColour(std::nullopt);
  const int row = n_.table.selectedRow();
  if (row < 0 || row >= n_.table.rowCount()) return;
  const macro::Step step = n_.table.steps()[row];
  switch (macro::previewKindOf(step[macro::kName])) {
    case macro::PreviewKind::Picture:
      previewPicture(step[macro::kName]);
      break;
    case macro::PreviewKind::Point:
      n_.previews.hideFindImagePicture();
      if (step[macro::kKind] == macro::kMouseStep) {
        desktop::setCursorPos({text::toInt(step[macro::kX]), text::toInt(step[macro::kY])});
      } else if (step[macro::kKind] == macro::kFindColourStep) {
        const Point found = picture::findColourOnScreen(text::toInt(step[macro::kCode]), 1);
        if (found != picture::kNotFound) desktop::setCursorPos(found);
      }
      break;
    case macro::PreviewKind::Nothing:
      break;
  }
  n_.table.view().focus();
  n_.table.view().ensureVisible(row);
}

void FindSteps::previewPicture(const std::string& name) {
  const std::filesystem::path folder = findImageFolder();
  const std::filesystem::path file = folder / codec::pathFromGbk(name);
  const std::optional<Bitmap> picture = n_.finder.readPicture(file);
  if (picture)
    n_.previews.showFindImagePicture(*picture);
  else
    n_.previews.hideFindImagePicture();
  n_.finder.SetPath(folder);
  if (!picture) return;
  const std::string found = findImageOnScreen(n_.finder, name);
  if (const auto centre = macro::foundPictureCentre(found, {picture->width, picture->height})) {
    n_.finder.MoveTo(centre->x, centre->y);
    n_.finder.UnBindWindow();
  }
}

void FindSteps::tableLostFocus() {
  n_.previews.hideFindImagePicture();
}

}  // namespace hf::recorder
