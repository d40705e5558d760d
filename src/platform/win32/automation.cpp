// Late-bound automation through IDispatch: members are looked up by name
// (GetIDsOfNames) and invoked with VARIANT arguments. Texts cross as BSTR,
// converted from and to GBK here.
#include "platform/automation.h"

#include <windows.h>

#include <oleauto.h>

#include <string>

#include "platform/input_gate.h"
#include "platform/win32/wide_text.h"

namespace hf::automation {

struct Object::Impl {
  IDispatch* dispatch = nullptr;  // one reference, ours
  explicit Impl(IDispatch* owned) : dispatch(owned) {}
  ~Impl() { dispatch->Release(); }
  Impl(const Impl&) = delete;
  Impl& operator=(const Impl&) = delete;
};

namespace {

std::string systemText(HRESULT code) {
  wchar_t* buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text = length && buffer ? std::wstring(buffer, length) : std::wstring();
  if (buffer) LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' '))
    text.pop_back();
  if (text.empty()) {
    wchar_t hex[16];
    wsprintfW(hex, L"0x%08X", static_cast<unsigned>(code));
    text = hex;
  }
  return win32::narrow(text);
}

Error errorOf(HRESULT code) {
  return Error{static_cast<std::int32_t>(code), systemText(code)};
}

// The VARIANT for an argument; the caller clears it.
VARIANT toVariant(const Variant& value) {
  VARIANT v;
  VariantInit(&v);
  if (const bool* b = std::get_if<bool>(&value)) {
    v.vt = VT_BOOL;
    v.boolVal = *b ? VARIANT_TRUE : VARIANT_FALSE;
  } else if (const int* i = std::get_if<int>(&value)) {
    v.vt = VT_I4;
    v.lVal = *i;
  } else if (const std::string* s = std::get_if<std::string>(&value)) {
    const std::wstring wide = win32::widen(*s);
    v.vt = VT_BSTR;
    v.bstrVal = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
  } else if (const Object* o = std::get_if<Object>(&value); o && !o->empty()) {
    v.vt = VT_DISPATCH;
    v.pdispVal = o->impl()->dispatch;
    v.pdispVal->AddRef();
  }
  return v;
}

Object adopt(IDispatch* dispatch) {
  return dispatch ? Object(std::make_shared<Object::Impl>(dispatch)) : Object();
}

Result<Variant> fromVariant(VARIANT& v) {
  switch (v.vt) {
    case VT_EMPTY:
    case VT_NULL:
      return Variant{};
    case VT_BOOL:
      return Variant{v.boolVal != VARIANT_FALSE};
    case VT_BSTR:
      return Variant{win32::narrow(std::wstring_view(v.bstrVal, SysStringLen(v.bstrVal)))};
    case VT_DISPATCH: {
      IDispatch* dispatch = v.pdispVal;
      if (dispatch) dispatch->AddRef();
      return Variant{adopt(dispatch)};
    }
    case VT_UNKNOWN: {
      IDispatch* dispatch = nullptr;
      if (v.punkVal) v.punkVal->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch));
      return Variant{adopt(dispatch)};
    }
    default: {
      VARIANT converted;
      VariantInit(&converted);
      if (SUCCEEDED(VariantChangeType(&converted, &v, 0, VT_I4)))
        return Variant{int(converted.lVal)};
      if (SUCCEEDED(VariantChangeType(&converted, &v, 0, VT_BSTR))) {
        Result<Variant> text = fromVariant(converted);
        VariantClear(&converted);
        return text;
      }
      return errorOf(DISP_E_TYPEMISMATCH);
    }
  }
}

Result<Variant> invoke(const std::shared_ptr<Object::Impl>& impl, std::string_view member,
                       WORD flags, const std::vector<Variant>& args) {
  if (!impl) return Error{kNoObject, "no object"};
  if (desktop::simulatedInputEnded()) return programClosing();
  std::wstring name = win32::widen(member);
  LPOLESTR names[] = {name.data()};
  DISPID id = DISPID_UNKNOWN;
  HRESULT result = impl->dispatch->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(result)) return errorOf(result);

  // Arguments go in reverse order.
  std::vector<VARIANT> values;
  for (auto arg = args.rbegin(); arg != args.rend(); ++arg) values.push_back(toVariant(*arg));
  DISPID putId = DISPID_PROPERTYPUT;
  DISPPARAMS params{values.data(), nullptr, static_cast<UINT>(values.size()), 0};
  if (flags == DISPATCH_PROPERTYPUT) {
    params.rgdispidNamedArgs = &putId;
    params.cNamedArgs = 1;
  }
  VARIANT answer;
  VariantInit(&answer);
  EXCEPINFO exception{};
  UINT badArgument = 0;
  result = impl->dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                                  flags == DISPATCH_PROPERTYPUT ? nullptr : &answer, &exception,
                                  &badArgument);
  for (VARIANT& value : values) VariantClear(&value);

  if (result == DISP_E_EXCEPTION) {
    if (exception.pfnDeferredFillIn) exception.pfnDeferredFillIn(&exception);
    const HRESULT code = exception.scode ? exception.scode : DISP_E_EXCEPTION;
    std::string text =
        exception.bstrDescription
            ? win32::narrow(std::wstring_view(exception.bstrDescription,
                                              SysStringLen(exception.bstrDescription)))
            : systemText(code);
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrHelpFile);
    VariantClear(&answer);
    return Error{static_cast<std::int32_t>(code), text};
  }
  if (FAILED(result)) {
    VariantClear(&answer);
    return errorOf(result);
  }
  Result<Variant> value = fromVariant(answer);
  VariantClear(&answer);
  return value;
}

}  // namespace

Result<Variant> Object::get(std::string_view member, const std::vector<Variant>& args) const {
  // Some servers treat a property with arguments as a method (Range("A1")).
  return invoke(impl_, member, DISPATCH_PROPERTYGET | DISPATCH_METHOD, args);
}

Result<Variant> Object::put(std::string_view member, const Variant& value) const {
  return invoke(impl_, member, DISPATCH_PROPERTYPUT, {value});
}

Result<Variant> Object::call(std::string_view member, const std::vector<Variant>& args) const {
  return invoke(impl_, member, DISPATCH_METHOD, args);
}

Apartment::Apartment() : opened_(SUCCEEDED(CoInitialize(nullptr))) {}

Apartment::~Apartment() {
  if (opened_) CoUninitialize();
}

Result<Created> create(const std::vector<std::string>& progIds) {
  if (desktop::simulatedInputEnded()) return programClosing();
  Error last = errorOf(CO_E_CLASSSTRING);
  for (const std::string& progId : progIds) {
    CLSID classId;
    HRESULT result = CLSIDFromProgID(win32::widen(progId).c_str(), &classId);
    if (SUCCEEDED(result)) {
      IDispatch* dispatch = nullptr;
      result = CoCreateInstance(classId, nullptr, CLSCTX_LOCAL_SERVER | CLSCTX_INPROC_SERVER,
                                IID_IDispatch, reinterpret_cast<void**>(&dispatch));
      if (SUCCEEDED(result) && dispatch) return Created{adopt(dispatch), progId};
      if (SUCCEEDED(result)) result = E_NOINTERFACE;
    }
    last = errorOf(result);
  }
  return last;
}

}  // namespace hf::automation
