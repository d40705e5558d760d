// The parts of the contract fixture that both backends share.
#include "contract/backend.h"

#include <random>
#include <system_error>

#include "platform/event_loop.h"

namespace contract {
namespace {

namespace fs = std::filesystem;

// Unique across processes and worktrees that run the same test at once.
fs::path newFolderFor(const testing::TestInfo& test) {
  std::random_device random;
  const std::string name = std::string("hf-") + test.test_suite_name() + "-" + test.name() + "-" +
                           std::to_string(random()) + "-";
  fs::path folder = fs::temp_directory_path() / name;
  folder += fs::path(u8"保存");
  fs::create_directories(folder);
  return folder;
}

// Files marked read-only cannot be deleted under Windows: unmark them first.
void removeFolder(const fs::path& folder) {
  std::error_code ignored;
  for (const auto& entry : fs::recursive_directory_iterator(folder, ignored))
    fs::permissions(entry.path(), fs::perms::owner_write, fs::perm_options::add, ignored);
  fs::remove_all(folder, ignored);
}

}  // namespace

void BackendTest::SetUp() {
  folder_ = newFolderFor(*testing::UnitTest::GetInstance()->current_test_info());
  startBackend();
}

void BackendTest::TearDown() {
  endBackend();
  removeFolder(folder_);
}

bool BackendTest::waitFor(const std::function<bool()>& condition, int ms) {
  const std::int64_t deadline = hf::loop::nowMs() + ms;
  while (!condition()) {
    if (hf::loop::nowMs() >= deadline) return false;
    hf::loop::pause(10);
  }
  return true;
}

void WindowTest::SetUp() {
  BackendTest::SetUp();
  window_ = std::make_unique<hf::ui::Window>(hf::ui::Window::Args{"hotfill contract", {460, 627}});
  if (!exists(*window_)) GTEST_SKIP() << "no display to make windows on";
  hf::loop::processPending();
}

void WindowTest::TearDown() {
  window_.reset();
  BackendTest::TearDown();
}

}  // namespace contract
