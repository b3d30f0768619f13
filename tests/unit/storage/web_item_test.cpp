// Row texts, the sort order and the link texts of the web lists.
#include "core/storage/web_item.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/storage/web_links.h"

namespace pom {
namespace {

WebItem file(std::int32_t id, const std::string& name, std::int64_t size, std::int64_t stored,
             std::uint16_t days = 5, char share = 'f') {
  WebItem item;
  item.itemId = id;
  item.name = name;
  item.sizeBytes = size;
  item.storedBytes = stored;
  item.stamp.day = days;
  item.share = share;
  item.downloads = 7;
  return item;
}

TEST(WebRowTextsTest, SizesStatesAndDays) {
  struct Case {
    WebItem item;
    bool refilled;
    std::array<std::string, kWebColumns> texts;
  } cases[] = {
      {file(1, "a.txt", 5000, 5000), true, {"a.txt", "4KB[완료]", "비공개", "5일", "7"}},
      {file(2, "b.avi", 3145728, 500000, 45, 't'),
       false,
       {"b.avi", "3MB[488KB]", "공개", "45일", "7"}},
      {file(2, "b.avi", 3145728, -1, 45, 'c'),
       true,
       {"b.avi", "3MB[완료]", "클럽공개", "30일 이상", "7"}},
      {file(3, "c", 1023, 0, 30, 'b'), true, {"c", "0KB[0KB]", "공개불가", "30일", "7"}},
  };
  for (const Case& c : cases) EXPECT_EQ(webRowTexts(c.item, c.refilled), c.texts) << c.item.name;

  WebItem folder;
  folder.name = "사진";
  folder.share = 'x';
  folder.stamp = DateBlock{2024, 3, 9, 14, 5, 0, 0};
  EXPECT_EQ(webRowTexts(folder, true),
            (std::array<std::string, kWebColumns>{"사진", "", "", "2024-03-09 14:05", ""}));
}

TEST(WebSortTest, FirstClicksAndAStrictOrder) {
  std::vector<WebItem> items = {file(1, "b", 10, 10), file(2, "..", 0, 0), file(3, "A", 30, 30),
                                file(4, "c", 20, 20), file(5, "..", 0, 0)};
  WebSort sort;  // column 3, flag set
  sort.click(kSizeColumn);
  EXPECT_FALSE(sort.flag);
  std::sort(items.begin(), items.end(),
            [&](const WebItem& a, const WebItem& b) { return webItemBefore(a, b, sort); });
  std::vector<std::string> names;
  for (const WebItem& item : items) names.push_back(item.name);
  EXPECT_EQ(names, std::vector<std::string>({"..", "..", "A", "c", "b"})) << "sizes descending";

  sort.click(kNameColumn);
  EXPECT_TRUE(sort.flag);
  std::sort(items.begin(), items.end(),
            [&](const WebItem& a, const WebItem& b) { return webItemBefore(a, b, sort); });
  names.clear();
  for (const WebItem& item : items) names.push_back(item.name);
  EXPECT_EQ(names, std::vector<std::string>({"..", "..", "c", "b", "A"})) << "names descending";

  // Irreflexive and asymmetric for every pair and column: a strict weak order.
  for (int column = 0; column < kWebColumns; ++column) {
    for (bool flag : {true, false}) {
      const WebSort s{column, flag};
      for (const WebItem& a : items) {
        EXPECT_FALSE(webItemBefore(a, a, s));
        for (const WebItem& b : items)
          EXPECT_FALSE(webItemBefore(a, b, s) && webItemBefore(b, a, s));
      }
    }
  }
}

TEST(WebLinksTest, AnchorsEscapedAndCut) {
  const std::string url = "http://club/download/webdown.asp?Code";
  const std::string text =
      webLinksText({{11, "a<b>&\"c\".txt", 5000}, {12, "folder", 0}, {13, "tiny", 1023}}, url);
  EXPECT_EQ(text,
            "<iframe name=PomLinkDown width=0 height=0 frameborder=0 scrolling=0></iframe>"
            "<a href=\"http://club/download/webdown.asp?Code=11\" target=\"PomLinkDown\">"
            "(파일명:a&lt;b&gt;&amp;&quot;c&quot;.txt_크기:4KByte)</a><br>"
            "<a href=\"http://club/download/webdown.asp?Code=13\" target=\"PomLinkDown\">"
            "(파일명:tiny_크기:0KByte)</a><br>");
  std::vector<LinkRow> many(100, LinkRow{1, std::string(1000, '\xB0') + "\xA1", 10});
  EXPECT_LE(webLinksText(many, url).size(), kWebLinkTextBytes);

  EXPECT_EQ(combinedLinkText("CODE9", "제목 <1>", url),
            "<iframe name=PomLinkDown width=0 height=0 frameborder=0 scrolling=0></iframe>"
            "<a href=\"http://club/download/webdown.asp?Code=CODE9\" target=\"PomLinkDown\">"
            "(제목 &lt;1&gt;)</a><br>");
}

TEST(WebLinksTest, CombinedLinksCountTheFirstTenRows) {
  std::vector<LinkRow> twelve;
  for (int i = 1; i <= 12; ++i) twelve.push_back({100 + i, "f", 10});
  const CombinedLinkChoice first = chooseCombinedLinkFiles(twelve);
  EXPECT_TRUE(first.tooMany);
  EXPECT_EQ(first.fileIds.size(), 10u);
  EXPECT_EQ(first.fileIds.back(), 110);

  std::vector<LinkRow> mixed(9, LinkRow{1, "folder", 0});
  mixed.push_back({201, "x", 1});
  mixed.push_back({202, "y", 1});
  const CombinedLinkChoice second = chooseCombinedLinkFiles(mixed);
  EXPECT_TRUE(second.tooMany);
  EXPECT_EQ(second.fileIds, std::vector<std::int32_t>({201}));
}

}  // namespace
}  // namespace pom
