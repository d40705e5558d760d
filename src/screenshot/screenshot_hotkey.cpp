#include "screenshot/screenshot_hotkey.h"

#include <span>
#include <string_view>
#include <utility>

#include "paste/composite_entries.h"
#include "paste/hotkey_text.h"
#include "picture/bmp.h"
#include "platform/desktop.h"
#include "platform/event_loop.h"
#include "platform/files.h"
#include "platform/screen.h"
#include "platform/text_codec.h"
#include "screenshot/capture_files.h"

namespace hf::screenshot {
namespace {

constexpr int kMaxCapturesInSeries = 10000;
constexpr const char* kTableFolder = "截图";
constexpr const char* kStepFolder = "找图";
constexpr std::string_view kFindImageDelay = "200";

// Runs the function when the scope ends, however it ends: a handler that
// fails half-way must not leave the paste engine held or a capture named.
template <class Function>
class AtScopeEnd {
 public:
  explicit AtScopeEnd(Function function) : function_(std::move(function)) {}
  ~AtScopeEnd() { function_(); }
  AtScopeEnd(const AtScopeEnd&) = delete;
  AtScopeEnd& operator=(const AtScopeEnd&) = delete;

 private:
  Function function_;
};

}  // namespace

void ScreenshotHotkey::boxPressed() {
  if (n_.loading.loaded()) n_.loading.unload();
  const ui::EditBox& box = n_.panel.screenshotBox();
  if (box.text().empty()) {
    hints_.show(hints_.气球提示框1, box, 10, "●请设置截图快捷键！");
  } else {
    n_.hotkeys.release(n_.hotkeys.screenshot);
    hints_.show(hints_.气球提示框1, box, 10, "●已卸载截图热键！");
  }
  hints_.show(hints_.气球提示框2, n_.loading.toggleButton(), 10, "●设置完后，点击加载热键！");
}

void ScreenshotHotkey::loadHotkey() {
  loop::pause(30);
  ui::EditBox& box = n_.panel.screenshotBox();
  for (int row = 0; row <= paste::kCustomSlots; ++row)
    if (box.text() == n_.table.cell(row, table::DataTable::kHotkey)) box.setText("");
  if (box.text().empty()) return;
  const paste::KeyCombination keys = paste::parseHotkey(box.text());
  n_.hotkeys.release(n_.hotkeys.screenshot);
  n_.hotkeys.screenshot = n_.hotkeys.registerKey(keys.modifiers, keys.virtualKey);
  loop::pause(10);
  if (n_.hotkeys.screenshot == 0) box.setText("");
}

void ScreenshotHotkey::hotkeyPressed() {
  if (openCapture_ || seriesRunning_) return;  // one capture at a time
  if (n_.panel.recordTableShown())
    findImageStep();
  else
    tableSeries();
}

void ScreenshotHotkey::stopSeries() {
  if (!seriesRunning_) return;
  stopAsked_ = true;
  if (openCapture_) openCapture_->dismiss();
}

bool ScreenshotHotkey::seriesStopped() const {
  return stopAsked_ || n_.engine.outsideRunStopAsked();
}

// The series holds the paste engine's run state, so no automatic paste run
// starts while it goes on, and a paste hotkey pressed meanwhile ends it too.
void ScreenshotHotkey::tableSeries() {
  if (!n_.engine.startOutsideRun()) {
    hints_.show(hints_.气球提示框1, n_.panel.screenshotBox(), 10, "●正在粘贴，停止后再截图！");
    return;
  }
  seriesRunning_ = true;
  stopAsked_ = false;
  const AtScopeEnd end([this] {
    n_.engine.finishOutsideRun();
    seriesRunning_ = false;
    stopAsked_ = false;
    clearHeldPicture();
    desktop::setClipboardText("");
  });
  for (int pass = 0; pass < kMaxCapturesInSeries && !seriesStopped(); ++pass) {
    const std::optional<Bitmap> picture = captureOnce();
    if (!picture) break;  // cancelled: the user is done
    if (const auto kept = keep(*picture, kTableFolder)) {
      loop::pause(50);
      const std::string path = codec::utf16ToGbk(kept->path.u16string());
      if (!paste::fitsInEntry(path)) {
        hints_.show(hints_.气球提示框1, n_.panel.screenshotBox(), 10, paste::hashInPathHint(path));
        break;
      }
      n_.table.appendRow("#" + path);
      n_.table.scrollTo(n_.table.rowCount() - 1);
      loop::pause(100);
    }
    clearHeldPicture();
    desktop::setClipboardText("");
    if (n_.saveTable) n_.saveTable();
  }
}

// Steps are kept at full speed only, like every recorded step.
void ScreenshotHotkey::findImageStep() {
  if (!n_.speed.requireFullSpeed()) return;
  if (const std::optional<Bitmap> picture = captureOnce()) {
    if (const auto kept = keep(*picture, kStepFolder)) {
      loop::pause(50);
      macro::Step step;
      step[macro::kKind] = macro::kFindImageStep;
      step[macro::kName] = kept->name;
      step[macro::kDelay] = kFindImageDelay;
      n_.steps.addStep(std::move(step));
      loop::pause(100);
    }
  }
  clearHeldPicture();
  desktop::setClipboardText("");
  n_.steps.renumber();
  n_.macroSlots.save();
}

std::optional<Bitmap> ScreenshotHotkey::captureOnce() {
  held_.reset();
  capture::CaptureWindow window([this](const Bitmap& part) {
    screen::setClipboardBitmap(part);
    held_ = part;
  });
  openCapture_ = &window;
  const AtScopeEnd closed([this] { openCapture_ = nullptr; });
  window.run(screen::grabScreen());
  return held_;
}

std::optional<ScreenshotHotkey::Kept> ScreenshotHotkey::keep(const Bitmap& picture,
                                                             const char* gbkFolder) {
  const picture::BmpData data = picture::encodeBmp24(picture);
  if (!countsAsCapture(data.size())) return std::nullopt;
  const std::filesystem::path folder = files::programFolder() / codec::pathFromGbk(gbkFolder);
  files::createFolder(folder);
  const auto file = freeCaptureFile(folder, dateTimeText(desktop::localTime()));
  const std::string_view bytes(reinterpret_cast<const char*>(data.data()), data.size());
  if (!file || !files::replaceWhole(file->path, bytes)) {
    hints_.show(hints_.气球提示框1, n_.panel.screenshotBox(), 10,
                std::string("●截图保存失败！请检查【") + gbkFolder + "】文件夹。");
    return std::nullopt;
  }
  return Kept{file->name, file->path};
}

void ScreenshotHotkey::clearHeldPicture() {
  held_.reset();
}

}  // namespace hf::screenshot
