// The end of a window program whose exception escaped: what the standard
// library's default does, without its message. That handler writes the
// exception's type name to standard error, which a window program does not
// have, and takes the C++ demangler and the C library's formatted printing
// with it (about 80 KB of a program under 1 MiB). Linked into the programs
// as an object of their own, so that the library's is never pulled in; the
// test programs keep the library's, whose message they can show.
#include <cstdlib>
#include <exception>

namespace __gnu_cxx {

void __verbose_terminate_handler() { std::abort(); }

}  // namespace __gnu_cxx
