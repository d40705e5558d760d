#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "feedback/hints.h"
#include "feedback/picture_previews.h"
#include "macro/macro_panel.h"
#include "macro/macro_slots.h"
#include "macro/record_table.h"
#include "macro/speed_selector.h"
#include "paste/target_picker.h"
#include "picture/picture_finder.h"
#include "platform/ui.h"

namespace hf::recorder {

// The folder "找图" of the program folder, where the find-image pictures are
// and whose file names the steps hold.
std::filesystem::path findImageFolder();

// The finder's "index|x|y" for the picture (a name in the finder's folder)
// anywhere on the screen, as far as a capture can cover it: the picture of
// a capture is found wherever it was taken.
std::string findImageOnScreen(picture::PictureFinder& finder, std::string_view name);

// The find-colour row of the macro panel and the instant preview: a colour
// picked from the screen with the bullseye becomes a find-colour step with
// 添加, and, while the preview box is ticked, selecting a step shows where
// it would act (the cursor moves there; a find-image step's picture shows).
// The replay performs the steps (replay.h).
class FindSteps {
 public:
  struct Controls {
    ui::EditBox& 编辑框13;           // the picked colour value
    ui::Button& 取色确认1;           // 添加
    ui::CheckBox& 选择框16;          // the instant preview
    const ui::Control& 图片框_探测;  // the bullseye, named in a hint
  };
  struct Neighbours {
    macro::MacroPanel& panel;
    macro::RecordTable& table;
    macro::MacroSlots& slots;
    macro::SpeedSelector& speed;
    paste::TargetPicker& picker;
    feedback::PicturePreviews& previews;
    picture::PictureFinder& finder;
  };
  FindSteps(Controls controls, feedback::Hints& hints, Neighbours neighbours);
  // The instant preview moves the pointer while a row is pressed: steps
  // are not dragged while it is on.
  bool instantPreviewOn() const { return c_.选择框16.isChecked(); }

  // The bullseye let go while the record table is shown: the colour under it.
  void pickerReleased();
  // 添加.
  void addPressed();
  // The press on the preview box, before the box changes.
  void previewBoxPressed();
  // A step selected in the record table, and the table losing the focus.
  void rowSelected();
  void tableLostFocus();

  // Where the last colour was picked (`编辑框14`, `编辑框15`).
  std::optional<Point> pickPoint() const { return pickPoint_; }

 private:
  // The find-image picture's centre on the screen, found as a replay finds it.
  void previewPicture(const std::string& name);

  Controls c_;
  feedback::Hints& hints_;
  Neighbours n_;
  std::optional<Point> pickPoint_;
};

}  // namespace hf::recorder
