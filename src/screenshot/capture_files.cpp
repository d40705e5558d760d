#include "screenshot/capture_files.h"

#include "platform/files.h"
#include "platform/text_codec.h"
#include "text/numbers.h"

namespace hf::screenshot {
namespace {

constexpr int kMaxSuffix = 1000;

}  // namespace

std::string dateTimeText(const desktop::LocalTime& t) {
  using text::toText;
  std::string out = toText(t.year) + "年" + toText(t.month) + "月" + toText(t.day) + "日";
  if (t.second != 0)
    out += toText(t.hour) + "时" + toText(t.minute) + "分" + toText(t.second) + "秒";
  else if (t.minute != 0)
    out += toText(t.hour) + "时" + toText(t.minute) + "分";
  else if (t.hour != 0)
    out += toText(t.hour) + "时";
  return out;
}

bool countsAsCapture(std::size_t bmpBytes) {
  return static_cast<double>(bmpBytes) / 1024 - 0.1 > 1e-7;
}

std::optional<CaptureFile> freeCaptureFile(const std::filesystem::path& folder,
                                           std::string_view gbkStem) {
  for (int n = 1; n <= kMaxSuffix; ++n) {
    std::string name(gbkStem);
    if (n > 1) {
      name += '_';
      name += text::toText(n);
    }
    name += ".bmp";
    std::filesystem::path path = folder / codec::pathFromGbk(name);
    if (!files::exists(path)) return CaptureFile{std::move(name), std::move(path)};
  }
  return std::nullopt;
}

}  // namespace hf::screenshot
