// The clipboard, which another program may keep open for a while. It holds
// a text or a picture, never both.
#include <cstdint>
#include <optional>
#include <string>

#include "platform/desktop.h"
#include "platform/event_loop.h"
#include "platform/headless/internal.h"
#include "platform/headless/target_simulation.h"
#include "platform/input_gate.h"
#include "platform/screen.h"

namespace hf::headless::internal {
namespace {

struct Clipboard {
  std::string text;  // GBK
  std::optional<Bitmap> picture;
  bool isPrivate = false;
  bool heldElsewhere = false;
  int openAttempts = 0;  // the system's own
  std::uint32_t sequence = 0;
};

Clipboard& clipboard() {
  static Clipboard instance;
  return instance;
}

// Tries for about a second, waiting between tries the way the system does,
// so events that arrive meanwhile (another program letting go) still run.
bool openForSystem() {
  constexpr int kAttempts = 100;
  constexpr int kRetryMs = 10;
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    ++clipboard().openAttempts;
    if (!clipboard().heldElsewhere) return true;
    loop::pause(kRetryMs);
  }
  return false;
}

}  // namespace

void resetClipboard() {
  clipboard() = Clipboard{};
}

std::optional<std::string> readClipboardOnce() {
  if (clipboard().heldElsewhere) return std::nullopt;
  return clipboard().text;
}

std::optional<Size> clipboardPictureSizeOnce() {
  const Clipboard& board = clipboard();
  if (board.heldElsewhere || !board.picture) return std::nullopt;
  return Size{board.picture->width, board.picture->height};
}

bool writeClipboardOnce(std::string_view gbk) {
  if (clipboard().heldElsewhere) return false;
  clipboard().text = gbk;
  clipboard().picture.reset();
  clipboard().isPrivate = false;
  ++clipboard().sequence;
  return true;
}

}  // namespace hf::headless::internal

namespace hf::desktop {

bool setClipboardText(std::string_view gbk, ClipboardPrivacy privacy) {
  using namespace headless::internal;
  if (simulatedInputEnded() || !openForSystem() || !writeClipboardOnce(gbk)) return false;
  clipboard().isPrivate = privacy == ClipboardPrivacy::Private;
  return true;
}

std::optional<std::string> clipboardText() {
  if (!headless::internal::openForSystem()) return std::nullopt;
  return headless::internal::readClipboardOnce();
}

std::uint32_t clipboardSequence() {
  return headless::internal::clipboard().sequence;
}

}  // namespace hf::desktop

namespace hf::screen {

std::optional<Bitmap> clipboardBitmap() {
  if (!headless::internal::openForSystem()) return std::nullopt;
  return headless::internal::clipboard().picture;
}

bool setClipboardBitmap(const Bitmap& picture) {
  using namespace headless::internal;
  if (picture.empty() || !openForSystem()) return false;
  clipboard().text.clear();
  clipboard().picture = picture;
  clipboard().isPrivate = false;
  ++clipboard().sequence;
  return true;
}

}  // namespace hf::screen

namespace hf::headless {

void holdClipboard(bool held) {
  internal::clipboard().heldElsewhere = held;
}

int clipboardOpenAttempts() {
  return internal::clipboard().openAttempts;
}

bool clipboardIsPrivate() {
  return internal::clipboard().isPrivate;
}

}  // namespace hf::headless
