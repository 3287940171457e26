// Keyboard state: the pressed-key set and key-combination tables.
#include "window/KeybUt.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr uint32_t kVkMenu = 0x12;           // the system's VK_MENU (either Alt key)
constexpr uint32_t kKeyReleased = 1u << 31;  // keyData: transition state, the key goes up
constexpr uint32_t kAltHeld = 1u << 29;      // keyData: context code, Alt is down

// The set's count, never beyond its capacity (a set is written only by this unit, but a
// damaged count must not make us read past the block).
int32_t SetCount(const uint32_t* set) {
  const uint32_t capacity = set[KEYSET_CAPACITY];
  return static_cast<int32_t>(std::min(set[KEYSET_COUNT], capacity));
}

int32_t FindKey(const uint32_t* set, uint32_t key) {
  const uint32_t* keys = set + KEYSET_KEYS;
  const int32_t count = SetCount(set);
  for (int32_t i = 0; i < count; ++i) {
    if (keys[i] == key) return i;
  }
  return -1;
}

void AddKey(uint32_t* set, uint32_t key) {
  const int32_t count = SetCount(set);
  if (count >= static_cast<int32_t>(set[KEYSET_CAPACITY]) || FindKey(set, key) >= 0) return;
  set[KEYSET_KEYS + count] = key;
  set[KEYSET_COUNT] = static_cast<uint32_t>(count + 1);
}

void RemoveKey(uint32_t* set, uint32_t key) {
  const int32_t at = FindKey(set, key);
  if (at < 0) return;
  uint32_t* keys = set + KEYSET_KEYS;
  const int32_t count = SetCount(set);
  std::memmove(keys + at, keys + at + 1, sizeof(uint32_t) * static_cast<size_t>(count - at - 1));
  keys[count - 1] = 0;
  set[KEYSET_COUNT] = static_cast<uint32_t>(count - 1);
}

// Number of words of the entry whose header is at pos, or 0 when it does not fit before the
// table's last word (which must stay free for a terminating zero).
int32_t EntryWords(const TKeyTable& table, int32_t pos) {
  const uint32_t n = table.Words.get()[pos] & KEYENTRY_COUNTMASK;
  const int64_t words = static_cast<int64_t>(n) + 2;
  if (pos + words >= table.Capacity) return 0;
  return static_cast<int32_t>(words);
}

// The index of the terminating zero, walking the entries and reading nothing past the
// capacity; -1 when the words form no table.
int32_t TableEnd(const TKeyTable& table) {
  if (!table.Words || table.Capacity < 1) return -1;
  const uint32_t* w = table.Words.get();
  int32_t pos = 0;
  while (w[pos] != 0) {
    const int32_t words = EntryWords(table, pos);
    if (words == 0) return -1;
    pos += words;
  }
  return pos;
}

uint32_t EntryCommand(const uint32_t* entry) { return entry[(entry[0] & KEYENTRY_COUNTMASK) + 1]; }

// Every key of the set occurs among the entry's keys (the counts are known to be equal).
bool EntryHoldsSet(const uint32_t* entry, const uint32_t* set, int32_t count) {
  const uint32_t* keys = entry + 1;
  for (int32_t i = 0; i < count; ++i) {
    if (std::find(keys, keys + count, set[KEYSET_KEYS + i]) == keys + count) return false;
  }
  return true;
}

// Removes every entry of the command, moving the rest (with its terminating zero) up.
void RemoveCommand(TKeyTable& table, uint32_t command, int32_t end) {
  uint32_t* w = table.Words.get();
  int32_t read = 0, write = 0;
  while (read < end) {
    const int32_t words = EntryWords(table, read);
    if (EntryCommand(w + read) != command) {
      std::memmove(w + write, w + read, sizeof(uint32_t) * static_cast<size_t>(words));
      write += words;
    }
    read += words;
  }
  std::fill(w + write, w + end + 1, 0u);
}

// The position of the command's first entry, or -1.
int32_t FindCommand(const TKeyTable& table, uint32_t command, int32_t end) {
  const uint32_t* w = table.Words.get();
  for (int32_t pos = 0; pos < end; pos += EntryWords(table, pos)) {
    if (EntryCommand(w + pos) == command) return pos;
  }
  return -1;
}

// Puts (count, keys, command) in place of the oldWords words at pos (0 words: an insertion),
// moving what follows, terminating zero included. The caller has checked that it fits.
void PutEntry(TKeyTable& table, int32_t pos, int32_t oldWords, int32_t end, uint32_t command,
              const uint32_t* keys) {
  uint32_t* w = table.Words.get();
  const int32_t n = static_cast<int32_t>(keys[0]);
  const int32_t newWords = n + 2;
  const int32_t tail = end + 1 - (pos + oldWords);  // following words and the zero
  std::memmove(w + pos + newWords, w + pos + oldWords,
               sizeof(uint32_t) * static_cast<size_t>(tail));
  if (newWords < oldWords) {
    const int32_t newEnd = end + newWords - oldWords;
    std::fill(w + newEnd + 1, w + end + 1, 0u);
  }
  w[pos] = static_cast<uint32_t>(n);
  std::memcpy(w + pos + 1, keys + 1, sizeof(uint32_t) * static_cast<size_t>(n));
  w[pos + 1 + n] = command;
}

}  // namespace

void KeySetCreate(uint32_t*& set, int32_t capacity) {
  KeySetFree(set);
  if (capacity < 0 || capacity > INT32_MAX / 4 - KEYSET_KEYS) return;
  const int32_t bytes = (capacity + KEYSET_KEYS) * 4;
  set = static_cast<uint32_t*>(BlockAlloc(MEM_DEFAULTFLAGS | MEM_ZEROINIT, bytes));
  if (set) set[KEYSET_CAPACITY] = static_cast<uint32_t>(capacity);
}

void KeySetFree(uint32_t*& set) {
  BlockFree(set);
  set = nullptr;
}

void KeySetClear(uint32_t* set) {
  if (!set) return;
  std::fill(set + KEYSET_KEYS, set + KEYSET_KEYS + SetCount(set), 0u);
  set[KEYSET_COUNT] = 0;
}

void KeySetUpdate(uint32_t* set, uintptr_t key, intptr_t keyData) {
  if (!set) return;
  const uint32_t code = static_cast<uint32_t>(key) & 0xFFFF;
  const uint32_t data = static_cast<uint32_t>(keyData);
  if (data & kKeyReleased) {
    RemoveKey(set, code);
  } else {
    AddKey(set, code);
  }
  if (code == kVkMenu) return;
  if (data & kAltHeld) {
    AddKey(set, kVkMenu);
  } else {
    RemoveKey(set, kVkMenu);
  }
}

bool KeyTableCreate(TKeyTable& table, int32_t capacity) {
  table.Words.reset();
  table.Capacity = 0;
  if (capacity < 1 || capacity > INT32_MAX / 4) return false;
  table.Words.reset(
      static_cast<uint32_t*>(BlockAlloc(MEM_DEFAULTFLAGS | MEM_ZEROINIT, capacity * 4)));
  if (!table.Words) return false;
  table.Capacity = capacity;
  return true;
}

uint32_t KeyTableFind(const uint32_t* set, const TKeyTable& table, uint32_t after) {
  if (!set || !table.Words) return 0;
  const int32_t count = SetCount(set);
  if (count == 0) return 0;
  const uint32_t* w = table.Words.get();
  bool skipping = after != 0;
  // A damaged table without its terminating zero is searched as far as its entries are whole
  // and leave the last word free.
  for (int32_t pos = 0; pos < table.Capacity && w[pos] != 0;) {
    const int32_t words = EntryWords(table, pos);
    if (words == 0) break;
    const uint32_t header = w[pos];
    const bool candidate = (header & KEYENTRY_DISABLED) == 0 &&
                           (header & KEYENTRY_COUNTMASK) == static_cast<uint32_t>(count) &&
                           EntryHoldsSet(w + pos, set, count);
    if (candidate) {
      const uint32_t command = EntryCommand(w + pos);
      if (command == after) {
        skipping = false;
      } else if (!skipping) {
        return command;
      }
    }
    pos += words;
  }
  return 0;
}

bool KeyTableSet(TKeyTable& table, uint32_t command, const uint32_t* keys) {
  const int32_t end = TableEnd(table);
  if (end < 0) return false;
  if (!keys) {
    RemoveCommand(table, command, end);
    return true;
  }
  if (command == 0 || keys[0] == 0 || keys[0] > KEYENTRY_COUNTMASK) return false;
  const int64_t newWords = static_cast<int64_t>(keys[0]) + 2;
  const int32_t pos = FindCommand(table, command, end);
  const int32_t at = pos >= 0 ? pos : end;
  const int32_t oldWords = pos >= 0 ? EntryWords(table, pos) : 0;
  // Words in use afterwards, the terminating zero included.
  if (static_cast<int64_t>(end) + 1 - oldWords + newWords > table.Capacity) return false;
  PutEntry(table, at, oldWords, end, command, keys);
  return true;
}
