// Keyed text: locating, the four readings of a value, line insertion and in-place edits.
#include <gtest/gtest.h>

#include <array>
#include <initializer_list>
#include <string>
#include <vector>

#include "text/Strut.h"

namespace {

// The lines, each followed by CR LF.
std::string Lines(std::initializer_list<std::string_view> lines) {
  std::string text;
  for (const auto line : lines) text.append(line).append("\r\n");
  return text;
}

std::string Get(std::string_view text, std::string_view section, std::string_view key,
                const KeySyntax* syntax) {
  std::string value = "stale";
  KeyTextGet(text, section, key, syntax, value);
  return value;
}

std::string Set(std::string text, std::string_view section, std::string_view key,
                std::string_view value, const KeySyntax* syntax) {
  KeyTextSet(text, section, key, value, syntax);
  return text;
}

const std::string kReading =
    Lines({"[S]", "k1=one", "  K2=two ", "xk3=no", "k3 = sp", "[T]", "k4=four"});

// The nine fields of a span in their order: ValueStart, ValueLength, KeyLineStart,
// KeyLineLength, BodyStart, SectionStart, BodyLength, SectionLength, InsertPos.
using SpanFields = std::array<int32_t, 9>;

SpanFields Locate(std::string_view text, std::string_view section, std::string_view key) {
  KeySpan s;
  EXPECT_EQ(&KeyTextLocate(text, section, key, s, &SyntaxCmd), &SyntaxCmd);
  return {s.ValueStart, s.ValueLength,  s.KeyLineStart,  s.KeyLineLength, s.BodyStart,
          s.SectionStart, s.BodyLength, s.SectionLength, s.InsertPos};
}

TEST(KeyTextLocate, SpansOfSectionsAndKeys) {
  EXPECT_EQ(Locate(kReading, "S", "k1"), (SpanFields{8, 3, 3, 8, 5, 0, 34, 39, 39}));
  EXPECT_EQ(Locate(kReading, "t", ""), (SpanFields{-1, 0, 0, 0, 46, 39, 9, 16, 53}));
  // A missing section: new text goes behind the last non-blank byte of the text.
  EXPECT_EQ(Locate(kReading, "U", "k1"), (SpanFields{-1, 0, -1, 0, -1, -1, 0, 0, 53}));
  EXPECT_EQ(Locate(kReading, "", "k4"), (SpanFields{49, 4, 44, 9, 0, 0, 55, 55, 55}));
  EXPECT_EQ(Locate("", "S", "k"), (SpanFields{-1, 0, -1, 0, -1, -1, 0, 0, 0}));
  KeySpan span;
  EXPECT_EQ(&KeyTextLocate(kReading, "S", "", span, nullptr), &SyntaxDefault);
}

struct ReadCase {
  const char* section;
  const char* key;
  std::string expected;
};

TEST(KeyTextGet, KeysAndBodies) {
  const ReadCase cases[] = {
      {"s", "k2", "two "},  // trailing blank kept
      {"S", "k3", ""},      // neither 'xk3=' nor 'k3 =' is that key
      {"S", "k4", ""},
      {"T", "k4", "four"},
      {"", "k4", "four"},
      {"S", "", "k1=one\r\n  K2=two \r\nxk3=no\r\nk3 = sp"},
      {"T", "", "k4=four\r\n"},
      {"U", "", ""},
      {"U", "k1", ""},
      {"", "", kReading},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Get(kReading, c.section, c.key, &SyntaxCmd), c.expected)
        << "[" << c.section << "] " << c.key;
}

TEST(KeyTextGet, FirstSectionAndFirstKeyWin) {
  const std::string text = Lines({"[S]", "k=1", "K=2", "[s]", "k=3"});
  EXPECT_EQ(Get(text, "S", "k", &SyntaxCmd), "1");
  EXPECT_EQ(Get(text, "S", "", &SyntaxCmd), "k=1\r\nK=2");
}

TEST(KeyTextGet, LineEndsOfTheDescriptorOnly) {
  // Bare LF is not a line end: the header is found, the body is empty.
  EXPECT_EQ(Get("[S]\nk=v\n", "S", "k", &SyntaxCmd), "");
  EXPECT_EQ(Get("[S]\nk=v\n", "S", "", &SyntaxCmd), "");
  // A lone CR before a key stands between it and its line start.
  EXPECT_EQ(Get("[S]\r\n \rk=v\r\n", "S", "k", &SyntaxCmd), "");
  EXPECT_EQ(Get("[S]\r\n \tk=v\r\n", "S", "k", &SyntaxCmd), "v");
}

TEST(KeyTextGet, EmptyBodyBeforeTheNextHeader) {
  const std::string text = Lines({"[S]", "[T]", "k=v"});
  EXPECT_EQ(Get(text, "S", "", &SyntaxRaw), "");
  EXPECT_EQ(Get(text, "S", "k", &SyntaxRaw), "");
  EXPECT_EQ(Set(text, "S", "", "", &SyntaxRaw), "\r\n[T]\r\nk=v\r\n");
}

TEST(KeyTextGet, HeaderTextInsideAValueCounts) {
  const std::string text = Lines({"[A]", "x=see [S] here", "y=1", "[S]", "k=2"});
  EXPECT_EQ(Get(text, "S", "y", &SyntaxCmd), "1");
  EXPECT_EQ(Get(text, "S", "k", &SyntaxCmd), "");
}

struct ReadingCase {
  std::string text;
  std::string cmd, raw, list;
};

TEST(KeyTextGet, TheReadingsOfOneValue) {
  const ReadingCase cases[] = {
      {Lines({"[S]", "Files=", "  \"A", "\"B"}), "\r\nA\r\nB", "\r\n  \"A\r\n\"B",
       "A\xA7" "B"},
      {Lines({"[S]", "Files=\"quoted\""}), "\"quoted\"", "\"quoted\"", "quoted\""},
      {Lines({"[S]", "Files=  lead"}), "  lead", "  lead", "lead"},
      {Lines({"[S]", "Files=line1", "  \"line2", "\"line3"}), "line1\r\nline2\r\nline3",
       "line1\r\n  \"line2\r\n\"line3", "line1\xA7line2\xA7line3"},
      {Lines({"[S]", "Files=a", "", "  \"b"}), "a", "a", "a"},  // an empty line ends it
      {Lines({"[S]", "Files=a", "  x\"b"}), "a", "a", "a"},
      {Lines({"[S]", "Files=a", "\"b c \" d"}), "a\r\nb c \" d", "a\r\n\"b c \" d",
       "a\xA7" "b c \" d"},
      {"[S]\r\nFiles=a\r\n\"", "a\r\n", "a\r\n\"", "a\xA7"},
      {"[S]\r\nFiles=", "", "", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Get(c.text, "S", "files", &SyntaxCmd), c.cmd) << c.text;
    EXPECT_EQ(Get(c.text, "S", "files", &SyntaxRaw), c.raw) << c.text;
    EXPECT_EQ(Get(c.text, "S", "files", &SyntaxList), c.list) << c.text;
  }
  // Without KS_MULTILINE the value is the rest of its line.
  EXPECT_EQ(Get(Lines({"[S]", "k= a ", "\"b"}), "S", "k", &SyntaxDefault), " a ");
  EXPECT_EQ(Get(Lines({"[S]", "k= a ", "+b"}), "S", "k", nullptr), " a ");
}

TEST(KeyTextGet, ItemFields) {
  const std::string item = "Key=K\xF7\xF7 Name=val\xF7\xF7Size=3";
  EXPECT_EQ(Get(item, "", "Name", &SyntaxItem), "val");
  EXPECT_EQ(Get(item, "", "Key", &SyntaxItem), "K");
  EXPECT_EQ(Get(item, "", "Size", &SyntaxItem), "3");
  EXPECT_EQ(Get("Key=K Name=zz", "", "Name", &SyntaxItem), "");
  EXPECT_EQ(Get("Key=K Name=zz", "", "Key", &SyntaxItem), "K Name=zz");
  EXPECT_EQ(Get("name=lower", "", "Name", &SyntaxItem), "lower");
  EXPECT_EQ(Get("Name=C:\\Apps\\Tool\\tool.exe\xF7\xF7Size=1", "", "Name", &SyntaxItem),
            "C:\\Apps\\Tool\\tool.exe");
  EXPECT_EQ(Get("Key=K\xF7\xF7Name=", "", "Name", &SyntaxItem), "");
  std::string current = item;  // the item variable read into itself
  KeyTextGet(current, "", "Name", &SyntaxItem, current);
  EXPECT_EQ(current, "val");
}

TEST(KeyTextGet, JoinTextHoldingTheLineEndEnds) {
  // A join text that is itself a line end must not be joined again.
  const KeySyntax crlfJoin{'[', ']', '=', '"', 0x0A0D, 0x0A0D, KS_MULTILINE};
  EXPECT_EQ(Get("k=a\r\n\"b\r\n \"c", "", "k", &crlfJoin), "a\r\nb\r\nc");
  const KeySyntax markJoin{'[', ']', '=', '"', 0x0022, 0x0A0D, KS_MULTILINE};
  EXPECT_EQ(Get("k=a\r\n\"b", "", "k", &markJoin), "a\"b");
}

TEST(FindNextHeader, OpenerFirstOnItsLine) {
  const std::string text = "a[b\r\n  [c\r\n\r[d";
  EXPECT_EQ(FindNextHeader(text, 0, &SyntaxCmd), 7);
  EXPECT_EQ(FindNextHeader(text, 8, &SyntaxCmd), TF_NOTFOUND);  // a lone CR is in the way
  EXPECT_LT(FindNextHeader(text, 99, &SyntaxCmd), 0);
  EXPECT_LT(FindNextHeader("", 0, nullptr), 0);
  EXPECT_EQ(FindNextHeader("[x", 0, nullptr), 0);
  EXPECT_EQ(FindNextHeader("a\xF7\xF7 [x", 0, &SyntaxItem), 4);
}

struct InsertCase {
  const char* text;
  const char* piece;
  int32_t position;
  const char* expected;
};

TEST(InsertLine, AddsTheLineEndsThatAreMissing) {
  const InsertCase cases[] = {
      {"", "x", 0, "x"},
      {"", "", 5, ""},
      {"ab", "x", -1, "ab\r\nx"},
      {"ab\r\n", "x", 99, "ab\r\nx"},
      {"ab\r\ncd", "x", 4, "ab\r\nx\r\ncd"},
      {"ab\r\ncd", "x", 2, "ab\r\nx\r\ncd"},
      {"ab", "x", 0, "x\r\nab"},
      {"ab", "x", 1, "a\r\nx\r\nb"},
      {"ab", "", 2, "ab\r\n"},
      {"ab\r\n", "", 4, "ab\r\n"},
      {"\r\nab", "", 0, "\r\nab"},
  };
  for (const auto& c : cases) {
    std::string text = c.text;
    InsertLine(text, c.piece, c.position, 0x0A0D);
    EXPECT_EQ(text, c.expected) << c.text << " + " << c.piece << " at " << c.position;
  }
  std::string text = "ab\ncd";
  InsertLine(text, "x", 3, 0x000A);  // a one-byte line end
  EXPECT_EQ(text, "ab\nx\ncd");
}

const std::string kWriting =
    Lines({"[S]", "k1=one", "m=a", " \"b", "", "[T]", "k4=four"});

struct WriteCase {
  const char* what;
  std::string text;
  const char* section;
  const char* key;
  std::string value;
  const KeySyntax* syntax;
  std::string expected;
};

TEST(KeyTextSet, EditsInPlace) {
  const WriteCase cases[] = {
      {"replace a multi-line value", kWriting, "S", "m", "X", &SyntaxCmd,
       Lines({"[S]", "k1=one", "m=X", "", "[T]", "k4=four"})},
      {"add behind the last non-blank line", kWriting, "S", "k9", "new", &SyntaxCmd,
       Lines({"[S]", "k1=one", "m=a", " \"b", "k9=new", "", "[T]", "k4=four"})},
      {"add to the last section", kWriting, "T", "k9", "new", &SyntaxCmd,
       Lines({"[S]", "k1=one", "m=a", " \"b", "", "[T]", "k4=four", "k9=new"})},
      {"add to a missing section", kWriting, "U", "k", "v", &SyntaxCmd,
       Lines({"[S]", "k1=one", "m=a", " \"b", "", "[T]", "k4=four", "[U]", "k=v"})},
      {"add to a missing section, raw", kWriting, "U", "k", "v", &SyntaxRaw,
       Lines({"[S]", "k1=one", "m=a", " \"b", "", "[T]", "k4=four", "", "[U]", "k=v"})},
      {"delete a key", kWriting, "S", "k1", "", &SyntaxCmd,
       Lines({"[S]", "m=a", " \"b", "", "[T]", "k4=four"})},
      {"delete a section", kWriting, "T", "", "", &SyntaxCmd,
       Lines({"[S]", "k1=one", "m=a", " \"b"})},
      {"replace a body", kWriting, "S", "", "q=1\r\nr=2", &SyntaxCmd,
       Lines({"[S]", "q=1", "r=2", "[T]", "k4=four"})},
      {"replace a body, raw", kWriting, "S", "", "q=1\r\nr=2", &SyntaxRaw,
       Lines({"", "[S]", "q=1", "r=2", "", "[T]", "k4=four"})},
      {"replace the last body, raw", kWriting, "t", "", "z=9", &SyntaxRaw,
       Lines({"[S]", "k1=one", "m=a", " \"b", "", "[t]", "z=9"})},
      {"no final line end", "[S]\r\nk=1", "S", "j", "2", &SyntaxCmd, "[S]\r\nk=1\r\nj=2"},
      {"no final line end, new section", "[S]\r\nk=1", "T", "j", "2", &SyntaxCmd,
       "[S]\r\nk=1\r\n[T]\r\nj=2"},
      {"new section before trailing blank lines", "[S]\r\nk=1\r\n\r\n  \r\n", "T", "j", "2",
       &SyntaxCmd, "[S]\r\nk=1\r\n[T]\r\nj=2\r\n\r\n  \r\n"},
      {"the empty text", "", "S", "k", "v", &SyntaxCmd, "[S]\r\nk=v"},
      {"the empty text, raw", "", "S", "k", "v", &SyntaxRaw, "\r\n[S]\r\nk=v"},
      {"a new body in the empty text, raw", "", "S", "", "k=v", &SyntaxRaw,
       "\r\n[S]\r\nk=v"},
      {"a key of the first line", "k=1\r\nj=2", "", "k", "X", &SyntaxCmd, "k=X\r\nj=2"},
      {"delete the first line", "k=1\r\nj=2", "", "k", "", &SyntaxCmd, "\r\nj=2"},
      {"a key added without sections", "k=1", "", "j", "2", &SyntaxCmd, "k=1\r\nj=2"},
      {"a value with its own lines", kWriting, "T", "k4", "x\r\n \"y", &SyntaxRaw,
       Lines({"[S]", "k1=one", "m=a", " \"b", "", "[T]", "k4=x", " \"y"})},
      {"an item field", "Key=K\xF7\xF7Name=a\xF7\xF7Size=1", "", "Name", "b", &SyntaxItem,
       "Key=K\xF7\xF7Name=b\xF7\xF7Size=1"},
      {"a new item field", "Key=K", "", "Name", "b", &SyntaxItem, "Key=K\xF7\xF7Name=b"},
      // Deleting a key of a missing section changes nothing (no empty header is added).
      {"delete in a missing section", kWriting, "U", "k", "", &SyntaxRaw, kWriting},
      {"delete a missing key", kWriting, "S", "zz", "", &SyntaxRaw, kWriting},
      {"delete a missing section", kWriting, "U", "", "", &SyntaxRaw, kWriting},
      // Without a section the whole text is the body: it becomes the value.
      {"the whole text", kWriting, "", "", "k=v", &SyntaxRaw, "k=v"},
  };
  for (const auto& c : cases) EXPECT_EQ(Set(c.text, c.section, c.key, c.value, c.syntax),
                                        c.expected) << c.what;
}

TEST(KeyTextSet, ArgumentsThatViewTheText) {
  std::string text = Lines({"[S]", "a=1", "b=2"});
  const std::string_view view = text;
  KeyTextSet(text, view.substr(1, 1), view.substr(5, 1), view.substr(10, 3), &SyntaxCmd);
  EXPECT_EQ(text, Lines({"[S]", "a=b=2", "b=2"}));
}

// The example log of an installed product (each line ends with CR LF; 0xF7 0xF7 separates
// the fields of an item).
const std::string kLog = Lines({
    "[UNINSTALL]",
    "Files=",
    "\"Name=C:\\Apps\\Example Tool\\tool.exe",
    "\"Name=C:\\Apps\\Example Tool\\help\\tool.hlp",
    "\"Name=C:\\Apps\\Example Tool\\plugins\\view.ocx",
    "\"Name=C:\\Windows\\System\\common.dll",
    "Links=",
    "\"Name=C:\\Windows\\Start Menu\\Programs\\Example Tool\\Example Tool.lnk",
    "Registers=",
    "\"Key=HKEY_CURRENT_USER\\Software\\Example\\Tool\xF7\xF7Name=LastFolder",
    "\"Key=HKEY_LOCAL_MACHINE\\Software\\Example\\Tool\xF7\xF7Name=Version",
    "",
    "[UNINSTALLREG]",
    "Registers=",
    "\"Key=HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
    "Example Tool\xF7\xF7Name=DisplayName",
    "\"Key=HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
    "Example Tool\xF7\xF7Name=UninstallString",
    "",
    "[UNINSTALLCMD]",
    "Install path=C:\\Apps\\Example Tool",
    "CustomUninstall=1",
    "OnTest=0",
    "Title=Remove Example Tool",
    "PAGE1=This will remove Example Tool from your computer.|nChoose how to proceed and "
    "click Next.",
    "PAGE2=Select the parts to remove:",
    "PAGE3=Click Start to begin.",
    " \"Click Cancel to keep everything.",
    "UNBTNPREV=< Back",
    "UNBTNNEXT=Next >",
    "UNBTNSTART=Start",
    "UNBTNCANC=Cancel",
    "UNBTNAUTO=Remove everything",
    "UNBTNCUSTOM=Let me choose",
    "UNBTNSELALL=Select all",
    "DLGSTART=Remove the selected parts now?",
    "DLGCANCEL=Quit without removing anything?",
    "DLGDLLREMOVE=The shared file %FILE% is no longer used by other programs.|nRemove it?",
    "DLGENDOK=Example Tool has been removed.",
    "DLGENDOKNC=The selected parts have been removed.",
});

std::vector<std::string> Items(std::string list) {
  std::vector<std::string> items;
  std::string item;
  while (!list.empty()) {
    ListTake(list, item, ITEM_DELIM, 0, LT_REMOVE);
    if (!item.empty()) items.push_back(item);
  }
  return items;
}

TEST(InstallationLog, ReadInTheFourSyntaxes) {
  const std::vector<std::string> files = Items(Get(kLog, "UNINSTALL", "Files", &SyntaxList));
  ASSERT_EQ(files.size(), 4u);
  EXPECT_EQ(files[0], "Name=C:\\Apps\\Example Tool\\tool.exe");
  EXPECT_EQ(files[3], "Name=C:\\Windows\\System\\common.dll");
  EXPECT_EQ(Get(files[1], "", "Name", &SyntaxItem), "C:\\Apps\\Example Tool\\help\\tool.hlp");
  EXPECT_EQ(Items(Get(kLog, "UNINSTALL", "Links", &SyntaxList)).size(), 1u);

  const std::vector<std::string> regs = Items(Get(kLog, "UNINSTALL", "Registers", &SyntaxList));
  ASSERT_EQ(regs.size(), 2u);
  EXPECT_EQ(Get(regs[0], "", "Key", &SyntaxItem), "HKEY_CURRENT_USER\\Software\\Example\\Tool");
  EXPECT_EQ(Get(regs[0], "", "Name", &SyntaxItem), "LastFolder");
  const std::vector<std::string> kept =
      Items(Get(kLog, "UNINSTALLREG", "Registers", &SyntaxList));
  ASSERT_EQ(kept.size(), 2u);
  EXPECT_EQ(Get(kept[1], "", "Name", &SyntaxItem), "UninstallString");

  EXPECT_EQ(Get(kLog, "UNINSTALL", "Files", &SyntaxRaw),
            "\r\n\"Name=C:\\Apps\\Example Tool\\tool.exe"
            "\r\n\"Name=C:\\Apps\\Example Tool\\help\\tool.hlp"
            "\r\n\"Name=C:\\Apps\\Example Tool\\plugins\\view.ocx"
            "\r\n\"Name=C:\\Windows\\System\\common.dll");
  EXPECT_EQ(Get(kLog, "UNINSTALL", "Links", &SyntaxCmd),
            "\r\nName=C:\\Windows\\Start Menu\\Programs\\Example Tool\\Example Tool.lnk");
  EXPECT_EQ(Get(kLog, "", "Install path", &SyntaxRaw), "C:\\Apps\\Example Tool");
  EXPECT_EQ(Get(kLog, "UNINSTALLCMD", "OnTest", &SyntaxCmd), "0");
  EXPECT_EQ(Get(kLog, "UNINSTALLCMD", "customuninstall", &SyntaxCmd), "1");
  EXPECT_EQ(Get(kLog, "UNINSTALLCMD", "PAGE3", &SyntaxCmd),
            "Click Start to begin.\r\nClick Cancel to keep everything.");
  std::string page1 = Get(kLog, "UNINSTALLCMD", "PAGE1", &SyntaxCmd);
  TextUnescape(page1, 0, -1, '|', TF_CRLF);
  EXPECT_EQ(page1,
            "This will remove Example Tool from your computer.\r\nChoose how to proceed and "
            "click Next.");
  EXPECT_EQ(Get(kLog, "UNINSTALLCMD", "PAGE", &SyntaxCmd), "");
  EXPECT_EQ(Get(kLog, "UNINSTALLCMD", "Files", &SyntaxCmd), "");
}

// Appends an item to a list of section "UNINSTALL" the way the uninstaller writes lists.
void AppendListItem(std::string& text, std::string_view key, std::string_view item) {
  std::string raw;
  KeyTextGet(text, "UNINSTALL", key, &SyntaxRaw, raw);
  raw.append("\r\n\"").append(item);
  KeyTextSet(text, "UNINSTALL", key, raw, &SyntaxRaw);
}

TEST(InstallationLog, AppendingToAListTouchesNothingElse) {
  std::string log = kLog;
  AppendListItem(log, "Files", "Name=C:\\new.txt");
  const size_t at = kLog.find("common.dll") + 10;
  EXPECT_EQ(log, kLog.substr(0, at) + "\r\n\"Name=C:\\new.txt" + kLog.substr(at));
  EXPECT_EQ(Items(Get(log, "UNINSTALL", "Files", &SyntaxList)).size(), 5u);
}

TEST(InstallationLog, KeptItemsRewriteTheLog) {
  std::string keep;
  AppendListItem(keep, "Files", "Name=C:\\a.exe");
  AppendListItem(keep, "Files", "Name=C:\\b.exe");
  AppendListItem(keep, "Links", "Name=C:\\a.lnk");
  EXPECT_EQ(keep, Lines({"", "[UNINSTALL]", "Files=", "\"Name=C:\\a.exe", "\"Name=C:\\b.exe",
                         "Links="}) + "\"Name=C:\\a.lnk");
  EXPECT_EQ(Get(keep, "UNINSTALL", "Files", &SyntaxList), "Name=C:\\a.exe\xA7Name=C:\\b.exe");

  std::string body;
  KeyTextGet(keep, "UNINSTALL", "", &SyntaxRaw, body);
  std::string log = kLog;
  KeyTextSet(log, "UNINSTALL", "", body, &SyntaxRaw);
  const size_t rest = kLog.find("[UNINSTALLREG]");
  EXPECT_EQ(log, "\r\n[UNINSTALL]\r\n" + body + "\r\n\r\n" + kLog.substr(rest));
  EXPECT_EQ(Items(Get(log, "UNINSTALL", "Files", &SyntaxList)).size(), 2u);
  EXPECT_EQ(Get(log, "UNINSTALL", "Registers", &SyntaxList), "");
  EXPECT_EQ(Get(log, "UNINSTALLCMD", "PAGE3", &SyntaxCmd),
            Get(kLog, "UNINSTALLCMD", "PAGE3", &SyntaxCmd));
}

TEST(InstallationLog, ListEdgeCases) {
  EXPECT_EQ(Get(Lines({"[UNINSTALL]", "Files="}), "UNINSTALL", "Files", &SyntaxList), "");
  EXPECT_EQ(Get(Lines({"[UNINSTALL]", "Files=C:\\A.EXE"}), "UNINSTALL", "Files", &SyntaxList),
            "C:\\A.EXE");
  EXPECT_EQ(Get(Lines({"[UNINSTALL]", "Files=", "\"a", "", "\"b"}), "UNINSTALL", "Files",
                &SyntaxList),
            "a");
  EXPECT_EQ(Get(Lines({"[UNINSTALL]", "Files=", "\"a", "Files=", "\"b"}), "UNINSTALL",
                "Files", &SyntaxList),
            "a");
}

}  // namespace
