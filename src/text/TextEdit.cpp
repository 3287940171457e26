// Text operations: range editing, escape sequences and the small conversions.
#include <algorithm>
#include <cstring>

#include "text/Strut.h"
#include "text/TextScan.h"

using namespace strut_scan;

int32_t TextCopy(std::string_view source, int32_t start, int32_t count, uint32_t flags,
                 std::string& dest) {
  const Positions where = Normalise(Len(source), start, count, flags);
  // Built apart first: source may be a view of dest.
  std::string range;
  if (where.Code == 0) range.assign(source.substr(where.Low(), where.Count));
  dest = std::move(range);
  return where.Code != 0 ? where.Code : where.Count;
}

int32_t TextDelete(std::string& text, int32_t start, int32_t count, uint32_t flags) {
  const Positions where = Normalise(Len(text), start, count, flags);
  if (where.Code != 0) return where.Code;
  text.erase(where.Low(), where.Count);
  return where.Count;
}

int32_t TextInsert(std::string& text, std::string_view inserted, int32_t position) {
  if (inserted.empty()) return TF_EMPTY;
  const int32_t length = Len(text);
  if (position < 0 || position > length) position = length;
  if (Overlaps(text, inserted))
    text.insert(position, std::string(inserted));
  else
    text.insert(position, inserted);
  return Len(inserted);
}

int32_t TextReplace(std::string& text, std::string_view replacement, int32_t position,
                    int32_t length) {
  const int32_t size = Len(text);
  int32_t removed = 0;
  if (position < 0 || position >= size)
    position = size;
  else
    removed = (length < 0 || length > size - position) ? size - position : length;
  if (Overlaps(text, replacement))
    text.replace(position, removed, std::string(replacement));
  else
    text.replace(position, removed, replacement);
  return Len(replacement);
}

int32_t TextSwap(std::string& text, int32_t start1, int32_t length1, int32_t start2,
                 int32_t length2) {
  if (start1 > start2) {
    std::swap(start1, start2);
    std::swap(length1, length2);
  }
  const int64_t end1 = int64_t{start1} + length1;
  const int64_t end2 = int64_t{start2} + length2;
  if (start1 < 0 || length1 < 0 || length2 < 0 || end1 > start2 || end2 > Len(text))
    return TF_BADSTART;
  // A M B becomes B M A: bring B to the front, then move A behind M.
  const auto first = text.begin() + start1;
  std::rotate(first, text.begin() + start2, text.begin() + end2);
  std::rotate(first + length2, first + length2 + length1, text.begin() + end2);
  return length1 + length2;
}

int32_t TextDeleteRun(std::string& text, int32_t start, char c, uint32_t flags) {
  const Positions where = Normalise(Len(text), start, -1, flags);
  if (where.Code != 0) return where.Code;
  const auto ch = static_cast<unsigned char>(c);
  const bool blanks = flags & TF_BLANKS;
  auto inRun = [&](int32_t p) {
    const unsigned char b = Byte(text, p);
    return b == ch || (blanks && IsBlank(b));
  };
  int32_t run = 0;
  if (where.Backward) {
    while (run < where.Count && inRun(where.Start - run)) ++run;
    text.erase(where.Start - run + 1, run);
  } else {
    while (run < where.Count && inRun(where.Start + run)) ++run;
    text.erase(where.Start, run);
  }
  return run;
}

int32_t TextDeleteThrough(std::string& text, int32_t position, char c, uint32_t) {
  const int32_t length = Len(text);
  if (length == 0) return TF_EMPTY;
  if (position < 0 || position >= length) return TF_BADSTART;
  const void* hit = std::memchr(text.data() + position, static_cast<unsigned char>(c),
                                length - position);
  const int32_t end =
      hit ? static_cast<int32_t>(static_cast<const char*>(hit) - text.data()) + 1 : length;
  text.erase(position, end - position);
  return end - position;
}

namespace {

// The byte that escape + letter stands for, or -1 when the letter is none of these.
int32_t SimpleEscape(unsigned char letter) {
  static constexpr struct {
    unsigned char Letter;
    unsigned char Value;
  } kTable[] = {{'a', 0x07}, {'b', 0x08}, {'f', 0x0C}, {'n', 0x0A},
                {'r', 0x0D}, {'t', 0x09}, {'v', 0x0B}};
  for (const auto& e : kTable)
    if (e.Letter == letter) return e.Value;
  return -1;
}

int32_t DigitValue(unsigned char c, int32_t base) {
  int32_t d = -1;
  if (c >= '0' && c <= '9') d = c - '0';
  if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
  if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
  return d < base ? d : -1;
}

// Reads the digits of a numeric escape from r (below end) into one byte; value is -1 when
// there is no digit. Digits are taken while the value so far is at most limit.
int32_t ReadNumber(const std::string& text, int32_t& r, int32_t end, int32_t base,
                   uint32_t limit) {
  uint32_t value = 0;
  bool any = false;
  while (r < end && value <= limit) {
    const int32_t d = DigitValue(static_cast<unsigned char>(text[r]), base);
    if (d < 0) break;
    value = value * static_cast<uint32_t>(base) + static_cast<uint32_t>(d);
    any = true;
    ++r;
  }
  return any ? static_cast<int32_t>(value & 0xFF) : -1;
}

}  // namespace

int32_t TextUnescape(std::string& text, int32_t start, int32_t count, char escape,
                     uint32_t flags) {
  const Positions where = Normalise(Len(text), start, count, flags);
  if (where.Code != 0) return where.Code;
  const auto esc = static_cast<unsigned char>(escape);
  const bool crlf = flags & TF_CRLF;
  const int32_t end = where.Low() + where.Count;
  // Every sequence is at least as long as what it stands for, so the result is written over
  // the range as it is read (w never passes r) and the rest is cut once at the end.
  int32_t r = where.Low();
  int32_t w = r;
  auto put = [&](unsigned char b) { text[w++] = static_cast<char>(b); };
  while (r < end) {
    const auto c = static_cast<unsigned char>(text[r]);
    if (c != esc || r + 1 >= end) {
      put(c);
      ++r;
      continue;
    }
    const auto letter = static_cast<unsigned char>(text[r + 1]);
    if (const int32_t simple = SimpleEscape(letter); simple >= 0) {
      r += 2;
      if (crlf && (letter == 'n' || letter == 'r')) {
        put('\r');
        put('\n');
      } else {
        put(static_cast<unsigned char>(simple));
      }
    } else if (letter == esc || letter == '\'' || letter == '"' || letter == '?') {
      r += 2;
      put(letter);
    } else if (letter == 'x' || letter == 'X' || letter == '#') {
      r += 2;
      const int32_t value = letter == '#' ? ReadNumber(text, r, end, 10, 214748364)
                                          : ReadNumber(text, r, end, 16, 0x0FFFFFFF);
      if (value >= 0) put(static_cast<unsigned char>(value));
    } else {
      put(c);
      put(letter);
      r += 2;
    }
  }
  text.erase(w, end - w);
  return w - where.Low();
}

void TextSetLength(std::string& text, int32_t length) {
  if (length <= 0)
    text.clear();
  else
    text.resize(static_cast<size_t>(length));
}

void TextFromBuffer(const void* p, int32_t count, std::string& text) {
  if (!p || count <= 0)
    text.clear();
  else
    text.assign(static_cast<const char*>(p), static_cast<size_t>(count));
}

void TextFromPChar(const char* p, std::string& text) {
  if (!p)
    text.clear();
  else
    text.assign(p);
}

void TextFromChars(uint32_t code, std::string& text) {
  text.clear();
  for (; code & 0xFF; code >>= 8) text.push_back(static_cast<char>(code & 0xFF));
}
