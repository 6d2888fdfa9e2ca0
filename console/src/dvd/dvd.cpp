// Disc drive start-up.
#include <console/dvd.h>

void DVDInit() {}
