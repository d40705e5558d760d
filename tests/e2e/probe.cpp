// Helper of the end-to-end scripts: reports where the program's windows are,
// which window is in the foreground and what the list views hold, so that the
// scripts can drive real input with xdotool and check its effects.
// Prints plain text (titles as UTF-8) on stdout; exits 0 on success, 1 on failure.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "../win32/servers/registration.h"

namespace {

constexpr DWORD kDefaultTimeoutMs = 10000;
constexpr DWORD kPollMs = 50;

std::string to_utf8(std::wstring_view text) {
  if (text.empty()) return {};
  int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                 nullptr, nullptr);
  std::string out(size, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
                      nullptr, nullptr);
  return out;
}

// Written unconverted: the C runtime's text mode would turn "\n" into "\r\n".
void write_to(DWORD std_handle, const std::string& text) {
  DWORD written = 0;
  WriteFile(GetStdHandle(std_handle), text.data(), static_cast<DWORD>(text.size()), &written,
            nullptr);
}

void print_line(const std::string& line) {
  write_to(STD_OUTPUT_HANDLE, line + "\n");
}

int fail(const std::string& message) {
  write_to(STD_ERROR_HANDLE, "probe: " + message + "\n");
  return 1;
}

int fail_about(const std::wstring& title, const char* problem) {
  std::string message = "window \"";
  message += to_utf8(title);
  message += "\" ";
  message += problem;
  return fail(message);
}

std::string hex_handle(const void* handle) {
  char text[32];
  wsprintfA(text, "0x%08lX", static_cast<unsigned long>(reinterpret_cast<uintptr_t>(handle)));
  return text;
}

std::wstring window_title(HWND window) {
  std::wstring title(GetWindowTextLengthW(window) + 1, L'\0');
  title.resize(GetWindowTextW(window, title.data(), static_cast<int>(title.size())));
  return title;
}

struct TitleSearch {
  const std::wstring* title;
  std::vector<HWND> found;
};

BOOL CALLBACK collect_titled(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<TitleSearch*>(param);
  if (IsWindowVisible(window) && window_title(window) == *search->title)
    search->found.push_back(window);
  return TRUE;
}

std::vector<HWND> visible_windows_titled(const std::wstring& title) {
  TitleSearch search{&title, {}};
  EnumWindows(collect_titled, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

BOOL CALLBACK collect_list_views(HWND child, LPARAM param) {
  wchar_t class_name[64];
  if (GetClassNameW(child, class_name, 64) && lstrcmpiW(class_name, WC_LISTVIEWW) == 0)
    reinterpret_cast<std::vector<HWND>*>(param)->push_back(child);
  return TRUE;
}

template <typename Condition>
bool wait_until(DWORD timeout_ms, Condition condition) {
  const ULONGLONG deadline = GetTickCount64() + timeout_ms;
  while (!condition()) {
    if (GetTickCount64() >= deadline) return false;
    Sleep(kPollMs);
  }
  return true;
}

HWND wait_for_window(const std::wstring& title, DWORD timeout_ms) {
  HWND window = nullptr;
  wait_until(timeout_ms, [&] {
    auto found = visible_windows_titled(title);
    window = found.empty() ? nullptr : found.front();
    return window != nullptr;
  });
  return window;
}

UINT window_dpi(HWND window) {
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  auto get_dpi = reinterpret_cast<GetDpiForWindowFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  UINT dpi = get_dpi ? get_dpi(window) : 0;
  return dpi ? dpi : 96;
}

// Screen coordinates must be physical pixels, as xdotool sees them.
void become_dpi_aware() {
  using SetContextFn = BOOL(WINAPI*)(HANDLE);
  auto set_context = reinterpret_cast<SetContextFn>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetProcessDpiAwarenessContext")));
  const auto per_monitor_v2 = reinterpret_cast<HANDLE>(static_cast<intptr_t>(-4));
  if (!set_context || !set_context(per_monitor_v2)) SetProcessDPIAware();
}

// The X11 window Wine created for a top-level window, for `xdotool windowfocus`.
std::string x11_window_of(HWND window) {
  auto id = reinterpret_cast<uintptr_t>(GetPropW(window, L"__wine_x11_whole_window"));
  return std::to_string(id);
}

DWORD parse_number(const std::wstring& text) {
  return wcstoul(text.c_str(), nullptr, 10);
}

DWORD timeout_arg(const std::vector<std::wstring>& args, size_t index) {
  return args.size() > index ? parse_number(args[index]) : kDefaultTimeoutMs;
}

int cmd_find(const std::vector<std::wstring>& args) {
  HWND window = wait_for_window(args[1], timeout_arg(args, 2));
  if (!window) return fail_about(args[1], "not found");
  RECT frame{};
  GetWindowRect(window, &frame);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  print_line(hex_handle(window) + " " + std::to_string(frame.left) + " " +
             std::to_string(frame.top) + " " + std::to_string(frame.right) + " " +
             std::to_string(frame.bottom) + " " + std::to_string(origin.x) + " " +
             std::to_string(origin.y) + " " + std::to_string(window_dpi(window)));
  return 0;
}

int cmd_count(const std::vector<std::wstring>& args) {
  print_line(std::to_string(visible_windows_titled(args[1]).size()));
  return 0;
}

// The screen pixel of the client point (x, y) given in 96-DPI units.
POINT screen_point(HWND window, const std::wstring& x, const std::wstring& y) {
  const int dpi = static_cast<int>(window_dpi(window));
  POINT point{MulDiv(static_cast<int>(parse_number(x)), dpi, 96),
              MulDiv(static_cast<int>(parse_number(y)), dpi, 96)};
  ClientToScreen(window, &point);
  return point;
}

int cmd_point(const std::vector<std::wstring>& args) {
  HWND window = wait_for_window(args[1], kDefaultTimeoutMs);
  if (!window) return fail_about(args[1], "not found");
  const POINT point = screen_point(window, args[2], args[3]);
  print_line(std::to_string(point.x) + " " + std::to_string(point.y));
  return 0;
}

int cmd_foreground(const std::vector<std::wstring>&) {
  HWND window = GetForegroundWindow();
  if (!window) return fail("no foreground window");
  print_line(hex_handle(window) + " " + x11_window_of(window) + " " +
             to_utf8(window_title(window)));
  return 0;
}

int cmd_activate(const std::vector<std::wstring>& args) {
  HWND window = wait_for_window(args[1], kDefaultTimeoutMs);
  if (!window) return fail_about(args[1], "not found");
  SetForegroundWindow(window);
  if (!wait_until(timeout_arg(args, 2), [&] { return GetForegroundWindow() == window; }))
    return fail_about(args[1], "did not become the foreground window");
  print_line(hex_handle(window) + " " + x11_window_of(window));
  return 0;
}

int cmd_close(const std::vector<std::wstring>& args) {
  HWND window = wait_for_window(args[1], kDefaultTimeoutMs);
  if (!window) return fail_about(args[1], "not found");
  PostMessageW(window, WM_CLOSE, 0, 0);
  if (!wait_until(timeout_arg(args, 2), [&] { return !IsWindow(window); }))
    return fail_about(args[1], "still exists after WM_CLOSE");
  return 0;
}

// One line "controlId itemCount" per list view inside the window.
int cmd_lists(const std::vector<std::wstring>& args) {
  HWND window = wait_for_window(args[1], kDefaultTimeoutMs);
  if (!window) return fail_about(args[1], "not found");
  std::vector<HWND> lists;
  EnumChildWindows(window, collect_list_views, reinterpret_cast<LPARAM>(&lists));
  for (HWND list : lists) {
    DWORD_PTR count = 0;
    if (!SendMessageTimeoutW(list, LVM_GETITEMCOUNT, 0, 0, SMTO_ABORTIFHUNG, 5000, &count))
      return fail("list view did not answer");
    print_line(std::to_string(GetDlgCtrlID(list)) + " " + std::to_string(count));
  }
  return 0;
}

struct ChildSearch {
  POINT screen;
  const wchar_t* class_name;  // nullptr: any class
  HWND best = nullptr;
  long best_area = 0;
};

BOOL CALLBACK pick_innermost_child(HWND child, LPARAM param) {
  auto* search = reinterpret_cast<ChildSearch*>(param);
  wchar_t class_name[64];
  RECT rect{};
  if (!IsWindowVisible(child) || !GetWindowRect(child, &rect) || !PtInRect(&rect, search->screen))
    return TRUE;
  if (search->class_name &&
      !(GetClassNameW(child, class_name, 64) && lstrcmpiW(class_name, search->class_name) == 0))
    return TRUE;
  const long area = (rect.right - rect.left) * (rect.bottom - rect.top);
  if (!search->best || area < search->best_area) {
    search->best = child;
    search->best_area = area;
  }
  return TRUE;
}

// The smallest visible control (of that class, if given) that covers the
// client point (x, y) in 96-DPI units: group boxes and panels cover others.
HWND child_at(HWND window, const std::wstring& x, const std::wstring& y,
              const wchar_t* class_name) {
  ChildSearch search{screen_point(window, x, y), class_name};
  EnumChildWindows(window, pick_innermost_child, reinterpret_cast<LPARAM>(&search));
  return search.best;
}

// WM_GETTEXT is marshalled across processes, unlike GetWindowText for controls.
bool text_of(HWND control, std::wstring& text) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(control, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length))
    return false;
  text.assign(length + 1, L'\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                           SMTO_ABORTIFHUNG, 5000, &copied))
    return false;
  text.resize(copied);
  return true;
}

int cmd_text(const std::vector<std::wstring>& args) {
  HWND window = wait_for_window(args[1], kDefaultTimeoutMs);
  if (!window) return fail_about(args[1], "not found");
  HWND control = child_at(window, args[2], args[3], nullptr);
  if (!control) return fail_about(args[1], "has no control at that point");
  std::wstring text;
  if (!text_of(control, text)) return fail("the control did not answer WM_GETTEXT");
  print_line(to_utf8(text));
  return 0;
}

// Picks an item of the drop-down list at the point the way a user's choice
// does: the new selection, then CBN_SELCHANGE to the parent. Prints the item.
int cmd_select(const std::vector<std::wstring>& args) {
  HWND window = wait_for_window(args[1], kDefaultTimeoutMs);
  if (!window) return fail_about(args[1], "not found");
  HWND combo = child_at(window, args[2], args[3], WC_COMBOBOXW);
  if (!combo) return fail_about(args[1], "has no drop-down list at that point");
  const auto index = static_cast<WPARAM>(parse_number(args[4]));
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(combo, CB_SETCURSEL, index, 0, SMTO_ABORTIFHUNG, 5000, &result) ||
      result != index)
    return fail("no such item in the drop-down list");
  const WPARAM command = MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE);
  if (!SendMessageTimeoutW(GetParent(combo), WM_COMMAND, command, reinterpret_cast<LPARAM>(combo),
                           SMTO_ABORTIFHUNG, 10000, &result))
    return fail("the drop-down list's parent did not answer the selection");
  std::wstring item;
  if (!text_of(combo, item)) return fail("the drop-down list did not answer WM_GETTEXT");
  print_line(to_utf8(item));
  return 0;
}

// Whether another program could take the hotkey now: registers it and lets it go.
int cmd_hotkey_free(const std::vector<std::wstring>& args) {
  const auto modifiers = static_cast<UINT>(wcstoul(args[1].c_str(), nullptr, 0));
  const auto key = static_cast<UINT>(wcstoul(args[2].c_str(), nullptr, 0));
  if (!RegisterHotKey(nullptr, 1, modifiers, key)) {
    print_line("taken");
    return 0;
  }
  UnregisterHotKey(nullptr, 1);
  print_line("free");
  return 0;
}

// Whether a visible top-level window of the window class is on the desktop
// (the program's full-screen capture window has no title to find it by).
int cmd_class_shown(const std::vector<std::wstring>& args) {
  HWND window = FindWindowW(args[1].c_str(), nullptr);
  print_line(window && IsWindowVisible(window) ? "shown" : "none");
  return 0;
}

BOOL CALLBACK collect_of_class(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<std::pair<const std::wstring*, std::vector<HWND>>*>(param);
  wchar_t class_name[256];
  if (GetClassNameW(window, class_name, 256) && *search->first == class_name)
    search->second.push_back(window);
  return TRUE;
}

// Closes every top-level window of the class, as a user would, and waits
// until they are gone (windows without a title the scripts could name).
int cmd_close_class(const std::vector<std::wstring>& args) {
  std::pair<const std::wstring*, std::vector<HWND>> search{&args[1], {}};
  EnumWindows(collect_of_class, reinterpret_cast<LPARAM>(&search));
  for (HWND window : search.second) PostMessageW(window, WM_CLOSE, 0, 0);
  const bool closed = wait_until(timeout_arg(args, 2), [&] {
    for (HWND window : search.second)
      if (IsWindow(window)) return false;
    return true;
  });
  if (!closed) return fail("a window of class " + to_utf8(args[1]) + " is still there");
  print_line(std::to_string(search.second.size()));
  return 0;
}

// The texts of the visible tooltips and balloon hints on the desktop, one per
// line: a tip answers WM_GETTEXT with the text it shows.
BOOL CALLBACK collect_tips(HWND window, LPARAM param) {
  wchar_t class_name[64];
  std::wstring text;
  if (IsWindowVisible(window) && GetClassNameW(window, class_name, 64) &&
      lstrcmpiW(class_name, TOOLTIPS_CLASSW) == 0 && text_of(window, text) && !text.empty())
    reinterpret_cast<std::vector<std::wstring>*>(param)->push_back(text);
  return TRUE;
}

int cmd_tips(const std::vector<std::wstring>&) {
  std::vector<std::wstring> tips;
  EnumWindows(collect_tips, reinterpret_cast<LPARAM>(&tips));
  for (const auto& tip : tips) print_line(to_utf8(tip));
  return 0;
}

// The mouse buttons held down now in the system's input state, which a
// program's simulated presses change too.
int cmd_buttons(const std::vector<std::wstring>&) {
  constexpr std::pair<int, const char*> kButtons[] = {
      {VK_LBUTTON, "left"}, {VK_RBUTTON, "right"}, {VK_MBUTTON, "middle"}};
  std::string held;
  for (const auto& [key, name] : kButtons)
    if (GetAsyncKeyState(key) & 0x8000) held += (held.empty() ? "" : " ") + std::string(name);
  print_line(held.empty() ? "none" : held);
  return 0;
}

// An out-of-process automation server under PROGID: the class CLSID started
// as "EXE" ARGS....
int cmd_register(const std::vector<std::wstring>& args) {
  std::wstring command = L"\"" + args[3] + L"\"";
  for (size_t i = 4; i < args.size(); ++i) command += L" " + args[i];
  if (!servers::registerLocalServer(args[1], args[2], command))
    return fail("cannot write the registration of " + to_utf8(args[1]));
  return 0;
}

int cmd_unregister(const std::vector<std::wstring>& args) {
  servers::unregisterLocalServer(args[1], args[2]);
  return 0;
}

struct Command {
  const wchar_t* name;
  size_t min_args;  // including the command name
  int (*run)(const std::vector<std::wstring>&);
};

constexpr Command kCommands[] = {
    {L"find", 2, cmd_find},
    {L"count", 2, cmd_count},
    {L"point", 4, cmd_point},
    {L"foreground", 1, cmd_foreground},
    {L"activate", 2, cmd_activate},
    {L"close", 2, cmd_close},
    {L"lists", 2, cmd_lists},
    {L"text", 4, cmd_text},
    {L"select", 5, cmd_select},
    {L"hotkey-free", 3, cmd_hotkey_free},
    {L"class-shown", 2, cmd_class_shown},
    {L"close-class", 2, cmd_close_class},
    {L"tips", 1, cmd_tips},
    {L"buttons", 1, cmd_buttons},
    {L"register", 4, cmd_register},
    {L"unregister", 3, cmd_unregister},
};

constexpr char kUsage[] =
    "usage: probe find TITLE [timeout_ms]   -> hwnd frame(l t r b) clientOrigin(x y) dpi\n"
    "       probe count TITLE               -> number of visible top-level windows titled TITLE\n"
    "       probe point TITLE X Y           -> screen pixel X Y of the 96-DPI client point\n"
    "       probe foreground                -> hwnd x11window title\n"
    "       probe activate TITLE [timeout]  -> hwnd x11window, once TITLE is the foreground\n"
    "       probe close TITLE [timeout_ms]  posts WM_CLOSE and waits until the window is gone\n"
    "       probe lists TITLE               -> controlId itemCount, per list view\n"
    "       probe text TITLE X Y            -> text of the control at the 96-DPI client point\n"
    "       probe select TITLE X Y INDEX    picks item INDEX of the drop-down list there -> item\n"
    "       probe hotkey-free MOD VK        -> free or taken (RegisterHotKey, numbers or 0x..)\n"
    "       probe class-shown CLASS         -> shown or none (a visible top-level window of "
    "CLASS)\n"
    "       probe close-class CLASS [timeout_ms]  closes its top-level windows -> how many\n"
    "       probe tips                      -> the text of each visible tooltip or balloon hint\n"
    "       probe buttons                   -> the mouse buttons held down (left right middle) "
    "or none\n"
    "       probe register PROGID CLSID EXE [ARG...]  registers a local automation server (HKLM)\n"
    "       probe unregister PROGID CLSID   removes that registration";

}  // namespace

int main() {
  become_dpi_aware();
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::vector<std::wstring> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  LocalFree(argv);
  if (!args.empty()) {
    for (const Command& command : kCommands) {
      if (args[0] == command.name && args.size() >= command.min_args) return command.run(args);
    }
  }
  return fail(kUsage);
}
