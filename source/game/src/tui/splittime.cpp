#include <tui/splittime.h>

#include <kelvo/platform/klog.h>

namespace Kelvo_lib {

void SplitTime(int seconds, int* sec, int* min, int* hours) {
    if (seconds < 0) {
        kLogFmt("SplitTime: negative time %d shown as 0\n", seconds);
        seconds = 0;
    }
    const int wholeMinutes = seconds / 60;
    if (sec != nullptr) {
        *sec = seconds - wholeMinutes * 60;
    }
    if (hours != nullptr) {
        *hours = wholeMinutes / 60;
    }
    if (min != nullptr) {
        *min = hours != nullptr ? wholeMinutes % 60 : wholeMinutes;
    }
}

} // namespace Kelvo_lib
