// The subscriptions and the order in which their callbacks see an event,
// shared by both backends; each backend supplies the system hooks.
#include "platform/hooks.h"

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

#include "platform/hook_chain.h"

namespace hf::hooks {
namespace {

template <typename Callback>
struct Subscriber {
  std::uint64_t id = 0;
  // Shared, so a callback that ends its own subscription stays alive until it returns.
  std::shared_ptr<const Callback> callback;
};

template <typename Callback>
using Subscribers = std::vector<Subscriber<Callback>>;  // oldest first

Subscribers<KeyCallback>& keyboardSubscribers() {
  static Subscribers<KeyCallback> list;
  return list;
}

Subscribers<MouseCallback>& mouseSubscribers() {
  static Subscribers<MouseCallback> list;
  return list;
}

std::uint64_t nextId = 1;

template <typename Callback>
std::uint64_t subscribe(Subscribers<Callback>& list, Device device, Callback callback) {
  const std::uint64_t id = nextId++;
  list.push_back({id, std::make_shared<const Callback>(std::move(callback))});
  if (list.size() == 1) chain::install(device);
  return id;
}

template <typename Callback>
void unsubscribe(Subscribers<Callback>& list, Device device, std::uint64_t id) {
  const auto erased =
      std::erase_if(list, [id](const Subscriber<Callback>& s) { return s.id == id; });
  if (erased && list.empty()) chain::uninstall(device);
}

// Callbacks may subscribe and unsubscribe: the order is fixed when the event
// comes, and each subscriber is looked up again before it is called.
template <typename Callback, typename Event>
bool callNewestFirst(const Subscribers<Callback>& list, const Event& event) {
  std::vector<std::uint64_t> ids;
  ids.reserve(list.size());
  for (auto s = list.rbegin(); s != list.rend(); ++s) ids.push_back(s->id);
  for (const std::uint64_t id : ids) {
    const auto found = std::find_if(list.begin(), list.end(),
                                    [id](const Subscriber<Callback>& s) { return s.id == id; });
    if (found == list.end()) continue;
    const std::shared_ptr<const Callback> callback = found->callback;
    if ((*callback)(event)) return true;
  }
  return false;
}

}  // namespace

namespace chain {

bool dispatch(const KeyEvent& event) noexcept {
  return callNewestFirst(keyboardSubscribers(), event);
}

bool dispatch(const MouseEvent& event) noexcept {
  return callNewestFirst(mouseSubscribers(), event);
}

bool hasSubscribers(Device device) {
  return device == Device::Keyboard ? !keyboardSubscribers().empty() : !mouseSubscribers().empty();
}

}  // namespace chain

Subscription::~Subscription() {
  end();
}

Subscription::Subscription(Subscription&& other) noexcept
    : device_(other.device_), id_(std::exchange(other.id_, 0)) {}

Subscription& Subscription::operator=(Subscription&& other) noexcept {
  if (this != &other) {
    end();
    device_ = other.device_;
    id_ = std::exchange(other.id_, 0);
  }
  return *this;
}

void Subscription::end() {
  if (!id_) return;
  const std::uint64_t id = std::exchange(id_, 0);
  if (device_ == Device::Keyboard) {
    unsubscribe(keyboardSubscribers(), device_, id);
  } else {
    unsubscribe(mouseSubscribers(), device_, id);
  }
}

bool Subscription::installed() const {
  return subscribed() && chain::installed(device_);
}

bool Subscription::receiving() const {
  return subscribed() && chain::receiving(device_);
}

bool Subscription::reinstall() const {
  return subscribed() && chain::install(device_);
}

KeyboardSubscription::KeyboardSubscription(KeyCallback callback)
    : Subscription(Device::Keyboard,
                   subscribe(keyboardSubscribers(), Device::Keyboard, std::move(callback))) {}

MouseSubscription::MouseSubscription(MouseCallback callback)
    : Subscription(Device::Mouse,
                   subscribe(mouseSubscribers(), Device::Mouse, std::move(callback))) {}

}  // namespace hf::hooks
