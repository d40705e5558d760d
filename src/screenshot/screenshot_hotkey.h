#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "capture/capture_window.h"
#include "feedback/hints.h"
#include "macro/macro_panel.h"
#include "macro/macro_slots.h"
#include "macro/record_table.h"
#include "macro/speed_selector.h"
#include "paste/hotkey_loading.h"
#include "paste/hotkeys.h"
#include "paste/paste_modes.h"
#include "platform/bitmap.h"
#include "table/data_table.h"

namespace hf::screenshot {

// The screenshot hotkey typed into the macro panel's `截图` box. Each press
// opens the region capture over a picture of the screen and keeps what the
// user saves from it. In table mode (record table hidden) captures follow one
// another as a series, each kept under 截图 and added to the data table as an
// image entry "#" + path, until the user cancels a capture, presses the stop
// hotkey or a paste hotkey. In macro mode (record table shown) one capture is
// kept under 找图 and becomes a find-image step of the record table.
class ScreenshotHotkey {
 public:
  struct Neighbours {
    macro::MacroPanel& panel;  // owns the `截图` box and the record table's toggle
    macro::RecordTable& steps;
    macro::MacroSlots& macroSlots;
    macro::SpeedSelector& speed;
    table::DataTable& table;
    paste::PasteEngine& engine;  // its run state keeps paste runs out of a series
    paste::HotkeyRegistry& hotkeys;
    paste::HotkeyLoading& loading;
    // Saves the data table to the file slot that is open now.
    std::function<void()> saveTable;
  };
  ScreenshotHotkey(feedback::Hints& hints, Neighbours neighbours)
      : hints_(hints), n_(std::move(neighbours)) {}

  // The left button pressed on the `截图` box: the hotkeys are unloaded and
  // the screenshot hotkey released, so that the box can take a new one.
  void boxPressed();
  // Registers the box's text as the screenshot hotkey (run by every loading
  // of the hotkeys). A text a data-table row holds, or that the system
  // refuses, empties the box.
  void loadHotkey();

  // The screenshot hotkey fired. A press while a capture is open does nothing.
  void hotkeyPressed();
  // The stop hotkey, or the program closing: a running series ends and its
  // open capture closes without keeping anything.
  void stopSeries();
  bool seriesRunning() const { return seriesRunning_; }
  // A capture window is open.
  bool capturing() const { return openCapture_ != nullptr; }

 private:
  void tableSeries();
  void findImageStep();
  bool seriesStopped() const;
  // Opens the capture window over the screen until the user saves a part
  // (which goes onto the clipboard too) or cancels: the part saved, or nothing.
  std::optional<Bitmap> captureOnce();
  // Writes the picture as BMP under the folder, named by the time now: the
  // file, or nothing when the picture is too small to keep or the write failed.
  struct Kept {
    std::string name;
    std::filesystem::path path;
  };
  std::optional<Kept> keep(const Bitmap& picture, const char* gbkFolder);
  void clearHeldPicture();

  feedback::Hints& hints_;
  Neighbours n_;
  capture::CaptureWindow* openCapture_ = nullptr;  // while a capture is open
  std::optional<Bitmap> held_;  // the capture being kept (`图片框3`, `内容编辑框`)
  bool seriesRunning_ = false;  // `选择框15`
  bool stopAsked_ = false;
};

}  // namespace hf::screenshot
