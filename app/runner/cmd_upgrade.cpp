// kolmar upgrade: rewrites a project in the current layout, as the program's Save does, keeping
// the file as it was beside it.
#include "app/runner/cli.h"
#include "gui/data/DataUnit.h"
#include "kolmar/portable.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

namespace fs = std::filesystem;

namespace {
// The file's bytes, for the backup; false when it cannot be read whole.
bool ReadBytes(const std::string& Name, std::string& Bytes) {
    std::ifstream in(kolmar::PathFromUtf8(Name), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    Bytes = text.str();
    return in.good() || in.eof();
}
} // namespace

int UpgradeCommand(const TCommandLine& Line) {
    if (Line.Arguments.size() != 1) {
        std::cerr << "kolmar: upgrade takes one project file\n";
        return ExitUsage;
    }
    std::string name;
    int status = 0;
    // A file read with an error is refused here: its rewrite would lose what was not read.
    auto project = LoadProject(Line.Arguments[0], Line.Layout, name, status);
    if (!project)
        return status;

    // An older .kxd project gets a current-format file of its own beside it.
    if (FilterForFileName(name) != 1)
        return ConvertOlderProject(*project, name, status) ? 0 : status;

    if (project->Layout == TFileLayout::Current && Line.Layout.empty()) {
        std::cout << name << " is in the current layout already; nothing was changed.\n";
        return 0;
    }
    const std::string backup = name + ".bak";
    try {
        std::string bytes;
        if (!ReadBytes(name, bytes))
            throw EInOutError("Cannot read " + name + " for its backup.");
        WriteFileAtomically(backup, bytes, "the backup");
        project->Save(); // atomic: the project file is whole before and after
    } catch (const std::exception& e) {
        std::cerr << "kolmar: " << name << ":\n" << e.what() << "\n";
        return ExitCantCreate;
    }
    std::cout << "Upgraded " << name << " to the current layout; the previous file is kept as "
              << backup << "\n";
    return 0;
}
