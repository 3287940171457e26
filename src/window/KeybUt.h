// KeybUt: the set of keys currently held down, and tables of key combinations with the
// command each one triggers.
//
// All values are 32-bit words. A combination matches only when the held keys are exactly the
// keys of an entry, in any order: Alt+N matches {VK_MENU, N} and nothing with a third key held.
// Nothing here makes a system call; every operation stays inside the words it was given.
#pragma once

#include <cstdint>

#include "system/Memory.h"

// ---- Pressed-key set ----------------------------------------------------------------------

// A pressed-key set is one memory block of capacity + 2 words: capacity, count, then the
// capacity key slots (virtual-key codes in the low 16 bits); the slots after count are zero.
constexpr int32_t KEYSET_CAPACITY = 0;  // word index of the capacity
constexpr int32_t KEYSET_COUNT = 1;     // word index of the count
constexpr int32_t KEYSET_KEYS = 2;      // word index of the first slot

// A new zero-filled set of that capacity in the variable (a block it held before is released);
// the variable is nullptr when the capacity is negative or too large, or memory is refused.
void KeySetCreate(uint32_t*& set, int32_t capacity);
// Releases the set's block and clears the variable.
void KeySetFree(uint32_t*& set);
// Empties the set (a nil set is ignored).
void KeySetClear(uint32_t* set);
// Applies one key message (key = wParam, keyData = lParam): a release (bit 31) removes the
// key, a press adds it while there is room; then the Alt state follows bit 29 (unless the
// key is Alt itself). A nil set is ignored.
void KeySetUpdate(uint32_t* set, uintptr_t key, intptr_t keyData);

// ---- Key tables ---------------------------------------------------------------------------

// Bit 31 of an entry's header: the entry is disabled. Bits 0-30 hold its number of keys.
constexpr uint32_t KEYENTRY_DISABLED = 0x80000000;
constexpr uint32_t KEYENTRY_COUNTMASK = 0x7FFFFFFF;

// A key table: entries (header, keys, nonzero command) ended by a zero word, kept in a
// zero-filled block of Capacity words that the table owns. The framework's tables hold 256.
struct TKeyTable {
  BlockPtr<uint32_t> Words;
  int32_t Capacity = 0;  // words in the block, the terminating zero included
};

constexpr int32_t KEYTABLE_WORDS = 256;  // the size of the framework's tables

// Gives the table a new empty block of capacity words (at least 1); false, and the table
// left without a block, when the capacity is below 1 or memory is refused.
bool KeyTableCreate(TKeyTable& table, int32_t capacity);
// The next command after `after` whose entry matches the set exactly, in table order
// (after = 0: the first); 0 when none matches, the set is nil or empty, or the table has
// no block. Disabled entries never match.
uint32_t KeyTableFind(const uint32_t* set, const TKeyTable& table, uint32_t after);
// keys = nil: removes every entry of the command. Otherwise keys is a key list (count n,
// then n codes) and the command's first entry is replaced by it, enabled, or a new entry is
// appended. False, and the table unchanged, when the result would not fit in the table's
// capacity, the list is empty or too long, the command is 0 (with keys), or the table's
// words do not form a table ended by a zero word inside its capacity.
bool KeyTableSet(TKeyTable& table, uint32_t command, const uint32_t* keys);
