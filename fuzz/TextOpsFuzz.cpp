// Fuzz target of the text operations. Every operation runs on the input's text, pattern,
// positions and flags; the checks are facts that hold for any input: results are the codes
// or real positions, searches agree with plain standard-library searches where the two
// mean the same, and every edit is the splice it claims to be.
//
// Input: mode byte, flags word, start, count and aux words, a byte; text, then the pattern.
// Mode bits 1, 2, 4 map start, count and aux into -1 .. text length so that small positions
// come up often.
#include <string>
#include <vector>

#include "FuzzInput.h"
#include "text/Strut.h"

namespace {

int32_t Near(int32_t raw, int32_t length) {
  return static_cast<int32_t>(static_cast<uint32_t>(raw) % static_cast<uint32_t>(length + 2)) - 1;
}

std::string Upper(std::string_view text) {
  std::string upper(text);
  for (char& ch : upper)
    if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 32);
  return upper;
}

int32_t Pos(size_t found) { return found == std::string::npos ? -1 : static_cast<int32_t>(found); }

bool MatchesAt(std::string_view text, int32_t p, std::string_view pattern, bool fold) {
  if (p < 0 || p + pattern.size() > text.size()) return false;
  const std::string_view at = text.substr(p, pattern.size());
  return fold ? Upper(at) == Upper(pattern) : at == pattern;
}

struct Candidates {
  std::vector<int32_t> offsets;
  const char* text = nullptr;
  int32_t count = 0;
  bool consistent = true;
};

bool RejectAll(const TStr_Match& match, const TStr_Context& context, void* data) {
  auto* c = static_cast<Candidates*>(data);
  c->offsets.push_back(match.Offset);
  c->count = context.Count;
  c->consistent = c->consistent && match.Match == context.Text + match.Offset &&
                  context.Text == c->text && match.Left >= 0 && match.Examined >= 1 &&
                  match.Left + match.Examined == context.Count && !(context.Flags & TF_WRAP);
  return false;
}

bool AcceptAll(const TStr_Match&, const TStr_Context&, void*) { return true; }

void CheckFind(const std::string& text, const std::string& pattern, int32_t start,
               int32_t count, uint32_t flags) {
  const int32_t r = TextFind(text, start, count, pattern, flags);
  if (text.empty() || pattern.empty()) {
    FUZZ_CHECK(r == TF_EMPTY);
    return;
  }
  FUZZ_CHECK(r >= TF_BADSTART && r != TF_EMPTY);
  if (r >= 0) FUZZ_CHECK(MatchesAt(text, r, pattern, flags & TF_IGNORECASE));
  FUZZ_CHECK(TextFindAccept(text, start, count, pattern, flags, AcceptAll, nullptr) == r);

  Candidates c;
  c.text = text.data();
  const int32_t none = TextFindAccept(text, start, count, pattern, flags, RejectAll, &c);
  FUZZ_CHECK(c.consistent);
  FUZZ_CHECK(none == (r >= 0 ? TF_NOTFOUND : r));
  if (r >= 0) FUZZ_CHECK(!c.offsets.empty() && c.offsets.front() == r);
  FUZZ_CHECK(c.offsets.size() <= static_cast<size_t>(c.count));
  for (size_t i = 0; i < c.offsets.size(); ++i) {
    FUZZ_CHECK(MatchesAt(text, c.offsets[i], pattern, flags & TF_IGNORECASE));
    if (i > 0) FUZZ_CHECK(c.offsets[i] != c.offsets[i - 1]);
  }

  // Plain searches over the whole text.
  const auto L = static_cast<int32_t>(text.size());
  FUZZ_CHECK(TextFind(text, 0, -1, pattern, 0) == Pos(text.find(pattern)));
  FUZZ_CHECK(TextFind(text, 0, -1, pattern, TF_IGNORECASE) ==
             Pos(Upper(text).find(Upper(pattern))));
  FUZZ_CHECK(TextFind(text, L - 1, -1, pattern, TF_BACKWARD) == Pos(text.rfind(pattern)));
  FUZZ_CHECK(TextFind(text, -1, -1, pattern, TF_WRAP) == Pos(text.rfind(pattern)));
  if (start >= 0 && start < L)
    FUZZ_CHECK(TextFind(text, start, -1, pattern, 0) == Pos(text.find(pattern, start)));
}

void CheckChars(const std::string& text, const std::string& set, int32_t start, int32_t count,
                char c, uint32_t flags) {
  const int32_t r = TextFindChar(text, start, count, c, flags);
  if (text.empty()) FUZZ_CHECK(r == TF_EMPTY);
  if (r >= 0) {
    FUZZ_CHECK(r < static_cast<int32_t>(text.size()));
    const auto b = static_cast<unsigned char>(text[r]);
    if (!(flags & TF_NEGATE))
      FUZZ_CHECK(text[r] == c);
    else
      FUZZ_CHECK(text[r] != c && (!(flags & TF_BLANKS) || b > 0x20));
  }
  if (text.empty()) return;
  FUZZ_CHECK(TextFindChar(text, 0, -1, c, 0) == Pos(text.find(c)));
  int32_t lastNonBlank = static_cast<int32_t>(text.size()) - 1;
  while (lastNonBlank >= 0 && static_cast<unsigned char>(text[lastNonBlank]) <= 0x20)
    --lastNonBlank;
  FUZZ_CHECK(TextFindChar(text, -1, -1, ' ', TF_WRAP | TF_BLANKS | TF_NEGATE) == lastNonBlank);

  const int32_t a = TextFindAny(text, start, count, set, flags);
  if (set.empty()) {
    FUZZ_CHECK(a == TF_EMPTY);
    return;
  }
  if (a >= 0) {
    const std::string member = text.substr(a, 1);
    const bool in = (flags & TF_IGNORECASE) ? Upper(set).find(Upper(member)) != std::string::npos
                                            : set.find(member) != std::string::npos;
    FUZZ_CHECK(in != bool(flags & TF_NEGATE));
  }
  FUZZ_CHECK(TextFindAny(text, 0, -1, set, 0) == Pos(text.find_first_of(set)));
  FUZZ_CHECK(TextFindAny(text, 0, -1, set, TF_FROMEND | TF_BACKWARD) ==
             Pos(text.find_last_of(set)));
}

// whole == rest with a block inserted at some position, the block passing fits(block).
template <class Fits>
bool SpliceFits(std::string_view whole, std::string_view rest, const Fits& fits) {
  if (whole.size() < rest.size()) return false;
  const size_t n = whole.size() - rest.size();
  size_t prefix = 0;
  while (prefix < rest.size() && whole[prefix] == rest[prefix]) ++prefix;
  size_t suffix = 0;
  while (suffix < rest.size() && whole[whole.size() - 1 - suffix] == rest[rest.size() - 1 - suffix])
    ++suffix;
  for (size_t low = rest.size() - suffix; low <= prefix; ++low)
    if (fits(whole.substr(low, n))) return true;
  return false;
}

bool IsSplice(std::string_view whole, std::string_view rest, std::string_view piece) {
  return whole.size() == rest.size() + piece.size() &&
         SpliceFits(whole, rest, [&](std::string_view block) { return block == piece; });
}

void CheckRanges(const std::string& text, int32_t start, int32_t count, uint32_t flags) {
  std::string copy = "x";
  const int32_t rc = TextCopy(text, start, count, flags, copy);
  std::string rest = text;
  const int32_t rd = TextDelete(rest, start, count, flags);
  FUZZ_CHECK((rc < 0) == (rd < 0));
  if (rc < 0) {
    FUZZ_CHECK(copy.empty() && rest == text);
    return;
  }
  FUZZ_CHECK(rc == rd && rc == static_cast<int32_t>(copy.size()));
  FUZZ_CHECK(IsSplice(text, rest, copy));
}

void CheckEdits(const std::string& text, const std::string& piece, int32_t start,
                int32_t count, int32_t aux, char c, uint32_t flags) {
  const auto L = static_cast<int32_t>(text.size());
  std::string t = text;
  TextInsert(t, piece, start);
  const int32_t at = (start < 0 || start > L) ? L : start;
  FUZZ_CHECK(t == text.substr(0, at) + piece + text.substr(at));

  t = text;
  TextReplace(t, piece, start, count);
  if (start < 0 || start >= L)
    FUZZ_CHECK(t == text + piece);
  else
    FUZZ_CHECK(t == text.substr(0, start) + piece +
                        (count < 0 || count > L - start ? "" : text.substr(start + count)));

  // A swap undone by the swap of the exchanged ranges.
  t = text;
  const int32_t len2 = static_cast<unsigned char>(c) % 8;
  if (TextSwap(t, start, count, aux, len2) >= 0) {
    FUZZ_CHECK(t.size() == text.size());
    int32_t s1 = start, l1 = count, s2 = aux, l2 = len2;
    if (s1 > s2) {
      std::swap(s1, s2);
      std::swap(l1, l2);
    }
    FUZZ_CHECK(TextSwap(t, s1, l2, s2 + l2 - l1, l1) >= 0);
    FUZZ_CHECK(t == text);
  } else {
    FUZZ_CHECK(t == text);
  }

  // A deleted run is one block of bytes of the class.
  t = text;
  TextDeleteRun(t, start, c, flags);
  const bool blanks = flags & TF_BLANKS;
  FUZZ_CHECK(SpliceFits(text, t, [&](std::string_view block) {
    for (const char b : block)
      if (b != c && !(blanks && static_cast<unsigned char>(b) <= 0x20)) return false;
    return true;
  }));
  // Stripping the trailing run.
  t = text;
  TextDeleteRun(t, -1, c, TF_WRAP | TF_BLANKS);
  std::string stripped = text;
  while (!stripped.empty() && (stripped.back() == c ||
                               static_cast<unsigned char>(stripped.back()) <= 0x20))
    stripped.pop_back();
  FUZZ_CHECK(t == stripped);

  t = text;
  TextDeleteThrough(t, start, c, flags);
  if (start < 0 || start >= L) {
    FUZZ_CHECK(t == text);
  } else {
    const size_t end = text.find(c, start);
    FUZZ_CHECK(t == text.substr(0, start) + (end == std::string::npos ? "" : text.substr(end + 1)));
  }

  t = text;
  TextUnescape(t, start, count, c, flags);
  FUZZ_CHECK(t.size() <= text.size());
  if (text.find(c) == std::string::npos) FUZZ_CHECK(t == text);
}

void CheckCompare(const std::string& a, const std::string& b, int32_t start, uint32_t flags) {
  const uint32_t f = flags & 0xF;
  TMem_Compare ab, ba;
  TextCompare(a, b, start, f, ab);
  if (ab.Outcome == CMP_LESS || ab.Outcome == CMP_GREATER) {
    FUZZ_CHECK(ab.Offset1 >= start && ab.Offset1 <= static_cast<int32_t>(a.size()));
    FUZZ_CHECK(ab.Offset2 >= 0 && ab.Offset2 <= static_cast<int32_t>(b.size()));
  }
  TextCompare(a, b, 0, f & TC_EXACT, ab);
  TextCompare(b, a, 0, f & TC_EXACT, ba);
  FUZZ_CHECK((ab.Outcome == CMP_INVALID) == (a.empty() || b.empty()));
  FUZZ_CHECK((ab.Outcome == CMP_EQUAL) == (ba.Outcome == CMP_EQUAL));
  FUZZ_CHECK((ab.Outcome == CMP_LESS) == (ba.Outcome == CMP_GREATER));
  FUZZ_CHECK((ab.Outcome == CMP_EQUAL) ==
             (!a.empty() && ((f & TC_EXACT) ? a == b : Upper(a) == Upper(b))));
  FUZZ_CHECK(TextSame(a, a, f & ~TC_TRIM));
}

// A name table of the pattern's pieces between ';' (value: the piece's index).
void CheckNameLookup(const std::string& text, const std::string& names) {
  std::vector<std::string> pieces;
  std::string table;
  size_t from = 0;
  while (from <= names.size() && pieces.size() < 64) {
    const size_t end = std::min(names.find(';', from), names.size());
    std::string piece = names.substr(from, std::min<size_t>(end - from, 255));
    from = end + 1;
    if (piece.empty()) continue;
    const auto index = static_cast<uint32_t>(pieces.size());
    table.push_back(static_cast<char>(piece.size()));
    table += piece;
    for (int i = 0; i < 4; ++i) table.push_back(static_cast<char>(index >> (8 * i)));
    pieces.push_back(piece);
  }
  table.push_back('\0');
  const std::string& query = pieces.empty() || text.size() % 2 ? text : pieces.back();
  uint32_t expected = 0xFFFFFFFF;
  for (size_t i = 0; i < pieces.size() && !query.empty(); ++i)
    if (Upper(pieces[i]) == Upper(query)) {
      expected = static_cast<uint32_t>(i);
      break;
    }
  FUZZ_CHECK(NameLookup(query, table.data(), 0xFFFFFFFF) == expected);
}

void CheckConversions(const std::string& piece, int32_t count, uint32_t flags) {
  std::string t;
  TextFromChars(flags, t);
  FUZZ_CHECK(t.size() <= 4 && t.find('\0') == std::string::npos);
  for (size_t i = 0; i < t.size(); ++i)
    FUZZ_CHECK(static_cast<unsigned char>(t[i]) == ((flags >> (8 * i)) & 0xFF));
  const int32_t n = count < static_cast<int32_t>(piece.size()) ? count : static_cast<int32_t>(piece.size());
  TextFromBuffer(piece.data(), n, t);
  FUZZ_CHECK(t == (n > 0 ? piece.substr(0, n) : ""));
  t = piece;
  const int32_t length = count % 4096;
  TextSetLength(t, length);
  FUZZ_CHECK(t.size() == static_cast<size_t>(length > 0 ? length : 0));
  FUZZ_CHECK(t.substr(0, piece.size()) == piece.substr(0, t.size()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput in(data, size);
  const uint8_t mode = in.Byte();
  const uint32_t flags = in.Word();
  int32_t start = in.Int();
  int32_t count = in.Int();
  int32_t aux = in.Int();
  const char c = static_cast<char>(in.Byte());
  const std::string text(in.Field());
  const std::string pattern(in.Rest());
  const auto L = static_cast<int32_t>(text.size());
  if (mode & 1) start = Near(start, L);
  if (mode & 2) count = Near(count, L);
  if (mode & 4) aux = Near(aux, L);

  CheckFind(text, pattern, start, count, flags);
  CheckChars(text, pattern, start, count, c, flags);
  CheckRanges(text, start, count, flags);
  CheckEdits(text, pattern, start, count, aux, c, flags);
  CheckCompare(text, pattern, start, flags);
  CheckNameLookup(text, pattern);
  CheckConversions(pattern, count, flags);
  return 0;
}
