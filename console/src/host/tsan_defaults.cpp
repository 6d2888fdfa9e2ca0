// The thread sanitizer's default options for every program of its build: the suppressions
// file of the races inside the system's libraries. TSAN_OPTIONS adds to them.
extern "C" const char* __tsan_default_options() {
    return "suppressions=" PUZZLES_TSAN_SUPPRESSIONS;
}
