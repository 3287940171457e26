// Scratch places for tests that work on the real file system and registry: a folder and a
// registry key that exist for one test and are removed with everything below them after it.
// Names are unique per process and object, so test programs may run side by side.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

// A new empty folder under the Windows temp folder; its path has a blank in it.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::string& Path() const { return path_; }
  // Path + '\' + relative.
  std::string operator/(std::string_view relative) const;
  // Creates the file (and the folders above it) with these bytes; returns its path.
  std::string Write(std::string_view relative, std::string_view bytes) const;
  // Creates the folder (and those above it); returns its path.
  std::string MakeDir(std::string_view relative) const;

 private:
  std::string path_;
};

// A new key 'Software\<unique>' under HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE.
class ScratchKey {
 public:
  ScratchKey();
  ~ScratchKey();
  ScratchKey(const ScratchKey&) = delete;
  ScratchKey& operator=(const ScratchKey&) = delete;

  // 'Software\<unique>', the same under both roots.
  const std::string& Subkey() const { return subkey_; }

 private:
  std::string subkey_;
};

// File and registry facts, read straight from the system.
bool FileExists(const std::string& path);       // a file or a directory
bool IsReadOnly(const std::string& path);
std::string ReadFileBytes(const std::string& path);  // empty when it cannot be read
bool KeyExists(HKEY root, const std::string& subkey);
bool ValueExists(HKEY root, const std::string& subkey, const std::string& name);
void SetStringValue(HKEY root, const std::string& subkey, const std::string& name,
                    const std::string& value);  // creates the key
void SetDwordValue(HKEY root, const std::string& subkey, const std::string& name, DWORD value);
// The REG_DWORD value, or -1 when missing or of another type.
long long DwordValue(HKEY root, const std::string& subkey, const std::string& name);
// Creates the folder and every missing folder above it.
void MakeDirs(const std::string& path);
// Removes a folder and everything in it, read-only files included.
void RemoveTree(const std::string& path);
// The folder of the running test program.
std::string ProgramDir();
