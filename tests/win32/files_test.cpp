// The program folder under the win32 backend; what files do is tested for
// both backends in contract/files_test.cpp.
#include "platform/files.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>

namespace {

TEST(ProgramFolder, IsTheFolderOfTheExecutable) {
  EXPECT_TRUE(std::filesystem::is_regular_file(hf::files::programFolder() / "hf_win32_tests.exe"));
}

// A picture another program holds open without sharing its deletion stays,
// and the removal says it did not finish.
TEST(RemoveFolder, SaysSoWhenAFileInItIsHeldOpen) {
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "hotfill-held";
  std::filesystem::remove_all(folder);
  ASSERT_TRUE(hf::files::createFolder(folder));
  const std::filesystem::path held = folder / "held.bmp";
  ASSERT_TRUE(hf::files::replaceWhole(held, "BM"));
  HANDLE file = CreateFileW(held.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(hf::files::removeFolder(folder));
  EXPECT_TRUE(hf::files::exists(held));
  CloseHandle(file);
  EXPECT_TRUE(hf::files::removeFolder(folder));
}

}  // namespace
