#pragma once

// What the test servers' automation objects share: counted references,
// IUnknown, IDispatch without type information, and a class factory that
// makes a new object for each client.
#include <windows.h>

#include <oleauto.h>

namespace servers {

// Objects of this process that some client still holds.
inline LONG liveObjects = 0;
// Each server's own: runs when the last object has gone.
void lastObjectGone();

class DispatchObject : public IDispatch {
 public:
  DispatchObject() { InterlockedIncrement(&liveObjects); }
  virtual ~DispatchObject() = default;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (riid == IID_IUnknown || riid == IID_IDispatch) {
      *out = static_cast<IDispatch*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = InterlockedDecrement(&references_);
    if (left == 0) {
      delete this;
      if (InterlockedDecrement(&liveObjects) == 0) lastObjectGone();
    }
    return left;
  }

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }

 private:
  LONG references_ = 1;
};

// Lives as long as the process; each CreateInstance hands out a new T.
template <class T>
class Factory final : public IClassFactory {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (riid == IID_IUnknown || riid == IID_IClassFactory) {
      *out = static_cast<IClassFactory*>(this);
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** out) override {
    if (outer) return CLASS_E_NOAGGREGATION;
    auto* object = new T;
    const HRESULT result = object->QueryInterface(riid, out);
    object->Release();
    return result;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

}  // namespace servers
