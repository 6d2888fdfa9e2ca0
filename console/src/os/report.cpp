// Console output to stderr, and the panic that ends the program.
#include <console/os.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

void OSReport(const char* format, ...) {
    va_list args;
    va_start(args, format);
    vfprintf(stderr, format, args);
    va_end(args);
}

void OSPanic(const char* file, int line, const char* format, ...) {
    fprintf(stderr, " in \"%s\" on line %d.\n", file, line);
    va_list args;
    va_start(args, format);
    vfprintf(stderr, format, args);
    va_end(args);
    fflush(stderr);
    abort();
}
