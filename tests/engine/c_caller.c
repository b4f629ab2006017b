/* A foreign caller written in C: loads the engine library with dlopen, finds IKOLMAR with dlsym
   and calls it with a wrong call code in an empty directory, which must return 1 and leave the
   directory empty; then finds kolmar_run (kolmar/results.h, plain C too) and calls it with a
   base name that holds a folder, which must return 9, leave the directory empty and give a
   handle to free. Usage: c_caller <path of libKolmar2017_DLL.so> */
#define _DEFAULT_SOURCE
#include "kolmar/ikolmar.h"
#include "kolmar/results.h"

#include <dirent.h>
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

static int directory_is_empty(const char* path) {
    DIR* dir = opendir(path);
    struct dirent* entry;
    int empty = 1;
    if (dir == NULL)
        return 0;
    while ((entry = readdir(dir)) != NULL)
        if (strcmp(entry->d_name, ".") != 0 && strcmp(entry->d_name, "..") != 0)
            empty = 0;
    closedir(dir);
    return empty;
}

int main(int argc, char** argv) {
    char dir[] = "/tmp/kolmar-c-caller-XXXXXX";
    void* library;
    KolmarEntry entry;
    KolmarRunEntry run;
    void (*release)(KolmarResults*);
    KolmarResults* handle = NULL;
    int status, failed = 0;

    if (argc != 2) {
        fprintf(stderr, "usage: c_caller LIBRARY\n");
        return 2;
    }
    library = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
    if (library == NULL) {
        fprintf(stderr, "cannot load %s: %s\n", argv[1], dlerror());
        return 1;
    }
    *(void**)(&entry) = dlsym(library, KOLMAR_ENTRY_NAME);
    if (entry == NULL) {
        fprintf(stderr, "no %s in %s\n", KOLMAR_ENTRY_NAME, argv[1]);
        dlclose(library);
        return 1;
    }
    if (mkdtemp(dir) == NULL || chdir(dir) != 0) {
        fprintf(stderr, "cannot make a scratch directory\n");
        dlclose(library);
        return 1;
    }
    status = entry(KOLMAR_CALL_CODE + 1);
    if (status != KOLMAR_STATUS_WRONG_CODE) {
        fprintf(stderr, "wrong call code: expected status %d, got %d\n", KOLMAR_STATUS_WRONG_CODE,
                status);
        failed = 1;
    }
    if (!directory_is_empty(dir)) {
        fprintf(stderr, "wrong call code: files were created in %s\n", dir);
        failed = 1;
    }
    *(void**)(&run) = dlsym(library, KOLMAR_RUN_ENTRY_NAME);
    *(void**)(&release) = dlsym(library, "kolmar_results_free");
    if (run == NULL || release == NULL) {
        fprintf(stderr, "no %s or kolmar_results_free in %s\n", KOLMAR_RUN_ENTRY_NAME, argv[1]);
        failed = 1;
    } else {
        status = run("p.kx8d", dir, "sub/p", NULL, &handle);
        if (status != KOLMAR_STATUS_FILE_ERROR || handle == NULL || !directory_is_empty(dir)) {
            fprintf(stderr, "kolmar_run with a folder in the base name: status %d\n", status);
            failed = 1;
        }
        release(handle);
    }
    dlclose(library);
    if (chdir("/") != 0 || rmdir(dir) != 0)
        fprintf(stderr, "could not remove %s\n", dir);
    if (!failed)
        printf("IKOLMAR with a wrong call code returned %d and created no file\n", status);
    return failed;
}
