// Memory: raw memory blocks, growable arrays of fixed-size elements, and the byte-range
// comparison and search that the text toolkit is built on.
//
// Blocks come from the Windows global-memory allocator and stay locked for their whole life;
// the host build uses a plain heap with the same behaviour. Nothing here reports errors:
// invalid indexes and ranges are answered with false or -1 and change nothing, and a block
// the allocator refuses leaves the array or pointer variable as it was.
#pragma once

#include <cstdint>
#include <memory>

// ---- Blocks -------------------------------------------------------------------------------

// Allocation flags, a 16-bit word. The bits of MEM_SYSTEMMASK reach the global allocator
// unchanged; MEM_DEFAULT is the unit's own and adds the process-wide default flags.
constexpr uint16_t MEM_MOVEABLE = 0x0002;    // the system's GMEM_MOVEABLE
constexpr uint16_t MEM_ZEROINIT = 0x0040;    // the system's GMEM_ZEROINIT: new bytes are zero
constexpr uint16_t MEM_DEFAULT = 0x0008;     // OR in MEM_DEFAULTFLAGS
constexpr uint16_t MEM_SYSTEMMASK = 0x7F72;  // what the allocator sees
constexpr uint16_t MEM_DEFAULTFLAGS = MEM_MOVEABLE;

// A new locked block of size bytes, or nullptr when size <= 0 or the allocator refuses.
void* BlockAlloc(uint16_t flags, int32_t size);
// The block resized to size bytes (contents kept, possibly moved), or nullptr when refused;
// a refused block stays valid and unchanged.
void* BlockRealloc(void* block, int32_t size, uint16_t flags);
// Releases a block; nullptr is ignored.
void BlockFree(void* block);
// Releases the block in the variable, if any, and clears the variable.
void BlockFreeVar(void*& block);
// size <= 0: nothing (true). Otherwise allocates (empty variable) or resizes the block;
// MEM_DEFAULT adds the default flags. False when refused: the variable keeps its block.
bool BlockResizeVar(void*& block, int32_t size, uint16_t flags);

template <class T>
bool BlockResizeVar(T*& block, int32_t size, uint16_t flags) {
  void* p = block;
  const bool ok = BlockResizeVar(p, size, flags);
  block = static_cast<T*>(p);
  return ok;
}

// Owns one block: BlockPtr<uint32_t> p(static_cast<uint32_t*>(BlockAlloc(...))).
struct BlockDeleter {
  void operator()(void* block) const { BlockFree(block); }
};
template <class T>
using BlockPtr = std::unique_ptr<T, BlockDeleter>;

// ---- Growable arrays ----------------------------------------------------------------------

// A growable array of fixed-size elements stored contiguously in one block.
// Invariants: UsedBytes = Count x ElemSize; CapacityBytes is the smallest multiple of
// StepBytes not below UsedBytes (UsedBytes itself when StepBytes < 2); Data is null exactly
// when CapacityBytes is 0. The array owns its block and frees it when destroyed.
struct TMem_Array {
  void* Data = nullptr;
  int32_t UsedBytes = 0;
  int32_t CapacityBytes = 0;
  int32_t StepBytes = 0;
  int32_t Count = 0;
  int32_t ElemSize = 0;
  uint32_t Flags = 0;  // allocation flags (low 16 bits)

  TMem_Array() = default;
  TMem_Array(int32_t growthCount, int32_t elemSize, uint32_t flags);
  ~TMem_Array();
  TMem_Array(const TMem_Array&) = delete;
  TMem_Array& operator=(const TMem_Array&) = delete;

  template <class T>
  T* Items() const {
    return static_cast<T*>(Data);
  }
};

// Empties the array (freeing its block) and sets its shape: StepBytes = growthCount x elemSize.
void ArrInit(TMem_Array& a, int32_t growthCount, int32_t elemSize, uint32_t flags);
// Sets UsedBytes to n (below 0 counts as 0), growing or shrinking the block in steps.
// A size that is not a whole number of elements changes nothing. False when nothing changed
// because of that or because the allocator refused a larger block.
bool ArrSetSize(TMem_Array& a, int32_t n);
// 0 <= index < Count.
bool ArrValidIndex(const TMem_Array& a, int32_t index);
// Inserts one element (ElemSize bytes from elem) before index; an invalid index appends.
// Returns the index used, or -1 when ElemSize < 1 or the block could not grow.
int32_t ArrInsert(TMem_Array& a, int32_t index, const void* elem);
// Inserts the low ElemSize bytes of value; -1 when ElemSize is not 1, 2 or 4 (or no memory).
int32_t ArrInsertInt(TMem_Array& a, int32_t index, int32_t value);
int32_t ArrAppend(TMem_Array& a, const void* elem);
int32_t ArrAppendInt(TMem_Array& a, int32_t value);
// Deletes n elements from index (-1: the last n). False, and no change, unless n > 0 and
// both the first and the last element of the run exist.
bool ArrDelete(TMem_Array& a, int32_t index, int32_t n);
bool ArrDeleteAt(TMem_Array& a, int32_t index);
// Copies element index to dest; false and nothing copied for an invalid index.
bool ArrGet(const TMem_Array& a, int32_t index, void* dest);
// Size 0: the block is freed and Count is 0.
void ArrClear(TMem_Array& a);

// ---- Byte-range comparison ----------------------------------------------------------------

constexpr int32_t CMP_INVALID = 0;
constexpr int32_t CMP_EQUAL = 1;
constexpr int32_t CMP_LESS = 2;     // the first range sorts before the second
constexpr int32_t CMP_GREATER = 3;

// MemCompare flags.
constexpr uint32_t MC_EXACT = 0x1;        // bytes compare exactly (else 'a'..'z' fold to upper)
constexpr uint32_t MC_FIRSTLENGTH = 0x2;  // ignore the length difference: compare len1 bytes

struct TMem_Compare {
  int32_t Outcome = CMP_INVALID;
  int32_t Offset1 = 0;  // first differing byte (or end of the compared stretch) in buffer 1
  int32_t Offset2 = 0;  // the same in buffer 2
  int32_t Reserved[4] = {0, 0, 0, 0};
};

// Compares p1[start1, end1) with p2[start2, end2). limit: -1 none, 0 invalid, > 0 at most
// that many bytes (and equal when they agree). Never reads outside either range.
void MemCompare(const void* p1, int32_t start1, int32_t end1, const void* p2, int32_t start2,
                int32_t end2, int32_t limit, uint32_t flags, TMem_Compare& result);

// ---- Byte-range search --------------------------------------------------------------------

// MemSearch flags.
constexpr uint32_t MS_EXACT = 0x1;       // bytes compare exactly (else ASCII letters fold)
constexpr uint32_t MS_NOOVERLAP = 0x20;  // resume behind a match, not one byte after its start
constexpr uint32_t MS_FIRSTONLY = 0x40;  // stop after the first match

// Called once per match: (data, candidate positions left from the resume point on, resume
// position, two sub-match values (-1 and 0 for a plain pattern), match length, match offset).
// Returns true to go on searching.
using MemSearchCallback = bool (*)(void* data, int32_t left, int32_t resume, int32_t sub1,
                                   int32_t sub2, int32_t matchLength, int32_t matchOffset);

// Reports every occurrence of pattern lying wholly inside the region
// [regionStart, regionStart + regionLength) of text (regionLength -1: to the end).
void MemSearch(const void* text, int32_t textLength, const void* pattern, int32_t patternLength,
               int32_t regionStart, int32_t regionLength, uint32_t flags,
               MemSearchCallback callback, void* data);

// Appends the offset of every match to target (ElemSize 1, 2 or 4; otherwise nothing is
// searched) and returns the number appended.
int32_t MemSearchCollect(const void* text, int32_t textLength, const void* pattern,
                         int32_t patternLength, int32_t regionStart, int32_t regionLength,
                         uint32_t flags, TMem_Array& target);
