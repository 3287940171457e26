#include "Scratch.h"

#include <gtest/gtest.h>

#include "system/WinSys.h"

namespace {

// Deletes path and everything below it, read-only files included.
void RemoveTree(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    DeleteFileA(path.c_str());
    return;
  }
  WIN32_FIND_DATAA data;
  const FindHandle search(FindFirstFileA((path + "\\*").c_str(), &data));
  if (search.IsOpen()) {
    do {
      const std::string name = data.cFileName;
      if (name != "." && name != "..") RemoveTree(path + '\\' + name);
    } while (FindNextFileA(search.Get(), &data));
  }
  RemoveDirectoryA(path.c_str());
}

// Creates every folder along path.
void MakeDirs(const std::string& path) {
  for (size_t at = path.find('\\', 3); at != std::string::npos; at = path.find('\\', at + 1)) {
    CreateDirectoryA(path.substr(0, at).c_str(), nullptr);
  }
  CreateDirectoryA(path.c_str(), nullptr);
}

}  // namespace

std::string UniqueTestName() {
  const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
  std::string name = std::to_string(GetCurrentProcessId()) + ' ' + test->test_suite_name() +
                     '.' + test->name();
  for (char& c : name) {
    if (c == '/' || c == '\\') c = '_';
  }
  return name;
}

ScratchDir::ScratchDir() {
  char temp[MAX_PATH + 1] = {};
  const DWORD length = GetTempPathA(sizeof temp, temp);
  root_ = std::string(temp, length) + "uninst test " + UniqueTestName();
  RemoveTree(root_);  // left over from a crashed run of the same process id
  MakeDirs(root_);
  EXPECT_TRUE(Attributes(root_) & FILE_ATTRIBUTE_DIRECTORY) << root_;
}

ScratchDir::~ScratchDir() { RemoveTree(root_); }

std::string ScratchDir::Path(std::string_view relative) const {
  return root_ + '\\' + std::string(relative);
}

std::string ScratchDir::MakeDir(std::string_view relative) const {
  const std::string path = Path(relative);
  MakeDirs(path);
  return path;
}

std::string ScratchDir::MakeFile(std::string_view relative, std::string_view bytes,
                                 DWORD attributes) const {
  const std::string path = Path(relative);
  MakeDirs(path.substr(0, path.rfind('\\')));
  KernelHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  EXPECT_TRUE(file.IsOpen()) << path;
  EXPECT_TRUE(WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                        nullptr));
  file.Close();
  if (attributes != 0) {
    EXPECT_TRUE(SetFileAttributesA(path.c_str(), attributes)) << path;
  }
  return path;
}

ScratchKey::ScratchKey(HKEY root) : root_(root), subkey_("Software\\uninst test " + UniqueTestName()) {
  RegDeleteTreeA(root_, subkey_.c_str());
  HKEY key = nullptr;
  EXPECT_EQ(RegCreateKeyExA(root_, subkey_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            &key, nullptr),
            ERROR_SUCCESS)
      << subkey_;
  RegKey owner(key);
}

ScratchKey::~ScratchKey() {
  RegDeleteTreeA(root_, subkey_.c_str());
  RegDeleteKeyA(root_, subkey_.c_str());
}

std::string ScratchKey::Path(std::string_view relative) const {
  return subkey_ + '\\' + std::string(relative);
}

DWORD Attributes(const std::string& path) { return GetFileAttributesA(path.c_str()); }

bool Exists(const std::string& path) { return Attributes(path) != INVALID_FILE_ATTRIBUTES; }

std::string FileBytes(const std::string& path) {
  const KernelHandle file(CreateFileA(path.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, 0, nullptr));
  std::string bytes;
  char buffer[4096];
  DWORD got = 0;
  while (file.IsOpen() && ReadFile(file.Get(), buffer, sizeof buffer, &got, nullptr) && got) {
    bytes.append(buffer, got);
  }
  return bytes;
}

bool KeyExists(HKEY root, const std::string& subkey) {
  HKEY key = nullptr;
  const bool exists = RegOpenKeyExA(root, subkey.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS;
  RegKey owner(key);
  return exists;
}

DWORD HandleCount() {
  // Wine's GetProcessHandleCount answers 0, so every small handle value is asked instead.
  constexpr ULONG_PTR LIMIT = 0x4000;
  DWORD count = 0, flags = 0;
  for (ULONG_PTR value = 4; value < LIMIT; value += 4) {
    if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) ++count;
  }
  return count;
}
