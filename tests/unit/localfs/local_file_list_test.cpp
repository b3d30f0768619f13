// The local file list: texts, order, commands, uploads and drops.
#include "core/localfs/local_file_list.h"

#include <gtest/gtest.h>

#include "core/localfs/local_folder_tree.h"
#include "fake_local_shell.h"
#include "support/fake_links.h"

namespace pom {
namespace {

class LocalFileListTest : public ::testing::Test {
 protected:
  LocalFileListTest() {
    list.setShell(&shell);
    list.setView(&view);
  }
  // The folder "c:\d" with a drive-like item, a folder and files.
  void fill() {
    shell.add("c:\\d", "b.txt", fake_attr::kFile, 1500);
    shell.add("c:\\d", "sub", fake_attr::kFolder);
    shell.add("c:\\d", "a.bin", fake_attr::kFile, 5LL << 32);  // 20 GiB
    shell.add("c:\\d", "e:", fake_attr::kDrive);
    shell.add("c:\\d", "c.txt", fake_attr::kFile, 1024);
    shell.add("c:\\d", "z", fake_attr::kFolder);
    list.showFolder(FakeLocalShell::item("c:\\d"));
  }
  std::string order() {
    std::string names;
    for (std::size_t row = 0; row < list.rowCount(); ++row) names += list.cellText(row, 0) + " ";
    return names;
  }

  FakeLocalShell shell;
  FakeLocalListView view;
  FakeUploadLink uploads;
  FakeMainWindowLink mainWindow;
  FakeStorageLink storage;
  LocalFileList list{{nullptr, nullptr, nullptr, &uploads, &mainWindow, &storage}};
};

TEST(LocalSort, SizeTextsAndRoundedKilobytesUseAllSixtyFourBits) {
  struct Case {
    std::int64_t bytes;
    const char* text;
    std::int64_t sortKb;
  };
  for (const Case& c : {Case{0, "0KB", 0}, Case{1500, "1KB", 2}, Case{1024, "1KB", 1},
                        Case{(4LL << 30) + 1, "4194304KB", 4194305},
                        Case{5LL << 40, "5368709120KB", 5368709120LL}}) {
    LocalEntry entry;
    entry.attributes = fake_attr::kFile;
    entry.size = c.bytes;
    EXPECT_EQ(localSizeText(entry), c.text) << c.bytes;
    EXPECT_EQ(roundedKilobytes(c.bytes), c.sortKb) << c.bytes;
  }
  LocalEntry folder;
  folder.attributes = fake_attr::kFolder;
  EXPECT_EQ(localSizeText(folder), "") << "folders show no size";
}

TEST(LocalSort, AClickTogglesTheSortedColumnAndMinusOneIsNoColumn) {
  EXPECT_EQ(nextSortKey(kNoSortKey, 1), 1);
  EXPECT_EQ(nextSortKey(1, 1), 1 | kDescending);
  EXPECT_EQ(nextSortKey(1 | kDescending, 1), 1);
  EXPECT_EQ(nextSortKey(1 | kDescending, 3), 3);
  EXPECT_EQ(nextSortKey(kNoSortKey, 0), 0) << "-1 is not column 0x7FFF descending";
}

TEST_F(LocalFileListTest, DrivesFoldersFilesStayInOrderWhateverTheColumnAndDirection) {
  fill();
  EXPECT_EQ(order(), "e: sub z a.bin b.txt c.txt ") << "sortKey -1: the shell's order in groups";
  list.columnClick(1);
  EXPECT_EQ(order(), "e: sub z c.txt b.txt a.bin ") << "1,500 bytes sort as 2 KB";
  list.columnClick(1);
  EXPECT_EQ(list.sortKey(), 1 | kDescending);
  EXPECT_EQ(order(), "e: z sub a.bin b.txt c.txt ") << "twice: largest first, groups kept";
  list.columnClick(0);
  list.columnClick(0);
  EXPECT_EQ(order(), "e: z sub c.txt b.txt a.bin ");
  EXPECT_EQ(list.cellText(5, 1), "20971520KB");
  EXPECT_EQ(list.cellText(0, 1), "");
  EXPECT_EQ(view.rows, 6u);
}

TEST_F(LocalFileListTest, AFailedEnumerationKeepsItsRowsAndReleasesTheCapture) {
  fill();
  EXPECT_EQ(view.busy, (std::vector<bool>{true, false}));
  EXPECT_EQ(view.caption, "c:\\d");
  shell.failEnumeration = true;
  list.showFolder(FakeLocalShell::item("c:\\d"));
  EXPECT_EQ(list.rowCount(), 1u);
  EXPECT_EQ(view.busy, (std::vector<bool>{true, false, true, false}));
}

TEST_F(LocalFileListTest, UploadTakesPathsFromTheItemsAndFoldersByTheirAttributes) {
  // The display name hides the extension; an empty file is still a file.
  shell.add("c:\\d", "photo.jpg", fake_attr::kFile, 10, "photo");
  shell.add("c:\\d", "empty.txt", fake_attr::kFile, 0);
  shell.add("c:\\d", "sub", fake_attr::kFolder);
  shell.add("c:\\d", "x", fake_attr::kFile).item = FakeLocalShell::item("::{control panel}");
  list.showFolder(FakeLocalShell::item("c:\\d"));
  EXPECT_FALSE(list.hasSelection());
  view.selectAll();
  list.uploadSelected();
  EXPECT_EQ(uploads.queued, (std::vector<std::string>{"c:\\d\\empty.txt", "c:\\d\\photo.jpg"}))
      << "an item off the disk has no path to upload";
  EXPECT_EQ(uploads.notices, 1);
  EXPECT_EQ(uploads.noticeHeight, UploadLink::kNoticeHeight);
}

TEST_F(LocalFileListTest, FoldersGoToTheFolderUpload) {
  class FolderUploads : public FakeUploadLink {
   public:
    std::vector<std::string> folders;
    void uploadLocalFolder(const std::string& path) override { folders.push_back(path); }
  } folderUploads;
  LocalFileList other{{&shell, &view, nullptr, &folderUploads, nullptr, nullptr}};
  shell.add("c:\\d", "sub", fake_attr::kFolder);
  shell.add("c:\\d", "archive.zip", fake_attr::kFile | local_attr::kFolder | local_attr::kStream,
            9);
  other.showFolder(FakeLocalShell::item("c:\\d"));
  view.selectAll();
  other.uploadSelected();
  EXPECT_EQ(folderUploads.folders, std::vector<std::string>{"c:\\d\\sub"});
  EXPECT_EQ(folderUploads.queued, std::vector<std::string>{"c:\\d\\archive.zip"})
      << "an archive the shell browses is a file";
}

TEST_F(LocalFileListTest, ADropUploadsOnlyOverTheUploadListOrTheOwnListWithAnOwnListing) {
  struct Case {
    bool overUploadList, insideWebList;
    RightPaneMode mode;
    bool ownListing;
    bool uploads;
  };
  fill();
  view.selected = {3};  // a.bin
  for (const Case& c : {
           Case{true, false, RightPaneMode::SearchList, false, true},
           Case{false, true, RightPaneMode::OwnList, true, true},
           Case{false, true, RightPaneMode::SearchList, true, false},
           Case{false, true, RightPaneMode::FolderList, true, false},
           Case{false, true, RightPaneMode::NoticePage, true, false},
           Case{false, true, RightPaneMode::OwnList, false, false},
           Case{false, false, RightPaneMode::OwnList, true, false},
       }) {
    uploads.queued.clear();
    mainWindow.mode = c.mode;
    struct Listing : FakeStorageLink {
      bool own = true;
      bool ownListing() const override { return own; }
    } listing;
    listing.own = c.ownListing;
    LocalFileList dropped{{&shell, &view, nullptr, &uploads, &mainWindow, &listing}};
    dropped.showFolder(FakeLocalShell::item("c:\\d"));
    dropped.dropForUpload(c.overUploadList, c.insideWebList);
    EXPECT_EQ(uploads.queued.size(), c.uploads ? 1u : 0u)
        << c.overUploadList << c.insideWebList << static_cast<int>(c.mode) << c.ownListing;
  }
}

TEST_F(LocalFileListTest, DeleteHandsEverySelectedPathToTheShell) {
  const std::string longName(200, 'x');
  for (int i = 0; i < 300; ++i) shell.add("c:\\d", longName + std::to_string(i), fake_attr::kFile);
  list.showFolder(FakeLocalShell::item("c:\\d"));
  list.key(LocalKey::SelectAll);
  list.key(LocalKey::Delete);
  ASSERT_EQ(shell.removed.size(), 1u);
  EXPECT_EQ(shell.removed[0].size(), 300u) << "over 26,000 bytes of paths, none left out";
  EXPECT_TRUE(shell.toRecycleBin[0]);
  list.key(LocalKey::DeleteForGood);
  EXPECT_FALSE(shell.toRecycleBin[1]);

  std::vector<std::string> paths(300, "c:\\" + longName);
  const std::string joined = doubleNulList(paths);
  EXPECT_EQ(joined.size(), 300 * (paths[0].size() + 1) + 1);
  EXPECT_EQ(joined.substr(joined.size() - 2), std::string(2, '\0'));
  EXPECT_EQ(doubleNulList(std::vector<std::wstring>{L"a"}), std::wstring(L"a\0\0", 3));
}

TEST_F(LocalFileListTest, RenameGoesThroughTheShellAndRefusesOtherFolders) {
  shell.add("c:\\d", "a.txt", fake_attr::kFile, 1, "a");
  list.showFolder(FakeLocalShell::item("c:\\d"));
  for (const char* bad : {"..\\a", "x/y", "..", "", "d:a"}) list.endLabelEdit(0, std::string(bad));
  list.endLabelEdit(0, std::nullopt);
  EXPECT_TRUE(shell.renames.empty()) << "nothing leaves the folder";
  shell.refuseRename = true;
  list.endLabelEdit(0, std::string("b"));
  EXPECT_EQ(list.cellText(0, 0), "a") << "refused: the old name stays";
  EXPECT_EQ(view.redrawn, std::vector<std::size_t>{0});
  shell.refuseRename = false;
  list.endLabelEdit(0, std::string("b"));
  EXPECT_EQ(shell.renames.back(), "c:\\d\\a.txt>b");
  EXPECT_EQ(list.cellText(0, 0), "b");
}

TEST(LocalMenu, CommandsAreKnownByTheirVerbs) {
  struct Case {
    int command;
    const char* verb;
    LocalMenuAction action;
  };
  for (const Case& c :
       {Case{kUploadMenuCommand, "", LocalMenuAction::Upload},
        Case{19, "rename", LocalMenuAction::EditLabel},
        Case{40, "rename", LocalMenuAction::EditLabel},
        Case{18, "delete", LocalMenuAction::InvokeThenRefresh},
        Case{25, "cut", LocalMenuAction::InvokeThenRefresh},
        Case{26, "paste", LocalMenuAction::InvokeThenRefresh},
        Case{17, "properties", LocalMenuAction::Invoke}, Case{20, "", LocalMenuAction::Invoke}}) {
    EXPECT_EQ(localMenuAction(c.command, c.verb), c.action) << c.command << c.verb;
  }
}

TEST_F(LocalFileListTest, TheMenuRenamesTheLastSelectedRowAndUploads) {
  fill();
  view.selected = {3, 4};
  view.choice = {19, "rename"};
  list.rightClick();
  EXPECT_EQ(view.edited, std::vector<std::size_t>{4});
  EXPECT_TRUE(view.ranVerbs.empty()) << "the list edits the label itself";
  view.choice = {kUploadMenuCommand, ""};
  list.rightClick();
  EXPECT_EQ(uploads.queued.size(), 2u);
}

TEST(LocalFolderTree, PointAtExpandsDownToTheFolderAndShowsIt) {
  FakeLocalShell shell;
  FakeLocalListView view;
  shell.add("", "c:", fake_attr::kDrive);
  shell.add("c:", "PomDownLoad", fake_attr::kFolder);
  shell.add("c:\\PomDownLoad", "movie.avi", fake_attr::kFile, 4096);
  shell.add("c:\\PomDownLoad", "inner", fake_attr::kFolder);
  LocalFileList list{{&shell, &view, nullptr, nullptr, nullptr, nullptr}};
  LocalFolderTree tree(list, nullptr);
  list.setHost(&tree);
  tree.attach(&shell, nullptr);
  EXPECT_EQ(list.shownFolder(), "") << "the desktop first";
  EXPECT_TRUE(tree.pointAt("c:\\PomDownLoad"));
  EXPECT_EQ(list.shownFolder(), "c:\\PomDownLoad");
  EXPECT_EQ(list.rowCount(), 2u);
  EXPECT_FALSE(tree.pointAt("c:\\missing"));

  list.doubleClick(0);  // the folder row "inner"
  EXPECT_EQ(list.shownFolder(), "c:\\PomDownLoad\\inner");
  tree.pointAt("c:\\PomDownLoad");
  list.doubleClick(1);
  EXPECT_EQ(shell.opened, std::vector<std::string>{"c:\\PomDownLoad\\movie.avi"});

  shell.add("c:\\PomDownLoad", "new", fake_attr::kFolder);
  list.key(LocalKey::Refresh);
  EXPECT_EQ(list.rowCount(), 3u);
  EXPECT_EQ(tree.node(tree.selection())->children.size(), 2u) << "read again, not doubled";

  // The tree's own upload entry: the notice page first, then the folder.
  class Order : public FakeUploadLink {
   public:
    std::vector<std::string> calls;
    void noteUploadStarted(int height) override { calls.push_back(std::to_string(height)); }
    void uploadLocalFolder(const std::string& path) override { calls.push_back(path); }
  } uploads;
  LocalFolderTree uploading(list, &uploads);
  uploading.attach(&shell, nullptr);
  ASSERT_TRUE(uploading.pointAt("c:\\PomDownLoad"));
  uploading.uploadNode(uploading.selection());
  EXPECT_EQ(uploads.calls, (std::vector<std::string>{"660", "c:\\PomDownLoad"}));
}

}  // namespace
}  // namespace pom
