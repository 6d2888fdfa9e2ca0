#include <services/mnsaveranges.h>

#include <cmath>

namespace Kelvo_lib {

float TimeInRange(float seconds) {
    if (!std::isfinite(seconds) || seconds < 0.0f) {
        return 0.0f;
    }
    return seconds > MN_LONGEST_SECONDS ? MN_LONGEST_SECONDS : seconds;
}

} // namespace Kelvo_lib
