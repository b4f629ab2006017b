// The rules of the desktop program's file commands, without windows: the display name of a
// project file and the main window's caption, the recent-files list, the name taken from the
// command line, the name that Save As proposes, and the words of the text editor setting. Part of
// the model library (no Qt).
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

// File name of a project that has never been saved.
inline constexpr const char* NewProjectFileName = "NewShaft.kx8d";
// Extension of current project files, without the dot (the file dialogs' default).
inline constexpr const char* ProjectExtension = "kx8d";

// The program's version, as written to names.dat and shown in the caption.
std::string GetVersion();

// The file name without directory; a current-format project loses everything from its first
// "." on; a name longer than one character starting with a lowercase letter a-z gets it in
// upper case ("/p/my.shaft.KX8D" -> "My", "old.kxd" -> "Old.kxd").
std::string DisplayFileName(const std::string& Path);

// "Kolmar 2017.8.9 - " followed by the display name; "*" marks unsaved changes and
// " (damaged)" a project read with an error, which Save never writes over its file unasked.
std::string MainCaption(const std::string& ProjectFile, bool Changed = false, bool Damaged = false);

// Ten recent project files, most recent first; empty strings are free slots.
struct TRecentFiles {
    static constexpr int MaxFiles = 10;
    std::array<std::string, MaxFiles> PrevFile;

    // The chosen file goes to the top: nothing changes when it is first already (exact,
    // case-sensitive comparison); an entry further down moves up and the ones above it move
    // down one place; a new file pushes every entry down and the tenth drops out.
    void UpdatePrevFile(const std::string& NewFile);
    int NumberPrevFile() const; // non-empty entries
    void Clear() { PrevFile.fill(std::string()); }
    // Caption of entry I (0-based) in the File menu: its number from 1, a blank and the path,
    // with a leading CurDir and "/" removed.
    std::string MenuCaption(int I, const std::string& CurDir) const;
};

// Save turns into Save As for a project never saved and for one read from an older file.
bool NeedsSaveAs(const std::string& FileName);

// The name Save As proposes: the file name without directory, with the extension ".kx8d".
std::string SaveAsProposal(const std::string& FileName);

// A project named on the command line: a file name without any "." is a ".kx8d" project.
std::string CommandLineProjectName(const std::string& Argument);

// The text editor setting as a program and its arguments, split as a POSIX shell splits words:
// blanks separate; 'single quotes' keep everything literally; "double quotes" keep blanks, a
// backslash in them escaping only $ ` " \ and a line end; a backslash outside quotes escapes
// the next character. Nothing is expanded ($HOME, ~, * stay as written) and no shell runs it.
// Empty for a blank setting; nullopt for an unterminated quote or a trailing backslash.
std::optional<std::vector<std::string>> SplitCommandLine(const std::string& Command);

// The result files of a project that Save As carries to the new name when the project is
// unchanged, so that its results stay valid without another run.
inline constexpr const char* ResultExtensions[] = {".kx8o", ".kx8p", ".kx8r", ".kx8z"};
