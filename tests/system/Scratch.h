// Scratch places for the tests that work on the real file system and registry: a folder and
// a registry key that each test makes for itself and removes again with everything below
// them. Names carry the process id and the test's name, so test programs may run side by side.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

// "<process id> <suite>.<test>" for the running test ('/' and '\' replaced by '_').
std::string UniqueTestName();

// A new empty folder under the Windows temp folder; its name has blanks in it.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::string& Root() const { return root_; }
  // Root + '\' + relative.
  std::string Path(std::string_view relative) const;
  // Creates the folder and those above it; returns its path.
  std::string MakeDir(std::string_view relative) const;
  // Creates the file (and the folders above it) holding bytes, then gives it the attributes
  // (0: leaves them); returns its path.
  std::string MakeFile(std::string_view relative, std::string_view bytes,
                       DWORD attributes = 0) const;

 private:
  std::string root_;
};

// A new key root\Software\<unique> that is deleted with everything below it afterwards.
class ScratchKey {
 public:
  explicit ScratchKey(HKEY root);
  ~ScratchKey();
  ScratchKey(const ScratchKey&) = delete;
  ScratchKey& operator=(const ScratchKey&) = delete;

  HKEY Root() const { return root_; }
  // 'Software\<unique>'.
  const std::string& Subkey() const { return subkey_; }
  // Subkey + '\' + relative.
  std::string Path(std::string_view relative) const;

 private:
  HKEY root_;
  std::string subkey_;
};

// Facts read straight from the system.
DWORD Attributes(const std::string& path);       // INVALID_FILE_ATTRIBUTES when missing
bool Exists(const std::string& path);             // a file or a directory
std::string FileBytes(const std::string& path);   // empty when it cannot be read
bool KeyExists(HKEY root, const std::string& subkey);
DWORD HandleCount();                              // open in this process
