// Web links and combined links from the file list, the friend-add and memo
// dialogs, and the message box of every refusal of the web storage.
#include <gtest/gtest.h>

#include "storage_harness.h"

namespace pom::test {
namespace {

std::string repeated(const std::string& text, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += text;
  return out;
}

Bytes combinedReply(const std::string& code, int result = 0) {
  CombinedLinkReply reply;
  reply.linkCode = code;
  reply.result = static_cast<CombinedLinkReply::Result>(result);
  return reply.encode();
}

TEST(WebLinkCommands, TwelveFilesLinkTheFirstTenUnderTheTitleAskedWithThem) {
  StorageHarness h;
  std::vector<FolderEntry> listing;
  for (int i = 1; i <= 12; ++i) listing.push_back(entry(100 + i, 0, "f" + std::to_string(i), 10));
  listing.push_back(entry(90, 0, "다른"));
  h.openRoot(listing);
  h.listView().selectAll();
  FakeMemoView& memo = *h.front.memo;
  memo.text = "내 <링크> & \"묶음\"";
  // While the title is asked another folder is listed.
  memo.whileOpen = [&h] {
    h.click("다른");
    h.ownPage(90, {entry(91, 90, "x", 10)});
  };
  h.list().command(WebListCommand::CombinedLink);
  EXPECT_EQ(memo.titles.back(), "통합링크 제목 설정");
  ASSERT_EQ(h.dialogs().boxes.size(), 1u);
  EXPECT_EQ(h.dialogs().boxes[0].text, "통합링크는 10개까지만 묶을 수 있습니다.     ");
  const auto asked = h.session.last<CombinedLinkRequest>();
  ASSERT_TRUE(asked) << "the rows chosen before the title was asked";
  EXPECT_EQ(asked->fileIds,
            std::vector<std::int32_t>({101, 102, 103, 104, 105, 106, 107, 108, 109, 110}));

  // A memo is edited before the answer comes.
  memo.whileOpen = nullptr;
  memo.text = "다른 메모";
  h.module->memoDialog().show("메모수정", "수정메모:");
  h.reply(combinedReply("CODE7"));
  const std::string& pasted = h.shell.clipboard;
  EXPECT_NE(pasted.find("=CODE7\" target=\"PomLinkDown\">(내 &lt;링크&gt; &amp; &quot;묶음&quot;)"),
            std::string::npos)
      << pasted;
  EXPECT_EQ(h.dialogs().boxes.back().text, "통합링크가 복사되었습니다.     ");
  EXPECT_EQ(h.dialogs().boxes.back().icon, MessageIcon::None);

  // A refused link takes its title with it; an empty title has a default.
  h.listView().select({"x"});
  memo.text = "거절될 것";
  h.list().command(WebListCommand::CombinedLink);
  h.list().combinedLinkFailed();  // as the module does on a refusal
  memo.text = "";
  h.list().command(WebListCommand::CombinedLink);
  h.reply(combinedReply("CODE8"));
  EXPECT_NE(h.shell.clipboard.find("(통합링크파일)"), std::string::npos) << h.shell.clipboard;
}

TEST(WebLinkCommands, CopiedIsShownOnlyWhenTheClipboardTookTheText) {
  for (bool refuse : {false, true}) {
    StorageHarness h;
    h.shell.refuse = refuse;
    h.openRoot({entry(11, 0, "a\"<b>&.txt", 5000), entry(12, 0, "folder")});
    h.listView().selectAll();
    h.list().key(WebKey::CtrlW);
    if (!refuse) {
      EXPECT_NE(h.shell.clipboard.find("(파일명:a&quot;&lt;b&gt;&amp;.txt_크기:4KByte)</a><br>"),
                std::string::npos)
          << h.shell.clipboard;
    }
    h.front.memo->text = "t";
    h.list().command(WebListCommand::CombinedLink);
    h.reply(combinedReply("C1"));
    std::vector<std::string> texts;
    for (const MessageBoxRequest& box : h.dialogs().boxes) texts.push_back(box.text);
    if (refuse) {
      EXPECT_TRUE(texts.empty());
      continue;
    }
    EXPECT_EQ(texts, std::vector<std::string>(
                         {"복사되었습니다.     ", "통합링크가 복사되었습니다.     "}));
    EXPECT_EQ(h.dialogs().boxes[0].caption, "알림");
  }
}

TEST(FriendAndMemoDialogs, PresetIdsCutMemosAndCancels) {
  StorageHarness h;
  h.session.member.memberId = "me";
  h.openRoot({});
  const std::string hangul250 = repeated("가", 125);
  ASSERT_EQ(hangul250.size(), 250u);
  const std::string hangul198 = repeated("가", 99);  // 199 bytes would split a character

  FakeFriendAddView& add = *h.front.friendAdd;
  add.id = "typed";
  add.memo = hangul250;
  EXPECT_TRUE(h.module->friendAddDialog().open("a_hit_member_id_24_chars"));
  EXPECT_EQ(h.session.last<AddFriendRequest>(),
            (AddFriendRequest{"a_hit_member_id_24_c", hangul198}));
  EXPECT_TRUE(h.module->friendAddDialog().open());
  EXPECT_EQ(h.session.last<AddFriendRequest>()->friendId, "typed");
  EXPECT_EQ(add.idShown, std::vector<bool>({false, true})) << "a preset id hides the id edit";
  add.answer = false;
  const std::size_t sent = h.session.sent.size();
  EXPECT_FALSE(h.module->friendAddDialog().open());
  EXPECT_EQ(h.session.sent.size(), sent);

  // Added without a display name.
  AddFriendReply added;
  added.record = {"pal", "", "메모"};
  h.reply(added.encode());
  ASSERT_EQ(h.dialogs().boxes.size(), 1u);
  EXPECT_EQ(h.dialogs().boxes[0].text, "*****님이 친구로 추가되었습니다.     ");
  EXPECT_EQ(h.dialogs().boxes[0].caption, "알림");
  const WebNodeId pal = h.treeView().idOf("*****(메모)");
  ASSERT_NE(pal, 0);

  FakeMemoView& memo = *h.front.memo;
  memo.text = hangul250;
  h.tree().onExpanding(pal);
  h.tree().command(WebTreeCommand::MemoEdit);
  EXPECT_EQ(memo.titles.back(), "메모수정");
  EXPECT_EQ(h.session.last<EditMemoRequest>(), (EditMemoRequest{"me", "pal", hangul198}));
  memo.answer = false;
  h.tree().command(WebTreeCommand::MemoEdit);
  EXPECT_EQ(h.sent<EditMemoRequest>().size(), 1u) << "a cancelled memo sends nothing";
  EXPECT_TRUE(h.module->memoDialog().text().empty());
}

template <typename Reply>
Bytes refused(int result, Reply reply = Reply()) {
  reply.result = static_cast<typename Reply::Result>(result);
  return reply.encode();
}

TEST(StorageRefusals, EachShowsItsTextCaptionAndIcon) {
  const std::string error = "Error";
  struct Case {
    const char* what;
    Bytes reply;
    std::string text;
    std::string caption;
    MessageIcon icon;
    bool refreshes;
  } cases[] = {
      {"4: no such id", refused<AddFriendReply>(2), "존재하지 않는 아이디 입니다.     ", error,
       MessageIcon::Error, false},
      {"4: already a friend", refused<AddFriendReply>(3), "이미 친구목록에 등록되어있습니다.     ",
       error, MessageIcon::Error, false},
      {"4: oneself", refused<AddFriendReply>(4), "자기자신은 등록할수 없습니다.     ", error,
       MessageIcon::Error, false},
      {"4: other", refused<AddFriendReply>(9), "등록이 재대로 이루어 지지않습니다.     ", error,
       MessageIcon::Error, false},
      {"5", refused<RemoveFriendReply>(1), "친구목록에 등록되어있지 않습니다.", error,
       MessageIcon::Error, false},
      {"6", refused<EditMemoReply>(1), "메모수정에 실패했습니다.", error, MessageIcon::Error,
       false},
      {"14: protected", refused<SetSharingReply>(3),
       "고유코드 값이 저작권또는 음란물에 포함되어 공개설정이 불가능합니다.     ", "경고",
       MessageIcon::Warning, false},
      {"14: other", refused<SetSharingReply>(1),
       "공개설정이 정상적으로 이루어지지 않았습니다.     ", "경고", MessageIcon::Warning, false},
      {"15", refused<DeleteItemReply>(1),
       "삭제가 정상적으로 이루어지지 않았습니다.\r\n\r\n폴더나 파일이 존재하면 삭제할수없습니다.",
       error, MessageIcon::Error, false},
      {"17", refused<RenameFileReply>(1), "미완료 파일이거나 특정파일은 이름변경 불가 합니다.     ",
       "알림", MessageIcon::Warning, true},
      {"26", refused<CombinedLinkReply>(1), "통합링크 생성에 실패했습니다.     ", error,
       MessageIcon::Error, false},
  };
  for (const Case& c : cases) {
    StorageHarness h;
    h.openRoot({entry(11, 0, "a", 10)});
    const std::size_t sent = h.session.sent.size();
    h.reply(c.reply);
    ASSERT_EQ(h.dialogs().boxes.size(), 1u) << c.what;
    const MessageBoxRequest& box = h.dialogs().boxes[0];
    EXPECT_EQ(box.text, c.text) << c.what;
    EXPECT_EQ(box.caption, c.caption) << c.what;
    EXPECT_EQ(box.icon, c.icon) << c.what;
    EXPECT_EQ(box.owner, DialogOwner::TopWindow) << c.what;
    // Only a refused rename asks for the listing again (to show the old name).
    EXPECT_EQ(h.session.sent.size(), sent + (c.refreshes ? 1 : 0)) << c.what;
    if (!c.refreshes) {
      EXPECT_EQ(h.names(), std::vector<std::string>({"a"})) << c.what;
    }
  }
}

}  // namespace
}  // namespace pom::test
