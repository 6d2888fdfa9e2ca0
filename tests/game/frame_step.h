// The time the suites tick the game by for one frame: the game's own 50 Hz loop, or the
// 60 Hz of a display that the menus and sound are driven at.
#pragma once

constexpr float kFrame = 1.0f / 50.0f;
constexpr float kFrame60Hz = 1.0f / 60.0f;
