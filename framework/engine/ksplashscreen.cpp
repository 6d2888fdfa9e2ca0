// The start-up sequence as a small state machine over its list of entries.
#include <framework/ksplashscreen.h>

#include <framework/kspritemanager.h>

#include <kelvo/platform/klog.h>
#include <kelvo/platform/kplatform.h>

#include <cstring>

namespace Kelvo_lib {

struct SplashEntry {
    kSharedPtr<kSprite> m_sprite;
    bool m_bMovie = false;
    char moviename[256] = {};
    kMovie* m_movie = nullptr;
    float m_time = 0.0f;
    float m_fadeIn = 0.0f;
    float m_fadeOut = 0.0f;
    bool m_bAllowKeySkip = false;
};

template <>
struct kIsBitwiseMovable<SplashEntry> : std::true_type {};

namespace {

kArray<SplashEntry> s_screenList;
int s_currentScreen = -1;
int s_state = kSplashScreen::K_SPLASH_NOT_STARTED;
float s_time = 0.0f;
bool s_bAdvanceNextFrame = false;

float NotNegative(float value) {
    return value < 0.0f ? 0.0f : value;
}

SplashEntry* Current() {
    if (s_currentScreen < 0 || s_currentScreen >= s_screenList.Size()) {
        return nullptr;
    }
    return &s_screenList(s_currentScreen);
}

void DeleteMovie(SplashEntry& entry) {
    if (entry.m_movie != nullptr) {
        entry.m_movie->Stop();
        delete entry.m_movie;
        entry.m_movie = nullptr;
    }
}

void EnterEntry(SplashEntry& entry) {
    if (entry.m_fadeIn > 0.0f) {
        s_state = kSplashScreen::K_SPLASH_FADE_IN;
        s_time = entry.m_fadeIn;
    } else if (!entry.m_bMovie) {
        s_state = kSplashScreen::K_SPLASH_SHOWING;
        s_time = entry.m_time;
    } else if (kMovie* movie = kMovieManager::CreateMovie(entry.moviename, 16, 0, 0)) {
        kLogFmt("Loaded movie %s\n", entry.moviename);
        movie->Preload();
        entry.m_movie = movie;
        s_state = kSplashScreen::K_SPLASH_MOVIE;
        movie->Play(false);
        s_time = entry.m_time;
    } else {
        kLogFmt("Error loading movie %s\n", entry.moviename);
        s_time = 0.0f;
        s_bAdvanceNextFrame = true;
    }
}

void NextEntry() {
    if (SplashEntry* entry = Current(); entry != nullptr && entry->m_movie != nullptr) {
        kLogFmt("Currently playing movie - stop + delete\n");
        DeleteMovie(*entry);
    }
    ++s_currentScreen;
    if (s_currentScreen >= s_screenList.Size()) {
        s_state = kSplashScreen::K_SPLASH_FINISHED;
        s_time = 0.0f;
        return;
    }
    EnterEntry(s_screenList(s_currentScreen));
}

int FadeAlpha(float visible, float duration) {
    if (duration <= 0.0f) {
        return 0;
    }
    const int alpha = static_cast<int>(visible * 255.0f / duration);
    return alpha < 0 ? 0 : (alpha > 255 ? 255 : alpha);
}

} // namespace

void kSplashScreen::AddImage(kSharedPtr<kSpriteBank> spriteBank, const char* imageId, float time,
                             float fadeIn, float fadeOut, bool bAllowKeySkip) {
    SplashEntry entry;
    entry.m_sprite = kSharedPtr<kSprite>(kSprite::Create(spriteBank, imageId));
    if (kSprite* sprite = entry.m_sprite.Get()) {
        sprite->SetNormalCoordinates(true);
        sprite->SetPosition(0.0f, 0.0f);
        sprite->SetWidth(1.0f);
        sprite->SetHeight(1.0f);
        sprite->SetTransparent(false);
    }
    entry.m_time = NotNegative(time);
    entry.m_fadeIn = NotNegative(fadeIn);
    entry.m_fadeOut = NotNegative(fadeOut);
    entry.m_bAllowKeySkip = bAllowKeySkip;
    s_screenList.Push(entry);
}

void kSplashScreen::AddMovie(const char* filename, float time, bool bAllowKeySkip) {
    SplashEntry entry;
    // A name too long for the path buffer is cut short there, and then not found.
    kPlatform_snprintf(entry.moviename, 128, "wii/movies/%s.thp", filename);
    kLogFmt("Will load %s\n", entry.moviename);
    entry.m_bMovie = true;
    entry.m_time = time;
    entry.m_bAllowKeySkip = bAllowKeySkip;
    s_screenList.Push(entry);
}

void kSplashScreen::Start() {
    if (s_screenList.Size() == 0) {
        s_state = K_SPLASH_FINISHED;
        return;
    }
    s_time = 0.0f;
    s_currentScreen = -1;
    s_state = K_SPLASH_FADE_OUT;
    s_bAdvanceNextFrame = false;
    AdvanceState(false);
}

void kSplashScreen::AdvanceState(bool skip) {
    if (skip) {
        s_state = K_SPLASH_FADE_OUT;
    }
    kLogFmt("AdvanceState: %d - curscreen %d\n", s_state, s_currentScreen);
    SplashEntry* entry = Current();
    switch (s_state) {
    case K_SPLASH_FADE_IN:
        s_state = K_SPLASH_SHOWING;
        s_time = entry != nullptr ? entry->m_time : 0.0f;
        break;
    case K_SPLASH_SHOWING:
        if (entry != nullptr && entry->m_fadeOut > 0.0f) {
            s_state = K_SPLASH_FADE_OUT;
            s_time = entry->m_fadeOut;
        } else {
            NextEntry();
        }
        break;
    case K_SPLASH_FADE_OUT:
        NextEntry();
        break;
    case K_SPLASH_MOVIE:
        kLogFmt("State movie\n");
        NextEntry();
        break;
    default:
        break;
    }
}

void kSplashScreen::Tick(float delta) {
    if (s_bAdvanceNextFrame) {
        s_bAdvanceNextFrame = false;
        AdvanceState(false);
    }
    SplashEntry* entry = Current();
    if (entry != nullptr && entry->m_movie != nullptr) {
        if (entry->m_movie->IsPlaying()) {
            s_time = 0.5f;
        } else {
            kLogFmt("Playing of movie stopped\n");
        }
    }
    if (s_time > 0.0f) {
        s_time -= delta;
        if (s_time <= 0.0f) {
            s_time = 0.0f;
            s_bAdvanceNextFrame = true;
        }
    }
    if (entry != nullptr && entry->m_movie != nullptr) {
        entry->m_movie->Tick(delta);
    }
}

void kSplashScreen::Render() {
    SplashEntry* entry = Current();
    if (entry == nullptr || s_state == K_SPLASH_NOT_STARTED || s_state == K_SPLASH_FINISHED) {
        return;
    }
    if (s_state != K_SPLASH_MOVIE && entry->m_sprite.Get() != nullptr) {
        entry->m_sprite->Render();
    }
    if (s_state == K_SPLASH_MOVIE && entry->m_movie != nullptr) {
        entry->m_movie->Render();
        if (s_currentScreen == 1 && !entry->m_movie->IsPlaying()) {
            kLogFmt("%d fading\n", s_currentScreen);
            kSpriteManager::SetScreenFade(255);
        }
    }
    if (s_state == K_SPLASH_FADE_IN || s_state == K_SPLASH_FADE_OUT) {
        kSpriteManager::SetScreenFade(GetFadeAlpha());
    }
}

bool kSplashScreen::IsFinished() {
    return s_state == K_SPLASH_FINISHED || s_state == K_SPLASH_NOT_STARTED;
}

bool kSplashScreen::IsAllowKeySkip() {
    const SplashEntry* entry = Current();
    return entry != nullptr && entry->m_bAllowKeySkip;
}

void kSplashScreen::PauseMovie() {
    SplashEntry* entry = Current();
    if (entry != nullptr && entry->m_movie != nullptr) {
        kLogFmt("Pausing movie %d\n", s_currentScreen);
        entry->m_movie->Pause();
        s_bAdvanceNextFrame = true;
        s_time = 0.0f;
    }
}

void kSplashScreen::ResumeMovie() {}

void kSplashScreen::Clear() {
    if (SplashEntry* entry = Current()) {
        DeleteMovie(*entry);
    }
    for (s32 i = 0; i < s_screenList.Size(); ++i) {
        s_screenList(i).m_sprite = kSharedPtr<kSprite>();
    }
    s_screenList.Empty();
}

int kSplashScreen::GetState() {
    return s_state;
}

int kSplashScreen::GetCurrentScreen() {
    return s_currentScreen;
}

int kSplashScreen::GetFadeAlpha() {
    const SplashEntry* entry = Current();
    if (entry == nullptr) {
        return 0;
    }
    if (s_state == K_SPLASH_FADE_IN) {
        return FadeAlpha(s_time, entry->m_fadeIn);
    }
    if (s_state == K_SPLASH_FADE_OUT) {
        return FadeAlpha(entry->m_fadeOut - s_time, entry->m_fadeOut);
    }
    return 0;
}

} // namespace Kelvo_lib
