// The ranges the save block's records are kept in. ReadSaveData passes every block read from
// a file through BringIntoRange, so that a record damaged or made by hand (its checksum right)
// reaches the game only in range: a level, count, score or time out of range is clamped into
// it and a name cut to the letters the keyboard takes; a value whose meaning is lost (a ladder
// slot of unknown kind, status or puzzle, a ladder being played without its puzzles) resets
// that mode's record, and a stopped puzzle of unknown kind is dropped. Each change is logged
// and the rest of the block kept; a block the game wrote itself passes unchanged. Plain
// functions, no state.
#pragma once

#include <services/mnsavedata.h>

namespace Kelvo_lib {

class PuzzleBank;

// The longest time a record or a puzzle's clock holds, in seconds: 99 hours, the most the
// clocks show.
constexpr float MN_LONGEST_SECONDS = 99.0f * 3600.0f;
// The most any score or count of a record holds either way, so that a total of 50 of them
// stays far inside an int.
constexpr int MN_MOST_POINTS = 10000000;

// A time as a record keeps it: one that is no length (negative, infinite or not a number)
// is 0, one longer than MN_LONGEST_SECONDS is held at it.
float TimeInRange(float seconds);

void BringIntoRange(MNSaveData& data);
// Once the bank of the block's language is loaded: a ladder with a slot whose puzzle the bank
// does not hold in the language, or holds as another kind, is reset. An empty bank (not
// loaded) changes nothing.
void BringLaddersIntoBank(MNSaveData& data, const PuzzleBank& bank, int language);

} // namespace Kelvo_lib
