// Whole-file access of the headless backend, on a real folder.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>

#include "platform/files.h"
#include "platform/headless/simulation.h"

namespace {

namespace fs = std::filesystem;
namespace files = hf::files;

class WholeFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "hf-files-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    folder = pattern;
    hf::headless::reset(folder);
  }
  void TearDown() override { fs::remove_all(folder); }

  std::set<fs::path> folderContent() const {
    std::set<fs::path> names;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) names.insert(entry.path());
    return names;
  }

  fs::path folder;
};

TEST_F(WholeFiles, ProgramFolderIsTheOneGivenToReset) {
  EXPECT_EQ(files::programFolder(), folder);
}

TEST_F(WholeFiles, ReplaceOverwritesTheWholeFile) {
  const fs::path file = folder / "entries.txt";
  ASSERT_TRUE(files::replaceWhole(file, std::string(5000, 'x')));
  ASSERT_TRUE(files::replaceWhole(file, std::string("a\0b\r\n", 5)));

  EXPECT_EQ(files::readWhole(file), std::string("a\0b\r\n", 5));
  EXPECT_EQ(folderContent(), std::set<fs::path>{file});  // no temporary left beside it
}

TEST_F(WholeFiles, FailedReplaceLeavesNoTraceAndTheTargetUntouched) {
  const fs::path taken = folder / "taken";
  ASSERT_TRUE(files::createFolder(taken / "inner"));
  const auto before = folderContent();

  EXPECT_FALSE(files::replaceWhole(folder / "missing" / "a.txt", "bytes"));
  EXPECT_FALSE(files::replaceWhole(taken, "bytes"));  // a folder stands where the file would go

  EXPECT_EQ(folderContent(), before);
}

TEST_F(WholeFiles, FilesReplacedTogetherAreAllNewOrAllOld) {
  const fs::path first = folder / "first.txt";
  const fs::path second = folder / "second.txt";
  ASSERT_TRUE(files::replaceWhole(first, "old 1"));
  ASSERT_TRUE(files::replaceWhole(second, "old 2"));

  EXPECT_FALSE(files::replaceTogether({{first, "new 1"}, {folder / "missing" / "b.txt", "x"}}));
  EXPECT_EQ(files::readWhole(first), "old 1");
  EXPECT_EQ(folderContent(), (std::set<fs::path>{first, second}));

  EXPECT_TRUE(files::replaceTogether({{first, "new 1"}, {second, "new 2"}}));
  EXPECT_EQ(files::readWhole(first), "new 1");
  EXPECT_EQ(files::readWhole(second), "new 2");
  EXPECT_EQ(folderContent(), (std::set<fs::path>{first, second}));
}

TEST_F(WholeFiles, ReadRefusesMissingFoldersAndFilesOverTheLimit) {
  const fs::path file = folder / "ten.txt";
  ASSERT_TRUE(files::replaceWhole(file, "0123456789"));

  EXPECT_EQ(files::readWhole(file, 10), "0123456789");
  EXPECT_EQ(files::readWhole(file, 9), std::nullopt);
  EXPECT_EQ(files::readWhole(folder / "none.txt"), std::nullopt);
  EXPECT_EQ(files::readWhole(folder), std::nullopt);
  EXPECT_EQ(files::readWhole(folder / "empty.txt"), std::nullopt);
  ASSERT_TRUE(files::replaceWhole(folder / "empty.txt", ""));
  EXPECT_EQ(files::readWhole(folder / "empty.txt"), "");
}

TEST_F(WholeFiles, CreateFolderMakesTheWholePath) {
  const fs::path nested = folder / "a" / "b";
  EXPECT_FALSE(files::exists(nested));
  EXPECT_TRUE(files::createFolder(nested));
  EXPECT_TRUE(files::createFolder(nested));
  EXPECT_TRUE(files::exists(nested));

  ASSERT_TRUE(files::replaceWhole(folder / "plain", "x"));
  EXPECT_FALSE(files::createFolder(folder / "plain"));
}

}  // namespace
