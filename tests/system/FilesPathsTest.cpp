// Taking paths apart, and pruning real chains of directories.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "Probes.h"
#include "system/FilesUt.h"

namespace {

struct PartCase {
  std::string_view path;
  std::string_view part;
};

TEST(FileNamePart, TakesTheValidNameAfterTheLastSeparator) {
  const PartCase cases[] = {
      {"C:\\x\\a.dll", "a.dll"},
      {"C:/x/a.dll", "a.dll"},
      {"C:\\x/y\\a.dll", "a.dll"},
      {"a.dll", "a.dll"},
      {"C:\\x\\ a b ", " a b "},
      {"C:\\x\\a?.dll", ""},
      {"C:\\x\\...", ""},
      {"C:\\x\\", ""},
      {"C:a.dll", ""},  // the drive's colon stays in the name
      {"", ""},
  };
  for (const PartCase& c : cases) {
    std::string name = "old";
    EXPECT_EQ(FileNamePart(c.path, name), c.part) << c.path;
  }
}

TEST(IsValidFileName, RefusesEmptyControlReservedAndDotsOnly) {
  const struct {
    std::string_view name;
    bool valid;
  } cases[] = {
      {"a", true},       {".a", true},      {"a b.c", true},   {"\xA7\x7F", true},
      {"", false},       {".", false},      {"..", false},     {" . ", false},
      {"a\x1F", false},  {"a\tb", false},   {std::string_view("a\0b", 3), false},
      {"a<", false},     {"a>", false},     {"a/", false},     {"a|", false},
      {"a\"", false},    {"a*", false},     {"a?", false},     {"a:", false},
      {"a\\", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsValidFileName(c.name), c.valid) << c.name;
}

TEST(DirectoryPart, CutsAtTheLastBackslashOrColon) {
  const PartCase cases[] = {
      {"C:\\Apps\\a.exe", "C:\\Apps"},
      {"C:\\a.exe", "C:\\"},
      {"C:a.exe", "C:"},
      {"a.exe", ""},
      {"C:\\Apps\\", "C:\\Apps"},
      {"C:\\Apps\\\\a.exe", "C:\\Apps\\\\"},
      {"\\\\srv\\share\\a.exe", "\\\\srv\\share"},
      {"\\a.exe", "\\"},
      {"C:/x/a.exe", "C:"},  // '/' does not separate
      {"", ""},
  };
  for (const PartCase& c : cases) {
    std::string dir = "old";
    EXPECT_EQ(DirectoryPart(c.path, dir), c.part) << c.path;
  }
}

// A prune on a fresh folder R: the directories (and files) made first, the two arguments
// (<R> stands for R, <r> for R in lower case), and the directories that must be gone
// afterwards; every other directory made must remain, and R itself always remains.
struct PruneCase {
  std::vector<std::string> dirs;
  std::vector<std::string> files;
  std::string directory, stop;
  std::vector<std::string> gone;
};

const PruneCase PRUNE_CASES[] = {
    {{"P\\a\\b"}, {}, "<R>\\P\\a\\b", "<R>\\P", {"P\\a\\b", "P\\a", "P"}},
    {{"P\\a\\b"}, {}, "<R>\\P\\a\\b\\", "<R>\\P\\\\", {"P\\a\\b", "P\\a", "P"}},
    {{"P\\a\\b"}, {}, "<R>\\P\\a\\b\\ ", "<R>\\P", {"P\\a\\b", "P\\a", "P"}},
    {{"P\\a\\b"}, {}, "<R>\\P\\a\\b", "<r>\\p", {}},  // the prefix test is exact
    {{"P", "Q"}, {}, "<R>\\Q", "<R>\\P", {}},
    {{"P"}, {}, "<R>\\P", "<R>\\P", {"P"}},  // only P is tried: R, now empty, stays
    {{"P", "PX\\a"}, {}, "<R>\\PX\\a", "<R>\\P", {}},  // PX does not lie below P
    {{"P\\a\\b"}, {"P\\a\\f.txt"}, "<R>\\P\\a\\b", "<R>\\P", {"P\\a\\b"}},
    {{"P\\a\\b", "P\\c"}, {}, "<R>\\P\\a\\b", "<R>\\P", {"P\\a\\b", "P\\a"}},
    {{"P\\a\\b"}, {}, "<R>\\P\\a\\b", "<R>\\P\\a\\b", {"P\\a\\b"}},
    {{"P\\a"}, {}, std::string("<R>\\P\\a") + '\0', "<R>\\P", {}},  // never cut at the zero
    {{"P\\a", "X"}, {}, "<R>\\P\\a\\..\\..\\X", "<R>\\P", {}},  // resolves outside P
    {{"P\\a", "X"}, {}, "<R>\\P\\a/../../X", "<R>\\P", {}},
    {{"P\\a"}, {}, "<R>\\P\\a\\.", "<R>\\P", {}},
};

// "P\\a\\b" gives "P\\a\\b", "P\\a", "P".
std::vector<std::string> SelfAndParents(std::string dir) {
  std::vector<std::string> all{dir};
  for (size_t at = dir.rfind('\\'); at != std::string::npos; at = dir.rfind('\\')) {
    dir.resize(at);
    all.push_back(dir);
  }
  return all;
}

std::string ToLower(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

std::string Fill(std::string pattern, const std::string& root) {
  for (const auto& [mark, text] : {std::pair{"<R>", root}, std::pair{"<r>", ToLower(root)}}) {
    for (size_t at = pattern.find(mark); at != std::string::npos; at = pattern.find(mark)) {
      pattern.replace(at, 3, text);
    }
  }
  return pattern;
}

TEST(PruneDirectories, RemovesEmptiedDirectoriesUpToTheStop) {
  const ScratchDir scratch;
  int number = 0;
  for (const PruneCase& c : PRUNE_CASES) {
    const std::string row = "row " + std::to_string(++number);
    const std::string root = scratch.MakeDir(row);
    for (const std::string& dir : c.dirs) scratch.MakeDir(row + '\\' + dir);
    for (const std::string& file : c.files) scratch.Write(row + '\\' + file, "x");

    PruneDirectories(Fill(c.directory, root), Fill(c.stop, root));

    EXPECT_TRUE(FileExists(root)) << row;
    for (const std::string& made : c.dirs) {
      for (const std::string& dir : SelfAndParents(made)) {
        const bool gone = std::find(c.gone.begin(), c.gone.end(), dir) != c.gone.end();
        EXPECT_EQ(FileExists(root + '\\' + dir), !gone) << row << ": " << dir;
      }
    }
  }
}

TEST(PruneDirectories, WithoutStopTheWalkGoesToTheTop) {
  // A relative path keeps the walk inside the scratch folder: it ends after 'P'.
  const ScratchDir scratch;
  scratch.MakeDir("P\\a");
  scratch.MakeDir("keep");
  char former[MAX_PATH + 1] = {};
  GetCurrentDirectoryA(MAX_PATH, former);
  ASSERT_TRUE(SetCurrentDirectoryA(scratch.Path().c_str()));
  PruneDirectories("P\\a", "");
  SetCurrentDirectoryA(former);
  EXPECT_FALSE(FileExists(scratch / "P"));
  EXPECT_TRUE(FileExists(scratch / "keep"));
}

}  // namespace
