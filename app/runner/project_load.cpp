// Loading a project for the runner: the reader is chosen by the file's content, and an older
// project is converted or its upgrade advised.
#include "app/runner/cli.h"
#include "gui/data/DataUnit.h"
#include "kolmar/portable.h"

#include <filesystem>
#include <iostream>

namespace fs = std::filesystem;

std::unique_ptr<TProgramData> LoadProject(const std::string& Name, const std::string& Layout,
                                          std::string& ResolvedName, int& ExitStatus) {
    ResolvedName = Name;
    // As on the program's command line: a name without any "." is a .kx8d project.
    if (kolmar::Utf8OfPath(kolmar::PathFromUtf8(Name).filename()).find('.') == std::string::npos)
        ResolvedName += ".kx8d";

    const int byExtension = FilterForFileName(ResolvedName);
    if (byExtension == 0) {
        std::cerr << "kolmar: " << ResolvedName
                  << ": not a project file (expected the extension .kx8d or .kxd)\n";
        ExitStatus = ExitUsage;
        return nullptr;
    }
    std::error_code ec;
    if (!fs::is_regular_file(kolmar::PathFromUtf8(ResolvedName), ec)) {
        std::cerr << "kolmar: " << ResolvedName << ": no such project file\n";
        ExitStatus = ExitNoInput;
        return nullptr;
    }
    // The content decides the layout, as in the program; --layout overrides it.
    const int filter = Layout.empty() ? 0 : (Layout == "6.0" ? 3 : 2);

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

std::optional<std::string> UpgradeNeeded(const TProgramData& Project, const std::string& Name) {
    if (FilterForFileName(Name) != 1) {
        return std::nullopt;
    }
    std::string layout;
    switch (Project.Layout) {
    case TFileLayout::Current:
    case TFileLayout::Unknown:
        return std::nullopt;
    case TFileLayout::Current10:
        layout = "its line 3 has the 10 words of an earlier release, where the engine reads 11";
        break;
    case TFileLayout::Version2012:
        layout = "it is in the 2012 layout (6 words on line 3)";
        break;
    case TFileLayout::Version60:
        layout = "it is in the 6.0 layout (4 or 5 words on line 3)";
        break;
    }
    return "The engine cannot read this file as it stands: " + layout + ".\nRun 'kolmar upgrade " +
           Name + "' to rewrite it in the current layout (the file as it is now is kept as " +
           Name + ".bak).";
}

bool ConvertOlderProject(TProgramData& Project, const std::string& Name, int& ExitStatus) {
    const fs::path target = kolmar::PathFromUtf8(Name).replace_extension(".kx8d");
    std::error_code ec;
    if (fs::exists(target, ec)) {
        std::cerr << "kolmar: " << Name << " is an older project file and "
                  << kolmar::Utf8OfPath(target)
                  << " exists already;\nrun that file, or move it away to convert again.\n";
        ExitStatus = ExitCantCreate;
        return false;
    }
    Project.FileName = kolmar::Utf8OfPath(target);
    try {
        Project.Save();
    } catch (const std::exception& e) {
        std::cerr << "kolmar: cannot save " << kolmar::Utf8OfPath(target) << ":\n"
                  << e.what() << "\n";
        ExitStatus = ExitCantCreate;
        return false;
    }
    std::cout << "Converted " << Name << " to " << kolmar::Utf8OfPath(target) << "\n";
    return true;
}
