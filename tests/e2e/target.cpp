// Stand-in for another program's form in the end-to-end tests: a window
// "hotfill target" with five single-line fields in tab order that records
// what it receives, so a script can check what a paste run delivered.
//
//   e2e_target.exe LOG
//
// LOG gets one UTF-8 line per event, each starting with the Unix time in ms
// (the clock of `date +%s%3N`, so scripts and benchmarks can relate them):
//   <ms> ready 0x<hwnd>             the window is shown, field 1 has the focus
//   <ms> focus <n>                  field n got the keyboard focus
//   <ms> key [Shift+]<name> <n>     Tab, Enter, Left, Up, Right or Down pressed in field n
//   <ms> char U+<hex> <n>           field n received WM_CHAR with this UTF-16 unit
//   <ms> picture <w>x<h> <n>        Ctrl+V in field n while the clipboard holds a picture
//   <ms> field <n> <text>           the final texts, on WM_CLOSE
//   <ms> closed
// LOG.fields always holds the current texts, one field per line, rewritten on
// every change; inside a text "\" "\r" "\n" are written as \\ \r \n.
#include <windows.h>

#include <shellapi.h>

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

constexpr wchar_t kTitle[] = L"hotfill target";
constexpr int kFieldCount = 5;
constexpr RECT kFrame{100, 100, 500, 400};  // screen position, 400 x 300

HANDLE logFile = INVALID_HANDLE_VALUE;
std::wstring fieldsPath;
std::array<HWND, kFieldCount> fields{};
WNDPROC editProcedure = nullptr;

std::string toUtf8(std::wstring_view text) {
  if (text.empty()) return {};
  const int length = static_cast<int>(text.size());
  const int size =
      WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
  std::string out(size, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), length, out.data(), size, nullptr, nullptr);
  return out;
}

std::int64_t unixTimeMs() {
  FILETIME now;
  GetSystemTimePreciseAsFileTime(&now);
  const auto ticks = (static_cast<std::int64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
  constexpr std::int64_t kUnixEpoch = 116444736000000000;  // 1970-01-01 in 100 ns since 1601
  return (ticks - kUnixEpoch) / 10000;
}

void logLine(const std::string& event) {
  const std::string line = std::to_string(unixTimeMs()) + " " + event + "\n";
  DWORD written = 0;
  WriteFile(logFile, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

// 1-based number of the field, 0 for any other window.
int fieldNumber(HWND window) {
  for (int at = 0; at < kFieldCount; ++at) {
    if (fields[at] == window) return at + 1;
  }
  return 0;
}

std::wstring textOf(HWND window) {
  std::wstring text(GetWindowTextLengthW(window) + 1, L'\0');
  text.resize(GetWindowTextW(window, text.data(), static_cast<int>(text.size())));
  return text;
}

std::string escaped(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c == '\\') {
      out += "\\\\";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\n') {
      out += "\\n";
    } else {
      out += c;
    }
  }
  return out;
}

std::string fieldText(int at) {
  return escaped(toUtf8(textOf(fields[at])));
}

// Written beside and moved over, so a reader never sees half a file.
void writeFieldsFile() {
  std::string content;
  for (int at = 0; at < kFieldCount; ++at) content += fieldText(at) + "\n";
  const std::wstring partial = fieldsPath + L".partial";
  HANDLE file = CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
  CloseHandle(file);
  MoveFileExW(partial.c_str(), fieldsPath.c_str(), MOVEFILE_REPLACE_EXISTING);
}

const char* keyName(WPARAM key) {
  switch (key) {
    case VK_TAB:
      return "Tab";
    case VK_RETURN:
      return "Enter";
    case VK_LEFT:
      return "Left";
    case VK_UP:
      return "Up";
    case VK_RIGHT:
      return "Right";
    case VK_DOWN:
      return "Down";
    default:
      return nullptr;
  }
}

// Seen before IsDialogMessage, which takes Tab and Enter away from the field.
void logKeyDown(const MSG& message) {
  const int field = fieldNumber(message.hwnd);
  const char* name = keyName(message.wParam);
  if (message.message != WM_KEYDOWN || !field || !name) return;
  const std::string shift = (GetKeyState(VK_SHIFT) & 0x8000) ? "Shift+" : "";
  logLine("key " + shift + name + " " + std::to_string(field));
}

// An edit field pastes only text: a picture on the clipboard is noted by its size.
void logClipboardPicture(HWND field) {
  if (IsClipboardFormatAvailable(CF_UNICODETEXT) || !OpenClipboard(field)) return;
  BITMAP info{};
  if (auto* picture = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
      picture && GetObjectW(picture, sizeof info, &info))
    logLine("picture " + std::to_string(info.bmWidth) + "x" + std::to_string(info.bmHeight) + " " +
            std::to_string(fieldNumber(field)));
  CloseClipboard();
}

// The fields' own procedure sees every WM_CHAR, whether posted, sent or typed.
LRESULT CALLBACK fieldProcedure(HWND field, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CHAR) {
    char unit[16];
    wsprintfA(unit, "U+%04X", static_cast<unsigned>(wParam & 0xFFFF));
    logLine(std::string("char ") + unit + " " + std::to_string(fieldNumber(field)));
    if (wParam == 0x16) logClipboardPicture(field);
  }
  return CallWindowProcW(editProcedure, field, message, wParam, lParam);
}

void createFields(HWND window) {
  for (int at = 0; at < kFieldCount; ++at) {
    fields[at] = CreateWindowExW(
        WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, 10,
        10 + at * 50, 360, 24, window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(at + 1)),
        nullptr, nullptr);
    SendMessageW(fields[at], WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
                 FALSE);
    editProcedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(fields[at], GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(fieldProcedure)));
  }
}

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      createFields(window);
      return 0;
    case WM_COMMAND: {
      // Enter and Esc arrive as IDOK / IDCANCEL from IsDialogMessage and do nothing.
      const int field = fieldNumber(reinterpret_cast<HWND>(lParam));
      if (field && HIWORD(wParam) == EN_CHANGE) writeFieldsFile();
      if (field && HIWORD(wParam) == EN_SETFOCUS) logLine("focus " + std::to_string(field));
      return 0;
    }
    case WM_CLOSE:
      for (int at = 0; at < kFieldCount; ++at)
        logLine("field " + std::to_string(at + 1) + " " + fieldText(at));
      DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      logLine("closed");
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

HWND createWindow(HINSTANCE instance) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = windowProcedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = L"hotfill_e2e_target";
  RegisterClassW(&windowClass);
  return CreateWindowExW(0, windowClass.lpszClassName, kTitle, WS_OVERLAPPEDWINDOW, kFrame.left,
                         kFrame.top, kFrame.right - kFrame.left, kFrame.bottom - kFrame.top,
                         nullptr, nullptr, instance, nullptr);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (argc != 2) {
    constexpr char kUsage[] = "usage: e2e_target.exe LOG\n";
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_ERROR_HANDLE), kUsage, sizeof kUsage - 1, &written, nullptr);
    return 2;
  }
  logFile = CreateFileW(argv[1], GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
  fieldsPath = std::wstring(argv[1]) + L".fields";
  LocalFree(argv);
  if (logFile == INVALID_HANDLE_VALUE) return 1;

  HWND window = createWindow(instance);
  if (!window) return 1;
  writeFieldsFile();
  ShowWindow(window, SW_SHOWNORMAL);
  UpdateWindow(window);
  SetFocus(fields[0]);
  char handle[32];
  wsprintfA(handle, "0x%08lX", static_cast<unsigned long>(reinterpret_cast<uintptr_t>(window)));
  logLine(std::string("ready ") + handle);

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    logKeyDown(message);
    if (IsDialogMessageW(window, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  CloseHandle(logFile);
  return 0;
}
