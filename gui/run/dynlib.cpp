// Loading and unloading of a shared library by file name: dlopen on Linux, LoadLibraryW on
// Windows. The file name is UTF-8.
#include "gui/run/dynlib.h"

#include "kolmar/portable.h"

#include <filesystem>
#include <system_error>

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace {

#ifdef _WIN32
// The system's explanation of the last failure, in UTF-8.
std::string LastErrorText() {
    const DWORD code = GetLastError();
    wchar_t* text = nullptr;
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                       FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message = n > 0 && text ? std::wstring(text, n) : std::wstring();
    if (text)
        LocalFree(text);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' ||
                                message.back() == L' ' || message.back() == L'.'))
        message.pop_back();
    return "error " + std::to_string(code) +
           (message.empty() ? "" : ": " + kolmar::Utf8OfPath(std::filesystem::path(message)));
}
#endif

// Maps the library and resolves all its imports now, so that a broken library fails here rather
// than in the middle of a run; nullptr with the loader's explanation on failure.
void* LoadByName(const std::filesystem::path& File, std::string& Why) {
#ifdef _WIN32
    // The library's own folder is searched for the libraries it needs, not the current one.
    HMODULE module = LoadLibraryExW(
        File.c_str(), nullptr, LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);
    if (!module)
        Why = LastErrorText();
    return reinterpret_cast<void*>(module);
#else
    // RTLD_LOCAL keeps the engine's symbols to itself.
    void* module = dlopen(File.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module) {
        const char* why = dlerror();
        Why = why ? why : "";
    }
    return module;
#endif
}

void* ProcedureOf(void* Module, const std::string& Name) {
#ifdef _WIN32
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(Module), Name.c_str()));
#else
    dlerror();
    return dlsym(Module, Name.c_str());
#endif
}

void Unload(void* Module) {
#ifdef _WIN32
    FreeLibrary(static_cast<HMODULE>(Module));
#else
    dlclose(Module);
#endif
}

} // namespace

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
    const std::filesystem::path file = kolmar::PathFromUtf8(fFileName);
    if (fFileName.empty() || !std::filesystem::is_regular_file(file, ec))
        throw EFileNotFoundError();
    std::string why;
    hLibModule = LoadByName(file, why);
    if (!hLibModule)
        throw EInitError(why.empty() ? fFileName : why);
}

void TDynamicLibrary::OpenFile(const std::string& AFileName) {
    SetFileName(AFileName);
    Open();
}

void* TDynamicLibrary::FindProcedure(const std::string& ProcName) const {
    if (!GetIsOpen())
        throw EDLLNotOpenError();
    return ProcedureOf(hLibModule, ProcName);
}

void TDynamicLibrary::Close() {
    if (hLibModule) {
        Unload(hLibModule);
        hLibModule = nullptr;
    }
}
