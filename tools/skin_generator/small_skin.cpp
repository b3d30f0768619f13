// Small pieces: the eleven tree icons, the list header 212, the list's up
// button 196, the tree fold toggles 274 and 275, the settings folder button
// 229 and the program icon 103.
#include "skin_set.h"
#include "skin_theme.h"

namespace skin {

namespace {

constexpr Rgb kFolderBody = rgb(0xF2B84B);
constexpr Rgb kFolderEdge = rgb(0xC98B1E);

Canvas treeFolder(bool open, bool empty) {
  Canvas c(16, 16, palette::white);
  Rgb body = empty ? rgb(0xC9CED8) : kFolderBody, edge = empty ? rgb(0x8E96A6) : kFolderEdge;
  c.fillRoundRect(1, 2, 6, 3, 1, edge);
  c.fillRoundRect(1, 3.5, 14, 10.5, 1.5, edge);
  c.fillRoundRect(2, 4.5, 12, 8.5, 1, body);
  if (open) {
    c.fillPolygon({{3, 7}, {15.5, 7}, {13.5, 14}, {1, 14}}, edge);
    c.fillPolygon({{3.8, 7.8}, {14.4, 7.8}, {12.8, 13.2}, {2.2, 13.2}},
                  mix(body, palette::white, 0.35));
  }
  if (empty) icons::cross(c, 8, 9, 8, palette::pomDark);
  return c;
}

Canvas treePc(bool on) {
  Canvas c(16, 16, palette::white);
  Rgb frame = on ? palette::accentDark : palette::inkSoft;
  c.fillRoundRect(1, 1.5, 14, 10, 1.5, frame);
  c.verticalGradient(2, 3, 12, 7, on ? palette::accentLight : rgb(0xA9C4E6),
                     on ? palette::accent : rgb(0x6F8FB8));
  c.fillRect(6, 12, 4, 2, frame);
  c.fillRoundRect(3, 13.5, 10, 2, 1, frame);
  return c;
}

Canvas treeFriends(bool on) {
  Canvas c(16, 16, palette::white);
  icons::people(c, 8, 8.5, 15, on ? palette::accent : rgb(0x5A7BB0));
  return c;
}

Canvas treeWeb(bool on) {
  Canvas c(16, 16, palette::white);
  Rgb cloud = on ? palette::accent : rgb(0x5A90D0);
  c.fillCircle(6, 9, 4, cloud);
  c.fillCircle(10, 7.5, 5, cloud);
  c.fillRoundRect(2, 9, 13, 5, 2.5, cloud);
  icons::arrowUp(c, 9.5, 9.5, 8, palette::white);
  return c;
}

Canvas treeFriendUser(bool on) {
  Canvas c(16, 16, palette::white);
  c.fillCircle(8, 8, 7.5, on ? palette::accent : rgb(0x8A95AB));
  icons::person(c, 8, 8.5, 11, palette::white);
  return c;
}

Canvas toggle(bool folded) {
  const int w = 16, h = 16;
  Canvas out(w * kStates, h, palette::face);
  for (int s = 0; s < kStates; ++s) {
    int x = s * w;
    Rgb border = s == 0 ? palette::line : palette::accent;
    Rgb fill = s == 2 ? palette::neutralBottom : palette::neutralTop;
    out.fillRoundRect(x + 0.5, 0.5, w - 1, h - 1, 3, border);
    out.fillRoundRect(x + 1.5, 1.5, w - 3, h - 3, 2, fill);
    (folded ? icons::plus : icons::minus)(out, x + 8, 8, 11,
                                          s == 0 ? palette::ink : palette::accentDark);
  }
  return out;
}

}  // namespace

void buildSmallSkin(SkinSet& set) {
  TextRenderer& text = set.text();
  set.add("ICON_NOFOLD", treeFolder(false, true));
  set.add("ICON_NETPC", treePc(false));
  set.add("ICON_NETPCON", treePc(true));
  set.add("ICON_FRIEND", treeFriends(false));
  set.add("ICON_FRIENDON", treeFriends(true));
  set.add("ICON_WEB", treeWeb(false));
  set.add("ICON_WEBON", treeWeb(true));
  set.add("ICON_FOLD", treeFolder(false, false));
  set.add("ICON_FOLDON", treeFolder(true, false));
  set.add("ICON_FRIENDUSER", treeFriendUser(false));
  set.add("ICON_FRIENDUSERON", treeFriendUser(true));

  // The header above the web and local lists; the caption text is drawn on it.
  Canvas header(611, 22);
  header.verticalGradient(0, 0, 611, 22, palette::white, palette::neutralBottom);
  header.hline(0, 21, 611, palette::line);
  header.fillRect(0, 0, 3, 22, palette::accent);
  set.add(212, std::move(header));
  set.add(196, pillButton(text, 24, 22, "", PillTone::Neutral, palette::face, icons::toTop));
  set.add(274, toggle(false));
  set.add(275, toggle(true));

  Canvas folderButton(32, 17, rgb(0xF0F0F0));
  icons::folder(folderButton, 16, 8.5, 16, kFolderBody);
  drawTextCentred(folderButton, text, "...", 16, 10, 10, Weight::Bold, palette::ink);
  set.add(229, std::move(folderButton));

  std::vector<Canvas> onBlack, onWhite;
  for (int size : {32, 16}) {
    for (Rgb ground : {rgb(0x000000), rgb(0xFFFFFF)}) {
      Canvas c(size, size, ground);
      paintPomMark(c, size / 2.0 - size * 0.03, size * 0.58, size * 0.36);
      (ground.r == 0 ? onBlack : onWhite).push_back(std::move(c));
    }
  }
  set.setIcon(std::move(onBlack), std::move(onWhite));
}

}  // namespace skin
