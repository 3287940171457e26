// Blocks and growable arrays.
#include "system/Memory.h"

#include <cstddef>
#include <cstdlib>
#include <cstring>

#ifdef _WIN32
#include <windows.h>
#endif

// ---- Blocks -------------------------------------------------------------------------------

#ifdef _WIN32

void* BlockAlloc(uint16_t flags, int32_t size) {
  if (size <= 0) return nullptr;
  HGLOBAL handle = GlobalAlloc(flags & MEM_SYSTEMMASK, static_cast<SIZE_T>(size));
  if (!handle) return nullptr;
  void* block = GlobalLock(handle);
  if (!block) GlobalFree(handle);
  return block;
}

void* BlockRealloc(void* block, int32_t size, uint16_t flags) {
  if (size <= 0) return nullptr;
  HGLOBAL handle = GlobalHandle(block);
  if (!handle) return nullptr;
  GlobalUnlock(handle);
  HGLOBAL resized = GlobalReAlloc(handle, static_cast<SIZE_T>(size), flags & MEM_SYSTEMMASK);
  if (!resized) {
    // The old block is still there, unmoved: lock it again and report the refusal.
    GlobalLock(handle);
    return nullptr;
  }
  return GlobalLock(resized);
}

void BlockFree(void* block) {
  if (!block) return;
  // A pointer the global allocator does not know is not ours to free.
  if (HGLOBAL handle = GlobalHandle(block)) {
    GlobalUnlock(handle);
    GlobalFree(handle);
  }
}

#else

// The host keeps each block's size in a header in front of it, so that a growing resize can
// zero the added bytes the way the global allocator does with MEM_ZEROINIT.
namespace {
struct alignas(std::max_align_t) BlockHeader {
  int32_t size;
};

BlockHeader* HeaderOf(void* block) { return static_cast<BlockHeader*>(block) - 1; }
}  // namespace

void* BlockAlloc(uint16_t flags, int32_t size) {
  if (size <= 0) return nullptr;
  auto* header = static_cast<BlockHeader*>(std::malloc(sizeof(BlockHeader) + size));
  if (!header) return nullptr;
  header->size = size;
  if (flags & MEM_ZEROINIT) std::memset(header + 1, 0, size);
  return header + 1;
}

void* BlockRealloc(void* block, int32_t size, uint16_t flags) {
  if (size <= 0 || !block) return nullptr;
  const int32_t oldSize = HeaderOf(block)->size;
  auto* header =
      static_cast<BlockHeader*>(std::realloc(HeaderOf(block), sizeof(BlockHeader) + size));
  if (!header) return nullptr;
  header->size = size;
  auto* bytes = reinterpret_cast<unsigned char*>(header + 1);
  if ((flags & MEM_ZEROINIT) && size > oldSize) std::memset(bytes + oldSize, 0, size - oldSize);
  return bytes;
}

void BlockFree(void* block) {
  if (block) std::free(HeaderOf(block));
}

#endif

void BlockFreeVar(void*& block) {
  if (!block) return;
  BlockFree(block);
  block = nullptr;
}

bool BlockResizeVar(void*& block, int32_t size, uint16_t flags) {
  if (size <= 0) return true;
  if (flags & MEM_DEFAULT) flags |= MEM_DEFAULTFLAGS;
  void* resized = block ? BlockRealloc(block, size, flags) : BlockAlloc(flags, size);
  if (!resized) return false;
  block = resized;
  return true;
}

// ---- Growable arrays ----------------------------------------------------------------------

namespace {

unsigned char* Bytes(const TMem_Array& a) { return static_cast<unsigned char*>(a.Data); }

// The capacity for n used bytes: the smallest multiple of StepBytes not below n (n itself
// for steps below 2); -1 when that does not fit in 32 bits.
int32_t CapacityFor(const TMem_Array& a, int32_t n) {
  if (a.StepBytes < 2) return n;
  const int64_t steps = (static_cast<int64_t>(n) + a.StepBytes - 1) / a.StepBytes;
  const int64_t capacity = steps * a.StepBytes;
  return capacity > INT32_MAX ? -1 : static_cast<int32_t>(capacity);
}

void SetUsed(TMem_Array& a, int32_t n) {
  a.UsedBytes = n;
  if (a.ElemSize != 0) a.Count = n / a.ElemSize;
}

}  // namespace

TMem_Array::TMem_Array(int32_t growthCount, int32_t elemSize, uint32_t flags) {
  ArrInit(*this, growthCount, elemSize, flags);
}

TMem_Array::~TMem_Array() { ArrClear(*this); }

void ArrInit(TMem_Array& a, int32_t growthCount, int32_t elemSize, uint32_t flags) {
  BlockFreeVar(a.Data);
  a.UsedBytes = a.CapacityBytes = a.Count = 0;
  a.ElemSize = elemSize;
  const int64_t step = static_cast<int64_t>(growthCount) * elemSize;
  a.StepBytes = (step > INT32_MAX || step < 0) ? 0 : static_cast<int32_t>(step);
  a.Flags = flags;
}

bool ArrSetSize(TMem_Array& a, int32_t n) {
  if (n < 0) n = 0;
  if (n > 0 && a.ElemSize > 1 && n % a.ElemSize != 0) return false;
  if (n == 0) {
    BlockFreeVar(a.Data);
    a.CapacityBytes = 0;
    SetUsed(a, 0);
    return true;
  }
  const int32_t capacity = CapacityFor(a, n);
  if (capacity < 0) return false;
  if (capacity != a.CapacityBytes) {
    if (BlockResizeVar(a.Data, capacity, static_cast<uint16_t>(a.Flags))) {
      a.CapacityBytes = capacity;
    } else if (capacity > a.CapacityBytes) {
      return false;  // refused to grow: the array stays as it was
    }
    // A refused shrink keeps the larger block, which still holds the n bytes.
  }
  SetUsed(a, n);
  return true;
}

bool ArrValidIndex(const TMem_Array& a, int32_t index) { return index >= 0 && index < a.Count; }

namespace {

// Opens a zeroed gap of g bytes in front of element index (-1 or invalid: at the end) and
// returns its byte position, or -1 when g <= 0 or the block cannot grow.
int32_t OpenGap(TMem_Array& a, int32_t index, int32_t g) {
  if (g <= 0) return -1;
  const int32_t pos = ArrValidIndex(a, index) ? index * a.ElemSize : a.UsedBytes;
  const int32_t oldUsed = a.UsedBytes;
  if (g > INT32_MAX - oldUsed || !ArrSetSize(a, oldUsed + g)) return -1;
  std::memmove(Bytes(a) + pos + g, Bytes(a) + pos, oldUsed - pos);
  std::memset(Bytes(a) + pos, 0, g);
  return pos;
}

}  // namespace

int32_t ArrInsert(TMem_Array& a, int32_t index, const void* elem) {
  const int32_t pos = OpenGap(a, index, a.ElemSize);
  if (pos < 0) return -1;
  if (elem) std::memcpy(Bytes(a) + pos, elem, a.ElemSize);
  return pos / a.ElemSize;
}

int32_t ArrInsertInt(TMem_Array& a, int32_t index, int32_t value) {
  const auto bits = static_cast<uint32_t>(value);
  switch (a.ElemSize) {
    case 1: {
      const auto v = static_cast<uint8_t>(bits);
      return ArrInsert(a, index, &v);
    }
    case 2: {
      const auto v = static_cast<uint16_t>(bits);
      return ArrInsert(a, index, &v);
    }
    case 4:
      return ArrInsert(a, index, &bits);
    default:
      return -1;
  }
}

int32_t ArrAppend(TMem_Array& a, const void* elem) { return ArrInsert(a, -1, elem); }

int32_t ArrAppendInt(TMem_Array& a, int32_t value) { return ArrInsertInt(a, -1, value); }

bool ArrDelete(TMem_Array& a, int32_t index, int32_t n) {
  if (n <= 0 || a.ElemSize <= 0) return false;
  if (index < 0) index = a.Count - n;
  const int64_t last = static_cast<int64_t>(index) + n - 1;
  if (!ArrValidIndex(a, index) || last >= a.Count) return false;
  const int32_t from = (index + n) * a.ElemSize;
  const int32_t to = index * a.ElemSize;
  std::memmove(Bytes(a) + to, Bytes(a) + from, a.UsedBytes - from);
  return ArrSetSize(a, a.UsedBytes - n * a.ElemSize);
}

bool ArrDeleteAt(TMem_Array& a, int32_t index) { return ArrDelete(a, index, 1); }

bool ArrGet(const TMem_Array& a, int32_t index, void* dest) {
  if (!ArrValidIndex(a, index) || a.ElemSize <= 0) return false;
  std::memcpy(dest, Bytes(a) + index * a.ElemSize, a.ElemSize);
  return true;
}

void ArrClear(TMem_Array& a) { ArrSetSize(a, 0); }
