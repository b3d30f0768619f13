// The file-system contract on the Win32 backend, in a temporary working
// folder, with CP949 names opened by their UTF-16 names.
#include "platform/win32/win32_file_system.h"

#include "support/file_system_contract.h"
#include "support/temp_folder.h"

namespace pom::test {
namespace {

struct Win32Environment {
  static constexpr bool kSparseFiles = true;
  FileSystem& files() { return fs; }
  std::string root() const { return "."; }  // the temporary working folder
  Win32FileSystem fs;
  TempWorkingFolder folder;
};

using Backends = ::testing::Types<Win32Environment>;
INSTANTIATE_TYPED_TEST_SUITE_P(Win32, FileSystemContract, Backends);

}  // namespace
}  // namespace pom::test
