// Win32Registry on HKEY_CURRENT_USER of the throwaway prefix.
#include "platform/win32/win32_registry.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace pom {
namespace {

const std::string kSubkey = "Software\\PomvaleTest\\";

class Win32RegistryTest : public ::testing::Test {
 protected:
  void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\PomvaleTest"); }
  Win32Registry registry;
};

TEST_F(Win32RegistryTest, MissingValueGivesTheDefaultAndCreatesTheKey) {
  std::string value = "stale";
  EXPECT_FALSE(registry.readString(kSubkey, "uver", "0.9", 256, value));
  EXPECT_EQ(value, "0.9");
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\PomvaleTest", 0, KEY_READ, &key),
            ERROR_SUCCESS);
  RegCloseKey(key);
}

TEST_F(Win32RegistryTest, WrittenTextReadsBackWithItsTerminatingZero) {
  ASSERT_TRUE(registry.writeString(kSubkey, "Pv_dl1", "12345"));
  std::string value;
  EXPECT_TRUE(registry.readString(kSubkey, "Pv_dl1", "0", 256, value));
  EXPECT_EQ(value, "12345");

  DWORD type = 0;
  DWORD bytes = 0;
  ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, L"Software\\PomvaleTest", L"Pv_dl1", RRF_RT_ANY, &type,
                         nullptr, &bytes),
            ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(bytes, 6 * sizeof(wchar_t));
}

TEST_F(Win32RegistryTest, HangulRoundTripsAndTextsAreCutToTheBuffer) {
  ASSERT_TRUE(registry.writeString(kSubkey, "이름", "한글 값"));
  std::string value;
  EXPECT_TRUE(registry.readString(kSubkey, "이름", "", 256, value));
  EXPECT_EQ(value, "한글 값");
  EXPECT_TRUE(registry.readString(kSubkey, "이름", "", 4, value));
  EXPECT_EQ(value, "한");  // three bytes left room for one character
  ASSERT_TRUE(registry.writeString(kSubkey, "uver", "1.2.3.4"));
  EXPECT_TRUE(registry.readString(kSubkey, "uver", "", 4, value));
  EXPECT_EQ(value, "1.2");
}

TEST_F(Win32RegistryTest, ValueOfAnotherTypeGivesTheDefault) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\PomvaleTest", 0, nullptr, 0, KEY_WRITE,
                            nullptr, &key, nullptr),
            ERROR_SUCCESS);
  const DWORD number = 5;
  RegSetValueExW(key, L"cver", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
  RegCloseKey(key);
  std::string value;
  EXPECT_FALSE(registry.readString(kSubkey, "cver", "0.9", 256, value));
  EXPECT_EQ(value, "0.9");
}

}  // namespace
}  // namespace pom
