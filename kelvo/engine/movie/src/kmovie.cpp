// kMovieTHP over the THP player: load and centre, the play controls, and drawing.
#include <kelvo/movie/kmovie.h>

#include <kelvo/movie/thpplayer.h>
#include <kelvo/platform/klog.h>
#include <kelvo/platform/kmemory.h>
#include <kelvo/platform/kplatform.h>
#include <kelvo/render/krender.h>
#include <kelvo/render/krvertexdesc.h>

#include <cstdint>

namespace Kelvo_lib {

kMovie::~kMovie() = default;

bool kMovie::Preload() {
    return false;
}

kMovieTHP::kMovieTHP() : m_bPlayerInit(THPPlayerInit(1)) {}

kMovieTHP::~kMovieTHP() {
    Stop();
    if (m_bOpen) {
        THPPlayerClose();
    }
    m_bOpen = false;
    m_bPlay = false;
    kPlatform_ReleaseFree(m_buffer);
    m_buffer = nullptr;
    m_bufferAligned = nullptr;
    if (m_bPlayerInit) {
        THPPlayerQuit();
    }
}

bool kMovieTHP::Load(const char* fileName) {
    kLogFmt("Load: %s\n", fileName);
    if (!m_bPlayerInit) {
        kLogFmt("The movie player could not be set up for %s\n", fileName);
        return false;
    }
    if (!THPPlayerOpen(fileName, 0)) {
        kLogFmt("Fail to open the thp file\n");
        return false;
    }
    m_bOpen = true;
    THPPlayerGetVideoInfo(&m_videoInfo);
    THPPlayerGetAudioInfo(&m_audioInfo);
    m_x = static_cast<int>((static_cast<u32>(s_curMode->fbWidth) - m_videoInfo.xSize) >> 1);
    m_y = static_cast<int>((static_cast<u32>(s_curMode->efbHeight) - m_videoInfo.ySize) >> 1);
    m_buffer = static_cast<unsigned char*>(
        kPlatform_ReleaseAlloc(K_MEM_TAG_GENERAL, THPPlayerCalcNeedMemory() + 32));
    if (m_buffer == nullptr) {
        return false;
    }
    m_bufferAligned = reinterpret_cast<unsigned char*>(
        (reinterpret_cast<std::uintptr_t>(m_buffer) + 31) & ~static_cast<std::uintptr_t>(31));
    if (!THPPlayerSetBuffer(m_bufferAligned) || !THPPlayerPrepare(0, 0, 0)) {
        return false;
    }
    m_bPlay = false;
    m_bComplete = false;
    m_bPaused = true;
    return true;
}

bool kMovieTHP::Play(bool) {
    if (m_bOpen) {
        THPPlayerPlay();
        m_bPlay = true;
        m_bPaused = false;
    }
    return true;
}

bool kMovieTHP::Pause() {
    if (m_bOpen && THPPlayerGetState() != THP_STATE_PAUSE) {
        THPPlayerPause();
        m_bPaused = true;
    }
    return true;
}

bool kMovieTHP::Resume() {
    if (m_bOpen) {
        if (THPPlayerGetState() == THP_STATE_PAUSE) {
            THPPlayerPlay();
            m_bPaused = false;
        }
        m_bComplete = false;
    }
    return true;
}

bool kMovieTHP::Stop() {
    if (m_bOpen) {
        m_bPlay = false;
        THPPlayerStop();
    }
    return true;
}

bool kMovieTHP::IsPlaying() {
    return m_bOpen && !m_bComplete && !m_bPaused;
}

bool kMovieTHP::Preload() {
    return true;
}

bool kMovieTHP::SetVolume(float) {
    return true;
}

float kMovieTHP::GetVolume() {
    return 1.0f;
}

bool kMovieTHP::SetLoop(bool bLoop) {
    m_bLoop = bLoop;
    return true;
}

bool kMovieTHP::GetLoop() {
    return m_bLoop;
}

bool kMovieTHP::Tick(float) {
    if (THPPlayerGetState() == THP_STATE_PLAYED) {
        m_bComplete = true;
    }
    return true;
}

bool kMovieTHP::SetRenderPos(bool, int, float, float, float, float) {
    return true;
}

RcPtr<krTextureResourceWII> kMovieTHP::GetTexture() {
    return m_tex;
}

bool kMovieTHP::Render() {
    m_frameIdx = static_cast<int>(THPPlayerDrawCurrentFrame(
        s_curMode, static_cast<unsigned long>(m_x), static_cast<unsigned long>(m_y),
        m_videoInfo.xSize, m_videoInfo.ySize));
    THPPlayerDrawDone();
    g_resetWiiVertexDesc = true;
    // The frame's planes took texture maps 0 to 2: the render layer loads its own again.
    for (int stage = 0; stage < 3; ++stage) {
        kRender::SetTextureResource(stage, RcPtr<krTextureResourceWII>());
    }
    if (THPPlayerGetState() == THP_STATE_ERROR) {
        // The movie ends here: closed, and no longer playing for whoever waits on it.
        THPPlayerStop();
        THPPlayerClose();
        m_bOpen = false;
        kLogFmt("THP: Error happen\n");
    }
    return true;
}

kMovie* kMovieManager::CreateMovie(const char* fileName, int, int, int) {
    kMovieTHP* movie = new kMovieTHP();
    kLogFmt("Created THP movie, loading %s\n", fileName);
    if (movie->Load(fileName)) {
        return movie;
    }
    delete movie;
    return nullptr;
}

} // namespace Kelvo_lib
