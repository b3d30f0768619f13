#include "core/net/reply_dispatcher.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/net/messages/replies.h"

namespace pom {
namespace {

TEST(ReplyDispatcherTest, DispatchesByTypeAndDropsUnknownAndWrongLength) {
  ReplyDispatcher dispatcher;
  std::vector<std::size_t> credits;
  dispatcher.add(ReplyType::CreditBalance, "test",
                 [&](const std::uint8_t*, std::size_t n) { credits.push_back(n); });

  Bytes body = CreditBalance{}.encode();
  EXPECT_TRUE(dispatcher.dispatch(body.data(), body.size()));
  body.push_back(0);  // 16 bytes: not a CreditBalance
  EXPECT_FALSE(dispatcher.dispatch(body.data(), body.size()));
  EXPECT_EQ(credits, std::vector<std::size_t>({15}));

  Bytes unknown(12, 0);
  unknown[0] = 53;  // above the last type
  EXPECT_FALSE(dispatcher.dispatch(unknown.data(), unknown.size()));
  unknown[0] = 9;  // a type the client does not handle
  EXPECT_FALSE(dispatcher.dispatch(unknown.data(), unknown.size()));
  EXPECT_FALSE(dispatcher.dispatch(unknown.data(), 3));  // no type at all
  Bytes ticket = SessionInfo{}.encode();                 // known type, no handler registered
  EXPECT_FALSE(dispatcher.dispatch(ticket.data(), ticket.size()));
}

TEST(ReplyDispatcherTest, SeveralModulesReactToOneTypeInRegistrationOrder) {
  ReplyDispatcher dispatcher;
  std::vector<std::string> log;
  dispatcher.on<FolderList>(
      "tree", [&](const FolderList& m) { log.push_back("tree " + std::to_string(m.folderId)); });
  dispatcher.on<FolderList>(
      "list", [&](const FolderList& m) { log.push_back("list " + std::to_string(m.folderId)); });
  EXPECT_EQ(dispatcher.owners(ReplyType::FolderList), std::vector<std::string>({"tree", "list"}));
  FolderList page;
  page.folderId = 7;
  Bytes body = page.encode();
  EXPECT_TRUE(dispatcher.dispatch(body.data(), body.size()));
  EXPECT_EQ(log, std::vector<std::string>({"tree 7", "list 7"}));
  body.resize(FolderList::kHeadSize - 1);  // shorter than the head: dropped
  EXPECT_FALSE(dispatcher.dispatch(body.data(), body.size()));
  EXPECT_EQ(log.size(), 2u);
}

TEST(ReplyDispatcherTest, HandlersWorkOnTheirOwnCopyOfTheBody) {
  ReplyDispatcher dispatcher;
  Bytes buffer = CreditBalance{}.encode();
  std::vector<std::int32_t> typesSeen;
  for (const char* owner : {"first", "second"}) {
    dispatcher.add(ReplyType::CreditBalance, owner, [&](const std::uint8_t* body, std::size_t) {
      buffer.assign(buffer.size(), 0xEE);  // a re-entrant read overwrites the connection's buffer
      typesSeen.push_back(body[0]);
    });
  }
  dispatcher.dispatch(buffer.data(), buffer.size());
  EXPECT_EQ(typesSeen, std::vector<std::int32_t>({24, 24}));
}

}  // namespace
}  // namespace pom
