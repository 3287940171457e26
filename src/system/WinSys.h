// WinSys: what the units that call Windows share. Owners that close a system handle on every
// path, and the zero-terminated form in which a text reaches the system. Header only; Windows
// builds only.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <utility>

// ---- Handle owners ------------------------------------------------------------------------

// Owns one handle of the kind Traits describes (Handle type, Empty value, IsOpen test, Close
// call) and closes it when destroyed or reset. Move-only.
template <class Traits>
class OwnedHandle {
 public:
  using Handle = typename Traits::Handle;

  OwnedHandle() noexcept = default;
  explicit OwnedHandle(Handle handle) noexcept : handle_(handle) {}
  OwnedHandle(OwnedHandle&& other) noexcept : handle_(other.Release()) {}
  OwnedHandle& operator=(OwnedHandle&& other) noexcept {
    Reset(other.Release());
    return *this;
  }
  OwnedHandle(const OwnedHandle&) = delete;
  OwnedHandle& operator=(const OwnedHandle&) = delete;
  ~OwnedHandle() { Close(); }

  // The handle (still owned).
  Handle Get() const noexcept { return handle_; }
  // True while a handle is held.
  bool IsOpen() const noexcept { return Traits::IsOpen(handle_); }
  // Gives the handle up without closing it; the owner is left empty.
  Handle Release() noexcept { return std::exchange(handle_, Traits::Empty()); }
  // Closes the held handle, if any, and takes the new one.
  void Reset(Handle handle = Traits::Empty()) noexcept {
    Close();
    handle_ = handle;
  }
  // Closes the held handle now; true when one was held and the system closed it.
  bool Close() noexcept { return IsOpen() && Traits::Close(Release()); }

 private:
  Handle handle_ = Traits::Empty();
};

// Kernel objects: files, pipes, processes, threads. CreateFile answers INVALID_HANDLE_VALUE,
// most others 0, so neither counts as open.
struct KernelHandleTraits {
  using Handle = HANDLE;
  static Handle Empty() noexcept { return INVALID_HANDLE_VALUE; }
  static bool IsOpen(Handle h) noexcept { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static bool Close(Handle h) noexcept { return CloseHandle(h) != 0; }
};

// Searches started with FindFirstFile.
struct FindHandleTraits {
  using Handle = HANDLE;
  static Handle Empty() noexcept { return INVALID_HANDLE_VALUE; }
  static bool IsOpen(Handle h) noexcept { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static bool Close(Handle h) noexcept { return FindClose(h) != 0; }
};

// Open registry keys.
struct RegKeyTraits {
  using Handle = HKEY;
  static Handle Empty() noexcept { return nullptr; }
  static bool IsOpen(Handle h) noexcept { return h != nullptr; }
  static bool Close(Handle h) noexcept { return RegCloseKey(h) == ERROR_SUCCESS; }
};

using KernelHandle = OwnedHandle<KernelHandleTraits>;
using FindHandle = OwnedHandle<FindHandleTraits>;
using RegKey = OwnedHandle<RegKeyTraits>;

// ---- Texts for the system -----------------------------------------------------------------

// A text with its terminating zero, as the system's ANSI calls take it. A text that holds a
// zero byte cannot reach the system unchanged (the system would stop at the zero and act on a
// shorter name, perhaps another file or key), so it is refused: such a text names nothing.
class SystemText {
 public:
  explicit SystemText(std::string_view text)
      : valid_(text.find('\0') == std::string_view::npos), text_(valid_ ? text : "") {}
  // False when the text was refused.
  explicit operator bool() const noexcept { return valid_; }
  const char* c_str() const noexcept { return text_.c_str(); }

 private:
  bool valid_;
  std::string text_;
};
