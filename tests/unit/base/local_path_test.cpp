#include "core/base/local_path.h"

#include <gtest/gtest.h>

#include "support/memory_file_system.h"

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
  MemoryFileSystem files;
  EXPECT_TRUE(makeDirectories(files, "c:\\down/a/b"));
  EXPECT_TRUE(files.info("c:\\down\\a\\b").isDirectory);
  EXPECT_TRUE(makeDirectories(files, "c:\\down\\폴더\\하위\\"));
  EXPECT_TRUE(files.info("c:/down/폴더/하위").isDirectory);
  EXPECT_TRUE(makeDirectories(files, "c:\\down/a/b"));  // existing: nothing to do
  files.addFile("c:/down/file", "x");
  EXPECT_FALSE(makeDirectories(files, "c:\\down\\file"));
  EXPECT_FALSE(makeDirectories(files, "c:\\down\\file\\sub"));
  EXPECT_FALSE(makeDirectories(files, ""));
}

TEST(DownloadPathTest, BuildsPathsUnderTheDownloadFolder) {
  EXPECT_EQ(downloadPath("/down", "", "a.txt"), std::string("/down\\a.txt"));
  EXPECT_EQ(downloadPath("c:\\PomDownLoad\\", "music\\live", "노래.txt"),
            std::string("c:\\PomDownLoad\\music\\live\\노래.txt"));
  EXPECT_EQ(downloadPath("c:\\d", "a//b/", "x"), std::string("c:\\d\\a\\b\\x"))
      << "empty components are skipped";
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

}  // namespace
}  // namespace pom

namespace pom {
namespace {

TEST(DownloadPathTest, NumberedNamesKeepTheExtensionAndParentsAreTheFolderPart) {
  EXPECT_EQ(numberedName("a.avi", 1), "a (1).avi");
  EXPECT_EQ(numberedName("a.b.txt", 2), "a.b (2).txt");
  EXPECT_EQ(numberedName("readme", 3), "readme (3)");
  EXPECT_EQ(numberedName(".profile", 1), ".profile (1)");
  EXPECT_TRUE(isSafeComponent(numberedName("노래.mp3", 12)));
  EXPECT_EQ(parentFolder("c:\\down\\a\\b.txt"), "c:\\down\\a");
  EXPECT_EQ(parentFolder("/down/x"), "/down");
  EXPECT_EQ(parentFolder("x"), "");
}

}  // namespace
}  // namespace pom
