// System configuration values with fixed defaults.
#include <console/sc.h>

namespace {

u8 s_language = SC_LANG_ENGLISH;
u8 s_soundMode = SC_SOUND_MODE_STEREO;
u8 s_aspectRatio = SC_ASPECT_RATIO_4x3;

} // namespace

u8 SCGetLanguage() {
    return s_language;
}
u8 SCGetSoundMode() {
    return s_soundMode;
}
u8 SCGetAspectRatio() {
    return s_aspectRatio;
}
void SCSetLanguageForTest(u8 language) {
    s_language = language;
}
void SCSetSoundModeForTest(u8 mode) {
    s_soundMode = mode;
}
void SCSetAspectRatioForTest(u8 ratio) {
    s_aspectRatio = ratio;
}
