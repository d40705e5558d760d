// Late-bound automation: creation by a list of ProgIDs, get, put and call by
// member name with texts, integers, Booleans and objects crossing both ways,
// and failures as values. The scripting runtime's dictionary stands in for
// the office applications, which the test machines do not have.
#include <string>
#include <vector>

#include "contract/backend.h"
#include "platform/automation.h"

namespace contract {
namespace {

namespace automation = hf::automation;
using automation::Variant;

class AutomationTest : public BackendTest {
 protected:
  void SetUp() override {
    BackendTest::SetUp();
    provideDictionary();
  }

  automation::Object newDictionary() {
    auto created = automation::create({"Scripting.Dictionary"});
    if (!created) ADD_FAILURE() << created.error().text;
    return created ? created.value().object : automation::Object();
  }

  automation::Apartment apartment_;
};

TEST_F(AutomationTest, CreationTakesTheFirstProgIdThatExistsAndSaysWhich) {
  const auto created = automation::create({"Hotfill.NoSuchServer", "Scripting.Dictionary"});
  ASSERT_TRUE(created) << created.error().text;
  EXPECT_EQ(created.value().progId, "Scripting.Dictionary");
  EXPECT_FALSE(created.value().object.empty());
}

TEST_F(AutomationTest, AnAbsentApplicationIsAnErrorValue) {
  for (const std::vector<std::string>& progIds :
       {std::vector<std::string>{"Word.Application", "Hotfill.NoSuchServer"},
        std::vector<std::string>{}}) {
    const auto created = automation::create(progIds);
    ASSERT_FALSE(created);
    EXPECT_NE(created.error().code, 0);
    EXPECT_FALSE(created.error().text.empty());
    EXPECT_FALSE(created.error().busy());
    EXPECT_FALSE(created.error().serverGone());
  }
}

TEST_F(AutomationTest, ValuesCrossBothWays) {
  const automation::Object dictionary = newDictionary();
  ASSERT_TRUE(dictionary.put("CompareMode", 1));
  const auto mode = dictionary.get("CompareMode");
  ASSERT_TRUE(mode);
  EXPECT_EQ(std::get<int>(mode.value()), 1);

  ASSERT_TRUE(dictionary.call("Add", {std::string("姓名"), std::string("张三 A1")}));
  ASSERT_TRUE(dictionary.call("Add", {std::string("Count"), 42}));
  ASSERT_TRUE(dictionary.call("Add", {std::string("flag"), true}));

  const auto count = dictionary.get("Count");
  ASSERT_TRUE(count);
  EXPECT_EQ(std::get<int>(count.value()), 3);
  const auto text = dictionary.get("Item", {std::string("姓名")});
  ASSERT_TRUE(text);
  EXPECT_EQ(std::get<std::string>(text.value()), "张三 A1");
  const auto number = dictionary.get("Item", {std::string("count")});  // text compare
  ASSERT_TRUE(number);
  EXPECT_EQ(std::get<int>(number.value()), 42);
  const auto flag = dictionary.get("Item", {std::string("FLAG")});
  ASSERT_TRUE(flag);
  EXPECT_TRUE(std::get<bool>(flag.value()));
  const auto missing = dictionary.call("Exists", {std::string("电话")});
  ASSERT_TRUE(missing);
  EXPECT_FALSE(std::get<bool>(missing.value()));
}

TEST_F(AutomationTest, AnObjectGoesInAndComesBackUsable) {
  const automation::Object outer = newDictionary();
  const automation::Object inner = newDictionary();
  ASSERT_TRUE(inner.call("Add", {std::string("k"), 7}));
  ASSERT_TRUE(outer.call("Add", {std::string("inner"), inner}));

  const auto back = automation::asObject(outer.get("Item", {std::string("inner")}));
  ASSERT_TRUE(back) << back.error().text;
  const auto count = back.value().get("Count");
  ASSERT_TRUE(count);
  EXPECT_EQ(std::get<int>(count.value()), 1);

  // A value that is not an object is refused as one.
  EXPECT_FALSE(automation::asObject(back.value().get("Count")));
}

TEST_F(AutomationTest, FailuresAreValues) {
  const automation::Object dictionary = newDictionary();
  const auto unknown = dictionary.get("NoSuchMember");
  ASSERT_FALSE(unknown);
  EXPECT_EQ(unknown.error().code, automation::kUnknownName);

  const automation::Object none;
  EXPECT_FALSE(none.get("Count"));
  EXPECT_FALSE(none.put("CompareMode", 1));
  EXPECT_FALSE(none.call("Add", {std::string("a"), 1}));
}

}  // namespace
}  // namespace contract
