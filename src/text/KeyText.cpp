// Keyed text: locating sections and keys, reading a value the descriptor's way, and editing
// the text in place.
//
// Nothing is parsed into a structure: every call scans the text from the beginning and works
// on positions in it. Each scan looks at each byte a bounded number of times, and a value is
// read in one pass into one new text, so the cost of a call is linear in the text.
#include <cstring>

#include "text/Strut.h"
#include "text/TextScan.h"

using namespace strut_scan;

namespace {

// The line end of a descriptor: its first byte and, when the code's high byte is not 0, its
// second.
struct LineEnd {
  char Chars[2];
  int32_t Size;

  explicit LineEnd(uint16_t code)
      : Chars{static_cast<char>(code & 0xFF), static_cast<char>(code >> 8)},
        Size((code >> 8) != 0 ? 2 : 1) {}

  std::string_view Text() const { return {Chars, static_cast<size_t>(Size)}; }
  unsigned char First() const { return static_cast<unsigned char>(Chars[0]); }

  // A line end begins at p.
  bool At(std::string_view text, int32_t p) const {
    return p >= 0 && p <= Len(text) - Size && text[p] == Chars[0] &&
           (Size == 1 || text[p + 1] == Chars[1]);
  }
  // The first line end at or after from, or -1.
  int32_t Next(std::string_view text, int32_t from) const {
    const int32_t length = Len(text);
    while (from >= 0 && from < length) {
      const void* hit = std::memchr(text.data() + from, First(), length - from);
      if (!hit) return -1;
      const auto p = static_cast<int32_t>(static_cast<const char*>(hit) - text.data());
      if (At(text, p)) return p;
      from = p + 1;
    }
    return -1;
  }
  // The last line end that begins before pos, or -1.
  int32_t LastBefore(std::string_view text, int32_t pos) const {
    for (int32_t p = std::min(pos - 1, Len(text) - Size); p >= 0; --p)
      if (At(text, p)) return p;
    return -1;
  }
  // p is position 0 or just behind a line end.
  bool LineStart(std::string_view text, int32_t p) const { return p == 0 || At(text, p - Size); }
  // Every byte between the start of p's line and p is blank and none of them is the line
  // end's first byte.
  bool FirstNonBlank(std::string_view text, int32_t p) const {
    for (; !LineStart(text, p); --p) {
      const unsigned char c = Byte(text, p - 1);
      if (!IsBlank(c) || c == First()) return false;
    }
    return true;
  }
};

// TextFindAccept callback: the match is the first non-blank of its line.
bool AcceptLineHead(const TStr_Match& match, const TStr_Context& context, void* data) {
  const std::string_view text(context.Text, static_cast<size_t>(context.Length));
  return static_cast<const LineEnd*>(data)->FirstNonBlank(text, match.Offset);
}

// The position of the last non-blank byte before end, or -1 when there is none.
int32_t LastNonBlankBefore(std::string_view text, int32_t end) {
  for (int32_t p = std::min(end, Len(text)) - 1; p >= 0; --p)
    if (!IsBlank(Byte(text, p))) return p;
  return -1;
}

std::string HeaderText(const KeySyntax& syntax, std::string_view section) {
  std::string header;
  header.reserve(section.size() + 2);
  header.push_back(syntax.Opener);
  header.append(section);
  header.push_back(syntax.Closer);
  return header;
}

int32_t FindHeaderLine(std::string_view text, int32_t start, const LineEnd& le, char opener) {
  return TextFindAccept(text, start, -1, std::string_view(&opener, 1), 0, AcceptLineHead,
                        const_cast<LineEnd*>(&le));
}

void LocateSection(std::string_view text, std::string_view section, const KeySyntax& syntax,
                   KeySpan& span) {
  const LineEnd le(syntax.LineEnd);
  const int32_t length = Len(text);
  const int32_t h = TextFind(text, 0, -1, HeaderText(syntax, section), TF_IGNORECASE);
  if (h < 0) {
    const int32_t last = LastNonBlankBefore(text, length);
    span.InsertPos = last + 1;  // 0 when the text has no non-blank byte
    span.BodyStart = span.SectionStart = -1;
    return;
  }
  const int32_t before = le.LastBefore(text, h);
  span.SectionStart = before >= 0 ? before : 0;
  const int32_t headerEnd = le.Next(text, h);
  span.BodyStart = headerEnd >= 0 ? headerEnd + le.Size : length;
  int32_t end = length;
  if (const int32_t next = FindHeaderLine(text, span.BodyStart, le, syntax.Opener); next >= 0) {
    const int32_t lineEnd = le.LastBefore(text, next);
    end = lineEnd >= 0 ? lineEnd : next;
  }
  // New key lines go behind the section's last non-blank line, before trailing blank lines.
  const int32_t last = LastNonBlankBefore(text, end);
  const int32_t insert = le.Next(text, last >= 0 ? last : 0);
  span.InsertPos = insert >= 0 ? insert : length;
  span.BodyLength = std::max(0, end - span.BodyStart);
  span.SectionLength = end - span.SectionStart;
}

// The end of the value that starts at valueStart.
int32_t ValueEnd(std::string_view text, int32_t valueStart, const KeySyntax& syntax,
                 const LineEnd& le) {
  const int32_t length = Len(text);
  int32_t end = le.Next(text, valueStart);
  if (end < 0) return length;
  if (!(syntax.Flags & KS_MULTILINE)) return end;
  const auto mark = static_cast<unsigned char>(syntax.Mark);
  for (;;) {
    // The next line continues the value when its first non-blank byte is the Mark; an empty
    // line (a second line end) stops the look.
    int32_t q = end + le.Size;
    while (q < length && IsBlank(Byte(text, q)) && Byte(text, q) != le.First()) ++q;
    if (q >= length || Byte(text, q) != mark) return end;
    end = le.Next(text, q);
    if (end < 0) return length;
  }
}

void LocateKey(std::string_view text, std::string_view key, const KeySyntax& syntax,
               KeySpan& span) {
  if (span.SectionStart < 0) {  // a missing section has no valid start: nothing is found
    span.KeyLineStart = span.ValueStart;
    return;
  }
  const LineEnd le(syntax.LineEnd);
  std::string pattern;
  pattern.reserve(key.size() + 1);
  pattern.append(key).push_back(syntax.Separator);
  const int32_t k = TextFindAccept(text, span.SectionStart, span.SectionLength, pattern,
                                   TF_IGNORECASE, AcceptLineHead, const_cast<LineEnd*>(&le));
  if (k < 0) {
    span.KeyLineStart = span.ValueStart;
    return;
  }
  span.ValueStart = k + Len(pattern);
  const int32_t before = le.LastBefore(text, span.ValueStart);
  span.KeyLineStart = before >= 0 ? before : 0;
  const int32_t end = ValueEnd(text, span.ValueStart, syntax, le);
  span.ValueLength = end - span.ValueStart;
  span.KeyLineLength = end - span.KeyLineStart;
}

// Reads a multi-line value in one pass: the same result as deleting, behind each line end
// (KS_KEEPBREAKS) or from each line end on, everything through the next Mark and putting the
// join text in its place. The scan goes on behind the join text, never inside it.
void JoinValue(std::string_view value, const KeySyntax& syntax, std::string& out) {
  const LineEnd le(syntax.LineEnd);
  std::string join;
  TextFromChars(syntax.JoinCode, join);
  const bool keepBreaks = syntax.Flags & KS_KEEPBREAKS;
  out.reserve(value.size());
  int32_t r = 0;
  for (;;) {
    const int32_t lineEnd = le.Next(value, r);
    if (lineEnd < 0) break;
    const int32_t cut = keepBreaks ? lineEnd + le.Size : lineEnd;
    out.append(value.substr(r, cut - r));
    const size_t mark = value.find(syntax.Mark, cut);
    r = mark == std::string_view::npos ? Len(value) : static_cast<int32_t>(mark) + 1;
    out.append(join);
  }
  out.append(value.substr(r));
}

}  // namespace

const KeySyntax& KeyTextLocate(std::string_view text, std::string_view section,
                               std::string_view key, KeySpan& span, const KeySyntax* syntax) {
  const KeySyntax& s = syntax ? *syntax : SyntaxDefault;
  span = KeySpan{};
  if (!section.empty()) {
    LocateSection(text, section, s, span);
  } else {
    span.BodyStart = span.SectionStart = 0;
    span.BodyLength = span.SectionLength = span.InsertPos = Len(text);
  }
  if (!key.empty()) LocateKey(text, key, s, span);
  return s;
}

int32_t FindNextHeader(std::string_view text, int32_t start, const KeySyntax* syntax) {
  const KeySyntax& s = syntax ? *syntax : SyntaxDefault;
  return FindHeaderLine(text, start, LineEnd(s.LineEnd), s.Opener);
}

void InsertLine(std::string& text, std::string_view piece, int32_t position, uint16_t lineEnd) {
  std::string own;
  if (Overlaps(text, piece)) piece = own.assign(piece);
  if (text.empty()) {
    text.assign(piece);
    return;
  }
  const LineEnd le(lineEnd);
  const int32_t length = Len(text);
  bool front = false;
  bool behind = false;
  if (position < 0 || position >= length) {
    position = length;
    front = !le.At(text, length - le.Size);
  } else {
    front = position > 0 && !le.LineStart(text, position);
    behind = !le.At(text, position);
  }
  std::string line;
  line.reserve(piece.size() + 2 * le.Size);
  if (front) line.append(le.Text());
  line.append(piece);
  if (behind) line.append(le.Text());
  text.insert(position, line);
}

void KeyTextGet(std::string_view text, std::string_view section, std::string_view key,
                const KeySyntax* syntax, std::string& value) {
  KeySpan span;
  const KeySyntax& s = KeyTextLocate(text, section, key, span, syntax);
  // Built apart first: text may be a view of value.
  std::string out;
  if (key.empty()) {
    if (span.BodyStart >= 0) out.assign(text.substr(span.BodyStart, span.BodyLength));
  } else if (span.ValueStart >= 0) {
    std::string_view raw = text.substr(span.ValueStart, span.ValueLength);
    if (!(s.Flags & KS_MULTILINE)) {
      out.assign(raw);
    } else {
      if (s.Flags & KS_STRIPLEAD) {
        size_t lead = 0;
        while (lead < raw.size() && (IsBlank(static_cast<unsigned char>(raw[lead])) ||
                                     raw[lead] == s.Mark))
          ++lead;
        raw.remove_prefix(lead);
      }
      std::string join;
      TextFromChars(s.JoinCode, join);
      if ((s.Flags & KS_KEEPBREAKS) && join.size() == 1 && join[0] == s.Mark)
        out.assign(raw);  // the raw reading
      else
        JoinValue(raw, s, out);
    }
  }
  value = std::move(out);
}

void KeyTextSet(std::string& text, std::string_view section, std::string_view key,
                std::string_view value, const KeySyntax* syntax) {
  // The arguments may be views of text, which changes below.
  std::string ownSection, ownKey, ownValue;
  if (Overlaps(text, section)) section = ownSection.assign(section);
  if (Overlaps(text, key)) key = ownKey.assign(key);
  if (Overlaps(text, value)) value = ownValue.assign(value);

  if (section.empty() && key.empty()) {
    // The whole text is the one body, and a body without a section has no header to keep.
    text.assign(value);
    return;
  }
  KeySpan span;
  const KeySyntax& s = KeyTextLocate(text, section, key, span, syntax);
  const bool sectionMissing = !section.empty() && span.SectionStart < 0;
  const bool blankLine = s.Flags & KS_BLANKLINE;
  const std::string header = section.empty() ? std::string() : HeaderText(s, section);

  if (!key.empty()) {
    int32_t at = span.InsertPos;
    if (span.ValueStart >= 0) {
      at = span.KeyLineStart;
      text.erase(at, span.KeyLineLength);  // the line end behind the value stays
    }
    if (value.empty()) return;  // deleted (or nothing to delete: the text stays as it was)
    std::string line;
    line.reserve(key.size() + 1 + value.size());
    line.append(key).append(1, s.Separator).append(value);
    InsertLine(text, line, at, s.LineEnd);
    if (sectionMissing) {
      InsertLine(text, header, at, s.LineEnd);
      if (blankLine) InsertLine(text, {}, at, s.LineEnd);
    }
    return;
  }

  if (!sectionMissing) text.erase(span.SectionStart, span.SectionLength);
  if (value.empty()) return;
  const int32_t at = sectionMissing ? span.InsertPos : span.SectionStart;
  if (at != span.InsertPos && blankLine) text.insert(at, LineEnd(s.LineEnd).Text());
  InsertLine(text, value, at, s.LineEnd);
  InsertLine(text, header, at, s.LineEnd);
  if (blankLine) InsertLine(text, {}, at, s.LineEnd);
}
