// The replay's find-colour and find-image steps, on the replay worker.
#include <optional>
#include <string>

#include "macro/find_steps.h"
#include "picture/screen_colours.h"
#include "platform/files.h"
#include "platform/text_codec.h"
#include "recorder/find_steps.h"
#include "recorder/replay.h"
#include "text/numbers.h"

namespace hf::recorder {

int Replay::interval() const {
  int ms = 0;
  loop::runOnUiThread([&] { ms = n_.delivery.interval(); });
  return ms;
}

// Waits for the colour anywhere on the screen, then rests the cursor on it
// without a click: the next step usually clicks there. However long a
// search takes, a whole pause follows it, so a failing search never holds a
// processor, and the next step keeps its whole delay.
void Replay::performFindColour(const macro::Step& step) {
  wait(text::toInt(step[macro::kDelay]));
  const picture::Colour colour = text::toInt(step[macro::kCode]);
  if (!picture::isColour(colour)) return;  // no colour was picked: nothing to wait for
  for (int attempt = 0; attempt < macro::kFindAttempts && !stopped(); ++attempt) {
    const Point found = picture::findColourOnScreen(colour, 1);
    restartRhythm();
    if (closing_) return;
    if (found != picture::kNotFound) {
      desktop::setCursorPos(found);
      return;
    }
    wait(macro::kColourAttemptPauseMs);
  }
}

// Waits for the step's picture of the 找图 folder on the screen, then clicks
// its centre. A picture file that is missing or cannot be read is said once
// and the step is skipped: waiting for it could never succeed.
void Replay::performFindImage(const macro::Step& step) {
  const std::string& name = step[macro::kName];
  const std::filesystem::path folder = findImageFolder();
  const auto skip = [&](const std::string& why) {
    loop::runOnUiThread(
        [&] { hints_.show(hints_.气球提示框2, *n_.panel.macroHotkeyBoxes()[1], 30, why + name); });
  };
  for (int attempt = 0; attempt < macro::kFindAttempts && !stopped(); ++attempt) {
    wait(text::toInt(step[macro::kDelay]));
    n_.finder.SetPath(folder);
    wait(interval());
    if (closing_) return;
    const std::filesystem::path file = folder / codec::pathFromGbk(name);
    if (name.empty() || !files::exists(file)) return skip("●找图文件不存在：");
    // Read as the search reads it; only its size is kept, so that a large
    // picture is not held twice.
    std::optional<Size> size;
    if (const auto picture = n_.finder.readPicture(file))
      size = Size{picture->width, picture->height};
    if (!size) return skip("●找图图片无法读取：");
    const std::string result = findImageOnScreen(n_.finder, name);
    restartRhythm();
    wait(interval());
    const auto centre = macro::foundPictureCentre(result, *size);
    if (!centre) continue;
    n_.finder.MoveTo(centre->x, centre->y);
    wait(interval());
    if (closing_) return;
    desktop::clickAt(*centre);
    n_.finder.UnBindWindow();
    return;
  }
}

}  // namespace hf::recorder
