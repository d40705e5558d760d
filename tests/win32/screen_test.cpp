// What only the win32 backend shows of pictures: grabs of the program's own
// windows (the system asks a window to paint itself into the grab, which Wine
// leaves black unless the window answers), and the clipboard picture forms
// other programs put there. Both backends' cases are in contract/screen_test.cpp.
#include "platform/screen.h"

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/win32/bitmaps.h"
#include "platform/win32/display.h"
#include "window_fixture.h"

namespace {

using OwnWindowGrab = WindowTest;

TEST_F(OwnWindowGrab, ShowsTheBackgroundAndTheControlsAtTheClientOrigin) {
  hf::ui::Button button(*window_, {{20, 30, 60, 40}, "", true});
  button.setColor({200, 30, 90});
  window_->show();
  hf::loop::processPending();

  const auto grab = hf::screen::grabWindow(reinterpret_cast<hf::desktop::WindowId>(hwnd()));
  ASSERT_TRUE(grab);
  RECT client{};
  GetClientRect(hwnd(), &client);
  POINT origin{0, 0};
  ClientToScreen(hwnd(), &origin);
  EXPECT_EQ(grab->client.width, client.right);
  EXPECT_EQ(grab->client.height, client.bottom);
  EXPECT_EQ(grab->clientOrigin, (hf::Point{origin.x, origin.y}));

  const COLORREF background = hf::win32::kWindowColor;
  EXPECT_EQ(grab->client.at(5, 5), hf::Bitmap::pack({GetRValue(background), GetGValue(background),
                                                     GetBValue(background)}));
  // The middle of the button's face.
  EXPECT_EQ(grab->client.at(window_->scaled(50), window_->scaled(42)), 0xC81E5Au);
}

// What the user sees of a picture box: the screen's pixels where it lies.
TEST_F(OwnWindowGrab, PictureBoxesShowTheirColourAndTheirOwnPictureUnscaled) {
  hf::ui::PictureBox swatch(*window_, {{100, 30, 20, 20}});
  hf::ui::PictureBox preview(*window_, {{20, 80, 40, 20}});
  swatch.setBackground(hf::Rgb{200, 30, 90});
  hf::Bitmap picture(3, 2);
  picture.pixels = {0x102030, 0x405060, 0x708090, 0xA0B0C0, 0xD0E0F0, 0x0A0B0C};
  preview.setBitmap(picture);
  window_->show();
  const COLORREF background = hf::win32::kWindowColor;
  const std::uint32_t windowColour =
      hf::Bitmap::pack({GetRValue(background), GetGValue(background), GetBValue(background)});
  const hf::Rect swatchArea = swatch.screenRect();
  const hf::Rect previewArea = preview.screenRect();
  const auto swatchMiddle = [&] {
    return hf::screen::grabScreen({swatchArea.left + swatchArea.width / 2,
                                   swatchArea.top + swatchArea.height / 2, 1, 1})
        .pixels;
  };
  const auto previewCorner = [&] {
    return hf::screen::grabScreen({previewArea.left, previewArea.top, 4, 2}).pixels;
  };

  EXPECT_TRUE(win32test::waitFor([&] { return swatchMiddle() == std::vector{0xC81E5Au}; }));
  EXPECT_TRUE(win32test::waitFor([&] {
    return previewCorner() == std::vector<std::uint32_t>{0x102030,     0x405060,    0x708090,
                                                         windowColour, 0xA0B0C0,    0xD0E0F0,
                                                         0x0A0B0C,     windowColour};
  })) << "drawn unscaled from the top-left corner, the rest of the box in the window's colour";

  swatch.setBackground(std::nullopt);
  preview.setBitmap({});
  EXPECT_TRUE(win32test::waitFor([&] { return swatchMiddle() == std::vector{windowColour}; }));
  EXPECT_TRUE(win32test::waitFor(
      [&] { return previewCorner() == std::vector<std::uint32_t>(8, windowColour); }));
}

// Pictures that other programs put on the clipboard in the forms they use.
class ClipboardPictureForms : public testing::Test {
 protected:
  // Puts the data alone on the clipboard, as another program would.
  void offer(UINT format, HANDLE data) {
    ASSERT_TRUE(OpenClipboard(owner_));
    EmptyClipboard();
    EXPECT_TRUE(SetClipboardData(format, data));
    CloseClipboard();
  }
  static HGLOBAL global(const std::string& bytes) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    std::memcpy(GlobalLock(memory), bytes.data(), bytes.size());
    GlobalUnlock(memory);
    return memory;
  }
  ~ClipboardPictureForms() override { DestroyWindow(owner_); }

  HWND owner_ =
      CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
};

std::string bytesOf(const void* data, std::size_t size) {
  return std::string(static_cast<const char*>(data), size);
}

TEST_F(ClipboardPictureForms, AreReadWithTheirExactColours) {
  // 3 x 2 of four colours, so that a palette of four holds them.
  const std::vector<std::uint32_t> colours = {0xFF0000, 0x00A040, 0x2030F0, 0x123456};
  const std::vector<int> indices = {2, 0, 1, 3, 2, 0};
  hf::Bitmap expected(3, 2);
  for (int i = 0; i < 6; ++i) expected.pixels[i] = colours[indices[i]];

  BITMAPINFOHEADER header{sizeof(BITMAPINFOHEADER), 3, -2, 1, 32, BI_BITFIELDS};
  const DWORD masks[3] = {0xFF0000, 0x00FF00, 0x0000FF};
  const std::string bitfields = bytesOf(&header, sizeof header) + bytesOf(masks, sizeof masks) +
                                bytesOf(expected.pixels.data(), 24);

  header = {sizeof(BITMAPINFOHEADER), 3, 2, 1, 8, BI_RGB};
  header.biClrUsed = 4;
  std::string palette8 = bytesOf(&header, sizeof header) + bytesOf(colours.data(), 16);
  for (int row = 1; row >= 0; --row) {  // bottom-up, each row padded to 4 bytes
    for (int x = 0; x < 3; ++x) palette8 += char(indices[row * 3 + x]);
    palette8 += '\0';
  }

  offer(CF_DIB, global(bitfields));
  auto read = hf::screen::clipboardBitmap();
  ASSERT_TRUE(read);
  EXPECT_EQ(read->pixels, expected.pixels) << "32-bit top-down with colour masks";

  offer(CF_DIB, global(palette8));
  read = hf::screen::clipboardBitmap();
  ASSERT_TRUE(read);
  EXPECT_EQ(read->pixels, expected.pixels) << "8-bit with a palette";

  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 3, 2);
  const BITMAPINFO info = hf::win32::topDownInfo(3, 2);
  SetDIBits(screen, bitmap, 0, 2, expected.pixels.data(), &info, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  offer(CF_BITMAP, bitmap);
  read = hf::screen::clipboardBitmap();
  ASSERT_TRUE(read);
  EXPECT_EQ(read->pixels, expected.pixels) << "a device bitmap alone";
}

TEST_F(ClipboardPictureForms, AMalformedDibIsNothing) {
  BITMAPINFOHEADER header{sizeof(BITMAPINFOHEADER), 300, 200, 1, 24, BI_RGB};
  offer(CF_DIB, global(bytesOf(&header, sizeof header) + std::string(50, '\x7F')));  // rows missing
  EXPECT_FALSE(hf::screen::clipboardBitmap());
}

}  // namespace
