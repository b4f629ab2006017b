// What differs between Linux and Windows in handling files, in one place: file names are UTF-8
// in every std::string of ours and become native paths (UTF-16 on Windows) only here; a file
// replaces another atomically; the running program's own file and its process number.
//
// The engine's small library kolmar_portable (engine/portable.cpp), which the model and run
// libraries link too; they include it as "kolmar/portable.h". It is not one of the engine's
// installed headers.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

namespace kolmar {

// The path of a UTF-8 file name. On Windows the narrow conversion of std::filesystem would read
// the bytes in the ANSI code page, and a folder named in Greek or Chinese would be lost.
std::filesystem::path PathFromUtf8(std::string_view name);

// The UTF-8 text of a path, for messages, reports and every std::string that holds a file name.
std::string Utf8OfPath(const std::filesystem::path& path);

// Puts `from` in the place of `to` in one step, as rename(2) does on Linux (MoveFileExW with
// MOVEFILE_REPLACE_EXISTING on Windows): a reader sees the old file or the new one, never a
// part. Both lie in one folder.
std::error_code MoveFileInPlace(const std::filesystem::path& from, const std::filesystem::path& to);

// The number of this process, to make temporary names that no other process uses.
unsigned long ProcessNumber();

// The file of the running program, or an empty path when the system does not tell.
std::filesystem::path ExecutableFile();

} // namespace kolmar
