// A private temporary directory for one fuzz input: created empty, removed with everything in it
// when the input is done, so a fuzz run leaves no file behind. Fuzz targets make their checks
// after it is gone, as a failed check ends the process at once.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

class TPrivateDir {
public:
    TPrivateDir() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "kolmar_fuzz_XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::perror("kolmar fuzz: cannot create a temporary directory");
            std::abort();
        }
        fPath = pattern;
    }
    ~TPrivateDir() { Remove(); }
    TPrivateDir(const TPrivateDir&) = delete;
    TPrivateDir& operator=(const TPrivateDir&) = delete;

    const std::filesystem::path& Path() const { return fPath; }
    void Remove() {
        std::error_code ec;
        if (!fPath.empty())
            std::filesystem::remove_all(fPath, ec);
        fPath.clear();
    }

private:
    std::filesystem::path fPath;
};
