#include <shell/mntitlescreen.h>

#include <services/mninputedge.h>
#include <services/mnresourcemanager.h>
#include <services/mnsound.h>

#include <framework/kspritemanager.h>

#include <kelvo/platform/klog.h>
#include <kelvo/render/krdrawhelp.h>

#include <cmath>
#include <memory>

namespace Kelvo_lib {

namespace {

constexpr unsigned int kNightBlue = 0xFF1B2A4A;
constexpr float kLogoCentreY = 0.42f;
constexpr float kPromptCentreY = 0.8f;

struct TitleState {
    std::unique_ptr<kSprite> logo;
    std::unique_ptr<kSprite> prompt;
    MNInputEdge buttonA;
    float time = 0.0f;
    bool bStarted = false;
    bool bPressed = false; // an A press began on this screen
    bool bClosed = true;
};

TitleState s_title;

// Centred across the display, its centre at fraction y down, at the sprite's own size.
void PlaceCentred(kSprite* sprite, float y) {
    if (sprite == nullptr) {
        return;
    }
    sprite->SetNormalCoordinates(false);
    const float width = static_cast<float>(kSpriteManager::GetDisplayWidth());
    const float height = static_cast<float>(kSpriteManager::GetDisplayHeight());
    sprite->SetPosition((width - sprite->GetWidth()) / 2.0f,
                        height * y - sprite->GetHeight() / 2.0f);
    sprite->SetTransparent(true);
}

// 255 to about 90 and back over one period.
int PromptAlpha(float time) {
    const float phase = std::cos(time * 2.0f * 3.14159265f / MNTitleScreen::K_PROMPT_PERIOD);
    return static_cast<int>(172.5f + 82.5f * phase);
}

} // namespace

void MNTitleScreen::Init() {
    s_title = TitleState();
    s_title.logo.reset(MNResourceManager::GetSprite("title", "logo"));
    s_title.prompt.reset(MNResourceManager::GetSprite("title", "prompt"));
    PlaceCentred(s_title.logo.get(), kLogoCentreY);
    PlaceCentred(s_title.prompt.get(), kPromptCentreY);
    s_title.bClosed = false;
}

void MNTitleScreen::Deinit() {
    s_title = TitleState();
}

void MNTitleScreen::Tick(float delta) {
    if (s_title.bClosed) {
        return;
    }
    s_title.buttonA.UpdateButton();
    if (!s_title.bStarted) {
        // A button held from before (the press that skipped the last movie) is not a
        // press made on this screen.
        s_title.bStarted = true;
        kLogSys("MNTitleScreen", "Title screen\n");
        MNSound::PlayMusic(MUSIC_TITLE);
        return;
    }
    s_title.time += delta;
    if (s_title.buttonA.WasPressed()) {
        s_title.bPressed = true;
    }
    if (s_title.bPressed && s_title.buttonA.WasReleased()) {
        kLogSys("MNTitleScreen", "Closed\n");
        MNSound::PlaySoundEffect(SFX_CONFIRM);
        s_title.bClosed = true;
    }
}

void MNTitleScreen::Render() {
    krDrawHelp::DrawRect(KR_DRAW_PIXELS, 0.0f, 0.0f,
                         static_cast<float>(kSpriteManager::GetDisplayWidth()),
                         static_cast<float>(kSpriteManager::GetDisplayHeight()), kNightBlue);
    if (s_title.logo != nullptr) {
        s_title.logo->Render();
    }
    if (s_title.prompt != nullptr) {
        s_title.prompt->SetAlpha(PromptAlpha(s_title.time));
        s_title.prompt->Render();
    }
}

bool MNTitleScreen::IsClosed() {
    return s_title.bClosed;
}

} // namespace Kelvo_lib
