#include "core/base/local_path.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace pom {
namespace {

using Steps = std::vector<std::string>;

TEST(MakeDirectoriesTest, WalkSkipsDriveColonsAndCreatesEachLevel) {
  EXPECT_EQ(directoryWalk("c:\\PomDownLoad\\"), (Steps{"c:\\PomDownLoad", "c:\\PomDownLoad\\"}));
  EXPECT_EQ(directoryWalk("c:\\a\\b"), (Steps{"c:\\a", "c:\\a\\b"}));
  EXPECT_EQ(directoryWalk("/tmp/x/y"), (Steps{"/tmp", "/tmp/x", "/tmp/x/y"}));
  EXPECT_EQ(directoryWalk("rel/x"), (Steps{"rel", "rel/x"}));
}

TEST(MakeDirectoriesTest, CreatesNestedFoldersWithEitherSeparator) {
  test::TempDir dir;
  const std::string base = dir.path().string();
  EXPECT_TRUE(makeDirectories(base + "/a/b/c"));
  EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "a/b/c"));
  EXPECT_TRUE(makeDirectories(base + "\\d\\e\\"));  // '\' is a separator on POSIX too
  EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "d/e"));
  EXPECT_TRUE(makeDirectories(base + "/a/b/c"));   // existing: nothing to do
  const std::string korean = base + "/폴더/하위";  // CP949 bytes, UTF-8 on disk
  EXPECT_TRUE(makeDirectories(korean));
  EXPECT_TRUE(std::filesystem::is_directory(dir.path() / u8"폴더" / u8"하위"));
  dir.write("file", "x");
  EXPECT_FALSE(makeDirectories(base + "/file"));
  EXPECT_FALSE(makeDirectories(base + "/file/sub"));
}

TEST(DownloadPathTest, BuildsPathsUnderTheDownloadFolder) {
  const auto plain = downloadPath("/down", "", "a.txt");
  ASSERT_TRUE(plain);
  EXPECT_EQ(*plain, std::filesystem::path("/down/a.txt"));
  const auto nested = downloadPath("c:\\PomDownLoad\\", "music\\live", "노래.txt");
  ASSERT_TRUE(nested);
  EXPECT_EQ(cp949FromPath(*nested), "c:/PomDownLoad/music/live/노래.txt");
  EXPECT_TRUE(downloadPath("/down", "a/b", "..x"));
  EXPECT_TRUE(downloadPath("/down", "", "con.txt.bak") == std::nullopt);
}

TEST(DownloadPathTest, RefusesHostileNames) {
  const char* hostileNames[] = {
      "",
      ".",
      "..",
      "..\\..\\evil.exe",
      "../evil",
      "/etc/passwd",
      "\\\\server\\share",
      "c:\\windows\\x.dll",
      "c:x",
      "a/b",
      "a\\b",
      "CON",
      "con.txt",
      "Nul",
      "COM1",
      "lpt9.log",
      "aux .txt",
      "name.",
      "name ",
      ".. ",
      "a\x01"
      "b",
      "what?",
      "a*b",
      "a|b",
      "\"q\"",
      "<x>",
  };
  for (const std::string name : hostileNames) {
    EXPECT_FALSE(downloadPath("/down", "", name)) << "name: " << name;
    // As a sub-folder, "a/b" is two fine levels and "" means none.
    if (name.empty() || name == "a/b" || name == "a\\b") continue;
    EXPECT_FALSE(downloadPath("/down", name, "ok.txt")) << "sub folder: " << name;
  }
  EXPECT_FALSE(downloadPath("/down", "ok\\..\\..", "x"));
  EXPECT_FALSE(downloadPath("", "", "x"));
}

TEST(LocalPathTest, Cp949AndPlatformPathsConvertBothWays) {
  const std::string text = "/tmp/받은파일/a.txt";
  EXPECT_EQ(pathFromCp949(text).native(), u8"/tmp/받은파일/a.txt");
  EXPECT_EQ(cp949FromPath(pathFromCp949(text)), text);
}

}  // namespace
}  // namespace pom
