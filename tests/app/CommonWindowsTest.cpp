// The Windows half of the common routines, in the test prefix.
#include <windows.h>

#include <gtest/gtest.h>

#include "Common.h"

namespace {
const char* kKey = "Software\\CardInitTests\\SERIALCOMM";

class PortRegistry : public ::testing::Test {
 protected:
  void SetUp() override {
    RegDeleteKeyA(HKEY_CURRENT_USER, kKey);
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &key_, nullptr),
              ERROR_SUCCESS);
  }
  void TearDown() override {
    RegCloseKey(key_);
    RegDeleteKeyA(HKEY_CURRENT_USER, kKey);
  }
  void Text(const char* name, const std::string& value) {
    RegSetValueExA(key_, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
  }
  HKEY key_ = nullptr;
};
}  // namespace

TEST_F(PortRegistry, ListsPortsSortedAsText) {
  Text("\\Device\\Serial0", "COM1");
  Text("\\Device\\Serial1", "COM2");
  Text("\\Device\\Serial9", "COM10");
  TStringVector list = {"stale"};
  ReadPortNames(HKEY_CURRENT_USER, kKey, list);
  EXPECT_EQ(list, (TStringVector{"COM1", "COM10", "COM2"}));
}

TEST_F(PortRegistry, OddValuesDoNotHideTheOthers) {
  Text("a", "COM4");
  const DWORD number = 7;
  RegSetValueExA(key_, "b", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
  Text("c", std::string(300, 'X'));             // longer than the data buffer
  Text(std::string(300, 'n').c_str(), "COM5");  // name longer than the name buffer
  Text("d", "COMx");
  Text("e", "COM3");
  TStringVector list;
  ReadPortNames(HKEY_CURRENT_USER, kKey, list);
  EXPECT_EQ(list, (TStringVector{"COM3", "COM4"}));
}

TEST_F(PortRegistry, MissingKeyGivesAnEmptyList) {
  TStringVector list = {"stale"};
  ReadPortNames(HKEY_CURRENT_USER, "Software\\CardInitTests\\NoSuchKey", list);
  EXPECT_TRUE(list.empty());
}

TEST(AppFolders, SubFolderBesideTheProgramWithOrWithoutBackslash) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  AppPath = std::string(temp) + "cardinit-appfolders-" + std::to_string(GetCurrentProcessId()) + "\\";
  CreateDirectoryA(AppPath.c_str(), nullptr);
  ForceAppSubDir("Data\\");
  const std::string data = AppPath + "Data";
  EXPECT_NE(GetFileAttributesA(data.c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
  EXPECT_NE(GetFileAttributesA(data.c_str()), INVALID_FILE_ATTRIBUTES);
  ForceAppSubDir("Data");  // already there: nothing happens
  ForceAppSubDir("No\\Such\\Deep");  // one level only: silently absent
  EXPECT_EQ(GetFileAttributesA((AppPath + "No\\Such\\Deep").c_str()), INVALID_FILE_ATTRIBUTES);
  RemoveDirectoryA(data.c_str());
  RemoveDirectoryA(AppPath.c_str());
}

TEST(AppFolders, ProgramFolderEndsInABackslash) {
  const std::string folder = ProgramFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), '\\');
}
