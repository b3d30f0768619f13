// The local browser's shell namespace on the real shell: a folder reached
// by its path lists its items with their attributes, sizes and paths; a
// rename through the folder keeps the file in it. (Deleting asks the
// shell's confirmation: the GUI tests answer it.)
#include "win32/local_shell_win32.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/win32/wide_text.h"
#include "support/temp_folder.h"

namespace pom::test {
namespace {

class LocalShellTest : public ::testing::Test {
 protected:
  void SetUp() override { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
  void TearDown() override { CoUninitialize(); }

  const LocalEntry* named(const std::vector<LocalEntry>& entries, const std::string& name) {
    const auto found = std::find_if(entries.begin(), entries.end(),
                                    [&](const LocalEntry& e) { return e.name == name; });
    return found == entries.end() ? nullptr : &*found;
  }
};

TEST_F(LocalShellTest, ListsAndRenamesThroughTheShell) {
  TempWorkingFolder folder;
  ASSERT_TRUE(folder.writeFile(L"사진.txt", std::string(1500, 'x')));
  ASSERT_TRUE(CreateDirectoryW((folder.path() + L"\\sub").c_str(), nullptr));
  const std::string root = narrow(folder.path());
  {
    Win32LocalShell shell(nullptr);
    const std::vector<LocalItemPtr> chain = shell.chainTo(root);
    ASSERT_FALSE(chain.empty());
    EXPECT_EQ(shell.pathOf(*chain.back()), root);
    std::vector<LocalEntry> entries;
    ASSERT_TRUE(shell.enumerate(*chain.back(), LocalEnum::FoldersAndFiles, entries));
    ASSERT_EQ(entries.size(), 2u);
    const LocalEntry* file = named(entries, "사진.txt");
    const LocalEntry* sub = named(entries, "sub");
    ASSERT_NE(file, nullptr);
    ASSERT_NE(sub, nullptr);
    EXPECT_FALSE(file->isFolder());
    EXPECT_TRUE(sub->isFolder());
    EXPECT_EQ(file->size, 1500);
    EXPECT_EQ(localSizeText(*file), "1KB");
    EXPECT_EQ(shell.pathOf(*file->item), root + "\\사진.txt");

    // The shell renames within the folder.
    const LocalItemPtr renamed = shell.rename(*chain.back(), *file->item, "새이름.txt");
    ASSERT_NE(renamed, nullptr);
    EXPECT_EQ(shell.pathOf(*renamed), root + "\\새이름.txt");
    EXPECT_EQ(GetFileAttributesW((folder.path() + L"\\사진.txt").c_str()), INVALID_FILE_ATTRIBUTES);
  }
}

}  // namespace
}  // namespace pom::test
