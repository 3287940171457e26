#include "system/Memory.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

std::vector<int32_t> Ints(const TMem_Array& a) {
  return std::vector<int32_t>(a.Items<int32_t>(), a.Items<int32_t>() + a.Count);
}

void ExpectInvariants(const TMem_Array& a) {
  EXPECT_EQ(a.UsedBytes, a.Count * a.ElemSize);
  EXPECT_EQ(a.Data == nullptr, a.CapacityBytes == 0);
  EXPECT_GE(a.CapacityBytes, a.UsedBytes);
}

}  // namespace

TEST(MemoryBlocks, AllocResizeFree) {
  void* p = nullptr;
  ASSERT_TRUE(BlockResizeVar(p, 16, MEM_DEFAULT | MEM_ZEROINIT));
  ASSERT_NE(p, nullptr);
  std::memset(p, 0xAB, 16);
  ASSERT_TRUE(BlockResizeVar(p, 4096, MEM_DEFAULT | MEM_ZEROINIT));
  const auto* bytes = static_cast<const unsigned char*>(p);
  EXPECT_EQ(bytes[15], 0xAB);   // contents kept
  EXPECT_EQ(bytes[16], 0);      // grown part zeroed
  EXPECT_EQ(bytes[4095], 0);
  EXPECT_TRUE(BlockResizeVar(p, 0, MEM_DEFAULT));  // size <= 0: nothing
  EXPECT_NE(p, nullptr);
  BlockFreeVar(p);
  EXPECT_EQ(p, nullptr);
  BlockFreeVar(p);  // an empty variable is left alone
  BlockFree(nullptr);
  EXPECT_EQ(BlockAlloc(MEM_DEFAULT, 0), nullptr);
}

TEST(MemoryArrays, GrowsAndShrinksInSteps) {
  TMem_Array a(3, 4, MEM_DEFAULT);
  EXPECT_EQ(a.StepBytes, 12);
  ExpectInvariants(a);
  const int32_t capacityAfter[] = {12, 12, 12, 24, 24, 24, 36};
  for (int32_t i = 0; i < 7; ++i) {
    EXPECT_EQ(ArrAppendInt(a, i * 10), i);
    EXPECT_EQ(a.CapacityBytes, capacityAfter[i]) << "element " << i;
    ExpectInvariants(a);
  }
  EXPECT_TRUE(ArrDelete(a, 1, 3));
  EXPECT_EQ(a.CapacityBytes, 24);
  EXPECT_EQ(Ints(a), (std::vector<int32_t>{0, 40, 50, 60}));
  ArrClear(a);
  EXPECT_EQ(a.Data, nullptr);
  EXPECT_EQ(a.Count, 0);
  ExpectInvariants(a);
}

TEST(MemoryArrays, InsertDeleteIndexes) {
  TMem_Array a(100, 4, MEM_DEFAULT);
  for (int32_t i = 0; i < 8; ++i) ArrAppendInt(a, i);
  EXPECT_EQ(ArrInsertInt(a, 50, 100), 8);  // invalid index appends
  EXPECT_EQ(ArrInsertInt(a, 0, -1), 0);
  EXPECT_EQ(ArrInsertInt(a, 5, 55), 5);
  EXPECT_EQ(Ints(a), (std::vector<int32_t>{-1, 0, 1, 2, 3, 55, 4, 5, 6, 7, 100}));

  EXPECT_TRUE(ArrDelete(a, -1, 2));  // the last two
  EXPECT_EQ(Ints(a), (std::vector<int32_t>{-1, 0, 1, 2, 3, 55, 4, 5, 6}));
  EXPECT_FALSE(ArrDelete(a, 7, 3));  // run ends past the last element
  EXPECT_FALSE(ArrDelete(a, 0, 0));
  EXPECT_FALSE(ArrDelete(a, -1, 10));
  EXPECT_FALSE(ArrDeleteAt(a, 9));
  EXPECT_TRUE(ArrDeleteAt(a, 0));
  EXPECT_EQ(a.Count, 8);

  int32_t v = 1234;
  EXPECT_TRUE(ArrGet(a, 4, &v));
  EXPECT_EQ(v, 55);
  v = 1234;
  EXPECT_FALSE(ArrGet(a, 8, &v));
  EXPECT_FALSE(ArrGet(a, -1, &v));
  EXPECT_EQ(v, 1234);
  EXPECT_FALSE(ArrValidIndex(a, 8));
  EXPECT_TRUE(ArrValidIndex(a, 7));
  ExpectInvariants(a);
}

TEST(MemoryArrays, ElementSizes) {
  TMem_Array words(10, 2, MEM_DEFAULT);
  ArrAppendInt(words, 0x12345);
  EXPECT_EQ(words.Items<uint16_t>()[0], 0x2345);  // low 16 bits only

  TMem_Array bytes(10, 1, MEM_DEFAULT);
  ArrAppendInt(bytes, 0x1FF);
  EXPECT_EQ(bytes.Items<uint8_t>()[0], 0xFF);

  TMem_Array odd(10, 3, MEM_DEFAULT);
  EXPECT_EQ(ArrInsertInt(odd, 0, 1), -1);
  const char three[3] = {'a', 'b', 'c'};
  EXPECT_EQ(ArrAppend(odd, three), 0);  // ArrInsert itself takes any size
  EXPECT_EQ(std::memcmp(odd.Data, three, 3), 0);

  TMem_Array empty(10, 0, MEM_DEFAULT);
  EXPECT_EQ(ArrAppend(empty, three), -1);
  EXPECT_FALSE(ArrDelete(empty, 0, 1));
}

TEST(MemoryArrays, SetSizeRules) {
  TMem_Array a(3, 4, MEM_DEFAULT);
  EXPECT_FALSE(ArrSetSize(a, 6));  // not a whole number of elements
  EXPECT_EQ(a.UsedBytes, 0);
  EXPECT_EQ(a.Data, nullptr);
  EXPECT_TRUE(ArrSetSize(a, 8));
  EXPECT_EQ(a.Count, 2);
  EXPECT_EQ(a.CapacityBytes, 12);
  EXPECT_TRUE(ArrSetSize(a, -5));  // below 0 counts as 0
  EXPECT_EQ(a.Data, nullptr);

  TMem_Array unstepped(1, 1, MEM_DEFAULT);  // StepBytes 1: capacity follows the size
  ArrSetSize(unstepped, 7);
  EXPECT_EQ(unstepped.CapacityBytes, 7);
}

TEST(MemoryArrays, RefusedGrowthLeavesArrayAsItWas) {
  // A capacity that rounds up beyond 32 bits is refused like a block the allocator refuses.
  TMem_Array a(100, 1, MEM_DEFAULT);
  ArrAppendInt(a, 7);
  EXPECT_FALSE(ArrSetSize(a, INT32_MAX - 10));
  EXPECT_EQ(a.Count, 1);
  EXPECT_EQ(a.CapacityBytes, 100);
  EXPECT_EQ(a.Items<uint8_t>()[0], 7);
  ExpectInvariants(a);
}

namespace {

struct CompareCase {
  const char* a;
  const char* b;
  int32_t limit;
  uint32_t flags;
  int32_t outcome, offset1, offset2;
};

TMem_Compare Compare(const std::string& a, const std::string& b, int32_t limit, uint32_t flags) {
  TMem_Compare r;
  r.Offset1 = 99;
  MemCompare(a.data(), 0, static_cast<int32_t>(a.size()), b.data(), 0,
             static_cast<int32_t>(b.size()), limit, flags, r);
  return r;
}

}  // namespace

TEST(MemCompare, Outcomes) {
  const CompareCase cases[] = {
      {"hel", "hello", -1, 0, CMP_LESS, 3, 3},
      {"hel", "hello", -1, MC_FIRSTLENGTH, CMP_EQUAL, 0, 0},
      {"hello", "hel", -1, 0, CMP_GREATER, 3, 3},
      {"hello", "hel", -1, MC_FIRSTLENGTH, CMP_GREATER, 3, 3},  // never reads past "hel"
      {"Hello", "hello", -1, 0, CMP_EQUAL, 0, 0},
      {"Hello", "hello", -1, MC_EXACT, CMP_LESS, 0, 0},
      {"abcX", "abcY", -1, 0, CMP_LESS, 3, 3},
      {"abcY", "abcx", -1, 0, CMP_GREATER, 3, 3},    // 'x' folds to 'X' < 'Y'
      {"abcY", "abcx", -1, MC_EXACT, CMP_LESS, 3, 3},
      {"hel", "hello", 3, 0, CMP_EQUAL, 0, 0},       // limit within the shorter length
      {"hel", "hello", 4, 0, CMP_LESS, 3, 3},        // limit beyond it changes nothing
      {"hello", "help", 3, 0, CMP_EQUAL, 0, 0},
      {"hello", "hello", 0, 0, CMP_INVALID, 0, 0},   // limit 0
      {"", "x", -1, 0, CMP_INVALID, 0, 0},
      {"x", "", -1, 0, CMP_INVALID, 0, 0},
      {"\xE4", "\xC4", -1, 0, CMP_GREATER, 0, 0},    // only ASCII letters fold
  };
  for (const auto& c : cases) {
    const TMem_Compare r = Compare(c.a, c.b, c.limit, c.flags);
    EXPECT_EQ(r.Outcome, c.outcome) << c.a << " / " << c.b << " flags " << c.flags;
    EXPECT_EQ(r.Offset1, c.offset1) << c.a << " / " << c.b << " flags " << c.flags;
    EXPECT_EQ(r.Offset2, c.offset2) << c.a << " / " << c.b << " flags " << c.flags;
  }
}

TEST(MemCompare, RangesAndBadArguments) {
  const char* text = "xxhelloyy";
  const char* other = "HELP";
  TMem_Compare r;
  MemCompare(text, 2, 7, other, 0, 4, -1, 0, r);
  EXPECT_EQ(r.Outcome, CMP_LESS);  // 'L' < 'P'
  EXPECT_EQ(r.Offset1, 5);
  EXPECT_EQ(r.Offset2, 3);
  MemCompare(text, 2, 5, other, 0, 4, -1, 0, r);  // "hel" is a beginning of "HELP"
  EXPECT_EQ(r.Outcome, CMP_LESS);
  EXPECT_EQ(r.Offset1, 5);
  EXPECT_EQ(r.Offset2, 3);

  const int32_t bad[][4] = {{-1, 3, 0, 4}, {0, 0, 0, 4}, {3, 2, 0, 4}, {0, 3, -1, 4},
                            {0, 3, 0, 0}, {0, 3, 4, 3}};
  for (const auto& b : bad) {
    MemCompare(text, b[0], b[1], other, b[2], b[3], -1, 0, r);
    EXPECT_EQ(r.Outcome, CMP_INVALID) << b[0] << " " << b[1] << " " << b[2] << " " << b[3];
  }
  MemCompare(nullptr, 0, 3, other, 0, 4, -1, 0, r);
  EXPECT_EQ(r.Outcome, CMP_INVALID);
  EXPECT_EQ(r.Reserved[0] | r.Reserved[1] | r.Reserved[2] | r.Reserved[3], 0);
}

namespace {

struct Match {
  int32_t offset, length, resume, left;
};

struct Recorder {
  std::vector<Match> matches;
  size_t stopAfter = SIZE_MAX;
};

bool Record(void* data, int32_t left, int32_t resume, int32_t sub1, int32_t sub2, int32_t length,
            int32_t offset) {
  auto* rec = static_cast<Recorder*>(data);
  EXPECT_EQ(sub1, -1);
  EXPECT_EQ(sub2, 0);
  rec->matches.push_back({offset, length, resume, left});
  return rec->matches.size() < rec->stopAfter;
}

std::vector<int32_t> Offsets(const std::string& text, const std::string& pattern,
                             int32_t regionStart, int32_t regionLength, uint32_t flags) {
  Recorder rec;
  MemSearch(text.data(), static_cast<int32_t>(text.size()), pattern.data(),
            static_cast<int32_t>(pattern.size()), regionStart, regionLength, flags, Record, &rec);
  std::vector<int32_t> out;
  for (const auto& m : rec.matches) out.push_back(m.offset);
  return out;
}

using V = std::vector<int32_t>;

}  // namespace

TEST(MemSearch, Matches) {
  struct Case {
    const char* text;
    const char* pattern;
    int32_t regionStart, regionLength;
    uint32_t flags;
    V offsets;
  };
  const Case cases[] = {
      {"aaaa", "aa", 0, -1, 0, V{0, 1, 2}},
      {"aaaa", "aa", 0, -1, MS_NOOVERLAP, V{0, 2}},
      {"aaaa", "aa", 0, -1, MS_FIRSTONLY, V{0}},
      {"ab-ab-ab", "ab", 3, 1, 0, V{}},        // the match would leave the region
      {"ab-ab-ab", "ab", 3, 2, 0, V{3}},
      {"ab-ab-ab", "ab", 3, 100, 0, V{3, 6}},  // a long region ends at the text's end
      {"xAbab", "aB", 0, -1, 0, V{1, 3}},
      {"xAbab", "aB", 0, -1, MS_EXACT, V{}},
      {"xAbaB", "aB", 0, -1, MS_EXACT, V{3}},
      {"a1A1", "a1", 0, -1, 0, V{0, 2}},
      {"abc", "abcd", 0, -1, 0, V{}},
      {"abc", "", 0, -1, 0, V{}},
      {"abc", "a", -1, -1, 0, V{}},
      {"abc", "a", 3, -1, 0, V{}},
      {"", "a", 0, -1, 0, V{}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Offsets(c.text, c.pattern, c.regionStart, c.regionLength, c.flags), c.offsets)
        << c.text << " / " << c.pattern << " flags " << c.flags;
}

TEST(MemSearch, CallbackArgumentsAndStop) {
  const std::string text = "abXabXab";
  Recorder rec;
  rec.stopAfter = 2;
  MemSearch(text.data(), 8, "ab", 2, 0, -1, MS_NOOVERLAP, Record, &rec);
  ASSERT_EQ(rec.matches.size(), 2u);  // the callback's false ends the search
  EXPECT_EQ(rec.matches[0].length, 2);
  EXPECT_EQ(rec.matches[0].resume, 2);
  EXPECT_EQ(rec.matches[0].left, 5);  // candidates 2 .. 6 remain
  EXPECT_EQ(rec.matches[1].offset, 3);
}

TEST(MemSearch, Collect) {
  const std::string text = "a;b;;c;";
  TMem_Array target(100, 4, MEM_DEFAULT);
  ArrAppendInt(target, 99);
  EXPECT_EQ(MemSearchCollect(text.data(), 7, ";", 1, 0, -1, 0x21, target), 4);
  EXPECT_EQ(Ints(target), (V{99, 1, 3, 4, 6}));

  TMem_Array odd(10, 3, MEM_DEFAULT);
  EXPECT_EQ(MemSearchCollect(text.data(), 7, ";", 1, 0, -1, 0x21, odd), 0);
  EXPECT_EQ(odd.Count, 0);

  TMem_Array small(10, 1, MEM_DEFAULT);
  EXPECT_EQ(MemSearchCollect(text.data(), 7, ";;", 2, 0, -1, 0x21, small), 1);
  EXPECT_EQ(small.Items<uint8_t>()[0], 3);
}
