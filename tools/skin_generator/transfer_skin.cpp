// The download and upload windows: status panels 268 and 269, the overall bar
// 160, the row bars 162 and 164, and the window buttons.
#include "skin_set.h"
#include "skin_theme.h"

namespace skin {

namespace {
constexpr int kPanelWidth = 676, kPanelHeight = 84;

Canvas transferPanel(TextRenderer& text, const char* title, const IconPainter& icon) {
  Canvas c(kPanelWidth, kPanelHeight, palette::face);
  paintHeader(c, 0, 0, kPanelWidth, kPanelHeight);
  c.fillRoundRect(8, 6, 130, 26, 13, rgb(0x000000), 0.22);
  icon(c, 24, 19, 14, palette::accentLight);
  drawTextLeft(c, text, title, 36, 19, 13, Weight::Bold, palette::white);
  // Labels for the three values the window writes at x 218, 368 and 515 (y 18).
  const struct {
    int x;
    const char* label;
  } fields[] = {{158, "경과시간"}, {308, "남은시간"}, {462, "전송량"}};
  for (const auto& f : fields) {
    c.fillRoundRect(f.x - 6, 12, 140, 20, 4, rgb(0x000000), 0.18);
    drawTextLeft(c, text, f.label, f.x, 22, 11, Weight::Bold, palette::accentLight);
  }
  drawTextLeft(c, text, "전체진행", 12, 61, 11, Weight::Bold, palette::iconLight);
  // The track the overall bar (160) fills from x 64.
  c.fillRoundRect(62, 53, 604, 16, 4, rgb(0x000000), 0.35);
  c.fillRoundRect(63, 54, 602, 14, 3, palette::headerTop);
  return c;
}
// The player page's button: a line of link-like text, low enough to sit
// between the panel's edge (y 84) and the line of the frame below it (y 98).
Canvas playerPageLink(TextRenderer& text) {
  constexpr int w = 110, h = 13;
  Canvas out(w * kStates, h, palette::face);
  const Rgb inks[kStates] = {palette::inkSoft, palette::accentDark, palette::ink,
                             palette::accentDark};
  for (int s = 0; s < kStates; ++s) {
    const int x = s * w;
    const int shift = s == static_cast<int>(ButtonState::Pressed) ? 1 : 0;
    icons::play(out, x + 8, 6.5 + shift, 9, inks[s]);
    drawTextLeft(out, text, "플레이어 설치하기", x + 16, 6.5 + shift, 11, Weight::Bold, inks[s]);
    if (s == static_cast<int>(ButtonState::Hover) || s == static_cast<int>(ButtonState::Clicked))
      out.hline(x + 16, h - 1, w - 20, inks[s]);
  }
  return out;
}

}  // namespace

void buildTransferSkin(SkinSet& set) {
  TextRenderer& text = set.text();
  set.add(268, transferPanel(text, "다운로드", icons::arrowDown));
  set.add(269, transferPanel(text, "업로드", icons::arrowUp));

  Canvas bar(600, 12);
  bar.verticalGradient(0, 0, 600, 12, palette::accentLight, palette::accentDark);
  for (int x = 0; x < 600; x += 12)
    bar.fillPolygon({{x + 0.0, 12}, {x + 6.0, 0}, {x + 9.0, 0}, {x + 3.0, 12}}, palette::white,
                    0.12);
  bar.hline(0, 0, 600, palette::white, 0.35);
  set.add(160, std::move(bar));

  Canvas track(90, 11, palette::white);
  track.fillRoundRect(0, 0, 90, 11, 3, palette::line);
  track.fillRoundRect(1, 1, 88, 9, 2, rgb(0x7A8396));
  set.add(162, std::move(track));
  Canvas fill(90, 11, palette::white);
  fill.fillRoundRect(0, 0, 90, 11, 3, palette::accentDark);
  fill.gradientRoundRect(1, 1, 88, 9, 2, palette::accentLight, palette::accent);
  set.add(164, std::move(fill));

  set.add(285, playerPageLink(text));
  set.add(245, pillButton(text, 27, 22, "", PillTone::Neutral, palette::face, icons::arrowUp));
  set.add(243, pillButton(text, 27, 22, "", PillTone::Neutral, palette::face, icons::arrowDown));
  set.add(244, pillButton(text, 27, 22, "", PillTone::Neutral, palette::face, icons::toTop));
  set.add(242, pillButton(text, 27, 22, "", PillTone::Neutral, palette::face, icons::toBottom));
  set.add(247,
          pillButton(text, 85, 22, "전체선택", PillTone::Neutral, palette::face, icons::check, 11));
  set.add(249,
          pillButton(text, 85, 22, "선택삭제", PillTone::Neutral, palette::face, icons::cross, 11));
  set.add(253,
          pillButton(text, 85, 22, "완료삭제", PillTone::Neutral, palette::face, icons::minus, 11));
  set.add(278,
          pillButton(text, 85, 24, "열기/재생", PillTone::Neutral, palette::face, icons::play, 11));
  set.add(272,
          pillButton(text, 76, 24, "파일추가", PillTone::Neutral, palette::face, icons::plus, 11));
  set.add(273, pillButton(text, 84, 24, "폴더추가", PillTone::Neutral, palette::face, icons::folder,
                          11));
  set.add(256,
          pillButton(text, 85, 24, "전송시작", PillTone::Accent, palette::face, icons::play, 11));
  set.add(255,
          pillButton(text, 85, 24, "전송중지", PillTone::Dark, palette::face, icons::stop, 11));
}

}  // namespace skin
