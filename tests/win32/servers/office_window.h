#pragma once

// The window of the stand-in office application, shown once a client makes
// it Visible: it shows the active document or the active workbook's grid.
// Ctrl+W in it closes the active document or workbook; closing it quits the
// application.
namespace office_server {

// After every change to the documents: rewrites LOG.contents and shows the
// change in the window.
void changed();

void showWindow();
void hideWindow();
bool windowVisible();

// What quitting does besides closing the window; runs after the log line and
// before the window goes.
void onUserQuit(void (*quit)());

}  // namespace office_server
