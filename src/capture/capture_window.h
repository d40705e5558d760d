#pragma once

#include <functional>
#include <memory>

#include "capture/info_panel.h"
#include "capture/selection_geometry.h"
#include "platform/bitmap.h"
#include "platform/ui.h"

namespace hf::capture {

// The colours the capture window draws with.
struct CaptureColors {
  Rgb frame{10, 100, 130};  // the selection's frame and handles
  Rgb infoBoxFrame{};
  Rgb infoBoxText{};
};

// The region capture: the screen frozen in a window over everything, where
// the user drags out a selection, adjusts it with the mouse or the arrow keys
// and saves it with a double click inside it or Enter. A right click or Esc
// drops the selection; with none, it closes the window. The saved part of
// the screen goes to the function given at construction (which puts it on
// the clipboard), and only there.
class CaptureWindow {
 public:
  using CopyPicture = std::function<void(const Bitmap& picture)>;
  explicit CaptureWindow(CopyPicture copy, CaptureColors colors = {});
  ~CaptureWindow();
  CaptureWindow(const CaptureWindow&) = delete;
  CaptureWindow& operator=(const CaptureWindow&) = delete;

  // Shows the frozen screen (a picture of the whole screen) and slides the
  // info panel in; returns once it is in place, or at once when the window
  // is open already.
  void open(Bitmap frozenScreen);
  // Opens the window and returns when it has closed: true when a selection
  // was copied.
  bool run(Bitmap frozenScreen);

  bool isOpen() const;
  // Closes the window, if open, without copying anything (the user asked
  // elsewhere to stop capturing).
  void dismiss();
  bool copied() const { return copied_; }
  bool hasSelection() const { return selectionMade_; }
  // The selection as it stands, inverted while a drag has it so.
  Edges selection() const { return selection_; }
  Rect panelRect() const { return {panel_.x, panel_.y, kPanelSize.width, kPanelSize.height}; }

 private:
  void mouseDown(ui::MouseButton button, Point at);
  void mouseUp(ui::MouseButton button, Point at);
  void mouseMove(Point at);
  void doubleClick(Point at);
  void keyDown(int virtualKey);
  bool mayClose();

  void leftDown(Point at);
  void leftUp(Point at);
  // A right click or Esc: drops the selection, or closes the window when
  // there is none.
  void cancel();
  void discardSelection();
  void hitTest(Point at);
  void copyAndClose();
  void close();

  void paint(ui::Canvas& canvas) const;
  void paintInfoBox(ui::Canvas& canvas) const;
  void paintPanel(ui::Canvas& canvas, Rgb underCursor) const;
  Stage stage() const;

  CopyPicture copy_;
  CaptureColors colors_;
  Bitmap panelBackground_;
  std::unique_ptr<ui::Popup> popup_;
  Bitmap frozen_;
  Size screen_;

  Edges selection_;
  bool selectionMade_ = false;
  bool buttonHeld_ = false;
  bool regionLocked_ = false;
  bool cancelPending_ = false;
  bool copied_ = false;
  Region region_ = Region::None;
  Point anchor_;  // the selection's left-top corner at the press
  Point press_;
  Point cursor_;  // where the mouse was last seen
  Point panel_;   // the info panel's left-top corner
};

}  // namespace hf::capture
