#include "office_objects.h"

#include <oleauto.h>

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "dispatch_object.h"
#include "office_state.h"
#include "office_window.h"

namespace office_server {
namespace {

// How an argument shows in the log.
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

// An argument as text, converted as the application converts it.
std::wstring textOf(const VARIANT& value) {
  VARIANT converted;
  VariantInit(&converted);
  std::wstring out;
  if (SUCCEEDED(VariantChangeType(&converted, const_cast<VARIANT*>(&value), 0, VT_BSTR)))
    out.assign(converted.bstrVal, SysStringLen(converted.bstrVal));
  VariantClear(&converted);
  return out;
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

// The application hangs in a paste (a dialog of another process, an add-in
// gone astray) when asked to: its one thread answers nothing, not even its
// window, until the release file appears; then the paste goes on.
void hangIfAsked() {
  if (office.pasteHangsUntil.empty()) return;
  logLine(L"hangs in a paste");
  while (GetFileAttributesW(office.pasteHangsUntil.c_str()) == INVALID_FILE_ATTRIBUTES) Sleep(100);
}

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

// Sets Visible; the window shows on the first true.
Answer visible(WORD flags, const Object::Args& args, VARIANT& value) {
  if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
    if (args.size() != 1) return {DISP_E_BADPARAMCOUNT};
    VARIANT shown;
    VariantInit(&shown);
    if (FAILED(VariantChangeType(&shown, args[0], 0, VT_BOOL))) return {DISP_E_TYPEMISMATCH};
    if (shown.boolVal != VARIANT_FALSE)
      showWindow();
    else
      hideWindow();
    return {};
  }
  value.vt = VT_BOOL;
  value.boolVal = windowVisible() ? VARIANT_TRUE : VARIANT_FALSE;
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
      hangIfAsked();
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
      hangIfAsked();
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

}  // namespace

IClassFactory& applicationFactory() {
  static servers::Factory<Application> factory;
  return factory;
}

}  // namespace office_server
