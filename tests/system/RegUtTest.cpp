// Registry access on real keys under HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE.
#include <gtest/gtest.h>

#include "Probes.h"
#include "system/RegUt.h"

namespace {

TEST(RootKeyHandle, WholeNamesInEitherCase) {
  const struct {
    std::string_view name;
    HKEY key;
  } cases[] = {
      {"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},
      {"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
      {"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
      {"HKEY_USERS", HKEY_USERS},
      {"HKEY_PERFORMANCE_DATA", HKEY_PERFORMANCE_DATA},
      {"HKEY_CURRENT_CONFIG", HKEY_CURRENT_CONFIG},
      {"HKEY_DYN_DATA", HKEY_DYN_DATA},
      {"hkey_local_machine", HKEY_LOCAL_MACHINE},
      {"Hkey_Current_User", HKEY_CURRENT_USER},
      {"HKEY_USER", nullptr},
      {"HKLM", nullptr},
      {"HKEY_LOCAL_MACHIN", nullptr},
      {"HKEY_LOCAL_MACHINE ", nullptr},
      {"HKEY_LOCAL_MACHINE\\", nullptr},
      {"", nullptr},
  };
  for (const auto& c : cases) EXPECT_EQ(RootKeyHandle(c.name), c.key) << c.name;
}

TEST(PredefinedKey, WidensLikeTheSystem) {
  EXPECT_EQ(PredefinedKey(0x80000002), HKEY_LOCAL_MACHINE);
  EXPECT_EQ(reinterpret_cast<ULONG_PTR>(PredefinedKey(0x80000001)),
            static_cast<ULONG_PTR>(sizeof(ULONG_PTR) == 8 ? 0xFFFFFFFF80000001ull : 0x80000001u));
  EXPECT_EQ(PredefinedKey(0), nullptr);
}

// What is stored under a value, read straight from the system.
struct Stored {
  bool exists = false;
  DWORD type = 0;
  std::string bytes;
};

Stored ReadStored(HKEY root, const std::string& subkey, const std::string& name) {
  Stored stored;
  char buffer[256];
  DWORD size = sizeof buffer;
  stored.exists = RegGetValueA(root, subkey.c_str(), name.c_str(), RRF_RT_ANY | RRF_NOEXPAND,
                               &stored.type, buffer, &size) == ERROR_SUCCESS;
  if (stored.exists) stored.bytes.assign(buffer, size);
  return stored;
}

std::string DwordBytes(int32_t value) { return std::string(reinterpret_cast<char*>(&value), 4); }

// Stores a value straight through the system (the key is created as needed).
void Store(HKEY root, const std::string& subkey, const std::string& name, DWORD type,
           std::string_view bytes) {
  ASSERT_EQ(RegSetKeyValueA(root, subkey.c_str(), name.c_str(), type, bytes.data(),
                            static_cast<DWORD>(bytes.size())),
            ERROR_SUCCESS)
      << subkey << " " << name;
}

void MakeKey(HKEY root, const std::string& subkey) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(root, subkey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                            nullptr),
            ERROR_SUCCESS);
  RegKey owner(key);
}

// Every case runs under both roots, each in its own scratch key.
class RegUt : public testing::TestWithParam<HKEY> {
 protected:
  HKEY Root() const { return GetParam(); }
  std::string Key() const { return scratch_.Subkey(); }
  std::string Path(std::string_view relative) const { return Key() + '\\' + std::string(relative); }

  ScratchKey scratch_;
};

INSTANTIATE_TEST_SUITE_P(Roots, RegUt, testing::Values(HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE),
                         [](const auto& info) {
                           return info.param == HKEY_CURRENT_USER ? "CurrentUser"
                                                                  : "LocalMachine";
                         });

TEST_P(RegUt, OpenRegKeyCreatesOnlyWhenAsked) {
  RegKey key;
  EXPECT_FALSE(OpenRegKey(Root(), Path("a\\b"), key, 0));
  EXPECT_FALSE(key.IsOpen());
  EXPECT_FALSE(KeyExists(Root(), Path("a")));

  EXPECT_TRUE(OpenRegKey(Root(), Path("a\\b"), key, RK_CREATE));
  EXPECT_TRUE(key.IsOpen());
  key.Reset();
  EXPECT_TRUE(KeyExists(Root(), Path("a\\b")));
  EXPECT_TRUE(OpenRegKey(Root(), Path("a\\b"), key, 0));
  EXPECT_FALSE(OpenRegKey(nullptr, Path("a\\b"), key, RK_CREATE));
  EXPECT_FALSE(OpenRegKey(Root(), Path("a") + '\0' + "\\b", key, RK_CREATE));
  EXPECT_FALSE(key.IsOpen());
}

TEST_P(RegUt, WriteRegDwordCreatesEveryMissingKeyAlongThePath) {
  const std::string deep = Path("x\\y\\z");
  EXPECT_FALSE(WriteRegDword(Root(), deep, "Count", 0, 3));
  EXPECT_FALSE(KeyExists(Root(), Path("x")));

  EXPECT_TRUE(WriteRegDword(Root(), deep, "Count", RK_CREATE, -7));
  const Stored stored = ReadStored(Root(), deep, "Count");
  EXPECT_EQ(stored.type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(stored.bytes, DwordBytes(-7));

  int32_t value = 0;
  EXPECT_TRUE(ReadRegDword(Root(), deep, "Count", 0, value));
  EXPECT_EQ(value, -7);
  EXPECT_TRUE(WriteRegDword(Root(), deep, "Count", 0, 12));  // the key exists now
  EXPECT_TRUE(ReadRegDword(Root(), deep, "Count", 0, value));
  EXPECT_EQ(value, 12);
}

TEST_P(RegUt, ReadRegDwordKeepsTheDefaultOrStoresIt) {
  // A missing key, then a missing value: the default stays; with RK_CREATE it is stored.
  const std::string key = Path("shared");
  int32_t value = 5;
  EXPECT_FALSE(ReadRegDword(Root(), key, "File", 0, value));
  EXPECT_EQ(value, 5);
  EXPECT_FALSE(KeyExists(Root(), key));
  Store(Root(), key, "Other", REG_DWORD, DwordBytes(1));
  EXPECT_FALSE(ReadRegDword(Root(), key, "File", 0, value));
  EXPECT_EQ(value, 5);
  EXPECT_FALSE(ReadStored(Root(), key, "File").exists);

  EXPECT_TRUE(ReadRegDword(Root(), Path("new\\shared"), "File", RK_CREATE, value));
  EXPECT_EQ(value, 5);
  EXPECT_EQ(ReadStored(Root(), Path("new\\shared"), "File").bytes, DwordBytes(5));
}

TEST_P(RegUt, ReadRegDwordRefusesAValueOfAnotherTypeOrSize) {
  // Another type, and REG_DWORD values whose size is not 4 (the system does not check it).
  const struct {
    const char* name;
    DWORD type;
    std::string_view bytes;
  } cases[] = {
      {"Text", REG_SZ, std::string_view("12\0", 3)},
      {"Binary", REG_BINARY, std::string_view("\x01\0\0\0", 4)},
      {"Long", REG_DWORD, std::string_view("\x01\x02\x03\x04\x05\x06\x07\x08", 8)},
      {"Short", REG_DWORD, std::string_view("\x01\x02", 2)},
  };
  for (const auto& c : cases) {
    Store(Root(), Key(), c.name, c.type, c.bytes);
    int32_t value = 9;
    EXPECT_FALSE(ReadRegDword(Root(), Key(), c.name, 0, value)) << c.name;
    EXPECT_EQ(value, 9) << c.name;
    EXPECT_EQ(ReadStored(Root(), Key(), c.name).bytes, c.bytes) << c.name;

    // With RK_CREATE the default replaces it, as REG_DWORD.
    EXPECT_TRUE(ReadRegDword(Root(), Key(), c.name, RK_CREATE, value)) << c.name;
    EXPECT_EQ(value, 9) << c.name;
    const Stored stored = ReadStored(Root(), Key(), c.name);
    EXPECT_EQ(stored.type, static_cast<DWORD>(REG_DWORD)) << c.name;
    EXPECT_EQ(stored.bytes, DwordBytes(9)) << c.name;
  }
}

TEST_P(RegUt, TextValuesThroughAnOpenKey) {
  const auto writeText = [&](const char* name, std::string_view bytes) {
    RegKey key;
    EXPECT_TRUE(OpenRegKey(Root(), Key(), key, RK_CREATE));
    return WriteRegValue(std::move(key), name, bytes.data(), REG_SZ,
                         static_cast<uint32_t>(bytes.size()));
  };
  const auto readText = [&](const char* name, std::string& text) {
    RegKey key;
    EXPECT_TRUE(OpenRegKey(Root(), Key(), key, 0));
    return ReadRegValue(std::move(key), name, text);
  };
  const struct {
    const char* name;
    std::string_view stored;
    std::string_view read;
  } cases[] = {
      {"Zero", std::string_view("abc\0", 4), "abc"},
      {"NoZero", "abc", "abc"},  // stored without its terminating zero: nothing is lost
      {"Empty", std::string_view("\0", 1), ""},
      {"", std::string_view("default\0", 8), "default"},
  };
  for (const auto& c : cases) {
    EXPECT_TRUE(writeText(c.name, c.stored)) << c.name;
    std::string text = "old";
    EXPECT_TRUE(readText(c.name, text)) << c.name;
    EXPECT_EQ(text, c.read) << c.name;
  }

  // The wrong type either way leaves the variable alone.
  Store(Root(), Key(), "Number", REG_DWORD, DwordBytes(4));
  std::string text = "old";
  EXPECT_FALSE(readText("Number", text));
  EXPECT_FALSE(readText("Missing", text));
  EXPECT_EQ(text, "old");
  RegKey key;
  ASSERT_TRUE(OpenRegKey(Root(), Key(), key, 0));
  int32_t value = 1;
  EXPECT_FALSE(ReadRegValue(std::move(key), "Zero", value));
  EXPECT_EQ(value, 1);
  // A key that is not open.
  EXPECT_FALSE(WriteRegValue(RegKey(), "x", "a", REG_SZ, 1));
}

TEST_P(RegUt, DeleteRegValueRemovesNamedAndDefaultValues) {
  Store(Root(), Key(), "Name", REG_DWORD, DwordBytes(1));
  Store(Root(), Key(), "", REG_SZ, std::string_view("d\0", 2));
  Store(Root(), Key(), "A", REG_DWORD, DwordBytes(2));

  EXPECT_TRUE(DeleteRegValue(Root(), Key(), "Name"));
  EXPECT_FALSE(ReadStored(Root(), Key(), "Name").exists);
  EXPECT_FALSE(DeleteRegValue(Root(), Key(), "Name"));
  EXPECT_TRUE(DeleteRegValue(Root(), Key(), ""));
  EXPECT_FALSE(ReadStored(Root(), Key(), "").exists);
  EXPECT_FALSE(DeleteRegValue(Root(), Path("missing"), "A"));
  EXPECT_FALSE(KeyExists(Root(), Path("missing")));
  // A zero byte would cut the name to that of another value.
  EXPECT_FALSE(DeleteRegValue(Root(), Key(), std::string("A\0B", 3)));
  EXPECT_TRUE(ReadStored(Root(), Key(), "A").exists);
}

TEST_P(RegUt, IsRegKeyEmptyCountsValuesAndSubkeys) {
  const std::string key = Path("k");
  EXPECT_FALSE(IsRegKeyEmpty(Root(), key));  // missing
  Store(Root(), key, "", REG_SZ, std::string_view("d\0", 2));
  EXPECT_FALSE(IsRegKeyEmpty(Root(), key));  // only a default value
  ASSERT_EQ(RegDeleteKeyValueA(Root(), key.c_str(), ""), ERROR_SUCCESS);
  EXPECT_TRUE(IsRegKeyEmpty(Root(), key));
  Store(Root(), key, "v", REG_DWORD, DwordBytes(0));
  EXPECT_FALSE(IsRegKeyEmpty(Root(), key));  // a named value
  ASSERT_EQ(RegDeleteKeyValueA(Root(), key.c_str(), "v"), ERROR_SUCCESS);
  MakeKey(Root(), key + "\\sub");
  EXPECT_TRUE(IsRegKeyEmpty(Root(), key + "\\sub"));
  EXPECT_FALSE(IsRegKeyEmpty(Root(), key));  // only a subkey
}

TEST_P(RegUt, NoKeyIsLeftOpen) {
  const std::string key = Path("h");
  Store(Root(), key, "Text", REG_SZ, std::string_view("t\0", 2));
  const auto everything = [&] {
    int32_t value = 0;
    std::string text;
    RegKey open;
    WriteRegDword(Root(), key, "D", RK_CREATE, 1);
    WriteRegDword(Root(), Path("missing"), "D", 0, 1);
    ReadRegDword(Root(), key, "D", 0, value);
    ReadRegDword(Root(), key, "Text", 0, value);
    ReadRegDword(Root(), Path("missing"), "D", 0, value);
    if (OpenRegKey(Root(), key, open, 0)) ReadRegValue(std::move(open), "Text", text);
    if (OpenRegKey(Root(), key, open, 0)) ReadRegValue(std::move(open), "D", text);
    DeleteRegValue(Root(), key, "D");
    DeleteRegValue(Root(), key, "missing");
    IsRegKeyEmpty(Root(), key);
    IsRegKeyEmpty(Root(), Path("missing"));
  };
  everything();  // the system's own first-use handles
  const DWORD before = HandleCount();
  for (int i = 0; i < 20; ++i) everything();
  EXPECT_EQ(HandleCount(), before);
}

}  // namespace
