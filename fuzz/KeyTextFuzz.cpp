// Fuzz target of the keyed text. The checks hold for any input and any descriptor: located
// spans lie inside the text, raw readings are the located bytes, KeyTextSet changes nothing
// outside the part it edits, InsertLine only adds line ends around its piece; and with the
// program's descriptors a key set to a value reads back as that value (as the descriptor
// reads it) when the names and the value hold no line-end byte.
//
// Input: descriptor selector, a descriptor's 12 bytes (used when the selector picks "own"),
// a position word; then the text, section, key and value, separated by zero bytes.
#include <string>

#include "FuzzInput.h"
#include "text/Strut.h"

namespace {

KeySyntax OwnSyntax(FuzzInput& in) {
  KeySyntax s{};
  s.Opener = static_cast<char>(in.Byte());
  s.Closer = static_cast<char>(in.Byte());
  s.Separator = static_cast<char>(in.Byte());
  s.Mark = static_cast<char>(in.Byte());
  s.JoinCode = static_cast<uint16_t>(in.Byte() | in.Byte() << 8);
  s.LineEnd = static_cast<uint16_t>(in.Byte() | in.Byte() << 8);
  s.Flags = in.Word();
  return s;
}

const KeySyntax* const kProgram[] = {&SyntaxCmd, &SyntaxRaw, &SyntaxList, &SyntaxItem,
                                     &SyntaxDefault};

std::string LineEndText(uint16_t code) {
  std::string le(1, static_cast<char>(code & 0xFF));
  if (code >> 8) le.push_back(static_cast<char>(code >> 8));
  return le;
}

void CheckSpan(const std::string& text, const KeySpan& s) {
  const auto L = static_cast<int32_t>(text.size());
  FUZZ_CHECK(s.InsertPos >= 0 && s.InsertPos <= L);
  if (s.ValueStart >= 0) {
    FUZZ_CHECK(s.ValueLength >= 0 && s.ValueStart + s.ValueLength <= L);
    FUZZ_CHECK(s.KeyLineStart >= 0 && s.KeyLineStart <= s.ValueStart);
    FUZZ_CHECK(s.KeyLineStart + s.KeyLineLength == s.ValueStart + s.ValueLength);
  }
  if (s.SectionStart >= 0) {
    FUZZ_CHECK(s.BodyStart >= s.SectionStart && s.BodyLength >= 0 &&
               s.BodyStart + s.BodyLength <= L);
    FUZZ_CHECK(s.SectionLength >= 0 && s.SectionStart + s.SectionLength <= L);
  } else {
    FUZZ_CHECK(s.BodyStart == -1 && s.SectionLength == 0 && s.BodyLength == 0);
  }
}

void CheckGet(const std::string& text, std::string_view section, std::string_view key,
              const KeySyntax* syntax) {
  KeySpan span;
  const KeySyntax& used = KeyTextLocate(text, section, key, span, syntax);
  FUZZ_CHECK(&used == (syntax ? syntax : &SyntaxDefault));
  CheckSpan(text, span);
  std::string value;
  KeyTextGet(text, section, key, syntax, value);
  if (key.empty()) {
    FUZZ_CHECK(value == (span.BodyStart < 0 ? "" : text.substr(span.BodyStart, span.BodyLength)));
  } else if (span.ValueStart < 0) {
    FUZZ_CHECK(value.empty());
  } else if (!(used.Flags & KS_MULTILINE)) {
    FUZZ_CHECK(value == text.substr(span.ValueStart, span.ValueLength));
  }
}

// Sets the key and checks that only the located part of the text changed.
std::string CheckSet(const std::string& text, std::string_view section, std::string_view key,
                     std::string_view value, const KeySyntax* syntax) {
  KeySpan span;
  KeyTextLocate(text, section, key, span, syntax);
  const auto L = static_cast<int32_t>(text.size());
  int32_t from = 0, to = L;  // the part the edit may change
  if (!key.empty()) {
    from = to = span.InsertPos;
    if (span.ValueStart >= 0) {
      from = span.KeyLineStart;
      to = span.KeyLineStart + span.KeyLineLength;
    }
  } else if (!section.empty()) {
    from = to = span.InsertPos;
    if (span.SectionStart >= 0) {
      from = span.SectionStart;
      to = span.SectionStart + span.SectionLength;
    }
  }
  std::string t = text;
  KeyTextSet(t, section, key, value, syntax);
  FUZZ_CHECK(t.size() >= static_cast<size_t>(from + (L - to)));
  FUZZ_CHECK(t.compare(0, from, text, 0, from) == 0);
  FUZZ_CHECK(t.compare(t.size() - (L - to), L - to, text, to, L - to) == 0);
  if (!key.empty() && value.empty() && span.ValueStart < 0) FUZZ_CHECK(t == text);
  return t;
}

bool HoldsAny(std::string_view text, std::string_view bytes) {
  return text.find_first_of(bytes) != std::string_view::npos;
}

// With a program descriptor, a key set to a value reads back as the descriptor reads it.
void CheckReadBack(const std::string& text, std::string_view section, std::string_view key,
                   std::string_view value, const KeySyntax& syntax) {
  const std::string le = LineEndText(syntax.LineEnd);
  if (key.empty() || value.empty() || HoldsAny(key, le) || HoldsAny(value, le) ||
      HoldsAny(section, le))
    return;
  // A key whose line would begin with the Opener would open a section of its own.
  size_t head = 0;
  while (head < key.size() && static_cast<unsigned char>(key[head]) <= 0x20) ++head;
  if (head < key.size() && key[head] == syntax.Opener) return;
  // A key found on the header's own line (a header text inside a key line) takes the header
  // with it when it is rewritten.
  KeySpan span;
  KeyTextLocate(text, section, key, span, &syntax);
  if (!section.empty() && span.SectionStart >= 0 && span.ValueStart >= 0 &&
      span.KeyLineStart < span.BodyStart - static_cast<int32_t>(le.size()))
    return;

  std::string t = text;
  KeyTextSet(t, section, key, value, &syntax);
  std::string expected(value);
  if ((syntax.Flags & KS_MULTILINE) && (syntax.Flags & KS_STRIPLEAD)) {
    size_t lead = 0;
    while (lead < expected.size() && (static_cast<unsigned char>(expected[lead]) <= 0x20 ||
                                      expected[lead] == syntax.Mark))
      ++lead;
    expected.erase(0, lead);
  }
  std::string read;
  KeyTextGet(t, section, key, &syntax, read);
  FUZZ_CHECK(read == expected);
}

void CheckInsertLine(const std::string& text, std::string_view piece, int32_t position,
                     uint16_t code) {
  std::string t = text;
  InsertLine(t, piece, position, code);
  if (text.empty()) {
    FUZZ_CHECK(t == piece);
    return;
  }
  const auto L = static_cast<int32_t>(text.size());
  const int32_t at = (position < 0 || position >= L) ? L : position;
  const std::string le = LineEndText(code);
  bool matched = false;
  for (int front = 0; front < 2 && !matched; ++front)
    for (int behind = 0; behind < 2 && !matched; ++behind)
      matched = t == text.substr(0, at) + (front ? le : "") + std::string(piece) +
                         (behind ? le : "") + text.substr(at);
  FUZZ_CHECK(matched);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput in(data, size);
  const uint8_t selector = in.Byte();
  const KeySyntax own = OwnSyntax(in);
  const int32_t position = in.Int();
  const std::string text(in.Field());
  const std::string section(in.Field());
  const std::string key(in.Field());
  const std::string value(in.Rest());

  const KeySyntax* syntax = nullptr;
  switch (selector % 7) {
    case 5: syntax = &own; break;
    case 6: syntax = nullptr; break;
    default: syntax = kProgram[selector % 7];
  }
  CheckGet(text, section, key, syntax);
  CheckGet(text, "", key, syntax);
  CheckGet(text, section, "", syntax);
  const std::string edited = CheckSet(text, section, key, value, syntax);
  CheckSet(text, section, "", value, syntax);
  CheckGet(edited, section, key, syntax);
  if (syntax && selector % 7 < 5) CheckReadBack(text, section, key, value, *syntax);

  const KeySyntax& s = syntax ? *syntax : SyntaxDefault;
  const int32_t header = FindNextHeader(text, position, syntax);
  if (header >= 0)
    FUZZ_CHECK(header >= position && header < static_cast<int32_t>(text.size()) &&
               text[header] == s.Opener);
  CheckInsertLine(text, value, position % 64, s.LineEnd);
  return 0;
}
