#include "support/Scratch.h"

#include <atomic>

namespace {

std::string UniqueName() {
  static std::atomic<unsigned> serial{0};
  return "unins test " + std::to_string(GetCurrentProcessId()) + "-" +
         std::to_string(GetTickCount()) + "-" + std::to_string(serial++);
}

}  // namespace

void MakeDirs(const std::string& path) {
  for (size_t i = 3; i <= path.size(); ++i)
    if (i == path.size() || path[i] == '\\') CreateDirectoryA(path.substr(0, i).c_str(), nullptr);
}

ScratchDir::ScratchDir() {
  char temp[MAX_PATH];
  const DWORD n = GetTempPathA(MAX_PATH, temp);
  path_ = std::string(temp, n);
  if (!path_.empty() && path_.back() == '\\') path_.pop_back();
  path_ += '\\' + UniqueName();
  MakeDirs(path_);
}

ScratchDir::~ScratchDir() { RemoveTree(path_); }

std::string ScratchDir::operator/(std::string_view relative) const {
  return path_ + '\\' + std::string(relative);
}

std::string ScratchDir::Write(std::string_view relative, std::string_view bytes) const {
  const std::string path = *this / relative;
  MakeDirs(path.substr(0, path.rfind('\\')));
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
  }
  return path;
}

std::string ScratchDir::MakeDir(std::string_view relative) const {
  const std::string path = *this / relative;
  MakeDirs(path);
  return path;
}

ScratchKey::ScratchKey() : subkey_("Software\\" + UniqueName()) {
  for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
    HKEY key;
    if (RegCreateKeyExA(root, subkey_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) == ERROR_SUCCESS)
      RegCloseKey(key);
  }
}

ScratchKey::~ScratchKey() {
  for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) RegDeleteTreeA(root, subkey_.c_str());
}

bool FileExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool IsReadOnly(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

std::string ReadFileBytes(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  std::string bytes(GetFileSize(file, nullptr), '\0');
  DWORD read = 0;
  ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
  CloseHandle(file);
  bytes.resize(read);
  return bytes;
}

bool KeyExists(HKEY root, const std::string& subkey) {
  HKEY key;
  if (RegOpenKeyExA(root, subkey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

bool ValueExists(HKEY root, const std::string& subkey, const std::string& name) {
  return RegGetValueA(root, subkey.c_str(), name.c_str(), RRF_RT_ANY, nullptr, nullptr,
                      nullptr) == ERROR_SUCCESS;
}

void SetStringValue(HKEY root, const std::string& subkey, const std::string& name,
                    const std::string& value) {
  RegSetKeyValueA(root, subkey.c_str(), name.c_str(), REG_SZ, value.c_str(),
                  static_cast<DWORD>(value.size() + 1));
}

void SetDwordValue(HKEY root, const std::string& subkey, const std::string& name, DWORD value) {
  RegSetKeyValueA(root, subkey.c_str(), name.c_str(), REG_DWORD, &value, sizeof value);
}

long long DwordValue(HKEY root, const std::string& subkey, const std::string& name) {
  DWORD value = 0, size = sizeof value;
  if (RegGetValueA(root, subkey.c_str(), name.c_str(), RRF_RT_REG_DWORD, nullptr, &value,
                   &size) != ERROR_SUCCESS)
    return -1;
  return value;
}

void RemoveTree(const std::string& path) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      const std::string child = path + '\\' + name;
      SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveTree(child);
      else
        DeleteFileA(child.c_str());
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  RemoveDirectoryA(path.c_str());
}

std::string ProgramDir() {
  char self[MAX_PATH];
  const DWORD n = GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string path(self, n);
  return path.substr(0, path.rfind('\\'));
}
