#pragma once

// Registers the test servers for a test: an out-of-process class under a
// ProgID, started by COM with a command line (COM appends -Embedding). Wine
// reads class registrations from HKLM only.
#include <windows.h>

#include <string>

namespace servers {

inline const std::wstring kClasses = L"Software\\Classes\\";

inline bool setDefaultValue(const std::wstring& key, const std::wstring& value) {
  HKEY handle = nullptr;
  if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle,
                      nullptr) != ERROR_SUCCESS)
    return false;
  const LSTATUS status =
      RegSetValueExW(handle, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                     static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(handle);
  return status == ERROR_SUCCESS;
}

inline bool registerLocalServer(const std::wstring& progId, const std::wstring& classId,
                                const std::wstring& command) {
  const std::wstring classKey = kClasses + L"CLSID\\" + classId;
  return setDefaultValue(kClasses + progId + L"\\CLSID", classId) &&
         setDefaultValue(classKey + L"\\LocalServer32", command) &&
         setDefaultValue(classKey + L"\\ProgID", progId);
}

// Either may be missing already.
inline void unregisterLocalServer(const std::wstring& progId, const std::wstring& classId) {
  RegDeleteTreeW(HKEY_LOCAL_MACHINE, (kClasses + progId).c_str());
  RegDeleteTreeW(HKEY_LOCAL_MACHINE, (kClasses + L"CLSID\\" + classId).c_str());
}

}  // namespace servers
