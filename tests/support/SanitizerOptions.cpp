// The sanitizers' options for every program of a sanitized build
// (HARMONET_SANITIZE; see cmake/Sanitizers.cmake), the tests and the programs
// they start: every report fails the program, and so its test, and reports
// that lie wholly inside third-party libraries are suppressed by the files in
// tests/sanitizers/.
// The environment (TSAN_OPTIONS, ASAN_OPTIONS, ...) still overrides them.

#if defined(__SANITIZE_THREAD__)
extern "C" const char* __tsan_default_options()
{
    // Qt and the other libraries are not built with the sanitizer: what they
    // read and write through its interceptors (allocations, copies) is not
    // checked, for it cannot see how they hand memory between their threads
    // (Qt's locks are futexes of its own). Our own code is checked whole.
    return "halt_on_error=1:second_deadlock_stack=1:ignore_noninstrumented_modules=1:"
           "suppressions=" HARMONET_SANITIZER_SUPPRESSIONS "/thread.supp";
}
#endif

#if defined(__SANITIZE_ADDRESS__)
extern "C" const char* __asan_default_options()
{
    return "detect_leaks=1:detect_stack_use_after_return=1:strict_string_checks=1:"
           "suppressions=" HARMONET_SANITIZER_SUPPRESSIONS "/address.supp";
}

extern "C" const char* __lsan_default_options()
{
    return "suppressions=" HARMONET_SANITIZER_SUPPRESSIONS "/leak.supp";
}

extern "C" const char* __ubsan_default_options()
{
    return "print_stacktrace=1:halt_on_error=1";
}
#endif
