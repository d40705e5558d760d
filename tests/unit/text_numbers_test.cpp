#include "text/numbers.h"

#include <climits>
#include <cmath>
#include <limits>
#include <string>

#include <gtest/gtest.h>

namespace hf::text {
namespace {

const std::string kHugeDigits(400, '9');

TEST(NumberText, ToNumber) {
  struct Case {
    std::string text;
    double expected;
  };
  const double infinity = std::numeric_limits<double>::infinity();
  const Case cases[] = {
      {"12abc", 12},
      {" -3.5x", -3.5},
      {"\t +7", 7},
      {"abc", 0},
      {"", 0},
      {"   ", 0},
      {"1e5", 1},
      {".", 0},
      {"5.", 5},
      {".5", 0.5},
      {"-.25", -0.25},
      {"0012", 12},
      {"1,000", 1},
      {"- 5", 0},
      {"--5", 0},
      {"+", 0},
      {"x12", 0},
      {"0x1A", 0},
      {"３", 0},
      {kHugeDigits, infinity},
      {"-" + kHugeDigits, -infinity},
      {"0." + std::string(400, '0') + "1", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "text=\"" << c.text << "\"");
    EXPECT_EQ(toNumber(c.text), c.expected);
  }
}

TEST(NumberText, ToNumberHasNoNegativeZero) {
  for (const char* text : {"-0", "-0.0", "-", "-abc"}) {
    SCOPED_TRACE(text);
    EXPECT_FALSE(std::signbit(toNumber(text)));
  }
}

TEST(NumberText, ToInt) {
  struct Case {
    std::string text;
    int expected;
  };
  const Case cases[] = {
      {"12.9", 12},
      {"-12.9", -12},
      {"-0.5", 0},
      {" 42 apples", 42},
      {"abc", 0},
      {"2147483647", INT_MAX},
      {"2147483648", INT_MAX},
      {"-2147483648", INT_MIN},
      {"-2147483649", INT_MIN},
      {kHugeDigits, INT_MAX},
      {"-" + kHugeDigits, INT_MIN},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "text=\"" << c.text << "\"");
    EXPECT_EQ(toInt(c.text), c.expected);
  }
}

TEST(NumberText, ToText) {
  struct Case {
    long long value;
    std::string expected;
  };
  const Case cases[] = {
      {0, "0"},
      {7, "7"},
      {-5, "-5"},
      {1234567890123, "1234567890123"},
      {LLONG_MAX, "9223372036854775807"},
      {LLONG_MIN, "-9223372036854775808"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "value=" << c.value);
    EXPECT_EQ(toText(c.value), c.expected);
  }
}

}  // namespace
}  // namespace hf::text
