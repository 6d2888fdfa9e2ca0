// Linked into every fuzz target. libFuzzer's own tables and corpus (tens of MiB) come
// from the engine's global new, so the first arena is sized for them before the first
// allocation, which libFuzzer's coverage set-up makes from a constructor of priority 2.
// The log is silenced: loaders log every bad input, and the fuzzers feed nothing else.
#include <kelvo/platform/klog.h>

#include <console/os.h>

namespace {

constexpr u32 kFuzzMem1Size = 256u * 1024u * 1024u;

__attribute__((constructor(1))) void SizeArenasForFuzzing() {
    OSSetArenaSizes(kFuzzMem1Size, OS_MEM2_ARENA_SIZE);
}

void DiscardLogText(const char*) {}

const bool s_bLogSilenced = (kLogCHook(DiscardLogText), true);

} // namespace
