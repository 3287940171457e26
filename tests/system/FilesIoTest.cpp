// Mode words, whole-file reading and writing, and forced deletion on real files.
#include <gtest/gtest.h>

#include "Probes.h"
#include "system/FilesUt.h"

namespace {

TEST(DecodeFileMode, EachBitReachesItsArgument) {
  constexpr DWORD NORMAL = FILE_ATTRIBUTE_NORMAL;
  const struct {
    uint32_t mode;
    TFile_OpenArgs args;
  } cases[] = {
      {0, {0, 0, OPEN_EXISTING, NORMAL}},
      {FM_LOGREAD, {GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, NORMAL}},
      {FM_LOGWRITE,
       {GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_ALWAYS,
        NORMAL | FILE_ATTRIBUTE_READONLY}},
      {FM_CREATENEW | FM_OPENALWAYS, {0, 0, CREATE_NEW, NORMAL}},
      {FM_ARCHIVE | FM_HIDDEN | FM_SYSTEM,
       {0, 0, OPEN_EXISTING,
        NORMAL | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM}},
      {0x400, {0, 0, OPEN_EXISTING, NORMAL | 0x04000000}},                  // bit 10 -> 26
      {0x8000 | FM_WRITE, {GENERIC_WRITE, 0, OPEN_EXISTING, NORMAL | FILE_FLAG_WRITE_THROUGH}},
      {0xFFFF0000, {0, 0, OPEN_EXISTING, NORMAL}},                          // no meaning
  };
  for (const auto& c : cases) {
    const TFile_OpenArgs args = DecodeFileMode(c.mode);
    EXPECT_EQ(args.Access, c.args.Access) << std::hex << c.mode;
    EXPECT_EQ(args.Share, c.args.Share) << std::hex << c.mode;
    EXPECT_EQ(args.Disposition, c.args.Disposition) << std::hex << c.mode;
    EXPECT_EQ(args.FlagsAndAttributes, c.args.FlagsAndAttributes) << std::hex << c.mode;
  }
}

// Every byte value, zeros included.
std::string AllBytes() {
  std::string bytes;
  for (int i = 0; i < 256; ++i) bytes += static_cast<char>(i);
  return bytes;
}

TEST(WholeFile, LogModeCreatesANewFileReadOnly) {
  const ScratchDir scratch;
  const std::string path = scratch / "new.log";
  EXPECT_TRUE(WriteWholeFile(path, AllBytes(), FM_LOGWRITE));
  EXPECT_EQ(ReadFileBytes(path), AllBytes());
  EXPECT_TRUE(Attributes(path) & FILE_ATTRIBUTE_READONLY);

  std::string text = "old";
  EXPECT_EQ(ReadWholeFile(path, FM_LOGREAD, text), AllBytes());
  EXPECT_EQ(text, AllBytes());
}

TEST(WholeFile, LogModeOverwritesAndShortensAnExistingFile) {
  const ScratchDir scratch;
  const std::string path = scratch.Write("old.log", "a much longer former content");
  EXPECT_TRUE(WriteWholeFile(path, "short", FM_LOGWRITE));
  EXPECT_EQ(ReadFileBytes(path), "short");
  EXPECT_FALSE(Attributes(path) & FILE_ATTRIBUTE_READONLY);

  EXPECT_TRUE(WriteWholeFile(path, "", FM_LOGWRITE));
  EXPECT_EQ(ReadFileBytes(path), "");
  EXPECT_TRUE(FileExists(path));
}

TEST(WholeFile, WritingReportsEveryFailure) {
  const ScratchDir scratch;
  const std::string path = scratch.Write("kept.log", "former");
  // Opened, but not for writing: nothing written, nothing cut.
  EXPECT_FALSE(WriteWholeFile(path, "new", FM_LOGREAD));
  EXPECT_EQ(ReadFileBytes(path), "former");
  // Not opened: an existing file with FM_CREATENEW, a missing one without FM_OPENALWAYS, a
  // missing folder, a path with a zero byte.
  EXPECT_FALSE(WriteWholeFile(path, "new", FM_WRITE | FM_CREATENEW));
  EXPECT_FALSE(WriteWholeFile(scratch / "missing.log", "new", FM_WRITE));
  EXPECT_FALSE(FileExists(scratch / "missing.log"));
  EXPECT_FALSE(WriteWholeFile(scratch / "no such dir\\a.log", "new", FM_LOGWRITE));
  EXPECT_FALSE(WriteWholeFile(path + std::string(1, '\0') + "x", "new", FM_LOGWRITE));
  EXPECT_EQ(ReadFileBytes(path), "former");
  // Held open by another handle that shares nothing.
  const KernelHandle holder(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                        0, nullptr));
  ASSERT_TRUE(holder.IsOpen());
  EXPECT_FALSE(WriteWholeFile(path, "new", FM_LOGWRITE));
  std::string text = "old";
  EXPECT_EQ(ReadWholeFile(path, FM_LOGREAD, text), "");
}

TEST(WholeFile, ReadingGivesOnlyTheBytesRead) {
  const ScratchDir scratch;
  const std::string path = scratch.Write("a.log", "content");
  std::string text = "old";
  EXPECT_EQ(ReadWholeFile(scratch / "missing.log", FM_LOGREAD, text), "");
  // Opened without read access: the size is known but nothing can be read.
  text = "old";
  EXPECT_EQ(ReadWholeFile(path, FM_SHAREREAD, text), "");
  // The path may be the text variable itself.
  text = path;
  EXPECT_EQ(ReadWholeFile(text, FM_LOGREAD, text), "content");
  EXPECT_EQ(ReadWholeFile(scratch.Write("empty.log", ""), FM_LOGREAD, text), "");
}

TEST(WholeFile, NoHandleIsLeftOpen) {
  const ScratchDir scratch;
  const std::string path = scratch.Write("a.log", "content");
  const std::string readOnly =
      WriteWithAttributes(scratch, "ro.log", "content", FILE_ATTRIBUTE_READONLY);
  std::string text;
  const auto everything = [&] {
    ReadWholeFile(path, FM_LOGREAD, text);
    ReadWholeFile(path, FM_SHAREREAD, text);
    ReadWholeFile(scratch / "missing", FM_LOGREAD, text);
    WriteWholeFile(path, "content", FM_LOGWRITE);
    WriteWholeFile(path, "content", FM_LOGREAD);
    WriteWholeFile(readOnly, "content", FM_LOGWRITE);
    FileExistsAttr(path, FA_ANYFILE);
    FileExistsAttr(scratch / "missing", FA_ANYFILE);
  };
  everything();  // the system's own first-use handles
  const DWORD before = HandleCount();
  for (int i = 0; i < 20; ++i) everything();
  EXPECT_EQ(HandleCount(), before);
}

TEST(DeleteFileForced, DeletesFilesOfEveryAttribute) {
  const ScratchDir scratch;
  const struct {
    const char* name;
    DWORD attributes;
  } cases[] = {
      {"plain.txt", 0},
      {"ro.txt", FILE_ATTRIBUTE_READONLY},
      {"ro-archive.txt", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE},
  };
  for (const auto& c : cases) {
    const std::string path = WriteWithAttributes(scratch, c.name, "x", c.attributes);
    EXPECT_TRUE(DeleteFileForced(path)) << c.name;
    EXPECT_FALSE(FileExists(path)) << c.name;
  }
}

TEST(DeleteFileForced, RefusesWhatIsNoFileAndChangesNothing) {
  const ScratchDir scratch;
  const std::string dir = scratch.MakeDir("dir");
  SetFileAttributesA(dir.c_str(), FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY);
  const DWORD dirAttributes = Attributes(dir);
  const std::string file = WriteWithAttributes(scratch, "file.txt", "x", FILE_ATTRIBUTE_READONLY);

  EXPECT_FALSE(DeleteFileForced(dir));
  EXPECT_EQ(Attributes(dir), dirAttributes);
  EXPECT_FALSE(DeleteFileForced(scratch / "missing.txt"));
  EXPECT_FALSE(DeleteFileForced(""));
  // A zero byte would cut the path to that of the file in front of it.
  EXPECT_FALSE(DeleteFileForced(file + std::string(1, '\0') + ".bak"));
  EXPECT_EQ(ReadFileBytes(file), "x");
  SetFileAttributesA(dir.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(DeleteFileForced, AFileHeldOpenKeepsItsAttributes) {
  const ScratchDir scratch;
  const std::string path = WriteWithAttributes(scratch, "held.txt", "x", FILE_ATTRIBUTE_READONLY);
  const DWORD former = Attributes(path);
  {
    const KernelHandle holder(CreateFileA(path.c_str(), GENERIC_READ,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                          OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder.IsOpen());
    EXPECT_FALSE(DeleteFileForced(path));
    EXPECT_TRUE(FileExists(path));
    EXPECT_EQ(Attributes(path), former);
  }
  EXPECT_TRUE(DeleteFileForced(path));
  EXPECT_FALSE(FileExists(path));
}

}  // namespace
