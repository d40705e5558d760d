#pragma once

#include "platform/hooks.h"

// Between the subscriptions, which both backends share, and each backend's
// system hooks. Only platform/ includes this.
namespace hf::hooks::chain {

// Each backend's own: puts the device's system hook in place (removing it
// first when it is there already); true when the system accepted it.
bool install(Device device);
void uninstall(Device device);
bool installed(Device device);
// Whether the system still calls the installed hook (a probe event).
bool receiving(Device device);

// Shared: the backend hands each event to these on the UI thread. They call
// the subscribers newest first and return true when one swallowed the event.
bool dispatch(const KeyEvent& event) noexcept;
bool dispatch(const MouseEvent& event) noexcept;
bool hasSubscribers(Device device);

}  // namespace hf::hooks::chain
