#include "office_window.h"

#include <windows.h>

#include <string>

#include "office_state.h"

namespace office_server {
namespace {

constexpr wchar_t kWindowClass[] = L"HotfillFakeOffice";
constexpr int kShownColumns = 8;
constexpr int kShownRows = 16;

HWND officeWindow = nullptr;
void (*userQuits)() = nullptr;

std::wstring windowTitle() {
  if (office.spreadsheet) {
    const auto workbook = activeWorkbook();
    return workbook ? std::wstring(kSheetTitle) + L" - 工作簿" + std::to_wstring(workbook->number)
                    : std::wstring(kSheetTitle);
  }
  const auto document = activeDocument();
  return document ? std::wstring(kWordTitle) + L" - 文档" + std::to_wstring(document->number)
                  : std::wstring(kWordTitle);
}

void paintDocument(HDC dc, RECT area) {
  const auto document = activeDocument();
  InflateRect(&area, -12, -10);
  const std::wstring shown = document ? document->text : L"（没有打开的文档）";
  DrawTextW(dc, shown.c_str(), static_cast<int>(shown.size()), &area,
            DT_LEFT | DT_TOP | DT_WORDBREAK | DT_NOPREFIX);
}

void paintSheet(HDC dc, RECT area) {
  const auto sheet = activeSheet();
  if (!sheet) {
    const wchar_t shown[] = L"（没有打开的工作簿）";
    DrawTextW(dc, shown, -1, &area, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    return;
  }
  constexpr int kHeaderWidth = 32, kCellWidth = 100, kCellHeight = 22;
  const HPEN grid = CreatePen(PS_SOLID, 1, RGB(200, 200, 200));
  const HGDIOBJ oldPen = SelectObject(dc, grid);
  for (int row = 0; row <= kShownRows; ++row) {
    for (int column = 0; column <= kShownColumns; ++column) {
      RECT cell{column == 0 ? 0 : kHeaderWidth + (column - 1) * kCellWidth, row * kCellHeight, 0,
                (row + 1) * kCellHeight};
      cell.right = cell.left + (column == 0 ? kHeaderWidth : kCellWidth);
      Rectangle(dc, cell.left, cell.top, cell.right + 1, cell.bottom + 1);
      std::wstring text;
      if (row == 0 && column > 0) text = columnName(column);
      if (column == 0 && row > 0) text = std::to_wstring(row);
      if (row > 0 && column > 0) {
        const auto found = sheet->cells.find({row, column});
        if (found != sheet->cells.end()) text = found->second;
      }
      InflateRect(&cell, -3, 0);
      DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &cell,
                ((row == 0 || column == 0) ? DT_CENTER : DT_LEFT) | DT_VCENTER | DT_SINGLELINE |
                    DT_NOPREFIX | DT_END_ELLIPSIS);
    }
  }
  SelectObject(dc, oldPen);
  DeleteObject(grid);
}

// Ctrl+W: the active document or workbook closes, the application stays.
void closeActive() {
  if (office.spreadsheet) {
    if (office.workbooks.empty()) return;
    logLine(L"user closes 工作簿" + std::to_wstring(office.workbooks.back()->number));
    office.workbooks.pop_back();
  } else {
    if (office.documents.empty()) return;
    logLine(L"user closes 文档" + std::to_wstring(office.documents.back()->number));
    office.documents.pop_back();
  }
  changed();
}

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      RECT area;
      GetClientRect(window, &area);
      FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
      const HFONT font = CreateFontW(-15, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                     0, 0, 0, 0, L"Tahoma");
      const HGDIOBJ oldFont = SelectObject(dc, font);
      SetBkMode(dc, TRANSPARENT);
      if (office.spreadsheet)
        paintSheet(dc, area);
      else
        paintDocument(dc, area);
      SelectObject(dc, oldFont);
      DeleteObject(font);
      EndPaint(window, &paint);
      return 0;
    }
    case WM_KEYDOWN:
      if (wparam == 'W' && GetKeyState(VK_CONTROL) < 0) closeActive();
      return 0;
    case WM_CLOSE:
      logLine(L"user closes the application");
      if (userQuits) userQuits();
      DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace

void changed() {
  writeContents();
  if (!officeWindow) return;
  SetWindowTextW(officeWindow, windowTitle().c_str());
  InvalidateRect(officeWindow, nullptr, TRUE);
}

void showWindow() {
  if (!officeWindow) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kWindowClass;
    RegisterClassW(&windowClass);
    // Beside the end-to-end tests' target form (100,100 400x300) and left of the program.
    officeWindow =
        CreateWindowExW(0, kWindowClass, windowTitle().c_str(), WS_OVERLAPPEDWINDOW, 560, 100, 880,
                        420, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  }
  ShowWindow(officeWindow, SW_SHOW);
  UpdateWindow(officeWindow);
}

void hideWindow() {
  if (officeWindow) ShowWindow(officeWindow, SW_HIDE);
}

bool windowVisible() {
  return officeWindow && IsWindowVisible(officeWindow);
}

void onUserQuit(void (*quit)()) {
  userQuits = quit;
}

}  // namespace office_server
