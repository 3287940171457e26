// The command line split by asking the real file system, directly and through a child
// process started with that line; and the existence test behind it.
#include <gtest/gtest.h>

#include "Probes.h"
#include "system/FilesUt.h"

namespace {

// A command line and what it splits into. <E> stands for the program's path, an existing
// file with blanks in its path ('<P>\Prog Files\X\unins.exe'), <L> for a log path beside it,
// <P> for the scratch folder, in which the file 'Prog' exists too: the scan has to go on past
// that shorter existing candidate.
struct LineCase {
  const char* line;
  const char* program;
  const char* parameter;
};

constexpr LineCase LINE_CASES[] = {
    {"\"<E>\" <L>", "<E>", "<L>"},
    {"<E> <L>", "<E>", "<L>"},
    {"  \"<E>\"  <L>", "<E>", "<L>"},
    {"\"<E>\" \"<L>\"", "<E>", "<L>\""},  // the closing quote stays
    {"<E> <L>  ", "<E>", "<L>  "},        // trailing blanks stay
    {"\"<E>\"C:\\a.log", "<E>", "C:\\a.log"},
    {"<E> C:\\a.log", "<E>", "C:\\a.log"},
    {"\"<E>\"", "<E>", ""},
    {"\"<E>\"   ", "<E>", ""},
    {"<E>", "<E>", ""},
    {"<E>   ", "<E>", ""},  // the path does not take the blanks along
    {"<E>  <L>", "<E>", "<L>"},
    // The first failing candidate after a success ends the path, and a directory is no file.
    {"<P>\\Prog Files\\X\\missing.exe x", "<P>\\Prog", "Files\\X\\missing.exe x"},
    {"<P>\\Prog Files", "<P>\\Prog", "Files"},
    // No leading part names a file: 'unins.exe' is not in the current folder.
    {"unins.exe C:\\a.log", "", ""},
    {"\" \" ", "", ""},
};

void ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
}

// The helper program, built beside this test program.
std::string ProbePath() { return ProgramDir() + "\\ParamProbe.exe"; }

struct ProbeReport {
  bool ran = false;
  std::string program, parameter;
};

// Starts exe with commandLine in directory and collects what it reports on its output.
ProbeReport RunProbe(const std::string& exe, const std::string& commandLine,
                     const std::string& directory) {
  ProbeReport report;
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return report;
  KernelHandle output(readEnd), childOutput(writeEnd);
  SetHandleInformation(output.Get(), HANDLE_FLAG_INHERIT, 0);

  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = childOutput.Get();
  startup.hStdError = childOutput.Get();
  std::string line = commandLine;  // CreateProcessA may write to it
  PROCESS_INFORMATION started{};
  if (!CreateProcessA(exe.c_str(), line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                      nullptr, directory.c_str(), &startup, &started)) {
    return report;
  }
  const KernelHandle process(started.hProcess), thread(started.hThread);
  childOutput.Close();  // so that reading ends when the child has gone

  std::string bytes;
  char buffer[1024];
  DWORD got = 0;
  while (ReadFile(output.Get(), buffer, sizeof buffer, &got, nullptr) && got) {
    bytes.append(buffer, got);
  }
  DWORD exitCode = 1;
  report.ran = WaitForSingleObject(process.Get(), 30000) == WAIT_OBJECT_0 &&
               GetExitCodeProcess(process.Get(), &exitCode) && exitCode == 0;
  const size_t zero = bytes.find('\0');
  report.ran = report.ran && zero != std::string::npos;
  if (report.ran) {
    report.program = bytes.substr(0, zero);
    report.parameter = bytes.substr(zero + 1);
  }
  return report;
}

class CommandLine : public testing::Test {
 protected:
  void SetUp() override {
    program_ = scratch_.MakeDir("Prog Files\\X") + "\\unins.exe";
    ASSERT_TRUE(CopyFileA(ProbePath().c_str(), program_.c_str(), TRUE)) << ProbePath();
    scratch_.Write("Prog", "");
  }

  std::string Expand(std::string_view pattern) const {
    std::string text(pattern);
    ReplaceAll(text, "<E>", program_);
    ReplaceAll(text, "<L>", scratch_ / "Prog Files\\X\\install.log");
    ReplaceAll(text, "<P>", scratch_.Path());
    return text;
  }

  ScratchDir scratch_;
  std::string program_;
};

TEST_F(CommandLine, SplitCommandLineAsksTheFileSystem) {
  for (const LineCase& c : LINE_CASES) {
    const std::string line = Expand(c.line);
    std::string program = "old", parameter = "old";
    SplitCommandLine(line, program, parameter);
    EXPECT_EQ(program, Expand(c.program)) << line;
    EXPECT_EQ(parameter, Expand(c.parameter)) << line;
  }
}

TEST_F(CommandLine, SplitCommandLineEmptyLineAndOutputsViewingTheLine) {
  std::string program = "old", parameter = "old";
  SplitCommandLine("", program, parameter);
  EXPECT_EQ(program, "");
  EXPECT_EQ(parameter, "");

  // The line may be one of the output variables.
  parameter = Expand("\"<E>\" <L>");
  SplitCommandLine(parameter, program, parameter);
  EXPECT_EQ(program, program_);
  EXPECT_EQ(parameter, Expand("<L>"));
}

TEST_F(CommandLine, GetParametersInAChildProcess) {
  for (const LineCase& c : LINE_CASES) {
    const std::string line = Expand(c.line);
    const ProbeReport report = RunProbe(program_, line, scratch_.Path());
    ASSERT_TRUE(report.ran) << line;
    EXPECT_EQ(report.program, Expand(c.program)) << line;
    EXPECT_EQ(report.parameter, Expand(c.parameter)) << line;
  }
}

TEST(FileExistsAttr, AcceptsFilesOfEveryKindAndRejectsDirectories) {
  const ScratchDir scratch;
  const std::string plain = scratch.Write("plain.txt", "x");
  const std::string readOnly =
      WriteWithAttributes(scratch, "ro.txt", "x", FILE_ATTRIBUTE_READONLY);
  const std::string dir = scratch.MakeDir("dir");
  const struct {
    std::string path;
    uint32_t mask;
    bool found;
  } cases[] = {
      {plain, FA_ANYFILE, true},
      {readOnly, FA_ANYFILE, true},
      {readOnly, FILE_ATTRIBUTE_READONLY, true},
      {plain, FILE_ATTRIBUTE_READONLY, false},
      {dir, FA_ANYFILE, false},
      {dir, FILE_ATTRIBUTE_DIRECTORY, true},
      {scratch / "missing.txt", FA_ANYFILE, false},
      {"", FA_ANYFILE, false},
      {plain + std::string(1, '\0') + "more", FA_ANYFILE, false},  // never cut at the zero
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FileExistsAttr(c.path, c.mask), c.found) << c.path << " mask " << c.mask;
  }
}

}  // namespace
