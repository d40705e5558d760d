// Late-bound automation through IDispatch: members are looked up by name
// (GetIDsOfNames) and invoked with VARIANT arguments. Texts cross as BSTR,
// converted from and to GBK here. Every COM call runs on the call thread
// (call_thread.h), with its time limit.
#include "platform/automation.h"

#include <windows.h>

#include <oleauto.h>

#include <memory>
#include <optional>
#include <string>

#include "platform/input_gate.h"
#include "platform/win32/call_thread.h"
#include "platform/win32/wide_text.h"

namespace hf::automation {

using Home = std::weak_ptr<CallThread::State>;

struct Object::Impl {
  IDispatch* dispatch = nullptr;  // one reference, ours, of the call thread's apartment
  Home home;                      // where it is released
  Impl(IDispatch* owned, Home thread) : dispatch(owned), home(std::move(thread)) {}
  ~Impl() {
    CallThread::post(home, [dispatch = dispatch] { dispatch->Release(); });
  }
  Impl(const Impl&) = delete;
  Impl& operator=(const Impl&) = delete;
};

namespace {

// The call thread while an Apartment lives; apartments may nest.
std::unique_ptr<CallThread> callThread;
int apartments = 0;

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

Object adopt(IDispatch* dispatch, const Home& home) {
  return dispatch ? Object(std::make_shared<Object::Impl>(dispatch, home)) : Object();
}

Result<Variant> fromVariant(VARIANT& v, const Home& home) {
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
      return Variant{adopt(dispatch, home)};
    }
    case VT_UNKNOWN: {
      IDispatch* dispatch = nullptr;
      if (v.punkVal) v.punkVal->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch));
      return Variant{adopt(dispatch, home)};
    }
    default: {
      VARIANT converted;
      VariantInit(&converted);
      if (SUCCEEDED(VariantChangeType(&converted, &v, 0, VT_I4)))
        return Variant{int(converted.lVal)};
      if (SUCCEEDED(VariantChangeType(&converted, &v, 0, VT_BSTR))) {
        Result<Variant> text = fromVariant(converted, home);
        VariantClear(&converted);
        return text;
      }
      return errorOf(DISP_E_TYPEMISMATCH);
    }
  }
}

// Runs work on the call thread within the time limit; the work gets the
// thread's home for the objects it makes.
template <class T>
Result<T> onCallThread(int limitMs, std::function<Result<T>(const Home&)> work) {
  if (desktop::simulatedInputEnded()) return programClosing();
  if (!callThread) return errorOf(CO_E_NOTINITIALIZED);
  // Shared with the work, which may end after this call has given up on it.
  auto answer = std::make_shared<std::optional<Result<T>>>();
  const auto outcome =
      callThread->run([answer, work = std::move(work),
                       home = Home(callThread->releases())] { answer->emplace(work(home)); },
                      limitMs);
  switch (outcome) {
    case CallThread::Outcome::Done:
      return std::move(**answer);
    case CallThread::Outcome::Refused:
      return Error{kTimedOut, "an earlier call is still unanswered"};
    case CallThread::Outcome::TimedOut:
      return Error{kTimedOut, "no answer in time"};
    case CallThread::Outcome::Closing:
      break;
  }
  return programClosing();
}

Result<Variant> invokeNow(const Object::Impl& impl, const std::string& member, WORD flags,
                          const std::vector<Variant>& args, const Home& home) {
  std::wstring name = win32::widen(member);
  LPOLESTR names[] = {name.data()};
  DISPID id = DISPID_UNKNOWN;
  HRESULT result = impl.dispatch->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
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
  result = impl.dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
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
  Result<Variant> value = fromVariant(answer, home);
  VariantClear(&answer);
  return value;
}

Result<Variant> invoke(const std::shared_ptr<Object::Impl>& impl, std::string_view member,
                       WORD flags, const std::vector<Variant>& args) {
  if (!impl) return Error{kNoObject, "no object"};
  return onCallThread<Variant>(kCallTimeLimitMs,
                               [impl, name = std::string(member), flags, args](const Home& home) {
                                 return invokeNow(*impl, name, flags, args, home);
                               });
}

Result<Created> createNow(const std::vector<std::string>& progIds, const Home& home) {
  Error last = errorOf(CO_E_CLASSSTRING);
  for (const std::string& progId : progIds) {
    CLSID classId;
    HRESULT result = CLSIDFromProgID(win32::widen(progId).c_str(), &classId);
    if (SUCCEEDED(result)) {
      IDispatch* dispatch = nullptr;
      result = CoCreateInstance(classId, nullptr, CLSCTX_LOCAL_SERVER | CLSCTX_INPROC_SERVER,
                                IID_IDispatch, reinterpret_cast<void**>(&dispatch));
      if (SUCCEEDED(result) && dispatch) return Created{adopt(dispatch, home), progId};
      if (SUCCEEDED(result)) result = E_NOINTERFACE;
    }
    last = errorOf(result);
  }
  return last;
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

Apartment::Apartment() : opened_(SUCCEEDED(CoInitialize(nullptr))) {
  if (apartments++ == 0) callThread = std::make_unique<CallThread>();
}

Apartment::~Apartment() {
  if (--apartments == 0) callThread.reset();
  if (opened_) CoUninitialize();
}

bool awaitingLateAnswer() {
  return callThread && callThread->awaitingLateAnswer();
}

Result<Created> create(const std::vector<std::string>& progIds) {
  return onCallThread<Created>(kCreateTimeLimitMs,
                               [progIds](const Home& home) { return createNow(progIds, home); });
}

}  // namespace hf::automation
