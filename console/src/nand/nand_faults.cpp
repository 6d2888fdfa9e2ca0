// Injected flash-memory failures: a rule that meets a call keeps failing the calls of
// its target for its duration; a power cut ends the process at once, as pulling the
// plug would, leaving the host files as they are at that step.
#include "nand/nand_state.h"

#include <console/os.h>

#include <unistd.h>

namespace nand {
namespace {

constexpr u32 kFirstTarget = static_cast<u32>(FaultTarget::NandOpen);
constexpr u32 kTargetCount = static_cast<u32>(FaultTarget::NandCheck) - kFirstTarget + 1;

struct ActiveFault {
    FaultKind kind;
    u32 callsLeft;
};

constinit ActiveFault s_active[kTargetCount] = {};

struct KindResult {
    FaultKind kind;
    s32 result;
};
constexpr KindResult kResults[] = {
    {FaultKind::Access, NAND_RESULT_ACCESS},
    {FaultKind::AllocFailed, NAND_RESULT_ALLOC_FAILED},
    {FaultKind::Busy, NAND_RESULT_BUSY},
    {FaultKind::Corrupt, NAND_RESULT_CORRUPT},
    {FaultKind::EccCrit, NAND_RESULT_ECC_CRIT},
    {FaultKind::Exists, NAND_RESULT_EXISTS},
    {FaultKind::Invalid, NAND_RESULT_INVALID},
    {FaultKind::MaxBlocks, NAND_RESULT_MAXBLOCKS},
    {FaultKind::MaxFd, NAND_RESULT_MAXFD},
    {FaultKind::MaxFiles, NAND_RESULT_MAXFILES},
    {FaultKind::NoExists, NAND_RESULT_NOEXISTS},
    {FaultKind::NotEmpty, NAND_RESULT_NOTEMPTY},
    {FaultKind::OpenFd, NAND_RESULT_OPENFD},
    {FaultKind::Authentication, NAND_RESULT_AUTHENTICATION},
    {FaultKind::Unknown, NAND_RESULT_UNKNOWN},
    {FaultKind::Fatal, NAND_RESULT_FATAL_ERROR},
};

} // namespace

Fault TakeFault(FaultTarget target) {
    ActiveFault& active = s_active[static_cast<u32>(target) - kFirstTarget];
    FaultRule rule;
    if (FaultBeginOperation(target, &rule)) {
        active = ActiveFault{rule.kind, rule.duration};
    }
    if (active.callsLeft == 0) {
        return Fault{false, FaultKind::Fatal};
    }
    --active.callsLeft;
    return Fault{true, active.kind};
}

s32 ResultOf(FaultKind kind) {
    for (const KindResult& row : kResults) {
        if (row.kind == kind) {
            return row.result;
        }
    }
    return NAND_RESULT_UNKNOWN;
}

void ClearFaults() {
    for (ActiveFault& active : s_active) {
        active = ActiveFault{};
    }
}

void PowerStep(const char* step, const char* path) {
    FaultRule rule;
    if (FaultBeginOperation(FaultTarget::NandStep, &rule)) {
        OSReport("NAND: power cut %s %s\n", step, path);
        _exit(NAND_POWER_CUT_EXIT_CODE);
    }
}

} // namespace nand
