#include "skin_theme.h"

#include <cmath>

namespace skin {

void paintHeader(Canvas& c, int x, int y, int w, int h) {
  c.verticalGradient(x, y, w, h, palette::headerTop, palette::headerBottom);
  // A hairline highlight on top and a teal rule at the bottom edge.
  c.hline(x, y, w, palette::white, 0.10);
  c.hline(x, y + h - 2, w, palette::accentDark, 0.55);
  c.hline(x, y + h - 1, w, palette::accent, 0.85);
}

void paintPomMark(Canvas& c, double cx, double cy, double r) {
  // The crown: three small teeth on top of the fruit.
  double top = cy - r * 0.82;
  c.fillPolygon({{cx - r * 0.42, top + r * 0.30},
                 {cx - r * 0.36, top - r * 0.28},
                 {cx - r * 0.14, top + r * 0.05},
                 {cx, top - r * 0.36},
                 {cx + r * 0.14, top + r * 0.05},
                 {cx + r * 0.36, top - r * 0.28},
                 {cx + r * 0.42, top + r * 0.30}},
                palette::pomDark);
  c.fillCircle(cx, cy, r, palette::pomDark);
  c.fillCircle(cx - r * 0.04, cy - r * 0.04, r * 0.92, palette::pom);
  c.fillCircle(cx - r * 0.36, cy - r * 0.36, r * 0.28, palette::white, 0.35);
  // A leaf on the right shoulder.
  c.fillPolygon({{cx + r * 0.25, cy - r * 0.80},
                 {cx + r * 0.85, cy - r * 1.10},
                 {cx + r * 0.70, cy - r * 0.62}},
                palette::leaf);
}

namespace {

struct Tones {
  Rgb top, bottom, border, label;
};

Tones pillTones(PillTone tone, ButtonState state) {
  using namespace palette;
  Tones t;
  switch (tone) {
    case PillTone::Accent:
      t = {accentLight, accent, accentDark, white};
      break;
    case PillTone::Neutral:
      t = {neutralTop, neutralBottom, line, ink};
      break;
    case PillTone::Dark:
      t = {rgb(0x4A5873), headerBottom, rgb(0x1A2233), iconLight};
      break;
  }
  switch (state) {
    case ButtonState::Normal:
      break;
    case ButtonState::Hover:
      t.top = mix(t.top, white, 0.30);
      t.bottom = mix(t.bottom, white, 0.22);
      if (tone == PillTone::Neutral) t.border = accent;
      break;
    case ButtonState::Pressed:
      std::swap(t.top, t.bottom);
      t.top = mix(t.top, rgb(0x000000), 0.12);
      t.bottom = mix(t.bottom, rgb(0x000000), 0.04);
      break;
    case ButtonState::Clicked:
      t.top = mix(t.top, accentLight, 0.25);
      t.bottom = mix(t.bottom, accent, 0.15);
      t.border = accentDark;
      break;
  }
  return t;
}

}  // namespace

Canvas pillButton(TextRenderer& text, int w, int h, const std::string& label, PillTone tone,
                  Rgb backdrop, const IconPainter& icon, int fontPx) {
  Canvas out(w * kStates, h, backdrop);
  for (int s = 0; s < kStates; ++s) {
    auto state = static_cast<ButtonState>(s);
    Tones t = pillTones(tone, state);
    double x = s * w, shift = state == ButtonState::Pressed ? 1 : 0;
    double radius = std::min(6.0, h / 2.0);
    // Soft shadow under the pill, except while pressed (it sits flat then).
    if (state != ButtonState::Pressed)
      out.fillRoundRect(x + 1, 2, w - 2, h - 2, radius, palette::ink, 0.18);
    out.fillRoundRect(x + 0.5, 0.5 + shift, w - 1, h - 2, radius, t.border);
    out.gradientRoundRect(x + 1.5, 1.5 + shift, w - 3, h - 4, radius - 1, t.top, t.bottom);
    out.hline(static_cast<int>(x) + 4, 2 + static_cast<int>(shift), w - 8, palette::white, 0.35);
    double cy = (h - 2) / 2.0 + 0.5 + shift;
    if (label.empty() && icon) {
      icon(out, x + w / 2.0, cy, h * 0.5, t.label);
    } else if (icon) {
      const Mask& m = text.render(label, fontPx, Weight::Bold);
      double iconSize = fontPx + 2;
      double total = iconSize + 4 + m.width;
      double left = x + (w - total) / 2.0;
      icon(out, left + iconSize / 2, cy, iconSize, t.label);
      out.drawMask(m, static_cast<int>(std::lround(left + iconSize + 4)),
                   static_cast<int>(std::lround(cy - m.height / 2.0)), t.label);
    } else {
      drawTextCentred(out, text, label, x + w / 2.0, cy, fontPx, Weight::Bold, t.label);
    }
  }
  return out;
}

Canvas toolbarButton(TextRenderer& text, int w, int h, const std::string& label,
                     const IconPainter& icon) {
  Canvas out(w * kStates, h);
  for (int s = 0; s < kStates; ++s) {
    auto state = static_cast<ButtonState>(s);
    int x = s * w;
    paintHeader(out, x, 0, w, h);
    Rgb ink = palette::iconLight;
    double shift = 0;
    if (state == ButtonState::Hover || state == ButtonState::Clicked) {
      out.fillRoundRect(x + 2, 3, w - 4, h - 7, 5, palette::white, 0.12);
      out.fillRoundRect(x + 8, h - 5, w - 16, 2, 1, palette::accentLight);
      ink = state == ButtonState::Clicked ? palette::accentLight : palette::white;
    } else if (state == ButtonState::Pressed) {
      out.fillRoundRect(x + 2, 3, w - 4, h - 7, 5, rgb(0x000000), 0.22);
      ink = palette::accentLight;
      shift = 1;
    }
    icon(out, x + w / 2.0, 17 + shift, 18, ink);
    drawTextCentred(out, text, label, x + w / 2.0, 38 + shift, 11, Weight::Bold, ink);
  }
  return out;
}

namespace icons {

void arrowDown(Canvas& c, double cx, double cy, double s, Rgb color) {
  double u = s / 18;
  c.fillPolygon({{cx - 2.2 * u, cy - 8 * u},
                 {cx + 2.2 * u, cy - 8 * u},
                 {cx + 2.2 * u, cy - 1 * u},
                 {cx + 6 * u, cy - 1 * u},
                 {cx, cy + 5 * u},
                 {cx - 6 * u, cy - 1 * u},
                 {cx - 2.2 * u, cy - 1 * u}},
                color);
  c.fillRoundRect(cx - 8 * u, cy + 6.5 * u, 16 * u, 2.2 * u, 1 * u, color);
}

void arrowUp(Canvas& c, double cx, double cy, double s, Rgb color) {
  double u = s / 18;
  c.fillPolygon({{cx, cy - 8 * u},
                 {cx + 6 * u, cy - 2 * u},
                 {cx + 2.2 * u, cy - 2 * u},
                 {cx + 2.2 * u, cy + 5 * u},
                 {cx - 2.2 * u, cy + 5 * u},
                 {cx - 2.2 * u, cy - 2 * u},
                 {cx - 6 * u, cy - 2 * u}},
                color);
  c.fillRoundRect(cx - 8 * u, cy + 6.5 * u, 16 * u, 2.2 * u, 1 * u, color);
}

void toTop(Canvas& c, double cx, double cy, double s, Rgb color) {
  double u = s / 18;
  c.fillRoundRect(cx - 7 * u, cy - 8 * u, 14 * u, 2.4 * u, 1 * u, color);
  c.fillPolygon({{cx, cy - 4 * u}, {cx + 7 * u, cy + 4 * u}, {cx - 7 * u, cy + 4 * u}}, color);
}

void toBottom(Canvas& c, double cx, double cy, double s, Rgb color) {
  double u = s / 18;
  c.fillPolygon({{cx - 7 * u, cy - 4 * u}, {cx + 7 * u, cy - 4 * u}, {cx, cy + 4 * u}}, color);
  c.fillRoundRect(cx - 7 * u, cy + 5.6 * u, 14 * u, 2.4 * u, 1 * u, color);
}

void gear(Canvas& c, double cx, double cy, double s, Rgb color) {
  double u = s / 18;
  const double pi = 3.14159265358979;
  for (int k = 0; k < 8; ++k) {
    double a = k * pi / 4, ca = std::cos(a), sa = std::sin(a);
    auto at = [&](double along, double across) {
      return Point{cx + ca * along - sa * across, cy + sa * along + ca * across};
    };
    c.fillPolygon({at(4, -1.8 * u), at(8.4 * u, -1.5 * u), at(8.4 * u, 1.5 * u), at(4, 1.8 * u)},
                  color);
  }
  c.strokeCircle(cx, cy, 5 * u, 3.2 * u, color);
}

void house(Canvas& c, double cx, double cy, double s, Rgb color) {
  double u = s / 18;
  c.fillPolygon({{cx, cy - 8.5 * u}, {cx + 9 * u, cy}, {cx - 9 * u, cy}}, color);
  c.fillRect(static_cast<int>(cx - 6 * u), static_cast<int>(cy), static_cast<int>(12 * u),
             static_cast<int>(8 * u), color);
  Rgb door = mix(color, palette::headerBottom, 0.85);
  c.fillRoundRect(cx - 2 * u, cy + 2.5 * u, 4 * u, 5.5 * u, 1, door);
}

void person(Canvas& c, double cx, double cy, double s, Rgb color) {
  double u = s / 18;
  c.fillCircle(cx, cy - 3.5 * u, 3.8 * u, color);
  c.fillRoundRect(cx - 6.5 * u, cy + 1.5 * u, 13 * u, 7 * u, 4 * u, color);
}

void people(Canvas& c, double cx, double cy, double s, Rgb color) {
  double u = s / 18;
  c.fillCircle(cx + 4 * u, cy - 4 * u, 3 * u, color, 0.75);
  c.fillRoundRect(cx - 0.5 * u, cy + 0.5 * u, 10 * u, 6.5 * u, 3.5 * u, color, 0.75);
  c.fillCircle(cx - 3 * u, cy - 2.5 * u, 3.4 * u, color);
  c.fillRoundRect(cx - 8.5 * u, cy + 2 * u, 11 * u, 7 * u, 3.5 * u, color);
}

void box(Canvas& c, double cx, double cy, double s, Rgb color) {
  double u = s / 18;
  c.fillRoundRect(cx - 8 * u, cy - 7 * u, 16 * u, 4 * u, 1 * u, color);
  c.strokeRoundRect(cx - 7 * u, cy - 2 * u, 14 * u, 10 * u, 1.5 * u, 2 * u, color);
  c.fillRoundRect(cx - 3 * u, cy + 0.5 * u, 6 * u, 2 * u, 1 * u, color);
}

void help(Canvas& c, double cx, double cy, double s, Rgb color) {
  double u = s / 18;
  c.strokeCircle(cx, cy, 8 * u, 2 * u, color);
  c.fillCircle(cx, cy - 4 * u, 1.5 * u, color);
  c.fillRoundRect(cx - 1.2 * u, cy - 1 * u, 2.4 * u, 6.5 * u, 1 * u, color);
}

void card(Canvas& c, double cx, double cy, double s, Rgb color) {
  double u = s / 18;
  c.strokeRoundRect(cx - 9 * u, cy - 6 * u, 18 * u, 13 * u, 2 * u, 2 * u, color);
  c.fillRect(static_cast<int>(cx - 8 * u), static_cast<int>(cy - 3 * u), static_cast<int>(16 * u),
             static_cast<int>(3 * u), color);
  c.fillRoundRect(cx - 6 * u, cy + 2.5 * u, 5 * u, 1.8 * u, 0.8 * u, color);
}

void folder(Canvas& c, double cx, double cy, double s, Rgb color) {
  double u = s / 18;
  c.fillRoundRect(cx - 9 * u, cy - 7 * u, 8 * u, 4 * u, 1.5 * u, color);
  c.fillRoundRect(cx - 9 * u, cy - 5 * u, 18 * u, 12 * u, 2 * u, color);
}

void magnifier(Canvas& c, double cx, double cy, double s, Rgb color) {
  double u = s / 18;
  c.strokeCircle(cx - 1.5 * u, cy - 1.5 * u, 5.5 * u, 2.4 * u, color);
  c.line({cx + 2.6 * u, cy + 2.6 * u}, {cx + 7.5 * u, cy + 7.5 * u}, 3 * u, color);
}

void play(Canvas& c, double cx, double cy, double s, Rgb color) {
  double u = s / 18;
  c.fillPolygon({{cx - 5 * u, cy - 7 * u}, {cx + 7 * u, cy}, {cx - 5 * u, cy + 7 * u}}, color);
}

void stop(Canvas& c, double cx, double cy, double s, Rgb color) {
  double u = s / 18;
  c.fillRoundRect(cx - 6 * u, cy - 6 * u, 12 * u, 12 * u, 2 * u, color);
}

void plus(Canvas& c, double cx, double cy, double s, Rgb color) {
  double u = s / 18;
  c.fillRoundRect(cx - 7 * u, cy - 1.3 * u, 14 * u, 2.6 * u, 1 * u, color);
  c.fillRoundRect(cx - 1.3 * u, cy - 7 * u, 2.6 * u, 14 * u, 1 * u, color);
}

void minus(Canvas& c, double cx, double cy, double s, Rgb color) {
  double u = s / 18;
  c.fillRoundRect(cx - 7 * u, cy - 1.3 * u, 14 * u, 2.6 * u, 1 * u, color);
}

void check(Canvas& c, double cx, double cy, double s, Rgb color) {
  double u = s / 18;
  c.line({cx - 6 * u, cy}, {cx - 1.5 * u, cy + 5 * u}, 2.8 * u, color);
  c.line({cx - 1.5 * u, cy + 5 * u}, {cx + 7 * u, cy - 6 * u}, 2.8 * u, color);
}

void cross(Canvas& c, double cx, double cy, double s, Rgb color) {
  double u = s / 18;
  c.line({cx - 6 * u, cy - 6 * u}, {cx + 6 * u, cy + 6 * u}, 2.8 * u, color);
  c.line({cx + 6 * u, cy - 6 * u}, {cx - 6 * u, cy + 6 * u}, 2.8 * u, color);
}

void envelope(Canvas& c, double cx, double cy, double s, Rgb color) {
  double u = s / 18;
  c.fillRoundRect(cx - 9 * u, cy - 6 * u, 18 * u, 12 * u, 1.5 * u, color);
  Rgb fold = mix(color, palette::ink, 0.55);
  c.line({cx - 8 * u, cy - 5 * u}, {cx, cy + 1 * u}, 1.4 * u, fold);
  c.line({cx + 8 * u, cy - 5 * u}, {cx, cy + 1 * u}, 1.4 * u, fold);
}

}  // namespace icons
}  // namespace skin
