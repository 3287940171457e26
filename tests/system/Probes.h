// Probes that the FilesUt and RegUt tests share beyond the scratch places of TestSupport.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "support/Scratch.h"

// Creates the file holding bytes in the scratch folder and gives it the attributes.
inline std::string WriteWithAttributes(const ScratchDir& scratch, std::string_view relative,
                                       std::string_view bytes, DWORD attributes) {
  const std::string path = scratch.Write(relative, bytes);
  SetFileAttributesA(path.c_str(), attributes);
  return path;
}

// INVALID_FILE_ATTRIBUTES when missing.
inline DWORD Attributes(const std::string& path) { return GetFileAttributesA(path.c_str()); }

// The handles open in this process. Wine's GetProcessHandleCount answers 0, so every small
// handle value is asked instead.
inline DWORD HandleCount() {
  constexpr ULONG_PTR LIMIT = 0x4000;
  DWORD count = 0, flags = 0;
  for (ULONG_PTR value = 4; value < LIMIT; value += 4) {
    if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) ++count;
  }
  return count;
}
