// The program folder under the headless backend; what files do is tested
// for both backends in contract/files_test.cpp.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/files.h"
#include "platform/headless/simulation.h"

namespace {

namespace fs = std::filesystem;

TEST(ProgramFolder, IsTheOneGivenToResetAndExists) {
  const fs::path folder = fs::path(::testing::TempDir()) / "hf-program-folder";
  fs::remove_all(folder);
  hf::headless::reset(folder);
  EXPECT_EQ(hf::files::programFolder(), folder);
  EXPECT_TRUE(fs::is_directory(folder));
  fs::remove_all(folder);
}

}  // namespace
