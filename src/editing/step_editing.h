#pragma once

#include <functional>

#include "feedback/hints.h"
#include "feedback/picture_previews.h"
#include "macro/macro_slots.h"
#include "macro/record_table.h"
#include "macro/speed_selector.h"
#include "platform/ui.h"
#include "recorder/find_steps.h"

namespace hf::editing {

// What the user does to the record table's steps in macro mode: marks (with
// Shift ranges), deleting the marked steps, clearing the table, the delay
// editor over the 时间 column, setting every delay at once and moving a step
// by dragging it. Steps are edited at full speed only, where their delays
// are the recorded ones.
class StepEditing {
 public:
  struct Controls {
    ui::Window& window;
    ui::EditBox& 编辑框10;      // the delay editor
    const ui::Control& 按钮59;  // 保存, named in a hint
  };
  struct Neighbours {
    macro::RecordTable& table;
    macro::MacroSlots& slots;
    macro::SpeedSelector& speed;
    feedback::PicturePreviews& previews;
    const recorder::FindSteps& findSteps;
  };
  StepEditing(Controls controls, feedback::Hints& hints, Neighbours neighbours);

  // 清空: the slot file keeps the steps; loading the slot brings them back.
  void clear();
  // 删除: the marked steps go, and the table is saved.
  void deleteMarked();
  void setEveryMark(bool marked);
  void setEveryDelay(int ms);
  // The left button let go anywhere in the window: ends a drag of a step.
  void endDrag(Point client);
  // A press on the 时间 column, where the batch selector may set every delay.
  std::function<void()> onDelaysPressed;

 private:
  void cellPressed(ui::ListView::Cell cell);
  void markClicked(int row);
  void openDelayEditor();
  void commitDelay();
  void beginDrag();

  Controls c_;
  feedback::Hints& hints_;
  Neighbours n_;
  ui::ListView::Cell lastPressed_;
  int previousToggledRow_ = 0;
  int editingRow_ = -1;
  bool dragging_ = false;
};

}  // namespace hf::editing
