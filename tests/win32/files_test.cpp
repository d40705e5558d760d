#include "platform/files.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

namespace {

namespace fs = std::filesystem;
using namespace hf::files;

std::set<fs::path> namesIn(const fs::path& folder) {
  std::set<fs::path> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename());
  return names;
}

class Files : public testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() /
              (L"hf-files-" + std::to_wstring(GetCurrentProcessId()) + L"-\u4FDD\u5B58");
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override {
    for (const auto& entry : fs::directory_iterator(folder_))
      SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
    fs::remove_all(folder_);
  }
  fs::path folder_;
};

TEST_F(Files, ReplaceWritesNewFilesAndReplacesOldOnesWholly) {
  fs::path target = folder_ / L"\u6761\u76EE.txt";
  std::string first("GBK \xD6\xD0 and a zero \0 byte", 26);
  ASSERT_TRUE(replaceWhole(target, first));
  EXPECT_EQ(readWhole(target), first);

  ASSERT_TRUE(replaceWhole(target, "short"));
  EXPECT_EQ(readWhole(target), "short");
  ASSERT_TRUE(replaceWhole(target, ""));
  EXPECT_EQ(readWhole(target), "");
  EXPECT_EQ(namesIn(folder_), std::set<fs::path>{target.filename()}) << "a temporary file was left";
}

TEST_F(Files, ReplaceIntoMissingFolderFailsWithoutLeavingAnything) {
  EXPECT_FALSE(replaceWhole(folder_ / "missing" / "a.txt", "bytes"));
  EXPECT_TRUE(namesIn(folder_).empty());
}

TEST_F(Files, ReplaceOfReadOnlyFileFailsAndKeepsIt) {
  fs::path target = folder_ / "locked.txt";
  ASSERT_TRUE(replaceWhole(target, "old"));
  SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_READONLY);
  HANDLE probe = CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (probe != INVALID_HANDLE_VALUE) {
    CloseHandle(probe);
    GTEST_SKIP() << "this system does not enforce read-only files";
  }
  EXPECT_FALSE(replaceWhole(target, "new"));
  EXPECT_EQ(readWhole(target), "old");
  EXPECT_EQ(namesIn(folder_), std::set<fs::path>{"locked.txt"});
}

TEST_F(Files, FilesReplacedTogetherAreAllNewOrAllOld) {
  fs::path first = folder_ / "first.txt";
  fs::path second = folder_ / "second.txt";
  ASSERT_TRUE(replaceWhole(first, "old 1"));
  ASSERT_TRUE(replaceWhole(second, "old 2"));

  EXPECT_FALSE(replaceTogether({{first, "new 1"}, {folder_ / "missing" / "b.txt", "x"}}));
  EXPECT_EQ(readWhole(first), "old 1");
  EXPECT_EQ(namesIn(folder_), (std::set<fs::path>{"first.txt", "second.txt"}));

  EXPECT_TRUE(replaceTogether({{first, "new 1"}, {second, "new 2"}}));
  EXPECT_EQ(readWhole(first), "new 1");
  EXPECT_EQ(readWhole(second), "new 2");
  EXPECT_EQ(namesIn(folder_), (std::set<fs::path>{"first.txt", "second.txt"}));
}

TEST_F(Files, ReadRefusesMissingAndOversizedFiles) {
  fs::path target = folder_ / "ten.bin";
  ASSERT_TRUE(replaceWhole(target, "0123456789"));
  EXPECT_EQ(readWhole(target, 10), "0123456789");
  EXPECT_EQ(readWhole(target, 9), std::nullopt);
  EXPECT_EQ(readWhole(folder_ / "none.bin"), std::nullopt);
}

TEST_F(Files, CreateFolderSucceedsWhenTheFolderExistsAfterwards) {
  fs::path created = folder_ / L"\u622A\u56FE";  // 截图
  EXPECT_TRUE(createFolder(created));
  EXPECT_TRUE(hf::files::exists(created));
  EXPECT_TRUE(createFolder(created));

  ASSERT_TRUE(replaceWhole(folder_ / "plain", "x"));
  EXPECT_FALSE(createFolder(folder_ / "plain"));
  EXPECT_FALSE(createFolder(folder_ / "plain" / "sub"));
}

TEST(ProgramFolder, IsTheFolderOfTheExecutable) {
  EXPECT_TRUE(fs::is_regular_file(programFolder() / "hf_win32_tests.exe"));
}

}  // namespace
