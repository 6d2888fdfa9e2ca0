// The disc's files: a directory on the host whose paths are matched case-insensitively,
// component by component (an exact match wins, else the first name in byte order).
// Each file found gets an entry number for the life of the disc root; a change of the
// --disc option (tests change it) starts a new table. Thread-safe; fixed storage.
#pragma once

#include <console/host.h>
#include <console/types.h>

#include <cstddef>

constexpr size_t kDiscMaxHostPath = kHostPathCapacity;

// The entry number of a regular file at the disc path, or -1.
s32 DiscLookUp(const char* discPath);
// Copies the entry's host path; false for an unknown entry.
bool DiscHostPath(s32 entry, char* out, size_t capacity);
// Says, once for each entry of the disc root, that the host cannot read the entry's file and
// why (an errno value).
void DiscReportUnreadable(s32 entry, int error);
