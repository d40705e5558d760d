// The privacy mark of clipboard texts under the headless backend: the
// account texts of the forced-typing delivery must stay out of the history.
#include <gtest/gtest.h>

#include "platform/desktop.h"
#include "platform/headless/simulation.h"
#include "platform/headless/target_simulation.h"

namespace {

namespace desktop = hf::desktop;
namespace headless = hf::headless;
using desktop::ClipboardPrivacy;

constexpr int kCtrl = 0x11;

class HeadlessClipboard : public ::testing::Test {
 protected:
  void SetUp() override { headless::reset(::testing::TempDir()); }
};

TEST_F(HeadlessClipboard, EachTextCarriesTheMarkItWasPutThereWith) {
  ASSERT_TRUE(desktop::setClipboardText("账号", ClipboardPrivacy::Private));
  EXPECT_TRUE(headless::clipboardIsPrivate());
  EXPECT_EQ(desktop::clipboardText(), "账号");

  ASSERT_TRUE(desktop::setClipboardText("公开"));
  EXPECT_FALSE(headless::clipboardIsPrivate());
}

TEST_F(HeadlessClipboard, AWriteThatFailsKeepsTheOldTextWithItsMark) {
  ASSERT_TRUE(desktop::setClipboardText("账号", ClipboardPrivacy::Private));
  headless::holdClipboard(true);
  EXPECT_FALSE(desktop::setClipboardText("公开"));
  headless::holdClipboard(false);
  EXPECT_EQ(desktop::clipboardText(), "账号");
  EXPECT_TRUE(headless::clipboardIsPrivate());
}

TEST_F(HeadlessClipboard, ATextAnotherProgramCopiesIsNotPrivate) {
  headless::openTarget(1);
  ASSERT_TRUE(desktop::setClipboardText("账号", ClipboardPrivacy::Private));
  headless::selectInTarget("abc");
  desktop::keyChord({kCtrl, 'C'});
  EXPECT_EQ(desktop::clipboardText(), "abc");
  EXPECT_FALSE(headless::clipboardIsPrivate());
}

}  // namespace
