// A stand-in office application for the end-to-end tests of the Word and
// Excel working modes: an out-of-process automation server that plays a word
// processor or a spreadsheet and logs every call it answers.
//
//   hf_office_server.exe word|sheet {CLSID} LOG [hang-paste RELEASE] [-Embedding]
//
// It registers its class under the CLSID it is given (REGCLS_MULTIPLEUSE:
// one application per process, as the real ones are single-instance) and
// appends one UTF-8 line per call to LOG:
//   create                       a client created the application
//   get Documents                a property read (or a method called as one)
//   put Visible true             a property written: true/false, numbers, "texts"
//   call TypeText "\r\n"         a method with its arguments
//   call Paste -> "alpha"        what went into the document, or a result
//   get Count -> 2
//   get Selection -> error 0x800A1098
//   unknown Save                 a member it does not have
//   user closes 文档1            what the user did in its window (Ctrl+W, closing it)
// After every change LOG.contents holds what the documents hold: one line
// `文档1 "text"` per open document, or `工作簿1 Sheet1 A1 "text"` per cell.
//
// Word processor: Documents (Add, Count), Selection (Paste, TypeText),
// Visible. Spreadsheet: ActiveWorkbook (Sheets, ActiveSheet), Workbooks (Add,
// Count), ActiveSheet (UsedRange, Range), Range(address) (PasteSpecial,
// Rows, Columns, Count), Visible. Once Visible, a window shows the active
// document or workbook; closing it ends the application as a user closing it
// does (clients find the server gone); Ctrl+W in it closes the active
// document or workbook and leaves the application running.
//
// With hang-paste, every Paste and PasteSpecial hangs (logged as "hangs in a
// paste") until the file RELEASE exists: the process answers no call and its
// window does not repaint meanwhile, as an application that hangs.
//
// This file reads the command line and runs the message loop; office_state
// holds the documents and writes the log, office_objects answers the calls,
// office_window is the window.
#include <windows.h>

#include <string>

#include "dispatch_object.h"
#include "office_objects.h"
#include "office_state.h"
#include "office_window.h"

namespace {

constexpr UINT kMaybeIdle = WM_APP + 1;

DWORD mainThread = 0;
DWORD registration = 0;

// The user quits: no new client may reach this process any more.
void revokeRegistration() {
  CoRevokeClassObject(registration);
  registration = 0;
}

bool parseClassId(const wchar_t* text, CLSID& classId) {
  std::wstring copy(text);
  return SUCCEEDED(CLSIDFromString(copy.data(), &classId));
}

}  // namespace

void servers::lastObjectGone() {
  PostThreadMessageW(mainThread, kMaybeIdle, 0, 0);
}

int main() {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  CLSID classId{};
  if (argc < 4 || (lstrcmpW(argv[1], L"word") != 0 && lstrcmpW(argv[1], L"sheet") != 0) ||
      !parseClassId(argv[2], classId)) {
    const char usage[] =
        "usage: hf_office_server word|sheet {CLSID} LOG [hang-paste RELEASE] [-Embedding]\n";
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_ERROR_HANDLE), usage, sizeof usage - 1, &written, nullptr);
    return 2;
  }
  office_server::office.spreadsheet = lstrcmpW(argv[1], L"sheet") == 0;
  office_server::office.log = argv[3];
  if (argc >= 6 && lstrcmpW(argv[4], L"hang-paste") == 0)
    office_server::office.pasteHangsUntil = argv[5];
  LocalFree(argv);

  mainThread = GetCurrentThreadId();
  CoInitialize(nullptr);
  if (FAILED(CoRegisterClassObject(classId, &office_server::applicationFactory(),
                                   CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE, &registration)))
    return 1;
  office_server::onUserQuit(revokeRegistration);
  // Checks now and then whether anyone still holds the application.
  SetTimer(nullptr, 0, 60000, nullptr);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    // Nobody holds the application: a hidden one ends at once, as the real
    // ones do; one the user can see stays until a minute without clients.
    const bool idle = servers::liveObjects == 0;
    if (message.message == kMaybeIdle && idle && !office_server::windowVisible()) break;
    if (message.message == WM_TIMER && message.hwnd == nullptr && idle) break;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  if (registration) CoRevokeClassObject(registration);
  CoUninitialize();
  return 0;
}
