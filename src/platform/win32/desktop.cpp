#include "platform/desktop.h"
#include "platform/keys.h"

#include <windows.h>

#include <mmsystem.h>
#include <shellapi.h>

#include "platform/win32/display.h"
#include "platform/win32/hotkey_repeats.h"
#include "platform/win32/pictures.h"
#include "platform/win32/ui_impl.h"
#include "platform/win32/wide_text.h"

namespace hf::desktop {

Size screenSize() {
  win32::ensureDpiAware();
  return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

bool registerHotkey(ui::Window& owner, int id, unsigned modifiers, int virtualKey) {
  ui::Window::Impl& window = owner.impl();
  // The system would quietly keep both keys under one id; an id in use is refused instead.
  if (!window.hwnd || window.hotkeys.count(id)) return false;
  UINT systemModifiers = ((modifiers & keys::kCtrlFlag) ? MOD_CONTROL : 0) |
                         ((modifiers & keys::kShiftFlag) ? MOD_SHIFT : 0) |
                         ((modifiers & keys::kAltFlag) ? MOD_ALT : 0) |
                         MOD_NOREPEAT;  // a key held down fires once, not once per repeat
  if (!RegisterHotKey(window.hwnd, id, systemModifiers, static_cast<UINT>(virtualKey)))
    return false;
  win32::noteHotkeyRegistered(window.hwnd, id, virtualKey);
  window.hotkeys.insert(id);
  return true;
}

void unregisterHotkey(ui::Window& owner, int id) {
  ui::Window::Impl& window = owner.impl();
  if (!window.hotkeys.erase(id)) return;
  UnregisterHotKey(window.hwnd, id);
  win32::noteHotkeyReleased(window.hwnd, id);
}

bool claimSingleInstance(std::string_view name) {
  SetLastError(ERROR_SUCCESS);  // only a marker that already exists may leave ERROR_ALREADY_EXISTS
  HANDLE marker = CreateEventW(nullptr, FALSE, FALSE, win32::widen(name).c_str());
  if (!marker) return false;
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    CloseHandle(marker);
    return false;
  }
  return true;  // the handle stays open until the process ends
}

void trimWorkingSet() {
  SetProcessWorkingSetSize(GetCurrentProcess(), static_cast<SIZE_T>(-1), static_cast<SIZE_T>(-1));
}

void openWithShell(std::string_view gbkTarget) {
  ShellExecuteW(nullptr, L"open", win32::widen(gbkTarget).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void openPath(const std::filesystem::path& path) {
  ShellExecuteW(nullptr, L"open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

LocalTime localTime() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

void playSound(Sound sound) {
  PlaySoundW(MAKEINTRESOURCEW(win32::resourceIdOf(sound)), win32::programInstance(),
             SND_RESOURCE | SND_ASYNC | SND_NODEFAULT);
}

}  // namespace hf::desktop
