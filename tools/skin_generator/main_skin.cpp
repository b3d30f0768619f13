// The main window: the logo block 238, the header pieces 258 and 264, the small
// images 265, 293 and 267, the toolbar buttons 230-237, the bottom buttons
// 260-262, the memo button 276 and the search button 183.
#include "skin_set.h"
#include "skin_theme.h"

namespace skin {

namespace {
constexpr int kLogoWidth = 134;    // the first toolbar button starts here
constexpr int kHeader = 51;        // the group frames of the search bar start here
constexpr int kStatusWidth = 193;  // 594 .. 787
}  // namespace

void buildMainSkin(SkinSet& set) {
  TextRenderer& text = set.text();

  // The logo block left of the toolbar; the window brush shows everywhere
  // the skin pieces do not cover.
  Canvas bg(kLogoWidth, kHeader, palette::face);
  paintHeader(bg, 0, 0, kLogoWidth, kHeader);
  paintPomMark(bg, 26, 24, 13);
  drawTextLeft(bg, text, "폼베일", 45, 22, 18, Weight::ExtraBold, palette::white);
  drawTextLeft(bg, text, "웹하드 2.0", 47, 40, 10, Weight::Bold, palette::accentLight);
  bg.fillRect(kLogoWidth - 1, 10, 1, kHeader - 20, palette::white);
  bg.fillRect(kLogoWidth - 2, 10, 1, kHeader - 20, rgb(0x1A2233));
  set.add(238, std::move(bg));

  // Status panel: labels on the left, the program writes the values at x 115.
  Canvas status(kStatusWidth, kHeader);
  paintHeader(status, 0, 0, kStatusWidth, kHeader);
  status.fillRoundRect(4, 4, kStatusWidth - 10, kHeader - 10, 6, rgb(0x000000), 0.25);
  status.strokeRoundRect(4, 4, kStatusWidth - 10, kHeader - 10, 6, 1, palette::accent, 0.6);
  icons::card(status, 20, 18, 12, palette::accentLight);
  drawTextLeft(status, text, "보유포인트", 32, 18, 11, Weight::Bold, palette::iconLight);
  icons::check(status, 20, 38, 12, palette::accentLight);
  drawTextLeft(status, text, "접속상태", 32, 38, 11, Weight::Bold, palette::iconLight);
  set.add(258, std::move(status));

  // The right end of the header; stretched horizontally with the window.
  Canvas headerEnd(93, kHeader);
  paintHeader(headerEnd, 0, 0, 93, kHeader);
  set.add(264, std::move(headerEnd));

  Canvas member(16, 16, palette::face);
  member.fillCircle(8, 8, 8, palette::accent);
  icons::person(member, 8, 8.5, 11, palette::white);
  set.add(265, std::move(member));

  Canvas memo(15, 14, palette::face);
  icons::envelope(memo, 7.5, 7, 15, palette::pom);
  set.add(293, std::move(memo));

  Canvas adMark(16, 16, palette::face);
  adMark.fillRoundRect(0, 1, 16, 14, 4, palette::pom);
  drawTextCentred(adMark, text, "AD", 8, 8, 8, Weight::Bold, palette::white);
  set.add(267, std::move(adMark));

  struct Tool {
    int id, width;
    const char* label;
    IconPainter icon;
  };
  const Tool tools[] = {
      {231, 59, "다운로드", icons::arrowDown}, {237, 49, "업로드", icons::arrowUp},
      {236, 70, "환경설정", icons::gear},      {234, 50, "홈", icons::house},
      {230, 50, "클럽", icons::people},        {232, 70, "파일박스", icons::box},
      {233, 50, "고객센터", icons::help},      {235, 62, "결제", icons::card},
  };
  for (const Tool& t : tools) set.add(t.id, toolbarButton(text, t.width, kHeader, t.label, t.icon));

  set.add(260, pillButton(text, 84, 24, "폴더열기", PillTone::Neutral, palette::face, icons::folder,
                          11));
  set.add(261,
          pillButton(text, 84, 24, "폴더변경", PillTone::Neutral, palette::face, icons::gear, 11));
  set.add(262, pillButton(text, 84, 24, "종료", PillTone::Dark, palette::face, icons::cross, 11));
  set.add(276, pillButton(text, 40, 20, "보기", PillTone::Neutral, palette::face, nullptr, 11));
  set.add(183,
          pillButton(text, 60, 24, "검색", PillTone::Accent, palette::face, icons::magnifier, 12));
}

}  // namespace skin
