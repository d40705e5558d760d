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

// A colour swatch: the box's background colour, then the window's again.
TEST_F(OwnWindowGrab, APictureBoxShowsItsBackgroundColour) {
  hf::ui::PictureBox swatch(*window_, {{100, 30, 20, 20}});
  swatch.setBackground(hf::Rgb{200, 30, 90});
  window_->show();
  const hf::Rect area = swatch.screenRect();
  const auto middle = [&] {
    return hf::screen::grabScreen({area.left + area.width / 2, area.top + area.height / 2, 1, 1})
        .pixels;
  };
  EXPECT_TRUE(win32test::waitFor([&] { return middle() == std::vector{0xC81E5Au}; }));

  swatch.setBackground(std::nullopt);
  const COLORREF background = hf::win32::kWindowColor;
  const std::uint32_t windowColour =
      hf::Bitmap::pack({GetRValue(background), GetGValue(background), GetBValue(background)});
  EXPECT_TRUE(win32test::waitFor([&] { return middle() == std::vector{windowColour}; }));
}

// A picture of the user's in a picture box fills the box: its left half
// over the box's left half, its right half over the right.
TEST_F(OwnWindowGrab, APictureBoxStretchesItsBitmapOverTheBox) {
  hf::ui::PictureBox box(*window_, {{20, 30, 80, 40}});
  hf::Bitmap picture(8, 2, 0xC81E5A);
  for (int y = 0; y < 2; ++y)
    for (int x = 4; x < 8; ++x) picture.at(x, y) = 0x1E5AC8;
  box.setPicture(picture);
  ASSERT_TRUE(win32test::bringToFront(*window_));
  const auto shown = [&](int x) {
    const hf::Rect area = box.screenRect();
    return hf::screen::grabScreen(area).at(area.width * x / 4, area.height / 2);
  };
  EXPECT_TRUE(win32test::waitFor([&] { return shown(1) == 0xC81E5Au; })) << std::hex << shown(1);
  EXPECT_EQ(shown(3), 0x1E5AC8u);

  box.setPicture(hf::Image::None);  // the program's picture replaces it: here none
  const COLORREF background = hf::win32::kWindowColor;
  const std::uint32_t backgroundPixel =
      hf::Bitmap::pack({GetRValue(background), GetGValue(background), GetBValue(background)});
  EXPECT_TRUE(win32test::waitFor([&] { return shown(1) == backgroundPixel; }))
      << std::hex << shown(1);
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
