// Reply bodies laid out by hand, the way the server sends them, and what the
// client reads from them: exact lengths, list truncation at the body end,
// texts cut at their field.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "core/net/messages/replies.h"

namespace pom {
namespace {

// A body of `size` zero bytes with the given type, filled in by hand.
struct HandBody {
  HandBody(std::int32_t type, std::size_t size) : bytes(size, 0) { put(0, {std::uint8_t(type)}); }
  void put(std::size_t at, std::initializer_list<std::uint8_t> values) {
    for (std::uint8_t v : values) bytes.at(at++) = v;
  }
  void put(std::size_t at, const std::string& text) {
    for (char c : text) bytes.at(at++) = static_cast<std::uint8_t>(c);
  }
  Bytes bytes;
};

template <typename T>
std::optional<T> decode(const HandBody& b) {
  return T::decode(b.bytes.data(), b.bytes.size());
}

// One FolderEntry laid out by hand: id 10, parent 5, 't', stored -1, size
// 1000, 2024-03-30 12:34:56, 9 downloads, the given name.
void putFolderEntry(HandBody& b, std::size_t at, const std::string& name) {
  b.put(at, {10, 0, 0, 0, 5, 0, 0, 0, 't', 0});
  b.put(at + 10, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
  b.put(at + 18, {0xE8, 0x03, 0, 0, 0, 0, 0, 0});
  b.put(at + 26, {0xE8, 0x07, 3, 0, 30, 0, 12, 0, 34, 0, 56, 0, 0, 0, 0, 0});
  b.put(at + 42, {9, 0, static_cast<std::uint8_t>(name.size()), 0});
  b.put(at + 46, name);
}

TEST(FolderListDecode, EmptyPageIsTheSeventeenByteHead) {
  HandBody b(2, 17);
  b.put(6, {5, 0, 0, 0});
  b.put(14, {7, 30, 0});
  const auto list = decode<FolderList>(b);
  ASSERT_TRUE(list);
  EXPECT_EQ(list->folderId, 5);
  EXPECT_EQ(list->continuation, 7);
  EXPECT_EQ(list->capacity, 30);
  EXPECT_EQ(list->count, 0);
  EXPECT_TRUE(list->entries.empty());
  EXPECT_EQ(FolderList{}.encode().size(), 17u);
  EXPECT_FALSE(FolderList::decode(b.bytes.data(), 16));
}

TEST(FolderListDecode, ReadsEntryFieldsAndStopsAtBodyEnd) {
  // Announces three entries; the body holds one whole entry and half another.
  HandBody b(2, 17 + 49 + 30);
  b.put(14, {1, 30, 3});
  putFolderEntry(b, 17, "abc");
  b.put(66, {11, 0, 0, 0, 5, 0, 0, 0, 'f'});
  const auto list = decode<FolderList>(b);
  ASSERT_TRUE(list);
  EXPECT_EQ(list->count, 3);
  ASSERT_EQ(list->entries.size(), 1u);
  const FolderEntry& e = list->entries[0];
  EXPECT_EQ(e.itemId, 10);
  EXPECT_EQ(e.parentId, 5);
  EXPECT_EQ(e.sharingState, 't');
  EXPECT_EQ(e.storedBytes, -1);
  EXPECT_EQ(e.fileSize, 1000);
  EXPECT_EQ(e.date.year, 2024);
  EXPECT_EQ(e.date.month, 3);
  EXPECT_EQ(e.date.day, 30);
  EXPECT_EQ(e.date.second, 56);
  EXPECT_EQ(e.downloadCount, 9);
  EXPECT_EQ(e.name, "abc");
}

TEST(FolderListDecode, NameLengthPastTheEndDropsTheEntry) {
  HandBody b(2, 17 + 46 + 2);
  b.put(16, {1});
  putFolderEntry(b, 17, "");
  b.put(17 + 44, {3, 0});  // announces a 3-byte name, 2 bytes follow
  EXPECT_TRUE(decode<FolderList>(b)->entries.empty());
  b.put(17 + 44, {2, 0});
  EXPECT_EQ(decode<FolderList>(b)->entries.size(), 1u);
}

TEST(FolderListDecode, EntryWithEmptyNameIs46Bytes) {
  FolderEntry e;
  EXPECT_EQ(e.encodedSize(), 46u);
  FolderList list;
  list.entries = {e, e};
  EXPECT_EQ(list.encode().size(), 17u + 2 * 46);
  HandBody b(2, 17 + 46 + 46);
  b.put(16, {2});
  EXPECT_EQ(decode<FolderList>(b)->entries.size(), 2u);
}

TEST(MemberFolderListDecode, HeadFieldsAndEntriesFrom38) {
  HandBody b(3, 38 + 47);
  b.put(6, "friend");
  b.put(27, {0x20, 0, 0, 0});
  b.put(35, {4, 30, 1});
  putFolderEntry(b, 38, "q");
  const auto list = decode<MemberFolderList>(b);
  ASSERT_TRUE(list);
  EXPECT_EQ(list->friendId, "friend");
  EXPECT_EQ(list->folderId, 0x20);
  EXPECT_EQ(list->continuation, 4);
  EXPECT_EQ(list->capacity, 30);
  ASSERT_EQ(list->entries.size(), 1u);
  EXPECT_EQ(list->entries[0].name, "q");
}

TEST(SearchResultsDecode, EmptyIsEightBytesAndEntriesFromEight) {
  EXPECT_EQ(SearchResults{}.encode(), (Bytes{21, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(FolderContent{}.encode(), (Bytes{23, 0, 0, 0, 0, 0, 0, 0}));

  HandBody b(22, 8 + 78 + 40);
  b.put(6, {2, 0});
  b.put(8, {1, 0, 0, 0, 2, 0, 0, 0});
  b.put(16, "bob");
  b.put(37, "0123456789abcdef0123456789abcdef");
  b.put(70, {2, 0});
  b.put(72, {0x2C, 0x01, 0, 0, 0, 0, 0, 0});
  b.put(80, {0xFB, 0xFF, 0xFF, 0xFF});
  b.put(84, "hi");
  const auto more = decode<SearchMoreResults>(b);
  ASSERT_TRUE(more);
  EXPECT_EQ(more->count, 2);
  ASSERT_EQ(more->entries.size(), 1u);  // the second entry is cut off
  const SearchEntry& e = more->entries[0];
  EXPECT_EQ(e.fileId, 1);
  EXPECT_EQ(e.folderId, 2);
  EXPECT_EQ(e.ownerId, "bob");
  EXPECT_EQ(e.uniqueCode, "0123456789abcdef0123456789abcdef");
  EXPECT_EQ(e.fileSize, 300);
  EXPECT_EQ(e.daysKept, -5);
  EXPECT_EQ(e.name, "hi");
  // Same layout, but the type must match.
  EXPECT_FALSE(SearchResults::decode(b.bytes.data(), b.bytes.size()));
}

TEST(FriendListDecode, RecordsFromSevenUntilTheBodyEnds) {
  HandBody b(1, 7 + 242 + 100);
  b.put(6, {2});
  b.put(7, "pal");
  b.put(28, "Pal Name");
  b.put(49, "memo text");
  const auto list = decode<FriendList>(b);
  ASSERT_TRUE(list);
  EXPECT_EQ(list->count, 2);
  ASSERT_EQ(list->friends.size(), 1u);
  EXPECT_EQ(list->friends[0].friendId, "pal");
  EXPECT_EQ(list->friends[0].displayName, "Pal Name");
  EXPECT_EQ(list->friends[0].memo, "memo text");
}

TEST(DownloadTicketDecode, ExactlyFiveHundredEighteenBytes) {
  HandBody b(13, 518);
  b.put(6, {0x39, 0x30, 0, 0});
  b.put(10, "/srv/file.bin");
  b.put(266, "D:/store/");
  b.put(366, "a1/");
  b.put(466, "127.0.0.5");
  b.put(482, {2, 0, 0});
  b.put(485, "0123456789abcdef0123456789abcdef");
  const auto t = decode<DownloadTicket>(b);
  ASSERT_TRUE(t);
  EXPECT_EQ(t->fileId, 12345);
  EXPECT_EQ(t->serverPath, "/srv/file.bin");
  EXPECT_EQ(t->storagePath(), "D:/store/a1/");
  EXPECT_EQ(t->storageHost, "127.0.0.5");
  EXPECT_EQ(t->flatRate, 2);
  EXPECT_EQ(t->result, DownloadTicket::Result::Go);
  EXPECT_EQ(t->uniqueCode, "0123456789abcdef0123456789abcdef");

  EXPECT_FALSE(DownloadTicket::decode(b.bytes.data(), 517));
  b.bytes.push_back(0);
  EXPECT_FALSE(decode<DownloadTicket>(b));
}

TEST(LoginReplyDecode, MemberRecordFields) {
  HandBody b(0, 122);
  b.put(10, "member01");
  b.put(31, "text");
  b.put(73, "8501011234567");
  b.put(86, {0xEE});  // unlisted byte between the number and the class: not read
  b.put(87, {3, 0});
  b.put(89, {0x10, 0x27, 0, 0, 0, 0, 0, 0});
  b.put(97, {1});
  b.put(105, {2});
  b.put(113, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
  b.put(121, {100});
  const auto r = decode<LoginReply>(b);
  ASSERT_TRUE(r);
  EXPECT_EQ(r->memberId, "member01");
  EXPECT_EQ(r->memberText, "text");
  EXPECT_EQ(r->registrationNumber, "8501011234567");
  EXPECT_EQ(r->flatRate, 3);
  EXPECT_EQ(r->credit, 10000);
  EXPECT_EQ(r->valueB, 1);
  EXPECT_EQ(r->valueC, 2);
  EXPECT_EQ(r->valueD, -1);
  EXPECT_EQ(r->result, LoginReply::Result::Retry);
}

TEST(FixedReplyDecode, FieldsAtTheirOffsets) {
  HandBody ticket(12, 47);
  ticket.put(6, "127.0.0.9");
  ticket.put(22, {0x39, 0x1C, 2, 0, 7, 0, 0, 0});
  ticket.put(30, {0, 0, 1, 0, 0, 0, 0, 0});
  ticket.put(38, {0, 1, 0, 0, 0, 0, 0, 0, 255});
  const auto up = decode<UploadTicket>(ticket);
  ASSERT_TRUE(up);
  EXPECT_EQ(up->storageHost, "127.0.0.9");
  EXPECT_EQ(up->storagePort, 7225);
  EXPECT_EQ(up->uploadRow, 2);
  EXPECT_EQ(up->serverFileId, 7);
  EXPECT_EQ(up->fileSize, 65536);
  EXPECT_EQ(up->storedBytes, 256);
  EXPECT_EQ(up->result, UploadTicket::Result::FromNothing);

  HandBody created(7, 18);
  created.put(10, {0x64, 0, 0, 0, 3, 0, 1, 0});
  const auto folder = decode<UploadFolderCreated>(created);
  ASSERT_TRUE(folder);
  EXPECT_EQ(folder->folderId, 100);
  EXPECT_EQ(folder->pendingIndex, 3);
  EXPECT_EQ(folder->forUpload, 1);
  EXPECT_EQ(folder->result, UploadFolderCreated::Result::Created);

  HandBody notice(27, 108);
  notice.put(4, {1, 0, 0, 0});
  notice.put(8, "hello");
  EXPECT_EQ(decode<ServerNotice>(notice)->text, "hello");
  EXPECT_EQ(decode<ServerNotice>(notice)->show, 1);

  HandBody session(51, 7);
  session.put(4, {0x34, 0x12, 0x99});
  EXPECT_EQ(decode<SessionInfo>(session)->sessionNumber, 0x1234);

  HandBody link(26, 225);
  link.put(204, "ABCDEFGHIJKLMNOPQRST");  // all 20 bytes used: no terminator inside
  link.put(224, {0});
  EXPECT_EQ(decode<CombinedLinkReply>(link)->linkCode, "ABCDEFGHIJKLMNOPQRST");

  HandBody rename(17, 271);
  rename.put(270, {5});
  EXPECT_EQ(static_cast<int>(decode<RenameFileReply>(rename)->result), 5);

  HandBody registered(10, 309);
  registered.put(288 + 4, {45, 0});
  EXPECT_EQ(decode<FileRegistered>(registered)->date.day, 45);
}

TEST(FixedReplyDecode, NameLongerThanItsFieldIsCut) {
  FolderCreated m;
  m.name = std::string(150, 'x');
  const Bytes body = m.encode();
  ASSERT_EQ(body.size(), 154u);
  EXPECT_EQ(body[105], 0);
  EXPECT_EQ(FolderCreated::decode(body.data(), body.size())->name, std::string(99, 'x'));
  FriendRecord record{std::string(30, 'i'), "n", "m"};
  const Bytes friendBody = AddFriendReply{record, AddFriendReply::Result::Added}.encode();
  EXPECT_EQ(friendBody[26], 0);
  EXPECT_EQ(friendBody[27], 'n');
}

TEST(SizeTable, MatchesEveryReplyAndIgnoresTheRest) {
  struct Row {
    ReplyType type;
    BodySizeKind kind;
    std::size_t size;
  };
  const Row rows[] = {
      {LoginReply::kType, BodySizeKind::Exact, LoginReply::kSize},
      {FriendList::kType, BodySizeKind::Variable, FriendList::kHeadSize},
      {FolderList::kType, BodySizeKind::Variable, FolderList::kHeadSize},
      {MemberFolderList::kType, BodySizeKind::Variable, MemberFolderList::kHeadSize},
      {AddFriendReply::kType, BodySizeKind::Exact, AddFriendReply::kSize},
      {RemoveFriendReply::kType, BodySizeKind::Exact, RemoveFriendReply::kSize},
      {EditMemoReply::kType, BodySizeKind::Exact, EditMemoReply::kSize},
      {UploadFolderCreated::kType, BodySizeKind::Exact, UploadFolderCreated::kSize},
      {FolderCreated::kType, BodySizeKind::Exact, FolderCreated::kSize},
      {FileRegistered::kType, BodySizeKind::Exact, FileRegistered::kSize},
      {ItemSizeUpdate::kType, BodySizeKind::Exact, ItemSizeUpdate::kSize},
      {UploadTicket::kType, BodySizeKind::Exact, UploadTicket::kSize},
      {DownloadTicket::kType, BodySizeKind::Exact, DownloadTicket::kSize},
      {SetSharingReply::kType, BodySizeKind::Exact, SetSharingReply::kSize},
      {DeleteItemReply::kType, BodySizeKind::Exact, DeleteItemReply::kSize},
      {RenameFileReply::kType, BodySizeKind::Exact, RenameFileReply::kSize},
      {MoveFileReply::kType, BodySizeKind::Exact, MoveFileReply::kSize},
      {SearchResults::kType, BodySizeKind::Variable, SearchResults::kHeadSize},
      {SearchMoreResults::kType, BodySizeKind::Variable, SearchMoreResults::kHeadSize},
      {FolderContent::kType, BodySizeKind::Variable, FolderContent::kHeadSize},
      {CreditBalance::kType, BodySizeKind::Exact, CreditBalance::kSize},
      {ExtendTermReply::kType, BodySizeKind::Exact, ExtendTermReply::kSize},
      {CombinedLinkReply::kType, BodySizeKind::Exact, CombinedLinkReply::kSize},
      {ServerNotice::kType, BodySizeKind::Exact, ServerNotice::kSize},
      {NoteNotice::kType, BodySizeKind::Exact, NoteNotice::kSize},
      {KeepAlive::kType, BodySizeKind::Exact, KeepAlive::kSize},
      {SessionInfo::kType, BodySizeKind::Exact, SessionInfo::kSize},
      {ReplyType::Unused52, BodySizeKind::Exact, 6},
  };
  for (const Row& row : rows) {
    const BodySize size = expectedReplySize(static_cast<std::int32_t>(row.type));
    EXPECT_EQ(size.kind, row.kind) << static_cast<int>(row.type);
    EXPECT_EQ(size.exact, row.size) << static_cast<int>(row.type);
  }
  for (std::int32_t ignored : {-1, 9, 16, 18, 20, 29, 40, 49, 53, 1000}) {
    EXPECT_EQ(expectedReplySize(ignored).kind, BodySizeKind::Unknown) << ignored;
  }
  EXPECT_TRUE(acceptsLength(expectedReplySize(13), 518));
  EXPECT_FALSE(acceptsLength(expectedReplySize(13), 517));
  EXPECT_TRUE(acceptsLength(expectedReplySize(21), 8));
  EXPECT_TRUE(acceptsLength(expectedReplySize(21), 500));
  EXPECT_FALSE(acceptsLength(expectedReplySize(21), 7));
  EXPECT_FALSE(acceptsLength(expectedReplySize(9), 11));
}

TEST(BodyType, ReadsTheFirstFourBytes) {
  const Bytes body = {0x33, 0, 0, 0, 1};
  EXPECT_EQ(bodyType(body.data(), body.size()), 51);
  EXPECT_EQ(bodyType(body.data(), 4), 51);
  EXPECT_FALSE(bodyType(body.data(), 3));
  const Bytes negative = {0xFF, 0xFF, 0xFF, 0xFF};
  EXPECT_EQ(bodyType(negative.data(), 4), -1);
}

}  // namespace
}  // namespace pom
