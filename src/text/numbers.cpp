#include "text/numbers.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace hf::text {
namespace {

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

std::size_t skipDigits(std::string_view text, std::size_t pos) {
  while (pos < text.size() && isDigit(text[pos])) ++pos;
  return pos;
}

// Digits with an optional fraction and no sign; 0 when there are no digits.
// Beyond the double range the value is infinite; below it, zero.
double parseUnsigned(std::string_view text) {
  const std::size_t integerEnd = skipDigits(text, 0);
  std::size_t end = integerEnd;
  if (end < text.size() && text[end] == '.') end = skipDigits(text, end + 1);
  const bool hasDigits = integerEnd > 0 || end > integerEnd + 1;
  if (!hasDigits) return 0.0;

  double value = 0.0;
  const auto [last, error] =
      std::from_chars(text.data(), text.data() + end, value, std::chars_format::fixed);
  if (error == std::errc::result_out_of_range) {
    const bool hasIntegerValue =
        text.substr(0, integerEnd).find_first_not_of('0') != std::string_view::npos;
    return hasIntegerValue ? std::numeric_limits<double>::infinity() : 0.0;
  }
  return value;
}

}  // namespace

double toNumber(std::string_view text) {
  std::size_t pos = text.find_first_not_of(" \t");
  if (pos == std::string_view::npos) return 0.0;
  bool negative = false;
  if (text[pos] == '+' || text[pos] == '-') {
    negative = text[pos] == '-';
    ++pos;
  }
  const double value = parseUnsigned(text.substr(pos));
  // No "-0": a zero reads back as plain 0 wherever it is shown.
  if (value == 0.0) return 0.0;
  return negative ? -value : value;
}

int toInt(std::string_view text) {
  const double value = std::trunc(toNumber(text));
  if (value >= static_cast<double>(std::numeric_limits<int>::max())) {
    return std::numeric_limits<int>::max();
  }
  if (value <= static_cast<double>(std::numeric_limits<int>::min())) {
    return std::numeric_limits<int>::min();
  }
  return static_cast<int>(value);
}

std::string toText(long long value) {
  return std::to_string(value);
}

}  // namespace hf::text
