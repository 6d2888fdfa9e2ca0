// The anagram: its keys on a circle, the answer row, the clock, the letter-by-letter check,
// the reveal after a time-out and the closing pause.
#include <puzzles/anagram/mnanagram.h>

#include <services/mninputedge.h>
#include <services/mnprofile.h>
#include <services/mnresourcemanager.h>
#include <services/mnsound.h>
#include <services/mntextid.h>

#include <framework/ksprite.h>
#include <framework/kspritemanager.h>
#include <framework/ktext.h>
#include <ui/kuimouse.h>

#include <kelvo/platform/klog.h>

#include <cmath>
#include <cstdio>
#include <cstring>

namespace Kelvo_lib {

namespace {

[[maybe_unused]] kClass* const s_registeredRecords[] = {MNAnagram::StaticClass()};

constexpr float kCircleRadius = 80.0f;
constexpr float kFullTurn = 6.28f;
constexpr float kStepPerTick = 0.01f; // check and reveal steps count ticks, not time
constexpr float kCheckStep = 0.2f;
constexpr float kRightWordPause = 5.0f;
constexpr float kAnswerPause = 5.0f;
constexpr float kAnswerRowY = 66.0f;
constexpr float kLettersPanelY = 140.0f;
constexpr float kWordPanelY = 55.0f;
constexpr float kMenuX = 80.0f;
constexpr float kMenuCaptionDrop = 5.0f;
constexpr float kClockMargin = 10.0f;
constexpr int kClockY = 17;
constexpr float kDefaultKeySize = 32.0f; // when the disc lacks the key's sprite

// White letters on the keys, whose art is dark under a light rim that takes these tints.
constexpr unsigned int kWhite = 0xFFFFFFFF;
constexpr unsigned int kKeyColour = 0xFFFFFFFF;
constexpr unsigned int kUsedKey = 0xFF646464;     // its letter is in the row
constexpr unsigned int kCellTesting = 0xFFFF8000; // orange
constexpr unsigned int kCellRight = 0xFF00FF00;   // green
constexpr unsigned int kCellWrong = 0xFFFF0000;   // red

// The A button's edges and the pointer, one reading for every anagram.
MNInputEdge s_pointer;

float DisplayWidth() {
    return static_cast<float>(kSpriteManager::GetDisplayWidth());
}

float DisplayHeight() {
    return static_cast<float>(kSpriteManager::GetDisplayHeight());
}

const char* TextOf(int id) {
    const char* text = kText::Text(id);
    return text != nullptr ? text : "";
}

// Sprites the disc lacks are null (the resource manager logged them) and left out.
kSprite* InPixels(kSprite* sprite) {
    if (sprite != nullptr) {
        sprite->SetNormalCoordinates(false);
        sprite->SetTransparent(true);
    }
    return sprite;
}

kSprite* PixelSprite(const char* bank, const char* name) {
    return InPixels(MNResourceManager::GetSprite(bank, name));
}

void Place(kSprite* sprite, float x, float y) {
    if (sprite != nullptr) {
        sprite->SetPosition(x, y);
    }
}

float WidthOf(const kSprite* sprite) {
    return sprite != nullptr ? sprite->GetWidth() : 0.0f;
}

float HeightOf(const kSprite* sprite) {
    return sprite != nullptr ? sprite->GetHeight() : 0.0f;
}

kUIRect RectOf(const kSprite* sprite) {
    if (sprite == nullptr) {
        return {};
    }
    return {sprite->GetX(), sprite->GetY(), sprite->GetWidth(), sprite->GetHeight()};
}

bool Hits(const kSprite* sprite, float x, float y) {
    return sprite != nullptr && sprite->MouseHit(x, y, false);
}

bool Inside(float x, float y, float left, float top, float width, float height) {
    return x >= left && x <= left + width && y >= top && y <= top + height;
}

void RenderAt(kSprite* sprite, float x, float y) {
    Place(sprite, x, y);
    if (sprite != nullptr) {
        sprite->Render();
    }
}

} // namespace

MNAnagram::MNAnagram() {
    Clear();
    m_font = MNResourceManager::GetFont("wii_font_30", "wii_font_30");
    m_gridFont = MNResourceManager::GetFont("keyboard", "wii_keyboard");
    m_gridFont->SetScale(1.0f);
    m_buttonFont = MNResourceManager::GetFont("font14b", "mindora14b");
    m_buttonFont->SetColour(kWhite, false);
    m_buttonFont->SetScale(1.0f);
    m_confirm = PixelSprite("puzzles", "cw_confirm_box ");
    m_cell = PixelSprite("fe", "fe_keyboard_key_01");
    m_menu = PixelSprite("puzzles", "Generic_BG_Button_96");
    m_bgLetters = PixelSprite("puzzles", "SO_BG_letter");
    m_bgWord = PixelSprite("puzzles", "SO_BG_word");
    m_mouseSprite = InPixels(kSprite::Create(MNResourceManager::GetSpriteBank("ptr"), "ptr"));
    const float width = DisplayWidth();
    const float height = DisplayHeight();
    Place(m_confirm, (width - WidthOf(m_confirm)) * 0.5f, height - 2.5f * HeightOf(m_confirm));
    Place(m_menu, kMenuX, height - HeightOf(m_menu));
    Place(m_bgLetters, width - WidthOf(m_bgLetters), kLettersPanelY);
    Place(m_bgWord, 0.0f, kWordPanelY);
}

MNAnagram::~MNAnagram() {
    kLogFmt("~MNAnagram()\n");
    for (kSprite* sprite : {m_confirm, m_cell, m_menu, m_mouseSprite, m_bgLetters, m_bgWord}) {
        delete sprite;
    }
}

void MNAnagram::Clear() {
    m_cursorPos = 0;
    m_maxLength = 0;
    m_timer = kTimeLimit;
    m_answerTimer = kAnswerPause;
    m_scanTimer = 0.0f;
    m_scanLength = kCheckStep;
    m_scanCellIndex = 0;
    m_bScanning = false;
    m_bComplete = false;
    std::memset(m_string, 0, sizeof m_string);
    std::memset(m_bWrong, 0, sizeof m_bWrong);
    m_keys.Empty();
    m_state = PUZZLE_STATE_IDLE;
}

bool MNAnagram::SetString(const char* text) {
    if (text == nullptr || text[0] == 0) {
        kLogFmt("MNAnagram::SetString: no word\n");
        return false;
    }
    kLogFmt("MNAnagram::SetString (  %s )\n", text);
    if (m_maxLength > 0) {
        kLogFmt("MNAnagram::SetString: the anagram already has its word\n");
        return false;
    }
    const size_t length = std::strlen(text);
    if (length > static_cast<size_t>(kMaxWordLength)) {
        kLogFmt("MNAnagram::SetString: a word of %d letters is longer than %d\n",
                static_cast<int>(length), kMaxWordLength);
        return false;
    }
    std::memcpy(m_string, text, length + 1);
    m_maxLength = static_cast<int>(length);
    m_keys.Add(m_maxLength);
    for (int i = 0; i < m_maxLength; ++i) {
        m_keys(i) = MNKey{m_string[i], false, -1, 0.0f, 0.0f, KeyWidth(), KeyHeight()};
    }
    PlaceKeysOnCircle();
    return true;
}

// Each key takes a random one of n equally spaced slots around the display's centre.
void MNAnagram::PlaceKeysOnCircle() {
    const int cx = static_cast<int>(DisplayWidth() * 0.5f);
    const int cy = static_cast<int>(DisplayHeight() * 0.5f);
    const float step = kFullTurn / static_cast<float>(m_maxLength);
    int freeSlots[kMaxWordLength];
    int numFree = m_maxLength;
    for (int i = 0; i < numFree; ++i) {
        freeSlots[i] = i;
    }
    for (int i = 0; i < m_maxLength; ++i) {
        const int pick = static_cast<int>(MNProfile::GetRandomGen()->rand()) % numFree;
        const float angle = static_cast<float>(freeSlots[pick]) * step;
        std::memmove(&freeSlots[pick], &freeSlots[pick + 1],
                     sizeof(int) * static_cast<size_t>(numFree - pick - 1));
        --numFree;
        m_keys(i).x = static_cast<float>(static_cast<int>(cx + kCircleRadius * std::cos(angle)));
        m_keys(i).y = static_cast<float>(static_cast<int>(cy + kCircleRadius * std::sin(angle)));
    }
}

void MNAnagram::Play() {
    if (m_maxLength == 0) {
        kLogFmt("MNAnagram::Play: no word; the anagram ends\n");
    }
    m_state = PUZZLE_STATE_PLAYING;
}

void MNAnagram::Tick(float delta) {
    if (m_bComplete) {
        TickComplete(delta);
    } else if (m_bScanning) {
        TickCheck();
    } else {
        TickPlaying(delta);
    }
}

void MNAnagram::TickPlaying(float delta) {
    if (m_lastSeconds.Warn(m_timer, delta)) {
        MNSound::PlaySoundEffect(SFX_LAST_SECONDS);
    }
    if (static_cast<int>(m_timer) < 1) {
        m_timer = 0.0f;
        StartCheck();
        MNSound::PlaySoundEffect(SFX_TIME_UP);
        return;
    }
    KeepInGameMusic();
    if (MNProfile::CheatKeyPressed()) {
        kLogFmt("Debug: Completing anagram game\n");
        EndGame();
        return;
    }
    s_pointer.Update();
    if (m_state != PUZZLE_STATE_PLAYING) {
        return;
    }
    if (m_maxLength == 0) {
        EndGame();
        return;
    }
    m_timer -= delta;
    if (s_pointer.WasPressed()) {
        TakeInput();
    }
}

void MNAnagram::KeepInGameMusic() {
    const int cue = MNSound::GetMusicPlayingIdx();
    if (cue < MUSIC_INGAME1 || cue > MUSIC_INGAME3) {
        kLogFmt("Playing In-Game music\n");
        MNSound::StopMusic();
        MNSound::PlayMusic(MUSIC_INGAME1);
    }
}

// A press: a key or an answer position, then confirm once every letter is placed, then the
// menu button, whose signal is the last thing done.
void MNAnagram::TakeInput() {
    const float x = s_pointer.GetX();
    const float y = s_pointer.GetY();
    MouseHit(x, y, false);
    if (Hits(m_confirm, x, y) && m_cursorPos >= m_maxLength) {
        StartCheck();
    }
    if (Hits(m_menu, x, y)) {
        MNSound::PlaySoundEffect(SFX_BACK);
        GamePauseSignal();
    }
}

bool MNAnagram::MouseHit(float x, float y, bool) {
    for (int i = 0; i < m_keys.Size(); ++i) {
        MNKey& key = m_keys(i);
        if (Inside(x, y, key.x, key.y, key.w, key.h)) {
            if (key.used) {
                TakeKeyBack(key);
                MNSound::PlaySoundEffect(SFX_TILE_REMOVE);
            } else {
                PlaceKey(key);
                kLogFmt("Keyboard button clicked : %c\n", key.letter);
                MNSound::PlaySoundEffect(SFX_TILE_PLACE);
            }
            return true;
        }
        if (key.order >= 0) {
            const kUIRect cell = GetAnswerCellRect(key.order);
            if (Inside(x, y, cell.x, cell.y, cell.w, cell.h)) {
                MNSound::PlaySoundEffect(SFX_TILE_REMOVE);
                TakeKeyBack(key);
                kLogFmt("Keyboard button clicked : %c\n", key.letter);
                return true;
            }
        }
    }
    return false;
}

void MNAnagram::PlaceKey(MNKey& key) {
    key.used = true;
    key.order = m_cursorPos;
    ++m_cursorPos;
}

// Later letters of the row move one position left to close the gap.
void MNAnagram::TakeKeyBack(MNKey& key) {
    const int order = key.order;
    key.used = false;
    key.order = -1;
    --m_cursorPos;
    for (int i = 0; i < m_keys.Size(); ++i) {
        if (m_keys(i).used && m_keys(i).order > order) {
            --m_keys(i).order;
        }
    }
}

void MNAnagram::ClearAnswer() {
    m_cursorPos = 0;
    for (int i = 0; i < m_keys.Size(); ++i) {
        m_keys(i).used = false;
        m_keys(i).order = -1;
    }
    std::memset(m_bWrong, 0, sizeof m_bWrong);
}

void MNAnagram::StartCheck() {
    m_bScanning = true;
    m_scanTimer = m_scanLength;
    m_scanCellIndex = 0;
}

void MNAnagram::TickCheck() {
    m_scanTimer -= kStepPerTick;
    if (m_scanTimer > 0.0f) {
        return;
    }
    m_scanTimer = m_scanLength;
    if (m_scanCellIndex < 0 || m_scanCellIndex >= m_maxLength) {
        FinishCheck();
        return;
    }
    kLogFmt("Scanning...\n");
    m_bWrong[m_scanCellIndex] = PositionHoldsItsLetter(m_scanCellIndex);
    MNSound::PlaySoundEffect(SFX_SWEEP_TICK);
    ++m_scanCellIndex;
}

// Wrong with time left: the letters go back and play goes on. Otherwise the anagram is
// complete: right, or out of time with the answer about to be revealed.
void MNAnagram::FinishCheck() {
    kLogFmt("Scan complete\n");
    bool bRight = true;
    for (int i = 0; i < m_maxLength; ++i) {
        bRight = bRight && m_bWrong[i];
    }
    m_bScanning = false;
    m_scanCellIndex = -1;
    if (!bRight && m_timer > 0.0f) {
        kLogFmt("Incorrect Anagram\n");
        MNSound::PlaySoundEffect(SFX_WRONG);
        ClearAnswer();
        return;
    }
    if (m_timer > 0.0f) {
        m_scanTimer = kRightWordPause;
        kLogFmt("Completed Anagram - Correct word\n");
    } else {
        kLogFmt("Completed Anagram - Ran out of time\n");
        ClearAnswer();
    }
    MNSound::PlaySoundEffect(SFX_PRESS);
    m_bComplete = true;
}

bool MNAnagram::PositionHoldsItsLetter(int position) const {
    const MNKey* key = KeyAtPosition(position);
    return key != nullptr && key->letter == m_string[position];
}

const MNAnagram::MNKey* MNAnagram::KeyAtPosition(int position) const {
    for (int i = 0; i < m_keys.Size(); ++i) {
        if (m_keys(i).order == position) {
            return &m_keys(i);
        }
    }
    return nullptr;
}

void MNAnagram::TickComplete(float delta) {
    if (m_state == PUZZLE_STATE_COMPLETED) {
        return;
    }
    if (m_timer > 0.0f) {
        m_scanTimer -= delta;
        if (m_scanTimer <= 0.0f) {
            EndGame();
        }
        return;
    }
    if (m_scanTimer > 0.0f) {
        m_scanTimer -= kStepPerTick;
        if (m_scanTimer <= 0.0f) {
            RevealStep();
        }
        return;
    }
    m_answerTimer -= delta;
    if (m_answerTimer <= 0.0f) {
        EndGame();
    }
}

// Places the word's next letter at its position; after the last one the reveal stops.
void MNAnagram::RevealStep() {
    m_scanTimer = m_scanLength;
    if (m_scanCellIndex < 0) {
        m_scanCellIndex = 0;
        return;
    }
    if (m_scanCellIndex >= m_maxLength) {
        m_scanTimer = 0.0f;
        m_scanCellIndex = -1;
        return;
    }
    kLogFmt("Scanning letter %d\n", m_scanCellIndex);
    MNKey& key = m_keys(m_scanCellIndex);
    key.used = true;
    key.order = m_scanCellIndex;
    MNSound::PlaySoundEffect(SFX_SWEEP_TICK);
    ++m_scanCellIndex;
}

void MNAnagram::EndGame() {
    m_state = PUZZLE_STATE_COMPLETED;
    GameOverSignal();
}

float MNAnagram::KeyWidth() const {
    return m_cell != nullptr ? m_cell->GetWidth() : kDefaultKeySize;
}

float MNAnagram::KeyHeight() const {
    return m_cell != nullptr ? m_cell->GetHeight() : kDefaultKeySize;
}

float MNAnagram::AnswerRowLeft() const {
    return static_cast<float>(
        static_cast<int>((DisplayWidth() - static_cast<float>(m_maxLength) * KeyWidth()) * 0.5f));
}

// Hit where it is drawn.
kUIRect MNAnagram::GetAnswerCellRect(int position) const {
    return {AnswerRowLeft() + KeyWidth() * static_cast<float>(position), kAnswerRowY, KeyWidth(),
            KeyHeight()};
}

kUIRect MNAnagram::GetConfirmRect() const {
    return RectOf(m_confirm);
}

kUIRect MNAnagram::GetMenuRect() const {
    return RectOf(m_menu);
}

void MNAnagram::Render() {
    m_font->SetFixedCharWidth(0);
    m_font->SetScale(1.0f);
    m_gridFont->SetFixedCharWidth(0);
    m_gridFont->SetScale(1.0f);
    for (kSprite* panel : {m_bgLetters, m_bgWord}) {
        if (panel != nullptr) {
            panel->Render();
        }
    }
    if (m_bComplete) {
        RenderEndMessage();
    } else {
        RenderCircle();
    }
    RenderAnswerRow();
    RenderClock();
    RenderButtons();
    RenderAt(m_mouseSprite, static_cast<float>(kUIMouse::GetIntX()),
             static_cast<float>(kUIMouse::GetIntY()));
}

// In place of the circle, centred on its panel.
void MNAnagram::RenderEndMessage() {
    const char* text = TextOf(m_timer > 0.0f ? TEXT_WELL_DONE : TEXT_TIME_UP);
    int width = 0;
    int height = 0;
    m_font->SetColour(kWhite, false);
    m_font->GetStringBound(width, height, text);
    const float panelX = m_bgLetters != nullptr ? m_bgLetters->GetX() : 0.0f;
    const float panelW = m_bgLetters != nullptr ? m_bgLetters->GetWidth() : DisplayWidth();
    m_font->Print(static_cast<int>(panelX + panelW * 0.5f - static_cast<float>(width / 2)),
                  (static_cast<int>(DisplayHeight()) - height) / 2, text, 0, 0.0f);
}

void MNAnagram::RenderCircle() {
    for (int i = 0; i < m_keys.Size(); ++i) {
        const MNKey& key = m_keys(i);
        RenderCell(key.x, key.y, key.used ? kUsedKey : kKeyColour);
        RenderLetter(key.letter, key.x, key.y);
    }
}

void MNAnagram::RenderAnswerRow() {
    for (int i = 0; i < m_maxLength; ++i) {
        const kUIRect cell = GetAnswerCellRect(i);
        RenderCell(cell.x, cell.y, AnswerCellColour(i));
    }
    for (int i = 0; i < m_keys.Size(); ++i) {
        if (m_keys(i).used) {
            const kUIRect cell = GetAnswerCellRect(m_keys(i).order);
            RenderLetter(m_keys(i).letter, cell.x, cell.y);
        }
    }
}

// While checking: the position under test, then right and wrong ones; once complete, the
// letters of the row in green.
unsigned int MNAnagram::AnswerCellColour(int position) const {
    if (m_bScanning) {
        if (position == m_scanCellIndex) {
            return kCellTesting;
        }
        if (position < m_scanCellIndex) {
            return m_bWrong[position] ? kCellRight : kCellWrong;
        }
        return kKeyColour;
    }
    if (m_bComplete && KeyAtPosition(position) != nullptr) {
        return kCellRight;
    }
    return kKeyColour;
}

void MNAnagram::RenderClock() {
    char label[64];
    std::snprintf(label, sizeof label, "%s:", TextOf(TEXT_TIME));
    m_font->SetColour(kWhite, false);
    m_font->Print(static_cast<int>(kClockMargin), kClockY, label, 0, 0.0f);
    const int seconds = static_cast<int>(m_timer);
    char clock[32];
    std::snprintf(clock, sizeof clock, "%02d:%02d:%02d", seconds / 3600, seconds / 60 % 60,
                  seconds % 60);
    int width = 0;
    int height = 0;
    m_font->GetStringBound(width, height, clock);
    m_font->Print(static_cast<int>(DisplayWidth()) - width - static_cast<int>(kClockMargin),
                  kClockY, clock, 0, 0.0f);
}

void MNAnagram::RenderButtons() {
    if (m_cursorPos >= m_maxLength && !m_bComplete && m_confirm != nullptr) {
        m_confirm->Render();
        int width = 0;
        int height = 0;
        m_buttonFont->GetStringBound(width, height, TextOf(TEXT_CONFIRM));
        RenderCaption(m_confirm, TEXT_CONFIRM,
                      m_confirm->GetY() +
                          (m_confirm->GetHeight() - static_cast<float>(height)) * 0.5f);
    }
    if (m_menu != nullptr) {
        m_menu->Render();
        RenderCaption(m_menu, TEXT_MENU, m_menu->GetY() + kMenuCaptionDrop);
    }
}

// A caption centred across its button, its top at y.
void MNAnagram::RenderCaption(kSprite* button, int textId, float y) {
    const char* text = TextOf(textId);
    int width = 0;
    int height = 0;
    m_buttonFont->SetColour(kWhite, false);
    m_buttonFont->GetStringBound(width, height, text);
    m_buttonFont->Print(static_cast<int>(button->GetX() + button->GetWidth() * 0.5f -
                                         static_cast<float>(width / 2)),
                        static_cast<int>(y), text, 0, 0.0f);
}

void MNAnagram::RenderCell(float x, float y, unsigned int colour) {
    if (m_cell != nullptr) {
        m_cell->SetColour(colour);
        m_cell->SetPosition(x, y);
        m_cell->Render();
    }
}

// The letter in white, centred in the key whose top-left corner is (x, y).
void MNAnagram::RenderLetter(char letter, float x, float y) {
    const char text[2] = {letter, 0};
    int width = 0;
    int height = 0;
    m_gridFont->SetColour(kWhite, false);
    m_gridFont->GetStringBound(width, height, text);
    m_gridFont->Print(static_cast<int>(x + KeyWidth() * 0.5f - static_cast<float>(width / 2)),
                      static_cast<int>(y + KeyHeight() * 0.5f - static_cast<float>(height / 2)),
                      text, 0, 0.0f);
}

} // namespace Kelvo_lib
