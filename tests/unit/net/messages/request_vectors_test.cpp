// Request bodies checked against bytes laid out by hand from the message
// layouts, not produced by the encoder.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/net/messages/requests.h"

namespace pom {
namespace {

// Bytes of `body` in [from, to) are all zero.
::testing::AssertionResult zeroRange(const Bytes& body, std::size_t from, std::size_t to) {
  for (std::size_t i = from; i < to; ++i) {
    if (body[i] != 0) return ::testing::AssertionFailure() << "byte " << i << " is not zero";
  }
  return ::testing::AssertionSuccess();
}

TEST(LoginRequestBytes, FourCharacterIdAndPassword) {
  const Bytes expected = {0, 0, 0, 0, 0, 0, 'a', 'b', 'c', 'd', 0,   0,   0, 0, 0, 0, 0, 0, 0,
                          0, 0, 0, 0, 0, 0, 0,   0,   'w', 'x', 'y', 'z', 0, 0, 0, 0, 0, 0, 0};
  ASSERT_EQ(expected.size(), 38u);
  EXPECT_EQ((LoginRequest{"abcd", "wxyz"}.encode()), expected);
}

TEST(LoginRequestBytes, LongestIdAndPasswordKeepTheirTerminators) {
  const Bytes body = LoginRequest{"abcdefghijklmnopqrst", "0123456789"}.encode();
  ASSERT_EQ(body.size(), 38u);
  EXPECT_EQ(std::string(body.begin() + 6, body.begin() + 26), "abcdefghijklmnopqrst");
  EXPECT_EQ(body[26], 0);
  EXPECT_EQ(std::string(body.begin() + 27, body.begin() + 37), "0123456789");
  EXPECT_EQ(body[37], 0);
  // One byte more than the field holds is cut, never spills into the next field.
  EXPECT_EQ((LoginRequest{"abcdefghijklmnopqrstu", "0123456789X"}.encode()), body);
}

TEST(CombinedLinkRequestBytes, IdsAsDecimalTextAfterTheType) {
  const Bytes body = CombinedLinkRequest{{12, 345}}.encode();
  ASSERT_EQ(body.size(), 225u);
  const Bytes head = {26, 0, 0, 0, '1', '2', ',', '3', '4', '5'};
  EXPECT_EQ(Bytes(body.begin(), body.begin() + 10), head);
  EXPECT_TRUE(zeroRange(body, 10, 225));
}

TEST(CombinedLinkRequestBytes, OnlyTheFirstTenIdsTravel) {
  const Bytes body = CombinedLinkRequest{{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}}.encode();
  const std::string text = "1,2,3,4,5,6,7,8,9,10";
  EXPECT_EQ(std::string(body.begin() + 4, body.begin() + 4 + text.size()), text);
  EXPECT_TRUE(zeroRange(body, 4 + text.size(), 225));
}

TEST(SmallRequestBytes, FixedLayouts) {
  struct Case {
    const char* name;
    Bytes actual;
    Bytes expected;
  };
  const Case cases[] = {
      {"FolderListRequest",
       FolderListRequest{0x0102, 0x7F, 3}.encode(),
       {2, 0, 0, 0, 0, 0, 0x02, 0x01, 0, 0, 0x7F, 0, 0, 0, 3}},
      {"DownloadTicketRequest",
       DownloadTicketRequest{9, 0x10000000000LL}.encode(),
       {13, 0, 0, 0, 0, 0, 9, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0}},
      {"SetSharingRequest",
       SetSharingRequest{-1, 4, 'd', 'c'}.encode(),
       {14, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 4, 0, 0, 0, 'd', 'c'}},
      {"DeleteItemRequest",
       DeleteItemRequest{3, 8, 'f'}.encode(),
       {15, 0, 0, 0, 0, 0, 3, 0, 0, 0, 8, 0, 0, 0, 'f'}},
      {"MoveFileRequest",
       MoveFileRequest{0xABCD, 1, 2, 3}.encode(),
       {19, 0, 0, 0, 0xCD, 0xAB, 1, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0, 0}},
      {"ExtendTermRequest", ExtendTermRequest{7, 0x03}.encode(), {25, 0, 0, 0, 7, 0, 3, 0, 0, 0}},
      {"UploadFinished",
       UploadFinished{-2, 1}.encode(),
       {9, 0, 0, 0, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF, 1}},
      {"TransferEnded", TransferEnded{}.encode(), {24, 0, 0, 0, 0, 0}},
      {"FriendListRequest", FriendListRequest{}.encode(), {1, 0, 0, 0, 0, 0}},
      {"NoteCheckRequest", NoteCheckRequest{}.encode(), {28, 0, 0, 0, 0, 0, 0, 0, 0}},
      {"PeerReport",
       PeerReport{0x0102, 7, "me", 0x0102030405060708LL, 5, true, -1}.encode(),
       {30, 0, 0, 0, 0x02, 0x01, 7, 0, 0, 0, 'm', 'e', 0, 0, 0,    0,   0,
        0,  0, 0, 0, 0,    0,    0, 0, 0, 0, 0,   0,   0, 0, 8,    7,   6,
        5,  4, 3, 2, 1,    5,    0, 0, 0, 0, 0,   0,   0, 1, 0xFF, 0xFF}},
  };
  for (const Case& c : cases) EXPECT_EQ(c.actual, c.expected) << c.name;
}

TEST(CreateFolderRequestBytes, NameMarksParentAndFlags) {
  CreateFolderRequest m;
  m.name = "a'b,c;d";
  m.parentId = -5;
  m.pendingIndex = 0x0201;
  m.sharingState = 'c';
  m.forUpload = true;
  const Bytes body = m.encode();
  ASSERT_EQ(body.size(), 115u);
  EXPECT_EQ(Bytes(body.begin(), body.begin() + 4), (Bytes{7, 0, 0, 0}));
  EXPECT_EQ(std::string(body.begin() + 6, body.begin() + 13), "a!b!c!d");
  EXPECT_TRUE(zeroRange(body, 13, 110));  // rest of the name and the parent sent as 0
  const Bytes tail = {0x01, 0x02, 'c', 'f', 1};
  EXPECT_EQ(Bytes(body.begin() + 110, body.end()), tail);
}

TEST(CreateFolderRequestBytes, SharingLetterFromUploadSettings) {
  EXPECT_EQ(sharingLetterFor(false, false, false), 'f');
  EXPECT_EQ(sharingLetterFor(true, false, false), 't');
  EXPECT_EQ(sharingLetterFor(true, true, false), 'f');
  EXPECT_EQ(sharingLetterFor(true, false, true), 'c');
  EXPECT_EQ(sharingLetterFor(false, true, true), 'c');
}

TEST(UploadTicketRequestBytes, SanitisedNameAndDefaultFolder) {
  const Bytes body = UploadTicketRequest{0x0304, "it's;a,b.txt", 0}.encode();
  ASSERT_EQ(body.size(), 268u);
  EXPECT_EQ(Bytes(body.begin(), body.begin() + 8), (Bytes{12, 0, 0, 0, 0, 0, 0x04, 0x03}));
  EXPECT_EQ(std::string(body.begin() + 8, body.begin() + 20), "it!s!a!b.txt");
  EXPECT_TRUE(zeroRange(body, 20, 264));
  EXPECT_EQ(Bytes(body.begin() + 264, body.end()), (Bytes{2, 0, 0, 0}));
  const Bytes negative = UploadTicketRequest{0, "x", -7}.encode();
  EXPECT_EQ(Bytes(negative.begin() + 264, negative.end()), (Bytes{2, 0, 0, 0}));
  const Bytes one = UploadTicketRequest{0, "x", 1}.encode();
  EXPECT_EQ(Bytes(one.begin() + 264, one.end()), (Bytes{1, 0, 0, 0}));
}

TEST(RenameRequestBytes, FolderNameStopsAt98BytesFileNameAt255) {
  const std::string longName(300, 'n');
  const Bytes folder = RenameFolderRequest{0x11, longName}.encode();
  ASSERT_EQ(folder.size(), 110u);
  EXPECT_EQ(Bytes(folder.begin(), folder.begin() + 10), (Bytes{16, 0, 0, 0, 0, 0, 0x11, 0, 0, 0}));
  EXPECT_EQ(std::string(folder.begin() + 10, folder.begin() + 108), std::string(98, 'n'));
  EXPECT_EQ(folder[108], 0);
  EXPECT_EQ(folder[109], 0);
  EXPECT_EQ((RenameFolderRequest{1, "a,b"}.encode()[11]), '!');

  const Bytes file = RenameFileRequest{0x0506, 1, 2, longName}.encode();
  ASSERT_EQ(file.size(), 271u);
  EXPECT_EQ(Bytes(file.begin(), file.begin() + 14),
            (Bytes{17, 0, 0, 0, 0x06, 0x05, 1, 0, 0, 0, 2, 0, 0, 0}));
  EXPECT_EQ(std::string(file.begin() + 14, file.begin() + 269), std::string(255, 'n'));
  EXPECT_EQ(file[269], 0);
  EXPECT_EQ(file[270], 0);
}

TEST(FriendRequestBytes, TextFieldsAtTheirOffsets) {
  const Bytes member = MemberFolderListRequest{"pal", 4, 5, 6}.encode();
  ASSERT_EQ(member.size(), 36u);
  EXPECT_EQ(std::string(member.begin() + 6, member.begin() + 9), "pal");
  EXPECT_TRUE(zeroRange(member, 9, 27));
  EXPECT_EQ(Bytes(member.begin() + 27, member.end()), (Bytes{4, 0, 0, 0, 5, 0, 0, 0, 6}));

  const Bytes memo = EditMemoRequest{"me", "you", std::string(250, 'm')}.encode();
  ASSERT_EQ(memo.size(), 249u);
  EXPECT_EQ(memo[6], 'm');
  EXPECT_EQ(memo[27], 'y');
  EXPECT_EQ(std::string(memo.begin() + 48, memo.begin() + 247), std::string(199, 'm'));
  EXPECT_EQ(memo[247], 0);
  EXPECT_EQ(memo[248], 0);

  const Bytes content = FolderContentRequest{"owner", -1}.encode();
  ASSERT_EQ(content.size(), 31u);
  EXPECT_EQ(Bytes(content.begin() + 27, content.end()), (Bytes{0xFF, 0xFF, 0xFF, 0xFF}));
}

TEST(RequestDecode, RefusesWrongLengthOrType) {
  Bytes body = LoginRequest{"abcd", "wxyz"}.encode();
  EXPECT_TRUE(LoginRequest::decode(body.data(), body.size()));
  EXPECT_FALSE(LoginRequest::decode(body.data(), body.size() - 1));
  body.push_back(0);
  EXPECT_FALSE(LoginRequest::decode(body.data(), body.size()));
  body.pop_back();
  body[0] = 1;
  EXPECT_FALSE(LoginRequest::decode(body.data(), body.size()));
  EXPECT_FALSE(LoginRequest::decode(nullptr, 38));
}

TEST(RequestDecode, CombinedLinkTextMustBeCommaSeparatedIds) {
  auto withText = [](const std::string& text) {
    Bytes body(225, 0);
    body[0] = 26;
    std::copy(text.begin(), text.end(), body.begin() + 4);
    return CombinedLinkRequest::decode(body.data(), body.size());
  };
  EXPECT_EQ(withText("12,345")->fileIds, (std::vector<std::int32_t>{12, 345}));
  EXPECT_EQ(withText("-3")->fileIds, (std::vector<std::int32_t>{-3}));
  EXPECT_TRUE(withText("")->fileIds.empty());
  EXPECT_FALSE(withText("12,"));
  EXPECT_FALSE(withText(",12"));
  EXPECT_FALSE(withText("1,,2"));
  EXPECT_FALSE(withText("1 2"));
  EXPECT_FALSE(withText("-"));
  EXPECT_FALSE(withText("2147483648"));
  EXPECT_EQ(withText("-2147483648")->fileIds, (std::vector<std::int32_t>{INT32_MIN}));
  EXPECT_FALSE(withText("1,2,3,4,5,6,7,8,9,10,11"));
}

}  // namespace
}  // namespace pom
