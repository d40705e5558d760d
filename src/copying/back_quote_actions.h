#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "editing/import.h"
#include "feedback/hints.h"
#include "feedback/picture_previews.h"
#include "input/delivery.h"
#include "paste/paste_modes.h"
#include "paste/target_picker.h"
#include "paste/working_modes.h"
#include "platform/ui.h"

namespace hf::copying {

// What the back-quote key does when it does not import into the data table:
// carry the selection to the picked point of another window (不同页粘贴),
// collect it in the same-page editor and keep that in a file of the 同页粘贴
// folder, paste what a mouse drag copied (反撇号键粘贴), or hand it to a
// document. Also the presses of 同页粘贴 and 不同页粘贴, which choose
// the import and paste modes these actions work with.
class BackQuoteActions {
 public:
  struct Controls {
    const ui::Button& zira;          // the panel toggle: collapsed, the picker is hidden
    const ui::Control& 图片框_探测;  // the target picker, named in a hint
  };
  struct Neighbours {
    paste::WorkingModes& modes;
    paste::PasteEngine& engine;
    paste::TargetPicker& picker;
    editing::Importer& importer;
    feedback::PicturePreviews& previews;
    input::Delivery& delivery;
  };
  BackQuoteActions(Controls controls, feedback::Hints& hints, Neighbours neighbours)
      : c_(controls), hints_(hints), n_(neighbours) {}

  // The back-quote hotkey while it does not import.
  void run();
  // 同页粘贴: opens the collection, or saves it and shows the folder.
  void samePagePressed();
  // 不同页粘贴.
  void transferPressed();
  // At close: lines the user added to a collection since its last save are
  // written to its file, as 同页保存 would.
  void keepSamePageOnClose();

  // The document modes' actions: they copy the selection themselves.
  std::function<void()> toWord;
  std::function<void()> toExcel;

 private:
  // Copies the focused program's selection; its text, empty when none.
  std::string copySelection(int firstPause);
  void transfer();
  // Asks the user to drag the bullseye onto the window the text goes to.
  void pickFirst();
  void appendToSamePage();
  void extractToSamePage();
  // The save of a capture or of 同页保存: the write, at the pace of the
  // interval, then the clipboard emptied.
  bool saveSamePage();
  // Writes the editor into the 同页粘贴 folder under its first line; false,
  // with a hint where it says why, when nothing was written.
  bool writeSamePage();
  std::optional<std::filesystem::path> samePageFile();

  Controls c_;
  feedback::Hints& hints_;
  Neighbours n_;
  // The file this collection writes; an older file of the same name is kept.
  std::filesystem::path ownFile_;
  std::string savedText_;  // what ownFile_ holds
};

}  // namespace hf::copying
