// datatool dump of a sound file (.dsp, .wav, .vag, .ads, .vb, .swav): format, rate, size
// and length as the engine reads them, and every field of a DSP ADPCM file's own header.
#pragma once

namespace datatool {

// dump FILE
int RunSoundFileDump(int argc, char** argv);

} // namespace datatool
