// Whole-file access: replaced atomically or not at all, read whole or not at all.
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "contract/backend.h"
#include "platform/files.h"

namespace {

namespace fs = std::filesystem;
namespace files = hf::files;

class WholeFiles : public contract::BackendTest {
 protected:
  // Everything in the test's folder, by path relative to it.
  std::set<fs::path> content() const {
    std::set<fs::path> names;
    for (const auto& entry : fs::recursive_directory_iterator(folder()))
      names.insert(fs::relative(entry.path(), folder()));
    return names;
  }
};

std::string everyByteValue() {
  std::string bytes;
  for (int value = 0; value < 256; ++value) bytes += static_cast<char>(value);
  return bytes;
}

TEST_F(WholeFiles, ReplaceWritesTheBytesAsTheyAreAndReplacesTheOldFileWholly) {
  const fs::path file = folder() / fs::path(u8"条目.txt");
  const std::vector<std::string> contents = {std::string(5000, 'x'), everyByteValue(),
                                             "a\r\nb\n\rc\x1A" + everyByteValue(), "short", ""};
  for (const std::string& bytes : contents) {
    SCOPED_TRACE(bytes.size());
    ASSERT_TRUE(files::replaceWhole(file, bytes));
    EXPECT_EQ(files::readWhole(file), bytes);
  }
  EXPECT_EQ(content(), std::set<fs::path>{file.filename()}) << "a temporary file was left";
}

TEST_F(WholeFiles, FailedReplaceLeavesTheTargetAndNoTrace) {
  struct Case {
    const char* what;
    fs::path target;
  };
  const fs::path taken = folder() / "taken";
  ASSERT_TRUE(files::createFolder(taken / "inner"));
  const std::vector<Case> cases = {
      {"missing folder", folder() / "missing" / "a.txt"},
      {"a folder where the file would go", taken},
  };
  const auto before = content();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_FALSE(files::replaceWhole(c.target, "bytes"));
    EXPECT_EQ(content(), before);
  }
}

TEST_F(WholeFiles, FilesReplacedTogetherAreAllNewOrAllOld) {
  const fs::path first = folder() / "first.txt";
  const fs::path second = folder() / "second.txt";
  ASSERT_TRUE(files::replaceWhole(first, "old 1"));
  ASSERT_TRUE(files::replaceWhole(second, "old 2"));

  EXPECT_FALSE(files::replaceTogether({{first, "new 1"}, {folder() / "missing" / "b.txt", "x"}}));
  EXPECT_EQ(files::readWhole(first), "old 1");
  EXPECT_EQ(content(), (std::set<fs::path>{"first.txt", "second.txt"}));

  EXPECT_TRUE(files::replaceTogether({{first, "new 1"}, {second, "new 2"}}));
  EXPECT_EQ(files::readWhole(first), "new 1");
  EXPECT_EQ(files::readWhole(second), "new 2");
  EXPECT_EQ(content(), (std::set<fs::path>{"first.txt", "second.txt"}));
}

TEST_F(WholeFiles, ReadOnlyFileIsKeptAsItWas) {
  const fs::path file = folder() / "locked.txt";
  ASSERT_TRUE(files::replaceWhole(file, "old"));
  fs::permissions(file, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  if (!refusesWritingReadOnlyFiles(file)) GTEST_SKIP() << "read-only files are writable here";

  EXPECT_FALSE(files::replaceWhole(file, "new"));
  EXPECT_EQ(files::readWhole(file), "old");
  EXPECT_EQ(content(), std::set<fs::path>{"locked.txt"});
}

TEST_F(WholeFiles, ReadGivesNothingForMissingFilesFoldersAndFilesOverTheLimit) {
  const fs::path ten = folder() / "ten.bin";
  const fs::path empty = folder() / "empty.bin";
  ASSERT_TRUE(files::replaceWhole(ten, "0123456789"));
  EXPECT_EQ(files::readWhole(ten, 10), "0123456789");
  EXPECT_EQ(files::readWhole(ten, 9), std::nullopt);
  EXPECT_EQ(files::readWhole(folder() / "none.bin"), std::nullopt);
  EXPECT_EQ(files::readWhole(folder()), std::nullopt);

  EXPECT_EQ(files::readWhole(empty), std::nullopt);
  ASSERT_TRUE(files::replaceWhole(empty, ""));
  EXPECT_EQ(files::readWhole(empty), "");  // an empty file is content, not its absence
}

TEST_F(WholeFiles, RemoveFolderTakesEverythingInItAndAMissingOneIsFine) {
  const fs::path pictures = folder() / fs::path(u8"找图");
  ASSERT_TRUE(files::createFolder(pictures / "sub"));
  ASSERT_TRUE(files::replaceWhole(pictures / fs::path(u8"2019年12月12日8时.bmp"), "BM"));
  ASSERT_TRUE(files::replaceWhole(pictures / "sub" / "b.bmp", "BM"));
  EXPECT_TRUE(files::removeFolder(pictures));
  EXPECT_FALSE(files::exists(pictures));
  EXPECT_TRUE(files::exists(folder()));
  EXPECT_TRUE(files::removeFolder(pictures));
}

TEST_F(WholeFiles, CreateFolderMakesTheWholePathAndSaysWhetherTheFolderIsThere) {
  const fs::path nested = folder() / fs::path(u8"截图") / "b";
  EXPECT_FALSE(files::exists(nested));
  EXPECT_TRUE(files::createFolder(nested));
  EXPECT_TRUE(files::exists(nested));
  EXPECT_TRUE(files::createFolder(nested));  // already there

  const fs::path plain = folder() / "plain";
  ASSERT_TRUE(files::replaceWhole(plain, "x"));
  EXPECT_TRUE(files::exists(plain));
  EXPECT_FALSE(files::createFolder(plain));
  EXPECT_FALSE(files::createFolder(plain / "sub"));
}

}  // namespace
