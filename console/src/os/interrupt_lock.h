// Holds the interrupt lock (OSDisableInterrupts) for the life of a scope.
#pragma once

#include <console/os.h>

class OSInterruptLock {
public:
    OSInterruptLock() : m_level(OSDisableInterrupts()) {}
    ~OSInterruptLock() { OSRestoreInterrupts(m_level); }
    OSInterruptLock(const OSInterruptLock&) = delete;
    OSInterruptLock& operator=(const OSInterruptLock&) = delete;

private:
    BOOL m_level;
};
