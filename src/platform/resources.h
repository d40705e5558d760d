#pragma once

// Pictures, cursors and sounds carried inside the program. The win32 backend
// maps them to its resource script; the headless backend only records which
// one a control shows.
namespace hf {

enum class Image {
  None,
  ZiraExpanded,    // panel toggle while the macro panel is shown (26 x 20)
  ZiraCollapsed,   // panel toggle while the macro panel is cut off (26 x 20)
  PickerBullseye,  // target picker at rest (26 x 26)
  PickerEmpty,     // target picker while its bullseye is being dragged (26 x 26)
};

enum class Cursor {
  Arrow,
  Bullseye,
  NotAllowed,
  SizeNwse,      // sizing along the north-west / south-east diagonal
  SizeNesw,      // sizing along the north-east / south-west diagonal
  SizeNs,        // sizing up and down
  SizeWe,        // sizing left and right
  SizeAll,       // moving in any direction
  CaptureArrow,  // the capture window's many-coloured arrow (32 x 32, hot spot at its tip)
};

enum class Sound { RunStart, RunFinish, RecordStart, RecordStop };

}  // namespace hf
