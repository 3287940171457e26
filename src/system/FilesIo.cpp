// Opening by mode word, whole-file reading and writing, forced deletion.
#include "system/FilesUt.h"

#include <algorithm>
#include <cstdint>
#include <new>

namespace {

// One bit of the mode word and what it adds to its argument of CreateFileA.
struct TModeBit {
  uint32_t Bit;
  DWORD Value;
};

constexpr TModeBit ACCESS_BITS[] = {
    {FM_READ, GENERIC_READ},
    {FM_WRITE, GENERIC_WRITE},
};
constexpr TModeBit SHARE_BITS[] = {
    {FM_SHAREREAD, FILE_SHARE_READ},
    {FM_SHAREWRITE, FILE_SHARE_WRITE},
};
constexpr TModeBit ATTRIBUTE_BITS[] = {
    {FM_ARCHIVE, FILE_ATTRIBUTE_ARCHIVE},
    {FM_HIDDEN, FILE_ATTRIBUTE_HIDDEN},
    {FM_READONLY, FILE_ATTRIBUTE_READONLY},
    {FM_SYSTEM, FILE_ATTRIBUTE_SYSTEM},
};
constexpr int FILE_FLAGS_SHIFT = 16;  // mode bits 10-15 become bits 26-31

template <size_t N>
DWORD Collect(uint32_t mode, const TModeBit (&table)[N]) {
  DWORD value = 0;
  for (const TModeBit& entry : table) {
    if (mode & entry.Bit) value |= entry.Value;
  }
  return value;
}

DWORD Disposition(uint32_t mode) {
  if (mode & FM_CREATENEW) return CREATE_NEW;
  if (mode & FM_OPENALWAYS) return OPEN_ALWAYS;
  return OPEN_EXISTING;
}

// The largest piece handed to one ReadFile or WriteFile call.
constexpr size_t MAX_PIECE = 0x40000000;

DWORD Piece(size_t left) { return static_cast<DWORD>(std::min(left, MAX_PIECE)); }

}  // namespace

TFile_OpenArgs DecodeFileMode(uint32_t mode) {
  TFile_OpenArgs args;
  args.Access = Collect(mode, ACCESS_BITS);
  args.Share = Collect(mode, SHARE_BITS);
  args.Disposition = Disposition(mode);
  args.FlagsAndAttributes = FILE_ATTRIBUTE_NORMAL | Collect(mode, ATTRIBUTE_BITS) |
                            (static_cast<DWORD>(mode & FM_FILEFLAGS) << FILE_FLAGS_SHIFT);
  return args;
}

KernelHandle OpenFileMode(std::string_view path, uint32_t mode) {
  const SystemText name(path);
  if (!name) return KernelHandle();
  const TFile_OpenArgs args = DecodeFileMode(mode);
  return KernelHandle(CreateFileA(name.c_str(), args.Access, args.Share, nullptr,
                                  args.Disposition, args.FlagsAndAttributes, nullptr));
}

const std::string& ReadWholeFile(std::string_view path, uint32_t mode, std::string& text) {
  // Opened before text changes: path may view text.
  const KernelHandle file = OpenFileMode(path, mode);
  text.clear();
  if (!file.IsOpen()) return text;
  DWORD high = 0;
  const DWORD size = GetFileSize(file.Get(), &high);
  // A text's positions are signed 32-bit; INVALID_FILE_SIZE lies above that range too.
  if (high != 0 || size > static_cast<DWORD>(INT32_MAX)) return text;
  std::string buffer;
  try {
    buffer.resize(size);
  } catch (const std::bad_alloc&) {
    return text;
  }
  size_t done = 0;
  while (done < buffer.size()) {
    DWORD got = 0;
    if (!ReadFile(file.Get(), buffer.data() + done, Piece(buffer.size() - done), &got,
                  nullptr) ||
        got == 0) {
      break;
    }
    done += got;
  }
  buffer.resize(done);
  text = std::move(buffer);
  return text;
}

bool WriteWholeFile(std::string_view path, std::string_view text, uint32_t mode) {
  KernelHandle file = OpenFileMode(path, mode);
  if (!file.IsOpen()) return false;
  size_t done = 0;
  while (done < text.size()) {
    DWORD put = 0;
    if (!WriteFile(file.Get(), text.data() + done, Piece(text.size() - done), &put, nullptr) ||
        put == 0) {
      break;
    }
    done += put;
  }
  const bool cut = SetEndOfFile(file.Get()) != 0;
  const bool closed = file.Close();
  return done == text.size() && cut && closed;
}

bool DeleteFileForced(std::string_view path) {
  const SystemText name(path);
  if (path.empty() || !name) return false;
  const DWORD former = GetFileAttributesA(name.c_str());
  if (former == INVALID_FILE_ATTRIBUTES || (former & FILE_ATTRIBUTE_DIRECTORY)) return false;
  if (!SetFileAttributesA(name.c_str(), FILE_ATTRIBUTE_NORMAL)) return false;
  if (DeleteFileA(name.c_str())) return true;
  SetFileAttributesA(name.c_str(), former);
  return false;
}
