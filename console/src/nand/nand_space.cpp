// Space on the flash memory: what the title's home directory uses (counted from the host
// files each time, so files changed behind the program's back count too), the title's
// limits and the free space of the rest of the flash memory.
#include "nand/nand_state.h"

#include <console/os.h>

#include <cstdio>
#include <dirent.h>
#include <sys/stat.h>

namespace nand {
namespace {

constexpr NANDCapacity kDefaultCapacity{1024, 64, 2048, 1024};
// Directories nested deeper than this are not counted.
constexpr int kMaxDepth = 8;

struct Usage {
    u64 blocks;
    u64 inodes;
};

void AddUsage(const char* directory, int depth, Usage* usage) {
    DIR* dir = depth < kMaxDepth ? opendir(directory) : nullptr;
    if (dir == nullptr) {
        return;
    }
    while (const dirent* entry = readdir(dir)) {
        char path[kHostPathMax];
        struct stat info;
        const int written = std::snprintf(path, sizeof(path), "%s/%s", directory, entry->d_name);
        if (entry->d_name[0] == '.' || written <= 0 ||
            static_cast<size_t>(written) >= sizeof(path) || lstat(path, &info) != 0) {
            continue;
        }
        ++usage->inodes;
        if (S_ISDIR(info.st_mode)) {
            AddUsage(path, depth + 1, usage);
        } else {
            usage->blocks += BlocksOf(static_cast<u64>(info.st_size));
        }
    }
    closedir(dir);
}

Usage HomeUsage() {
    Usage usage{0, 0};
    char home[kHostPathMax];
    std::snprintf(home, sizeof(home), "%s%s", TheState().root, kHomeDir);
    AddUsage(home, 0, &usage);
    return usage;
}

const NANDCapacity& Capacity() {
    return TheState().bCapacitySet ? TheState().capacity : kDefaultCapacity;
}

bool IsAnswerKind(FaultKind kind, u32* answer) {
    switch (kind) {
    case FaultKind::SystemBlocks:
        *answer = NAND_CHECK_SYSTEM_BLOCKS;
        return true;
    case FaultKind::SystemInodes:
        *answer = NAND_CHECK_SYSTEM_INODES;
        return true;
    case FaultKind::HomeBlocks:
        *answer = NAND_CHECK_HOME_BLOCKS;
        return true;
    case FaultKind::HomeInodes:
        *answer = NAND_CHECK_HOME_INODES;
        return true;
    default:
        return false;
    }
}

} // namespace

u32 BlocksOf(u64 size) {
    return static_cast<u32>((size + NAND_FS_BLOCK_SIZE - 1) / NAND_FS_BLOCK_SIZE);
}

s32 CheckFileSize(const char* hostPath, u64 newSize) {
    struct stat info;
    const u64 oldSize = stat(hostPath, &info) == 0 ? static_cast<u64>(info.st_size) : 0;
    const s64 growth = static_cast<s64>(BlocksOf(newSize)) - BlocksOf(oldSize);
    if (growth <= 0) {
        return NAND_RESULT_OK;
    }
    const NANDCapacity& capacity = Capacity();
    const bool fits = HomeUsage().blocks + static_cast<u64>(growth) <= capacity.homeBlocks &&
                      static_cast<u64>(growth) <= capacity.freeBlocks;
    return fits ? NAND_RESULT_OK : NAND_RESULT_MAXBLOCKS;
}

s32 CheckNewInode() {
    const NANDCapacity& capacity = Capacity();
    const bool fits = HomeUsage().inodes + 1 <= capacity.homeInodes && capacity.freeInodes >= 1;
    return fits ? NAND_RESULT_OK : NAND_RESULT_MAXFILES;
}

} // namespace nand

s32 NANDCheck(u32 fsBlocks, u32 inodes, u32* answer) {
    const nand::Fault fault = nand::TakeFault(FaultTarget::NandCheck);
    if (answer == nullptr) {
        return NAND_RESULT_INVALID;
    }
    *answer = 0;
    if (fault.hit) {
        return nand::IsAnswerKind(fault.kind, answer) ? NAND_RESULT_OK : nand::ResultOf(fault.kind);
    }
    if (!nand::ReadyRoot()) {
        return NAND_RESULT_FATAL_ERROR;
    }
    const nand::Usage usage = nand::HomeUsage();
    const NANDCapacity& capacity = nand::Capacity();
    *answer |= usage.blocks + fsBlocks > capacity.homeBlocks ? NAND_CHECK_HOME_BLOCKS : 0;
    *answer |= usage.inodes + inodes > capacity.homeInodes ? NAND_CHECK_HOME_INODES : 0;
    *answer |= fsBlocks > capacity.freeBlocks ? NAND_CHECK_SYSTEM_BLOCKS : 0;
    *answer |= inodes > capacity.freeInodes ? NAND_CHECK_SYSTEM_INODES : 0;
    return NAND_RESULT_OK;
}

NANDCapacity NANDDefaultCapacity() {
    return nand::kDefaultCapacity;
}

void NANDSetCapacityForTest(const NANDCapacity& capacity) {
    nand::TheState().capacity = capacity;
    nand::TheState().bCapacitySet = true;
}
