// Files the user drops on a control under the headless backend.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/headless/simulation.h"
#include "platform/ui.h"

namespace {

using Paths = std::vector<std::filesystem::path>;
using hf::headless::dropFiles;

class DroppedFiles : public ::testing::Test {
 protected:
  void SetUp() override { hf::headless::reset(::testing::TempDir()); }

  void acceptInto(Paths& received) {
    edit.acceptDroppedFiles([&received](const Paths& paths) {
      received.insert(received.end(), paths.begin(), paths.end());
    });
  }

  hf::ui::Window window{{"main", {460, 480}}};
  hf::ui::EditBox edit{window, {{10, 10, 200, 22}}};
  const Paths files{"C:/data/zeta.txt", "C:/data/alpha.txt", "D:/m/mid.csv"};
};

TEST_F(DroppedFiles, ReachTheLatestHandlerInDropOrder) {
  Paths first, second;
  acceptInto(first);
  acceptInto(second);  // replaces the first handler
  EXPECT_TRUE(dropFiles(edit, files));
  EXPECT_TRUE(first.empty());
  EXPECT_EQ(second, files);
}

TEST_F(DroppedFiles, AHandlerMayStopTakingFilesWhileItRuns) {
  int drops = 0;
  edit.acceptDroppedFiles([&](const Paths&) {
    ++drops;
    edit.acceptDroppedFiles({});
  });
  EXPECT_TRUE(dropFiles(edit, files));
  EXPECT_FALSE(dropFiles(edit, files));
  EXPECT_EQ(drops, 1);
}

TEST_F(DroppedFiles, AreRefusedWhereNoDropCanLand) {
  struct Case {
    const char* what;
    bool accepts;
    std::function<void(hf::ui::EditBox&)> then;
  };
  const std::vector<Case> cases = {
      {"never accepted", false, [](auto&) {}},
      {"accepting stopped", true, [](auto& box) { box.acceptDroppedFiles({}); }},
      {"hidden", true, [](auto& box) { box.setVisible(false); }},
      {"disabled", true, [](auto& box) { box.setEnabled(false); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    hf::ui::EditBox box{window, {{10, 40, 200, 22}}};
    Paths received;
    if (c.accepts) box.acceptDroppedFiles([&](const Paths& paths) { received = paths; });
    c.then(box);
    EXPECT_FALSE(dropFiles(box, files));
    EXPECT_TRUE(received.empty());
  }
}

}  // namespace
