#pragma once

#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "platform/ui.h"
#include "platform/win32/drop_target.h"

// The backend state behind ui.h, shared by the files of the win32 backend.
namespace hf::ui {

struct Window::Impl {
  Impl(Window& owner, std::string title) : owner(owner), title(std::move(title)) {}

  Window& owner;
  std::string title;
  HWND hwnd = nullptr;  // nullptr once destroyed
  bool destroyed = false;
  bool destroyedByOwner = false;  // by ~Window: no events, the message loop goes on
  int dpi = 96;
  HFONT font = nullptr;
  HICON bigIcon = nullptr;
  HICON smallIcon = nullptr;
  HCURSOR cursor = nullptr;  // shown over the whole window; nullptr: each control's own
  bool trayIcon = false;
  bool minimizing = false;  // while minimize() runs
  std::unordered_map<HWND, Control::Impl*> controls;
  std::unordered_map<UINT_PTR, Timer*> timers;
  std::set<int> hotkeys;  // ids registered for this window

  int scaled(int units) const { return MulDiv(units, dpi, 96); }
  int unscaled(int pixels) const { return MulDiv(pixels, 96, dpi); }
  Point unscaled(POINT pixels) const { return {unscaled(pixels.x), unscaled(pixels.y)}; }

  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  Control::Impl* controlOf(HWND child) const;
  bool updateTrayIcon(DWORD action);
  void changeDpi(int newDpi, const RECT& suggested);
  void finishDestroy();
  friend class Window;
};

// One child control. Each kind of control derives from it and overrides the
// notifications it answers.
struct Control::Impl {
  Impl(Control& control, Window& window, Rect rect)
      : control(control), window(window), rect(rect) {}
  virtual ~Impl() = default;

  struct Kind {
    const wchar_t* className;
    DWORD style;  // besides WS_CHILD, WS_CLIPSIBLINGS and WS_VISIBLE
    DWORD exStyle = 0;
  };
  // Creates the control's window and hooks it up; call once from the
  // constructor of the control kind.
  void create(const Kind& kind, std::string_view gbkText, bool visible);
  void place();  // moves the window to rect, scaled
  void applyDpi(int oldDpi);
  void detach();  // the window is gone

  Window::Impl& host() const { return window.impl(); }
  int scaled(int units) const { return host().scaled(units); }
  bool userInput() const { return quiet == 0; }

  // WM_COMMAND and WM_NOTIFY codes and WM_DRAWITEM, reflected by the parent.
  virtual void command(int /*code*/) {}
  virtual LRESULT notify(NMHDR& /*header*/) { return 0; }
  virtual void draw(const DRAWITEMSTRUCT& /*item*/) {}
  // Controls whose own handling of a double click would undo the handler's
  // work (focus, selection) report it themselves, when that handling is done.
  virtual bool reportsDoubleClickItself() const { return false; }
  // Sees a message of the control's window before its own procedure; a value
  // is the message's result and ends it there.
  virtual std::optional<LRESULT> intercept(UINT /*message*/, WPARAM, LPARAM) {
    return std::nullopt;
  }
  virtual bool paintsOnWindowColor() const { return false; }
  virtual bool staysBehindSiblings() const { return false; }
  virtual int dropDownHeight() const { return 0; }  // units below rect, for drop-down lists
  virtual void dpiChanged(int /*oldDpi*/) {}
  virtual std::string text() const;
  virtual void setText(std::string_view gbk);

  Control& control;
  Window& window;
  Rect rect;  // 96-DPI units, as laid out
  HWND hwnd = nullptr;
  int quiet = 0;  // above 0 while a setter changes the control: no events
  std::unique_ptr<FileDropTarget> fileDrop;  // while the control takes dropped files
};

// A popup's window and its off-screen picture: a 32-bit top-down DIB section
// selected into a memory DC, which the canvas writes to directly.
struct Popup::Impl {
  explicit Impl(Popup& owner) : owner(owner) {}
  ~Impl();
  Impl(const Impl&) = delete;
  Impl& operator=(const Impl&) = delete;

  Popup& owner;
  HWND hwnd = nullptr;  // nullptr once destroyed
  bool shown = false;
  bool closed = false;
  HDC memory = nullptr;
  HBITMAP picture = nullptr;
  HGDIOBJ previousPicture = nullptr;
  std::uint32_t* pixels = nullptr;
  Size pictureSize;
  std::map<int, HFONT> fonts;  // by cell height

  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
  void paint(HDC target, const RECT& area);
  bool preparePicture(HDC target);
  HFONT font(int height);
};

// Holds a control's events back while a setter changes it.
class QuietScope {
 public:
  explicit QuietScope(Control::Impl& impl) : impl_(impl) { ++impl_.quiet; }
  ~QuietScope() { --impl_.quiet; }
  QuietScope(const QuietScope&) = delete;
  QuietScope& operator=(const QuietScope&) = delete;

 private:
  Control::Impl& impl_;
};

// Runs an event handler; a copy, so the handler may replace itself. An
// exception (memory running out in a big import) ends that one action, never
// the program: it must not unwind through the system's window procedure.
template <class Handler, class... Args>
void raise(const Handler& handler, Args&&... args) {
  if (!handler) return;
  try {
    Handler copy = handler;
    copy(std::forward<Args>(args)...);
  } catch (...) {
  }
}

}  // namespace hf::ui
