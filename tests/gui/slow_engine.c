/* A stand-in for the engine whose IKOLMAR returns 0 only once the file "release.flag" appears
   in the working directory (at most about 30 s), so that a test can act while a run is in
   progress. */
#define _POSIX_C_SOURCE 200809L
#include <time.h>
#include <unistd.h>

__attribute__((visibility("default"))) int IKOLMAR(int call_code) {
    struct timespec pause = {0, 10000000};
    int i;
    (void)call_code;
    for (i = 0; i < 3000; ++i) {
        if (access("release.flag", F_OK) == 0)
            return 0;
        nanosleep(&pause, 0);
    }
    return 10;
}
