#include <gtest/gtest.h>

#include "Boxes.h"
#include "uninstaller/Uuninst.h"

namespace {

class Settings : public ::testing::Test {
 protected:
  void SetUp() override { Uninstall = {}; }
  void TearDown() override { Uninstall = {}; }

  // A log whose section "UNINSTALLCMD" holds the given lines.
  static void SetCommands(const std::string& lines) {
    Uninstall.LogText = "[UNINSTALL]\r\nFiles=\r\n\r\n[UNINSTALLCMD]\r\n" + lines;
  }
};

}  // namespace

TEST_F(Settings, CmdFlagAcceptsOnlyIntegerForms) {
  struct Case {
    const char* value;
    int32_t expected;
  };
  const Case cases[] = {
      {"1", 1},          {"yes", 0},         {"", 0},           {"$10", 16},
      {"  7", 7},        {"\t7", 0},         {"7 ", 0},         {"7x", 0},
      {"+12", 12},       {"-12", -12},       {"-$10", 0},       {"0x10", 0},
      {"$fF", 255},      {"$", 0},           {"-", 0},          {"2147483647", 2147483647},
      {"2147483648", 0}, {"-2147483648", INT32_MIN},            {"-2147483649", 0},
      {"$7FFFFFFF", INT32_MAX},               {"$80000000", 0},  {"007", 7},
  };
  for (const auto& c : cases) {
    SetCommands(std::string("OnTest=") + c.value + "\r\n");
    EXPECT_EQ(CmdFlag("OnTest"), c.expected) << "'" << c.value << "'";
  }
  SetCommands("Other=1\r\n");
  EXPECT_EQ(CmdFlag("OnTest"), 0);  // no such key
}

TEST_F(Settings, CmdTextExpandsBarEscapesAndKeepsContinuationBreaks) {
  SetCommands("PAGE1=One|nTwo\r\nPAGE3=Click Start.\r\n \"Or Cancel.\r\nTitle=A||B\r\n");
  EXPECT_EQ(CmdText("PAGE1"), "One\r\nTwo");
  EXPECT_EQ(CmdText("page3"), "Click Start.\r\nOr Cancel.");
  EXPECT_EQ(CmdText("Title"), "A|B");
  EXPECT_EQ(CmdText("Missing"), "");
}

TEST_F(Settings, TextReplaceAll) {
  struct Case {
    const char* text;
    const char* placeholder;
    const char* replacement;
    const char* expected;
  };
  const Case cases[] = {
      {"%FILE% and %FILE%", "%FILE%", "a.dll", "a.dll and a.dll"},
      {"no placeholder", "%FILE%", "a.dll", "no placeholder"},
      {"[%FILE%]", "%FILE%", "x%FILE%y", "[x%FILE%y]"},  // brought-in text is not searched
      {"%file%", "%FILE%", "a", "%file%"},                 // letters compare exactly
      {"abc", "", "x", "abc"},
      {"", "%s", "x", ""},
      {"%s%s", "%s", "", ""},
  };
  for (const auto& c : cases) {
    std::string text = c.text;
    TextReplaceAll(text, c.placeholder, c.replacement);
    EXPECT_EQ(text, c.expected) << c.text;
  }
}

TEST_F(Settings, DialoguesUseTheLogsTextsTitleOwnerAndStyles) {
  SetCommands(
      "DLGSTART=Start?\r\nDLGCANCEL=Quit?\r\n"
      "DLGDLLREMOVE=Shared %FILE%|nRemove %FILE%?\r\n"
      "DLGENDOK=All gone.\r\nDLGENDOKNC=Some kept.\r\n");
  Uninstall.TitleText = "Remove Tool";
  Uninstall.OwnerWindow = reinterpret_cast<HWND>(0x1234);
  ScriptedBoxes boxes;
  boxes.Answer({IDYES, IDNO, IDYES});
  EXPECT_TRUE(ConfirmStart());
  EXPECT_FALSE(ConfirmCancel());
  EXPECT_TRUE(ConfirmDllRemove("a|nb.dll"));  // the name is inserted after the expansion
  ShowEndMessage(true);
  ShowEndMessage(false);
  EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{"Start?", "Quit?",
                                                     "Shared a|nb.dll\r\nRemove a|nb.dll?",
                                                     "All gone.", "Some kept."}));
  for (const auto& box : boxes.Shown()) {
    EXPECT_EQ(box.Owner, Uninstall.OwnerWindow);
    EXPECT_EQ(box.Caption, "Remove Tool");
  }
  const UINT styles[] = {36, 36, 36, 64, 64};  // Yes/No with a question, OK with information
  for (size_t i = 0; i < std::size(styles); ++i) EXPECT_EQ(boxes.Shown()[i].Style, styles[i]) << i;
}

TEST_F(Settings, MissingLogErrorText) {
  Uninstall.LogPath = "C:\\x|ny\\install.log\"";
  Uninstall.TitleText = "not used";
  ScriptedBoxes boxes;
  const HWND main = reinterpret_cast<HWND>(0x42);
  ShowMissingLogError(main);
  ASSERT_EQ(boxes.Shown().size(), 1u);
  const ShownBox& box = boxes.Shown()[0];
  EXPECT_EQ(box.Text,
            "The installation file log:\r\nC:\\x|ny\\install.log\"\r\n"
            "is not found! The uninstall program will not run.");
  EXPECT_EQ(box.Caption, "Error!");
  EXPECT_EQ(box.Style, 16u);
  EXPECT_EQ(box.Owner, main);
}

TEST_F(Settings, ForwardCaptionByPage) {
  Uninstall.NextCaption = "Next >";
  Uninstall.StartCaption = "Start";
  EXPECT_EQ(ForwardCaption(false), "Next >");
  EXPECT_EQ(ForwardCaption(true), "Start");
}
