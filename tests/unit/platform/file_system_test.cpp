// The file-system contract on the POSIX backend (a real temporary folder) and
// on the in-memory fake the unit tests use.
#include "platform/posix/posix_file_system.h"

#include "support/file_system_contract.h"
#include "support/memory_file_system.h"
#include "support/temp_dir.h"

namespace pom::test {
namespace {

struct PosixEnvironment {
  static constexpr bool kSparseFiles = true;
  FileSystem& files() { return fs; }
  std::string root() const { return dir.path().string(); }
  PosixFileSystem fs;
  TempDir dir;
};

struct MemoryEnvironment {
  static constexpr bool kSparseFiles = false;
  MemoryEnvironment() { fs.addFolder("c:\\t"); }
  FileSystem& files() { return fs; }
  std::string root() const { return "c:\\t"; }
  MemoryFileSystem fs;
};

using Backends = ::testing::Types<PosixEnvironment, MemoryEnvironment>;
INSTANTIATE_TYPED_TEST_SUITE_P(Native, FileSystemContract, Backends);

TEST(PosixPathTest, ProgramPathsBecomeUtf8WithSlashes) {
  EXPECT_EQ(posixPath("c:\\받은파일\\a.txt"), u8"c:/받은파일/a.txt");
  EXPECT_EQ(posixPath("./PomConfig.ini"), "./PomConfig.ini");
}

}  // namespace
}  // namespace pom::test
