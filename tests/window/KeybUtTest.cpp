#include <gtest/gtest.h>

#include <vector>

#include "window/KeybUt.h"

namespace {

// The system's virtual-key codes used here.
constexpr uint32_t VkTab = 0x09, VkReturn = 0x0D, VkShift = 0x10, VkControl = 0x11, VkMenu = 0x12,
                   VkEscape = 0x1B, VkN = 0x4E, VkO = 0x4F;

// Key messages: a press, a release, and a press with Alt held (context code).
constexpr intptr_t Down = 0x00000001;
constexpr intptr_t Up = static_cast<intptr_t>(static_cast<int32_t>(0xC0000001u));
constexpr intptr_t AltDown = 0x20000001;

using Words = std::vector<uint32_t>;

struct KeySet {
  uint32_t* set = nullptr;
  explicit KeySet(int32_t capacity) { KeySetCreate(set, capacity); }
  ~KeySet() { KeySetFree(set); }
  void Press(uint32_t key, intptr_t data = Down) { KeySetUpdate(set, key, data); }
  void Release(uint32_t key) { KeySetUpdate(set, key, Up); }
  // count, then the slots (all of them, so that stale keys would show).
  Words Contents() const {
    return Words(set + KEYSET_COUNT, set + KEYSET_KEYS + set[KEYSET_CAPACITY]);
  }
};

// A table of the given capacity holding the given words (terminating zero included).
TKeyTable Table(const Words& words, int32_t capacity = KEYTABLE_WORDS) {
  TKeyTable t;
  EXPECT_TRUE(KeyTableCreate(t, capacity));
  std::copy(words.begin(), words.end(), t.Words.get());
  return t;
}

// Every word of the table, so that a change anywhere in the block shows.
Words All(const TKeyTable& t) { return Words(t.Words.get(), t.Words.get() + t.Capacity); }
// The words up to and including the terminating zero; the rest must be zero.
Words Used(const TKeyTable& t) {
  Words all = All(t);
  while (all.size() > 1 && all[all.size() - 1] == 0 && all[all.size() - 2] == 0) all.pop_back();
  return all;
}

// Every command that matches the set, visited as the framework does.
Words Matches(const uint32_t* set, const TKeyTable& t) {
  Words found;
  for (uint32_t c = KeyTableFind(set, t, 0); c != 0 && found.size() < 20;
       c = KeyTableFind(set, t, c)) {
    found.push_back(c);
  }
  return found;
}

}  // namespace

TEST(KeySet, CreateAndClear) {
  KeySet k(3);
  ASSERT_NE(k.set, nullptr);
  EXPECT_EQ(k.set[KEYSET_CAPACITY], 3u);
  EXPECT_EQ(k.Contents(), (Words{0, 0, 0, 0}));
  k.Press(VkShift);
  k.Press(VkTab);
  KeySetClear(k.set);
  EXPECT_EQ(k.Contents(), (Words{0, 0, 0, 0}));
  KeySetClear(nullptr);
  KeySetUpdate(nullptr, VkTab, Down);

  uint32_t* bad = nullptr;
  KeySetCreate(bad, -1);
  EXPECT_EQ(bad, nullptr);
  KeySetCreate(bad, 0x40000000);
  EXPECT_EQ(bad, nullptr);
}

TEST(KeySet, PressAndRelease) {
  KeySet k(3);
  k.Press(VkShift);
  k.Press(VkTab);
  k.Press(VkTab);  // held and repeated: not added twice
  EXPECT_EQ(k.Contents(), (Words{2, VkShift, VkTab, 0}));
  k.Release(VkReturn);  // not held: nothing changes
  EXPECT_EQ(k.Contents(), (Words{2, VkShift, VkTab, 0}));
  k.Press(VkControl);
  k.Press(VkN);  // the set is full
  EXPECT_EQ(k.Contents(), (Words{3, VkShift, VkTab, VkControl}));
  k.Release(VkShift);  // later keys move down, the freed slot is cleared
  EXPECT_EQ(k.Contents(), (Words{2, VkTab, VkControl, 0}));
  k.Press(0x10041);  // only the low 16 bits of the key are kept
  EXPECT_EQ(k.Contents(), (Words{3, VkTab, VkControl, 0x41}));
}

TEST(KeySet, AltFollowsEveryMessage) {
  KeySet k(4);
  k.Press(VkN, AltDown);  // Alt's own press went elsewhere; the context code brings it in
  EXPECT_EQ(k.Contents(), (Words{2, VkN, VkMenu, 0, 0}));
  k.Release(VkN);  // released without the context code: Alt is no longer held
  EXPECT_EQ(k.Contents(), (Words{0, 0, 0, 0, 0}));
  k.Press(VkMenu, AltDown);  // Alt itself is added once, not removed by its own message
  k.Press(VkMenu, Down);
  EXPECT_EQ(k.Contents(), (Words{1, VkMenu, 0, 0, 0}));
}

TEST(KeyTable, FindMatchesExactCombinations) {
  // Tab -> 9, Shift+Tab -> 7 (keys listed in the other order), Alt+N -> 5, a disabled
  // Alt+N -> 6, Return -> 11, Alt+N again under another command -> 8.
  const TKeyTable t =
      Table({1,      VkTab, 9, 2, VkTab,    VkShift, 7, 2,   VkMenu, VkN, 5, KEYENTRY_DISABLED | 2,
             VkMenu, VkN,   6, 1, VkReturn, 11,      2, VkN, VkMenu, 8,   0});
  KeySet k(8);
  EXPECT_EQ(KeyTableFind(k.set, t, 0), 0u);  // empty set
  k.Press(VkShift);
  k.Press(VkTab);
  EXPECT_EQ(Matches(k.set, t), (Words{7}));  // not the single-key Tab entry
  KeySetClear(k.set);
  k.Press(VkTab);
  EXPECT_EQ(Matches(k.set, t), (Words{9}));
  KeySetClear(k.set);
  k.Press(VkN, AltDown);
  EXPECT_EQ(Matches(k.set, t), (Words{5, 8}));  // in table order, the disabled one skipped
  EXPECT_EQ(KeyTableFind(k.set, t, 8), 0u);
  EXPECT_EQ(KeyTableFind(k.set, t, 99), 0u);  // after a command that never matches
  k.Press(VkO, AltDown);                      // a third key held: Alt+N no longer matches
  EXPECT_EQ(KeyTableFind(k.set, t, 0), 0u);
  EXPECT_EQ(KeyTableFind(nullptr, t, 0), 0u);
  EXPECT_EQ(KeyTableFind(k.set, TKeyTable{}, 0), 0u);
}

TEST(KeyTable, BindReplaceRemove) {
  const Words tab{1, VkTab}, altN{2, VkMenu, VkN}, ctrlShiftN{3, VkControl, VkShift, VkN},
      esc{1, VkEscape};
  TKeyTable t = Table({0}, 32);
  EXPECT_TRUE(KeyTableSet(t, 9, tab.data()));
  EXPECT_TRUE(KeyTableSet(t, 5, altN.data()));
  EXPECT_TRUE(KeyTableSet(t, 2, esc.data()));
  EXPECT_EQ(Used(t), (Words{1, VkTab, 9, 2, VkMenu, VkN, 5, 1, VkEscape, 2, 0}));

  // A longer list for command 5 moves the following entry back, a shorter one up again.
  EXPECT_TRUE(KeyTableSet(t, 5, ctrlShiftN.data()));
  EXPECT_EQ(Used(t), (Words{1, VkTab, 9, 3, VkControl, VkShift, VkN, 5, 1, VkEscape, 2, 0}));
  EXPECT_TRUE(KeyTableSet(t, 5, esc.data()));
  EXPECT_EQ(Used(t), (Words{1, VkTab, 9, 1, VkEscape, 5, 1, VkEscape, 2, 0}));

  // A replaced entry comes back enabled.
  t.Words.get()[0] |= KEYENTRY_DISABLED;
  EXPECT_TRUE(KeyTableSet(t, 9, altN.data()));
  EXPECT_EQ(Used(t), (Words{2, VkMenu, VkN, 9, 1, VkEscape, 5, 1, VkEscape, 2, 0}));

  EXPECT_TRUE(KeyTableSet(t, 5, nullptr));
  EXPECT_EQ(Used(t), (Words{2, VkMenu, VkN, 9, 1, VkEscape, 2, 0}));
  EXPECT_TRUE(KeyTableSet(t, 77, nullptr));  // not bound: nothing changes
  EXPECT_EQ(Used(t), (Words{2, VkMenu, VkN, 9, 1, VkEscape, 2, 0}));
}

TEST(KeyTable, CommandBoundTwiceIsRemovedWhole) {
  // Two entries of command 4 (one disabled) around one of command 3.
  TKeyTable t = Table({1, VkTab, 4, 1, VkEscape, 3, KEYENTRY_DISABLED | 2, VkMenu, VkN, 4, 0});
  EXPECT_TRUE(KeyTableSet(t, 4, nullptr));
  EXPECT_EQ(Used(t), (Words{1, VkEscape, 3, 0}));
  // Binding the same command twice keeps one entry, and removing it leaves an empty table.
  const Words tab{1, VkTab};
  EXPECT_TRUE(KeyTableSet(t, 6, tab.data()));
  EXPECT_TRUE(KeyTableSet(t, 6, tab.data()));
  EXPECT_EQ(Used(t), (Words{1, VkEscape, 3, 1, VkTab, 6, 0}));
  EXPECT_TRUE(KeyTableSet(t, 6, nullptr));
  EXPECT_TRUE(KeyTableSet(t, 3, nullptr));
  EXPECT_EQ(Used(t), (Words{0}));
}

TEST(KeyTable, CapacityIsNeverExceeded) {
  const Words tab{1, VkTab}, altN{2, VkMenu, VkN}, four{4, VkControl, VkShift, VkMenu, VkN};
  // 7 words: two entries of 3 words and the zero fill the table.
  TKeyTable t = Table({1, VkTab, 1, 1, VkEscape, 2, 0}, 7);
  const Words before = All(t);
  EXPECT_FALSE(KeyTableSet(t, 3, tab.data()));   // appending would need 10 words
  EXPECT_FALSE(KeyTableSet(t, 1, altN.data()));  // replacing 3 words by 4 would need 8
  EXPECT_EQ(All(t), before);
  EXPECT_TRUE(KeyTableSet(t, 2, nullptr));
  EXPECT_TRUE(KeyTableSet(t, 1, altN.data()));
  EXPECT_EQ(All(t), (Words{2, VkMenu, VkN, 1, 0, 0, 0}));
  EXPECT_FALSE(KeyTableSet(t, 3, tab.data()));  // 8 words
  EXPECT_TRUE(KeyTableSet(t, 1, four.data()));  // exactly 7
  EXPECT_EQ(All(t), (Words{4, VkControl, VkShift, VkMenu, VkN, 1, 0}));
  EXPECT_TRUE(KeyTableSet(t, 1, tab.data()));  // shrinking clears the words it frees
  EXPECT_EQ(All(t), (Words{1, VkTab, 1, 0, 0, 0, 0}));

  // The framework's 256-word tables take 85 single-key entries (3 words each) and no more.
  TKeyTable full = Table({0});
  for (uint32_t c = 1; c <= 85; ++c) EXPECT_TRUE(KeyTableSet(full, c, tab.data())) << c;
  const Words fullBefore = All(full);
  EXPECT_FALSE(KeyTableSet(full, 86, tab.data()));
  EXPECT_EQ(All(full), fullBefore);
  EXPECT_EQ(full.Words.get()[255], 0u);
}

TEST(KeyTable, BadArgumentsAndDamagedTablesChangeNothing) {
  const Words none{0}, tab{1, VkTab}, huge{0x80000001u, VkTab};
  TKeyTable t = Table({1, VkEscape, 2, 0}, 16);
  const Words before = All(t);
  EXPECT_FALSE(KeyTableSet(t, 3, none.data()));  // an empty list would end the table early
  EXPECT_FALSE(KeyTableSet(t, 0, tab.data()));   // command 0 means "none"
  EXPECT_FALSE(KeyTableSet(t, 3, huge.data()));
  EXPECT_EQ(All(t), before);

  // An entry claiming more keys than the block holds, and a block without a zero word.
  TKeyTable damaged = Table({1000, VkTab, 1, 0}, 8);
  TKeyTable unended = Table({1, VkTab, 1, 1, VkTab, 2, 1, VkTab}, 8);
  for (TKeyTable* d : {&damaged, &unended}) {
    const Words was = All(*d);
    EXPECT_FALSE(KeyTableSet(*d, 5, tab.data()));
    EXPECT_FALSE(KeyTableSet(*d, 1, nullptr));
    EXPECT_EQ(All(*d), was);
  }
  KeySet k(2);
  k.Press(VkTab);
  EXPECT_EQ(KeyTableFind(k.set, damaged, 0), 0u);
  EXPECT_EQ(Matches(k.set, unended), (Words{1, 2}));  // the whole entries are still found

  TKeyTable none0;
  EXPECT_FALSE(KeyTableCreate(none0, 0));
  EXPECT_FALSE(KeyTableSet(none0, 1, tab.data()));
}
