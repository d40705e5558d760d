// The simulated desktop's low-level hooks: every key and mouse event, the
// program's own and the user's, passes them before it acts.
#include <array>

#include "platform/event_loop.h"
#include "platform/headless/internal.h"
#include "platform/headless/target_simulation.h"
#include "platform/hook_chain.h"

namespace hf::headless::internal {
namespace {

using hooks::Device;

struct SystemHooks {
  std::array<bool, 2> installed{};
  std::array<bool, 2> dropped{};  // removed by the system without telling the program
};

SystemHooks& systemHooks() {
  static SystemHooks instance;
  return instance;
}

std::size_t indexOf(Device device) {
  return device == Device::Keyboard ? 0 : 1;
}

bool hookCalled(Device device) {
  const std::size_t index = indexOf(device);
  return systemHooks().installed[index] && !systemHooks().dropped[index] &&
         hooks::chain::hasSubscribers(device);
}

// The callbacks run on the UI thread: a worker's event waits for it there,
// as a runOnUiThread call does.
template <typename Event>
bool swallowedBy(Device device, const Event& event) {
  if (!hookCalled(device)) return false;
  if (loop::onUiThread()) return hooks::chain::dispatch(event);
  bool swallowed = false;
  loop::runOnUiThread([&] { swallowed = hooks::chain::dispatch(event); });
  return swallowed;
}

}  // namespace

bool swallowedByHooks(const hooks::KeyEvent& event) {
  return swallowedBy(Device::Keyboard, event);
}

bool swallowedByHooks(const hooks::MouseEvent& event) {
  return swallowedBy(Device::Mouse, event);
}

// The hooks of live subscriptions stay installed on a fresh desktop.
void resetHooks() {
  systemHooks().dropped = {};
}

}  // namespace hf::headless::internal

namespace hf::hooks::chain {

using headless::internal::indexOf;
using headless::internal::systemHooks;

bool install(Device device) {
  systemHooks().installed[indexOf(device)] = true;
  systemHooks().dropped[indexOf(device)] = false;
  return true;
}

void uninstall(Device device) {
  systemHooks().installed[indexOf(device)] = false;
  systemHooks().dropped[indexOf(device)] = false;
}

bool installed(Device device) {
  return systemHooks().installed[indexOf(device)];
}

bool receiving(Device device) {
  return installed(device) && !systemHooks().dropped[indexOf(device)];
}

}  // namespace hf::hooks::chain

namespace hf::headless {

void dropHooks() {
  internal::systemHooks().dropped = {true, true};
}

}  // namespace hf::headless
