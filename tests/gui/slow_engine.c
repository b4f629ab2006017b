/* A stand-in for the engine whose entries return 0 only once the file "release.flag" appears
   (at most about 30 s), so that a test can act while a run is in progress: IKOLMAR looks for it
   in the working directory, kolmar_run in the output folder. */
#define _POSIX_C_SOURCE 200809L
#include <stdio.h>
#include <time.h>
#include <unistd.h>

static int WaitFor(const char* flag) {
    struct timespec pause = {0, 10000000};
    int i;
    for (i = 0; i < 3000; ++i) {
        if (access(flag, F_OK) == 0)
            return 0;
        nanosleep(&pause, 0);
    }
    return 10;
}

__attribute__((visibility("default"))) int IKOLMAR(int call_code) {
    (void)call_code;
    return WaitFor("release.flag");
}

__attribute__((visibility("default"))) int kolmar_run(const char* input_path,
                                                      const char* output_dir, const char* base_name,
                                                      const char* json_path, void** results) {
    char flag[4096];
    (void)input_path;
    (void)base_name;
    (void)json_path;
    if (results)
        *results = 0;
    snprintf(flag, sizeof flag, "%s/release.flag", output_dir);
    return WaitFor(flag);
}
