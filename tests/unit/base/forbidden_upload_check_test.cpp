#include "core/base/forbidden_upload_check.h"

#include <gtest/gtest.h>
#include <zip.h>

#include <vector>

#include "platform/posix/posix_file_system.h"
#include "support/temp_dir.h"

namespace pom {
namespace {

PosixFileSystem files;  // stateless

// Builds a real zip archive at path holding the given entry names (names
// ending in '/' become directory entries).
void writeZip(const std::string& path, const std::vector<std::string>& entries) {
  zipFile zip = zipOpen64(path.c_str(), APPEND_STATUS_CREATE);
  ASSERT_NE(zip, nullptr);
  for (const std::string& name : entries) {
    zip_fileinfo info{};
    ASSERT_EQ(zipOpenNewFileInZip64(zip, name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                                    Z_DEFLATED, Z_DEFAULT_COMPRESSION, 0),
              ZIP_OK);
    if (name.back() != '/') zipWriteInFileInZip(zip, "data", 4);
    zipCloseFileInZip(zip);
  }
  ASSERT_EQ(zipClose(zip, nullptr), ZIP_OK);
}

TEST(ForbiddenUploadCheckTest, PlainFilesAreJudgedByExtension) {
  test::TempDir dir;
  struct Case {
    const char* name;
    bool forbidden;
  } cases[] = {
      {"Song.MP3", true}, {"a.ogg", true},     {"b.Wma", true}, {"c.ape", true},
      {"d.dcf", true},    {"note.txt", false}, {"mp3", false},  {"x.mp3.txt", false},
      {"y.mp4", false},   {"노래.mp3", true},
  };
  for (const Case& c : cases) {
    dir.write(c.name, "not an archive");
    EXPECT_EQ(ForbiddenUploadCheck(files, dir.file(c.name)), c.forbidden) << c.name;
  }
  // A file that cannot be opened is judged by its name alone.
  EXPECT_TRUE(ForbiddenUploadCheck(files, dir.file("missing.mp3")));
  EXPECT_FALSE(ForbiddenUploadCheck(files, dir.file("missing.bin")));
}

TEST(ForbiddenUploadCheckTest, ZipArchivesAreJudgedByTheirFileEntries) {
  test::TempDir dir;
  struct Case {
    const char* name;
    std::vector<std::string> entries;
    bool forbidden;
  } cases[] = {
      {"a.zip", {"readme.txt", "x/track.ogg"}, true},
      {"b.zip", {"x/", "y.mp3/", "y.mp3/notes.txt"}, false},  // directory entries do not count
      {"c.zip", {"TRACK.WMA"}, true},
      {"d.zip", {"doc.txt", "img.jpg"}, false},
      {"a.lzh", {"one.mp3", "two.ogg"}, false},  // never inspected
      {"E.LZH", {"one.mp3"}, false},
      {"song.mp3", {"doc.txt"}, false},  // a zip archive: only its entries decide
  };
  for (const Case& c : cases) {
    writeZip(dir.file(c.name), c.entries);
    EXPECT_EQ(ForbiddenUploadCheck(files, dir.file(c.name)), c.forbidden) << c.name;
  }
}

}  // namespace
}  // namespace pom
