// The log's item lists as the removal and the wizard walk them, the display form of items,
// and the collected list.
#include <gtest/gtest.h>

#include <vector>

#include "text/Strut.h"
#include "uninstaller/Uuninst.h"

namespace {

const std::string SEP(1, ITEM_SEP);

std::string Joined(const std::vector<std::string>& items) {
  std::string list;
  for (size_t i = 0; i < items.size(); ++i) list += (i ? SEP : "") + items[i];
  return list;
}

std::vector<std::string> drained;
void Record(const std::string& item) { drained.push_back(item); }

}  // namespace

TEST(InstallationLog, WalkSkipsEmptyItemsAndSetsTheCurrentItem) {
  const std::string log =
      "[UNINSTALL]\r\nFiles=\r\n\"Name=C:\\a\xF7\xF7Size=1\r\n  \"\r\n\"Name=C:\\b\r\n\r\n"
      "\"Name=C:\\not an item\r\n";
  TWizardState wizard;
  wizard.Collected = "left over";
  std::vector<std::string> names;
  WalkItems(wizard, ListItems(log, SECTION_UNINSTALL, LIST_FILES),
            [&](TWizardState&) { names.push_back(ItemField("Name")); });
  EXPECT_EQ(names, (std::vector<std::string>{"C:\\a", "C:\\b"}));
  EXPECT_EQ(wizard.Collected, "") << "each walk starts with an empty collection";
}

TEST(InstallationLog, DisplayFormRoundTrip) {
  struct Case {
    std::string_view list;
    const char* item;
    const char* entry;
  };
  const Case cases[] = {
      {LIST_FILES, "Name=C:\\a.exe", "FILE: Name=C:\\a.exe"},
      {LIST_LINKS, "Name=C:\\x: y.lnk", "SHORTCUT: Name=C:\\x: y.lnk"},  // ": " in the item
      {LIST_REGISTERS, "Key=HKEY_USERS\\S\xF7\xF7Name=", "REGISTER: Key=HKEY_USERS\\S\xF7\xF7Name="},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DisplayEntry(c.list, c.item), c.entry);
    std::string list, item;
    EXPECT_TRUE(SplitDisplayEntry(c.entry, list, item)) << c.entry;
    EXPECT_EQ(list, c.list);
    EXPECT_EQ(item, c.item);
  }
  for (const char* unknown : {"file: Name=C:\\a", "FOLDER: C:\\a", "FILE:C:\\a"}) {
    std::string list = "x", item = "y";
    EXPECT_FALSE(SplitDisplayEntry(unknown, list, item)) << unknown;
    EXPECT_EQ(list + item, "") << unknown;
  }
}

TEST(InstallationLog, CollectedItemsAreUniqueAndDrainDeepestFirst) {
  TWizardState wizard;
  const std::vector<std::string> added = {"C:\\App\\b", "C:\\App", "c:\\app\\B", "C:\\App\\a\\x",
                                          "C:\\App\\a", "D:\\", "C:\\Apq", "C:\\APP\\a"};
  for (const auto& item : added) CollectItem(wizard, item);
  const std::vector<std::string> unique = {"C:\\App\\b", "C:\\App", "C:\\App\\a\\x", "C:\\App\\a",
                                           "D:\\", "C:\\Apq"};
  EXPECT_EQ(wizard.Collected, Joined(unique)) << "in order of arrival, the first form kept";

  // The order is that of the list sort of the toolkit, descending.
  std::string expected = wizard.Collected;
  ListSort(expected, ITEM_DELIM, LS_DESCENDING);
  drained.clear();
  DrainCollected(wizard, Record);
  EXPECT_EQ(Joined(drained), expected);
  EXPECT_EQ(drained.front(), "D:\\");
  EXPECT_EQ(wizard.Collected, "");
  CollectItem(wizard, "C:\\App\\b");
  EXPECT_EQ(wizard.Collected, "C:\\App\\b") << "draining forgets what was collected";
}

TEST(InstallationLog, EmptyCollectedItemsKeepTheirPlaces) {
  TWizardState wizard;
  for (const char* item : {"a", "", "c", "", "b"}) CollectItem(wizard, item);
  std::string expected = wizard.Collected;
  ListSort(expected, ITEM_DELIM, LS_DESCENDING);
  drained.clear();
  DrainCollected(wizard, Record);
  EXPECT_EQ(drained, (std::vector<std::string>{"c", "", "b", "", "a"}));
  EXPECT_EQ(Joined(drained), expected);
}

TEST(InstallationLog, FullPaths) {
  struct Case {
    std::string path;
    bool full;
  };
  const Case cases[] = {
      {"C:\\a.exe", true},          {"z:\\", true},          {"\\\\server\\share\\a", true},
      {"C:a.exe", false},           {"a.exe", false},        {"\\a.exe", false},
      {"1:\\a", false},             {"", false},             {"C:/a.exe", false},
      {std::string("C:\\a\0b", 6), false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsFullPath(c.path), c.full) << c.path;
}
