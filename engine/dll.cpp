// The shared library's only translation unit of its own: it pulls the entry point out of the
// engine core so that IKOLMAR is the one exported symbol.
#include "kolmar/ikolmar.h"

namespace kolmar::engine {
int RunEntry(int call_code);
}

extern "C" KOLMAR_EXPORT int IKOLMAR(int call_code) { return kolmar::engine::RunEntry(call_code); }
