// The run command without its dialogs: the files of a run, names.dat, the layer-geometry check
// before a run, loading the engine and calling it once, and tidying the temporary files.
// Shared by the command-line runner and the desktop program.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// The files of one run, all beside the project file and named by changing its extension.
struct TRunFiles {
    std::filesystem::path Project; // .kx8d, the engine's input
    std::filesystem::path Report;  // .kx8o
    std::filesystem::path Plot;    // .kx8p
    std::filesystem::path Notes;   // .kx8r, processor-run notes
    std::filesystem::path TZText;  // .kx8z, t-z and q-w listing
    std::filesystem::path QWStage; // .kx8w, staged q-w listing
    std::filesystem::path Stage1;  // .kx8t, staged plot section
    std::filesystem::path Stage2;  // .kx8q, staged plot section
    std::filesystem::path Stage3;  // .kx8l, staged plot section
    std::filesystem::path Results; // .results.json, the results as data (the programs' entry)
};

// Absolute paths of the run files of a project file.
TRunFiles RunFilesFor(const std::filesystem::path& ProjectFile);

// The result files a user reads after a run, in the order they are listed.
std::vector<std::filesystem::path> ResultFiles(const TRunFiles& Files);

// Writes names.dat into Dir: the version string, then the nine full paths, one per line. The
// file is written whole through a temporary file, or not at all. Throws std::runtime_error
// naming the file when it cannot be written, and, before anything is written, naming a path the
// engine could not read back as the same file: one longer than 255 characters, one holding a
// line break or a NUL, one ending in a blank.
void WriteNamesDat(const std::filesystem::path& Dir, const TRunFiles& Files,
                   const std::string& Version);

// Removes names.dat and TZDIAM.DAT from Dir and the project's staged files (.kx8w, .kx8t,
// .kx8q, .kx8l) where they exist.
void DeleteRunScratch(const std::filesystem::path& Dir, const TRunFiles& Files);

// What the layer check needs of a project (in the project's own units).
struct TLayerCheckInput {
    int fUnits = 1;                   // 1 English (ft), 2 SI (m)
    double PD = 0;                    // shaft length; 0 when a design load is given
    double DSTART = 0;                // smallest stem diameter
    std::vector<double> LayerBottoms; // bottom depth of each layer, top layer first
};

// The check made before every run: every layer at least 2 ft (0.6 m) thick, and the profile
// reaching the shaft length plus two diameters. Returns the warning text of the first rule
// that fails, or nothing when the project may be run.
std::optional<std::string> CheckData(const TLayerCheckInput& Input);

// The completion message shown after the engine returns.
std::string CompletionMessage(int Status);

// One line saying what a run status means.
std::string StatusMeaning(int Status);

// Outcome of one engine call.
struct TEngineRun {
    bool Called = false;          // the entry point was reached
    int Status = -1;              // its result, when Called
    std::string Error;            // why it was not called, when !Called
    bool NamesNotWritten = false; // not called because names.dat could not be written
    std::string Console;          // what the engine wrote for a console (kolmar_run only)
};

// Runs the engine once on a saved project through its entry for programs (kolmar_run): loads
// the engine library from EngineFile, names the project, its folder and base name and the
// results file (Files.Results), and unloads the library. Writes no names.dat, leaves the
// working directory alone and leaves no scratch file: runs of other projects may go on at the
// same time. A library that cannot be loaded, or has no kolmar_run, is refused before any call
// ("Attempt to initialize DLL failed", with the reason).
TEngineRun RunEngine(const TRunFiles& Files, const std::filesystem::path& EngineFile);

// The same run through IKOLMAR, as any caller of the classic entry makes it: writes names.dat
// beside the project, makes the project's directory current, calls IKOLMAR with the agreed code,
// deletes names.dat and the temporary files, and restores the previous working directory. Only
// one such run may use a directory at a time, and the process's working directory is shared.
TEngineRun RunEngineByNamesDat(const TRunFiles& Files, const std::filesystem::path& EngineFile);

// Directory of the running executable (where the engine library is expected).
std::filesystem::path ExecutableDirectory();

// Where an installed program keeps what it ships, relative to its own directory (bin/): the
// engine library, the manuals and the examples.
inline constexpr const char* kInstalledEngineFolder = "../lib/kolmar";
inline constexpr const char* kInstalledDocsFolder = "../share/kolmar/doc";
inline constexpr const char* kInstalledDataFolder = "../share/kolmar";

// A file or folder the programs ship, looked for in two places, in this order: the program's
// own directory ProgramDir (the build tree, or an installation that keeps everything
// together), then InstalledFolder relative to it (an installed package, under whatever root it
// was unpacked). Returns the first that exists, or the one in the program's own directory when
// neither does, so that a message names the place it was expected first.
std::filesystem::path FindBesideProgram(const std::filesystem::path& ProgramDir,
                                        const std::filesystem::path& Name,
                                        const std::filesystem::path& InstalledFolder);
// The engine library the programs load: FindBesideProgram from the running executable.
std::filesystem::path EngineLibraryFile();
