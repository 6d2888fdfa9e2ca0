// WIIDevice: the voice device behind kAudio, one channel per AX voice: a mono DSP ADPCM
// sample on one voice, or a 16-bit PCM stream on a left and a right voice looping over two
// ring buffers that Update refills by halves (the callback silences each half as the voices
// leave it, so a refill that comes late is heard as silence). Slot states run in the audio
// frame callback; the main thread requests transitions with interrupts disabled, except
// stops, which release the voices at once so that a sample may be deleted as soon as its
// channel is stopped. The device owns the stream buffers and frees them on the main thread
// once no voice reads them.
// Failures are logged under "WII" and answer -1 or false.
#pragma once

#include <kelvo/audio/kaudio.h>
#include <kelvo/audio/ksoundstream.h>
#include <kelvo/containers/karray.h>

#include <console/ax.h>

namespace Kelvo_lib {

class kAudioDeviceCommon {};
class kAudioDevice : public kAudioDeviceCommon {};

namespace kAudioWII_Private {

// Slot states. The main thread writes start, paused, pause and resume requests; the
// callback moves them on and frees the slot. K_VOICE_STOP marks the partner of a stream
// voice that ended or was dropped, for the next callback to release.
enum : unsigned int {
    K_VOICE_IDLE = 0,
    K_VOICE_START = 1,
    K_VOICE_STARTING = 2,
    K_VOICE_PLAYING = 3,
    K_VOICE_STOP = 4,
    K_VOICE_PAUSED = 5,
    K_VOICE_PAUSE = 6,
    K_VOICE_RESUME = 7,
};

// One voice slot, indexed by the AX voice's own index; free while voice is null.
struct VoiceInfo {
    AXVPB* voice;
    unsigned int state;
};

class WIIDevice : public kAudioDevice {
public:
    struct Channel {
        // The link to this channel's current voice(s): m_axVoiceL for a stream.
        bool HasVoice() const;
        // A voice that is neither idle nor stopping.
        bool IsBusy() const;
        bool Play(kSound* sound, unsigned int flag);
        bool Pause(bool pause);
        // Releases the channel's voices before returning, so nothing reads its sample any
        // more; a stream's buffers are retired. True when it had a voice.
        bool Stop();
        bool UpdateVolumePan();
        // The slot was released or AX dropped it: when it is a current link, the
        // channel ends (its partner stream voice is stopped too).
        void ForgetVoice(const VoiceInfo* slot);
        // Hands the stream buffers to the device for freeing once no voice reads them.
        void RetireStream();

        WIIDevice* device = nullptr;
        int ref = 0;
        unsigned int age = 0;
        bool m_bPaused = false;
        bool m_bPlaying = false;
        bool m_bStopped = true;
        int m_sndChannel = 0;
        VoiceInfo* m_axVoice = nullptr;
        float m_pan = 0.0f;
        float m_volume = 1.0f;
        unsigned int m_freq = 44000;
        unsigned int m_sampleFreq = 44000;
        bool m_bStream = false;
        unsigned int m_streamBufferSize = 0;
        unsigned char* m_leftBuffer = nullptr;
        unsigned char* m_rightBuffer = nullptr;
        unsigned int m_half_ptr = 0;
        unsigned int m_prev_ptr = 0;
        VoiceInfo* m_axVoiceL = nullptr;
        VoiceInfo* m_axVoiceR = nullptr;
        kSoundStream* m_stream = nullptr;
        bool m_bFillSilence = false;
        unsigned char m_silenceByte = 0;
        int m_bufferToBeFilled = -1;
        int m_playingHalf = 0; // the half the left voice played at the callback's last look
    };

    WIIDevice() = default;
    WIIDevice(const WIIDevice&) = delete;
    WIIDevice& operator=(const WIIDevice&) = delete;

    // Sets AX, MIX and AI up with one channel per voice; true.
    bool Init();
    // Stops every channel, quits AX and MIX and frees all the device's memory.
    void Deinit();
    void Update();

    kAudioChannel GetChannel(int index);
    kAudioChannel Play(kSound* buffer, kAudioChannel channel, unsigned int flag);
    kAudioChannel PlayStream(kSoundStream* stream, kAudioChannel channelToReuse, unsigned int flag);
    void ChannelStop(kAudioChannel channel);
    void ChannelResume(kAudioChannel channel);
    bool ChannelIsPlaying(kAudioChannel channel);
    void ChannelSetVolume(kAudioChannel channel, float volume);
    void ChannelSetPan(kAudioChannel channel, float pan);
    void ChannelSetFrequency(kAudioChannel channel, unsigned int hz);
    void Terminate();
    // Every playing sample channel to -55.0 dB.
    void FadeDownSamples();

    int ChannelCount() const { return m_channelList.Size(); }
    const Channel& ChannelAt(int index) const { return m_channelList(index); }

private:
    struct RetiredBuffers {
        unsigned char* left;
        unsigned char* right;
        unsigned int callbackRun; // the callback count when they were retired
    };

    Channel* Resolve(kAudioChannel handle, const char* operation);
    Channel* ClaimChannel(kAudioChannel handle, unsigned int flag);
    int FindChannelFor(unsigned int flag);
    kAudioChannel Started(Channel& channel);
    void Retire(unsigned char* left, unsigned char* right);
    void FreeRetiredBuffers(bool all);
    void ServeStreams();

    kArray<Channel> m_channelList;
    unsigned int m_age = 0;
    void* m_axBuffer = nullptr;
    void* m_mixBuffer = nullptr;
    kArray<RetiredBuffers> m_retired;
};

} // namespace kAudioWII_Private

} // namespace Kelvo_lib
