// An out-of-process automation server for the tests of the IDispatch layer,
// standing in for an office application. Its one object answers by name:
//   Name      a text property (get and put)
//   Echo(x)   gives x back
//   Busy()    refuses as a server with a dialog open does (call rejected)
//   Hang(ms)  answers only after ms milliseconds, its thread blocked meanwhile
//             (an application that hangs)
//   Quit()    answers, then the process ends, as when the user closes the
//             application: later calls find no server
// Run with -Embedding by COM; it ends once the last reference is gone.
#include <windows.h>

#include <oleauto.h>

#include <string>

#include "dispatch_object.h"

namespace {

// {6F0B7E52-3C1D-4E7A-9A51-2B8C5D0E4F17}
constexpr CLSID kServerClass = {
    0x6f0b7e52, 0x3c1d, 0x4e7a, {0x9a, 0x51, 0x2b, 0x8c, 0x5d, 0x0e, 0x4f, 0x17}};

enum : DISPID { kName = 1, kEcho, kBusy, kHang, kQuit };

DWORD mainThread = 0;

class TestObject final : public servers::DispatchObject {
 public:
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                          DISPID* ids) override {
    static const struct {
      const wchar_t* name;
      DISPID id;
    } kMembers[] = {
        {L"Name", kName}, {L"Echo", kEcho}, {L"Busy", kBusy}, {L"Hang", kHang}, {L"Quit", kQuit}};
    HRESULT result = S_OK;
    for (UINT i = 0; i < count; ++i) {
      ids[i] = DISPID_UNKNOWN;
      for (const auto& member : kMembers)
        if (lstrcmpiW(names[i], member.name) == 0) ids[i] = member.id;
      if (ids[i] == DISPID_UNKNOWN) result = DISP_E_UNKNOWNNAME;
    }
    return result;
  }

  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO*, UINT*) override {
    switch (id) {
      case kName:
        if (flags & DISPATCH_PROPERTYPUT) {
          if (params->cArgs != 1 || params->rgvarg[0].vt != VT_BSTR) return DISP_E_TYPEMISMATCH;
          name_.assign(params->rgvarg[0].bstrVal, SysStringLen(params->rgvarg[0].bstrVal));
          return S_OK;
        }
        if (result) {
          result->vt = VT_BSTR;
          result->bstrVal = SysAllocStringLen(name_.data(), static_cast<UINT>(name_.size()));
        }
        return S_OK;
      case kEcho:
        if (params->cArgs != 1) return DISP_E_BADPARAMCOUNT;
        return result ? VariantCopy(result, &params->rgvarg[0]) : S_OK;
      case kBusy:
        return RPC_E_CALL_REJECTED;
      case kHang:
        if (params->cArgs != 1 || params->rgvarg[0].vt != VT_I4) return DISP_E_TYPEMISMATCH;
        Sleep(static_cast<DWORD>(params->rgvarg[0].lVal));
        return S_OK;
      case kQuit:
        PostThreadMessageW(mainThread, WM_APP, 0, 0);
        return S_OK;
    }
    return DISP_E_MEMBERNOTFOUND;
  }

 private:
  std::wstring name_ = L"测试";
};

void CALLBACK quitNow(HWND, UINT, UINT_PTR, DWORD) {
  ExitProcess(0);
}

}  // namespace

void servers::lastObjectGone() {
  PostThreadMessageW(mainThread, WM_QUIT, 0, 0);
}

int main() {
  mainThread = GetCurrentThreadId();
  CoInitialize(nullptr);
  static servers::Factory<TestObject> factory;
  DWORD cookie = 0;
  if (FAILED(CoRegisterClassObject(kServerClass, &factory, CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE,
                                   &cookie)))
    return 1;
  // A server nobody connects to does not stay behind.
  SetTimer(nullptr, 0, 60000, nullptr);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    // Quit: gone without a goodbye, once its answer is on the way.
    if (message.message == WM_APP) SetTimer(nullptr, 0, 300, quitNow);
    if (message.message == WM_TIMER && servers::liveObjects == 0) break;
    DispatchMessageW(&message);
  }
  CoRevokeClassObject(cookie);
  CoUninitialize();
  return 0;
}
