#include "capture/info_panel.h"

#include <cstdio>
#include <utility>

#include "text/gbk_text.h"

namespace hf::capture {

int dodgedPanelLeft(Point cursor, int screenWidth) {
  return cursor.x < screenWidth / 2 ? screenWidth - kPanelSize.width - 8 : 8;
}

std::string pixelLine(Rgb color) {
  char components[16];
  std::snprintf(components, sizeof components, "%3d,%3d,%3d", color.r, color.g, color.b);
  return std::string("·当前像素RGB(") + components + ")";
}

std::vector<std::string> instructions(Stage stage) {
  switch (stage) {
    case Stage::Selected:
      return {"·用鼠标左键调整截取范围的大小和位置", "·截取范围内双击鼠标左键保存图像，结束操作",
              "·点击鼠标右键重新选择"};
    case Stage::Selecting:
      return {"·松开鼠标左键确定截取范围", "·按'ESC'键退出"};
    case Stage::Idle:
      break;
  }
  return {"·按下鼠标左键不放选择截取范围", "·按'ESC'键或鼠标右键退出"};
}

std::vector<std::string> wrapped(std::string_view gbk, int width,
                                 const std::function<int(std::string_view)>& measure) {
  std::vector<std::string> rows;
  std::string row;
  for (std::string_view character : text::characters(gbk)) {
    std::string longer = row + std::string(character);
    if (!row.empty() && measure(longer) > width) {
      rows.push_back(row);
      longer = std::string(character);
    }
    row = std::move(longer);
  }
  if (!row.empty() || rows.empty()) rows.push_back(row);
  return rows;
}

std::vector<PanelRow> layoutInstructions(const std::vector<std::string>& lines, int width,
                                         const std::function<int(std::string_view)>& measure) {
  std::vector<PanelRow> rows;
  int top = 52;
  for (const std::string& line : lines) {
    for (std::string& row : wrapped(line, width, measure)) {
      rows.push_back({top, std::move(row)});
      top += kPanelLineHeight;
    }
    top += 10;
  }
  return rows;
}

Bitmap panelBackground() {
  constexpr int kWidth = 174;
  constexpr int kHeight = 147;
  constexpr int kBand = 22;  // rows of the title band
  Bitmap picture(kWidth, kHeight);
  const auto blend = [](Rgb from, Rgb to, int step, int steps) {
    const auto mix = [&](int a, int b) { return std::uint8_t(a + (b - a) * step / steps); };
    return Bitmap::pack({mix(from.r, to.r), mix(from.g, to.g), mix(from.b, to.b)});
  };
  for (int y = 0; y < kHeight; ++y) {
    const std::uint32_t pixel = y < kBand    ? blend({24, 64, 140}, {14, 40, 100}, y, kBand)
                                : y == kBand ? Bitmap::pack({120, 170, 230})
                                             : blend({60, 120, 200}, {16, 52, 128}, y, kHeight);
    for (int x = 0; x < kWidth; ++x) picture.at(x, y) = pixel;
  }
  // The landscape icon: sky, a sun and two hills in a white frame.
  constexpr Rect kIcon{6, 4, 18, 14};
  for (int y = 0; y < kIcon.height; ++y) {
    for (int x = 0; x < kIcon.width; ++x) {
      const bool frame = x == 0 || y == 0 || x == kIcon.width - 1 || y == kIcon.height - 1;
      const int sunX = x - 12;
      const int sunY = y - 4;
      const bool sun = sunX * sunX + sunY * sunY <= 5;
      const bool hill = y >= 9 - (x < 9 ? x / 2 : (17 - x) / 3) && y > 6;
      Rgb color{150, 200, 250};
      if (frame)
        color = {255, 255, 255};
      else if (hill)
        color = {60, 160, 70};
      else if (sun)
        color = {250, 210, 60};
      picture.at(kIcon.left + x, kIcon.top + y) = Bitmap::pack(color);
    }
  }
  return picture;
}

}  // namespace hf::capture
