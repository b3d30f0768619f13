// The skin's palette and the few drawing recipes every bitmap shares: the
// dark header band, the logo, pill and toolbar buttons with their four state
// frames (normal, hover, pressed, clicked) side by side, and the line icons.
#pragma once

#include <functional>
#include <string>

#include "canvas.h"
#include "text_renderer.h"

namespace skin {

namespace palette {
constexpr Rgb headerTop = rgb(0x364560);
constexpr Rgb headerBottom = rgb(0x232D42);
constexpr Rgb accent = rgb(0x1EB2A6);
constexpr Rgb accentLight = rgb(0x4FD1C5);
constexpr Rgb accentDark = rgb(0x12877E);
constexpr Rgb pom = rgb(0xE04F5F);
constexpr Rgb pomDark = rgb(0xB23445);
constexpr Rgb leaf = rgb(0x5DBB63);
constexpr Rgb face = rgb(0xE0E2EB);  // the window class brush: bitmaps blend into it
constexpr Rgb faceLight = rgb(0xF3F5F9);
constexpr Rgb line = rgb(0xB9BFCD);
constexpr Rgb ink = rgb(0x2A3140);
constexpr Rgb inkSoft = rgb(0x5B6478);
constexpr Rgb iconLight = rgb(0xE8EDF6);
constexpr Rgb white = rgb(0xFFFFFF);
constexpr Rgb neutralTop = rgb(0xFBFCFE);
constexpr Rgb neutralBottom = rgb(0xDCE1EA);
}  // namespace palette

enum class ButtonState { Normal = 0, Hover = 1, Pressed = 2, Clicked = 3 };
constexpr int kStates = 4;

// Draws a glyph of the given colour centred on (cx, cy) within about size px.
using IconPainter = std::function<void(Canvas&, double cx, double cy, double size, Rgb color)>;

// The header band: the vertical gradient every top strip of the skin uses.
void paintHeader(Canvas& c, int x, int y, int w, int h);
// The pomegranate mark with its crown, of radius r, centred on (cx, cy).
void paintPomMark(Canvas& c, double cx, double cy, double r);

enum class PillTone { Accent, Neutral, Dark };

// A rounded button with a centred label (and optional icon before it) on a
// flat backdrop colour; returns the four frames side by side.
Canvas pillButton(TextRenderer& text, int w, int h, const std::string& label, PillTone tone,
                  Rgb backdrop, const IconPainter& icon = nullptr, int fontPx = 12);
// A header toolbar button: an icon above a label on the header gradient; the
// gradient spans headerHeight so that the frames meet the background seamlessly.
Canvas toolbarButton(TextRenderer& text, int w, int h, const std::string& label,
                     const IconPainter& icon);

// Line icons used on buttons.
namespace icons {
void arrowDown(Canvas&, double cx, double cy, double s, Rgb color);
void arrowUp(Canvas&, double cx, double cy, double s, Rgb color);
void toTop(Canvas&, double cx, double cy, double s, Rgb color);
void toBottom(Canvas&, double cx, double cy, double s, Rgb color);
void gear(Canvas&, double cx, double cy, double s, Rgb color);
void house(Canvas&, double cx, double cy, double s, Rgb color);
void people(Canvas&, double cx, double cy, double s, Rgb color);
void box(Canvas&, double cx, double cy, double s, Rgb color);
void help(Canvas&, double cx, double cy, double s, Rgb color);
void card(Canvas&, double cx, double cy, double s, Rgb color);
void folder(Canvas&, double cx, double cy, double s, Rgb color);
void magnifier(Canvas&, double cx, double cy, double s, Rgb color);
void play(Canvas&, double cx, double cy, double s, Rgb color);
void stop(Canvas&, double cx, double cy, double s, Rgb color);
void plus(Canvas&, double cx, double cy, double s, Rgb color);
void minus(Canvas&, double cx, double cy, double s, Rgb color);
void check(Canvas&, double cx, double cy, double s, Rgb color);
void cross(Canvas&, double cx, double cy, double s, Rgb color);
void envelope(Canvas&, double cx, double cy, double s, Rgb color);
void person(Canvas&, double cx, double cy, double s, Rgb color);
}  // namespace icons

}  // namespace skin
