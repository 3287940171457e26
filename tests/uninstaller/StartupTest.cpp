// The program's start-up, run in a child process with a chosen command line.
#include <gtest/gtest.h>

#include "support/Scratch.h"

namespace {

class Startup : public ::testing::Test {
 protected:
  void SetUp() override {
    CreateDirectoryA((scratch / "Prog Files").c_str(), nullptr);
    CreateDirectoryA((scratch / "Prog Files\\X").c_str(), nullptr);
    program = scratch / "Prog Files\\X\\unins.exe";
    ASSERT_TRUE(CopyFileA((ProgramDir() + "\\StartupProbe.exe").c_str(), program.c_str(), FALSE));
  }

  // Runs the copied probe with the command line and returns what it wrote.
  std::string Run(const std::string& commandLine) {
    const std::string outPath = scratch / "probe.txt";
    SetEnvironmentVariableA("PROBE_OUT", outPath.c_str());
    std::string line = commandLine;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process)) {
      ADD_FAILURE() << "could not start the probe";
      return {};
    }
    EXPECT_EQ(WaitForSingleObject(process.hProcess, 30000), WAIT_OBJECT_0);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return ReadFileBytes(outPath);
  }

  static std::string MissingLogBox(const std::string& path) {
    return "box 16 [Error!] [The installation file log:\r\n" + path +
           "\r\nis not found! The uninstall program will not run.]\n";
  }

  ScratchDir scratch;
  std::string program;
};

}  // namespace

TEST_F(Startup, NoLogArgument) {
  const std::string out = Run("\"" + program + "\"");
  EXPECT_NE(out.find("LogPath []\n"), std::string::npos) << out;
  EXPECT_NE(out.find(MissingLogBox("")), std::string::npos) << out;
}

TEST_F(Startup, MissingLog) {
  const std::string log = scratch / "missing.log";
  const std::string out = Run("\"" + program + "\" " + log);
  EXPECT_NE(out.find(MissingLogBox(log)), std::string::npos) << out;
}

TEST_F(Startup, QuotedLogPathKeepsItsClosingQuote) {
  const std::string log = scratch.Write("install.log", "[UNINSTALLCMD]\r\nTitle=T\r\n");
  const std::string out = Run("\"" + program + "\" \"" + log + "\"");
  EXPECT_NE(out.find("LogPath [" + log + "\"]"), std::string::npos) << out;
  EXPECT_NE(out.find(MissingLogBox(log + "\"")), std::string::npos) << out;
}

TEST_F(Startup, EmptyLogIsReportedAsMissing) {
  const std::string log = scratch.Write("empty.log", "");
  const std::string out = Run(program + " " + log);
  EXPECT_NE(out.find(MissingLogBox(log)), std::string::npos) << out;
}

TEST_F(Startup, PresentLogIsLoaded) {
  const std::string text =
      "[UNINSTALL]\r\nFiles=\r\n\r\n[Other]\r\nInstall path= C:\\Apps\\Tool \r\n"
      "[UNINSTALLCMD]\r\nOnTest=$10\r\nCustomUninstall=yes\r\n"
      "UNBTNNEXT=Next >\r\nUNBTNSTART=|#83tart\r\n";
  const std::string log = scratch.Write("with blanks.log", text);
  const std::string out = Run(program + "   " + log);
  EXPECT_EQ(out, "LogPath [" + log + "]\nLogText " + std::to_string(text.size()) +
                     " bytes\nInstallPath [ C:\\Apps\\Tool ]\nOnTestMode 1 CustomMode 0\n"
                     "Captions [Next >] [Start]\n");
}
