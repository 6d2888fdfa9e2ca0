// MNAnagram: the bonus puzzle on a solved grid's hidden word. The word's letters lie as keys
// on a circle in random order; the player points at them to spell the word in the answer row
// against a 60-second clock; a full row is checked letter by letter on confirm, and when the
// clock runs out the answer is revealed. Created by class (its class new and delete); it owns
// its keys and sprites and shares its fonts. Main thread only; it reads the remote itself.
// A word it cannot hold is refused with a log line. Emitting GameOverSignal is the last thing
// a tick does, so the connected slot may delete the widget.
#pragma once

#include <puzzles/mncountdown.h>
#include <services/puzzletypes.h>

#include <framework/kfont.h>
#include <ui/kuiwidget.h>

#include <kelvo/containers/karray.h>
#include <kelvo/containers/ksharedptr.h>
#include <kelvo/object/ksignal.h>

namespace Kelvo_lib {

class kSprite;

class MNAnagram : public kRTTI<MNAnagram, kUIWidget, kCLSID<0, 0, 0, 0>> {
public:
    static constexpr int kMaxWordLength = 31;
    static constexpr float kTimeLimit = 60.0f;

    struct MNKey {
        char letter;
        bool used;  // placed in the answer row
        int order;  // its answer position, -1 when not placed
        float x, y; // top-left corner and size in pixels
        float w, h;
    };

    MNAnagram();
    MNAnagram(const MNAnagram&) = delete;
    MNAnagram& operator=(const MNAnagram&) = delete;
    ~MNAnagram() override;

    // Lays the word's letters out on the circle, each on a random slot. Refused, logged, with
    // false: no text, an empty one, one longer than kMaxWordLength, or a second word.
    bool SetString(const char* text);
    // The clock runs and input counts from now on. Played without a word, the anagram ends at
    // its next tick.
    void Play();
    void Tick(float delta) override;
    void Render() override;
    // Takes the key, or the placed letter of the answer position, at pixel (x, y) in or out
    // of the answer row; one action per call. Returns whether something was hit.
    bool MouseHit(float x, float y, bool bUnused);

    // Idle, playing, or completed once over (solved, out of time or the debug key).
    ePuzzleState GetState() const { return m_state; }
    float GetTimeLeft() const { return m_timer; }
    // Letters placed in the answer row.
    int GetCursorPos() const { return m_cursorPos; }
    int GetNumKeys() const { return m_keys.Size(); }
    // Key i, in the word's order (no range test).
    const MNKey& GetKey(int i) const { return m_keys(i); }
    bool IsChecking() const { return m_bScanning && !m_bComplete; }
    bool IsComplete() const { return m_bComplete; }

    // Where the player points, in pixels.
    kUIRect GetAnswerCellRect(int position) const;
    kUIRect GetConfirmRect() const;
    kUIRect GetMenuRect() const;

    // Solved, or the answer shown after the time ran out, or the debug key.
    kSignal0<> GameOverSignal;
    // The menu button.
    kSignal0<> GamePauseSignal;

private:
    void Clear();
    void PlaceKeysOnCircle();
    void TickPlaying(float delta);
    void KeepInGameMusic();
    void TakeInput();
    void StartCheck();
    void TickCheck();
    void FinishCheck();
    void TickComplete(float delta);
    void RevealStep();
    // Ends the game: the emission is the last thing the caller may do.
    void EndGame();
    void PlaceKey(MNKey& key);
    void TakeKeyBack(MNKey& key);
    void ClearAnswer();
    // Whether a key with the word's letter of that position is placed there.
    bool PositionHoldsItsLetter(int position) const;
    const MNKey* KeyAtPosition(int position) const;
    float KeyWidth() const;
    float KeyHeight() const;
    float AnswerRowLeft() const;
    unsigned int AnswerCellColour(int position) const;
    void RenderEndMessage();
    void RenderCircle();
    void RenderAnswerRow();
    void RenderClock();
    void RenderButtons();
    void RenderCell(float x, float y, unsigned int colour);
    void RenderLetter(char letter, float x, float y);
    void RenderCaption(kSprite* button, int textId, float y);

    ePuzzleState m_state;
    int m_cursorPos;
    int m_maxLength;
    char m_string[kMaxWordLength + 1];
    kArray<MNKey> m_keys;
    kSharedPtr<kFont> m_font;
    kSharedPtr<kFont> m_gridFont;
    kSharedPtr<kFont> m_buttonFont;
    bool m_bWrong[kMaxWordLength + 1]; // per answer position: the check found its letter there
    bool m_bComplete;
    bool m_bScanning;
    int m_scanCellIndex; // answer position being checked or revealed; -1 none
    float m_scanTimer;   // countdown of a check or reveal step, then of the closing pause
    float m_scanLength;
    float m_answerTimer; // pause after the answer is revealed
    // One beep a second while the whole seconds left are 10 down to 1.
    MNCountdown m_lastSeconds{MNCountdown::WINDOW_WHOLE_SECONDS, 10.0f};
    float m_timer; // seconds left
    kSprite* m_confirm = nullptr;
    kSprite* m_cell = nullptr;
    kSprite* m_menu = nullptr;
    kSprite* m_mouseSprite = nullptr;
    kSprite* m_bgLetters = nullptr;
    kSprite* m_bgWord = nullptr;
};

} // namespace Kelvo_lib
