// The platform's side of file names, atomic replacement and the running program
// (kolmar/portable.h): the Win32 calls on Windows, POSIX and the standard library elsewhere.
#include "kolmar/portable.h"

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace kolmar {

// The path of a UTF-8 file name. On Windows the narrow conversion of std::filesystem would read
// the bytes in the ANSI code page, and a folder named in Greek or Chinese would be lost.
std::filesystem::path PathFromUtf8(std::string_view name) {
#ifdef _WIN32
    return std::filesystem::path(
        std::u8string(reinterpret_cast<const char8_t*>(name.data()), name.size()));
#else
    return std::filesystem::path(name);
#endif
}

// The UTF-8 text of a path, for messages, reports and every std::string that holds a file name.
std::string Utf8OfPath(const std::filesystem::path& path) {
#ifdef _WIN32
    const std::u8string text = path.u8string();
    return std::string(reinterpret_cast<const char*>(text.data()), text.size());
#else
    return path.string();
#endif
}

// Puts `from` in the place of `to` in one step, as rename(2) does on Linux: a reader sees the
// old file or the new one, never a part. Both lie in one folder.
std::error_code MoveFileInPlace(const std::filesystem::path& from,
                                const std::filesystem::path& to) {
#ifdef _WIN32
    if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return {};
    return std::error_code(static_cast<int>(GetLastError()), std::system_category());
#else
    std::error_code ec;
    std::filesystem::rename(from, to, ec);
    return ec;
#endif
}

// The number of this process, to make temporary names that no other process uses.
unsigned long ProcessNumber() {
#ifdef _WIN32
    return static_cast<unsigned long>(GetCurrentProcessId());
#else
    return static_cast<unsigned long>(::getpid());
#endif
}

// The file of the running program, or an empty path when the system does not tell.
std::filesystem::path ExecutableFile() {
#ifdef _WIN32
    std::wstring buffer(512, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), DWORD(buffer.size()));
        if (n == 0)
            return {};
        if (n < buffer.size()) {
            buffer.resize(n);
            return std::filesystem::path(buffer);
        }
        buffer.resize(buffer.size() * 2);
    }
#else
    std::error_code ec;
    std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::path() : self;
#endif
}

} // namespace kolmar
