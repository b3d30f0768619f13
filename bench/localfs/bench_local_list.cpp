// Opening a local folder of 5,000 files: the time until the local file list
// is filled (enumerated and sorted through LocalFileList) and then sorted
// again by size, per item. Natively with the tests' fake shell; built for
// Windows (bench/localfs/run, under wine64) also with the real shell
// namespace on a real folder of 5,000 files, in the same run, so the two
// figures compare. Prints times; asserts nothing.
//
//   bench_local_list [files] [rounds]      (defaults 5000 and 5)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/localfs/local_file_list.h"
#include "unit/localfs/fake_local_shell.h"

#ifdef _WIN32
#include <windows.h>

#include "platform/win32/wide_text.h"
#include "win32/local_shell_win32.h"
#endif

namespace pom {
namespace {

using Clock = std::chrono::steady_clock;

double microsecondsSince(Clock::time_point since) {
  return std::chrono::duration<double, std::micro>(Clock::now() - since).count();
}

class NullListView final : public LocalFileListView {
 public:
  void setRowCount(std::size_t) override {}
  void redrawRow(std::size_t) override {}
  std::vector<std::size_t> selectedRows() override { return {}; }
  void selectAll() override {}
  void editLabel(std::size_t) override {}
  void setCaption(const std::string&) override {}
  void setBusy(bool) override {}
  LocalMenuChoice trackMenu(const std::vector<std::size_t>&) override { return {}; }
  void runMenuCommand(const LocalMenuChoice&) override {}
  void place(const PaneRect&) override {}
  void setVisible(bool) override {}
};

struct Figures {
  double fill = 0;  // best microseconds per item of showFolder
  double sort = 0;  // best microseconds per item of a sort by size
};

Figures measure(LocalShell& shell, const LocalItemPtr& folder, int files, int rounds) {
  NullListView view;
  LocalFileList list{{&shell, &view, nullptr, nullptr, nullptr, nullptr}};
  Figures best{1e300, 1e300};
  for (int round = 0; round < rounds; ++round) {
    auto started = Clock::now();
    list.showFolder(folder);
    best.fill = std::min(best.fill, microsecondsSince(started) / files);
    if (list.rowCount() != static_cast<std::size_t>(files))
      std::printf("  (listed %zu of %d)\n", list.rowCount(), files);
    started = Clock::now();
    list.columnClick(1);
    best.sort = std::min(best.sort, microsecondsSince(started) / files);
  }
  return best;
}

void print(const char* what, const Figures& figures, const Figures& baseline) {
  std::printf("%-28s fill %8.2f us/item (x%6.1f)   sort by size %6.2f us/item (x%5.1f)\n", what,
              figures.fill, figures.fill / baseline.fill, figures.sort,
              figures.sort / baseline.sort);
}

}  // namespace
}  // namespace pom

int main(int argc, char** argv) {
  using namespace pom;
  const int files = argc > 1 ? std::atoi(argv[1]) : 5000;
  const int rounds = argc > 2 ? std::atoi(argv[2]) : 5;
  std::printf("opening a folder of %d files, best of %d rounds\n", files, rounds);

  FakeLocalShell fake;
  for (int i = 0; i < files; ++i)
    fake.add("c:\\many", "file" + std::to_string(i * 7919 % files) + ".dat", fake_attr::kFile,
             static_cast<std::int64_t>(i) * 1237);
  const Figures baseline = measure(fake, FakeLocalShell::item("c:\\many"), files, rounds);
  print("presenter, fake shell", baseline, baseline);

#ifdef _WIN32
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  const std::wstring folder = std::wstring(temp) + L"pom_bench_local";
  CreateDirectoryW(folder.c_str(), nullptr);
  for (int i = 0; i < files; ++i) {
    const std::wstring path = folder + L"\\file" + std::to_wstring(i) + L".dat";
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  }
  {
    Win32LocalShell shell(nullptr);
    std::vector<LocalItemPtr> chain = shell.chainTo(narrow(folder));
    if (chain.empty()) {
      std::printf("the shell does not know %ls\n", folder.c_str());
    } else {
      print("presenter, real shell (wine)", measure(shell, chain.back(), files, rounds), baseline);
    }
  }
  for (int i = 0; i < files; ++i)
    DeleteFileW((folder + L"\\file" + std::to_wstring(i) + L".dat").c_str());
  RemoveDirectoryW(folder.c_str());
  CoUninitialize();
#endif
  return 0;
}
