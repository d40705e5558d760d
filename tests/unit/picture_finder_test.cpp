#include "picture/picture_finder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <new>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include "picture/bmp.h"
#include "platform/files.h"
#include "platform/text_codec.h"

namespace hf::picture {
namespace {

namespace fs = std::filesystem;

Bitmap icon(std::uint32_t accent) {
  Bitmap picture(8, 5, 0x336699);
  picture.at(2, 1) = accent;
  picture.at(6, 3) = 0xFFFFFF;
  return picture;
}

class PictureFinderTest : public testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::path(testing::TempDir()) /
              ("hf-picture-finder-" +
               std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    screen_ = Bitmap(300, 200, 0xEEEEEE);
  }
  void TearDown() override { fs::remove_all(folder_); }

  void writeBmp(std::string_view gbkName, const Bitmap& picture) {
    const BmpData data = encodeBmp24(picture);
    ASSERT_TRUE(files::replaceWhole(folder_ / codec::pathFromGbk(gbkName),
                                    std::string(data.begin(), data.end())));
  }
  void plant(const Bitmap& picture, Point at) {
    for (int y = 0; y < picture.height; ++y)
      for (int x = 0; x < picture.width; ++x) screen_.at(at.x + x, at.y + y) = picture.at(x, y);
  }
  PictureFinder finder(PictureFinder::Decoder decode = {}) {
    return PictureFinder(
        std::move(decode), [this] { return std::optional<Bitmap>(screen_); },
        [this](Point at) { moves_.push_back(at); });
  }

  fs::path folder_;
  Bitmap screen_;
  std::vector<Point> moves_;
};

TEST_F(PictureFinderTest, FindPicEGivesIndexAndTopLeftCornerOrMinusOnes) {
  writeBmp("找图1.bmp", icon(0xCC0000));
  writeBmp("other.bmp", icon(0x00CC00));
  plant(icon(0xCC0000), {100, 50});
  PictureFinder pictures = finder();
  pictures.SetPath(folder_);
  EXPECT_EQ(pictures.FindPicE(0, 0, 2000, 2000, "找图1.bmp", "000000", 1.0, 0), "0|100|50");
  EXPECT_EQ(pictures.FindPicE(0, 0, 2000, 2000, "other.bmp", "000000", 1.0, 0), "-1|-1|-1");
  EXPECT_EQ(pictures.FindPicE(0, 0, 2000, 2000, "missing.bmp", "000000", 1.0, 0), "-1|-1|-1");
  EXPECT_EQ(pictures.FindPicE(0, 0, 2000, 2000, "", "000000", 1.0, 0), "-1|-1|-1");
  // The rectangle includes both corners.
  EXPECT_EQ(pictures.FindPicE(100, 50, 107, 54, "找图1.bmp", "000000", 1.0, 0), "0|100|50");
  EXPECT_EQ(pictures.FindPicE(100, 50, 106, 54, "找图1.bmp", "000000", 1.0, 0), "-1|-1|-1");
  EXPECT_EQ(pictures.FindPicE(101, 50, 2000, 2000, "找图1.bmp", "000000", 1.0, 0), "-1|-1|-1");
}

TEST_F(PictureFinderTest, SeveralNamesAreTriedInOrderAndTheIndexSaysWhichWasFound) {
  writeBmp("a.bmp", icon(0xCC0000));
  writeBmp("b.bmp", icon(0x00CC00));
  plant(icon(0x00CC00), {10, 20});
  plant(icon(0xCC0000), {200, 150});
  PictureFinder pictures = finder();
  pictures.SetPath(folder_);
  EXPECT_EQ(pictures.FindPicE(0, 0, 2000, 2000, "a.bmp|b.bmp", "000000", 1.0, 0), "0|200|150");
  EXPECT_EQ(pictures.FindPicE(0, 0, 2000, 2000, "missing.bmp|b.bmp", "000000", 1.0, 0), "1|10|20");
  EXPECT_EQ(pictures.FindPicE(0, 0, 150, 150, "a.bmp|b.bmp", "000000", 1.0, 0), "1|10|20");
}

TEST_F(PictureFinderTest, OtherFormatsGoToTheDecoderAndBrokenFilesAreNotFound) {
  ASSERT_TRUE(files::replaceWhole(folder_ / "icon.png", "\x89PNG\r\n"));
  ASSERT_TRUE(files::replaceWhole(folder_ / "broken.bmp", "BM\x10\x00"));
  plant(icon(0x0000CC), {0, 195});
  std::vector<fs::path> decoded;
  PictureFinder pictures = finder([&](const fs::path& path) -> std::optional<Bitmap> {
    decoded.push_back(path);
    return icon(0x0000CC);
  });
  pictures.SetPath(folder_);
  EXPECT_EQ(pictures.FindPicE(0, 0, 2000, 2000, "icon.png", "000000", 1.0, 0), "0|0|195");
  EXPECT_EQ(decoded, (std::vector<fs::path>{folder_ / "icon.png"}));
  EXPECT_EQ(pictures.FindPicE(0, 0, 2000, 2000, "broken.bmp", "000000", 1.0, 0), "-1|-1|-1");
  EXPECT_EQ(decoded.size(), 1u);
}

TEST_F(PictureFinderTest, NoScreenMeansNotFound) {
  writeBmp("a.bmp", icon(0xCC0000));
  PictureFinder pictures({}, [] { return std::optional<Bitmap>(); }, {});
  pictures.SetPath(folder_);
  EXPECT_EQ(pictures.FindPicE(0, 0, 2000, 2000, "a.bmp", "000000", 1.0, 0), "-1|-1|-1");
  pictures.MoveTo(1, 2);  // no mouse given: nothing happens
  pictures.UnBindWindow();
}

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool kAllocatorMayFail = false;  // the sanitizers end the program instead
#else
constexpr bool kAllocatorMayFail = true;
#endif

// Lets this process map only `more` bytes beyond what it has mapped now, as a
// 32-bit process runs out of address space.
void limitAddressSpaceTo(std::size_t more) {
  std::size_t pages = 0;
  std::ifstream("/proc/self/statm") >> pages;
  const rlim_t limit = pages * std::size_t(sysconf(_SC_PAGESIZE)) + more;
  const rlimit cut{limit, limit};
  if (setrlimit(RLIMIT_AS, &cut) != 0) std::exit(2);
}

// A black 1-bit BMP file as paint programs write one: a 40-byte header, a
// colour table of two colours, rows padded to 4 bytes.
std::string blackOneBitBmp(int width, int height) {
  const std::size_t stride = (std::size_t(width) + 31) / 32 * 4;
  const std::size_t pixelsAt = 14 + 40 + 8;
  std::string file(pixelsAt + stride * std::size_t(height), '\0');
  const auto put = [&](std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) file[at + i] = char(value >> (8 * i));
  };
  file[0] = 'B';
  file[1] = 'M';
  put(2, std::uint32_t(file.size()));
  put(10, std::uint32_t(pixelsAt));
  put(14, 40);
  put(18, std::uint32_t(width));
  put(22, std::uint32_t(height));
  put(26, 1 | (1 << 16));  // one plane, one bit per pixel
  put(58, 0xFFFFFF);       // the second colour, white
  return file;
}

// 8192 x 8192 pixels at one bit each: an 8 MB file whose pixels take 256 MB
// once read, more than the memory left. It is not read and not found, and
// the program goes on.
TEST_F(PictureFinderTest, APictureTooLargeForTheMemoryLeftIsNotReadAndNotFound) {
  if (!kAllocatorMayFail) GTEST_SKIP() << "an allocation that fails ends a sanitized program";
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  ASSERT_TRUE(files::replaceWhole(folder_ / "huge.bmp", blackOneBitBmp(8192, 8192)));
  PictureFinder pictures = finder();
  pictures.SetPath(folder_);
  EXPECT_EXIT(
      {
        limitAddressSpaceTo(std::size_t(96) << 20);
        const bool found =
            pictures.FindPicE(0, 0, 299, 199, "huge.bmp", "000000", 1.0, 0) != "-1|-1|-1";
        const bool read = pictures.readPicture(folder_ / "huge.bmp").has_value();
        std::exit(found || read ? 1 : 0);
      },
      testing::ExitedWithCode(0), "");
}

TEST_F(PictureFinderTest, AScreenTooLargeToGrabIsNoScreen) {
  writeBmp("a.bmp", icon(0xCC0000));
  PictureFinder pictures({}, []() -> std::optional<Bitmap> { throw std::bad_alloc(); }, {});
  pictures.SetPath(folder_);
  EXPECT_EQ(pictures.FindPicE(0, 0, 299, 199, "a.bmp", "000000", 1.0, 0), "-1|-1|-1");
}

TEST_F(PictureFinderTest, MoveToMovesTheMouse) {
  PictureFinder pictures = finder();
  pictures.MoveTo(120, 60);
  pictures.UnBindWindow();
  EXPECT_EQ(moves_, (std::vector<Point>{{120, 60}}));
}

TEST_F(PictureFinderTest, TwoThreadsSearchAtTheSameTime) {
  writeBmp("a.bmp", icon(0xCC0000));
  writeBmp("b.bmp", icon(0x00CC00));
  plant(icon(0xCC0000), {30, 40});
  plant(icon(0x00CC00), {130, 140});
  PictureFinder pictures = finder();
  pictures.SetPath(folder_);
  std::vector<std::string> workerResults;
  std::thread worker([&] {
    for (int i = 0; i < 20; ++i) {
      pictures.SetPath(folder_);
      workerResults.push_back(pictures.FindPicE(0, 0, 2000, 2000, "a.bmp", "000000", 1.0, 0));
    }
  });
  for (int i = 0; i < 20; ++i) {
    pictures.SetPath(folder_);
    EXPECT_EQ(pictures.FindPicE(0, 0, 2000, 2000, "b.bmp", "000000", 1.0, 0), "0|130|140");
  }
  worker.join();
  EXPECT_EQ(workerResults, std::vector<std::string>(20, "0|30|40"));
}

}  // namespace
}  // namespace hf::picture
