// The ranges the save block's records and the puzzles' stopped states are kept in, so that
// a value damaged or made by hand reaches the game only in range. Plain functions, no state.
#pragma once

namespace Kelvo_lib {

// The longest time a record or a puzzle's clock holds, in seconds: 99 hours, the most the
// clocks show.
constexpr float MN_LONGEST_SECONDS = 99.0f * 3600.0f;

// A time as a record keeps it: one that is no length (negative, infinite or not a number)
// is 0, one longer than MN_LONGEST_SECONDS is held at it.
float TimeInRange(float seconds);

} // namespace Kelvo_lib
