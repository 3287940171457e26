// Text operations: position normalisation and the four finding operations.
#include <algorithm>
#include <cstring>

#include "text/Strut.h"
#include "text/TextScan.h"

using namespace strut_scan;

Positions strut_scan::Normalise(int32_t length, int32_t start, int32_t count, uint32_t flags) {
  Positions n;
  if (length <= 0) {
    n.Code = TF_EMPTY;
    return n;
  }
  if (start < 0 || start >= length) {
    const bool backward = flags & TF_BACKWARD;
    const bool fromEnd = flags & TF_FROMEND;
    if (backward != fromEnd) {
      start = length - 1;
    } else if (flags & TF_WRAP) {
      flags ^= TF_BACKWARD;
      start = length - 1;
    } else {
      n.Code = TF_BADSTART;
      return n;
    }
  }
  if (flags & TF_FROMEND) start = length - 1 - start;
  n.Backward = flags & TF_BACKWARD;
  const int32_t available = n.Backward ? start + 1 : length - start;
  n.Start = start;
  n.Count = (count < 0 || count > available) ? available : count;
  n.Flags = flags & ~TF_WRAP;
  return n;
}

namespace {

// The pattern matches text at p (p + pattern length <= text length, checked by the caller).
bool MatchesAt(std::string_view text, int32_t p, std::string_view pattern, bool fold) {
  const int32_t m = Len(pattern);
  if (!fold) return std::memcmp(text.data() + p, pattern.data(), m) == 0;
  for (int32_t i = 0; i < m; ++i)
    if (FoldUpper(Byte(text, p + i)) != FoldUpper(Byte(pattern, i))) return false;
  return true;
}

// One search: the text, the chosen positions and what to do with a match.
struct Search {
  std::string_view Text;
  std::string_view Pattern;
  Positions Where;
  TextAcceptCallback Accept;  // null: the first match is taken
  void* Data;
  int32_t Found = TF_NOTFOUND;

  // Offers the match at p; true when the search ends there.
  bool Take(int32_t p) {
    if (Accept) {
      const int32_t examined = Where.Backward ? Where.Start - p + 1 : p - Where.Start + 1;
      const TStr_Match match{Text.data() + p, p, Where.Count - examined, examined};
      const TStr_Context context{Text.data(), Text.data() + Where.Start, Len(Text),
                                 Where.Start, Where.Count, Where.Flags};
      if (!Accept(match, context, Data)) return false;
    }
    Found = p;
    return true;
  }
};

bool ForwardMatch(void* data, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t offset) {
  return !static_cast<Search*>(data)->Take(offset);  // true: go on searching
}

// Forward searches go through the byte-range search of the Memory unit: matches must lie
// wholly inside its region, so the region reaches one pattern length past the last start.
void SearchForward(Search& s) {
  const int32_t length = Len(s.Text);
  const int32_t m = Len(s.Pattern);
  const int64_t lastStart =
      std::min<int64_t>(int64_t{s.Where.Start} + s.Where.Count - 1, int64_t{length} - m);
  if (lastStart < s.Where.Start) return;
  const auto region = static_cast<int32_t>(lastStart + m - s.Where.Start);
  const uint32_t flags = (s.Where.Flags & TF_IGNORECASE) ? 0 : MS_EXACT;
  MemSearch(s.Text.data(), length, s.Pattern.data(), m, s.Where.Start, region, flags,
            ForwardMatch, &s);
}

void SearchBackward(Search& s) {
  const int32_t length = Len(s.Text);
  const int32_t m = Len(s.Pattern);
  const bool fold = s.Where.Flags & TF_IGNORECASE;
  const int32_t low = s.Where.Low();
  const unsigned char first = fold ? FoldUpper(Byte(s.Pattern, 0)) : Byte(s.Pattern, 0);
  for (int32_t p = std::min(s.Where.Start, length - m); p >= low; --p) {
    const unsigned char c = Byte(s.Text, p);
    if ((fold ? FoldUpper(c) : c) != first) continue;
    if (MatchesAt(s.Text, p, s.Pattern, fold) && s.Take(p)) return;
  }
}

int32_t FindPattern(std::string_view text, int32_t start, int32_t count,
                    std::string_view pattern, uint32_t flags, TextAcceptCallback accept,
                    void* data) {
  if (text.empty() || pattern.empty()) return TF_EMPTY;
  Search s{text, pattern, Normalise(Len(text), start, count, flags), accept, data};
  if (s.Where.Code != 0) return s.Where.Code;
  if (s.Where.Count == 0 || Len(pattern) > Len(text)) return TF_NOTFOUND;
  if (s.Where.Backward)
    SearchBackward(s);
  else
    SearchForward(s);
  return s.Found;
}

// The test of TextFindChar at one byte.
struct CharTest {
  unsigned char C;
  bool Negate;
  bool SkipBlanks;

  bool Passes(unsigned char b) const {
    if (!Negate) return b == C;
    return b != C && !(SkipBlanks && IsBlank(b));
  }
};

// The first of the chosen positions whose byte passes test(byte), or TF_NOTFOUND.
template <class Test>
int32_t FirstPassing(std::string_view text, const Positions& where, const Test& test) {
  if (where.Backward) {
    for (int32_t p = where.Start; p >= where.Low(); --p)
      if (test(Byte(text, p))) return p;
  } else {
    for (int32_t p = where.Start; p < where.Start + where.Count; ++p)
      if (test(Byte(text, p))) return p;
  }
  return TF_NOTFOUND;
}

}  // namespace

int32_t TextFind(std::string_view text, int32_t start, int32_t count, std::string_view pattern,
                 uint32_t flags) {
  return FindPattern(text, start, count, pattern, flags, nullptr, nullptr);
}

int32_t TextFindAccept(std::string_view text, int32_t start, int32_t count,
                       std::string_view pattern, uint32_t flags, TextAcceptCallback accept,
                       void* data) {
  if (!accept) return TextFind(text, start, count, pattern, flags);
  return FindPattern(text, start, count, pattern, flags, accept, data);
}

int32_t TextFindChar(std::string_view text, int32_t start, int32_t count, char c,
                     uint32_t flags) {
  if (text.empty()) return TF_EMPTY;
  const Positions where = Normalise(Len(text), start, count, flags);
  if (where.Code != 0) return where.Code;
  const CharTest test{static_cast<unsigned char>(c), (flags & TF_NEGATE) != 0,
                      (flags & TF_BLANKS) != 0};
  if (!test.Negate && !where.Backward) {
    // The plain forward case is a byte scan.
    const void* hit = std::memchr(text.data() + where.Start, test.C, where.Count);
    return hit ? static_cast<int32_t>(static_cast<const char*>(hit) - text.data())
               : TF_NOTFOUND;
  }
  return FirstPassing(text, where, [&](unsigned char b) { return test.Passes(b); });
}

int32_t TextFindAny(std::string_view text, int32_t start, int32_t count, std::string_view set,
                    uint32_t flags) {
  if (text.empty() || set.empty()) return TF_EMPTY;
  const Positions where = Normalise(Len(text), start, count, flags);
  if (where.Code != 0) return where.Code;
  bool member[256] = {};
  for (const char ch : set) {
    const auto c = static_cast<unsigned char>(ch);
    member[c] = true;
    if (flags & TF_IGNORECASE) {
      member[FoldUpper(c)] = true;
      if (c >= 'A' && c <= 'Z') member[c + 32] = true;
    }
  }
  const bool negate = flags & TF_NEGATE;
  return FirstPassing(text, where, [&](unsigned char b) { return member[b] != negate; });
}
