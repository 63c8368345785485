#pragma once

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace harmonet::fuzz {

// Ends the fuzz target with a report: what the program promises did not hold.
[[noreturn]] inline void invariantBroken(const char* what)
{
    std::fprintf(stderr, "%s: %s\n", program_invocation_short_name, what);
    std::abort();
}

} // namespace harmonet::fuzz
