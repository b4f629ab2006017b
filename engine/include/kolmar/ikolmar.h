/* The one entry point of the analysis engine library, and the values that cross it.
   Shared by the engine, the command-line runner and the desktop program; plain C so that
   any caller can use it. */
#ifndef KOLMAR_IKOLMAR_H
#define KOLMAR_IKOLMAR_H

#ifdef __cplusplus
extern "C" {
#endif

/* The call code agreed between the engine and its callers. Any other value returns
   KOLMAR_STATUS_WRONG_CODE at once and touches no file. */
#define KOLMAR_CALL_CODE 20170809

/* Run status returned by IKOLMAR. */
#define KOLMAR_STATUS_OK 0            /* normal completion */
#define KOLMAR_STATUS_WRONG_CODE 1    /* wrong call code; nothing was done */
#define KOLMAR_STATUS_TZ_BEYOND 2     /* a t-z curve depth lies beyond the input strength curve */
#define KOLMAR_STATUS_TIP_BEYOND 4    /* the shaft tip lies beyond the input strength curve */
#define KOLMAR_STATUS_SHORT_PROFILE 7 /* soil profile too short for the design load */
#define KOLMAR_STATUS_BAD_INPUT 8  /* project file unreadable or holding data the engine refuses */
#define KOLMAR_STATUS_FILE_ERROR 9 /* a file of the run could not be opened or created */
#define KOLMAR_STATUS_INTERNAL 10  /* unexpected internal failure, caught at the entry point */

/* Name of the engine library file and of its entry point, for callers that load it. */
#if defined(_WIN32)
#define KOLMAR_ENGINE_FILE "Kolmar2017_DLL.dll"
#else
#define KOLMAR_ENGINE_FILE "libKolmar2017_DLL.so"
#endif
#define KOLMAR_ENTRY_NAME "IKOLMAR"

/* Version string written to names.dat and shown in the report banner (KOLMAR_VERSION_STRING),
   generated from the project's version by the build. */
#include "kolmar/version.h"

typedef int (*KolmarEntry)(int call_code);

#if defined(_WIN32)
#define KOLMAR_EXPORT __declspec(dllexport)
#else
#define KOLMAR_EXPORT __attribute__((visibility("default")))
#endif

/* Runs one analysis on the files named in names.dat in the working directory. */
KOLMAR_EXPORT int IKOLMAR(int call_code);

#ifdef __cplusplus
}
#endif

#endif
