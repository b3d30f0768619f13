// The behaviour every FileSystem backend must share, as a typed test suite:
// the POSIX and in-memory backends instantiate it natively, the Win32 backend
// under Wine. An environment type provides `FileSystem& files()`, a fresh
// folder `root()` as a program path (CP949) and `kSparseFiles` (whether a
// file may be written far past its end without holding the bytes).
// Header only (shared with the Windows-side tests).
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/ports/file_system.h"

namespace pom::test {

template <typename Environment>
class FileSystemContract : public ::testing::Test {
 protected:
  FileSystem& fs() { return env.files(); }
  std::string at(const std::string& name) { return env.root() + "\\" + name; }

  bool writeFile(const std::string& path, const std::string& bytes, OpenMode mode) {
    auto file = fs().open(path, mode);
    return file != nullptr && file->write(bytes.data(), bytes.size()) && file->flush();
  }
  std::string readFrom(const std::string& path, std::int64_t offset = 0) {
    auto file = fs().openRead(path, offset);
    if (file == nullptr) return "<none>";
    std::string out;
    char buffer[7];  // small, so reads come in several pieces
    for (std::int64_t n; (n = file->read(buffer, sizeof buffer)) > 0;) out.append(buffer, n);
    return out;
  }

  Environment env;
};

TYPED_TEST_SUITE_P(FileSystemContract);

TYPED_TEST_P(FileSystemContract, CreateAppendAndReadAtAnOffset) {
  const std::string path = this->at("받은파일.bin");  // CP949 name
  ASSERT_TRUE(this->writeFile(path, "abc", OpenMode::Create));
  EXPECT_EQ(this->fs().info(path).size, 3);
  {
    auto file = this->fs().open(path, OpenMode::Append);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->position(), 3) << "append starts where the bytes on disk end";
    ASSERT_TRUE(file->write("defgh", 5));
    EXPECT_EQ(file->size(), 8);
  }
  EXPECT_EQ(this->readFrom(path), "abcdefgh");
  EXPECT_EQ(this->readFrom(path, 5), "fgh");
  EXPECT_EQ(this->readFrom(path, 8), "");
  ASSERT_TRUE(this->writeFile(path, "x", OpenMode::Create)) << "create empties an existing file";
  EXPECT_EQ(this->readFrom(path), "x");
  EXPECT_EQ(this->fs().open(this->at("missing"), OpenMode::Read), nullptr);
  EXPECT_FALSE(this->fs().info(this->at("missing")).exists);
}

TYPED_TEST_P(FileSystemContract, ListsFoldersAndFilesWithTheirSizes) {
  ASSERT_TRUE(this->fs().createFolder(this->at("폴더")));
  EXPECT_TRUE(this->fs().createFolder(this->at("폴더"))) << "an existing folder is fine";
  ASSERT_TRUE(this->writeFile(this->at("폴더\\a.txt"), "12345", OpenMode::Create));
  ASSERT_TRUE(this->writeFile(this->at("b.txt"), "", OpenMode::Create));
  EXPECT_FALSE(this->fs().createFolder(this->at("no\\such\\parent")));
  EXPECT_FALSE(this->fs().createFolder(this->at("b.txt"))) << "a file is in the way";

  std::vector<DirectoryEntry> entries;
  ASSERT_TRUE(this->fs().list(this->env.root(), entries));
  std::sort(entries.begin(), entries.end(),
            [](const DirectoryEntry& a, const DirectoryEntry& b) { return a.name < b.name; });
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].name, "b.txt");
  EXPECT_FALSE(entries[0].info.isDirectory);
  EXPECT_EQ(entries[1].name, "폴더");
  EXPECT_TRUE(entries[1].info.isDirectory);
  ASSERT_TRUE(this->fs().list(this->at("폴더"), entries));
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].name, "a.txt");
  EXPECT_EQ(entries[0].info.size, 5);
  EXPECT_FALSE(this->fs().list(this->at("nothing"), entries));
  const FileInfo folder = this->fs().info(this->at("폴더/"));
  EXPECT_TRUE(folder.exists && folder.isDirectory) << "'/' separates too";
}

TYPED_TEST_P(FileSystemContract, RenameReplacesAndRemoveSparesFullFolders) {
  ASSERT_TRUE(this->writeFile(this->at("part"), "new", OpenMode::Create));
  ASSERT_TRUE(this->writeFile(this->at("whole"), "old!", OpenMode::Create));
  ASSERT_TRUE(this->fs().rename(this->at("part"), this->at("whole")));
  EXPECT_EQ(this->readFrom(this->at("whole")), "new");
  EXPECT_FALSE(this->fs().info(this->at("part")).exists);
  EXPECT_FALSE(this->fs().rename(this->at("part"), this->at("other")));

  ASSERT_TRUE(this->fs().createFolder(this->at("d")));
  ASSERT_TRUE(this->writeFile(this->at("d\\f"), "1", OpenMode::Create));
  EXPECT_FALSE(this->fs().remove(this->at("d"))) << "not empty";
  EXPECT_TRUE(this->fs().remove(this->at("d\\f")));
  EXPECT_TRUE(this->fs().remove(this->at("d")));
  EXPECT_FALSE(this->fs().remove(this->at("d")));
  const auto free = this->fs().freeSpace(this->env.root());
  ASSERT_TRUE(free.has_value());
  EXPECT_GT(*free, 0);
}

TYPED_TEST_P(FileSystemContract, OffsetsBeyondFourGigabytes) {
  if (!TypeParam::kSparseFiles) GTEST_SKIP() << "this backend holds every byte";
  const std::string path = this->at("big");
  const std::int64_t far = (std::int64_t{5} << 30) + 7;
  {
    auto file = this->fs().open(path, OpenMode::Create);
    ASSERT_NE(file, nullptr);
    ASSERT_TRUE(file->seek(far));
    ASSERT_TRUE(file->write("Z", 1));
  }
  EXPECT_EQ(this->fs().info(path).size, far + 1);
  auto file = this->fs().open(path, OpenMode::Append);
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(file->position(), far + 1);
  EXPECT_EQ(this->readFrom(path, far), "Z");
  file.reset();
  EXPECT_TRUE(this->fs().remove(path));
}

REGISTER_TYPED_TEST_SUITE_P(FileSystemContract, CreateAppendAndReadAtAnOffset,
                            ListsFoldersAndFilesWithTheirSizes,
                            RenameReplacesAndRemoveSparesFullFolders, OffsetsBeyondFourGigabytes);

}  // namespace pom::test
