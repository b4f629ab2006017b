// Loading a project for the runner: the reader is chosen by the file's extension.
#include "app/runner/cli.h"
#include "gui/data/DataUnit.h"

#include <filesystem>
#include <iostream>

namespace fs = std::filesystem;

std::unique_ptr<TProgramData> LoadProject(const std::string& Name, const std::string& Layout,
                                          std::string& ResolvedName, int& ExitStatus) {
    ResolvedName = Name;
    // As on the program's command line: a name without any "." is a .kx8d project.
    if (fs::path(Name).filename().string().find('.') == std::string::npos)
        ResolvedName += ".kx8d";

    const int byExtension = FilterForFileName(ResolvedName);
    if (byExtension == 0) {
        std::cerr << "kolmar: " << ResolvedName
                  << ": not a project file (expected the extension .kx8d or .kxd)\n";
        ExitStatus = ExitUsage;
        return nullptr;
    }
    std::error_code ec;
    if (!fs::is_regular_file(ResolvedName, ec)) {
        std::cerr << "kolmar: " << ResolvedName << ": no such project file\n";
        ExitStatus = ExitNoInput;
        return nullptr;
    }
    const int filter = byExtension == 1 ? 1 : (Layout == "6.0" ? 3 : 2);

    std::string error;
    auto project = TProgramData::CreateFromFile(ResolvedName, filter, &error);
    if (!project || !error.empty()) {
        std::cerr << "kolmar: " << ResolvedName << ":\n" << error << "\n";
        ExitStatus = project ? ExitDataError : ExitNoInput;
        return nullptr;
    }
    ExitStatus = 0;
    return project;
}
