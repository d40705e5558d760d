#include "platform/win32/drop_target.h"

#include <windows.h>

#include <ole2.h>
#include <shellapi.h>

#include <string>

#include "platform/win32/ui_impl.h"

namespace hf::ui {
namespace {

using Paths = std::vector<std::filesystem::path>;

// Let drops in from less privileged programs (the shell when we run
// elevated). Looked up at run time: the call is missing before Windows 7,
// where nothing filters these messages.
void letDropMessagesThrough(HWND hwnd) {
  using AllowMessage = BOOL(WINAPI*)(HWND, UINT, DWORD, CHANGEFILTERSTRUCT*);
  static const auto allowMessage = reinterpret_cast<AllowMessage>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"user32.dll"), "ChangeWindowMessageFilterEx")));
  if (!allowMessage) return;
  constexpr UINT kCopyGlobalData = 0x0049;
  for (UINT message : {UINT(WM_DROPFILES), UINT(WM_COPYDATA), kCopyGlobalData})
    allowMessage(hwnd, message, MSGFLT_ALLOW, nullptr);
}

// OLE for the UI thread, the first thread that asks; kept for the process's life.
bool oleReady() {
  static const HRESULT result = OleInitialize(nullptr);
  return SUCCEEDED(result);
}

UINT oleDropMessage() {
  static const UINT message = RegisterWindowMessageW(L"hotfill.OleFilesDropped");
  return message;
}

Paths filesOf(HDROP drop) {
  Paths paths;
  const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    std::wstring name(DragQueryFileW(drop, i, nullptr, 0), L'\0');
    name.resize(DragQueryFileW(drop, i, name.data(), UINT(name.size() + 1)));
    paths.emplace_back(std::move(name));
  }
  return paths;
}

FORMATETC fileListFormat() {
  return {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
}

bool offersFiles(IDataObject* data) {
  FORMATETC format = fileListFormat();
  return data && data->QueryGetData(&format) == S_OK;
}

Paths filesIn(IDataObject* data) {
  FORMATETC format = fileListFormat();
  STGMEDIUM medium{};
  if (FAILED(data->GetData(&format, &medium))) return {};
  Paths paths;
  if (medium.tymed == TYMED_HGLOBAL) paths = filesOf(static_cast<HDROP>(medium.hGlobal));
  ReleaseStgMedium(&medium);
  return paths;
}

}  // namespace

// Registered with OLE, which may hold it past the owner's end: the owner
// detaches itself first.
class FileDropTarget::OleTarget final : public IDropTarget {
 public:
  explicit OleTarget(FileDropTarget& owner) : owner_(&owner) {}
  void detach() { owner_ = nullptr; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (iid != IID_IUnknown && iid != IID_IDropTarget) {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    *object = static_cast<IDropTarget*>(this);
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return left;
  }

  HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD, POINTL, DWORD* effect) override {
    accepting_ = owner_ && offersFiles(data);
    *effect = chosenEffect(*effect);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD* effect) override {
    *effect = chosenEffect(*effect);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE DragLeave() override {
    accepting_ = false;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) override {
    *effect = chosenEffect(*effect);
    accepting_ = false;
    if (*effect == DROPEFFECT_NONE || !owner_) return S_OK;
    Paths paths = filesIn(data);
    if (paths.empty()) {
      *effect = DROPEFFECT_NONE;
      return S_OK;
    }
    owner_->post(std::move(paths));
    return S_OK;
  }

 private:
  // The files are copied (read), never moved, whatever else the source allows.
  DWORD chosenEffect(DWORD allowed) const {
    return accepting_ && (allowed & DROPEFFECT_COPY) ? DROPEFFECT_COPY : DROPEFFECT_NONE;
  }

  LONG references_ = 1;
  FileDropTarget* owner_;
  bool accepting_ = false;  // the current drag offers files
};

FileDropTarget::FileDropTarget(HWND hwnd, Handler handler)
    : hwnd_(hwnd), handler_(std::move(handler)) {
  DragAcceptFiles(hwnd_, TRUE);
  letDropMessagesThrough(hwnd_);
  if (!oleReady()) return;
  oleTarget_ = new OleTarget(*this);
  if (FAILED(RegisterDragDrop(hwnd_, oleTarget_))) {
    oleTarget_->Release();
    oleTarget_ = nullptr;
  }
}

FileDropTarget::~FileDropTarget() {
  DragAcceptFiles(hwnd_, FALSE);
  if (!oleTarget_) return;
  oleTarget_->detach();
  RevokeDragDrop(hwnd_);
  oleTarget_->Release();
}

bool FileDropTarget::handle(UINT message, WPARAM wParam) {
  if (message == WM_DROPFILES) {
    auto drop = reinterpret_cast<HDROP>(wParam);
    Paths paths = filesOf(drop);
    DragFinish(drop);
    hand(paths);
    return true;
  }
  if (message != oleDropMessage()) return false;
  if (!posted_.empty()) {
    Paths paths = std::move(posted_.front());
    posted_.pop_front();
    hand(paths);
  }
  return true;
}

void FileDropTarget::post(Paths paths) {
  posted_.push_back(std::move(paths));
  PostMessageW(hwnd_, oleDropMessage(), 0, 0);
}

void FileDropTarget::hand(const Paths& paths) {
  if (!paths.empty()) raise(handler_, paths);
}

void Control::acceptDroppedFiles(std::function<void(const Paths& paths)> onDrop) {
  if (!onDrop) {
    impl_->fileDrop.reset();
  } else if (impl_->fileDrop) {
    impl_->fileDrop->setHandler(std::move(onDrop));
  } else if (impl_->hwnd) {
    impl_->fileDrop = std::make_unique<FileDropTarget>(impl_->hwnd, std::move(onDrop));
  }
}

}  // namespace hf::ui
