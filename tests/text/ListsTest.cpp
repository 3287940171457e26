// Delimited lists: splitting, taking, adding, finding and sorting.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "text/Strut.h"

namespace {

using Spans = std::vector<std::pair<int32_t, int32_t>>;

Spans Split(std::string_view text, std::string_view delim) {
  TMem_Array spans;
  ListSplit(text.data(), static_cast<int32_t>(text.size()), delim.data(),
            static_cast<int32_t>(delim.size()), spans);
  EXPECT_EQ(spans.ElemSize, 4);
  EXPECT_EQ(spans.StepBytes, 400);
  EXPECT_EQ(spans.Flags, MEM_DEFAULT);
  EXPECT_EQ(spans.CapacityBytes % 400, 0);
  Spans out;
  for (int32_t i = 0; i + 1 < spans.Count; i += 2)
    out.emplace_back(spans.Items<int32_t>()[i], spans.Items<int32_t>()[i + 1]);
  return out;
}

TEST(ListSplit, ItemsBetweenWholeDelimiters) {
  EXPECT_EQ(Split("a::::b", "::"), (Spans{{0, 1}, {3, 0}, {5, 1}}));
  EXPECT_EQ(Split("a:::b", "::"), (Spans{{0, 1}, {3, 2}}));  // 'a' and ':b'
  EXPECT_EQ(Split("", ";"), (Spans{{0, 0}}));
  EXPECT_EQ(Split(";a;", ";"), (Spans{{0, 0}, {1, 1}, {3, 0}}));
  EXPECT_EQ(Split("aXbxc", "x"), (Spans{{0, 3}, {4, 1}}));  // exact bytes
  EXPECT_EQ(Split("a;b", ""), (Spans{{0, 3}}));              // no delimiter: one item
  TMem_Array spans;
  ListSplit(nullptr, 5, ";", 1, spans);  // no text: one empty item
  ASSERT_EQ(spans.Count, 2);
  EXPECT_EQ(spans.Items<int32_t>()[1], 0);
}

TEST(ListSplit, ManyItemsInOneBlock) {
  std::string text;
  for (int i = 0; i < 1000; ++i) text += "item\xA7";
  const Spans spans = Split(text, "\xA7");
  ASSERT_EQ(spans.size(), 1001u);
  EXPECT_EQ(spans[999], (std::pair<int32_t, int32_t>{999 * 5, 4}));
  EXPECT_EQ(spans[1000], (std::pair<int32_t, int32_t>{5000, 0}));
}

struct TakeCase {
  const char* text;
  int32_t index;
  uint32_t flags;
  const char* item;
  const char* after;
  int32_t result;
};

TEST(ListTake, IndexesFlagsAndRemoval) {
  const TakeCase cases[] = {
      {"a;b;c", 1, LT_REMOVE, "b", "a;c", 2},
      {"a;b;c", 2, LT_REMOVE, "c", "a;b", 2},
      {"a;b;c", 0, LT_REMOVE | LT_FROMEND, "c", "a;b", 2},
      {"a;b;c", 0, LT_REMOVE, "a", "b;c", 2},
      {"a;b;c", 5, 0, "", "a;b;c", 3},
      {"a;b;c", 5, LT_CLAMP, "c", "a;b;c", 3},
      {"a;b;c", -2, LT_CLAMP, "a", "a;b;c", 3},
      {"a;b;c", 1, LT_FROMEND, "b", "a;b;c", 3},
      {"a;b;c", 7, LT_FROMEND | LT_CLAMP, "a", "a;b;c", 3},
      {"a;b;c", INT32_MIN, LT_FROMEND, "", "a;b;c", 3},
      {"a;b;c", -1, 0, "", "a;b;c", 3},
      {"abc", 0, LT_REMOVE, "abc", "", 0},
      {"", 0, 0, "", "", 1},
      {"", 0, LT_REMOVE, "", "", 0},
      {";x", 0, LT_REMOVE, "", "x", 1},
      {"x;", 0, LT_REMOVE | LT_FROMEND, "", "x", 1},
      {"a;;b", 1, LT_REMOVE, "", "a;b", 2},
  };
  for (const auto& c : cases) {
    std::string text = c.text;
    std::string item = "stale";
    EXPECT_EQ(ListTake(text, item, ";", c.index, c.flags), c.result)
        << c.text << " index " << c.index << " flags " << c.flags;
    EXPECT_EQ(item, c.item) << c.text << " index " << c.index;
    EXPECT_EQ(text, c.after) << c.text << " index " << c.index;
  }
}

TEST(ListTake, TwoByteDelimiterOfTheSelectionList) {
  std::string entry = "FILE: Name=C:\\x: y";
  std::string kind;
  EXPECT_EQ(ListTake(entry, kind, ": ", 0, LT_REMOVE), 2);
  EXPECT_EQ(kind, "FILE");
  EXPECT_EQ(entry, "Name=C:\\x: y");
}

TEST(ListTake, WalkingAListToItsEnd) {
  std::string list = "one\xA7\xA7two\xA7three";
  std::vector<std::string> items;
  std::string item;
  while (!list.empty()) {
    ListTake(list, item, ITEM_DELIM, 0, LT_REMOVE);
    items.push_back(item);
  }
  EXPECT_EQ(items, (std::vector<std::string>{"one", "", "two", "three"}));
}

struct AddCase {
  const char* text;
  const char* item;
  uint32_t flags;
  const char* after;
  bool found;
};

TEST(ListAdd, AddMoveAndRemove) {
  const AddCase cases[] = {
      {"a;b;c", "d", LA_END, "a;b;c;d", false},
      {"a;b;c", "d", 0, "d;a;b;c", false},
      {"a;b;c", "B", LA_MOVE, "B;a;c", true},
      {"a;b;c", "B", LA_MOVE | LA_END, "a;c;B", true},
      {"a;b;c", "B", LA_REMOVEONLY, "a;c", true},
      {"a;b;c", "d", LA_REMOVEONLY, "a;b;c", false},
      {"a;b;c", "B", LA_END, "a;b;c", true},
      {"a;b;c", "B", LA_END | ListCompareFlags(TC_EXACT), "a;b;c;B", false},
      {"", "x", LA_END, "x", false},
      {"", "x", 0, "x", false},
      {"x", "X", LA_MOVE, "X", true},  // the only item moved: the list is just the item
  };
  for (const auto& c : cases) {
    std::string text = c.text;
    EXPECT_EQ(ListAdd(text, c.item, ";", c.flags), c.found) << c.text << " + " << c.item;
    EXPECT_EQ(text, c.after) << c.text << " + " << c.item << " flags " << c.flags;
  }
  std::string text = "a;b";
  ListAdd(text, std::string_view(text).substr(0, 1), ";", LA_MOVE | LA_END);  // a view of it
  EXPECT_EQ(text, "b;a");
}

TEST(ListFind, ComparisonFlagsInTheHighWord) {
  EXPECT_EQ(ListFind("a;Bc;c", "bc", ";", 0), 1);
  EXPECT_EQ(ListFind("a;Bc;c", "bc", ";", ListCompareFlags(TC_EXACT)), -1);
  EXPECT_EQ(ListFind("a;;b", "", ";", 0), -1);
  EXPECT_EQ(ListFind("", "", ";", 0), -1);
  EXPECT_EQ(ListFind("ocx;dll", "DLL", ";", 0), 1);
  EXPECT_EQ(ListFind("ocx;dll", "dl", ";", 0), -1);
  EXPECT_EQ(ListFind("ocx;dll", "dllx", ";", ListCompareFlags(TC_FIRSTLENGTH)), 1);
  EXPECT_EQ(ListFind("abc;def", "de", ";", ListCompareFlags(TC_SECONDLENGTH)), 1);
  EXPECT_EQ(ListFind("x; a ;a", "a", ";", ListCompareFlags(TC_TRIM)), 1);
  EXPECT_EQ(ListFind("x;y", "y", ";", 0xFFFF), 1);  // the low word has no effect
}

struct SortCase {
  const char* text;
  uint32_t flags;
  const char* sorted;
};

TEST(ListSort, ExchangeSortOrder) {
  const SortCase cases[] = {
      {"a;b;a;c;b;a", 0, "a;a;a;b;b;c"},
      {"a;b;a;c;b;a", LS_DESCENDING, "c;b;b;a;a;a"},
      {"a;;b;;c", LS_DESCENDING, "c;;b;;a"},
      {";b;a", 0, ";a;b"},
      {"10;9;100", 0, "10;100;9"},
      {"B;a;C", ListCompareFlags(TC_EXACT), "B;C;a"},
      {"B;a;C", 0, "a;B;C"},
      // Items that compare equal end up in the order the exchanges leave them.
      {"b;a;B;A", 0, "a;A;B;b"},
      {"C:\\A;C:\\A\\B\\C;C:\\B;C:\\A\\B", LS_DESCENDING, "C:\\B;C:\\A\\B\\C;C:\\A\\B;C:\\A"},
      {"", 0, ""},
      {"only", 0, "only"},
  };
  for (const auto& c : cases) {
    std::string text = c.text;
    ListSort(text, ";", c.flags);
    EXPECT_EQ(text, c.sorted) << c.text << " flags " << c.flags;
  }
  std::string text = "b::a::c";
  ListSort(text, "::", 0);
  EXPECT_EQ(text, "a::b::c");
  text = "b\xA7" "a";
  ListSort(text, ITEM_DELIM, LS_DESCENDING);
  EXPECT_EQ(text, "b\xA7" "a");
}

}  // namespace
