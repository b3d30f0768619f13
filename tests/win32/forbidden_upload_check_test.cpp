// ForbiddenUploadCheck with the mingw build of minizip on real files, including
// a Hangul archive name that the ANSI code page of a non-Korean locale could
// not spell.
#include "core/base/forbidden_upload_check.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/win32/win32_file_system.h"
#include "support/temp_folder.h"

namespace pom {
namespace {

Win32FileSystem files;  // stateless

void put16(std::string& out, std::uint16_t v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>(v >> 8);
}

void put32(std::string& out, std::uint32_t v) {
  put16(out, static_cast<std::uint16_t>(v & 0xFFFF));
  put16(out, static_cast<std::uint16_t>(v >> 16));
}

// A zip archive of empty, stored entries: enough for the entry walk, and laid
// out by hand so the test needs no zip writer on Windows.
std::string zipOf(const std::vector<std::string>& names) {
  std::string local, central;
  for (const std::string& name : names) {
    const auto offset = static_cast<std::uint32_t>(local.size());
    put32(local, 0x04034b50);
    put16(local, 20);    // version needed
    put16(local, 0);     // flags
    put16(local, 0);     // stored
    put16(local, 0);     // time
    put16(local, 0x21);  // date: 1980-01-01
    put32(local, 0);     // crc of nothing
    put32(local, 0);     // compressed size
    put32(local, 0);     // size
    put16(local, static_cast<std::uint16_t>(name.size()));
    put16(local, 0);
    local += name;

    put32(central, 0x02014b50);
    put16(central, 20);  // made by
    put16(central, 20);  // needed
    put16(central, 0);
    put16(central, 0);
    put16(central, 0);
    put16(central, 0x21);
    put32(central, 0);
    put32(central, 0);
    put32(central, 0);
    put16(central, static_cast<std::uint16_t>(name.size()));
    put16(central, 0);                              // extra
    put16(central, 0);                              // comment
    put16(central, 0);                              // disk
    put16(central, 0);                              // internal attributes
    put32(central, name.back() == '/' ? 0x10 : 0);  // directory attribute
    put32(central, offset);
    central += name;
  }
  std::string out = local + central;
  put32(out, 0x06054b50);
  put16(out, 0);
  put16(out, 0);
  put16(out, static_cast<std::uint16_t>(names.size()));
  put16(out, static_cast<std::uint16_t>(names.size()));
  put32(out, static_cast<std::uint32_t>(central.size()));
  put32(out, static_cast<std::uint32_t>(local.size()));
  put16(out, 0);
  return out;
}

class ForbiddenUploadCheckTest : public ::testing::Test {
 protected:
  // Writes bytes under a CP949 name in the working folder; returns the path as
  // the program passes it (CP949, relative to the working folder).
  std::string file(const std::string& name, const std::wstring& wideName,
                   const std::string& bytes) {
    EXPECT_TRUE(folder.writeFile(wideName, bytes));
    return ".\\" + name;
  }
  test::TempWorkingFolder folder;
};

TEST_F(ForbiddenUploadCheckTest, PlainFilesAreJudgedByTheirName) {
  EXPECT_TRUE(ForbiddenUploadCheck(files, file("Song.MP3", L"Song.MP3", "ID3 not really")));
  EXPECT_FALSE(ForbiddenUploadCheck(files, file("notes.txt", L"notes.txt", "hello")));
}

TEST_F(ForbiddenUploadCheckTest, ArchivesAreJudgedByTheirFileEntries) {
  EXPECT_TRUE(
      ForbiddenUploadCheck(files, file("a.zip", L"a.zip", zipOf({"readme.txt", "x/track.ogg"}))));
  EXPECT_FALSE(
      ForbiddenUploadCheck(files, file("b.zip", L"b.zip", zipOf({"y.mp3/", "y.mp3/a.txt"}))))
      << "a directory entry does not count";
  EXPECT_FALSE(ForbiddenUploadCheck(files, file("a.lzh", L"a.lzh", zipOf({"track.mp3"}))))
      << "an archive named .lzh is not inspected";
}

TEST_F(ForbiddenUploadCheckTest, OpensArchivesWithHangulNames) {
  // "음악.zip" in CP949 and in UTF-16.
  const std::string cp949 = "\xC0\xBD\xBE\xC7.zip";
  EXPECT_TRUE(ForbiddenUploadCheck(files, file(cp949, L"\uC74C\uC545.zip", zipOf({"a/b.wma"}))));
}

}  // namespace
}  // namespace pom
