#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "platform/desktop.h"

// Where the screenshot hotkey keeps its captures: BMP files named by the
// moment they were taken, under 截图 (entries of the data table) or 找图
// (find-image steps).
namespace hf::screenshot {

// "2019年12月12日" followed by the time down to its last non-zero field:
// "12时5分30秒", "12时5分", "12时", or nothing at midnight.
std::string dateTimeText(const desktop::LocalTime& time);

// BMP data of this many bytes holds a picture worth keeping: more than about
// a tenth of a kilobyte, so the headers of an empty capture (54 bytes) and
// pictures of a few pixels are left out.
bool countsAsCapture(std::size_t bmpBytes);

struct CaptureFile {
  std::string name;  // GBK, as the record table names it
  std::filesystem::path path;
};
// The file for a capture named `stem` in the folder: stem + ".bmp", or, when
// a file of that name is there already (two captures in one second), the
// first free one of stem + "_2.bmp", stem + "_3.bmp" ... Nothing when none
// of the first thousand is free.
std::optional<CaptureFile> freeCaptureFile(const std::filesystem::path& folder,
                                           std::string_view gbkStem);

}  // namespace hf::screenshot
