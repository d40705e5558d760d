// Test helper: drags files from this process onto a screen point with OLE,
// the way the shell does, and drops them there.
//   dragfiles X Y file1 [file2 ...]
// Exits 0 when the target took the files (copy), 2 when it refused them,
// 1 on bad arguments or failure.
#include <windows.h>

#include <ole2.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

namespace {

// The names as a CF_HDROP block: DROPFILES, then each UTF-16 name with its
// terminator, then one more terminator.
HGLOBAL fileList(const std::vector<std::wstring>& names) {
  std::wstring text;
  for (const auto& name : names) text += name + L'\0';
  text += L'\0';
  const size_t textBytes = text.size() * sizeof(wchar_t);
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + textBytes);
  if (!block) return nullptr;
  auto* header = static_cast<DROPFILES*>(GlobalLock(block));
  header->pFiles = sizeof(DROPFILES);
  header->fWide = TRUE;
  std::memcpy(reinterpret_cast<char*>(header) + sizeof(DROPFILES), text.data(), textBytes);
  GlobalUnlock(block);
  return block;
}

HGLOBAL copyOf(HGLOBAL block) {
  const SIZE_T size = GlobalSize(block);
  HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, size);
  if (!copy) return nullptr;
  std::memcpy(GlobalLock(copy), GlobalLock(block), size);
  GlobalUnlock(block);
  GlobalUnlock(copy);
  return copy;
}

// COM reference counting for the two objects: a stub that the target still
// holds may release them after the drag.
template <class Object, class Interface>
class RefCounted : public Interface {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (iid != IID_IUnknown && iid != __uuidof(Interface)) {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    *object = static_cast<Interface*>(this);
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete static_cast<Object*>(this);
    return left;
  }

 private:
  LONG references_ = 1;
};

class FileData final : public RefCounted<FileData, IDataObject> {
 public:
  explicit FileData(HGLOBAL files) : files_(files) {}
  ~FileData() { GlobalFree(files_); }

  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
    if (QueryGetData(format) != S_OK) return DV_E_FORMATETC;
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = copyOf(files_);
    medium->pUnkForRelease = nullptr;
    return medium->hGlobal ? S_OK : E_OUTOFMEMORY;
  }
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
    if (format->cfFormat != CF_HDROP) return DV_E_FORMATETC;
    if (!(format->tymed & TYMED_HGLOBAL)) return DV_E_TYMED;
    return format->dwAspect == DVASPECT_CONTENT ? S_OK : DV_E_DVASPECT;
  }
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
    out->ptd = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** formats) override {
    if (direction != DATADIR_GET) return E_NOTIMPL;
    FORMATETC offered = {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    return SHCreateStdEnumFmtEtc(1, &offered, formats);
  }
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
    return OLE_E_ADVISENOTSUPPORTED;
  }
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override {
    return OLE_E_ADVISENOTSUPPORTED;
  }

 private:
  HGLOBAL files_;
};

// Stands in for the user's hand: the cursor already rests on the target, so
// the drag moves over it once and then the button is "released".
class DropOnSecondLook final : public RefCounted<DropOnSecondLook, IDropSource> {
 public:
  HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD) override {
    if (escape) return DRAGDROP_S_CANCEL;
    return ++looks_ < 2 ? S_OK : DRAGDROP_S_DROP;
  }
  HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }

 private:
  int looks_ = 0;
};

int fail(const wchar_t* message) {
  fwprintf(stderr, L"dragfiles: %ls\n", message);
  return 1;
}

}  // namespace

int main() {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (!argv || argc < 4) return fail(L"usage: dragfiles X Y file1 [file2 ...]");
  const int x = _wtoi(argv[1]), y = _wtoi(argv[2]);
  const std::vector<std::wstring> names(argv + 3, argv + argc);
  LocalFree(argv);

  if (FAILED(OleInitialize(nullptr))) return fail(L"OleInitialize failed");
  HGLOBAL files = fileList(names);
  if (!files) return fail(L"out of memory");
  if (!SetCursorPos(x, y)) return fail(L"SetCursorPos failed");

  auto* data = new FileData(files);
  auto* source = new DropOnSecondLook;
  DWORD effect = DROPEFFECT_NONE;
  const HRESULT result = DoDragDrop(data, source, DROPEFFECT_COPY | DROPEFFECT_LINK, &effect);
  data->Release();
  source->Release();
  OleUninitialize();
  if (FAILED(result)) return fail(L"DoDragDrop failed");
  const bool taken = result == DRAGDROP_S_DROP && effect == DROPEFFECT_COPY;
  fwprintf(stderr, L"dragfiles: %ls\n", taken ? L"dropped" : L"refused");
  return taken ? 0 : 2;
}
