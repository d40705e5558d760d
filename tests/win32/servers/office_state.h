#pragma once

// What the stand-in office application holds: its documents or workbooks,
// and the two files a test reads, the log of the calls it answered and the
// contents of its documents.
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace office_server {

struct Document {
  int number = 0;
  std::wstring text;
};

using Cell = std::pair<int, int>;  // row, column; 1-based

struct Sheet {
  std::wstring name;
  std::map<Cell, std::wstring> cells;
};

struct Workbook {
  int number = 0;
  std::vector<std::shared_ptr<Sheet>> sheets;
  std::shared_ptr<Sheet> active;
};

struct Office {
  bool spreadsheet = false;
  std::wstring log;
  // A file: while it does not exist, a paste hangs (empty: none does).
  std::wstring pasteHangsUntil;
  std::vector<std::shared_ptr<Document>> documents;  // the last one is active
  std::vector<std::shared_ptr<Workbook>> workbooks;  // likewise
  int nextNumber = 1;
};

// The one application of this process.
extern Office office;

// The applications' names: their window titles begin with them, and the
// errors they report come from them.
inline constexpr wchar_t kWordTitle[] = L"假文字处理";
inline constexpr wchar_t kSheetTitle[] = L"假表格";

std::shared_ptr<Document> activeDocument();
std::shared_ptr<Workbook> activeWorkbook();
std::shared_ptr<Sheet> activeSheet();

std::wstring columnName(int column);
// "B12" → {12, 2}; false for anything else.
bool parseAddress(const std::wstring& address, Cell& cell);

// The text in quotes, with its line breaks, tabs, quotes and backslashes escaped.
std::wstring quoted(const std::wstring& text);
// Appends one line to the log.
void logLine(const std::wstring& line);
// Rewrites LOG.contents from what the documents hold.
void writeContents();

}  // namespace office_server
