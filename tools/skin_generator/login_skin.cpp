// The login window: background 208 and the buttons 115, 241 and 240.
#include "skin_set.h"
#include "skin_theme.h"

namespace skin {

namespace {
constexpr int kLoginWidth = 308, kLoginHeight = 245, kHeaderHeight = 80;
}

void buildLoginSkin(SkinSet& set) {
  TextRenderer& text = set.text();
  Canvas bg(kLoginWidth, kLoginHeight, palette::face);
  paintHeader(bg, 0, 0, kLoginWidth, kHeaderHeight);
  // Faint rings behind the mark give the header some depth.
  bg.strokeCircle(300, 0, 44, 1.0, palette::white);
  bg.strokeCircle(300, 0, 58, 1.0, palette::accentLight);
  paintPomMark(bg, 40, 40, 17);
  drawTextLeft(bg, text, "폼베일", 68, 34, 24, Weight::ExtraBold, palette::white);
  const Mask& word = text.render("폼베일", 24, Weight::ExtraBold);
  drawTextLeft(bg, text, "2.0", 72 + word.width, 38, 13, Weight::Bold, palette::accentLight);
  drawTextLeft(bg, text, "내 파일을 안전하게 보관하고 나누세요", 69, 60, 11, Weight::Regular,
               mix(palette::iconLight, palette::headerTop, 0.25));

  // The card that holds the inputs and the log-in button.
  bg.fillRoundRect(13, 89, 282, 85, 7, palette::ink, 0.10);
  bg.fillRoundRect(12, 88, 282, 84, 7, palette::line);
  bg.fillRoundRect(13, 89, 280, 82, 6, palette::faceLight);
  bg.fillRoundRect(13, 89, 4, 82, 2, palette::accent);
  drawTextLeft(bg, text, "아이디", 28, 109, 12, Weight::Bold, palette::inkSoft);
  drawTextLeft(bg, text, "비밀번호", 28, 131, 12, Weight::Bold, palette::inkSoft);
  // Dotted rule above the two web buttons.
  for (int x = 24; x < 286; x += 4) bg.blend(x, 181, palette::line, 1.0);
  set.add(208, std::move(bg));

  set.add(115, pillButton(text, 70, 43, "로그인", PillTone::Accent, palette::faceLight));
  set.add(241, pillButton(text, 118, 22, "회원가입", PillTone::Neutral, palette::face,
                          icons::person, 11));
  set.add(240, pillButton(text, 118, 22, "아이디/비번찾기", PillTone::Neutral, palette::face,
                          icons::magnifier, 11));
}

}  // namespace skin
