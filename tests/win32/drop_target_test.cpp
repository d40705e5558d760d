// Files dropped on a control: by an OLE drag from another process (the
// e2e_dragfiles helper, built next to this test) and by WM_DROPFILES.
#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "window_fixture.h"

namespace {

using Paths = std::vector<std::filesystem::path>;

// Out of order, with spaces and Chinese, as the user may pick them.
const Paths kFiles = {L"C:\\data\\zeta.txt", L"C:\\\u6570\u636E\\\u4E59 \u8868.csv",
                      L"D:\\alpha one.txt"};

std::filesystem::path dragHelper() {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  return std::filesystem::path(self).parent_path() / L"e2e" / L"e2e_dragfiles.exe";
}

std::wstring quoted(const std::wstring& argument) {
  return L"\"" + argument + L"\"";
}

class DropTargetTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    if (IsSkipped()) return;
    edit_ = std::make_unique<hf::ui::EditBox>(*window_,
                                              hf::ui::EditBox::Args{{10, 10, 300, 80}, "", true});
    hf::loop::processPending();
  }

  void acceptFiles() {
    edit_->acceptDroppedFiles([this](const Paths& paths) { drops_.push_back(paths); });
  }

  // Drags kFiles onto the middle of the edit box from a helper process, and
  // returns its exit code (0 taken, 2 refused) once it ended and every drop
  // was handed over; -1 when it did not end in time.
  int dragFromAnotherProcess() {
    const auto helper = dragHelper();
    if (!std::filesystem::exists(helper)) {
      ADD_FAILURE() << "build e2e_dragfiles first; not found at " << helper.string();
      return -1;
    }
    // Shown only here: destroying a shown window takes Wine two seconds.
    window_->moveTo({200, 150});
    window_->show();
    hf::loop::processPending();
    RECT box;
    GetWindowRect(hwndOf(*edit_), &box);
    std::wstring command = quoted(helper.wstring()) + L" " +
                           std::to_wstring((box.left + box.right) / 2) + L" " +
                           std::to_wstring((box.top + box.bottom) / 2);
    for (const auto& file : kFiles) command += L" " + quoted(file.wstring());

    STARTUPINFOW startup{sizeof(startup)};
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
      ADD_FAILURE() << "cannot start the helper, error " << GetLastError();
      return -1;
    }
    CloseHandle(process.hThread);
    // The drag calls into this thread, so events run while the helper works.
    const auto ended = [&] { return WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0; };
    const std::int64_t deadline = hf::loop::nowMs() + 10000;
    while (!ended() && hf::loop::nowMs() < deadline) hf::loop::pause(10);
    DWORD exitCode = DWORD(-1);
    if (ended()) GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hProcess);
    hf::loop::pause(50);  // the drop is handed over by a posted message
    return int(exitCode);
  }

  std::unique_ptr<hf::ui::EditBox> edit_;
  std::vector<Paths> drops_;
};

TEST_F(DropTargetTest, OleDragFromAnotherProgramHandsOverThePathsInOrder) {
  acceptFiles();
  EXPECT_EQ(dragFromAnotherProcess(), 0);
  ASSERT_EQ(drops_.size(), 1u);
  EXPECT_EQ(drops_[0], kFiles);
}

TEST_F(DropTargetTest, OleDragIsRefusedOnceTheControlStopsTakingFiles) {
  acceptFiles();
  edit_->acceptDroppedFiles({});
  EXPECT_EQ(dragFromAnotherProcess(), 2);
  EXPECT_TRUE(drops_.empty());
}

// A CF_HDROP block as the shell posts it with WM_DROPFILES.
HDROP fileList(const Paths& paths) {
  std::wstring text;
  for (const auto& path : paths) text += path.wstring() + L'\0';
  text += L'\0';
  const size_t textBytes = text.size() * sizeof(wchar_t);
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + textBytes);
  auto* header = static_cast<DROPFILES*>(GlobalLock(block));
  header->pFiles = sizeof(DROPFILES);
  header->fWide = TRUE;
  std::memcpy(reinterpret_cast<char*>(header) + sizeof(DROPFILES), text.data(), textBytes);
  GlobalUnlock(block);
  return static_cast<HDROP>(block);
}

bool marksItselfAsTakingFiles(HWND hwnd) {
  return (GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_ACCEPTFILES) != 0;
}

TEST_F(DropTargetTest, DropFilesMessageReachesTheLatestHandler) {
  Paths replaced;
  edit_->acceptDroppedFiles([&](const Paths& paths) { replaced = paths; });
  acceptFiles();
  EXPECT_TRUE(marksItselfAsTakingFiles(hwndOf(*edit_)));

  SendMessageW(hwndOf(*edit_), WM_DROPFILES, WPARAM(fileList(kFiles)), 0);
  EXPECT_TRUE(replaced.empty());
  ASSERT_EQ(drops_.size(), 1u);
  EXPECT_EQ(drops_[0], kFiles);

  edit_->acceptDroppedFiles({});
  EXPECT_FALSE(marksItselfAsTakingFiles(hwndOf(*edit_)));
}

}  // namespace
