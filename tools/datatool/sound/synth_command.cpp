// datatool synth DESCRIPTION.txt OUTDIR: every effect of the description as OUTDIR/NAME.dsp
// (mono DSP ADPCM) and every cue as OUTDIR/NAME.ogg (stereo Ogg Vorbis), all at 32 kHz.
#include "commands.h"
#include "host_files.h"
#include "sound/dsp_file.h"
#include "sound/ogg_vorbis_writer.h"
#include "sound/sound_synth.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace datatool {
namespace {

constexpr unsigned int kRate = 32000;
constexpr float kMusicQuality = 0.3f;

bool WriteSound(const std::filesystem::path& path, const std::vector<unsigned char>& file,
                double seconds) {
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    if (file.empty() || !WriteHostFile(path.string(), file)) {
        std::fprintf(stderr, "datatool: could not make '%s'\n", path.c_str());
        return false;
    }
    std::printf("%s: %.2f s, %zu bytes\n", path.c_str(), seconds, file.size());
    return true;
}

} // namespace

int RunSynthCommand(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: datatool synth DESCRIPTION.txt OUTDIR\n");
        return 2;
    }
    std::vector<unsigned char> bytes;
    if (!ReadHostFile(argv[0], &bytes)) {
        return 1;
    }
    SoundDescription description;
    std::string error;
    if (!ParseSoundDescription(std::string(bytes.begin(), bytes.end()), &description, &error)) {
        std::fprintf(stderr, "datatool: %s: %s\n", argv[0], error.c_str());
        return 1;
    }
    const std::filesystem::path out(argv[1]);
    for (const SynthEffect& effect : description.effects) {
        const SynthSamples samples = RenderEffect(effect, kRate);
        if (!WriteSound(out / (effect.name + ".dsp"), EncodeDspFile(samples, kRate, false),
                        static_cast<double>(samples.size()) / kRate)) {
            return 1;
        }
    }
    for (const SynthCue& cue : description.cues) {
        const std::vector<unsigned char> file =
            EncodeOggVorbis(RenderCue(cue, kRate), 2, kRate, kMusicQuality);
        if (!WriteSound(out / (cue.name + ".ogg"), file, cue.Seconds())) {
            return 1;
        }
    }
    return 0;
}

} // namespace datatool
