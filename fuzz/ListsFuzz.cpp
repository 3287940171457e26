// Fuzz target of the delimited lists. The checks hold for any input: the split tiles the
// text, taking an item takes exactly that item, an item found compares equal and none before
// it does, an added item is found afterwards, and sorting keeps the items and orders them.
//
// Input: flags word, index word, delimiter length byte; then the delimiter, the list text and
// the item, separated by zero bytes.
#include <algorithm>
#include <string>
#include <vector>

#include "FuzzInput.h"
#include "text/Strut.h"

namespace {

struct Item {
  int32_t start;
  int32_t length;
};

std::vector<Item> Split(const std::string& text, std::string_view delim) {
  TMem_Array spans;
  ListSplit(text.data(), static_cast<int32_t>(text.size()), delim.data(),
            static_cast<int32_t>(delim.size()), spans);
  std::vector<Item> items;
  for (int32_t i = 0; i + 1 < spans.Count; i += 2)
    items.push_back({spans.Items<int32_t>()[i], spans.Items<int32_t>()[i + 1]});
  return items;
}

std::vector<std::string> Texts(const std::string& text, const std::vector<Item>& items) {
  std::vector<std::string> out;
  for (const Item& item : items) out.push_back(text.substr(item.start, item.length));
  return out;
}

void CheckSplit(const std::string& text, std::string_view delim,
                const std::vector<Item>& items) {
  FUZZ_CHECK(!items.empty());
  FUZZ_CHECK(items.front().start == 0);
  for (size_t i = 0; i < items.size(); ++i) {
    const Item& item = items[i];
    FUZZ_CHECK(item.length >= 0 && item.start + item.length <= static_cast<int32_t>(text.size()));
    if (!delim.empty())
      FUZZ_CHECK(std::string_view(text).substr(item.start, item.length).find(delim) ==
                 std::string_view::npos);
    if (i + 1 < items.size()) {
      FUZZ_CHECK(text.compare(item.start + item.length, delim.size(), delim) == 0);
      FUZZ_CHECK(items[i + 1].start == item.start + item.length + static_cast<int32_t>(delim.size()));
    } else {
      FUZZ_CHECK(item.start + item.length == static_cast<int32_t>(text.size()));
    }
  }
}

int32_t Compare(std::string_view a, std::string_view b, uint32_t tcFlags) {
  TMem_Compare r;
  TextCompare(a, b, 0, tcFlags, r);
  return r.Outcome;
}

void CheckTake(const std::string& text, const DelimSet& delim, const std::vector<Item>& items,
               int32_t index, uint32_t flags) {
  const auto count = static_cast<int64_t>(items.size());
  int64_t at = index;
  if (flags & LT_FROMEND) at = count - 1 - index;
  if (flags & LT_CLAMP) at = std::clamp<int64_t>(at, 0, count - 1);
  std::string t = text;
  std::string item = "stale";
  const int32_t r = ListTake(t, item, delim, index, flags);
  if (at < 0 || at >= count) {
    FUZZ_CHECK(r == count && item.empty() && t == text);
    return;
  }
  const Item& taken = items[at];
  FUZZ_CHECK(item == text.substr(taken.start, taken.length));
  if (!(flags & LT_REMOVE)) {
    FUZZ_CHECK(r == count && t == text);
    return;
  }
  FUZZ_CHECK(r == count - 1);
  std::string expected = text;
  if (at > 0 && at == count - 1)
    expected.erase(taken.start - delim.Length, taken.length + delim.Length);
  else
    expected.erase(taken.start, taken.length + delim.Length);
  FUZZ_CHECK(t == expected);
}

void CheckFind(const std::string& text, const DelimSet& delim, const std::vector<Item>& items,
               const std::string& sought, uint32_t flags) {
  const int32_t r = ListFind(text, sought, delim, flags);
  int32_t expected = -1;
  for (size_t i = 0; i < items.size() && !sought.empty(); ++i)
    if (Compare(std::string_view(text).substr(items[i].start, items[i].length), sought,
                flags >> 16) == CMP_EQUAL) {
      expected = static_cast<int32_t>(i);
      break;
    }
  FUZZ_CHECK(r == expected);
}

void CheckAdd(const std::string& text, const DelimSet& delim, const std::string& item,
              uint32_t flags) {
  std::string t = text;
  const bool wasThere = ListFind(text, item, delim, flags) >= 0;
  const bool found = ListAdd(t, item, delim, flags);
  FUZZ_CHECK(found == wasThere);
  const bool added = !(flags & LA_REMOVEONLY) && (!found || (flags & LA_MOVE));
  if (!added && (!found || !(flags & LA_REMOVEONLY))) FUZZ_CHECK(t == text);
  if (!added) return;
  FUZZ_CHECK(t.size() >= item.size());
  // The item stands at the front or the end; with a one-byte delimiter that it does not
  // contain, a split finds it there again.
  if (flags & LA_END)
    FUZZ_CHECK(t.compare(t.size() - item.size(), item.size(), item) == 0);
  else
    FUZZ_CHECK(t.compare(0, item.size(), item) == 0);
  if (delim.Length == 1 && item.find(delim.Characters[0]) == std::string::npos) {
    const std::vector<std::string> after = Texts(t, Split(t, delim.Text()));
    FUZZ_CHECK((flags & LA_END) ? after.back() == item : after.front() == item);
    // (Trimming applies to the list item only, so an item with blanks at its ends need not
    // match itself.)
    if (!item.empty() && !((flags >> 16) & TC_TRIM))
      FUZZ_CHECK(ListFind(t, item, delim, flags) >= 0);
  }
}

void CheckSort(const std::string& text, const DelimSet& delim, uint32_t flags) {
  std::string t = text;
  ListSort(t, delim, flags);
  FUZZ_CHECK(t.size() == text.size());
  if (delim.Length != 1) return;
  // With a one-byte delimiter the items are a permutation, empty items keep their places,
  // and for the orders that are total (exact or folded bytes) the others are in order.
  std::vector<std::string> before = Texts(text, Split(text, delim.Text()));
  std::vector<std::string> after = Texts(t, Split(t, delim.Text()));
  FUZZ_CHECK(before.size() == after.size());
  for (size_t i = 0; i < before.size(); ++i) FUZZ_CHECK(before[i].empty() == after[i].empty());
  std::vector<std::string> a = before, b = after;
  std::sort(a.begin(), a.end());
  std::sort(b.begin(), b.end());
  FUZZ_CHECK(a == b);
  const uint32_t tc = flags >> 16;
  if ((tc & ~TC_EXACT) != 0) return;
  const int32_t wrong = (flags & LS_DESCENDING) ? CMP_LESS : CMP_GREATER;
  const std::string* previous = nullptr;
  for (const std::string& item : after) {
    if (item.empty()) continue;
    if (previous) FUZZ_CHECK(Compare(*previous, item, tc) != wrong);
    previous = &item;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput in(data, size);
  const uint32_t flags = in.Word();
  const int32_t index = in.Int();
  const uint8_t delimLength = in.Byte();
  const std::string_view delimField = in.Field();
  const DelimSet delim(delimField.substr(0, delimLength));
  const std::string text(in.Field());
  const std::string item(in.Rest());
  // The exchange sort is quadratic in the items by design: keep the sorted lists small.
  const bool sortable = text.size() <= 1024;

  const std::vector<Item> items = Split(text, delim.Text());
  CheckSplit(text, delim.Text(), items);
  CheckTake(text, delim, items, index, flags);
  CheckTake(text, delim, items, static_cast<int32_t>(index % 8), flags);
  CheckFind(text, delim, items, item, flags);
  CheckAdd(text, delim, item, flags);
  if (sortable) CheckSort(text, delim, flags);
  return 0;
}
