// The debug print and the assertion report that every engine assertion ends in.
// The report allocates nothing and logs nothing through the log manager, so it
// works when memory is exhausted; it always stops the program.
#pragma once

void kPlatform_DebugStreamPrint(const char* text);
[[noreturn]] void kPlatform_FailAssert(const char* function, const char* file, int line,
                                       const char* exp);

// kAssert(expr) reports the expression text; kAssertMsg(expr, "sentence") reports
// the sentence, as the engine's templates do.
#define kAssert(expr)                                                                              \
    ((expr) ? (void)0 : kPlatform_FailAssert(__FUNCTION__, __FILE__, __LINE__, #expr))
#define kAssertMsg(expr, message)                                                                  \
    ((expr) ? (void)0 : kPlatform_FailAssert(__FUNCTION__, __FILE__, __LINE__, message))
