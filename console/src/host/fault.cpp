// The rule table of injected device failures and the parser of its rule lists.
// Targets and kinds are rows of two tables, so a new device adds rows, not syntax.
#include <console/fault.h>
#include <console/host.h>
#include <console/os.h>

#include <cstring>
#include <mutex>

namespace {

constexpr u32 KindBit(FaultKind kind) {
    return 1u << static_cast<u32>(kind);
}
static_assert(static_cast<u32>(FaultKind::PowerCut) < 32, "a target's kinds are one 32-bit word");

struct TargetRow {
    const char* name;
    FaultTarget target;
    u32 kinds; // KindBit of every kind the target accepts
};
// Every flash-memory result code, "fatal" among them.
constexpr u32 kNandResultKinds =
    KindBit(FaultKind::Access) | KindBit(FaultKind::AllocFailed) | KindBit(FaultKind::Busy) |
    KindBit(FaultKind::Corrupt) | KindBit(FaultKind::EccCrit) | KindBit(FaultKind::Exists) |
    KindBit(FaultKind::Invalid) | KindBit(FaultKind::MaxBlocks) | KindBit(FaultKind::MaxFd) |
    KindBit(FaultKind::MaxFiles) | KindBit(FaultKind::NoExists) | KindBit(FaultKind::NotEmpty) |
    KindBit(FaultKind::OpenFd) | KindBit(FaultKind::Authentication) | KindBit(FaultKind::Unknown) |
    KindBit(FaultKind::Fatal);
constexpr u32 kNandAnswerKinds = KindBit(FaultKind::HomeBlocks) | KindBit(FaultKind::HomeInodes) |
                                 KindBit(FaultKind::SystemBlocks) |
                                 KindBit(FaultKind::SystemInodes);

constexpr TargetRow kTargets[] = {
    {"dvd-read", FaultTarget::DvdRead,
     KindBit(FaultKind::Retry) | KindBit(FaultKind::Fatal) | KindBit(FaultKind::NoDisc) |
         KindBit(FaultKind::WrongDisc)},
    {"nand-open", FaultTarget::NandOpen, kNandResultKinds},
    {"nand-safe-open", FaultTarget::NandSafeOpen, kNandResultKinds},
    {"nand-read", FaultTarget::NandRead, kNandResultKinds | KindBit(FaultKind::Short)},
    {"nand-write", FaultTarget::NandWrite, kNandResultKinds | KindBit(FaultKind::Short)},
    {"nand-close", FaultTarget::NandClose, kNandResultKinds},
    {"nand-safe-close", FaultTarget::NandSafeClose, kNandResultKinds},
    {"nand-create", FaultTarget::NandCreate, kNandResultKinds},
    {"nand-delete", FaultTarget::NandDelete, kNandResultKinds},
    {"nand-check", FaultTarget::NandCheck, kNandResultKinds | kNandAnswerKinds},
    {"nand-step", FaultTarget::NandStep, KindBit(FaultKind::PowerCut)},
};
constexpr u32 kTargetCount = sizeof(kTargets) / sizeof(kTargets[0]);

struct KindRow {
    const char* name;
    FaultKind kind;
};
constexpr KindRow kKinds[] = {
    {"retry", FaultKind::Retry},
    {"fatal", FaultKind::Fatal},
    {"no-disc", FaultKind::NoDisc},
    {"wrong-disc", FaultKind::WrongDisc},
    {"access", FaultKind::Access},
    {"alloc-failed", FaultKind::AllocFailed},
    {"busy", FaultKind::Busy},
    {"corrupt", FaultKind::Corrupt},
    {"ecc-crit", FaultKind::EccCrit},
    {"exists", FaultKind::Exists},
    {"invalid", FaultKind::Invalid},
    {"maxblocks", FaultKind::MaxBlocks},
    {"maxfd", FaultKind::MaxFd},
    {"maxfiles", FaultKind::MaxFiles},
    {"noexists", FaultKind::NoExists},
    {"notempty", FaultKind::NotEmpty},
    {"openfd", FaultKind::OpenFd},
    {"authentication", FaultKind::Authentication},
    {"unknown", FaultKind::Unknown},
    {"short", FaultKind::Short},
    {"home-blocks", FaultKind::HomeBlocks},
    {"home-inodes", FaultKind::HomeInodes},
    {"system-blocks", FaultKind::SystemBlocks},
    {"system-inodes", FaultKind::SystemInodes},
    {"power-cut", FaultKind::PowerCut},
};

// Reads the text up to one of the stop characters (or the end) as a word.
struct Cursor {
    const char* at;

    bool Word(const char* stops, char* out, size_t capacity) {
        const size_t length = std::strcspn(at, stops);
        if (length == 0 || length >= capacity) {
            return false;
        }
        std::memcpy(out, at, length);
        out[length] = '\0';
        at += length;
        return true;
    }

    bool Take(char expected) {
        if (*at != expected) {
            return false;
        }
        ++at;
        return true;
    }

    // A whole number of at most nine digits.
    bool Count(u32* value) {
        u32 result = 0;
        int digits = 0;
        for (; *at >= '0' && *at <= '9'; ++at, ++digits) {
            if (digits == 9) {
                return false;
            }
            result = result * 10 + static_cast<u32>(*at - '0');
        }
        *value = result;
        return digits > 0;
    }
};

const TargetRow* FindTarget(const char* name) {
    for (const TargetRow& row : kTargets) {
        if (std::strcmp(row.name, name) == 0) {
            return &row;
        }
    }
    return nullptr;
}

const KindRow* FindKind(const char* name) {
    for (const KindRow& row : kKinds) {
        if (std::strcmp(row.name, name) == 0) {
            return &row;
        }
    }
    return nullptr;
}

bool ReportBadRule(const char* start) {
    OSReport("--fault: '%.*s' is not <target>:<kind>@<when>[x<duration>]\n",
             static_cast<int>(std::strcspn(start, ",")), start);
    return false;
}

// Parses the rule at the cursor, up to a comma or the end; reports what is wrong.
bool ParseRule(Cursor* cursor, FaultRule* rule) {
    const char* start = cursor->at;
    char targetName[32];
    char kindName[32];
    if (!cursor->Word(":,", targetName, sizeof(targetName)) || !cursor->Take(':') ||
        !cursor->Word("@,", kindName, sizeof(kindName)) || !cursor->Take('@')) {
        return ReportBadRule(start);
    }
    const TargetRow* target = FindTarget(targetName);
    const KindRow* kind = FindKind(kindName);
    if (target == nullptr) {
        OSReport("--fault: unknown target '%s'\n", targetName);
        return false;
    }
    if (kind == nullptr || (target->kinds & KindBit(kind->kind)) == 0) {
        OSReport("--fault: %s cannot fail with '%s'\n", targetName, kindName);
        return false;
    }
    rule->target = target->target;
    rule->kind = kind->kind;
    rule->duration = 1;
    if (!cursor->Count(&rule->when) || (cursor->Take('x') && !cursor->Count(&rule->duration)) ||
        (*cursor->at != ',' && *cursor->at != '\0')) {
        return ReportBadRule(start);
    }
    if (rule->when == 0 || rule->duration == 0) {
        OSReport("--fault: in '%.*s', <when> and <duration> count from 1, not 0\n",
                 static_cast<int>(cursor->at - start), start);
        return false;
    }
    return true;
}

struct FaultTable {
    std::mutex lock;
    FaultRule rules[kFaultMaxRules];
    bool used[kFaultMaxRules];
    u32 count = 0;
    u32 operations[kTargetCount] = {};
    bool optionRead = false;
};

// Never destroyed, so a device thread may still ask at exit.
FaultTable& Table() {
    alignas(FaultTable) static unsigned char storage[sizeof(FaultTable)];
    static FaultTable* table = new (storage) FaultTable();
    return *table;
}

bool AddLocked(FaultTable& table, const FaultRule* rules, u32 count) {
    if (table.count + count > kFaultMaxRules) {
        OSReport("--fault: at most %u rules\n", kFaultMaxRules);
        return false;
    }
    for (u32 i = 0; i < count; ++i) {
        table.used[table.count] = false;
        table.rules[table.count++] = rules[i];
    }
    return true;
}

void ReadOptionLocked(FaultTable& table) {
    if (table.optionRead) {
        return;
    }
    table.optionRead = true;
    FaultRule rules[kFaultMaxRules];
    u32 count = 0;
    if (FaultParse(HostGetOptions().faults, rules, kFaultMaxRules, &count)) {
        AddLocked(table, rules, count);
    }
}

} // namespace

bool FaultParse(const char* text, FaultRule* rules, u32 capacity, u32* count) {
    *count = 0;
    if (text == nullptr || text[0] == '\0') {
        return true;
    }
    Cursor cursor{text};
    do {
        FaultRule rule{};
        if (!ParseRule(&cursor, &rule)) {
            return false;
        }
        if (*count == capacity) {
            OSReport("--fault: at most %u rules\n", capacity);
            return false;
        }
        rules[(*count)++] = rule;
    } while (cursor.Take(','));
    return true;
}

void FaultReset() {
    FaultTable& table = Table();
    std::lock_guard<std::mutex> guard(table.lock);
    table.count = 0;
    std::memset(table.operations, 0, sizeof(table.operations));
    table.optionRead = true;
}

bool FaultAddText(const char* text) {
    FaultRule rules[kFaultMaxRules];
    u32 count = 0;
    if (!FaultParse(text, rules, kFaultMaxRules, &count)) {
        return false;
    }
    FaultTable& table = Table();
    std::lock_guard<std::mutex> guard(table.lock);
    return AddLocked(table, rules, count);
}

bool FaultAdd(const FaultRule& rule) {
    if (rule.when == 0 || rule.duration == 0) {
        OSReport("FaultAdd: when and duration count from 1\n");
        return false;
    }
    FaultTable& table = Table();
    std::lock_guard<std::mutex> guard(table.lock);
    return AddLocked(table, &rule, 1);
}

bool FaultBeginOperation(FaultTarget target, FaultRule* hit) {
    FaultTable& table = Table();
    std::lock_guard<std::mutex> guard(table.lock);
    ReadOptionLocked(table);
    const u32 ordinal = ++table.operations[static_cast<u32>(target)];
    for (u32 i = 0; i < table.count; ++i) {
        if (!table.used[i] && table.rules[i].target == target && table.rules[i].when == ordinal) {
            table.used[i] = true;
            *hit = table.rules[i];
            return true;
        }
    }
    return false;
}
