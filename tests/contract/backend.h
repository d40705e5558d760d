#pragma once

// What both backends promise through the platform headers is tested once: the
// cases of this folder are compiled into the native tests (headless backend)
// and into the Windows tests (win32 backend). What a test cannot do through
// the platform headers (stand in for the user or for another program) each
// backend supplies here, in contract/headless/backend.cpp and
// contract/win32/backend.cpp.
//
// A new part of the platform headers, or a new simulation of it in the
// headless backend, gets its cases here before the first code that uses it.
// Only what one backend alone can show stays in tests/unit/headless_* (the
// simulation's own test control) or tests/win32 (window messages, the system's
// own input, OLE drops, DPI).

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/bitmap.h"
#include "platform/desktop.h"
#include "platform/ui.h"

namespace contract {

// A fresh desktop (no hotkeys, nothing held) and an empty folder of the
// test's own, with a Chinese name; the folder is removed afterwards.
class BackendTest : public testing::Test {
 public:
  // Another program opens the clipboard and keeps it open until the holder
  // goes or the given time has passed.
  class ClipboardHolder {
   public:
    virtual ~ClipboardHolder() = default;
    virtual void releaseAfter(int ms) = 0;
  };

  // A window above all others whose client area, at clientOrigin on the
  // screen, shows the picture; it closes when the object goes. (Under win32 a
  // window of the test program, which paints itself also when asked to print.)
  class PaintedWindow {
   public:
    virtual ~PaintedWindow() = default;
    virtual hf::desktop::WindowId id() const = 0;
    virtual void minimize() = 0;
    virtual void hide() = 0;
  };

 protected:
  BackendTest();
  ~BackendTest() override;
  void SetUp() override;
  void TearDown() override;

  const std::filesystem::path& folder() const { return folder_; }

  // Runs events until the condition holds, for at most ms milliseconds (of
  // the virtual clock under the headless backend).
  static bool waitFor(const std::function<bool()>& condition, int ms = 2000);

  // Whether the file system refuses to write a file marked read-only
  // (Windows does; Wine running as root does not).
  static bool refusesWritingReadOnlyFiles(const std::filesystem::path& readOnlyFile);

  // Another program empties the clipboard: it holds no text at all. (The
  // headless backend has no other way there than a fresh simulated desktop.)
  void emptyClipboard();
  std::unique_ptr<ClipboardHolder> holdClipboard();

  // See PaintedWindow.
  std::unique_ptr<PaintedWindow> showPaintedWindow(hf::Point clientOrigin,
                                                   const hf::Bitmap& picture);

  // Another program registers the chord as its hotkey, for the rest of the test.
  void holdHotkeyElsewhere(unsigned modifiers, int virtualKey);
  // The user presses the chord (modifier flags of keys.h) once and lets go.
  void pressHotkey(unsigned modifiers, int virtualKey);

  // Makes the window the one that gets the keyboard; false when the system
  // does not let it (the key tests skip then).
  bool takeKeyboard(hf::ui::Window& window);

  // A key going down or up as the program's keyboard delivers it.
  struct KeySeen {
    int scanCode = 0;
    bool down = false;
    friend bool operator==(const KeySeen&, const KeySeen&) = default;
  };
  // The key events that went out since the last call, waiting for up to
  // `expected` of them.
  std::vector<KeySeen> keysSeen(std::size_t expected);

  // The user's mouse on an open popup, at a screen point. A double click is
  // two presses and releases of the left button in quick succession.
  enum class MouseAction { Move, Down, Up, DoubleClick };
  void useMouse(hf::ui::Popup& popup, MouseAction action, hf::Point at,
                hf::ui::MouseButton button = hf::ui::MouseButton::Left);
  // The user presses and releases a key while the popup is in front.
  void pressKey(hf::ui::Popup& popup, int virtualKey);
  // The system asks the popup to close (as Alt+F4 does).
  void askToClose(hf::ui::Popup& popup);
  // Makes "Scripting.Dictionary" creatable, as the system's scripting runtime
  // has it: Add(key, item), Count, Item(key), Exists(key) and CompareMode
  // (0 binary, 1 text; settable while empty). The headless backend scripts one.
  void provideDictionary();

  // The colours the screen shows at the points, with the popup in front.
  std::vector<hf::Rgb> colorsShown(hf::ui::Popup& popup, const std::vector<hf::Point>& points);

 private:
  // Each backend's own part of SetUp and TearDown, and its state for a test.
  void startBackend();
  void endBackend();
  struct Backend;
  std::unique_ptr<Backend> backend_;
  std::filesystem::path folder_;
};

// A backend test with a window of 460 x 627 units, not shown. Skips when the
// backend cannot make windows here (Wine without a display).
class WindowTest : public BackendTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  hf::ui::Window& window() { return *window_; }

 private:
  std::unique_ptr<hf::ui::Window> window_;
};

// Whether a window could be made (the win32 backend needs a display).
bool exists(const hf::ui::Window& window);
bool exists(const hf::ui::Popup& popup);

}  // namespace contract
