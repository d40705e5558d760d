#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/bitmap.h"
#include "platform/geometry.h"
#include "platform/resources.h"

// The widgets the windows are built from. Each is a thin object over one
// control of the backend (a real window control under win32, an in-memory
// control under the headless backend). Texts are GBK byte strings. Child
// positions are client coordinates in 96-DPI units, which the backend scales
// to the display; screen positions are physical pixels.
//
// Events are public function members that the owning window assigns. They
// fire for user input only, never for a change made through the setters, so
// a handler may set a control without re-entering itself. Tests and other
// handlers raise an event by calling the member, as the user's input would.
namespace hf::ui {

class Window;

// Common ground of every child control.
class Control {
 public:
  struct Impl;  // the backend's state for the control

  virtual ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  Window& parent() const { return parent_; }

  void setVisible(bool visible);
  bool isVisible() const;
  void setEnabled(bool enabled);
  bool isEnabled() const;
  void setText(std::string_view gbk);
  std::string text() const;
  Rect rect() const;        // 96-DPI client coordinates, as laid out
  Rect screenRect() const;  // where it is on the screen now, in pixels
  void setRect(Rect rect);
  // The control that loses the focus raises its onFocusLost, whoever moved it.
  void focus();
  bool hasFocus() const;

  std::function<void()> onMouseDown;  // left button pressed on the control
  std::function<void()> onDoubleClick;

  // Takes files dropped on the control from the shell: onDrop gets their paths
  // in drop order, on the UI thread once the drop has completed. A later call
  // replaces the handler; an empty one stops taking files.
  void acceptDroppedFiles(
      std::function<void(const std::vector<std::filesystem::path>& paths)> onDrop);

  Impl& impl() const { return *impl_; }

 protected:
  explicit Control(Window& parent);
  Window& parent_;
  std::unique_ptr<Impl> impl_;
};

class Button : public Control {
 public:
  struct Args {
    Rect rect;
    std::string caption;
    bool visible = true;
  };
  Button(Window& parent, const Args& args);

  // The face colour; buttons without one keep the system's look.
  void setColor(Rgb color);
  Rgb color() const { return color_; }
  void setPicture(Image image);
  Image picture() const { return picture_; }

  std::function<void()> onClick;

 private:
  Rgb color_{};
  Image picture_ = Image::None;
};

class CheckBox : public Control {
 public:
  struct Args {
    Rect rect;
    std::string caption;
    bool checked = false;
    bool visible = true;
  };
  CheckBox(Window& parent, const Args& args);

  void setChecked(bool checked);
  bool isChecked() const;

  std::function<void()> onClick;  // after the user toggled it
};

// A drop-down list: the user picks one of fixed items; text() is the picked
// item. An editable one also takes a text of the user's own.
class DropDown : public Control {
 public:
  struct Args {
    Rect rect;
    std::vector<std::string> items;
    bool visible = true;
    bool editable = false;
  };
  DropDown(Window& parent, const Args& args);

  void setItems(const std::vector<std::string>& items);
  int itemCount() const;
  std::string itemText(int index) const;
  void select(int index);  // -1 clears the choice
  int selectedIndex() const;

  std::function<void()> onSelectionChanged;
  std::function<void()> onFocusLost;
};

class EditBox : public Control {
 public:
  struct Args {
    Rect rect;
    std::string text;
    bool multiline = false;
    bool visible = true;
  };
  EditBox(Window& parent, const Args& args);

  // Puts the caret after the last character, nothing selected. A new text
  // (setText) puts it before the first.
  void putCaretAtEnd();
  // Puts the text in at the caret, in place of any selection, as typing does.
  void insertAtCaret(std::string_view gbk);

  std::function<void()> onTextChanged;
  // Raised once the user's Enter has put its line break into a multi-line box.
  std::function<void()> onLineBreak;
  std::function<void(int virtualKey)> onKeyDown;
  std::function<void(int virtualKey)> onKeyUp;
  std::function<void()> onFocusLost;
};

class Label : public Control {
 public:
  struct Args {
    Rect rect;
    std::string caption;
    bool visible = true;
  };
  Label(Window& parent, const Args& args);
};

// A decorative frame line or box.
class Frame : public Control {
 public:
  struct Args {
    Rect rect;
    bool visible = true;
  };
  Frame(Window& parent, const Args& args);
};

class PictureBox : public Control {
 public:
  struct Args {
    Rect rect;
    Image image = Image::None;
    bool visible = true;
  };
  PictureBox(Window& parent, const Args& args);

  // A colour filling the box behind its picture (a colour swatch); nothing
  // gives back the window's own background.
  void setBackground(std::optional<Rgb> color);
  std::optional<Rgb> background() const { return background_; }
  // One of the program's pictures; it replaces a shown bitmap.
  void setPicture(Image image);
  Image picture() const { return picture_; }
  // A picture of the user's, stretched over the box; it replaces the
  // program's picture, and an empty one shows nothing.
  void setPicture(Bitmap picture);
  const Bitmap& bitmap() const { return bitmap_; }

  // The box keeps the mouse from the press of the left button to its
  // release: the moves in between (at screen points) and the release reach it.
  std::function<void(Point screen)> onMouseMove;
  std::function<void()> onMouseUp;

 private:
  Image picture_ = Image::None;
  std::optional<Rgb> background_;
  Bitmap bitmap_;
};

// Rows of a list view, read on demand: the view never copies them, so a
// million rows cost the view nothing.
class ListModel {
 public:
  virtual ~ListModel() = default;
  virtual int rowCount() const = 0;
  virtual std::string cellText(int row, int column) const = 0;
  virtual bool isChecked(int row) const = 0;
};

// A report-style list with an optional check box in front of every row. A
// press beside the rows changes nothing (the selected row stays selected).
class ListView : public Control {
 public:
  struct Column {
    std::string title;
    int width = 0;
  };
  struct Args {
    Rect rect;
    std::vector<Column> columns;
    bool checkBoxes = true;
    bool visible = true;
  };
  struct Cell {
    int row = -1;  // -1: not on a row
    int column = -1;
    bool onCheckBox = false;
  };
  ListView(Window& parent, const Args& args);

  // The rows shown; not owned, must outlive the view or be replaced first.
  void setModel(const ListModel* model);
  // The model's rows changed (count or content): re-read and repaint.
  void rowsChanged();
  // While false, changes are not painted (a bulk refill); true repaints once.
  void setRedraw(bool redraw);
  void setRowHeight(int pixels);

  int columnCount() const;
  std::string columnTitle(int column) const;
  void setColumnTitle(int column, std::string_view gbk);
  int columnWidth(int column) const;
  void setColumnWidth(int column, int width);

  // The selected row, -1 for none.
  int selectedRow() const;
  void selectRow(int row);
  void ensureVisible(int row);
  int topRow() const;
  Cell hitTest(Point client) const;
  Rect cellRect(int row, int column) const;

  std::function<void(int row)> onCheckClicked;  // the user clicked the row's check box
  std::function<void(Cell cell)> onCellMouseDown;
  std::function<void(int column)> onHeaderClick;
  std::function<void()> onSelectionChanged;
  // The user pressed on a row and moved the mouse away with the button held.
  std::function<void(int row)> onBeginDrag;
  std::function<void()> onFocusLost;

 private:
  const ListModel* model_ = nullptr;
};

// A periodic tick on the UI thread; interval 0 stops it.
class Timer {
 public:
  struct Impl;
  explicit Timer(Window& parent);
  ~Timer();
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;

  void setInterval(int ms);
  int interval() const { return interval_; }

  std::function<void()> onTick;

 private:
  Window& parent_;
  int interval_ = 0;
  std::unique_ptr<Impl> impl_;
};

// A balloon-shaped tip shown at a screen point; it hides itself after a few
// seconds or when shown again elsewhere.
class BalloonTip {
 public:
  struct Impl;
  explicit BalloonTip(Window& parent);
  ~BalloonTip();
  BalloonTip(const BalloonTip&) = delete;
  BalloonTip& operator=(const BalloonTip&) = delete;

  void show(Point screen, std::string_view gbk);
  void hide();
  bool isShown() const;
  std::string text() const { return text_; }
  Point position() const { return position_; }

 private:
  Window& parent_;
  std::string text_;
  Point position_;
  std::unique_ptr<Impl> impl_;
};

enum class MouseButton { Left, Right, Middle };

// Drawing on a popup while it paints. Everything goes to an off-screen
// picture of the popup's size that is shown in one piece when the paint
// ends, so a window redrawn on every mouse move does not flicker. Coordinates
// are the popup's pixels; what falls outside the picture is clipped.
class Canvas {
 public:
  // The backend's part: text in the system's font.
  class TextPainter {
   public:
    virtual ~TextPainter() = default;
    virtual void draw(Point at, std::string_view gbk, Rgb color, int height) = 0;
    virtual Size extent(std::string_view gbk, int height) const = 0;
  };

  // Made by the backend for one paint, over the off-screen picture's pixels
  // (0x00RRGGBB, top row first, size.width per row).
  Canvas(std::uint32_t* pixels, Size size, TextPainter& text)
      : pixels_(pixels), size_(size), text_(text) {}
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  Size size() const { return size_; }
  void fillRect(Rect area, Rgb color);
  // A line penWidth pixels wide along the inside of the area's border.
  void frameRect(Rect area, Rgb color, int penWidth = 1);
  void drawBitmap(Point at, const Bitmap& picture);
  // The part of the picture inside `part`, its top-left corner put at `at`.
  void drawBitmap(Point at, const Bitmap& picture, Rect part);
  // One line of text from its top-left corner, on a transparent background,
  // in characters `height` pixels high.
  void drawText(Point at, std::string_view gbk, Rgb color, int height);
  // The width the text takes, and the height asked for.
  Size textExtent(std::string_view gbk, int height) const;
  // The colour painted so far at the point; black outside the picture.
  Rgb pixelAt(Point at) const;

 private:
  std::uint32_t* pixels_;
  Size size_;
  TextPainter& text_;
};

// A window without frame over the whole primary screen, above every other
// window, that paints itself through a Canvas. Its client coordinates are
// screen pixels (physical, whatever the display's scale). It is made hidden;
// its events arrive while it is open: shown and not yet closed.
class Popup {
 public:
  struct Impl;
  Popup();
  ~Popup();
  Popup(const Popup&) = delete;
  Popup& operator=(const Popup&) = delete;

  Rect rect() const;  // screen pixels
  // In front of every window, with the keyboard focus; it paints at once.
  void show();
  // Hides the popup for good (no event) and ends runUntilClosed.
  void close();
  bool isOpen() const;
  // Runs events until the popup is closed: modal use. Returns at once when it
  // is not open.
  void runUntilClosed();

  // Paints the whole popup now through onPaint.
  void repaint();
  void setCursor(Cursor cursor);
  Cursor cursor() const { return cursor_; }
  // While captured, the mouse reaches the popup wherever it is.
  void captureMouse();
  void releaseMouse();

  std::function<void(Canvas& canvas)> onPaint;
  // Points are screen pixels. A right click is an onMouseUp of the right button.
  std::function<void(MouseButton button, Point at)> onMouseDown;
  std::function<void(MouseButton button, Point at)> onMouseUp;
  std::function<void(Point at)> onMouseMove;
  // The second press of a left double click, in place of its onMouseDown.
  std::function<void(Point at)> onDoubleClick;
  std::function<void(int virtualKey)> onKeyDown;
  // The system asks the popup to close (Alt+F4): true lets it close; without
  // a handler it closes.
  std::function<bool()> onCloseRequest;

  Impl& impl() const { return *impl_; }

 private:
  Cursor cursor_ = Cursor::Arrow;
  std::unique_ptr<Impl> impl_;
};

// A top-level window. Its frame rectangle is in physical screen pixels; its
// children are laid out in 96-DPI units and scaled by scaled().
class Window {
 public:
  struct Impl;
  struct Args {
    std::string title;
    Size outerSize;  // 96-DPI units, frame included
  };
  explicit Window(const Args& args);
  ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  std::string title() const;
  Rect frameRect() const;  // screen pixels, frame included
  void moveTo(Point screen);
  void setOuterHeight(int height);  // 96-DPI units
  int scaled(int units) const;      // 96-DPI units to pixels

  void show();
  void hide();
  bool isVisible() const;
  bool isMinimized() const;
  void minimize();
  void restore();  // shown, normal state
  // Asks the window to close: onClose runs, then the window is destroyed and
  // the message loop ends.
  void close();
  bool isDestroyed() const;

  // The notification-area icon: the window's icon with the title as tooltip.
  void showTrayIcon();
  void removeTrayIcon();
  bool hasTrayIcon() const;

  // The mouse cursor shown over the window.
  void setCursor(Cursor cursor);
  // While captured, the mouse reaches this window wherever it is (onMouseUp, onMouseMove).
  void captureMouse();
  void releaseMouse();

  // The window is about to close, or the user's session is ending.
  std::function<void()> onClose;
  std::function<void()> onDestroy;
  std::function<void()> onMinimized;
  // 1 left button released on the icon, 2 left double click, 3 right button released.
  std::function<void(int kind)> onTrayIcon;
  std::function<void(Point client)> onMouseUp;
  std::function<void(Point client)> onMouseMove;
  std::function<void(int id)> onHotkey;

  Impl& impl() const { return *impl_; }

 private:
  std::unique_ptr<Impl> impl_;
};

// A modal message box of the window with a question icon, OK and Cancel;
// true when the user chose OK.
bool askOkCancel(Window& owner, std::string_view question, std::string_view title);

}  // namespace hf::ui
