// MNPuzzleModel: the contract every puzzle kind's model (sudoku, fitword, crossword,
// wordsearch) keeps, so that one screen template and one test suite serve them all. Each
// operation has one meaning for every kind:
// - SetPuzzle(record, rules) starts a puzzle played by the rules its mode gives
//   (MNPuzzleRules); GetRules gives them back, GetMaxHints(kind) the allowance they set.
// - Play starts the clock (PUZZLE_STATE_PLAYING); Tick runs it in that state, and the debug
//   completion key ends the puzzle (PUZZLE_STATE_COMPLETED) with GameOverSignal. The model
//   alone emits GameOverSignal: a widget asks for the verdict (EndIfSolved, JudgeSweep), and
//   CheckWin completes a solved puzzle without it. MNPuzzleProgress keeps these for every kind.
// - Reset(resetTime) takes the player's entries out, keeping locked (hinted or pre-filled)
//   ones; the clock keeps its value unless resetTime.
// - Hint(kind) uses one hint of a kind with hints left and returns whether one was given;
//   a kind with none left, or nothing left to hint, gives false and changes nothing.
// - GetNumErrors counts errors now on the grid, GetNumErrorsMade every wrong entry since the
//   puzzle was set (never lowered), GetNumCorrect the right answers.
// - SavePuzzleState(null, 0) gives the size the state needs; a smaller buffer gives 0 and
//   writes nothing; else the bytes written, big-endian. LoadPuzzleState gives 1 when loaded
//   and 0, logged, when the buffer is too small; a damaged field loads as the safe value
//   (an empty cell, no hint, a clock at 0) rather than refusing the player's whole puzzle.
// - ValidEntrySignal and InvalidEntrySignal follow each right and wrong entry.
#pragma once

#include <puzzles/mnpuzzlerules.h>
#include <services/puzzletypes.h>

#include <kelvo/object/ksignal.h>

#include <concepts>

namespace Kelvo_lib {

template <class Model>
concept MNPuzzleModel = requires(Model& model, const Model& constModel, void* buffer, int kind) {
    model.Play();
    model.Reset(true);
    model.Tick(0.0f);
    { constModel.GetState() } -> std::same_as<ePuzzleState>;
    { constModel.GetTime() } -> std::same_as<float>;
    { constModel.GetPuzzleId() } -> std::same_as<int>;
    { constModel.GetDifficulty() } -> std::same_as<ePuzzleDifficulty>;
    { constModel.GetNumErrors() } -> std::same_as<int>;
    { constModel.GetNumErrorsMade() } -> std::same_as<int>;
    model.RemoveErrors();
    { constModel.GetNumCorrect() } -> std::same_as<int>;
    { constModel.IsGridFull() } -> std::same_as<bool>;
    { model.CheckWin() } -> std::same_as<bool>;
    { model.EndIfSolved() } -> std::same_as<bool>;
    { model.JudgeSweep() } -> std::same_as<bool>;
    { model.Hint(kind) } -> std::same_as<bool>;
    { constModel.GetHintsUsed(kind) } -> std::same_as<int>;
    { constModel.GetMaxHints(kind) } -> std::same_as<int>;
    { constModel.GetRules() } -> std::same_as<const MNPuzzleRules&>;
    { model.SavePuzzleState(buffer, kind) } -> std::same_as<int>;
    { model.LoadPuzzleState(buffer, kind) } -> std::same_as<int>;
    { model.GameOverSignal } -> std::same_as<kSignal0<>&>;
    { model.ValidEntrySignal } -> std::same_as<kSignal0<>&>;
    { model.InvalidEntrySignal } -> std::same_as<kSignal0<>&>;
};

} // namespace Kelvo_lib
