#include "copying/back_quote_actions.h"

#include "copying/same_page_names.h"
#include "input/key_actions.h"
#include "platform/desktop.h"
#include "platform/event_loop.h"
#include "platform/files.h"
#include "platform/keys.h"
#include "platform/text_codec.h"
#include "table/splitting.h"
#include "text/numbers.h"

namespace hf::copying {
namespace {

using paste::BackQuoteMode;
using table::ImportMode;

std::filesystem::path samePageFolder() {
  return files::programFolder() / codec::pathFromGbk("同页粘贴");
}

}  // namespace

void BackQuoteActions::run() {
  const paste::WorkingModes& modes = n_.modes;
  const BackQuoteMode mode = modes.backQuoteMode();
  if (mode == BackQuoteMode::Transfer && modes.transferChosen()) return transfer();
  if (mode == BackQuoteMode::SamePage && modes.copyMode() == paste::CopyMode::Characters)
    return extractToSamePage();
  if (table::traitsOf(n_.importer.mode()).appendsToSamePage && modes.samePageChosen())
    return appendToSamePage();
  switch (mode) {
    case BackQuoteMode::SelectionCopy:
      loop::pause(n_.delivery.interval());
      input::ctrlV();
      break;
    case BackQuoteMode::Word:
      if (toWord) toWord();
      break;
    case BackQuoteMode::Excel:
      if (toExcel) toExcel();
      break;
    default:
      break;
  }
}

std::string BackQuoteActions::copySelection(int firstPause) {
  loop::pause(firstPause);
  input::copySelection(n_.importer.selectionCut());
  loop::pause(n_.delivery.interval());
  return desktop::clipboardText().value_or("");
}

// The selection goes to the picked point, and the cursor comes back. With
// no point picked yet, or the picked window gone from it, nothing is copied
// and nothing clicked.
void BackQuoteActions::transfer() {
  if (!n_.picker.picked()) return pickFirst();
  // Closed, or covered by another window: the click and Enter would land in
  // whatever lies there now (a chat window would send the text). Nothing is
  // copied, so the cut option deletes nothing either.
  if (!n_.picker.pickedWindowStillThere()) {
    n_.picker.forget();
    hints_.show(hints_.气球提示框1, c_.图片框_探测, 10,
                "●粘贴窗口已关闭或被遮住，请重新拖动靶心到粘贴窗口！", 25);
    return;
  }
  const int interval = n_.delivery.interval();
  const bool copied = !copySelection(interval).empty();
  const Point back = desktop::cursorPos();
  if (!copied) return;
  loop::pause(interval);
  desktop::clickAt(n_.picker.targetPoint());
  const auto mode = n_.engine.mode();
  if (mode != paste::PasteMode::ManualHorizontal && mode != paste::PasteMode::ManualVertical)
    return;
  loop::pause(100);
  input::ctrlV();
  loop::pause(200);
  input::press(mode == paste::PasteMode::ManualHorizontal ? keys::kTab : keys::kEnter);
  loop::pause(interval);
  desktop::setCursorPos(back);
}

void BackQuoteActions::appendToSamePage() {
  const int interval = n_.delivery.interval();
  const std::string text = copySelection(100);
  if (text.empty()) return;
  loop::pause(interval);
  n_.modes.appendToSamePageEditor(text + "\r\n");
  loop::pause(interval);
  desktop::setClipboardText("");
  saveSamePage();
}

void BackQuoteActions::extractToSamePage() {
  const std::string separator = n_.importer.separator();
  if (separator.empty()) {
    hints_.show(hints_.气球提示框1, n_.importer.separatorBox(), 18, "●输入自定义字符！");
    return;
  }
  const std::string text = copySelection(100);
  if (text.empty()) return;
  loop::pause(n_.delivery.interval());
  loop::pause(30);
  const std::string extracted = table::extractSamePage(n_.importer.mode(), text, separator);
  loop::pause(30);
  n_.modes.appendToSamePageEditor(extracted);
  saveSamePage();
}

// The first save of a collection never replaces a file an earlier
// collection left under the same name: it takes the next free "name(N)",
// and says so once.
std::optional<std::filesystem::path> BackQuoteActions::samePageFile() {
  const std::string editor = n_.modes.samePageText();
  const auto name = samePageFileName(editor.substr(0, editor.find("\r\n")));
  if (!name) {
    hints_.show(hints_.气球提示框1, n_.modes.samePageEditor(), 18,
                "●第一行的文件名不能用，请在第一行输入要保存的文件名！");
    return std::nullopt;
  }
  std::filesystem::path file = samePageFolder() / codec::pathFromGbk(*name + ".txt");
  if (file == ownFile_ || !files::exists(file)) return file;
  for (int n = 2;; ++n) {
    const std::string numbered = *name + "(" + text::toText(n) + ").txt";
    file = samePageFolder() / codec::pathFromGbk(numbered);
    if (file == ownFile_) return file;
    if (!files::exists(file)) {
      hints_.show(hints_.气球提示框1, n_.modes.samePageEditor(), 18,
                  "●已有同名文件，保存为" + numbered + "！");
      return file;
    }
  }
}

bool BackQuoteActions::saveSamePage() {
  const int interval = n_.delivery.interval();
  loop::pause(interval);
  if (n_.modes.samePageText().empty()) return false;
  loop::pause(20);
  if (!writeSamePage()) return false;
  loop::pause(interval);
  desktop::setClipboardText("");
  return true;
}

bool BackQuoteActions::writeSamePage() {
  const std::string text = n_.modes.samePageText();
  if (text.empty()) return false;
  const auto file = samePageFile();
  if (!file) return false;
  files::createFolder(samePageFolder());
  if (!files::replaceWhole(*file, text)) {
    hints_.show(hints_.气球提示框1, n_.modes.samePageEditor(), 18,
                "●保存失败！文件被占用或文件夹只读，文字仍在编辑框里。");
    return false;
  }
  ownFile_ = *file;
  savedText_ = text;
  return true;
}

void BackQuoteActions::keepSamePageOnClose() {
  // A collection 万条复制 ended still holds its text, hidden.
  if (!n_.modes.collectingSamePage() && ownFile_.empty()) return;
  const std::string text = n_.modes.samePageText();
  const auto lineBreak = text.find("\r\n");
  const bool onlyTheName = lineBreak == std::string::npos ||
                           text.find_first_not_of(" \t\r\n", lineBreak) == std::string::npos;
  if (text != savedText_ && !onlyTheName) writeSamePage();
}

void BackQuoteActions::samePagePressed() {
  if (n_.modes.collectingSamePage()) {
    saveSamePage();
    desktop::openPath(samePageFolder());
    return;
  }
  n_.modes.startSamePage();
  if (!n_.modes.collectingSamePage()) return;  // refused
  // The editor still holding what was saved: the collection goes on, in its file.
  if (!n_.modes.samePageText().starts_with(savedText_)) {
    ownFile_.clear();
    savedText_.clear();
  }
  n_.previews.hideRowPicture();
  n_.engine.setPicturesWithText(false);
  n_.importer.chooseMode(ImportMode::CustomSeparator);
}

void BackQuoteActions::transferPressed() {
  if (c_.zira.picture() == Image::ZiraCollapsed) {
    hints_.show(hints_.气球提示框1, c_.zira, 20, "●点击下箭头再操作！", 25);
    return;
  }
  n_.modes.chooseTransfer();
  if (!n_.modes.transferChosen()) return;  // refused
  n_.engine.chooseMode(paste::PasteMode::ManualVertical);
  n_.importer.chooseMode(ImportMode::CustomSeparator);
  pickFirst();
}

void BackQuoteActions::pickFirst() {
  hints_.show(hints_.气球提示框1, c_.图片框_探测, 10, "●拖动靶心到粘贴窗口顶端区域！", 25);
}

}  // namespace hf::copying
