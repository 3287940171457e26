// Text operations: finding, editing, escapes, comparison, the name table, conversions.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "text/Strut.h"

namespace {

struct FindCase {
  const char* text;
  const char* pattern;
  int32_t start;
  int32_t count;
  uint32_t flags;
  int32_t expected;
};

TEST(TextFind, PositionsFlagsAndCodes) {
  const FindCase cases[] = {
      {"xAbcabcABCab", "bc", 0, -1, 0, 2},
      {"xAbcabcABCab", "BC", 0, -1, TF_IGNORECASE, 2},
      {"xAbcabcABCab", "BC", 0, -1, 0, 8},
      {"xAbcabcABCab", "bc", 11, -1, TF_BACKWARD, 5},
      {"xAbcabcABCab", "bc", 3, 1, 0, TF_NOTFOUND},
      {"xAbcabcABCab", "bc", -1, -1, 0, TF_BADSTART},
      {"xAbcabcABCab", "bc", 12, -1, 0, TF_BADSTART},
      {"xAbcabcABCab", "bc", -1, -1, TF_WRAP, 5},  // backward from the end
      {"xAbcabcABCab", "", 0, -1, 0, TF_EMPTY},
      {"", "bc", 0, -1, 0, TF_EMPTY},
      {"xxabxxab", "ab", 0, 3, 0, 2},  // the match may end past the last allowed start
      {"xxabxxab", "ab", 0, 2, 0, TF_NOTFOUND},
      {"xxabxxab", "ab", 0, 0, 0, TF_NOTFOUND},  // count 0 examines nothing
      {"xxabxxab", "ab", 5, 99, 0, 6},             // a larger count takes all
      // Counting from the end: 0 is the last byte.
      {"xAbcabcABCab", "bc", 0, -1, TF_FROMEND | TF_BACKWARD, 5},
      {"xAbcabcABCab", "bc", 7, -1, TF_FROMEND | TF_BACKWARD, 2},
      {"xAbcabcABCab", "ab", 1, -1, TF_FROMEND, 10},
      // Out of range with exactly one of backward / from-end: the last byte (mirrored to the
      // first one when counting from the end).
      {"xAbcabcABCab", "bc", 99, -1, TF_BACKWARD, 5},
      {"xAbcabcABCab", "bc", 99, -1, TF_FROMEND, 2},
      {"xAbcabcABCab", "bc", 99, -1, TF_FROMEND | TF_BACKWARD, TF_BADSTART},
      {"xAbcabcABCab", "bc", 99, -1, TF_FROMEND | TF_BACKWARD | TF_WRAP, 2},
      {"xAbcabcABCab", "bc", 11, 6, TF_BACKWARD, TF_NOTFOUND},
      {"xAbcabcABCab", "bc", 11, 7, TF_BACKWARD, 5},
      {"xAbcabcABCab", "bc", 2, -1, TF_BACKWARD, 2},  // backward, the match runs past start
      {"ab", "abc", 0, -1, 0, TF_NOTFOUND},
      {"\xC4x", "\xE4", 0, -1, TF_IGNORECASE, TF_NOTFOUND},  // only ASCII letters fold
      {"a[b]A[B]", "[b]", 2, -1, TF_IGNORECASE, 5},
  };
  for (const auto& c : cases)
    EXPECT_EQ(TextFind(c.text, c.start, c.count, c.pattern, c.flags), c.expected)
        << c.text << " / " << c.pattern << " start " << c.start << " count " << c.count
        << " flags " << std::hex << c.flags;
}

struct Offered {
  std::vector<TStr_Match> matches;
  std::vector<TStr_Context> contexts;
  int32_t acceptAt = -1;
};

bool Record(const TStr_Match& match, const TStr_Context& context, void* data) {
  auto* offered = static_cast<Offered*>(data);
  offered->matches.push_back(match);
  offered->contexts.push_back(context);
  return match.Offset == offered->acceptAt;
}

TEST(TextFindAccept, OffersEveryCandidateWithItsRecords) {
  const std::string text = "abXab";
  Offered forward;
  forward.acceptAt = 3;
  EXPECT_EQ(TextFindAccept(text, 0, -1, "AB", TF_IGNORECASE, Record, &forward), 3);
  ASSERT_EQ(forward.matches.size(), 2u);
  EXPECT_EQ(forward.matches[0].Offset, 0);
  EXPECT_EQ(forward.matches[0].Match, text.data());
  EXPECT_EQ(forward.matches[0].Examined, 1);
  EXPECT_EQ(forward.matches[0].Left, 4);
  EXPECT_EQ(forward.matches[1].Offset, 3);
  EXPECT_EQ(forward.matches[1].Examined, 4);
  EXPECT_EQ(forward.matches[1].Left, 1);
  const TStr_Context& c = forward.contexts[0];
  EXPECT_EQ(c.Text, text.data());
  EXPECT_EQ(c.AtStart, text.data());
  EXPECT_EQ(c.Length, 5);
  EXPECT_EQ(c.Start, 0);
  EXPECT_EQ(c.Count, 5);
  EXPECT_EQ(c.Flags, TF_IGNORECASE);

  // Backward through the wrap-around: the context shows the direction, not the wrap bit.
  Offered backward;
  EXPECT_EQ(TextFindAccept(text, -1, -1, "ab", TF_WRAP, Record, &backward), TF_NOTFOUND);
  ASSERT_EQ(backward.matches.size(), 2u);
  EXPECT_EQ(backward.matches[0].Offset, 3);
  EXPECT_EQ(backward.matches[0].Examined, 2);
  EXPECT_EQ(backward.matches[0].Left, 3);
  EXPECT_EQ(backward.matches[1].Offset, 0);
  EXPECT_EQ(backward.contexts[0].Start, 4);
  EXPECT_EQ(backward.contexts[0].AtStart, text.data() + 4);
  EXPECT_EQ(backward.contexts[0].Flags, TF_BACKWARD);

  // Overlapping candidates are each offered.
  Offered overlapping;
  EXPECT_EQ(TextFindAccept("aaaa", 0, -1, "aa", 0, Record, &overlapping), TF_NOTFOUND);
  EXPECT_EQ(overlapping.matches.size(), 3u);
}

struct CharCase {
  const char* text;
  char c;
  int32_t start;
  uint32_t flags;
  int32_t expected;
};

TEST(TextFindChar, TestsAndDirections) {
  const CharCase cases[] = {
      {"  ab  cd  ", ' ', 9, TF_BLANKS | TF_NEGATE | TF_BACKWARD, 7},
      {"  ab  cd  ", ' ', -1, TF_BLANKS | TF_WRAP | TF_NEGATE, 7},
      {"  ab  cd  ", ' ', 0, TF_BLANKS | TF_WRAP | TF_NEGATE, 2},
      {"  ab  cd  ", 'c', 0, 0, 6},
      {"  ab  cd  ", 'C', 0, 0, TF_NOTFOUND},  // compared exactly
      {"  ab  cd  ", 'b', 9, TF_BACKWARD, 3},
      {"xx\ty", 'x', 0, TF_NEGATE, 2},
      {"xx\ty", 'x', 0, TF_NEGATE | TF_BLANKS, 3},
      {"    ", ' ', -1, TF_BLANKS | TF_WRAP | TF_NEGATE, TF_NOTFOUND},
      {"", ' ', 0, 0, TF_EMPTY},
      {"abc", 'a', 3, 0, TF_BADSTART},
  };
  for (const auto& c : cases)
    EXPECT_EQ(TextFindChar(c.text, c.start, -1, c.c, c.flags), c.expected)
        << '"' << c.text << "\" '" << c.c << "' start " << c.start;
  EXPECT_EQ(TextFindChar("abcabc", 1, 2, 'a', 0), TF_NOTFOUND);
  EXPECT_EQ(TextFindChar("abcabc", 1, 3, 'a', 0), 3);
}

TEST(TextFindAny, SetMembership) {
  EXPECT_EQ(TextFindAny("c:\\a/b\\c.txt", 0, -1, "\\/", TF_FROMEND | TF_BACKWARD), 6);
  EXPECT_EQ(TextFindAny("c:\\a/b\\c.txt", 0, -1, "/\\", 0), 2);
  EXPECT_EQ(TextFindAny("abc", 0, -1, "\\/", TF_FROMEND | TF_BACKWARD), TF_NOTFOUND);
  EXPECT_EQ(TextFindAny("", 0, -1, "\\/", TF_FROMEND | TF_BACKWARD), TF_EMPTY);
  EXPECT_EQ(TextFindAny("abc", 0, -1, "", 0), TF_EMPTY);
  EXPECT_EQ(TextFindAny("xa", 0, -1, "A", TF_IGNORECASE), 1);
  EXPECT_EQ(TextFindAny("xA", 0, -1, "a", TF_IGNORECASE), 1);
  EXPECT_EQ(TextFindAny("xA", 0, -1, "a", 0), TF_NOTFOUND);
  EXPECT_EQ(TextFindAny("abac", 0, -1, "ab", TF_NEGATE), 3);
}

TEST(TextCopy, RangesInBothDirections) {
  std::string dest = "old";
  EXPECT_EQ(TextCopy("abcdef", 2, -1, 0, dest), 4);
  EXPECT_EQ(dest, "cdef");
  EXPECT_EQ(TextCopy("abcdef", 6, -1, 0, dest), TF_BADSTART);
  EXPECT_EQ(dest, "");
  TextCopy("abcdef", 2, -1, TF_BACKWARD, dest);
  EXPECT_EQ(dest, "abc");
  TextCopy("abcdef", 2, 2, TF_BACKWARD, dest);
  EXPECT_EQ(dest, "bc");
  TextCopy("abcdef", 1, 2, TF_FROMEND, dest);  // from the last byte but one, forward
  EXPECT_EQ(dest, "ef");
  TextCopy("abcdef", 0, 0, 0, dest);
  EXPECT_EQ(dest, "");
  dest = "x";
  EXPECT_EQ(TextCopy("", 0, -1, 0, dest), TF_EMPTY);
  EXPECT_EQ(dest, "");
  dest = "abcdef";
  TextCopy(dest, 1, 3, 0, dest);  // from the destination itself
  EXPECT_EQ(dest, "bcd");
}

TEST(TextEditing, DeleteInsertReplace) {
  std::string t = "abcdef";
  EXPECT_EQ(TextDelete(t, 1, 2, 0), 2);
  EXPECT_EQ(t, "adef");
  t = "abcdef";
  TextDelete(t, 3, 2, TF_BACKWARD);
  EXPECT_EQ(t, "abef");
  EXPECT_EQ(TextDelete(t, 9, 1, 0), TF_BADSTART);
  EXPECT_EQ(t, "abef");

  struct Insert {
    int32_t position;
    const char* expected;
  } inserts[] = {{2, "abXYcdef"}, {0, "XYabcdef"}, {6, "abcdefXY"}, {-1, "abcdefXY"},
                 {10, "abcdefXY"}};
  for (const auto& c : inserts) {
    t = "abcdef";
    EXPECT_EQ(TextInsert(t, "XY", c.position), 2);
    EXPECT_EQ(t, c.expected) << c.position;
  }
  t = "abcdef";
  EXPECT_EQ(TextInsert(t, "", 2), TF_EMPTY);
  EXPECT_EQ(t, "abcdef");
  TextInsert(t, std::string_view(t).substr(0, 3), 3);  // a piece of the text itself
  EXPECT_EQ(t, "abcabcdef");

  struct Replace {
    int32_t position;
    int32_t length;
    const char* expected;
  } replaces[] = {{1, 3, "aXYef"}, {6, 0, "abcdefXY"}, {2, -1, "abXY"}, {-4, 2, "abcdefXY"},
                  {4, 99, "abcdXY"}, {0, 0, "XYabcdef"}};
  for (const auto& c : replaces) {
    t = "abcdef";
    TextReplace(t, "XY", c.position, c.length);
    EXPECT_EQ(t, c.expected) << c.position << "," << c.length;
  }
  t.clear();
  TextReplace(t, "XY", 0, 1);
  EXPECT_EQ(t, "XY");
}

TEST(TextSwap, ExchangesRangesKeepingTheMiddle) {
  std::string t = "abcdefg";
  EXPECT_EQ(TextSwap(t, 1, 2, 4, 3), 5);
  EXPECT_EQ(t, "aefgdbc");
  t = "abcdefg";
  TextSwap(t, 4, 3, 1, 2);  // the ranges in either order
  EXPECT_EQ(t, "aefgdbc");
  t = "abcdefg";
  TextSwap(t, 0, 3, 3, 1);  // adjacent
  EXPECT_EQ(t, "dabcefg");
  for (const auto& bad : {std::vector<int32_t>{1, 3, 2, 2}, {0, 2, 6, 2}, {-1, 1, 3, 1},
                          {0, -1, 3, 1}, {5, 1, INT32_MAX, 1}}) {
    t = "abcdefg";
    EXPECT_EQ(TextSwap(t, bad[0], bad[1], bad[2], bad[3]), TF_BADSTART);
    EXPECT_EQ(t, "abcdefg");
  }
}

TEST(TextDeleteRun, LeadingAndTrailingRuns) {
  struct Case {
    const char* text;
    int32_t start;
    char c;
    uint32_t flags;
    const char* expected;
  } cases[] = {
      {"a\\b\\\\", -1, '\\', TF_WRAP | TF_BLANKS, "a\\b"},
      {"\\", -1, '\\', TF_WRAP | TF_BLANKS, ""},
      {"C:\\dir \\ ", -1, '\\', TF_WRAP | TF_BLANKS, "C:\\dir"},
      {" \t\"\" \"x\" y", 0, '"', TF_BLANKS, "x\" y"},
      {"\"\" x", 0, '"', 0, " x"},  // without TF_BLANKS a blank ends the run
      {"abc", 0, '"', TF_BLANKS, "abc"},
      {"aab", 2, 'a', TF_BACKWARD, "aab"},  // the run is empty at a 'b'
      {"aab", 1, 'a', TF_BACKWARD, "b"},
  };
  for (const auto& c : cases) {
    std::string t = c.text;
    TextDeleteRun(t, c.start, c.c, c.flags);
    EXPECT_EQ(t, c.expected) << c.text;
  }
  std::string t;
  EXPECT_EQ(TextDeleteRun(t, 0, ' ', TF_BLANKS), TF_EMPTY);
  t = "abc";
  EXPECT_EQ(TextDeleteRun(t, 3, 'a', 0), TF_BADSTART);
}

TEST(TextDeleteThrough, ThroughTheNextOccurrence) {
  struct Case {
    const char* text;
    int32_t position;
    const char* expected;
  } cases[] = {{"abc=d=f", 1, "ad=f"}, {"abc=def", 4, "abc="}, {"abc=def", 3, "abcdef"},
               {"abc", 3, "abc"},      {"abc", -1, "abc"},      {"", 0, ""}};
  for (const auto& c : cases) {
    std::string t = c.text;
    TextDeleteThrough(t, c.position, '=', 0);
    EXPECT_EQ(t, c.expected) << c.text << " at " << c.position;
  }
}

TEST(TextUnescape, SequencesWithTheBar) {
  struct Case {
    std::string text;
    uint32_t flags;
    std::string expected;
  } cases[] = {
      {"a|nb", TF_CRLF, "a\r\nb"},
      {"a|rb", TF_CRLF, "a\r\nb"},
      {"x|ny", 0, "x\ny"},
      {"x|ry", 0, "x\ry"},
      {"|a|b|f|t|v", 0, "\a\b\f\t\v"},
      {"a||b", TF_CRLF, "a|b"},
      {"|'|\"|?", 0, "'\"?"},
      {"x|x41y", TF_CRLF, "xAy"},
      {"x|X4a|x4Ay", 0, "xJJy"},
      {"x|#65y", TF_CRLF, "xAy"},
      {"x|zy", TF_CRLF, "x|zy"},
      {"x|Ny", TF_CRLF, "x|Ny"},  // letters are case-sensitive except x
      {"a|", TF_CRLF, "a|"},
      {"x|xy", TF_CRLF, "xy"},
      {"x|#y", 0, "xy"},
      {"a|x", 0, "a"},
      {"x|#300y", TF_CRLF, "x,y"},
      {"x|x100000041y", TF_CRLF, std::string("x\x04") + "1y"},
      {"x|#2147483649y", 0, "x\x01y"},     // the last digit taken at 214748364
      {"x|#21474836499", 0, "x\x01" "9"},  // beyond it digits stay
      {"x|x0y", 0, std::string("x\0y", 3)},
      {"|||n", TF_CRLF, "|\r\n"},
  };
  for (const auto& c : cases) {
    std::string t = c.text;
    TextUnescape(t, 0, -1, '|', c.flags);
    EXPECT_EQ(t, c.expected) << c.text;
  }
}

TEST(TextUnescape, StaysInsideTheRange) {
  std::string t = "|n|n|n";
  TextUnescape(t, 2, 2, '|', 0);
  EXPECT_EQ(t, "|n\n|n");
  t = "a|nb";
  TextUnescape(t, 0, 2, '|', 0);  // the bar is the range's last byte: unchanged
  EXPECT_EQ(t, "a|nb");
  t = "|x414243";
  TextUnescape(t, 0, 4, '|', 0);  // digits only from inside the range
  EXPECT_EQ(t, "A4243");
  t = "|n|n";
  TextUnescape(t, 1, -1, '|', TF_BACKWARD);  // the range ends at the start
  EXPECT_EQ(t, "\n|n");
  EXPECT_EQ(TextUnescape(t, 9, -1, '|', 0), TF_BADSTART);
  EXPECT_EQ(t, "\n|n");
}

struct CompareCase {
  const char* first;
  const char* second;
  int32_t start;
  uint32_t flags;
  int32_t outcome;
  int32_t offset1;
};

TEST(TextCompare, OutcomesAndFlags) {
  const CompareCase cases[] = {
      {"abc", "abd", 0, 0, CMP_LESS, 2},
      {"abd", "ABC", 0, 0, CMP_GREATER, 2},
      {"abc", "ABC", 0, 0, CMP_EQUAL, 0},
      {"abc", "ABC", 0, TC_EXACT, CMP_GREATER, 0},
      {"ab", "abc", 0, 0, CMP_LESS, 2},
      {"abc", "ab", 0, 0, CMP_GREATER, 2},
      {"ab", "abc", 0, TC_FIRSTLENGTH, CMP_EQUAL, 0},
      {"abc", "ab", 0, TC_FIRSTLENGTH, CMP_GREATER, 2},
      {"abc", "ab", 0, TC_SECONDLENGTH, CMP_EQUAL, 0},
      {"ab", "abc", 0, TC_SECONDLENGTH, CMP_LESS, 2},
      {"xabc", "abc", 1, 0, CMP_EQUAL, 0},
      {"  ab ", "ab", 0, TC_TRIM, CMP_EQUAL, 0},
      {"  ab ", "ab", 0, 0, CMP_LESS, 0},
      {"ab", " ab", 0, TC_TRIM, CMP_GREATER, 0},  // the second text is never trimmed
      {"   ", "ab", 0, TC_TRIM, CMP_INVALID, 0},
      {"", "ab", 0, 0, CMP_INVALID, 0},
      {"ab", "", 0, 0, CMP_INVALID, 0},
      {"ab", "ab", 2, 0, CMP_INVALID, 0},
      {"ab", "ab", -1, 0, CMP_INVALID, 0},
      {"10", "9", 0, 0, CMP_LESS, 0},
  };
  for (const auto& c : cases) {
    TMem_Compare r;
    TextCompare(c.first, c.second, c.start, c.flags, r);
    EXPECT_EQ(r.Outcome, c.outcome) << c.first << " / " << c.second << " flags " << c.flags;
    if (c.outcome != CMP_EQUAL && c.outcome != CMP_INVALID) {
      EXPECT_EQ(r.Offset1, c.offset1) << c.first << " / " << c.second;
    }
  }
}

TEST(TextSame, EqualTexts) {
  EXPECT_TRUE(TextSame("Hello", "hello", 0));
  EXPECT_FALSE(TextSame("Hello", "hello", TC_EXACT));
  EXPECT_FALSE(TextSame("", "x", 0));
  EXPECT_FALSE(TextSame("x", "", 0));
  EXPECT_TRUE(TextSame("", "", 0));
  EXPECT_FALSE(TextSame("  ab ", "ab", 0));
  EXPECT_TRUE(TextSame("  ab ", "ab", TC_TRIM));
  EXPECT_TRUE(TextSame("hlp", "HLP", 0));
}

// A table in the layout NameLookup reads (the same shape as the registry's root keys).
const unsigned char kRoots[] = {
    17, 'H', 'K', 'E', 'Y', '_', 'C', 'L', 'A', 'S', 'S', 'E', 'S', '_', 'R', 'O', 'O', 'T',
    0x00, 0x00, 0x00, 0x80,
    18, 'H', 'K', 'E', 'Y', '_', 'L', 'O', 'C', 'A', 'L', '_', 'M', 'A', 'C', 'H', 'I', 'N', 'E',
    0x02, 0x00, 0x00, 0x80,
    10, 'H', 'K', 'E', 'Y', '_', 'U', 'S', 'E', 'R', 'S', 0x03, 0x00, 0x00, 0x80,
    1, 0xE4, 0x78, 0x56, 0x34, 0x12,
    0};

TEST(NameLookup, FirstEntryOfThatName) {
  EXPECT_EQ(NameLookup("hkey_users", kRoots, 7), 0x80000003u);
  EXPECT_EQ(NameLookup("HKEY_LOCAL_MACHINE", kRoots, 7), 0x80000002u);
  EXPECT_EQ(NameLookup("Hkey_Classes_Root", kRoots, 7), 0x80000000u);
  EXPECT_EQ(NameLookup("HKEY_LOCAL_MACHIN", kRoots, 7), 7u);
  EXPECT_EQ(NameLookup("HKEY_LOCAL_MACHINEX", kRoots, 7), 7u);
  EXPECT_EQ(NameLookup("", kRoots, 7), 7u);
  EXPECT_EQ(NameLookup("\xE4", kRoots, 7), 0x12345678u);
  EXPECT_EQ(NameLookup("\xC4", kRoots, 7), 7u);  // only ASCII letters fold
  EXPECT_EQ(NameLookup("x", nullptr, 7), 7u);
}

TEST(TextConversions, LengthsBuffersAndCodes) {
  std::string t = "abcdef";
  TextSetLength(t, 3);
  EXPECT_EQ(t, "abc");
  TextSetLength(t, 5);
  EXPECT_EQ(t.size(), 5u);
  EXPECT_EQ(t.substr(0, 3), "abc");
  TextSetLength(t, -2);
  EXPECT_EQ(t, "");

  TextFromBuffer("abcdef", 3, t);
  EXPECT_EQ(t, "abc");
  TextFromBuffer("abc", -1, t);
  EXPECT_EQ(t, "");
  TextFromBuffer(nullptr, 5, t);
  EXPECT_EQ(t, "");
  TextFromPChar("xyz", t);
  EXPECT_EQ(t, "xyz");
  TextFromPChar(nullptr, t);
  EXPECT_EQ(t, "");

  struct Code {
    uint32_t code;
    const char* expected;
  } codes[] = {{0x3D, "="}, {0x0A0D, "\r\n"}, {0, ""}, {0x00A7, "\xA7"},
               {0x44434241, "ABCD"}, {0x41004242, "BB"}};
  for (const auto& c : codes) {
    TextFromChars(c.code, t);
    EXPECT_EQ(t, c.expected) << std::hex << c.code;
  }
}

}  // namespace
