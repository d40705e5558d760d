#include <windows.h>

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <array>

#include "platform/win32/check_images.h"
#include "platform/win32/ui_impl.h"
#include "platform/win32/wide_text.h"

namespace hf::ui {
namespace {

// Posted to the list itself once the selection notifications of one user
// action are through (a click unselects the old row, then selects the new one).
constexpr UINT kSelectionSettled = WM_APP + 20;
constexpr int kCheckImageUnits = 16;

struct ListViewImpl final : Control::Impl {
  ListViewImpl(ListView& view, Window& window, const ListView::Args& args)
      : Impl(view, window, args.rect), view(view), checkBoxes(args.checkBoxes) {
    for (const ListView::Column& column : args.columns) titles.push_back(column.title);
  }

  bool reportsDoubleClickItself() const override { return true; }

  LRESULT notify(NMHDR& header) override {
    switch (header.code) {
      case LVN_GETDISPINFOW:
        answer(reinterpret_cast<NMLVDISPINFOW&>(header).item);
        return 0;
      case LVN_ODFINDITEMW:
        return -1;  // no jump to a row by typing its first letters
      case NM_CLICK:
      case NM_DBLCLK: {  // each press on a check box toggles it, as with the system's
        ListView::Cell cell = hitTestPixels(reinterpret_cast<NMITEMACTIVATE&>(header).ptAction);
        if (cell.onCheckBox && userInput()) raise(view.onCheckClicked, cell.row);
        if (header.code == NM_DBLCLK) raise(view.onDoubleClick);
        return 0;
      }
      case LVN_KEYDOWN:
        if (reinterpret_cast<NMLVKEYDOWN&>(header).wVKey == VK_SPACE && checkBoxes) {
          int row = selectedRow();
          if (row >= 0) raise(view.onCheckClicked, row);
        }
        return 0;
      case LVN_COLUMNCLICK:
        raise(view.onHeaderClick, reinterpret_cast<NMLISTVIEW&>(header).iSubItem);
        return 0;
      case NM_KILLFOCUS:  // whoever moved the focus, as for the edit boxes
        raise(view.onFocusLost);
        return 0;
      case LVN_BEGINDRAG:
        raise(view.onBeginDrag, reinterpret_cast<NMLISTVIEW&>(header).iItem);
        return 0;
      case LVN_ITEMCHANGED: {
        auto& change = reinterpret_cast<NMLISTVIEW&>(header);
        if ((change.uChanged & LVIF_STATE) &&
            ((change.uNewState ^ change.uOldState) & LVIS_SELECTED))
          noteSelectionChange();
        return 0;
      }
      case LVN_ODSTATECHANGED: {
        auto& change = reinterpret_cast<NMLVODSTATECHANGE&>(header);
        if ((change.uNewState ^ change.uOldState) & LVIS_SELECTED) noteSelectionChange();
        return 0;
      }
    }
    return 0;
  }

  std::optional<LRESULT> intercept(UINT message, WPARAM, LPARAM lParam) override {
    if (message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK) {
      const ListView::Cell cell = hitTestPixels({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      raise(view.onCellMouseDown, cell);
      // A press beside the rows would clear the selection, the paste pointer.
      if (cell.row < 0) return 0;
    } else if (message == kSelectionSettled) {
      selectionCheckPosted = false;
      int row = selectedRow();
      if (row != announcedRow) {
        announcedRow = row;
        raise(view.onSelectionChanged);
      }
      return 0;
    }
    return std::nullopt;
  }

  void dpiChanged(int oldDpi) override {
    for (int column = 0; column < static_cast<int>(titles.size()); ++column) {
      int width = ListView_GetColumnWidth(hwnd, column);
      ListView_SetColumnWidth(hwnd, column, MulDiv(width, host().dpi, oldDpi));
    }
    rowHeight = MulDiv(rowHeight, host().dpi, oldDpi);
    applyCheckImages();
    applyRowHeight();
  }

  // The model's cell texts and check marks, asked for row by row as rows are painted.
  void answer(LVITEMW& item) {
    if (!model || item.iItem < 0 || item.iItem >= model->rowCount()) return;
    if (item.mask & LVIF_TEXT) {
      // The list may keep the pointer until two more requests have come in.
      std::wstring& text = cellTexts[nextCellText];
      nextCellText = (nextCellText + 1) % cellTexts.size();
      text = win32::widen(model->cellText(item.iItem, item.iSubItem));
      item.pszText = text.data();
    }
    if ((item.mask & LVIF_STATE) && checkBoxes) {
      UINT image = INDEXTOSTATEIMAGEMASK(model->isChecked(item.iItem) ? 2 : 1);
      item.state = (item.state & ~LVIS_STATEIMAGEMASK) | image;
      item.stateMask |= LVIS_STATEIMAGEMASK;
    }
  }

  void noteSelectionChange() {
    if (!userInput() || selectionCheckPosted) return;
    selectionCheckPosted = PostMessageW(hwnd, kSelectionSettled, 0, 0) != FALSE;
  }

  int selectedRow() const {
    return static_cast<int>(ListView_GetNextItem(hwnd, -1, LVNI_SELECTED));
  }

  ListView::Cell hitTestPixels(POINT point) const {
    LVHITTESTINFO hit{};
    hit.pt = point;
    SendMessageW(hwnd, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit));
    if (hit.iItem < 0) return {};
    bool onColumn = hit.iSubItem >= 0 && hit.iSubItem < static_cast<int>(titles.size());
    return {hit.iItem, onColumn ? hit.iSubItem : -1,
            checkBoxes && (hit.flags & LVHT_ONITEMSTATEICON) != 0};
  }

  void applyCheckImages() {
    if (!checkBoxes) return;
    HIMAGELIST images = win32::createCheckImages(scaled(kCheckImageUnits));
    if (HIMAGELIST old = ListView_SetImageList(hwnd, images, LVSIL_STATE)) ImageList_Destroy(old);
  }

  // An empty small-image list as tall as the rows: the list makes its rows
  // one pixel taller than the tallest of font and images.
  void applyRowHeight() {
    if (rowHeight <= 0) return;
    HIMAGELIST spacer = ImageList_Create(1, std::max(1, rowHeight - 1), ILC_COLOR24, 0, 1);
    if (HIMAGELIST old = ListView_SetImageList(hwnd, spacer, LVSIL_SMALL)) ImageList_Destroy(old);
  }

  ListView& view;
  const ListModel* model = nullptr;
  bool checkBoxes;
  std::vector<std::string> titles;
  std::array<std::wstring, 3> cellTexts;
  std::size_t nextCellText = 0;
  int rowHeight = 0;      // pixels; 0: as tall as the font and check images need
  int announcedRow = -1;  // the selection the owner last heard of
  bool selectionCheckPosted = false;
};

ListViewImpl& state(Control::Impl& impl) {
  return static_cast<ListViewImpl&>(impl);
}

}  // namespace

ListView::ListView(Window& parent, const Args& args) : Control(parent) {
  impl_ = std::make_unique<ListViewImpl>(*this, parent, args);
  impl_->create(
      {WC_LISTVIEWW, WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS | LVS_SINGLESEL,
       WS_EX_CLIENTEDGE},
      "", args.visible);
  HWND hwnd = impl_->hwnd;
  ListView_SetExtendedListViewStyle(hwnd,
                                    LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_DOUBLEBUFFER);
  for (std::size_t index = 0; index < args.columns.size(); ++index) {
    std::wstring title = win32::widen(args.columns[index].title);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = title.data();
    column.cx = impl_->scaled(std::max(0, args.columns[index].width));
    column.iSubItem = static_cast<int>(index);
    SendMessageW(hwnd, LVM_INSERTCOLUMNW, index, reinterpret_cast<LPARAM>(&column));
  }
  if (args.checkBoxes) ListView_SetCallbackMask(hwnd, LVIS_STATEIMAGEMASK);
  state(*impl_).applyCheckImages();
}

void ListView::setModel(const ListModel* model) {
  model_ = model;
  state(*impl_).model = model;
  rowsChanged();
}

void ListView::rowsChanged() {
  ListViewImpl& impl = state(*impl_);
  QuietScope quietScope(impl);
  int count = impl.model ? impl.model->rowCount() : 0;
  ListView_SetItemCountEx(impl.hwnd, count, LVSICF_NOSCROLL | LVSICF_NOINVALIDATEALL);
  InvalidateRect(impl.hwnd, nullptr, FALSE);  // rows kept by the count may have new content
  impl.announcedRow = impl.selectedRow();
}

void ListView::setRedraw(bool redraw) {
  SendMessageW(impl_->hwnd, WM_SETREDRAW, redraw, 0);
  if (redraw) InvalidateRect(impl_->hwnd, nullptr, TRUE);
}

void ListView::setRowHeight(int pixels) {
  state(*impl_).rowHeight = pixels;
  state(*impl_).applyRowHeight();
}

int ListView::columnCount() const {
  return static_cast<int>(state(*impl_).titles.size());
}

std::string ListView::columnTitle(int column) const {
  const auto& titles = state(*impl_).titles;
  return column >= 0 && column < static_cast<int>(titles.size()) ? titles[column] : std::string();
}

void ListView::setColumnTitle(int column, std::string_view gbk) {
  auto& titles = state(*impl_).titles;
  if (column < 0 || column >= static_cast<int>(titles.size())) return;
  titles[column] = std::string(gbk);
  std::wstring title = win32::widen(gbk);
  LVCOLUMNW change{};
  change.mask = LVCF_TEXT;
  change.pszText = title.data();
  SendMessageW(impl_->hwnd, LVM_SETCOLUMNW, column, reinterpret_cast<LPARAM>(&change));
}

int ListView::columnWidth(int column) const {
  if (column < 0 || column >= columnCount()) return 0;
  return impl_->host().unscaled(ListView_GetColumnWidth(impl_->hwnd, column));
}

void ListView::setColumnWidth(int column, int width) {
  if (column < 0 || column >= columnCount()) return;
  ListView_SetColumnWidth(impl_->hwnd, column, impl_->scaled(std::max(0, width)));
}

int ListView::selectedRow() const {
  return state(*impl_).selectedRow();
}

void ListView::selectRow(int row) {
  ListViewImpl& impl = state(*impl_);
  QuietScope quietScope(impl);
  // Only the selected row is touched: a change of "every row" walks all of
  // them in some list implementations, which a million rows make slow.
  int previous = impl.selectedRow();
  if (previous >= 0 && previous != row)
    ListView_SetItemState(impl.hwnd, previous, 0, LVIS_SELECTED);
  if (row >= 0) {
    ListView_SetItemState(impl.hwnd, row, LVIS_SELECTED | LVIS_FOCUSED,
                          LVIS_SELECTED | LVIS_FOCUSED);
    ListView_SetSelectionMark(impl.hwnd, row);
  }
  impl.announcedRow = impl.selectedRow();
}

void ListView::ensureVisible(int row) {
  ListView_EnsureVisible(impl_->hwnd, row, FALSE);
}

int ListView::topRow() const {
  return ListView_GetTopIndex(impl_->hwnd);
}

ListView::Cell ListView::hitTest(Point client) const {
  const Window::Impl& window = impl_->host();
  POINT point{window.scaled(client.x), window.scaled(client.y)};
  MapWindowPoints(window.hwnd, impl_->hwnd, &point, 1);
  RECT inside;
  GetClientRect(impl_->hwnd, &inside);
  if (!PtInRect(&inside, point)) return {};
  // The header lies over the top of the client area: a point on it is on no
  // row (Wine's hit test finds the first row there).
  RECT header;
  if (GetWindowRect(ListView_GetHeader(impl_->hwnd), &header)) {
    MapWindowPoints(nullptr, impl_->hwnd, reinterpret_cast<POINT*>(&header), 2);
    if (PtInRect(&header, point)) return {};
  }
  return state(*impl_).hitTestPixels(point);
}

Rect ListView::cellRect(int row, int column) const {
  if (row < 0 || column < 0 || column >= columnCount()) return {};
  RECT cell{};
  cell.top = column;
  cell.left = LVIR_BOUNDS;
  if (!SendMessageW(impl_->hwnd, LVM_GETSUBITEMRECT, row, reinterpret_cast<LPARAM>(&cell)))
    return {};
  // For the first column the list gives the whole row.
  if (column == 0) cell.right = cell.left + ListView_GetColumnWidth(impl_->hwnd, 0);
  const Window::Impl& window = impl_->host();
  MapWindowPoints(impl_->hwnd, window.hwnd, reinterpret_cast<POINT*>(&cell), 2);
  int left = window.unscaled(cell.left);
  int top = window.unscaled(cell.top);
  return {left, top, window.unscaled(cell.right) - left, window.unscaled(cell.bottom) - top};
}

}  // namespace hf::ui
