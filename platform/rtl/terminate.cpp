// Linked into every program we ship in place of libstdc++'s verbose terminate
// handler. That one writes the uncaught exception's demangled type to stderr,
// which a windowed program or a service does not have, and it pulls the whole
// demangler (some 50 KB) into each program. Every Win32 boundary catches and
// reports, so reaching terminate is a fault: end at once, as abort() does.
#include <cstdlib>

namespace __gnu_cxx {
void __verbose_terminate_handler()
{
    std::abort();
}
}  // namespace __gnu_cxx
