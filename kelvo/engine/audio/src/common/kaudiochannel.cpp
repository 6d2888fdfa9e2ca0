// kAudioChannel's own operations: kAudio's channel operations on a copy of the handle.
#include <kelvo/audio/kaudio.h>

namespace Kelvo_lib {

void kAudioChannel::Stop() const {
    kAudio::ChannelStop(*this);
}

void kAudioChannel::Resume() const {
    kAudio::ChannelResume(*this);
}

void kAudioChannel::SetVolume(float volume) const {
    kAudio::ChannelSetVolume(*this, volume);
}

} // namespace Kelvo_lib
