// Assertions, panics and the stack trace they print, on the console's report output.
#include <kelvo/platform/kdebug.h>

#include <kelvo/platform/kplatform.h>

#include <console/os.h>

#include <cstdint>
#include <unwind.h>

namespace {

constexpr int kReportSize = 4097;
constexpr int kMaxFrames = 16;
// Long texts are cut so that the frame lines always fit behind them.
constexpr int kMaxExpressionLength = 2048;
constexpr int kMaxNameLength = 512;
constexpr int kFixedTextLength = 64; // labels, line number and newlines of the first part
constexpr int kFramesHeaderLength = 32;
constexpr int kFrameLineLength = 58; // "0x" + 16 digits, ": 0x" + 16, " 0x" + 16, "\n"
static_assert(kMaxExpressionLength + 2 * kMaxNameLength + kFixedTextLength + kFramesHeaderLength +
                      kMaxFrames * kFrameLineLength <
                  kReportSize,
              "the assertion report must fit its buffer");

// Holds the whole report while it is built; static so that the report allocates nothing.
char _assertTemp[kReportSize];

// The report as it grows in _assertTemp; appending past the end cuts, never overflows.
class Report {
public:
    template <typename... Args>
    void Append(const char* format, Args... args) {
        m_length +=
            kPlatform_snprintf(_assertTemp + m_length, kReportSize - m_length, format, args...);
    }

private:
    int m_length = 0;
};

struct StackFrame {
    std::uintptr_t address;
    std::uintptr_t returnAddress;
};

// One more frame than is printed, so the last printed frame knows its caller's address.
struct FrameWalk {
    StackFrame frames[kMaxFrames + 1];
    int count = 0;
};

bool IsChainEnd(std::uintptr_t address) {
    return address == 0 || address == ~std::uintptr_t{0};
}

_Unwind_Reason_Code CollectFrame(_Unwind_Context* context, void* argument) {
    auto* walk = static_cast<FrameWalk*>(argument);
    const std::uintptr_t address = _Unwind_GetCFA(context);
    const std::uintptr_t returnAddress = _Unwind_GetIP(context);
    // The outermost frame has no return address: the chain ends there.
    if (IsChainEnd(address) || returnAddress == 0 || walk->count == kMaxFrames + 1) {
        return _URC_END_OF_STACK;
    }
    walk->frames[walk->count++] = {address, returnAddress};
    return _URC_NO_REASON;
}

// The host has no back-chain word in its frames: the unwinder gives each frame's address
// (its canonical frame address) and return address from the unwind tables, without
// allocating, so a frame line shows the frame, its caller's frame and the return address.
void AppendStackFrames(Report& report) {
    FrameWalk walk;
    _Unwind_Backtrace(CollectFrame, &walk);
    for (int i = 0; i < walk.count && i < kMaxFrames; ++i) {
        const std::uintptr_t backChain = i + 1 < walk.count ? walk.frames[i + 1].address : 0;
        report.Append("0x%016llx: 0x%016llx 0x%016llx\n",
                      static_cast<unsigned long long>(walk.frames[i].address),
                      static_cast<unsigned long long>(backChain),
                      static_cast<unsigned long long>(walk.frames[i].returnAddress));
    }
}

const char* OrNull(const char* text) {
    return text != nullptr ? text : "NULL";
}

} // namespace

void kPlatform_DebugStreamPrint(const char* text) {
    if (text != nullptr) {
        OSReport("%s", text);
    }
}

void kPlatform_FailAssert(const char* function, const char* file, int line, const char* exp) {
    OSReport("%s", "Assert\n");
    Report report;
    report.Append("Assertion : %.*s\nFile      : %.*s\nLine      : %d\nFunction  : %.*s\n",
                  kMaxExpressionLength, OrNull(exp), kMaxNameLength, OrNull(file), line,
                  kMaxNameLength, OrNull(function));
    OSReport("%s", _assertTemp);
    report.Append("%s", "\nAddress:    Back Chain LR Save\n");
    AppendStackFrames(report);
    OSPanic(__FILE__, 60, "%s", _assertTemp);
}
