// Pictures of the screen, of windows and of the clipboard, and picture files.
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "contract/backend.h"
#include "platform/desktop.h"
#include "platform/files.h"
#include "platform/screen.h"

namespace {

using namespace std::string_literals;

namespace desktop = hf::desktop;
namespace screen = hf::screen;
using hf::Bitmap;
using hf::Point;
using hf::Rect;

// Neighbours differ in every channel, so that a shifted or flipped copy shows.
Bitmap pattern(int width, int height, int seed = 0) {
  Bitmap picture(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      picture.at(x, y) = Bitmap::pack({std::uint8_t(0x10 + 37 * x + 11 * y + seed),
                                       std::uint8_t(0x20 + 13 * x + 29 * y + 3 * seed),
                                       std::uint8_t(0x30 + 7 * x * y + 5 * x + 17 * y)});
    }
  }
  return picture;
}

Bitmap crop(const Bitmap& picture, Rect area) {
  Bitmap part(area.width, area.height);
  for (int y = 0; y < area.height; ++y)
    for (int x = 0; x < area.width; ++x) part.at(x, y) = picture.at(area.left + x, area.top + y);
  return part;
}

bool operator==(const Bitmap& a, const Bitmap& b) {
  return a.width == b.width && a.height == b.height && a.pixels == b.pixels;
}

class Screen : public contract::BackendTest {
 protected:
  // Shows the picture and waits until the screen shows it (the win32 window
  // paints when its events run).
  std::unique_ptr<PaintedWindow> show(Point origin, const Bitmap& picture) {
    auto window = showPaintedWindow(origin, picture);
    if (!window->id()) return nullptr;
    const Rect area{origin.x, origin.y, picture.width, picture.height};
    waitFor([&] { return screen::grabScreen(area) == picture; });
    return window;
  }
};

TEST_F(Screen, GrabsWhatIsPaintedWhereItIs) {
  const Bitmap picture = pattern(7, 5);
  const auto window = show({200, 150}, picture);
  if (!window) GTEST_SKIP() << "no display to show windows on";
  EXPECT_TRUE(screen::grabScreen({200, 150, 7, 5}) == picture);
  EXPECT_TRUE(crop(screen::grabScreen({198, 147, 11, 9}), {2, 3, 7, 5}) == picture);
  EXPECT_TRUE(screen::grabScreen({203, 151, 2, 3}) == crop(picture, {3, 1, 2, 3}));

  const Bitmap whole = screen::grabScreen();
  ASSERT_EQ((hf::Size{whole.width, whole.height}), desktop::screenSize());
  EXPECT_TRUE(crop(whole, {200, 150, 7, 5}) == picture);
}

// An area reaching past an edge of the screen gives the part on the screen.
TEST_F(Screen, CutsTheAreaToTheScreen) {
  const hf::Size size = desktop::screenSize();
  const Bitmap picture = pattern(4, 3);
  const Point corner{size.width - 4, size.height - 3};
  const auto window = show(corner, picture);
  if (!window) GTEST_SKIP() << "no display to show windows on";
  EXPECT_TRUE(screen::grabScreen({corner.x, corner.y, 10, 10}) == picture);
  EXPECT_TRUE(screen::grabScreen({corner.x + 1, corner.y + 2, 50, 50}) ==
              crop(picture, {1, 2, 3, 1}));

  struct Case {
    const char* what;
    Rect area;
    hf::Size expected;
  };
  const std::vector<Case> cases = {
      {"left of the screen", {-3, 0, 5, 2}, {2, 2}},
      {"above the screen", {0, -10, 1, 12}, {1, 2}},
      {"wholly beyond the right edge", {size.width, 0, 5, 5}, {0, 0}},
      {"wholly above", {0, -5, 5, 5}, {0, 0}},
      {"no width", {10, 10, 0, 5}, {0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const Bitmap grab = screen::grabScreen(c.area);
    EXPECT_EQ((hf::Size{grab.width, grab.height}), c.expected);
    EXPECT_EQ(grab.pixels.size(), std::size_t(c.expected.width) * c.expected.height);
  }
}

// A window paints itself into the grab, so a window above it does not show.
TEST_F(Screen, GrabsAWindowsClientAreaWithItsOriginEvenWhenCovered) {
  const Bitmap picture = pattern(9, 6);
  const auto window = show({300, 220}, picture);
  if (!window) GTEST_SKIP() << "no display to show windows on";
  const Bitmap cover = pattern(5, 5, 100);
  const auto above = show({302, 221}, cover);

  const auto grab = screen::grabWindow(window->id());
  ASSERT_TRUE(grab);
  EXPECT_TRUE(grab->client == picture);
  EXPECT_EQ(grab->clientOrigin, (Point{300, 220}));
  EXPECT_TRUE(crop(screen::grabScreen({300, 220, 9, 6}), {2, 1, 5, 5}) == cover);
}

// Where a click at a point would go: the window shown on top there, and
// once that one is gone, whatever lies below it.
TEST_F(Screen, TellsTheTopLevelWindowAtAPoint) {
  const auto below = show({300, 220}, pattern(20, 20));
  if (!below) GTEST_SKIP() << "no display to show windows on";
  const auto above = show({310, 220}, pattern(20, 20, 7));
  EXPECT_EQ(desktop::topLevelWindowAt({305, 230}), below->id());
  EXPECT_EQ(desktop::topLevelWindowAt({315, 230}), above->id());
  above->hide();
  EXPECT_TRUE(waitFor([&] { return desktop::topLevelWindowAt({315, 230}) == below->id(); }));
}

TEST_F(Screen, GrabsNothingOfAWindowThatIsNotShown) {
  struct Case {
    const char* what;
    void (*hide)(PaintedWindow&);
  };
  const std::vector<Case> cases = {
      {"minimised", [](PaintedWindow& w) { w.minimize(); }},
      {"hidden", [](PaintedWindow& w) { w.hide(); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const auto window = show({100, 100}, pattern(4, 4));
    if (!window) GTEST_SKIP() << "no display to show windows on";
    ASSERT_TRUE(screen::grabWindow(window->id()));
    c.hide(*window);
    EXPECT_FALSE(screen::grabWindow(window->id()));
  }
  EXPECT_FALSE(screen::grabWindow(0));
}

using ClipboardPicture = contract::BackendTest;

TEST_F(ClipboardPicture, RoundTripsExactPixels) {
  // Widths 1, 3 and 5 leave rows that are no multiple of 4 bytes at 3 bytes a pixel.
  for (const Bitmap& picture : {pattern(1, 1), pattern(3, 2), pattern(5, 4), pattern(64, 33)}) {
    SCOPED_TRACE(picture.width);
    ASSERT_TRUE(screen::setClipboardBitmap(picture));
    const auto read = screen::clipboardBitmap();
    ASSERT_TRUE(read);
    EXPECT_TRUE(*read == picture);
  }
  // The picture took the text's place.
  EXPECT_EQ(desktop::clipboardText(), "");
}

TEST_F(ClipboardPicture, IsNothingWhenTheClipboardHoldsNoPicture) {
  ASSERT_TRUE(screen::setClipboardBitmap(pattern(2, 2)));
  ASSERT_TRUE(desktop::setClipboardText("文字"));
  EXPECT_FALSE(screen::clipboardBitmap());
  emptyClipboard();
  EXPECT_FALSE(screen::clipboardBitmap());
  EXPECT_FALSE(screen::setClipboardBitmap(Bitmap()));
}

TEST_F(ClipboardPicture, IsNothingWhileAnotherProgramKeepsItOpen) {
  const Bitmap before = pattern(2, 3);
  ASSERT_TRUE(screen::setClipboardBitmap(before));
  {
    const auto holder = holdClipboard();
    EXPECT_FALSE(screen::clipboardBitmap());
    EXPECT_FALSE(screen::setClipboardBitmap(pattern(4, 4)));
  }
  const auto read = screen::clipboardBitmap();
  ASSERT_TRUE(read);
  EXPECT_TRUE(*read == before);
}

// Picture files written byte by byte: BMP rows bottom-up or top-down, PNG
// with stored (uncompressed) deflate blocks, GIF with a code table cleared
// before it grows past 3-bit codes.
std::string littleEndian(std::uint32_t value, int bytes) {
  std::string out;
  for (int i = 0; i < bytes; ++i) out += char((value >> (8 * i)) & 0xFF);
  return out;
}

std::string bigEndian32(std::uint32_t value) {
  return {char(value >> 24), char(value >> 16), char(value >> 8), char(value)};
}

std::string bmp(const Bitmap& picture, int bitsPerPixel, bool topDown) {
  const int stride = (picture.width * bitsPerPixel / 8 + 3) / 4 * 4;
  std::string rows;
  for (int r = 0; r < picture.height; ++r) {
    const int y = topDown ? r : picture.height - 1 - r;
    std::string row;
    for (int x = 0; x < picture.width; ++x) row += littleEndian(picture.at(x, y), bitsPerPixel / 8);
    row.resize(stride, '\0');
    rows += row;
  }
  const int height = topDown ? -picture.height : picture.height;
  return "BM" + littleEndian(54 + rows.size(), 4) + littleEndian(0, 4) + littleEndian(54, 4) +
         littleEndian(40, 4) + littleEndian(picture.width, 4) + littleEndian(height, 4) +
         littleEndian(1, 2) + littleEndian(bitsPerPixel, 2) + littleEndian(0, 4) +
         littleEndian(rows.size(), 4) + std::string(16, '\0') + rows;
}

std::uint32_t crc32(std::string_view bytes) {
  std::uint32_t crc = 0xFFFFFFFF;
  for (unsigned char byte : bytes) {
    crc ^= byte;
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320 & (0 - (crc & 1)));
  }
  return ~crc;
}

std::string pngChunk(std::string_view type, std::string_view data) {
  const std::string body = std::string(type) + std::string(data);
  return bigEndian32(data.size()) + body + bigEndian32(crc32(body));
}

// rows: each scanline's bytes, without the filter byte.
std::string png(int width, int height, int bitDepth, int colourType,
                const std::vector<std::string>& rows, const std::string& palette = "") {
  std::string raw;
  for (const std::string& row : rows) raw += '\0' + row;
  std::uint32_t a = 1;
  std::uint32_t b = 0;
  for (unsigned char byte : raw) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  const std::string zlib = std::string("\x78\x01\x01", 3) + littleEndian(raw.size(), 2) +
                           littleEndian(~raw.size() & 0xFFFF, 2) + raw + bigEndian32((b << 16) | a);
  const std::string header = bigEndian32(width) + bigEndian32(height) + char(bitDepth) +
                             char(colourType) + std::string(3, '\0');
  return "\x89PNG\r\n\x1a\n" + pngChunk("IHDR", header) +
         (palette.empty() ? "" : pngChunk("PLTE", palette)) + pngChunk("IDAT", zlib) +
         pngChunk("IEND", "");
}

// A picture of up to four colours, by palette index.
std::string gif(int width, int height, const std::vector<std::uint32_t>& colours,
                const std::vector<int>& indices) {
  std::string palette;
  for (int i = 0; i < 4; ++i) {
    const hf::Rgb c = Bitmap::unpack(i < int(colours.size()) ? colours[i] : 0);
    palette += {char(c.r), char(c.g), char(c.b)};
  }
  // Codes of 3 bits: clear 4, end 5. A clear before every second pixel keeps
  // the table from reaching 8 entries.
  std::vector<int> codes;
  for (std::size_t i = 0; i < indices.size(); ++i) {
    if (i % 2 == 0) codes.push_back(4);
    codes.push_back(indices[i]);
  }
  codes.push_back(5);
  std::string data;
  unsigned bits = 0;
  int count = 0;
  for (int code : codes) {
    bits |= unsigned(code) << count;
    count += 3;
    for (; count >= 8; count -= 8, bits >>= 8) data += char(bits & 0xFF);
  }
  if (count > 0) data += char(bits & 0xFF);
  return "GIF89a" + littleEndian(width, 2) + littleEndian(height, 2) + "\xF1" +
         std::string(2, '\0') + palette + "," + littleEndian(0, 4) + littleEndian(width, 2) +
         littleEndian(height, 2) + std::string(1, '\0') + "\x02" + char(data.size()) + data +
         std::string(1, '\0') + ";";
}

// 16 x 8: the left half RGB(200,40,40), the right half RGB(30,60,220); no
// chroma subsampling, so each 8 x 8 block is one flat colour.
const std::string kJpeg(
    "\xFF\xD8\xFF\xE0\x00\x10\x4A\x46\x49\x46\x00\x01\x01\x00\x00\x01\x00\x01"
    "\x00\x00\xFF\xDB\x00\x43\x00\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01"
    "\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01"
    "\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01"
    "\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\xFF"
    "\xDB\x00\x43\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01"
    "\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01"
    "\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01"
    "\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\xFF\xC0\x00\x11"
    "\x08\x00\x08\x00\x10\x03\x01\x11\x00\x02\x11\x01\x03\x11\x01\xFF\xC4\x00"
    "\x15\x00\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00"
    "\x08\x09\xFF\xC4\x00\x14\x10\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00"
    "\x00\x00\x00\x00\x00\x00\xFF\xC4\x00\x15\x01\x01\x01\x00\x00\x00\x00\x00"
    "\x00\x00\x00\x00\x00\x00\x00\x00\x00\x0A\x08\xFF\xC4\x00\x14\x11\x01\x00"
    "\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\xFF\xDA\x00"
    "\x0C\x03\x01\x00\x02\x11\x03\x11\x00\x3F\x00\x97\xE8\x9C\xA0\x06\x73\x80"
    "\x09\xF7\xFF\xD9",
    292);

Bitmap halves() {
  Bitmap picture(16, 8, 0xC82828);
  for (int y = 0; y < 8; ++y)
    for (int x = 8; x < 16; ++x) picture.at(x, y) = 0x1E3CDC;
  return picture;
}

bool nearlyEqual(const Bitmap& a, const Bitmap& b, int tolerance) {
  if (a.width != b.width || a.height != b.height) return false;
  for (std::size_t i = 0; i < a.pixels.size(); ++i) {
    const hf::Rgb p = Bitmap::unpack(a.pixels[i]);
    const hf::Rgb q = Bitmap::unpack(b.pixels[i]);
    if (std::abs(p.r - q.r) > tolerance || std::abs(p.g - q.g) > tolerance ||
        std::abs(p.b - q.b) > tolerance)
      return false;
  }
  return true;
}

class PictureFile : public contract::BackendTest {
 protected:
  std::filesystem::path write(const char* name, const std::string& bytes) {
    const auto path = folder() / name;
    EXPECT_TRUE(hf::files::replaceWhole(path, bytes));
    return path;
  }
};

TEST_F(PictureFile, DecodesEachFormat) {
  const Bitmap three = pattern(3, 2);
  // 3 x 2 of palette indices 2 0 1 / 1 2 0.
  const std::vector<std::uint32_t> colours = {0xFF0000, 0x00A040, 0x2030F0};
  Bitmap indexed(3, 2);
  const std::vector<int> indices = {2, 0, 1, 1, 2, 0};
  for (int i = 0; i < 6; ++i) indexed.pixels[i] = colours[indices[i]];
  const std::string palette = "\xFF\x00\x00\x00\xA0\x40\x20\x30\xF0"s;

  struct Case {
    const char* file;
    std::string bytes;
    Bitmap expected;
    int tolerance = 0;
  };
  const std::vector<Case> cases = {
      {"24-bit.bmp", bmp(three, 24, false), three},
      {"32-bit top-down.bmp", bmp(pattern(5, 3), 32, true), pattern(5, 3)},
      {"rgb.png", png(2, 2, 8, 2, {"\x10\x20\x30\x40\x50\x60"s, "\x70\x80\x90\xA0\xB0\xC0"s}),
       [] {
         Bitmap b(2, 2);
         b.pixels = {0x102030, 0x405060, 0x708090, 0xA0B0C0};
         return b;
       }()},
      {"palette 8-bit.png", png(3, 2, 8, 3, {"\x02\x00\x01"s, "\x01\x02\x00"s}, palette), indexed},
      // Two bits a pixel: 10 00 01 00 and 01 10 00 00.
      {"palette 2-bit.png", png(3, 2, 2, 3, {"\x84"s, "\x60"s}, palette), indexed},
      {"palette.gif", gif(3, 2, colours, indices), indexed},
      {"photo.jpg", kJpeg, halves(), 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    const auto fromFile = screen::decodePictureFile(write(c.file, c.bytes));
    ASSERT_TRUE(fromFile);
    EXPECT_TRUE(nearlyEqual(*fromFile, c.expected, c.tolerance));
    const auto fromBytes = screen::decodePicture(c.bytes);
    ASSERT_TRUE(fromBytes);
    EXPECT_TRUE(*fromBytes == *fromFile);
  }
}

TEST_F(PictureFile, GivesNothingForWhatIsNoPicture) {
  const std::string whole = png(1, 1, 8, 2, {std::string(3, '\x7F')});
  struct Case {
    const char* file;
    std::string bytes;
  };
  const std::vector<Case> cases = {
      {"empty.png", ""},
      {"text.png", "just some text, no picture at all"},
      {"only the header.png", whole.substr(0, 33)},
      {"only the start.jpg", "\xFF\xD8\xFF"},
      {"broken header.bmp", "BM" + std::string(20, '\xFF')},
      {"only the screen.gif", "GIF89a\x01\x00\x01\x00"s},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    EXPECT_FALSE(screen::decodePictureFile(write(c.file, c.bytes)));
    EXPECT_FALSE(screen::decodePicture(c.bytes));
  }
  EXPECT_FALSE(screen::decodePictureFile(folder() / "missing.png"));
  EXPECT_FALSE(screen::decodePictureFile(folder()));
}

}  // namespace
