// Parses arbitrary text as a sound description and renders every effect it accepts, at a
// low rate, so that any read outside the text or the sample buffers shows under the
// sanitizers. Cues are only parsed: a valid one may ask for hours of music.
#include <sound/sound_synth.h>

#include <cstdint>
#include <string>

namespace {

constexpr unsigned int kRate = 4000;

// Keeps the rendering from being optimised away.
volatile std::size_t s_samples = 0;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    datatool::SoundDescription description;
    std::string error;
    if (!datatool::ParseSoundDescription(std::string(data, data + size), &description, &error)) {
        return 0;
    }
    std::size_t total = 0;
    for (const datatool::SynthEffect& effect : description.effects) {
        total += datatool::RenderEffect(effect, kRate).size();
    }
    for (const datatool::SynthCue& cue : description.cues) {
        total += datatool::ArrangeCue(cue).size() > 0 ? 1 : 0;
    }
    s_samples = total;
    return 0;
}
