#include <services/mnvolume.h>

#include <kelvo/platform/klog.h>

namespace Kelvo_lib {

int ClampVolume(int level, const char* what) {
    if (level >= 0 && level <= MN_MAX_VOLUME) {
        return level;
    }
    kLogFmt("%s volume %d is outside 0 to %d\n", what, level, MN_MAX_VOLUME);
    return level < 0 ? 0 : MN_MAX_VOLUME;
}

} // namespace Kelvo_lib
