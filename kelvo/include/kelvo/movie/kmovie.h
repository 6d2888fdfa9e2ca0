// Movies: kMovie is something that can be played, paused, stopped, ticked and drawn;
// kMovieTHP plays a THP file from the disc centred on the screen, with its sound, through
// the one THP player (one movie at a time). kMovieManager::CreateMovie makes one, or gives
// null (logged) for a file that is missing, not a movie, or cannot be prepared, or while
// another movie holds the player; the caller owns and deletes it. Main thread only.
#pragma once

#include <kelvo/containers/kresource.h>
#include <kelvo/movie/thpfile.h>
#include <kelvo/render/krtextureresourcewii.h>

namespace Kelvo_lib {

class kMovie {
public:
    virtual ~kMovie();
    virtual bool Play(bool bLoop) = 0;
    virtual bool Pause() = 0;
    virtual bool Resume() = 0;
    virtual bool Stop() = 0;
    virtual bool IsPlaying() = 0;
    virtual bool Preload();
    virtual bool SetVolume(float volume) = 0;
    virtual float GetVolume() = 0;
    virtual bool SetLoop(bool bLoop) = 0;
    virtual bool GetLoop() = 0;
    virtual bool Tick(float delta) = 0;
    virtual bool SetRenderPos(bool bToScreen, int layer, float x, float y, float w, float h) = 0;
    virtual RcPtr<krTextureResourceWII> GetTexture() = 0;
    virtual bool Render() = 0;
};

class kMovieTHP : public kMovie {
public:
    kMovieTHP();
    ~kMovieTHP() override;

    bool Load(const char* fileName);

    bool Play(bool bLoop) override;
    bool Pause() override;
    bool Resume() override;
    bool Stop() override;
    bool IsPlaying() override;
    bool Preload() override;
    bool SetVolume(float volume) override;
    float GetVolume() override;
    bool SetLoop(bool bLoop) override;
    bool GetLoop() override;
    bool Tick(float delta) override;
    bool SetRenderPos(bool bToScreen, int layer, float x, float y, float w, float h) override;
    RcPtr<krTextureResourceWII> GetTexture() override;
    bool Render() override;

    // Where the picture goes on the frame buffer, and the frame last drawn (-1 for none).
    int GetX() const { return m_x; }
    int GetY() const { return m_y; }
    int GetFrameIndex() const { return m_frameIdx; }

private:
    // Set up the player for this movie, so quits it; false while another movie holds it.
    bool m_bPlayerInit = false;
    bool m_bLoop = false;
    bool m_bOpen = false;
    bool m_bPlay = false;
    bool m_bComplete = false;
    bool m_bPaused = false;
    int m_frameIdx = 0;
    int m_x = 0;
    int m_y = 0;
    THPVideoInfo m_videoInfo{};
    THPAudioInfo m_audioInfo{};
    unsigned char* m_buffer = nullptr;
    unsigned char* m_bufferAligned = nullptr;
    RcPtr<krTextureResourceWII> m_tex;
    bool m_bRenderToScreen = true;
    float m_renderX = 0.0f;
    float m_renderY = 0.0f;
    float m_renderW = 1.0f;
    float m_renderH = 1.0f;
};

class kMovieManager {
public:
    // The three integers (a position and flags) are kept for callers' sake and not used.
    static kMovie* CreateMovie(const char* fileName, int, int, int);
};

} // namespace Kelvo_lib
