// A report list laid out like the real one: a header line, then rows of the
// set height from topRow down, columns left to right by width, the check box
// at the start of the first column. Points and cell rectangles are in the
// parent window's client coordinates; a cell's rectangle includes the check box.
#include <algorithm>

#include "platform/headless/widget_state.h"

namespace hf::ui {
namespace {

constexpr int kHeaderHeight = 20;
constexpr int kCheckBoxWidth = 16;

// Rows that fit below the header; at least one, so a tiny list still scrolls.
int visibleRows(const Control::Impl& impl) {
  return std::max((impl.rect.height - kHeaderHeight) / impl.rowHeight, 1);
}

int columnLeft(const Control::Impl& impl, int column) {
  int left = 0;
  for (int i = 0; i < column; ++i) left += impl.columns[i].width;
  return left;
}

bool isColumn(const Control::Impl& impl, int column) {
  return column >= 0 && column < int(impl.columns.size());
}

}  // namespace

ListView::ListView(Window& parent, const Args& args) : Control(parent) {
  impl_->kind = Impl::Kind::ListView;
  impl_->rect = args.rect;
  impl_->visible = args.visible;
  impl_->columns = args.columns;
  impl_->checkBoxes = args.checkBoxes;
}

void ListView::setModel(const ListModel* model) {
  model_ = model;
  rowsChanged();
}

void ListView::rowsChanged() {
  impl_->rowCount = model_ ? model_->rowCount() : 0;
  if (impl_->selectedRow >= impl_->rowCount) impl_->selectedRow = -1;
  impl_->topRow = std::clamp(impl_->topRow, 0, std::max(impl_->rowCount - visibleRows(*impl_), 0));
  if (impl_->redraw) ++impl_->repaints;
}

void ListView::setRedraw(bool redraw) {
  if (redraw && !impl_->redraw) ++impl_->repaints;
  impl_->redraw = redraw;
}

void ListView::setRowHeight(int pixels) {
  impl_->rowHeight = std::max(pixels, 1);
}

int ListView::columnCount() const {
  return int(impl_->columns.size());
}

std::string ListView::columnTitle(int column) const {
  return isColumn(*impl_, column) ? impl_->columns[column].title : std::string();
}

void ListView::setColumnTitle(int column, std::string_view gbk) {
  if (isColumn(*impl_, column)) impl_->columns[column].title = gbk;
}

int ListView::columnWidth(int column) const {
  return isColumn(*impl_, column) ? impl_->columns[column].width : 0;
}

void ListView::setColumnWidth(int column, int width) {
  if (isColumn(*impl_, column)) impl_->columns[column].width = std::max(width, 0);
}

int ListView::selectedRow() const {
  return impl_->selectedRow;
}

void ListView::selectRow(int row) {
  impl_->selectedRow = row >= 0 && row < impl_->rowCount ? row : -1;
}

void ListView::ensureVisible(int row) {
  if (row < 0 || row >= impl_->rowCount) return;
  const int shown = visibleRows(*impl_);
  if (row < impl_->topRow) {
    impl_->topRow = row;
  } else if (row >= impl_->topRow + shown) {
    impl_->topRow = row - shown + 1;
  }
}

int ListView::topRow() const {
  return impl_->topRow;
}

// Points and cell rectangles are in the parent window's client coordinates,
// so a cell rectangle can place an editor over the cell directly.
ListView::Cell ListView::hitTest(Point point) const {
  const Impl& impl = *impl_;
  const Point client{point.x - impl.rect.left, point.y - impl.rect.top};
  if (client.y < kHeaderHeight || client.y >= impl.rect.height || client.x < 0 ||
      client.x >= impl.rect.width) {
    return {};
  }
  const int row = impl.topRow + (client.y - kHeaderHeight) / impl.rowHeight;
  if (row >= impl.rowCount) return {};
  for (int column = 0, left = 0; column < columnCount(); left += impl.columns[column++].width) {
    if (client.x < left + impl.columns[column].width) {
      const bool onCheckBox = impl.checkBoxes && column == 0 && client.x < left + kCheckBoxWidth;
      return {row, column, onCheckBox};
    }
  }
  return {};
}

Rect ListView::cellRect(int row, int column) const {
  const Impl& impl = *impl_;
  if (row < 0 || row >= impl.rowCount || !isColumn(impl, column)) return {};
  return {impl.rect.left + columnLeft(impl, column),
          impl.rect.top + kHeaderHeight + (row - impl.topRow) * impl.rowHeight,
          impl.columns[column].width, impl.rowHeight};
}

}  // namespace hf::ui
