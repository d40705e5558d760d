// The contract fixture on the headless backend: the simulated desktop's own
// test controls stand in for the user and the other programs.
#include <algorithm>
#include <cctype>
#include <cstddef>
#include <map>
#include <memory>

#include "contract/backend.h"
#include "platform/event_loop.h"
#include "platform/headless/automation_simulation.h"
#include "platform/headless/popup_simulation.h"
#include "platform/headless/simulation.h"
#include "platform/headless/target_simulation.h"

namespace contract {

namespace headless = hf::headless;

struct BackendTest::Backend {
  std::size_t keysTaken = 0;  // key events already handed out by keysSeen
};

BackendTest::BackendTest() : backend_(std::make_unique<Backend>()) {}
BackendTest::~BackendTest() = default;

void BackendTest::startBackend() {
  headless::reset(folder_);
}

void BackendTest::endBackend() {}

// The backend refuses to replace a file without write permission itself,
// whoever runs the tests.
bool BackendTest::refusesWritingReadOnlyFiles(const std::filesystem::path&) {
  return true;
}

// A fresh simulated desktop is the one way to a clipboard without text.
void BackendTest::emptyClipboard() {
  headless::reset(folder_);
}

namespace {

class SimulatedHolder final : public BackendTest::ClipboardHolder {
 public:
  SimulatedHolder() { headless::holdClipboard(true); }
  ~SimulatedHolder() override { headless::holdClipboard(false); }
  void releaseAfter(int ms) override {
    headless::at(hf::loop::nowMs() + ms, [] { headless::holdClipboard(false); });
  }
};

}  // namespace

std::unique_ptr<BackendTest::ClipboardHolder> BackendTest::holdClipboard() {
  return std::make_unique<SimulatedHolder>();
}

namespace {

class SimulatedWindow final : public BackendTest::PaintedWindow {
 public:
  SimulatedWindow(hf::Point clientOrigin, const hf::Bitmap& picture) {
    static hf::desktop::WindowId lastId = 0x30000;
    id_ = ++lastId;
    headless::showWindow(id_, clientOrigin, picture);
  }
  ~SimulatedWindow() override { headless::takeWindowOffScreen(id_); }
  hf::desktop::WindowId id() const override { return id_; }
  void minimize() override { headless::takeWindowOffScreen(id_); }
  void hide() override { headless::takeWindowOffScreen(id_); }

 private:
  hf::desktop::WindowId id_ = 0;
};

}  // namespace

std::unique_ptr<BackendTest::PaintedWindow> BackendTest::showPaintedWindow(
    hf::Point clientOrigin, const hf::Bitmap& picture) {
  return std::make_unique<SimulatedWindow>(clientOrigin, picture);
}

void BackendTest::holdHotkeyElsewhere(unsigned modifiers, int virtualKey) {
  headless::holdHotkeyElsewhere(modifiers, virtualKey);
}

void BackendTest::pressHotkey(unsigned modifiers, int virtualKey) {
  headless::pressHotkey(modifiers, virtualKey);
}

bool BackendTest::takeKeyboard(hf::ui::Window&) {
  return true;
}

std::vector<BackendTest::KeySeen> BackendTest::keysSeen(std::size_t) {
  const auto events = headless::keyEvents();
  std::vector<KeySeen> seen;
  for (std::size_t at = backend_->keysTaken; at < events.size(); ++at)
    seen.push_back({events[at].scanCode, events[at].down});
  backend_->keysTaken = events.size();
  return seen;
}

void BackendTest::useMouse(hf::ui::Popup& popup, MouseAction action, hf::Point at,
                           hf::ui::MouseButton button) {
  switch (action) {
    case MouseAction::Move:
      headless::mouseMove(popup, at);
      break;
    case MouseAction::Down:
      headless::mouseDown(popup, button, at);
      break;
    case MouseAction::Up:
      headless::mouseUp(popup, button, at);
      break;
    case MouseAction::DoubleClick:
      headless::mouseDown(popup, hf::ui::MouseButton::Left, at);
      headless::mouseUp(popup, hf::ui::MouseButton::Left, at);
      headless::doubleClick(popup, at);
      headless::mouseUp(popup, hf::ui::MouseButton::Left, at);
      break;
  }
}

void BackendTest::pressKey(hf::ui::Popup& popup, int virtualKey) {
  headless::keyDown(popup, virtualKey);
}

void BackendTest::askToClose(hf::ui::Popup& popup) {
  headless::askToClose(popup);
}

std::vector<hf::Rgb> BackendTest::colorsShown(hf::ui::Popup& popup,
                                              const std::vector<hf::Point>& points) {
  const hf::Bitmap& shown = headless::shownPicture(popup);
  std::vector<hf::Rgb> colors;
  for (const hf::Point at : points) colors.push_back(hf::Bitmap::unpack(shown.at(at.x, at.y)));
  return colors;
}

namespace {

namespace automation = hf::automation;

// A dictionary as the scripting runtime has one, enough for the cases: each
// creation is a dictionary of its own.
class ScriptedDictionaries {
 public:
  std::optional<automation::Result<automation::Variant>> answer(
      const headless::AutomationCall& call) {
    Dictionary& d = dictionaries_[call.object + "#" + std::to_string(call.instance)];
    const auto key = [&](std::size_t at) {
      std::string text = std::get<std::string>(call.args.at(at));
      if (d.compareMode == 1)
        std::transform(text.begin(), text.end(), text.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
      return text;
    };
    const std::string& m = call.member;
    if (call.action == "call" && m == "Add") {
      d.items[key(0)] = call.args.at(1);
      return automation::Variant{};
    }
    if (call.action == "get" && m == "Count") return automation::Variant{int(d.items.size())};
    if (call.action == "get" && m == "Item") return d.items[key(0)];
    if (call.action == "call" && m == "Exists")
      return automation::Variant{d.items.count(key(0)) > 0};
    if (call.action == "get" && m == "CompareMode") return automation::Variant{d.compareMode};
    if (call.action == "put" && m == "CompareMode" && d.items.empty()) {
      d.compareMode = std::get<int>(call.args.at(0));
      return automation::Variant{};
    }
    return automation::Error{automation::kUnknownName, "unknown name"};
  }

 private:
  struct Dictionary {
    int compareMode = 0;
    std::map<std::string, automation::Variant> items;
  };
  std::map<std::string, Dictionary> dictionaries_;
};

}  // namespace

void BackendTest::provideDictionary() {
  headless::installAutomationServer("Scripting.Dictionary");
  auto dictionaries = std::make_shared<ScriptedDictionaries>();
  headless::respondToAutomation(
      [dictionaries](const headless::AutomationCall& call) { return dictionaries->answer(call); });
}

bool exists(const hf::ui::Window&) {
  return true;
}

bool exists(const hf::ui::Popup&) {
  return true;
}

}  // namespace contract
