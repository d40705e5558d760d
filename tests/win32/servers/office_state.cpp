#include "office_state.h"

#include <windows.h>

#include <cwctype>

namespace office_server {

Office office;

std::shared_ptr<Document> activeDocument() {
  return office.documents.empty() ? nullptr : office.documents.back();
}

std::shared_ptr<Workbook> activeWorkbook() {
  return office.workbooks.empty() ? nullptr : office.workbooks.back();
}

std::shared_ptr<Sheet> activeSheet() {
  const auto workbook = activeWorkbook();
  return workbook ? workbook->active : nullptr;
}

std::wstring columnName(int column) {
  std::wstring name;
  for (; column > 0; column = (column - 1) / 26)
    name.insert(name.begin(), static_cast<wchar_t>(L'A' + (column - 1) % 26));
  return name;
}

bool parseAddress(const std::wstring& address, Cell& cell) {
  size_t at = 0;
  int column = 0;
  for (; at < address.size() && iswalpha(address[at]); ++at)
    column = column * 26 + (towupper(address[at]) - L'A' + 1);
  int row = 0;
  const size_t digits = at;
  for (; at < address.size() && iswdigit(address[at]); ++at) row = row * 10 + (address[at] - L'0');
  if (column == 0 || digits == at || at != address.size() || row == 0) return false;
  cell = {row, column};
  return true;
}

// ---- the log ---------------------------------------------------------------

namespace {

std::string utf8(const std::wstring& text) {
  if (text.empty()) return {};
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string out(size, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
                      nullptr, nullptr);
  return out;
}

// One write per line in append mode: a restarted server adds to the same log.
void appendTo(const std::wstring& path, const std::wstring& line) {
  HANDLE file = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  const std::string bytes = utf8(line + L"\n");
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

}  // namespace

std::wstring quoted(const std::wstring& text) {
  std::wstring out = L"\"";
  for (wchar_t c : text) {
    const wchar_t* escape = c == L'\r'   ? L"\\r"
                            : c == L'\n' ? L"\\n"
                            : c == L'\t' ? L"\\t"
                            : c == L'\\' ? L"\\\\"
                            : c == L'"'  ? L"\\\""
                                         : nullptr;
    if (escape)
      out += escape;
    else
      out += c;
  }
  return out + L"\"";
}

void logLine(const std::wstring& line) {
  appendTo(office.log, line);
}

// Replaced whole, so a reader never sees half of it.
void writeContents() {
  std::wstring text;
  for (const auto& document : office.documents)
    text += L"文档" + std::to_wstring(document->number) + L" " + quoted(document->text) + L"\n";
  for (const auto& workbook : office.workbooks)
    for (const auto& sheet : workbook->sheets)
      for (const auto& [cell, value] : sheet->cells)
        text += L"工作簿" + std::to_wstring(workbook->number) + L" " + sheet->name + L" " +
                columnName(cell.second) + std::to_wstring(cell.first) + L" " + quoted(value) +
                L"\n";
  const std::wstring path = office.log + L".contents";
  const std::wstring temporary = path + L".new";
  HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  const std::string bytes = utf8(text);
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
  MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
}

}  // namespace office_server
