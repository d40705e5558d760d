#include "capture/capture_window.h"

#include <algorithm>
#include <utility>

#include "platform/desktop.h"
#include "platform/event_loop.h"
#include "platform/keys.h"

namespace hf::capture {
namespace {

// Set when the window opens, so that nothing is drawn until the user presses.
constexpr Edges kNoSelectionYet{-5, -5, -5, -5};
// Set when a selection is dropped.
constexpr Edges kDroppedSelection{-1, -1, -1, -1};

constexpr Rgb kPanelText{255, 255, 255};

bool modifierHeld() {
  return desktop::isKeyDown(keys::kCtrl) || desktop::isKeyDown(keys::kShift) ||
         desktop::isKeyDown(keys::kAlt);
}

bool inside(Rect area, Point at) {
  return at.x >= area.left && at.x < area.left + area.width && at.y >= area.top &&
         at.y < area.top + area.height;
}

Bitmap cropped(const Bitmap& picture, Edges part) {
  const Rect area = pixelsOf(part);
  Bitmap piece(area.width, area.height);
  for (int y = 0; y < area.height; ++y) {
    const std::uint32_t* from = picture.row(area.top + y) + area.left;
    std::copy(from, from + area.width, piece.pixels.begin() + std::size_t(y) * area.width);
  }
  return piece;
}

}  // namespace

CaptureWindow::CaptureWindow(CopyPicture copy, CaptureColors colors)
    : copy_(std::move(copy)), colors_(colors), panelBackground_(panelBackground()) {}

CaptureWindow::~CaptureWindow() = default;

bool CaptureWindow::isOpen() const {
  return popup_ && popup_->isOpen();
}

void CaptureWindow::open(Bitmap frozenScreen) {
  if (isOpen()) return;
  selectionMade_ = buttonHeld_ = regionLocked_ = copied_ = cancelPending_ = false;
  region_ = Region::None;
  selection_ = kNoSelectionYet;
  frozen_ = std::move(frozenScreen);
  screen_ = {frozen_.width, frozen_.height};
  cursor_ = desktop::cursorPos();
  panel_ = {kPanelHome.x, kPanelHome.y - kPanelSlideSteps * kPanelSlideStep};

  popup_ = std::make_unique<ui::Popup>();
  popup_->onPaint = [this](ui::Canvas& canvas) { paint(canvas); };
  popup_->onMouseDown = [this](ui::MouseButton button, Point at) { mouseDown(button, at); };
  popup_->onMouseUp = [this](ui::MouseButton button, Point at) { mouseUp(button, at); };
  popup_->onMouseMove = [this](Point at) { mouseMove(at); };
  popup_->onDoubleClick = [this](Point at) { doubleClick(at); };
  popup_->onKeyDown = [this](int virtualKey) { keyDown(virtualKey); };
  popup_->onCloseRequest = [this] { return mayClose(); };
  popup_->setCursor(Cursor::CaptureArrow);
  popup_->show();

  // The panel slides down from above the screen; the user's input is taken
  // meanwhile.
  for (int step = 0; step < kPanelSlideSteps && isOpen(); ++step) {
    panel_.y += kPanelSlideStep;
    popup_->repaint();
    loop::pause(kPanelSlidePause);
  }
}

bool CaptureWindow::run(Bitmap frozenScreen) {
  open(std::move(frozenScreen));
  if (popup_) popup_->runUntilClosed();
  return copied_;
}

void CaptureWindow::mouseDown(ui::MouseButton button, Point at) {
  if (button == ui::MouseButton::Left) leftDown(at);
}

void CaptureWindow::mouseUp(ui::MouseButton button, Point at) {
  if (button == ui::MouseButton::Left) leftUp(at);
  if (button == ui::MouseButton::Right) cancel();
}

// A press with no selection starts one at the press point; with a selection
// it grabs the region under the mouse, and elsewhere (the cursor is the
// capture arrow there) does nothing.
void CaptureWindow::leftDown(Point at) {
  if (!selectionMade_ && !buttonHeld_) {
    popup_->captureMouse();
    selection_.left = at.x;
    selection_.top = at.y;
  } else if (popup_->cursor() == Cursor::CaptureArrow) {
    buttonHeld_ = false;
    return;
  }
  buttonHeld_ = true;
  anchor_ = {selection_.left, selection_.top};
  press_ = at;
  mouseMove(at);
}

// A release away from the selection's corner makes the selection: a plain
// click makes none. A cancel during the drag drops it all. A release whose
// press the window never took (the button was down when it opened, or the
// press missed the selection) changes nothing.
void CaptureWindow::leftUp(Point at) {
  popup_->releaseMouse();
  if (!buttonHeld_ && !cancelPending_) return;
  buttonHeld_ = false;
  regionLocked_ = false;
  if (at != Point{selection_.left, selection_.top}) selectionMade_ = true;
  if (cancelPending_) {
    selectionMade_ = buttonHeld_ = regionLocked_ = copied_ = cancelPending_ = false;
  }
  selection_ = normalised(selection_);
  mouseMove(at);
}

void CaptureWindow::mouseMove(Point at) {
  cursor_ = at;
  if (selectionMade_) {
    hitTest(at);
    if (regionLocked_ && buttonHeld_)
      selection_ = dragged(selection_, region_, at, anchor_, press_);
  } else if (buttonHeld_) {
    selection_.right = at.x;
    selection_.bottom = at.y;
  }
  if (inside(panelRect(), at)) panel_.x = dodgedPanelLeft(at, screen_.width);
  popup_->repaint();
}

// Runs while a selection exists and no drag has grabbed a region: with the
// button up it shows what a press would grab, with the button held it grabs it.
void CaptureWindow::hitTest(Point at) {
  if (!selectionMade_ || regionLocked_) return;
  const Region region = capture::hitTest(normalised(selection_), at);
  if (!buttonHeld_) {
    const Cursor cursor = cursorOver(region);
    if (cursor != popup_->cursor()) popup_->setCursor(cursor);
    return;
  }
  region_ = region;
  regionLocked_ = region != Region::None;
}

// The second press of a double click saves a selection it lands in;
// anywhere else it is a press like any other, so a quick click and drag
// still selects.
void CaptureWindow::doubleClick(Point at) {
  if (selectionMade_ && contains(normalised(selection_), at))
    copyAndClose();
  else
    leftDown(at);
}

void CaptureWindow::keyDown(int virtualKey) {
  switch (virtualKey) {
    case keys::kEscape:
      if (!modifierHeld()) cancel();
      return;
    case keys::kDelete:
      if (selectionMade_) cancel();
      return;
    case keys::kEnter:
      if (selectionMade_) copyAndClose();
      return;
  }
  if (!selectionMade_) return;
  if (auto moved = nudged(selection_, virtualKey)) {
    selection_ = *moved;
    popup_->repaint();
    hitTest(cursor_);
  }
}

// The system asks the window to close: a selection is dropped instead.
bool CaptureWindow::mayClose() {
  if (!selectionMade_) {
    close();
    return true;
  }
  discardSelection();
  return false;
}

void CaptureWindow::dismiss() {
  if (!isOpen()) return;
  popup_->releaseMouse();
  discardSelection();
  close();
}

void CaptureWindow::cancel() {
  popup_->releaseMouse();
  if (!selectionMade_ && !buttonHeld_) {
    close();
    return;
  }
  // The release still to come must not make a selection of what is left.
  if (buttonHeld_) cancelPending_ = true;
  discardSelection();
}

void CaptureWindow::discardSelection() {
  buttonHeld_ = regionLocked_ = false;
  region_ = Region::None;
  selection_ = kDroppedSelection;
  selectionMade_ = false;
  popup_->setCursor(Cursor::CaptureArrow);
  popup_->repaint();
}

// The selection's part of the frozen screen goes out; a selection moved off
// the screen entirely has none.
void CaptureWindow::copyAndClose() {
  if (auto onScreen = clampedTo(normalised(selection_), screen_)) {
    copied_ = true;
    if (copy_) copy_(cropped(frozen_, *onScreen));
  }
  discardSelection();
  close();
}

void CaptureWindow::close() {
  popup_->close();
  frozen_ = Bitmap();
}

Stage CaptureWindow::stage() const {
  if (selectionMade_) return Stage::Selected;
  return buttonHeld_ ? Stage::Selecting : Stage::Idle;
}

// The frozen screen, the selection's frame and handles, the cursor info box,
// then the panel over it all.
void CaptureWindow::paint(ui::Canvas& canvas) const {
  canvas.drawBitmap({0, 0}, frozen_);
  if (selectionMade_ || buttonHeld_) {
    const Edges edges = normalised(selection_);
    canvas.frameRect(pixelsOf(edges), colors_.frame);
    for (Point centre : handleCentres(edges)) canvas.fillRect(handleSquare(centre), colors_.frame);
  }
  const bool overPanel = inside(panelRect(), cursor_);
  if (buttonHeld_ && !overPanel) paintInfoBox(canvas);
  paintPanel(canvas, canvas.pixelAt(cursor_));
}

void CaptureWindow::paintInfoBox(ui::Canvas& canvas) const {
  const Point origin = infoBoxOrigin(cursor_, screen_);
  const auto lines = infoBoxLines(normalised(selection_), cursor_);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    canvas.drawText({origin.x, origin.y + int(i) * kInfoLineHeight}, lines[i], colors_.infoBoxText,
                    kInfoLineHeight);
  }
  canvas.frameRect(infoBoxFrame(origin), colors_.infoBoxFrame);
}

void CaptureWindow::paintPanel(ui::Canvas& canvas, Rgb underCursor) const {
  canvas.drawBitmap(panel_, panelBackground_, {0, 0, kPanelSize.width, kPanelSize.height});
  const auto at = [&](int x, int y) { return Point{panel_.x + x, panel_.y + y}; };
  canvas.drawText(at(kPanelTitleAt.x, kPanelTitleAt.y), kPanelTitle, kPanelText, kPanelLineHeight);
  canvas.drawText(at(5, 30), pixelLine(underCursor), kPanelText, kPanelLineHeight);
  const auto measure = [&](std::string_view text) {
    return canvas.textExtent(text, kPanelLineHeight).width;
  };
  for (const PanelRow& row :
       layoutInstructions(instructions(stage()), kPanelSize.width - 10, measure))
    canvas.drawText(at(5, row.top), row.text, kPanelText, kPanelLineHeight);
}

}  // namespace hf::capture
