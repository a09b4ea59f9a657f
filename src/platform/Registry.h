#pragma once
// The registry calls the program makes, on top of the settings store
// (SettingsStore.h). Only one part of the registry exists: HKEY_CURRENT_USER
// "Software\Stavlin" (the store itself, always present) and its subkeys (the
// store's groups), each with its default value as a REG_SZ text. Paths may be
// given from HKEY_CURRENT_USER ("Software\Stavlin\Midi") or from an open key
// ("Midi"), and compare without regard to case. Keys elsewhere in the hive
// cannot be opened or created, and subkeys of groups do not exist.
//
// Results are Win32 error codes. Where Win32 would be loose, these calls are
// strict:
// - RegQueryValue fails with ERROR_FILE_NOT_FOUND when the key has no default
//   value (Win32 returns an empty text), so a reader can tell "never set" from
//   "set to empty".
// - A value longer than the buffer fails with ERROR_MORE_DATA and the size
//   needed, and the buffer is left untouched.
// - RegDeleteKey of "Software\Stavlin" fails with ERROR_ACCESS_DENIED while any
//   group exists (as on Windows NT: a key with subkeys is not deleted); with no
//   groups left it succeeds and changes nothing.
// - A change the store cannot write fails with ERROR_CANTWRITE and changes
//   nothing. Handles are checked: an unknown or closed handle gives
//   ERROR_INVALID_HANDLE, a handle whose key was deleted ERROR_KEY_DELETED.
//
// User-interface thread only, as the store.

#include <cstdint>
#include <string>

#include "platform/WinTypes.h"

struct KRegistryKey;
using HKEY = KRegistryKey*;
using PHKEY = HKEY*;
using PLONG = LONG*;

#define HKEY_CURRENT_USER (reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(0x80000001u)))

inline constexpr LONG ERROR_SUCCESS = 0;
inline constexpr LONG ERROR_FILE_NOT_FOUND = 2;
inline constexpr LONG ERROR_ACCESS_DENIED = 5;
inline constexpr LONG ERROR_INVALID_HANDLE = 6;
inline constexpr LONG ERROR_INVALID_PARAMETER = 87;
inline constexpr LONG ERROR_MORE_DATA = 234;
inline constexpr LONG ERROR_CANTWRITE = 1013;
inline constexpr LONG ERROR_KEY_DELETED = 1018;

inline constexpr DWORD REG_SZ = 1;

// Opens the key, creating it when missing. A null or empty subKey gives back
// hKey itself.
LONG RegCreateKey(HKEY hKey, LPCTSTR subKey, PHKEY result);
// Opens an existing key. A null or empty subKey gives back hKey itself.
LONG RegOpenKey(HKEY hKey, LPCTSTR subKey, PHKEY result);
// Copies the default value of the key (hKey, or its subkey subKey) into data,
// with its terminating NUL. *dataSize holds the buffer's size in bytes on entry
// and the value's size with the NUL on return. With data null only the size is
// returned.
LONG RegQueryValue(HKEY hKey, LPCTSTR subKey, LPTSTR data, PLONG dataSize);
// Sets the default value of the key (creating it when missing) to the
// NUL-terminated text data. type must be REG_SZ; dataSize is ignored, as in
// Win32, where the text's own length counts.
LONG RegSetValue(HKEY hKey, LPCTSTR subKey, DWORD type, LPCTSTR data, DWORD dataSize);
// Deletes the subkey subKey of hKey with its value.
LONG RegDeleteKey(HKEY hKey, LPCTSTR subKey);
// RegQueryValue for a text of any length: the default value of the key into
// text, which is left as it was on failure.
LONG RegQueryValueString(HKEY hKey, LPCTSTR subKey, std::string& text);
LONG RegCloseKey(HKEY hKey);

inline LONG RegQueryValueA(HKEY hKey, LPCTSTR subKey, LPTSTR data, PLONG dataSize) {
  return RegQueryValue(hKey, subKey, data, dataSize);
}
inline LONG RegSetValueA(HKEY hKey, LPCTSTR subKey, DWORD type, LPCTSTR data, DWORD dataSize) {
  return RegSetValue(hKey, subKey, type, data, dataSize);
}
