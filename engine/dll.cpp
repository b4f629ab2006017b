// The shared library's only translation unit of its own: the exported entry point. Nothing
// escapes it: any failure that reaches this far becomes KOLMAR_STATUS_INTERNAL.
#include "entry.h"
#include "kolmar/ikolmar.h"

extern "C" KOLMAR_EXPORT int IKOLMAR(int call_code) {
    try {
        return kolmar::engine::RunEntry(call_code);
    } catch (...) {
        return KOLMAR_STATUS_INTERNAL;
    }
}
