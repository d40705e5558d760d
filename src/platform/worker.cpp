#include <exception>

#include "platform/event_loop.h"

namespace hf::loop {

void runOffUiThread(const std::function<void()>& work) {
  if (!onUiThread()) return work();
  std::exception_ptr error;
  {
    Worker worker([&] {
      try {
        work();
      } catch (...) {
        error = std::current_exception();
      }
    });
    worker.waitProcessingEvents();
  }
  if (error) std::rethrow_exception(error);
}

}  // namespace hf::loop
