// A stand-in office application for the end-to-end tests of the Word and
// Excel working modes: an out-of-process automation server that plays a word
// processor or a spreadsheet and logs every call it answers.
//
//   hf_office_server.exe word|sheet {CLSID} LOG [-Embedding]
//
// It registers its class under the CLSID it is given (REGCLS_MULTIPLEUSE:
// one application per process, as the real ones are single-instance) and
// appends one UTF-8 line per call to LOG:
//   create                       a client created the application
//   get Documents                a property read (or a method called as one)
//   put Visible true             a property written: true/false, numbers, "texts"
//   call TypeText "\r\n"         a method with its arguments
//   call Paste -> "alpha"        what went into the document, or a result
//   get Count -> 2
//   get Selection -> error 0x800A1098
//   unknown Save                 a member it does not have
//   user closes 文档1            what the user did in its window (Ctrl+W, closing it)
// After every change LOG.contents holds what the documents hold: one line
// `文档1 "text"` per open document, or `工作簿1 Sheet1 A1 "text"` per cell.
//
// Word processor: Documents (Add, Count), Selection (Paste, TypeText),
// Visible. Spreadsheet: ActiveWorkbook (Sheets, ActiveSheet), Workbooks (Add,
// Count), ActiveSheet (UsedRange, Range), Range(address) (PasteSpecial,
// Rows, Columns, Count), Visible. Once Visible, a window shows the active
// document or workbook; closing it ends the application as a user closing it
// does (clients find the server gone); Ctrl+W in it closes the active
// document or workbook and leaves the application running.
#include <windows.h>

#include <oleauto.h>

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "dispatch_object.h"

namespace {

// ---- the documents -------------------------------------------------------

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
  std::vector<std::shared_ptr<Document>> documents;  // the last one is active
  std::vector<std::shared_ptr<Workbook>> workbooks;  // likewise
  int nextNumber = 1;
  HWND window = nullptr;
};

Office office;
DWORD mainThread = 0;
DWORD registration = 0;

constexpr UINT kMaybeIdle = WM_APP + 1;
constexpr wchar_t kWindowClass[] = L"HotfillFakeOffice";
constexpr wchar_t kWordTitle[] = L"假文字处理";
constexpr wchar_t kSheetTitle[] = L"假表格";
constexpr int kShownColumns = 8;
constexpr int kShownRows = 16;

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

// "B12" → {12, 2}; false for anything else.
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

std::string utf8(const std::wstring& text) {
  if (text.empty()) return {};
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string out(size, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
                      nullptr, nullptr);
  return out;
}

std::wstring quoted(const std::wstring& text) {
  std::wstring out = L"\"";
  for (wchar_t c : text) {
    switch (c) {
      case L'\r':
        out += L"\\r";
        break;
      case L'\n':
        out += L"\\n";
        break;
      case L'\t':
        out += L"\\t";
        break;
      case L'\\':
        out += L"\\\\";
        break;
      case L'"':
        out += L"\\\"";
        break;
      default:
        out += c;
    }
  }
  return out + L"\"";
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

std::wstring describe(const VARIANT& value) {
  switch (value.vt) {
    case VT_BOOL:
      return value.boolVal != VARIANT_FALSE ? L"true" : L"false";
    case VT_BSTR:
      return quoted(std::wstring(value.bstrVal, SysStringLen(value.bstrVal)));
    case VT_EMPTY:
      return L"empty";
    case VT_DISPATCH:
      return L"object";
    default: {
      VARIANT number;
      VariantInit(&number);
      if (SUCCEEDED(VariantChangeType(&number, const_cast<VARIANT*>(&value), 0, VT_I4)))
        return std::to_wstring(number.lVal);
      return L"vt" + std::to_wstring(value.vt);
    }
  }
}

std::wstring textOf(const VARIANT& value) {
  VARIANT converted;
  VariantInit(&converted);
  std::wstring out;
  if (SUCCEEDED(VariantChangeType(&converted, const_cast<VARIANT*>(&value), 0, VT_BSTR)))
    out.assign(converted.bstrVal, SysStringLen(converted.bstrVal));
  VariantClear(&converted);
  return out;
}

// ---- what changes the window shows -------------------------------------------

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

void changed() {
  writeContents();
  if (!office.window) return;
  SetWindowTextW(office.window, windowTitle().c_str());
  InvalidateRect(office.window, nullptr, TRUE);
}

std::wstring clipboardText() {
  for (int attempt = 0; attempt < 20; ++attempt) {
    if (OpenClipboard(nullptr)) {
      std::wstring text;
      if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
          text = chars;
          GlobalUnlock(data);
        }
      }
      CloseClipboard();
      return text;
    }
    Sleep(25);
  }
  return {};
}

// ---- objects answering by name -------------------------------------------

// The answer of one member: the HRESULT, what the log adds after "->", and
// for DISP_E_EXCEPTION the error the application reports.
struct Answer {
  HRESULT result = S_OK;
  std::wstring note;
  HRESULT scode = 0;
  std::wstring description;
};

Answer failure(HRESULT scode, const wchar_t* description) {
  return {DISP_E_EXCEPTION, {}, scode, description};
}

// Word's "no document is open" and Excel's general failure of a call.
constexpr HRESULT kNoDocument = static_cast<HRESULT>(0x800A1098);
constexpr HRESULT kCallFailed = static_cast<HRESULT>(0x800A03EC);

class Object : public servers::DispatchObject {
 public:
  using Args = std::vector<VARIANT*>;  // in the caller's order

  explicit Object(std::vector<const wchar_t*> members) : members_(std::move(members)) {}

  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                          DISPID* ids) override {
    HRESULT result = S_OK;
    for (UINT i = 0; i < count; ++i) {
      ids[i] = DISPID_UNKNOWN;
      for (size_t m = 0; m < members_.size(); ++m)
        if (lstrcmpiW(names[i], members_[m]) == 0) ids[i] = static_cast<DISPID>(m + 1);
      if (ids[i] == DISPID_UNKNOWN) {
        logLine(std::wstring(L"unknown ") + names[i]);
        result = DISP_E_UNKNOWNNAME;
      }
    }
    return result;
  }

  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* exception, UINT*) override {
    if (id < 1 || static_cast<size_t>(id) > members_.size()) return DISP_E_MEMBERNOTFOUND;
    const std::wstring member = members_[id - 1];
    Args args;
    for (UINT i = params ? params->cArgs : 0; i > 0; --i) args.push_back(&params->rgvarg[i - 1]);

    std::wstring line = (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) ? L"put "
                        : (flags & DISPATCH_PROPERTYGET)                           ? L"get "
                                                                                   : L"call ";
    line += member;
    for (const VARIANT* arg : args) line += L" " + describe(*arg);

    VARIANT answer;
    VariantInit(&answer);
    const Answer done = invoke(member, flags, args, answer);
    if (done.result == DISP_E_EXCEPTION) {
      line += L" -> error 0x" + hex(done.scode);
      if (exception) {
        *exception = EXCEPINFO{};
        exception->scode = done.scode;
        exception->bstrSource = SysAllocString(office.spreadsheet ? kSheetTitle : kWordTitle);
        exception->bstrDescription = SysAllocString(done.description.c_str());
      }
    } else if (FAILED(done.result)) {
      line += L" -> error 0x" + hex(done.result);
    } else if (!done.note.empty()) {
      line += L" -> " + done.note;
    }
    logLine(line);
    if (result)
      *result = answer;
    else
      VariantClear(&answer);
    return done.result;
  }

 protected:
  // Answers the member; `value` is the result, an object or a value.
  virtual Answer invoke(const std::wstring& member, WORD flags, const Args& args,
                        VARIANT& value) = 0;

  static bool is(const std::wstring& member, const wchar_t* name) {
    return lstrcmpiW(member.c_str(), name) == 0;
  }
  static bool isPut(WORD flags) {
    return (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
  }
  // Hands out a new object: the caller gets its one reference.
  static Answer give(VARIANT& value, Object* object) {
    value.vt = VT_DISPATCH;
    value.pdispVal = object;
    return {};
  }
  // The property holds no object (Nothing).
  static Answer nothing(VARIANT& value) {
    value.vt = VT_DISPATCH;
    value.pdispVal = nullptr;
    return {S_OK, L"nothing"};
  }
  static Answer number(VARIANT& value, int n) {
    value.vt = VT_I4;
    value.lVal = n;
    return {S_OK, std::to_wstring(n)};
  }

 private:
  static std::wstring hex(HRESULT code) {
    wchar_t digits[16];
    wsprintfW(digits, L"%08X", static_cast<unsigned>(code));
    return digits;
  }

  std::vector<const wchar_t*> members_;
};

void showWindow();

// Sets Visible; the window shows on the first true.
Answer visible(WORD flags, const Object::Args& args, VARIANT& value) {
  if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
    if (args.size() != 1) return {DISP_E_BADPARAMCOUNT};
    VARIANT shown;
    VariantInit(&shown);
    if (FAILED(VariantChangeType(&shown, args[0], 0, VT_BOOL))) return {DISP_E_TYPEMISMATCH};
    if (shown.boolVal != VARIANT_FALSE)
      showWindow();
    else if (office.window)
      ShowWindow(office.window, SW_HIDE);
    return {};
  }
  value.vt = VT_BOOL;
  value.boolVal = office.window && IsWindowVisible(office.window) ? VARIANT_TRUE : VARIANT_FALSE;
  return {};
}

// A count of things and the way to add one (Documents, Workbooks, Sheets).
class Collection final : public Object {
 public:
  enum class Of { Documents, Workbooks, Sheets };
  Collection(Of of, std::weak_ptr<Workbook> workbook = {})
      : Object({L"Add", L"Count"}), of_(of), workbook_(std::move(workbook)) {}

 protected:
  Answer invoke(const std::wstring& member, WORD, const Args&, VARIANT& value) override;

 private:
  Of of_;
  std::weak_ptr<Workbook> workbook_;  // whose sheets
};

// Cells of a sheet: a single cell from Range("B2"), or the used range, whose
// Rows and Columns count its rows and columns.
class Range final : public Object {
 public:
  enum class Counting { Cells, Rows, Columns };
  Range(std::weak_ptr<Sheet> sheet, Cell first, Cell last, Counting counting = Counting::Cells)
      : Object({L"PasteSpecial", L"Rows", L"Columns", L"Count"}),
        sheet_(std::move(sheet)),
        first_(first),
        last_(last),
        counting_(counting) {}

 protected:
  Answer invoke(const std::wstring& member, WORD, const Args&, VARIANT& value) override {
    const auto sheet = sheet_.lock();
    if (!sheet) return failure(kCallFailed, L"对象已关闭。");
    if (is(member, L"PasteSpecial")) {
      const std::wstring pasted = clipboardText();
      sheet->cells[first_] = pasted;
      changed();
      return {S_OK, quoted(pasted)};
    }
    if (is(member, L"Rows")) return give(value, new Range(sheet_, first_, last_, Counting::Rows));
    if (is(member, L"Columns"))
      return give(value, new Range(sheet_, first_, last_, Counting::Columns));
    const int rows = last_.first - first_.first + 1;
    const int columns = last_.second - first_.second + 1;
    return number(value, counting_ == Counting::Rows      ? rows
                         : counting_ == Counting::Columns ? columns
                                                          : rows * columns);
  }

 private:
  std::weak_ptr<Sheet> sheet_;
  Cell first_;
  Cell last_;
  Counting counting_;
};

Answer rangeOf(const std::weak_ptr<Sheet>& sheet, const Object::Args& args, VARIANT& value) {
  if (args.size() != 1) return {DISP_E_BADPARAMCOUNT};
  Cell cell;
  if (!parseAddress(textOf(*args[0]), cell)) return failure(kCallFailed, L"无效的单元格地址。");
  value.vt = VT_DISPATCH;
  value.pdispVal = new Range(sheet, cell, cell);
  return {};
}

class Worksheet final : public Object {
 public:
  explicit Worksheet(std::weak_ptr<Sheet> sheet)
      : Object({L"UsedRange", L"Range", L"Name"}), sheet_(std::move(sheet)) {}

 protected:
  Answer invoke(const std::wstring& member, WORD, const Args& args, VARIANT& value) override {
    const auto sheet = sheet_.lock();
    if (!sheet) return failure(kCallFailed, L"对象已关闭。");
    if (is(member, L"Range")) return rangeOf(sheet_, args, value);
    if (is(member, L"Name")) {
      value.vt = VT_BSTR;
      value.bstrVal = SysAllocString(sheet->name.c_str());
      return {S_OK, quoted(sheet->name)};
    }
    // The used range of a sheet with nothing in it is A1, as the real one says.
    Cell last{1, 1};
    for (const auto& [cell, text] : sheet->cells) {
      last.first = std::max(last.first, cell.first);
      last.second = std::max(last.second, cell.second);
    }
    return give(value, new Range(sheet_, {1, 1}, last));
  }

 private:
  std::weak_ptr<Sheet> sheet_;
};

class WorkbookObject final : public Object {
 public:
  explicit WorkbookObject(std::weak_ptr<Workbook> workbook)
      : Object({L"Sheets", L"ActiveSheet"}), workbook_(std::move(workbook)) {}

 protected:
  Answer invoke(const std::wstring& member, WORD, const Args&, VARIANT& value) override {
    const auto workbook = workbook_.lock();
    if (!workbook) return failure(kCallFailed, L"工作簿已关闭。");
    if (is(member, L"Sheets"))
      return give(value, new Collection(Collection::Of::Sheets, workbook_));
    return workbook->active ? give(value, new Worksheet(workbook->active)) : nothing(value);
  }

 private:
  std::weak_ptr<Workbook> workbook_;
};

std::shared_ptr<Sheet> addSheet(Workbook& workbook) {
  auto sheet = std::make_shared<Sheet>();
  sheet->name = L"Sheet" + std::to_wstring(workbook.sheets.size() + 1);
  workbook.sheets.push_back(sheet);
  workbook.active = sheet;
  return sheet;
}

Answer Collection::invoke(const std::wstring& member, WORD, const Args&, VARIANT& value) {
  if (of_ == Of::Sheets) {
    const auto workbook = workbook_.lock();
    if (!workbook) return failure(kCallFailed, L"工作簿已关闭。");
    if (is(member, L"Count")) return number(value, static_cast<int>(workbook->sheets.size()));
    const auto sheet = addSheet(*workbook);
    changed();
    give(value, new Worksheet(sheet));
    return {S_OK, sheet->name};
  }
  if (of_ == Of::Documents) {
    if (is(member, L"Count")) return number(value, static_cast<int>(office.documents.size()));
    auto document = std::make_shared<Document>();
    document->number = office.nextNumber++;
    office.documents.push_back(document);
    changed();
    value.vt = VT_EMPTY;  // a document object is not needed by anyone here
    return {S_OK, L"文档" + std::to_wstring(document->number)};
  }
  if (is(member, L"Count")) return number(value, static_cast<int>(office.workbooks.size()));
  auto workbook = std::make_shared<Workbook>();
  workbook->number = office.nextNumber++;
  addSheet(*workbook);
  office.workbooks.push_back(workbook);
  changed();
  give(value, new WorkbookObject(workbook));
  return {S_OK, L"工作簿" + std::to_wstring(workbook->number)};
}

// The word processor's insertion point, in the active document.
class Selection final : public Object {
 public:
  Selection() : Object({L"Paste", L"TypeText"}) {}

 protected:
  Answer invoke(const std::wstring& member, WORD, const Args& args, VARIANT&) override {
    const auto document = activeDocument();
    if (!document) return failure(kNoDocument, L"没有打开的文档，该命令无效。");
    if (is(member, L"Paste")) {
      const std::wstring pasted = clipboardText();
      document->text += pasted;
      changed();
      return {S_OK, quoted(pasted)};
    }
    if (args.size() != 1) return {DISP_E_BADPARAMCOUNT};
    document->text += textOf(*args[0]);
    changed();
    return {};
  }
};

class Application final : public Object {
 public:
  // Each client gets its own handle on the one application of this process.
  Application()
      : Object(office.spreadsheet
                   ? std::vector<const wchar_t*>{L"ActiveWorkbook", L"Workbooks", L"ActiveSheet",
                                                 L"Range", L"Visible"}
                   : std::vector<const wchar_t*>{L"Documents", L"Selection", L"Visible"}) {
    logLine(L"create");
  }

 protected:
  Answer invoke(const std::wstring& member, WORD flags, const Args& args, VARIANT& value) override {
    if (is(member, L"Visible")) return visible(flags, args, value);
    if (isPut(flags)) return {DISP_E_MEMBERNOTFOUND};
    if (is(member, L"Documents")) return give(value, new Collection(Collection::Of::Documents));
    if (is(member, L"Selection")) {
      // The real one has no selection while no document is open.
      if (!activeDocument()) return failure(kNoDocument, L"没有打开的文档，该命令无效。");
      return give(value, new Selection);
    }
    if (is(member, L"Workbooks")) return give(value, new Collection(Collection::Of::Workbooks));
    if (is(member, L"ActiveWorkbook")) {
      const auto workbook = activeWorkbook();
      return workbook ? give(value, new WorkbookObject(workbook)) : nothing(value);
    }
    const auto sheet = activeSheet();
    if (is(member, L"ActiveSheet"))
      return sheet ? give(value, new Worksheet(sheet)) : nothing(value);
    if (!sheet) return failure(kCallFailed, L"没有打开的工作簿。");
    return rangeOf(sheet, args, value);
  }
};

// ---- the window ------------------------------------------------------------

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
      // The user quits: no new client may reach this process any more.
      logLine(L"user closes the application");
      CoRevokeClassObject(registration);
      registration = 0;
      DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

void showWindow() {
  if (!office.window) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kWindowClass;
    RegisterClassW(&windowClass);
    // Beside the end-to-end tests' target form (100,100 400x300) and left of the program.
    office.window =
        CreateWindowExW(0, kWindowClass, windowTitle().c_str(), WS_OVERLAPPEDWINDOW, 560, 100, 880,
                        420, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  }
  ShowWindow(office.window, SW_SHOW);
  UpdateWindow(office.window);
}

bool parseClassId(const wchar_t* text, CLSID& classId) {
  std::wstring copy(text);
  return SUCCEEDED(CLSIDFromString(copy.data(), &classId));
}

}  // namespace

void servers::lastObjectGone() {
  PostThreadMessageW(mainThread, kMaybeIdle, 0, 0);
}

int main() {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  CLSID classId{};
  if (argc < 4 || (lstrcmpW(argv[1], L"word") != 0 && lstrcmpW(argv[1], L"sheet") != 0) ||
      !parseClassId(argv[2], classId)) {
    const char usage[] = "usage: hf_office_server word|sheet {CLSID} LOG [-Embedding]\n";
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_ERROR_HANDLE), usage, sizeof usage - 1, &written, nullptr);
    return 2;
  }
  office.spreadsheet = lstrcmpW(argv[1], L"sheet") == 0;
  office.log = argv[3];
  LocalFree(argv);

  mainThread = GetCurrentThreadId();
  CoInitialize(nullptr);
  static servers::Factory<Application> factory;
  if (FAILED(CoRegisterClassObject(classId, &factory, CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE,
                                   &registration)))
    return 1;
  // Checks now and then whether anyone still holds the application.
  SetTimer(nullptr, 0, 60000, nullptr);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    // Nobody holds the application: a hidden one ends at once, as the real
    // ones do; one the user can see stays until a minute without clients.
    const bool idle = servers::liveObjects == 0;
    if (message.message == kMaybeIdle && idle && !(office.window && IsWindowVisible(office.window)))
      break;
    if (message.message == WM_TIMER && message.hwnd == nullptr && idle) break;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  if (registration) CoRevokeClassObject(registration);
  CoUninitialize();
  return 0;
}
