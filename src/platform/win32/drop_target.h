#pragma once

#include <windows.h>

#include <deque>
#include <filesystem>
#include <functional>
#include <vector>

namespace hf::ui {

// Takes files dropped on one control's window, both ways they arrive: as
// WM_DROPFILES (DragAcceptFiles), and through an OLE drop target, the only
// way drags from other programs arrive on some systems (Wine). Destroy it
// while the window still exists: that is when the window stops taking files.
class FileDropTarget {
 public:
  using Handler = std::function<void(const std::vector<std::filesystem::path>&)>;

  FileDropTarget(HWND hwnd, Handler handler);
  ~FileDropTarget();
  FileDropTarget(const FileDropTarget&) = delete;
  FileDropTarget& operator=(const FileDropTarget&) = delete;

  void setHandler(Handler handler) { handler_ = std::move(handler); }
  // Runs the handler for the window's drop messages and tells whether the
  // message was one. The handler may destroy this object.
  bool handle(UINT message, WPARAM wParam);

 private:
  class OleTarget;
  // An OLE drop is handed to the handler from a posted message, so that the
  // dragging program is not kept waiting while the handler runs.
  void post(std::vector<std::filesystem::path> paths);
  void hand(const std::vector<std::filesystem::path>& paths);

  HWND hwnd_;
  Handler handler_;
  std::deque<std::vector<std::filesystem::path>> posted_;
  OleTarget* oleTarget_ = nullptr;  // nullptr when OLE refused it
};

}  // namespace hf::ui
