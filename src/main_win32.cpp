#include "app/main_window.h"
#include "platform/event_loop.h"

// The program: one main window and its message loop.
int main() {
  hf::app::MainWindow mainWindow;
  mainWindow.startUp();
  if (mainWindow.window().isDestroyed()) return 0;  // another instance is running
  mainWindow.window().show();
  hf::loop::run();
  return 0;
}
