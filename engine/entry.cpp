// Engine entry and run control.
#include "kolmar/ikolmar.h"

namespace kolmar::engine {
int RunEntry(int call_code) {
    if (call_code != KOLMAR_CALL_CODE)
        return KOLMAR_STATUS_WRONG_CODE;
    return KOLMAR_STATUS_OK;
}
} // namespace kolmar::engine
