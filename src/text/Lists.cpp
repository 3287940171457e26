// Delimited lists: splitting, taking, adding, finding and sorting items.
//
// Every call walks the text afresh. The walk goes through the byte-range search of the Memory
// unit (exact bytes, occurrences never overlapping) and hands each item to a visitor, so that
// taking or finding an item costs one scan and no memory; only ListSplit and ListSort keep
// the spans of all items, in one array sized once.
#include <algorithm>

#include "text/Strut.h"
#include "text/TextScan.h"

using namespace strut_scan;

namespace {

// Visits the items of text in order as visit(index, start, length) -> bool (false stops).
// Returns the number of items visited.
template <class Visit>
int32_t WalkItems(std::string_view text, std::string_view delim, Visit&& visit) {
  struct Walk {
    Visit& Visitor;
    int32_t Index = 0;
    int32_t ItemStart = 0;
    int32_t DelimLength = 0;
    bool Stopped = false;
  } walk{visit, 0, 0, Len(delim)};
  auto onDelimiter = [](void* data, int32_t, int32_t, int32_t, int32_t, int32_t,
                        int32_t offset) {
    auto& w = *static_cast<Walk*>(data);
    if (!w.Visitor(w.Index, w.ItemStart, offset - w.ItemStart)) {
      w.Stopped = true;
      return false;
    }
    ++w.Index;
    w.ItemStart = offset + w.DelimLength;
    return true;
  };
  const int32_t length = Len(text);
  if (!delim.empty())
    MemSearch(text.data(), length, delim.data(), walk.DelimLength, 0, -1,
              MS_EXACT | MS_NOOVERLAP, onDelimiter, &walk);
  if (walk.Stopped || walk.Index == INT32_MAX) return walk.Index;  // counts stay 32-bit
  visit(walk.Index, walk.ItemStart, length - walk.ItemStart);
  return walk.Index + 1;
}

int32_t CountItems(std::string_view text, std::string_view delim) {
  return WalkItems(text, delim, [](int32_t, int32_t, int32_t) { return true; });
}

struct Span {
  int32_t Start = 0;
  int32_t Length = 0;
};

int32_t CompareItems(std::string_view a, std::string_view b, uint32_t tcFlags) {
  TMem_Compare result;
  TextCompare(a, b, 0, tcFlags, result);
  return result.Outcome;
}

}  // namespace

void ListSplit(const char* text, int32_t length, const char* delim, int32_t delimLength,
               TMem_Array& spans) {
  ArrInit(spans, 100, 4, MEM_DEFAULT);
  const std::string_view t(text ? text : "", text && length > 0 ? length : 0);
  const std::string_view d(delim ? delim : "", delim && delimLength > 0 ? delimLength : 0);
  const int32_t count = CountItems(t, d);
  // One pair per item, the array sized once (a refused block leaves it empty).
  if (count > INT32_MAX / 8 || !ArrSetSize(spans, count * 8)) return;
  int32_t* pairs = spans.Items<int32_t>();
  WalkItems(t, d, [&](int32_t i, int32_t start, int32_t n) {
    pairs[2 * i] = start;
    pairs[2 * i + 1] = n;
    return true;
  });
}

int32_t ListTake(std::string& text, std::string& item, const DelimSet& delim, int32_t index,
                 uint32_t flags) {
  const std::string_view d = delim.Text();
  // One walk counts the items and notes the one asked for (and the last one, for LT_FROMEND).
  Span wanted{-1, 0};
  Span last;
  const int32_t count = WalkItems(text, d, [&](int32_t i, int32_t start, int32_t n) {
    if (i == index) wanted = {start, n};
    last = {start, n};
    return true;
  });
  int64_t at = index;
  if (flags & LT_FROMEND) at = int64_t{count} - 1 - index;
  if (flags & LT_CLAMP) at = std::clamp<int64_t>(at, 0, count - 1);
  if (at < 0 || at >= count) {
    item.clear();
    return count;
  }
  if (at == count - 1) {
    wanted = last;
  } else if (at != index) {
    WalkItems(text, d, [&](int32_t i, int32_t start, int32_t n) {
      if (i != at) return true;
      wanted = {start, n};
      return false;
    });
  }
  std::string taken = text.substr(wanted.Start, wanted.Length);
  if (!(flags & LT_REMOVE)) {
    item = std::move(taken);
    return count;
  }
  const int32_t dl = Len(d);
  if (at > 0 && at == count - 1)
    text.erase(wanted.Start - dl, wanted.Length + dl);
  else
    text.erase(wanted.Start, wanted.Length + dl);  // clipped at the end of the text
  item = std::move(taken);
  return count - 1;
}

int32_t ListFind(std::string_view text, std::string_view sought, const DelimSet& delim,
                 uint32_t flags) {
  if (sought.empty()) return -1;
  const uint32_t tcFlags = flags >> 16;
  int32_t found = -1;
  WalkItems(text, delim.Text(), [&](int32_t i, int32_t start, int32_t n) {
    if (CompareItems(text.substr(start, n), sought, tcFlags) != CMP_EQUAL) return true;
    found = i;
    return false;
  });
  return found;
}

bool ListAdd(std::string& text, std::string_view item, const DelimSet& delim, uint32_t flags) {
  // item may be a view of text, which may change before it is added.
  std::string own;
  if (Overlaps(text, item)) item = own.assign(item);
  const int32_t index = ListFind(text, item, delim, flags);
  const bool found = index >= 0;
  if (found && (flags & (LA_MOVE | LA_REMOVEONLY))) {
    std::string removed;
    ListTake(text, removed, delim, index, LT_REMOVE);
  }
  if ((flags & LA_REMOVEONLY) || (found && !(flags & LA_MOVE))) return found;
  if (text.empty()) {
    text.assign(item);
  } else if (flags & LA_END) {
    text.reserve(text.size() + delim.Length + item.size());
    text.append(delim.Text()).append(item);
  } else {
    std::string piece;
    piece.reserve(item.size() + delim.Length);
    piece.append(item).append(delim.Text());
    text.insert(0, piece);
  }
  return found;
}

namespace {

// The items of one text as (start, length) pairs, split into one array sized once.
struct ItemSpans {
  TMem_Array Array;
  int32_t Count = 0;

  void Split(std::string_view text, std::string_view delim) {
    ListSplit(text.data(), Len(text), delim.data(), Len(delim), Array);
    Count = Array.Count / 2;
  }
  int32_t Start(int32_t i) const { return Array.Items<int32_t>()[2 * i]; }
  int32_t Length(int32_t i) const { return Array.Items<int32_t>()[2 * i + 1]; }
  std::string_view Item(std::string_view text, int32_t i) const {
    return text.substr(Start(i), Length(i));
  }
  void Exchange(int32_t i, int32_t j) {
    int32_t* pairs = Array.Items<int32_t>();
    std::swap(pairs[2 * i], pairs[2 * j]);
    std::swap(pairs[2 * i + 1], pairs[2 * j + 1]);
  }
};

std::string JoinItems(std::string_view source, const ItemSpans& items, std::string_view delim) {
  std::string joined;
  joined.reserve(source.size());
  for (int32_t i = 0; i < items.Count; ++i) {
    if (i > 0) joined.append(delim);
    joined.append(items.Item(source, i));
  }
  return joined;
}

}  // namespace

// The exchange sort works on the spans: exchanging two items of the text is exchanging their
// spans, and the text is written once at the end. A text re-split after a pass yields the
// same items as long as no new delimiter forms across an item's edge, which a one-byte
// delimiter cannot; longer delimiters are re-split after every pass that exchanged items,
// so that later passes see the items a split of the text in its current order gives (and
// the passes run over the items of the latest split).
void ListSort(std::string& text, const DelimSet& delim, uint32_t flags) {
  const std::string_view d = delim.Text();
  if (text.empty() || d.empty()) return;
  const uint32_t tcFlags = flags >> 16;
  const int32_t exchangeOn = (flags & LS_DESCENDING) ? CMP_LESS : CMP_GREATER;
  std::string current;          // the text in its current order, for delimiters over 1 byte
  std::string_view source = text;
  ItemSpans items;
  items.Split(source, d);
  bool changed = false;
  for (int32_t i = 0; i < items.Count; ++i) {
    if (items.Length(i) == 0) continue;  // an empty item compares as invalid: it stays put
    bool exchanged = false;
    for (int32_t j = i + 1; j < items.Count; ++j) {
      if (CompareItems(items.Item(source, i), items.Item(source, j), tcFlags) != exchangeOn)
        continue;
      items.Exchange(i, j);
      exchanged = true;
    }
    changed = changed || exchanged;
    if (exchanged && d.size() > 1) {
      current = JoinItems(source, items, d);
      source = current;
      items.Split(source, d);
    }
  }
  if (!changed) return;
  if (d.size() > 1)
    text = std::move(current);
  else
    text = JoinItems(source, items, d);
}
