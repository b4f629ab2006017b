// Loading and unloading of a shared library by file name.
#include "gui/run/dynlib.h"

#include <dlfcn.h>
#include <filesystem>
#include <system_error>

TDynamicLibrary::TDynamicLibrary(const std::string& AFileName, bool CreateOpened)
    : fFileName(AFileName) {
    if (CreateOpened)
        Open();
}

TDynamicLibrary::~TDynamicLibrary() {
    Close();
}

void TDynamicLibrary::SetFileName(const std::string& Value) {
    Close();
    fFileName = Value;
}

void TDynamicLibrary::Open() {
    if (GetIsOpen())
        return;
    std::error_code ec;
    if (fFileName.empty() || !std::filesystem::is_regular_file(fFileName, ec))
        throw EFileNotFoundError();
    // RTLD_LOCAL keeps the engine's symbols to itself; RTLD_NOW makes a broken library fail
    // here rather than in the middle of a run.
    hLibModule = dlopen(fFileName.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!hLibModule) {
        const char* why = dlerror();
        throw EInitError(why ? why : fFileName);
    }
}

void TDynamicLibrary::OpenFile(const std::string& AFileName) {
    SetFileName(AFileName);
    Open();
}

void* TDynamicLibrary::FindProcedure(const std::string& ProcName) const {
    if (!GetIsOpen())
        throw EDLLNotOpenError();
    dlerror();
    return dlsym(hLibModule, ProcName.c_str());
}

void TDynamicLibrary::Close() {
    if (hLibModule) {
        dlclose(hLibModule);
        hLibModule = nullptr;
    }
}
