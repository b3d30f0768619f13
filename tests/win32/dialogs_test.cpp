// The file picker's answer as the core receives it: full CP949 paths, one
// per picked file, whether one or several were picked.
#include "platform/win32/win32_dialogs.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pom {
namespace {

struct PickedCase {
  const char* what;
  std::wstring buffer;  // as the picker fills it, the final zeros included
  std::vector<std::string> paths;
};

class PickedFilesTest : public ::testing::TestWithParam<PickedCase> {};

TEST_P(PickedFilesTest, BufferBecomesFullPaths) {
  const PickedCase& c = GetParam();
  EXPECT_EQ(pickedFilePaths(c.buffer.c_str()), c.paths) << c.what;
}

using namespace std::string_literals;

INSTANTIATE_TEST_SUITE_P(
    Buffers, PickedFilesTest,
    ::testing::Values(
        PickedCase{"one file", L"C:\\data\\a.txt\0\0"s, {"C:\\data\\a.txt"}},
        PickedCase{"several files",
                   L"C:\\data\0a.txt\0b c.bin\0\0"s,
                   {"C:\\data\\a.txt", "C:\\data\\b c.bin"}},
        PickedCase{
            "several at a drive's root", L"C:\\\0a.txt\0b.txt\0\0"s, {"C:\\a.txt", "C:\\b.txt"}},
        // 사진 and 가.jpg in CP949.
        PickedCase{"Hangul folder and names",
                   L"Z:\\\uC0AC\uC9C4\0\uAC00.jpg\0x.txt\0\0"s,
                   {"Z:\\\xBB\xE7\xC1\xF8\\\xB0\xA1.jpg", "Z:\\\xBB\xE7\xC1\xF8\\x.txt"}},
        PickedCase{"nothing", L"\0\0"s, {}}));

}  // namespace
}  // namespace pom
