// The program folder under the win32 backend; what files do is tested for
// both backends in contract/files_test.cpp.
#include "platform/files.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

TEST(ProgramFolder, IsTheFolderOfTheExecutable) {
  EXPECT_TRUE(std::filesystem::is_regular_file(hf::files::programFolder() / "hf_win32_tests.exe"));
}

}  // namespace
