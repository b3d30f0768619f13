// Storage-server data-session messages and the peer request header, checked
// against hand-laid bytes; the count fields of FileData and FileChunk come
// from the other side and must never reach outside the body.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/net/messages/download_messages.h"
#include "core/net/messages/peer_header.h"
#include "core/net/messages/upload_messages.h"

namespace pom {
namespace {

TEST(DownloadRequestBytes, PathsShareOneFieldAndOffsetEndsTheBody) {
  DownloadRequest m;
  m.sessionNumber = 0x0A0B;
  m.fileId = 0x01020304;
  m.memberId = "member";
  m.password = "secret";
  m.path = DownloadRequest::joinPath("D:/st/", "f.bin");
  m.offset = 0x0000000100000002LL;
  const Bytes body = m.encode();
  ASSERT_EQ(body.size(), 562u);
  EXPECT_EQ(Bytes(body.begin(), body.begin() + 10),
            (Bytes{3, 0, 0, 0, 0x0B, 0x0A, 0x04, 0x03, 0x02, 0x01}));
  EXPECT_EQ(std::string(body.begin() + 10, body.begin() + 17), std::string("member\0", 7));
  EXPECT_EQ(std::string(body.begin() + 31, body.begin() + 38), std::string("secret\0", 7));
  EXPECT_EQ(std::string(body.begin() + 42, body.begin() + 54), std::string("D:/st/f.bin\0", 12));
  EXPECT_EQ(Bytes(body.begin() + 554, body.end()), (Bytes{2, 0, 0, 0, 1, 0, 0, 0}));

  m.path = std::string(600, 'p');  // cut to 511 bytes, the offset stays intact
  const Bytes cut = m.encode();
  EXPECT_EQ(cut[552], 'p');
  EXPECT_EQ(cut[553], 0);
  EXPECT_EQ(cut[554], 2);
}

TEST(DownloadReplies, FixedSizesAndFields) {
  const Bytes accept = {3, 0, 0, 0, 0xAA, 0xBB, 0x00, 0x00, 0x10, 0, 0, 0, 0, 0, 9, 0, 0, 0, 1};
  const auto a = DownloadAccept::decode(accept.data(), accept.size());
  ASSERT_TRUE(a);
  EXPECT_EQ(a->fileSize, 0x100000);
  EXPECT_EQ(a->fileId, 9);
  EXPECT_EQ(a->refused, 1);
  EXPECT_FALSE(DownloadAccept::decode(accept.data(), 18));

  const Bytes shortage = {7,    0,    0,    0,    0,    0, 0xFF, 0xFF, 0xFF,
                          0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0,    1};
  const auto s = CreditShortage::decode(shortage.data(), shortage.size());
  ASSERT_TRUE(s);
  EXPECT_EQ(s->credit, -1);
  EXPECT_EQ(s->flatRate, 0);
  EXPECT_EQ(s->force, 1);
  // The first 16 bytes are a CreditInfo layout but carry type 7.
  EXPECT_FALSE(CreditInfo::decode(shortage.data(), 16));

  // FileRefused and KeepAlive act whatever their length.
  const Bytes refused = {10, 0, 0, 0};
  EXPECT_TRUE(FileRefused::decode(refused.data(), refused.size()));
  const Bytes keepAlive = {50, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  EXPECT_TRUE(KeepAlive::decode(keepAlive.data(), keepAlive.size()));
  EXPECT_FALSE(KeepAlive::decode(keepAlive.data(), 3));
}

TEST(FileDataDecode, CountMustLieInsideTheBody) {
  Bytes body = {5, 0, 0, 0, 3, 0, 0, 0, 'a', 'b', 'c'};
  auto view = FileData::view(body.data(), body.size());
  ASSERT_TRUE(view);
  EXPECT_EQ(view->data, body.data() + 8);
  EXPECT_EQ(view->size, 3u);
  EXPECT_FALSE(FileData::view(body.data(), 10));  // one byte short
  body.push_back('z');                            // bytes past 8 + n are ignored
  EXPECT_EQ(FileData::decode(body.data(), body.size())->data, (Bytes{'a', 'b', 'c'}));

  const Bytes negative = {5, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 'a'};
  EXPECT_FALSE(FileData::view(negative.data(), negative.size()));
  const Bytes huge = {5, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0x7F, 'a'};
  EXPECT_FALSE(FileData::view(huge.data(), huge.size()));
  const Bytes empty = {5, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(FileData::view(empty.data(), empty.size())->size, 0u);
  EXPECT_FALSE(FileData::view(empty.data(), 7));
}

TEST(UploadRequestBytes, DigestAsLowercaseHexAtTheEnd) {
  UploadRequest m;
  m.sessionNumber = 1;
  m.serverFileId = 77;
  m.folderId = -4;
  m.memberId = "member";
  m.subFolder = "folder";
  m.fileName = "song.mp3";
  m.totalSize = 0x200;
  m.offset = 0x100;
  m.sharingLetter = 'b';
  m.sampleDigest = {0x00, 0x01, 0xAB, 0xCD, 0xEF, 0x10, 0x32, 0x54,
                    0x76, 0x98, 0xBA, 0xDC, 0xFE, 0xFF, 0x7F, 0x80};
  const Bytes body = m.encode();
  ASSERT_EQ(body.size(), 442u);
  EXPECT_EQ(Bytes(body.begin(), body.begin() + 14),
            (Bytes{0, 0, 0, 0, 1, 0, 77, 0, 0, 0, 2, 0, 0, 0}));
  EXPECT_EQ(body[14], 'm');
  EXPECT_EQ(body[35], 'f');
  EXPECT_EQ(std::string(body.begin() + 135, body.begin() + 143), "song.mp3");
  EXPECT_EQ(Bytes(body.begin() + 391, body.begin() + 409),
            (Bytes{0, 2, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 'b', 'f'}));
  EXPECT_EQ(std::string(body.begin() + 409, body.end()),
            std::string("0001abcdef1032547698badcfeff7f80\0", 33));

  Bytes bad = body;
  bad[420] = 'g';
  EXPECT_FALSE(UploadRequest::decode(bad.data(), bad.size()));
  const auto back = UploadRequest::decode(body.data(), body.size());
  ASSERT_TRUE(back);
  EXPECT_EQ(back->sampleDigest, m.sampleDigest);
  EXPECT_EQ(back->folderId, 2);
}

TEST(FileChunkBytes, HeadInPlaceAndCountChecked) {
  const FileChunk chunk{{'x', 'y', 'z'}};
  const Bytes body = chunk.encode();
  EXPECT_EQ(body, (Bytes{1, 0, 0, 0, 3, 0, 0, 0, 'x', 'y', 'z'}));
  EXPECT_EQ(body.size() + 12, 3u + 20);  // framed packet: n + 20
  std::uint8_t head[8];
  FileChunk::writeHead(head, 3);
  EXPECT_EQ(Bytes(head, head + 8), Bytes(body.begin(), body.begin() + 8));
  EXPECT_FALSE(FileChunk::view(body.data(), 10));
  const Bytes negative = {1, 0, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF};
  EXPECT_FALSE(FileChunk::view(negative.data(), negative.size()));
}

TEST(UploadReplies, FixedAndAnyLength) {
  const Bytes accept = {0, 0, 0, 0, 0, 0, 0x00, 0x00, 0x01, 0x00, 255};
  const auto a = UploadAccept::decode(accept.data(), accept.size());
  ASSERT_TRUE(a);
  EXPECT_EQ(a->chunkSize, 65536);
  EXPECT_EQ(a->result, UploadAccept::Result::FromStart);
  EXPECT_FALSE(UploadDone::decode(accept.data(), accept.size()));  // type 0, not 2
  const Bytes ack = {8, 0, 0, 0, 1, 2};
  EXPECT_TRUE(ChunkAck::decode(ack.data(), 4));
  EXPECT_TRUE(ChunkAck::decode(ack.data(), ack.size()));
  EXPECT_EQ(UploadCancel{}.encode(), (Bytes{2, 0, 0, 0, 0, 0}));
  EXPECT_EQ(expectedUploadReplySize(8).kind, BodySizeKind::Variable);
  EXPECT_EQ(expectedDownloadReplySize(3).exact, 19u);
  EXPECT_EQ(expectedDownloadReplySize(4).kind, BodySizeKind::Unknown);
}

TEST(PeerHeaderText, FormatAndStrictParse) {
  const PeerHeader h{"0123abcd", 10485761, 4096};
  EXPECT_EQ(h.encode(), "|header|0123abcd|10485761|4096|||");
  auto parse = [](const std::string& text) {
    return PeerHeader::decode(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
  };
  const auto back = parse(h.encode());
  ASSERT_TRUE(back);
  EXPECT_EQ(*back, h);
  EXPECT_EQ(parse("|header|c|5000000000|0|||")->totalSize, 5000000000LL);
  EXPECT_FALSE(parse("|header|c|10|11|||"));  // offset past the end
  EXPECT_FALSE(parse("|header|c|10|-1|||"));
  EXPECT_FALSE(parse("|header|c|10|1||"));
  EXPECT_FALSE(parse("|header|c|10||||"));
  EXPECT_FALSE(parse("|header|c|x|1|||"));
  EXPECT_FALSE(parse("|header|c|d|10|1|||"));
  EXPECT_FALSE(parse("|header|c|99999999999999999999|1|||"));
  EXPECT_FALSE(parse("header|c|10|1|||"));
  EXPECT_FALSE(PeerHeader::decode(nullptr, 5));
}

}  // namespace
}  // namespace pom
