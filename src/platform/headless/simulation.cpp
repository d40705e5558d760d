#include "platform/headless/simulation.h"

#include "platform/headless/internal.h"
#include "platform/input_gate.h"

namespace hf::headless {

void reset(const std::filesystem::path& programFolder, Size screen) {
  internal::resetClock();
  internal::resetDesktop(screen);
  internal::resetScreen();
  internal::setProgramFolder(programFolder);
  internal::resetClipboard();
  internal::resetKeyboard();
  internal::resetPointer();
  internal::resetTarget();
  internal::resetHooks();
  internal::resetAutomation();
  desktop::resumeSimulatedInput();
}

}  // namespace hf::headless
