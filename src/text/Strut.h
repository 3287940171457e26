// Strut: the text toolkit. Texts are counted byte strings (std::string, read-only ones as
// std::string_view); positions are 0-based byte offsets, and the empty text is the same as an
// absent one. Three layers, each built on the one before:
//   text operations  search, range editing, escapes, comparison and small conversions;
//   delimited lists  a text whose items are separated by one delimiter text;
//   keyed text       sections of key lines ("[S]", "key=value", continuation lines), read
//                    and edited in place through a KeySyntax descriptor.
// Nothing here throws or fails: results are positions, flags, empty texts or the small
// negative codes below, and no operation reads or writes outside the texts it is given.
// Every operation scans afresh; nothing is cached between calls, and every operation is reentrant.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "system/Memory.h"

// ==== Text operations ======================================================================

// Flags word of the searching and editing operations (bits not listed have no effect).
constexpr uint32_t TF_BACKWARD = 0x1;      // examine from the start towards the beginning
constexpr uint32_t TF_IGNORECASE = 0x2;    // ASCII letters match their other case
constexpr uint32_t TF_NEGATE = 0x4;        // TextFindChar, TextFindAny: negate the test
constexpr uint32_t TF_FROMEND = 0x20;      // the start counts from the end (0 = last byte)
constexpr uint32_t TF_CRLF = 0x100;        // TextUnescape: |n and |r both give CR LF
constexpr uint32_t TF_WRAP = 0x10000;      // an out-of-range start runs backward from the end
constexpr uint32_t TF_BLANKS = 0x20000;    // bytes up to 0x20 count as blanks (see below)

// Result codes of the finding operations (a position >= 0 on success).
constexpr int32_t TF_NOTFOUND = -1;   // nothing found
constexpr int32_t TF_EMPTY = -2;      // the text, pattern or character set is empty
constexpr int32_t TF_BADSTART = -3;   // the start position is out of range

// A candidate match offered to a TextFindAccept callback.
struct TStr_Match {
  const char* Match = nullptr;  // the match inside the text
  int32_t Offset = 0;           // its position
  int32_t Left = 0;             // positions still to examine after this one
  int32_t Examined = 0;         // positions examined so far, this one included
};

// The search a TextFindAccept callback is called from.
struct TStr_Context {
  const char* Text = nullptr;     // the text
  const char* AtStart = nullptr;  // the text at the normalised start
  int32_t Length = 0;             // the text length
  int32_t Start = 0;              // the normalised start
  int32_t Count = 0;              // the normalised count of positions
  uint32_t Flags = 0;             // the flags; TF_BACKWARD when backward, TF_WRAP cleared
};

// True accepts the match (the search ends with its position); false goes on searching.
using TextAcceptCallback = bool (*)(const TStr_Match& match, const TStr_Context& context,
                                    void* data);

// Position normalisation (TextFind .. TextFindAny, TextCopy, TextDelete, TextDeleteRun,
// TextUnescape), for a text of length L: a start below 0 or at or above L becomes L - 1 when
// exactly one of TF_BACKWARD and TF_FROMEND is set, else with TF_WRAP it becomes L - 1 and the
// direction reverses, else the call answers TF_BADSTART; then TF_FROMEND mirrors the start to
// L - 1 - start. The positions run from the start to L - 1 forward or down to 0 backward; a
// count from 0 to their number limits them, a negative or larger count takes them all.

// Position of the first match of pattern beginning at one of the positions (the match may
// run past the last of them but not past the text); TF_IGNORECASE folds ASCII letters.
int32_t TextFind(std::string_view text, int32_t start, int32_t count, std::string_view pattern,
                 uint32_t flags);
// As TextFind, offering each match to accept(match, context, data) until it accepts one.
int32_t TextFindAccept(std::string_view text, int32_t start, int32_t count,
                       std::string_view pattern, uint32_t flags, TextAcceptCallback accept,
                       void* data);
// First position whose byte equals c (TF_NEGATE: differs from c; TF_NEGATE | TF_BLANKS:
// differs from c and is above 0x20). The byte compares exactly.
int32_t TextFindChar(std::string_view text, int32_t start, int32_t count, char c,
                     uint32_t flags);
// First position whose byte is in set (TF_IGNORECASE folds ASCII letters; TF_NEGATE: is not).
int32_t TextFindAny(std::string_view text, int32_t start, int32_t count, std::string_view set,
                    uint32_t flags);

// Editing operations answer TF_BADSTART for a rejected start (the text is left unchanged),
// TF_EMPTY for an empty text to work on, and otherwise a count >= 0 of the bytes concerned.

// dest := the range of source chosen by start and count (as one piece, in text order);
// a rejected start or an empty source leaves dest empty. source may view dest.
int32_t TextCopy(std::string_view source, int32_t start, int32_t count, uint32_t flags,
                 std::string& dest);
// Removes the range chosen by start and count.
int32_t TextDelete(std::string& text, int32_t start, int32_t count, uint32_t flags);
// Places inserted before the byte at position (below 0 or beyond the length: appends).
int32_t TextInsert(std::string& text, std::string_view inserted, int32_t position);
// Replaces length bytes from position (negative: to the end) by replacement; a position below
// 0 or at or beyond the length appends it and removes nothing.
int32_t TextReplace(std::string& text, std::string_view replacement, int32_t position,
                    int32_t length);
// Exchanges two ranges that lie inside the text and do not overlap (others: TF_BADSTART,
// no change); the bytes between them stay in place.
int32_t TextSwap(std::string& text, int32_t start1, int32_t length1, int32_t start2,
                 int32_t length2);
// Removes the run, from the normalised start in the search direction, of bytes equal to c
// (TF_BLANKS: or up to 0x20). Start -1 with TF_WRAP | TF_BLANKS strips a trailing run.
int32_t TextDeleteRun(std::string& text, int32_t start, char c, uint32_t flags);
// Removes from position through the next c at or after it (to the end when none follows);
// a position outside the text changes nothing. No flag has an effect.
int32_t TextDeleteThrough(std::string& text, int32_t position, char c, uint32_t flags);
// Expands the escape sequences (escape character E) inside the chosen range, left to right:
// Ea Eb Ef En Er Et Ev, EE E' E" E?, Ex/EX + hex digits, E# + decimal digits (one byte, value
// modulo 256). Other sequences stay as they are; no sequence reaches beyond the range.
int32_t TextUnescape(std::string& text, int32_t start, int32_t count, char escape,
                     uint32_t flags);

// TextCompare flags.
constexpr uint32_t TC_EXACT = 0x1;         // bytes compare exactly (else ASCII letters fold)
constexpr uint32_t TC_FIRSTLENGTH = 0x2;   // the first text need only begin the second
constexpr uint32_t TC_TRIM = 0x4;          // ignore blanks at both ends of the first text
constexpr uint32_t TC_SECONDLENGTH = 0x8;  // the second text need only begin the first

// Compares first (from start) with second (from 0) into result (MemCompare's record and
// outcomes); an empty range on either side gives CMP_INVALID.
void TextCompare(std::string_view first, std::string_view second, int32_t start,
                 uint32_t flags, TMem_Compare& result);
// True when both texts are empty or TextCompare (start 0) reports CMP_EQUAL.
bool TextSame(std::string_view first, std::string_view second, uint32_t flags);

// Name table: entries of a length byte n (1 .. 255), n name bytes and a 32-bit little-endian
// value; a length byte of 0 ends it. The value of the first entry whose name equals text
// (ASCII letters in either case), or dflt when none does or text is empty.
uint32_t NameLookup(std::string_view text, const void* table, uint32_t dflt);

// Keeps the first min(old, length) bytes and sets the length (added bytes are zero);
// 0 or below empties the text.
void TextSetLength(std::string& text, int32_t length);
// text := count bytes from p (count below 0 or no pointer: the empty text).
void TextFromBuffer(const void* p, int32_t count, std::string& text);
// text := the bytes of p before its terminating zero (no pointer: the empty text).
void TextFromPChar(const char* p, std::string& text);
// text := the bytes of code, low byte first, up to the first zero byte (0x0A0D: CR LF).
void TextFromChars(uint32_t code, std::string& text);

// ==== Delimited lists ======================================================================

// The delimiter of a list: Length bytes that are matched together as one delimiter text.
// Length 0 has no delimiter: the whole text is one item.
struct DelimSet {
  uint8_t Length = 0;
  char Characters[255] = {};

  constexpr DelimSet() = default;
  constexpr DelimSet(std::string_view text) {  // the first 255 bytes of text
    while (Length < 255 && Length < text.size()) {
      Characters[Length] = text[Length];
      ++Length;
    }
  }
  template <std::size_t N>
  constexpr DelimSet(const char (&text)[N]) : DelimSet(std::string_view(text, N - 1)) {}
  constexpr std::string_view Text() const { return {Characters, Length}; }
};

// The item separator of the log's lists.
constexpr char ITEM_SEP = '\xA7';
inline constexpr DelimSet ITEM_DELIM{"\xA7"};

// Splits text[0, length) at every occurrence of the delimiter (exact bytes, scanning forward,
// occurrences never overlap) into spans: ArrInit(100, 4, MEM_DEFAULT) and one pair (start,
// length) per item in text order; k occurrences give k + 1 items. The caller frees spans.
void ListSplit(const char* text, int32_t length, const char* delim, int32_t delimLength,
               TMem_Array& spans);

// ListTake flags.
constexpr uint32_t LT_REMOVE = 0x1;   // remove the item with one delimiter
constexpr uint32_t LT_CLAMP = 0x4;    // clamp the index into 0 .. count-1
constexpr uint32_t LT_FROMEND = 0x8;  // count the index from the end (0 = last)

// item := item index of text (the empty text when out of range); returns the number of
// items after the call. Index 0 with LT_REMOVE (or LT_REMOVE | LT_FROMEND) takes the first
// (the last) item away.
int32_t ListTake(std::string& text, std::string& item, const DelimSet& delim, int32_t index,
                 uint32_t flags);

// ListAdd flags; their high 16 bits are the comparison flags handed to ListFind.
constexpr uint32_t LA_END = 0x10;         // add at the end (else at the front)
constexpr uint32_t LA_MOVE = 0x20;        // an equal item is removed and the item added anew
constexpr uint32_t LA_REMOVEONLY = 0x80;  // only remove an equal item, never add

// Adds item unless an equal item is there (see the flags); true if an equal item was there.
bool ListAdd(std::string& text, std::string_view item, const DelimSet& delim, uint32_t flags);

// The comparison flags (TC_...) in the high 16 bits of a list flags word.
constexpr uint32_t ListCompareFlags(uint32_t tcFlags) { return tcFlags << 16; }

// Index of the first item that TextCompare (item first, sought second, the high 16 bits of
// flags as TC_ flags) reports CMP_EQUAL, or -1; empty texts never match.
int32_t ListFind(std::string_view text, std::string_view sought, const DelimSet& delim,
                 uint32_t flags);

// ListSort flags; the high 16 bits are TC_ flags as for ListFind.
constexpr uint32_t LS_DESCENDING = 0x100;

// Exchange-sorts the items in place by TextCompare; empty items keep their positions.
void ListSort(std::string& text, const DelimSet& delim, uint32_t flags);

// ==== Keyed text ===========================================================================

// KeySyntax flags.
constexpr uint32_t KS_MULTILINE = 0x1;  // values continue on lines beginning with the Mark
constexpr uint32_t KS_KEEPBREAKS = 0x2; // a read value keeps its line breaks, loses the marks
constexpr uint32_t KS_STRIPLEAD = 0x4;  // a read value loses its leading blanks and marks
constexpr uint32_t KS_BLANKLINE = 0x8;  // KeyTextSet keeps an empty line before a new header

// The punctuation of one reading of a keyed text.
struct KeySyntax {
  char Opener;        // first byte of a section header
  char Closer;        // last byte of a section header
  char Separator;     // between a key and its value
  char Mark;          // first non-blank of a continuation line
  uint16_t JoinCode;  // join text: low byte first, high byte second; a zero byte ends it
  uint16_t LineEnd;   // line end: low byte first, high byte second (0: one byte)
  uint32_t Flags;     // KS_ flags
};

// The readings of the program (and the one taken when a caller passes none).
inline constexpr KeySyntax SyntaxCmd{'[', ']', '=', '"', 0x0000, 0x0A0D, 0x3};   // texts, switches
inline constexpr KeySyntax SyntaxRaw{'[', ']', '=', '"', 0x0022, 0x0A0D, 0xB};   // raw values, bodies
inline constexpr KeySyntax SyntaxList{'[', ']', '=', '"', 0x00A7, 0x0A0D, 0x5};  // item lists
inline constexpr KeySyntax SyntaxItem{'[', ']', '=', '"', 0x0000, 0xF7F7, 0x0};  // item fields
inline constexpr KeySyntax SyntaxDefault{'[', ']', '=', '+', 0x0000, 0x0A0D, 0x0};

// Where a section and a key lie in a text (KeyTextLocate).
struct KeySpan {
  int32_t ValueStart = -1;   // just behind the key's Separator; negative: key not found
  int32_t ValueLength = 0;   // the value, continuation lines included
  int32_t KeyLineStart = 0;  // the line end in front of the key line, or 0
  int32_t KeyLineLength = 0; // from KeyLineStart to the end of the value
  int32_t BodyStart = 0;     // first position behind the header line; -1: no such section
  int32_t SectionStart = 0;  // the line end in front of the header line, or 0; -1: none
  int32_t BodyLength = 0;    // from BodyStart to the end of the section (never negative)
  int32_t SectionLength = 0; // from SectionStart to the end of the section
  int32_t InsertPos = 0;     // where a new key line, or a missing section, goes
};

// Locates section (empty: the whole text is one body) and key (empty: none) into span;
// returns the descriptor used (SyntaxDefault when syntax is null).
const KeySyntax& KeyTextLocate(std::string_view text, std::string_view section,
                               std::string_view key, KeySpan& span, const KeySyntax* syntax);
// Position of the first Opener at or after start that is the first non-blank of its line,
// or a negative code.
int32_t FindNextHeader(std::string_view text, int32_t start, const KeySyntax* syntax);
// Inserts piece at position as a line of its own, adding the line end (code word as in
// KeySyntax::LineEnd) in front and behind where needed; beyond the end: appends.
void InsertLine(std::string& text, std::string_view piece, int32_t position, uint16_t lineEnd);
// value := the value of key in section read the descriptor's way, or the raw body of the
// section when key is empty; the empty text when not found. text may view value.
void KeyTextGet(std::string_view text, std::string_view section, std::string_view key,
                const KeySyntax* syntax, std::string& value);
// Edits text in place: key and value: add or replace the key line; key, no value: delete
// it; no key, value: replace the section body (creating the section); neither: delete the
// section. With no section and no key the whole text is the body: it becomes the value (no
// empty header "[]" is written). Everything outside the edited part stays byte for byte.
void KeyTextSet(std::string& text, std::string_view section, std::string_view key,
                std::string_view value, const KeySyntax* syntax);
