// Disc drive: the disc is a directory on the host.
#pragma once

#include <console/types.h>

void DVDInit();
