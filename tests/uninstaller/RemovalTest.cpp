// The removal against real files, folders and registry keys of products that each test
// installs into a scratch folder and a scratch registry key.
#include <gtest/gtest.h>

#include "Boxes.h"
#include "support/Scratch.h"
#include "text/Strut.h"
#include "uninstaller/Uuninst.h"

namespace {

constexpr char SHARED_DLLS[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

// The example log of the product "Example Tool"; its paths and keys are moved into the scratch
// places by Removal::Localise, and each ÷ stands for the byte 0xF7.
constexpr char EXAMPLE_LOG[] = R"([UNINSTALL]
Files=
"Name=C:\Apps\Example Tool\tool.exe
"Name=C:\Apps\Example Tool\help\tool.hlp
"Name=C:\Apps\Example Tool\plugins\view.ocx
"Name=C:\Windows\System\common.dll
Links=
"Name=C:\Windows\Start Menu\Programs\Example Tool\Example Tool.lnk
Registers=
"Key=HKEY_CURRENT_USER\Software\Example\Tool÷÷Name=LastFolder
"Key=HKEY_LOCAL_MACHINE\Software\Example\Tool÷÷Name=Version

[UNINSTALLREG]
Registers=
"Key=HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall\Example Tool÷÷Name=DisplayName
"Key=HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall\Example Tool÷÷Name=UninstallString

[UNINSTALLCMD]
Install path=C:\Apps\Example Tool
CustomUninstall=1
OnTest=0
Title=Remove Example Tool
PAGE1=This will remove Example Tool from your computer.|nChoose how to proceed and click Next.
PAGE2=Select the parts to remove:
PAGE3=Click Start to begin.
 "Click Cancel to keep everything.
UNBTNPREV=< Back
UNBTNNEXT=Next >
UNBTNSTART=Start
UNBTNCANC=Cancel
UNBTNAUTO=Remove everything
UNBTNCUSTOM=Let me choose
UNBTNSELALL=Select all
DLGSTART=Remove the selected parts now?
DLGCANCEL=Quit without removing anything?
DLGDLLREMOVE=The shared file %FILE% is no longer used by other programs.|nRemove it?
DLGENDOK=Example Tool has been removed.
DLGENDOKNC=The selected parts have been removed.
)";

constexpr char END_OK[] = "Example Tool has been removed.";
constexpr char END_KEPT[] = "The selected parts have been removed.";

// A log of one section "UNINSTALL" with these lists (each a sequence of '"item' lines).
std::string SmallLog(const std::string& install, const std::string& files,
                     const std::string& links = "", const std::string& registers = "") {
  return "[UNINSTALL]\r\nFiles=\r\n" + files + "Links=\r\n" + links + "Registers=\r\n" +
         registers + "\r\n[UNINSTALLCMD]\r\nInstall path=" + install +
         "\r\nTitle=T\r\nDLGENDOK=done\r\nDLGENDOKNC=kept\r\n"
         "DLGDLLREMOVE=Remove %FILE%?\r\n";
}

std::string Item(const std::string& fields) { return "\"" + fields + "\r\n"; }

class Removal : public ::testing::Test {
 protected:
  void SetUp() override {
    Uninstall = {};
    install = root / "Apps\\Example Tool";
    record = root / "unregistered.txt";
    SetEnvironmentVariableA("UNREG_RECORD", record.c_str());
    wizard.RequestClose = [this] { ++closeRequests; };
  }

  void TearDown() override {
    for (const auto& name : sharedValues)
      RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, SHARED_DLLS, name.c_str());
    Uninstall = {};
  }

  // The log text with its made-up places moved into the scratch ones, CR LF line ends.
  std::string Localise(std::string text) const {
    TextReplaceAll(text, "\n", "\r\n");
    TextReplaceAll(text, "\xC3\xB7", "\xF7");  // the ÷ of this source file's UTF-8
    TextReplaceAll(text, "C:\\Apps", root / "Apps");
    TextReplaceAll(text, "C:\\Windows", root / "Windows");
    TextReplaceAll(text, "\\Software\\", "\\" + key.Subkey() + "\\");
    return text;
  }

  // Writes the log into the install folder and loads it as the start-up does.
  void LoadLog(const std::string& text) {
    TUninstallState& u = Uninstall;
    u.LogPath = root.Write("Apps\\Example Tool\\install.log", text);
    u.LogText = ReadFileBytes(u.LogPath);
    u.RemoveText = u.LogText;
    KeyTextGet(u.RemoveText, "", "Install path", &SyntaxRaw, u.InstallPath);
    u.OnTestMode = CmdFlag("OnTest") != 0;
    u.TitleText = CmdText("Title");
  }

  // Everything of the log is to be removed (the automatic choice of the wizard).
  void RemoveEverything() {
    Uninstall.RemoveText = Uninstall.LogText;
    Uninstall.KeepText.clear();
    wizard.AllRemoved = true;
  }

  // Installs the files, shortcut and registry values of the example log.
  void InstallExample() {
    root.Write("Apps\\Example Tool\\tool.exe", "MZ tool");
    for (const char* name : {"tool.hlp", "tool.gid", "tool.fts", "tool.ftg"})
      root.Write(std::string("Apps\\Example Tool\\help\\") + name, name);
    Library("RecordingServer.dll", root.MakeDir("Apps\\Example Tool\\plugins") + "\\view.ocx");
    Library("RecordingServer.dll", root.MakeDir("Windows\\System") + "\\common.dll");
    root.Write("Windows\\Start Menu\\Programs\\Example Tool\\Example Tool.lnk", "link");
    SetStringValue(HKEY_CURRENT_USER, Key("Example\\Tool"), "LastFolder", "C:\\");
    SetStringValue(HKEY_LOCAL_MACHINE, Key("Example\\Tool"), "Version", "1.0");
    for (const char* name : {"DisplayName", "UninstallString"})
      SetStringValue(HKEY_LOCAL_MACHINE, Key(UNINSTALL_KEY), name, "x");
    // A value one level above what the removal empties: pruning stops there.
    SetStringValue(HKEY_LOCAL_MACHINE, Key("Microsoft\\Windows"), "Keep", "x");
  }

  void Library(const char* fixture, const std::string& target) const {
    ASSERT_TRUE(CopyFileA((ProgramDir() + "\\" + fixture).c_str(), target.c_str(), FALSE))
        << fixture;
  }

  // A product of one file that the user keeps: the removal must rewrite the log.
  std::string LoadKeepingOneFile() {
    const std::string log = SmallLog(install, Item("Name=" + install + "\\a.txt"));
    root.Write("Apps\\Example Tool\\a.txt", "a");
    LoadLog(log);
    AppendListItem(Uninstall.KeepText, "Files", "Name=" + install + "\\a.txt");
    Uninstall.RemoveText.clear();
    return log;
  }

  std::string Key(const std::string& below) const { return key.Subkey() + "\\" + below; }

  void SetShared(const std::string& path, DWORD count) {
    SetDwordValue(HKEY_LOCAL_MACHINE, SHARED_DLLS, path, count);
    sharedValues.push_back(path);
  }

  std::string Unregistered() const { return ReadFileBytes(record); }

  static constexpr char UNINSTALL_KEY[] =
      "Microsoft\\Windows\\CurrentVersion\\Uninstall\\Example Tool";

  ScratchDir root;
  ScratchKey key;
  ScriptedBoxes boxes;
  TWizardState wizard;
  int closeRequests = 0;
  std::string install;
  std::string record;
  std::vector<std::string> sharedValues;
};

}  // namespace

TEST_F(Removal, ExampleLogEverythingRemoved) {
  InstallExample();
  LoadLog(Localise(EXAMPLE_LOG));
  RemoveEverything();
  RunRemoval(wizard);

  for (const char* file : {"tool.exe", "help\\tool.hlp", "help\\tool.gid", "help\\tool.fts",
                           "help\\tool.ftg", "plugins\\view.ocx", "install.log"})
    EXPECT_FALSE(FileExists(install + "\\" + file)) << file;
  EXPECT_FALSE(FileExists(install)) << "the emptied install folder is pruned";
  EXPECT_TRUE(FileExists(root / "Apps")) << "pruning stops at the install folder";
  EXPECT_FALSE(FileExists(root / "Windows\\System\\common.dll"));
  EXPECT_TRUE(FileExists(root / "Windows\\System")) << "outside the install path: kept";
  EXPECT_FALSE(FileExists(root / "Windows\\Start Menu\\Programs\\Example Tool"));
  EXPECT_TRUE(FileExists(root / "Windows\\Start Menu\\Programs")) << "one level only";
  EXPECT_EQ(Unregistered(), install + "\\plugins\\view.ocx\r\n" + root / "Windows\\System" +
                                "\\common.dll\r\n");

  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, key.Subkey())) << "pruned below Software";
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, "Software"));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, Key("Example")));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, Key("Microsoft\\Windows\\CurrentVersion")));
  EXPECT_TRUE(ValueExists(HKEY_LOCAL_MACHINE, Key("Microsoft\\Windows"), "Keep"));

  EXPECT_EQ(boxes.Texts(), std::vector<std::string>{END_OK});
  EXPECT_EQ(boxes.Shown()[0].Caption, "Remove Example Tool");
  EXPECT_EQ(boxes.Shown()[0].Style, 64u);
  EXPECT_TRUE(wizard.Finished);
  EXPECT_EQ(closeRequests, 1);
}

TEST_F(Removal, PartialRemovalRewritesTheLogWithTheKeptItems) {
  InstallExample();
  const std::string log = Localise(EXAMPLE_LOG);
  LoadLog(log);
  // The selection as the wizard turns it into the two working texts: keep the program and the
  // current user's value, remove the rest.
  const std::string keptFile = "Name=" + install + "\\tool.exe";
  const std::string keptKey =
      "Key=HKEY_CURRENT_USER\\" + Key("Example\\Tool") + "\xF7\xF7Name=LastFolder";
  Uninstall.RemoveText.clear();
  for (const char* file : {"help\\tool.hlp", "plugins\\view.ocx"})
    AppendListItem(Uninstall.RemoveText, "Files", "Name=" + install + "\\" + file);
  AppendListItem(Uninstall.RemoveText, "Registers",
                 "Key=HKEY_LOCAL_MACHINE\\" + Key("Example\\Tool") + "\xF7\xF7Name=Version");
  AppendListItem(Uninstall.KeepText, "Files", keptFile);
  AppendListItem(Uninstall.KeepText, "Registers", keptKey);
  wizard.AllRemoved = false;
  RunRemoval(wizard);

  const std::string rest = log.substr(log.find("\r\n[UNINSTALLREG]"));
  EXPECT_EQ(ReadFileBytes(Uninstall.LogPath), "\r\n[UNINSTALL]\r\nFiles=\r\n\"" + keptFile +
                                                  "\r\nRegisters=\r\n\"" + keptKey + "\r\n" +
                                                  rest);
  EXPECT_TRUE(IsReadOnly(Uninstall.LogPath)) << "created anew";
  EXPECT_FALSE(FileExists(Uninstall.LogPath + ".new"));
  EXPECT_TRUE(FileExists(install + "\\tool.exe"));
  EXPECT_FALSE(FileExists(install + "\\help\\tool.hlp"));
  EXPECT_FALSE(FileExists(install + "\\help")) << "emptied folders below the install path go";
  EXPECT_TRUE(FileExists(root / "Windows\\System\\common.dll")) << "not selected";
  EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, Key("Example\\Tool"), "LastFolder"));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, Key("Example")));
  EXPECT_TRUE(ValueExists(HKEY_LOCAL_MACHINE, Key(UNINSTALL_KEY), "DisplayName"))
      << "removed only with everything";
  EXPECT_TRUE(FileExists(root / "Windows\\Start Menu\\Programs\\Example Tool\\Example Tool.lnk"));
  EXPECT_EQ(boxes.Texts(), std::vector<std::string>{END_KEPT});
}

TEST_F(Removal, SharedFilesFollowTheirUseCounts) {
  struct Case {
    const char* name;
    long long count;  // -1: not shared
    bool deleted;
    long long countAfter;
  };
  // The three libraries are servers: only the one that is removed is unregistered.
  const Case cases[] = {
      {"three.dll", 3, false, 2}, {"yes.dll", 1, true, -1}, {"no.dll", 1, false, 1},
      {"none.dat", -1, true, -1}, {"zero.dat", 0, true, 0},
  };
  std::string files;
  for (const auto& c : cases) {
    const std::string dir = root.MakeDir(std::string("Apps\\Example Tool\\in ") + c.name);
    const std::string path = dir + "\\" + c.name;
    if (std::string(c.name).ends_with(".dll"))
      Library("RecordingServer.dll", path);
    else
      root.Write(std::string("Apps\\Example Tool\\in ") + c.name + "\\" + c.name, "bytes");
    if (c.count >= 0) SetShared(path, static_cast<DWORD>(c.count));
    files += Item("Name=" + path);
  }
  LoadLog(SmallLog(install, files));
  RemoveEverything();
  boxes.Answer({IDYES, IDNO});
  RunRemoval(wizard);

  for (const auto& c : cases) {
    const std::string dir = install + "\\in " + c.name;
    const std::string path = dir + "\\" + c.name;
    EXPECT_EQ(FileExists(path), !c.deleted) << c.name;
    EXPECT_EQ(FileExists(dir), !c.deleted) << c.name << ": a folder that keeps its file stays";
    EXPECT_EQ(DwordValue(HKEY_LOCAL_MACHINE, SHARED_DLLS, path), c.countAfter) << c.name;
  }
  EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{"Remove yes.dll?", "Remove no.dll?", "done"}));
  EXPECT_TRUE(boxes.AllAnswersUsed());
  EXPECT_EQ(Unregistered(), install + "\\in yes.dll\\yes.dll\r\n");
}

TEST_F(Removal, ComServersAreUnregisteredAndAlwaysDeleted) {
  const std::string dir = root.MakeDir("Apps\\Example Tool\\servers");
  Library("RecordingServer.dll", dir + "\\records.dll");
  Library("PlainLibrary.dll", dir + "\\plain.dll");
  Library("CrashingServer.dll", dir + "\\crashes.ocx");
  Library("SelfHandlingServer.dll", dir + "\\handles.dll");
  Library("RecordingServer.dll", dir + "\\Viewer.OCX");
  root.Write("Apps\\Example Tool\\servers\\broken.ocx", "not a library at all");
  root.Write("Apps\\Example Tool\\servers\\records.dat", "not a server by its name");
  std::string files;
  for (const char* name :
       {"records.dll", "plain.dll", "crashes.ocx", "handles.dll", "Viewer.OCX", "broken.ocx",
        "records.dat"})
    files += Item("Name=" + dir + "\\" + name);
  LoadLog(SmallLog(install, files));
  RemoveEverything();
  RunRemoval(wizard);

  // A fault the server handles itself does not end its unregistration; one it does not
  // handle ends only that call.
  EXPECT_EQ(Unregistered(), dir + "\\records.dll\r\n" + dir + "\\handles.dll\r\n" + dir +
                                "\\Viewer.OCX\r\n");
  EXPECT_FALSE(FileExists(install)) << "every file was deleted, so every folder went";
  EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"done"});
  EXPECT_TRUE(wizard.Finished);
}

TEST_F(Removal, FilesFoldersAndShortcuts) {
  const std::string guide = root.Write("Apps\\Example Tool\\Guide.HLP", "help");
  for (const char* companion : {"Guide.gid", "Guide.fts", "Guide.ftg"})
    root.Write(std::string("Apps\\Example Tool\\") + companion, companion);
  const std::string other = root.Write("Apps\\Example Tool\\Other.gid", "not a companion");
  const std::string readOnly = root.Write("Apps\\Example Tool\\ro\\locked.txt", "r/o");
  SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
  const std::string held = root.Write("Apps\\Example Tool\\held\\held.txt", "open");
  SetFileAttributesA(held.c_str(), FILE_ATTRIBUTE_READONLY);
  const std::string outside = root.Write("Elsewhere\\deep\\outside.txt", "x");
  const std::string link = root.Write("Menu\\Programs\\Tool\\Tool.lnk", "link");
  const std::string nearby = root.Write("Apps\\Example Tool\\Near.lnk", "not named in full");
  std::string files = Item("Name=" + guide) + Item("Name=" + readOnly) + Item("Name=" + held) +
                      Item("Name=" + outside) +
                      Item("Size=3\xF7\xF7Other=" + other)  // no "Name"
                      + Item("Name=Other.gid")              // not a full path
                      + Item(other);                        // a bare path: no fields at all
  const std::string links =
      Item("Name=" + link) + Item("Name=Near.lnk") + Item("Target=" + nearby);
  LoadLog(SmallLog(install, files, links));
  RemoveEverything();
  HANDLE holder = CreateFileA(held.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  // Relative names would find their files from here.
  char former[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, former);
  SetCurrentDirectoryA(install.c_str());
  RunRemoval(wizard);
  SetCurrentDirectoryA(former);
  CloseHandle(holder);

  for (const char* gone : {"Guide.HLP", "Guide.gid", "Guide.fts", "Guide.ftg", "ro"})
    EXPECT_FALSE(FileExists(install + "\\" + gone)) << gone;
  EXPECT_TRUE(FileExists(other)) << "skipped items delete nothing";
  EXPECT_TRUE(FileExists(nearby)) << "skipped shortcuts delete nothing";
  EXPECT_TRUE(FileExists(held)) << "held open by another handle";
  EXPECT_TRUE(IsReadOnly(held)) << "gets its former attributes back";
  EXPECT_FALSE(FileExists(outside));
  EXPECT_TRUE(FileExists(root / "Elsewhere\\deep")) << "not below the install path";
  EXPECT_FALSE(FileExists(link));
  EXPECT_FALSE(FileExists(root / "Menu\\Programs\\Tool"));
  EXPECT_TRUE(FileExists(root / "Menu\\Programs")) << "its parent is not tried";
  EXPECT_TRUE(FileExists(install)) << "still holds a file";
}

TEST_F(Removal, RegistryValuesAndEmptiedKeys) {
  const std::string hkcu = "HKEY_CURRENT_USER\\";
  SetStringValue(HKEY_CURRENT_USER, Key("A\\B\\C"), "one", "1");
  SetStringValue(HKEY_CURRENT_USER, Key("A\\B\\C"), "two", "2");
  SetStringValue(HKEY_CURRENT_USER, Key("A\\B\\C"), "", "default");
  SetStringValue(HKEY_CURRENT_USER, Key("A"), "stays", "x");
  SetStringValue(HKEY_CURRENT_USER, Key("D"), "", "default only");
  SetStringValue(HKEY_CURRENT_USER, Key("E"), "kept", "x");
  const std::string registers =
      Item("Key=" + hkcu + Key("A\\B\\C") + "\xF7\xF7Name=one") +
      Item("Key=" + hkcu + Key("a\\b\\c") + "\xF7\xF7Name=two") +
      Item("Key=" + hkcu + Key("A\\B\\C") + "\xF7\xF7Name=") +  // the default value
      Item("Key=" + hkcu + Key("D")) +                           // no "Name": default value
      Item("Key=HKEY_NOWHERE\\" + Key("E") + "\xF7\xF7Name=kept") +
      Item("Key=HKCU\\" + Key("E") + "\xF7\xF7Name=kept") +
      Item("Key=HKEY_CURRENT_USER\xF7\xF7Name=kept");
  LoadLog(SmallLog(install, "", "", registers));
  RemoveEverything();
  RunRemoval(wizard);

  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, Key("A\\B"))) << "emptied, then its parent";
  EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, Key("A"), "stays"));
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, Key("D")));
  EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, Key("E"), "kept")) << "unknown roots are skipped";
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, key.Subkey())) << "still holds A and E";
}

TEST_F(Removal, TestModeTouchesNothing) {
  InstallExample();
  std::string log = Localise(EXAMPLE_LOG);
  TextReplaceAll(log, "OnTest=0", "OnTest=1");
  for (const bool everything : {true, false}) {
    LoadLog(log);
    ASSERT_TRUE(Uninstall.OnTestMode);
    RemoveEverything();
    wizard.AllRemoved = everything;
    RunRemoval(wizard);
    EXPECT_EQ(ReadFileBytes(Uninstall.LogPath), log);
    EXPECT_FALSE(IsReadOnly(Uninstall.LogPath));
  }
  EXPECT_TRUE(FileExists(install + "\\tool.exe"));
  EXPECT_TRUE(FileExists(root / "Windows\\Start Menu\\Programs\\Example Tool\\Example Tool.lnk"));
  EXPECT_TRUE(ValueExists(HKEY_LOCAL_MACHINE, Key(UNINSTALL_KEY), "DisplayName"));
  EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, Key("Example\\Tool"), "LastFolder"));
  EXPECT_FALSE(FileExists(record)) << "nothing unregistered";
  EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{END_OK, END_KEPT}));
  EXPECT_EQ(closeRequests, 2);
}

TEST_F(Removal, ALogThatCannotBeRewrittenStaysAsItWas) {
  const std::string log = LoadKeepingOneFile();
  // Folders in every place the new log could be written to.
  root.MakeDir("Apps\\Example Tool\\install.log.new");
  for (int n = 1; n < 10; ++n)
    root.MakeDir("Apps\\Example Tool\\install.log.new" + std::to_string(n));
  RunRemoval(wizard);
  EXPECT_EQ(ReadFileBytes(Uninstall.LogPath), log);
  EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"kept"});
}

TEST_F(Removal, AFileWhereTheNewLogWouldGoIsLeftAlone) {
  LoadKeepingOneFile();
  const std::string other = root.Write("Apps\\Example Tool\\install.log.new", "somebody's");
  RunRemoval(wizard);
  EXPECT_EQ(ReadFileBytes(other), "somebody's");
  EXPECT_EQ(ReadFileBytes(Uninstall.LogPath), Uninstall.LogText);
  EXPECT_TRUE(IsReadOnly(Uninstall.LogPath));
  EXPECT_FALSE(FileExists(Uninstall.LogPath + ".new1")) << "it took the log's place";
}

TEST_F(Removal, ALogThatCannotBeDeletedIsOverwrittenInPlace) {
  const std::string log = LoadKeepingOneFile();
  HANDLE reader = CreateFileA(Uninstall.LogPath.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                              nullptr);
  ASSERT_NE(reader, INVALID_HANDLE_VALUE);
  RunRemoval(wizard);
  CloseHandle(reader);
  const std::string expected = Uninstall.LogText;
  EXPECT_EQ(ReadFileBytes(Uninstall.LogPath), expected);
  EXPECT_NE(expected, log);
  EXPECT_FALSE(IsReadOnly(Uninstall.LogPath)) << "an existing file keeps its attributes";
  EXPECT_FALSE(FileExists(Uninstall.LogPath + ".new"));
}
