// SkinPointer: the pointer state machine shared by the skinned button and the
// link label (normal → hover → pressed → clicked), kept apart from drawing.
//
// Each step takes whether the pointer is inside the control and returns
// whether the event was consumed and whether the control must repaint; the
// control checks its own enabled flag first. A pressed control ignores
// hovering, so a drag out and back does not lose the press.
#pragma once

#include <cstdint>

namespace pom {

enum class SkinState : std::int16_t { Normal = 0, Hover = 1, Pressed = 2, Clicked = 3 };

class SkinPointer {
 public:
  struct Outcome {
    bool consumed = false;
    bool repaint = false;
  };

  SkinState state() const { return state_; }
  void reset() { state_ = SkinState::Normal; }

  Outcome hover(bool inside) {
    if (state_ == SkinState::Pressed) return {};
    if (!inside) return leave();
    state_ = SkinState::Hover;
    return {true, true};
  }

  Outcome press(bool inside) {
    if (!inside) return {};
    state_ = SkinState::Pressed;
    return {true, true};
  }

  // Only a release inside a pressed control is a click.
  Outcome click(bool inside) {
    if (!inside) return leave();
    if (state_ != SkinState::Pressed) return {};
    state_ = SkinState::Clicked;
    return {true, true};
  }

  // Outside forgets the click without repainting; inside a clicked control repaints it.
  Outcome repaintIfClicked(bool inside) {
    if (!inside) {
      state_ = SkinState::Normal;
      return {};
    }
    const bool clicked = state_ == SkinState::Clicked;
    return {clicked, clicked};
  }

 private:
  Outcome leave() {
    if (state_ == SkinState::Normal) return {};
    state_ = SkinState::Normal;
    return {false, true};
  }

  SkinState state_ = SkinState::Normal;
};

}  // namespace pom
