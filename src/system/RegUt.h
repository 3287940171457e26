// RegUt: a thin layer over the system registry. Root-key names become the system's predefined
// key handles; keys are opened or created, 32-bit values read and written, values deleted, and
// a key's emptiness told.
//
// Every key is opened with full access (RK_ACCESS), also when it is only read, so a key the
// user may read but not write behaves like a missing one. Every operation answers a flag and
// closes every key it opened, on every path. A text that holds a zero byte (key path or value
// name) names nothing: it cannot reach the system unchanged. No state of its own; any thread.
// Windows builds only.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "system/WinSys.h"

// Flag of OpenRegKey, WriteRegDword and ReadRegDword: create the key, and every missing key
// above it, when it does not exist (clear: the key must exist).
constexpr uint32_t RK_CREATE = 0x1;
// The access every key is opened with (all access).
constexpr REGSAM RK_ACCESS = 0xF003F;

// The root-key name table read by NameLookup: per root key a length byte, the name and the
// 32-bit handle value, low byte first (HKEY_CLASSES_ROOT 0x80000000 .. HKEY_DYN_DATA
// 0x80000006); a length byte of 0 ends it.
extern const char REG_ROOTS[];

// The predefined key for a 32-bit handle value, widened the way the system widens its own
// (sign extension, so 0x80000002 is HKEY_LOCAL_MACHINE on 32 and on 64 bit); 0 gives 0.
HKEY PredefinedKey(uint32_t value);
// The predefined key whose whole name is name (ASCII letters in either case), or 0.
HKEY RootKeyHandle(std::string_view name);

// Opens (RK_CREATE: creates) root\subkey into key; false, key empty, when the system refuses.
bool OpenRegKey(HKEY root, std::string_view subkey, RegKey& key, uint32_t flags);
// Stores size bytes from data as value name of the given type (REG_SZ, REG_DWORD ...) in key;
// the key is closed in every case.
bool WriteRegValue(RegKey key, std::string_view name, const void* data, uint32_t type,
                   uint32_t size);
// text := the REG_SZ value name of key, without its terminating zero. False, text unchanged,
// when the value is missing or of another type. The key is closed in every case.
bool ReadRegValue(RegKey key, std::string_view name, std::string& text);
// value := the REG_DWORD value name of key. False, value unchanged, when the value is missing,
// of another type or not 4 bytes long. The key is closed in every case.
bool ReadRegValue(RegKey key, std::string_view name, int32_t& value);
// Deletes value name (empty: the key's default value) of the existing key root\subkey.
bool DeleteRegValue(HKEY root, std::string_view subkey, std::string_view name);
// True when the key root\subkey exists and holds neither values nor subkeys.
bool IsRegKeyEmpty(HKEY root, std::string_view subkey);
// Opens root\subkey with flags and stores value as REG_DWORD name; true when both succeed.
bool WriteRegDword(HKEY root, std::string_view subkey, std::string_view name, uint32_t flags,
                   int32_t value);
// Reads REG_DWORD name of root\subkey into value (in: the default). When that fails (no key,
// no value, another type), false and value keeps the default; with RK_CREATE the default is
// then stored (key created as needed) and the result is that write's.
bool ReadRegDword(HKEY root, std::string_view subkey, std::string_view name, uint32_t flags,
                  int32_t& value);
