// The time base: the host's monotonic clock, or the headless host's virtual clock, which
// the retrace moves on by one field.
#include <console/host.h>
#include <console/os.h>

#include <atomic>
#include <time.h>

namespace {

std::atomic<s64> s_virtualClock{0};

s64 MonotonicNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<s64>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

// Taken on first use, which may come before dynamic initialisers run.
s64 StartNanoseconds() {
    static const s64 start = MonotonicNanoseconds();
    return start;
}

} // namespace

s64 HostVirtualClock() {
    return s_virtualClock.load(std::memory_order_relaxed);
}

void HostAdvanceClock(s64 ticks) {
    s_virtualClock.fetch_add(ticks, std::memory_order_relaxed);
}

u32 OSGetBusClock() {
    return OS_BUS_CLOCK;
}

OSTime OSGetTime() {
    if (HostUsesVirtualClock()) {
        return HostVirtualClock();
    }
    const s64 elapsed = MonotonicNanoseconds() - StartNanoseconds();
    const s64 seconds = elapsed / 1000000000;
    const s64 remainder = elapsed % 1000000000;
    return seconds * OS_TIMER_CLOCK + remainder * OS_TIMER_CLOCK / 1000000000;
}
