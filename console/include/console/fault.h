// Injected failures of the console's devices, for tests and scripted runs. A rule
// names a device operation, how it fails, which of those operations (counted from 1)
// meets the failure and how long it lasts: "<target>:<kind>@<when>[x<duration>]",
// several separated by commas (the README lists targets and kinds). Rules come from
// the --fault host option on a device's first operation, or from a test. Thread-safe;
// nothing here allocates. A bad rule is reported and refused.
#pragma once

#include <console/types.h>

enum class FaultTarget : u8 {
    DvdRead, // a disc read command; duration in status polls of that command
    // Flash-memory calls, synchronous or not; duration in calls of that kind.
    NandOpen,
    NandSafeOpen,
    NandRead,
    NandWrite,
    NandClose,
    NandSafeClose,
    NandCreate,
    NandDelete,
    NandCheck,
    NandStep, // a point between two changes of the flash memory
};

enum class FaultKind : u8 {
    Retry,
    Fatal,
    NoDisc,
    WrongDisc,
    // A flash-memory call's result code.
    Access,
    AllocFailed,
    Busy,
    Corrupt,
    EccCrit,
    Exists,
    Invalid,
    MaxBlocks,
    MaxFd,
    MaxFiles,
    NoExists,
    NotEmpty,
    OpenFd,
    Authentication,
    Unknown,
    Short, // a read or write transfers half its length
    // A space check's answer.
    HomeBlocks,
    HomeInodes,
    SystemBlocks,
    SystemInodes,
    PowerCut, // the process ends
};

struct FaultRule {
    FaultTarget target;
    FaultKind kind;
    u32 when;     // the target's operation that meets it, counted from 1
    u32 duration; // in the target's own unit, at least 1
};

constexpr u32 kFaultMaxRules = 16;

// Parses a rule list into rules[0..*count); false, after reporting why, on a bad
// rule or more than capacity rules.
bool FaultParse(const char* text, FaultRule* rules, u32 capacity, u32* count);

// Drops every rule (the option's too) and restarts the operation counts.
void FaultReset();
// Adds the rules of a rule list; false (nothing added) on a bad list or a full table.
bool FaultAddText(const char* text);
bool FaultAdd(const FaultRule& rule);

// Called by a device as an operation of the target starts: counts it and returns
// whether a rule hits it, copying the rule to *hit.
bool FaultBeginOperation(FaultTarget target, FaultRule* hit);
