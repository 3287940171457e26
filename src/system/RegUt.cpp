// Registry access.
#include "system/RegUt.h"

#include <exception>

#include "text/Strut.h"

// Each entry: the name's length, the name, the handle value low byte first. The literal's own
// terminating zero ends the table.
extern constexpr char REG_ROOTS[] =
    "\x11" "HKEY_CLASSES_ROOT"      "\x00\x00\x00\x80"
    "\x11" "HKEY_CURRENT_USER"      "\x01\x00\x00\x80"
    "\x12" "HKEY_LOCAL_MACHINE"     "\x02\x00\x00\x80"
    "\x0A" "HKEY_USERS"             "\x03\x00\x00\x80"
    "\x15" "HKEY_PERFORMANCE_DATA"  "\x04\x00\x00\x80"
    "\x13" "HKEY_CURRENT_CONFIG"    "\x05\x00\x00\x80"
    "\x0D" "HKEY_DYN_DATA"          "\x06\x00\x00\x80";

namespace {

// True when every length byte of the table is followed by that many name characters and four
// value bytes, and the last length byte, 0, is the table's last byte.
constexpr bool IsWellFormed(const char* table, size_t size) {
  size_t at = 0;
  while (at < size && table[at] != 0) {
    const size_t length = static_cast<unsigned char>(table[at]);
    for (size_t i = 1; i <= length; ++i) {
      if (at + i >= size || table[at + i] == 0) return false;
    }
    at += 1 + length + 4;
  }
  return at == size - 1;
}
static_assert(IsWellFormed(REG_ROOTS, sizeof REG_ROOTS), "a length byte of REG_ROOTS is wrong");

// Type and size of value name of key (RegQueryValueExA without a buffer).
bool QueryValue(HKEY key, const SystemText& name, DWORD& type, DWORD& size) {
  return RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS;
}

// The data of value name of key into buffer (size in: its capacity, out: the bytes stored),
// provided the value still has the given type.
bool QueryData(HKEY key, const SystemText& name, DWORD wanted, void* buffer, DWORD& size) {
  DWORD type = 0;
  return RegQueryValueExA(key, name.c_str(), nullptr, &type, static_cast<BYTE*>(buffer),
                          &size) == ERROR_SUCCESS &&
         type == wanted;
}

}  // namespace

HKEY PredefinedKey(uint32_t value) {
  return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(value)));
}

HKEY RootKeyHandle(std::string_view name) { return PredefinedKey(NameLookup(name, REG_ROOTS, 0)); }

bool OpenRegKey(HKEY root, std::string_view subkey, RegKey& key, uint32_t flags) {
  key.Reset();
  const SystemText path(subkey);
  if (!path) return false;
  HKEY opened = nullptr;
  const LSTATUS status =
      (flags & RK_CREATE)
          ? RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, RK_ACCESS, nullptr, &opened,
                            nullptr)
          : RegOpenKeyExA(root, path.c_str(), 0, RK_ACCESS, &opened);
  if (status != ERROR_SUCCESS) return false;
  key.Reset(opened);
  return true;
}

bool WriteRegValue(RegKey key, std::string_view name, const void* data, uint32_t type,
                   uint32_t size) {
  const SystemText value(name);
  if (!key.IsOpen() || !value) return false;
  return RegSetValueExA(key.Get(), value.c_str(), 0, type, static_cast<const BYTE*>(data),
                        size) == ERROR_SUCCESS;
}

bool ReadRegValue(RegKey key, std::string_view name, std::string& text) {
  const SystemText value(name);
  DWORD type = 0;
  DWORD size = 0;
  if (!key.IsOpen() || !value || !QueryValue(key.Get(), value, type, size) || type != REG_SZ) {
    return false;
  }
  std::string buffer;
  try {
    buffer.resize(size);
  } catch (const std::exception&) {
    return false;
  }
  // The first answer may be larger than the data (the system may count the stored form), and
  // the data need not end with a zero: keep what the second query stored, minus the zeros
  // that end it.
  DWORD stored = size;
  if (!QueryData(key.Get(), value, REG_SZ, buffer.data(), stored)) return false;
  buffer.resize(stored);
  while (!buffer.empty() && buffer.back() == '\0') buffer.pop_back();
  text = std::move(buffer);
  return true;
}

bool ReadRegValue(RegKey key, std::string_view name, int32_t& value) {
  const SystemText valueName(name);
  DWORD type = 0;
  DWORD size = 0;
  if (!key.IsOpen() || !valueName || !QueryValue(key.Get(), valueName, type, size) ||
      type != REG_DWORD) {
    return false;
  }
  // Into a 4-byte buffer whatever size the value claims: a longer value does not fit (and
  // fails), a shorter one does not count.
  DWORD data = 0;
  DWORD stored = sizeof data;
  if (!QueryData(key.Get(), valueName, REG_DWORD, &data, stored) || stored != sizeof data) {
    return false;
  }
  value = static_cast<int32_t>(data);
  return true;
}

bool DeleteRegValue(HKEY root, std::string_view subkey, std::string_view name) {
  RegKey key;
  if (!OpenRegKey(root, subkey, key, 0)) return false;
  const SystemText value(name);
  return value && RegDeleteValueA(key.Get(), value.c_str()) == ERROR_SUCCESS;
}

bool IsRegKeyEmpty(HKEY root, std::string_view subkey) {
  RegKey key;
  if (!OpenRegKey(root, subkey, key, 0)) return false;
  DWORD subkeys = 0;
  DWORD values = 0;
  // A key whose contents cannot be counted is not called empty: the caller deletes empty keys.
  if (RegQueryInfoKeyA(key.Get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr,
                       &values, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  return subkeys == 0 && values == 0;
}

bool WriteRegDword(HKEY root, std::string_view subkey, std::string_view name, uint32_t flags,
                   int32_t value) {
  RegKey key;
  if (!OpenRegKey(root, subkey, key, flags)) return false;
  const DWORD data = static_cast<DWORD>(value);
  return WriteRegValue(std::move(key), name, &data, REG_DWORD, sizeof data);
}

bool ReadRegDword(HKEY root, std::string_view subkey, std::string_view name, uint32_t flags,
                  int32_t& value) {
  RegKey key;
  const bool read = OpenRegKey(root, subkey, key, 0) && ReadRegValue(std::move(key), name, value);
  if (!read && (flags & RK_CREATE)) return WriteRegDword(root, subkey, name, RK_CREATE, value);
  return read;
}
