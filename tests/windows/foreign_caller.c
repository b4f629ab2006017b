/* A foreign caller on Windows, written in C as an office's own tool would be: loads the engine
   with LoadLibraryW, finds IKOLMAR with GetProcAddress, and in a folder whose name holds
   non-ASCII characters writes names.dat (CR LF line ends, as Windows editors write) beside a
   copy of a project, makes that folder current and calls IKOLMAR. Checks the status, that the
   report, run notes, plot file and t-z listing are there with LF line ends, and that a wrong call
   code and a base name with a folder given to kolmar_run touch nothing.
   Usage: foreign_caller ENGINE.dll PROJECT.kx8d */
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <shellapi.h>

#include "kolmar/ikolmar.h"
#include "kolmar/results.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <wchar.h>

static const wchar_t* const kResults[] = {L"shaft.kx8o", L"shaft.kx8r", L"shaft.kx8p",
                                          L"shaft.kx8z"};

/* The whole file, or NULL; its size in *size. */
static char* read_all(const wchar_t* name, long* size) {
    FILE* in = _wfopen(name, L"rb");
    char* text;
    if (in == NULL)
        return NULL;
    fseek(in, 0, SEEK_END);
    *size = ftell(in);
    fseek(in, 0, SEEK_SET);
    text = malloc((size_t)*size + 1);
    if (text != NULL && fread(text, 1, (size_t)*size, in) != (size_t)*size) {
        free(text);
        text = NULL;
    }
    fclose(in);
    if (text != NULL)
        text[*size] = '\0';
    return text;
}

static int count_files(const wchar_t* dir) {
    wchar_t pattern[MAX_PATH];
    WIN32_FIND_DATAW found;
    HANDLE search;
    int count = 0;
    swprintf(pattern, MAX_PATH, L"%ls\\*", dir);
    search = FindFirstFileW(pattern, &found);
    if (search == INVALID_HANDLE_VALUE)
        return -1;
    do {
        if (wcscmp(found.cFileName, L".") != 0 && wcscmp(found.cFileName, L"..") != 0)
            ++count;
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return count;
}

static int write_names_dat(void) {
    static const char* const ext[] = {".kx8d", ".kx8o", ".kx8p", ".kx8r", ".kx8z",
                                      ".kx8w", ".kx8t", ".kx8q", ".kx8l"};
    FILE* out = _wfopen(L"names.dat", L"wb");
    size_t i;
    if (out == NULL)
        return 0;
    fprintf(out, "%s\r\n", KOLMAR_VERSION_STRING);
    for (i = 0; i < sizeof ext / sizeof ext[0]; ++i)
        fprintf(out, "shaft%s\r\n", ext[i]);
    return fclose(out) == 0;
}

/* The result files of the run: present, not empty, LF line ends only. */
static int check_results(void) {
    int failed = 0;
    size_t i;
    for (i = 0; i < sizeof kResults / sizeof kResults[0]; ++i) {
        long size = 0;
        char* text = read_all(kResults[i], &size);
        if (text == NULL || size == 0) {
            fprintf(stderr, "result file %ls is missing or empty\n", kResults[i]);
            failed = 1;
        } else if (memchr(text, '\r', (size_t)size) != NULL) {
            fprintf(stderr, "result file %ls holds a carriage return\n", kResults[i]);
            failed = 1;
        }
        free(text);
    }
    return failed;
}

static int run_checks(HMODULE library, const wchar_t* dir) {
    KolmarEntry entry;
    KolmarRunEntry run;
    void (*release)(KolmarResults*);
    KolmarResults* handle = NULL;
    int status, failed = 0;

    entry = (KolmarEntry)(void (*)(void))GetProcAddress(library, KOLMAR_ENTRY_NAME);
    run = (KolmarRunEntry)(void (*)(void))GetProcAddress(library, KOLMAR_RUN_ENTRY_NAME);
    release =
        (void (*)(KolmarResults*))(void (*)(void))GetProcAddress(library, "kolmar_results_free");
    if (entry == NULL || run == NULL || release == NULL) {
        fprintf(stderr, "the library lacks IKOLMAR, kolmar_run or kolmar_results_free\n");
        return 1;
    }
    status = entry(KOLMAR_CALL_CODE + 1);
    if (status != KOLMAR_STATUS_WRONG_CODE || count_files(dir) != 1) {
        fprintf(stderr, "wrong call code: status %d, %d files\n", status, count_files(dir));
        failed = 1;
    }
    status = run("shaft.kx8d", ".", "sub/shaft", NULL, &handle);
    if (status != KOLMAR_STATUS_FILE_ERROR || handle == NULL || count_files(dir) != 1) {
        fprintf(stderr, "kolmar_run with a folder in the base name: status %d\n", status);
        failed = 1;
    }
    release(handle);

    if (!write_names_dat()) {
        fprintf(stderr, "cannot write names.dat\n");
        return 1;
    }
    status = entry(KOLMAR_CALL_CODE);
    if (status != KOLMAR_STATUS_OK) {
        fprintf(stderr, "IKOLMAR: status %d, expected %d\n", status, KOLMAR_STATUS_OK);
        failed = 1;
    }
    return failed | check_results();
}

static void remove_folder(const wchar_t* dir) {
    wchar_t pattern[MAX_PATH], file[MAX_PATH];
    WIN32_FIND_DATAW found;
    HANDLE search;
    swprintf(pattern, MAX_PATH, L"%ls\\*", dir);
    search = FindFirstFileW(pattern, &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            swprintf(file, MAX_PATH, L"%ls\\%ls", dir, found.cFileName);
            DeleteFileW(file);
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(dir);
}

static int wmain_checked(int argc, wchar_t** argv) {
    wchar_t temp[MAX_PATH], dir[MAX_PATH], project[MAX_PATH];
    HMODULE library;
    int failed;

    if (argc != 3) {
        fprintf(stderr, "usage: foreign_caller ENGINE.dll PROJECT.kx8d\n");
        return 2;
    }
    library = LoadLibraryW(argv[1]);
    if (library == NULL) {
        fprintf(stderr, "cannot load %ls: error %lu\n", argv[1], GetLastError());
        return 1;
    }
    GetTempPathW(MAX_PATH, temp);
    swprintf(dir, MAX_PATH, L"%lskolmar-Pf\u00e4hle-\u03a9\u03bc\u03ad\u03b3\u03b1-%lu", temp,
             GetCurrentProcessId());
    swprintf(project, MAX_PATH, L"%ls\\shaft.kx8d", dir);
    if (!CreateDirectoryW(dir, NULL) || !CopyFileW(argv[2], project, TRUE) ||
        !SetCurrentDirectoryW(dir)) {
        fprintf(stderr, "cannot prepare the folder %ls: error %lu\n", dir, GetLastError());
        FreeLibrary(library);
        return 1;
    }
    failed = run_checks(library, dir);
    SetCurrentDirectoryW(temp);
    remove_folder(dir);
    FreeLibrary(library);
    if (!failed)
        printf("foreign caller: IKOLMAR ran in a folder with a non-ASCII name\n");
    return failed;
}

int main(void) {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    int result;
    if (argv == NULL)
        return 1;
    result = wmain_checked(argc, argv);
    LocalFree(argv);
    return result;
}
