// Run control of the program side: names.dat, the layer check, the engine call, clean-up.
#include "gui/run/RunControl.h"

#include "gui/data/DataUnit.h"
#include "gui/run/dynlib.h"
#include "kolmar/ikolmar.h"
#include "kolmar/portable.h"
#include "kolmar/results.h"
#include "ui/model/NumberText.h"

#include <optional>
#include <stdexcept>
#include <string_view>
#include <system_error>

namespace fs = std::filesystem;

TRunFiles RunFilesFor(const fs::path& ProjectFile) {
    std::error_code ec;
    fs::path p = fs::absolute(ProjectFile, ec);
    if (ec)
        p = ProjectFile;
    p = p.lexically_normal();
    auto with = [&](const char* ext) { return fs::path(p).replace_extension(ext); };
    return TRunFiles{p,
                     with(".kx8o"),
                     with(".kx8p"),
                     with(".kx8r"),
                     with(".kx8z"),
                     with(".kx8w"),
                     with(".kx8t"),
                     with(".kx8q"),
                     with(".kx8l"),
                     with(".results.json")};
}

std::vector<fs::path> ResultFiles(const TRunFiles& Files) {
    return {Files.Report, Files.Notes, Files.Plot, Files.TZText, Files.Results};
}

namespace {
// Why the engine would not read a name as the file it names, or nothing. The engine reads each
// name as one line of at most 255 characters and drops the blanks that end it, so a longer
// name, one that ends in a blank and one holding a line break would name another file (or
// shift every name after it); a NUL would cut the name where the system opens the file.
constexpr std::string_view kBreaks("\n\r\0", 3);

std::optional<std::string> NameProblem(const std::string& name) {
    if (name.find_first_of(kBreaks) != std::string::npos) {
        std::string shown = name; // a message cannot show a NUL, nor a break where it lies
        for (char& c : shown)
            if (kBreaks.find(c) != std::string_view::npos)
                c = '?';
        return "the path " + shown +
               " holds a line break (shown as ?); rename the folder or the project file "
               "without it.";
    }
    if (name.size() > 255)
        return "the path " + name +
               " is longer than 255 characters; move the project to a shorter path.";
    if (!name.empty() && name.back() == ' ')
        return "the path " + name + " ends in a blank; rename the project file without it.";
    return std::nullopt;
}
} // namespace

void WriteNamesDat(const fs::path& Dir, const TRunFiles& Files, const std::string& Version) {
    const fs::path* named[] = {&Files.Project, &Files.Report, &Files.Plot,
                               &Files.Notes,   &Files.TZText, &Files.QWStage,
                               &Files.Stage1,  &Files.Stage2, &Files.Stage3};
    const fs::path target = Dir / "names.dat";
    // Every name is checked before the file is created, so a refused run leaves no names.dat.
    for (const fs::path* f : named)
        if (const auto problem = NameProblem(kolmar::Utf8OfPath(*f)))
            throw std::runtime_error("Cannot write the run-control file " +
                                     kolmar::Utf8OfPath(target) + ": " + *problem);

    std::string text = Version + "\n";
    for (const fs::path* f : named)
        text += kolmar::Utf8OfPath(*f) + "\n";
    // Complete or not at all: the engine must never read half a list of names.
    WriteFileAtomically(kolmar::Utf8OfPath(target), text, "the run-control file");
}

void DeleteRunScratch(const fs::path& Dir, const TRunFiles& Files) {
    std::error_code ec;
    for (const fs::path& f : {Dir / "names.dat", Dir / "TZDIAM.DAT", Files.QWStage, Files.Stage1,
                              Files.Stage2, Files.Stage3})
        fs::remove(f, ec);
}

namespace {
// Far below any thickness or depth that matters (ft or m), far above the rounding of a depth
// converted between unit systems.
constexpr double kCheckTolerance = 1e-6;
} // namespace

std::optional<std::string> CheckData(const TLayerCheckInput& Input) {
    const bool si = Input.fUnits == 2;
    const double minimum = si ? 0.6 : 2.0;
    const std::string label = si ? " m" : " ft";
    auto num = [](double v) { return FormatGeneral(v, 15); };

    double previous = 0.0;
    for (std::size_t i = 0; i < Input.LayerBottoms.size(); ++i) {
        const double thickness = Input.LayerBottoms[i] - previous;
        // Depths converted between unit systems carry rounding in their last digits.
        if (minimum - thickness > kCheckTolerance)
            return "Thickness of layer should be at least " + num(minimum) + label + "\n" +
                   "to avoid numerical errors. " + "\n" + "Please check layer " +
                   std::to_string(i + 1) + " . Thickness = " + num(thickness) + label;
        previous = Input.LayerBottoms[i];
    }
    const double bottom = Input.LayerBottoms.empty() ? 0.0 : Input.LayerBottoms.back();
    const double required = Input.PD + 2.0 * Input.DSTART;
    if (required - bottom > kCheckTolerance)
        return "Depth of Bottom Layer, " + num(bottom) + label + "\n" +
               "should be at least the shaft length plus two shaft diameters " + num(required) +
               label + "\n" + "to perform analysis. " + "\n" + "Please check !";
    return std::nullopt;
}

std::string CompletionMessage(int Status) {
    if (Status == KOLMAR_STATUS_OK)
        return "Computations are completed.\nPlease, check output file for results or error "
               "messages.";
    return "Computations are completed, but there may be errors.\nPlease, check output file for "
           "results or error messages.";
}

std::string StatusMeaning(int Status) {
    switch (Status) {
    case KOLMAR_STATUS_OK:
        return "normal completion";
    case KOLMAR_STATUS_WRONG_CODE:
        return "the engine refused the call code; nothing was done";
    case KOLMAR_STATUS_TZ_BEYOND:
        return "a t-z curve depth lies beyond the extent of the input strength curve";
    case KOLMAR_STATUS_TIP_BEYOND:
        return "the shaft tip lies beyond the extent of the input strength curve";
    case KOLMAR_STATUS_SHORT_PROFILE:
        return "the soil profile is too short for the design load (need another soil layer)";
    case KOLMAR_STATUS_BAD_INPUT:
        return "the project file could not be read or holds data the engine refuses; see the "
               "report";
    case KOLMAR_STATUS_FILE_ERROR:
        return "a file of the run could not be opened or created; see the run notes";
    case KOLMAR_STATUS_INTERNAL:
        return "the engine stopped on an internal error; see the report";
    default:
        return "unknown status";
    }
}

namespace {
// Restores the working directory when a run ends, whatever way it ends.
class TDirectoryGuard {
public:
    TDirectoryGuard() { previous_ = fs::current_path(ec_); }
    ~TDirectoryGuard() {
        if (!ec_) {
            std::error_code ignored;
            fs::current_path(previous_, ignored);
        }
    }
    TDirectoryGuard(const TDirectoryGuard&) = delete;
    TDirectoryGuard& operator=(const TDirectoryGuard&) = delete;

private:
    fs::path previous_;
    std::error_code ec_;
};
} // namespace

TEngineRun RunEngine(const TRunFiles& Files, const fs::path& EngineFile) {
    TEngineRun result;
    try {
        TDynamicLibrary library(kolmar::Utf8OfPath(EngineFile), true);
        auto entry = reinterpret_cast<KolmarRunEntry>(library.FindProcedure(KOLMAR_RUN_ENTRY_NAME));
        if (!entry)
            throw EDLLError("The library " + kolmar::Utf8OfPath(EngineFile) + " has no " +
                            KOLMAR_RUN_ENTRY_NAME + " entry point");
        const std::string input = kolmar::Utf8OfPath(Files.Project);
        const std::string dir = kolmar::Utf8OfPath(Files.Project.parent_path());
        const std::string base = kolmar::Utf8OfPath(Files.Project.stem());
        const std::string results = kolmar::Utf8OfPath(Files.Results);
        // The handle is asked for only to take the console text; the results are in the files.
        using TMessages = const char* (*)(const KolmarResults*);
        using TFree = void (*)(KolmarResults*);
        auto messages =
            reinterpret_cast<TMessages>(library.FindProcedure("kolmar_results_messages"));
        auto release = reinterpret_cast<TFree>(library.FindProcedure("kolmar_results_free"));
        KolmarResults* handle = nullptr;
        result.Status = entry(input.c_str(), dir.c_str(), base.c_str(),
                              results.empty() ? nullptr : results.c_str(),
                              messages && release ? &handle : nullptr);
        result.Called = true;
        if (handle) {
            if (const char* text = messages(handle))
                result.Console = text;
            release(handle);
        }
    } catch (const EDLLError& e) {
        result.Error = std::string("Attempt to initialize DLL failed\n") + e.what();
    }
    return result;
}

TEngineRun RunEngineByNamesDat(const TRunFiles& Files, const fs::path& EngineFile) {
    TEngineRun result;
    const fs::path dir = Files.Project.parent_path();
    TDirectoryGuard guard;
    std::error_code ec;
    fs::current_path(dir, ec);
    if (ec) {
        result.Error =
            "Cannot make " + kolmar::Utf8OfPath(dir) + " the working directory: " + ec.message();
        return result;
    }
    try {
        WriteNamesDat(dir, Files, KOLMAR_VERSION_STRING);
    } catch (const std::exception& e) {
        result.Error = e.what();
        result.NamesNotWritten = true;
        return result;
    }

    try {
        TDynamicLibrary library(kolmar::Utf8OfPath(EngineFile), true);
        auto entry = reinterpret_cast<KolmarEntry>(library.FindProcedure(KOLMAR_ENTRY_NAME));
        if (!entry)
            throw EDLLError("The library " + kolmar::Utf8OfPath(EngineFile) + " has no " +
                            KOLMAR_ENTRY_NAME + " entry point");
        result.Status = entry(KOLMAR_CALL_CODE);
        result.Called = true;
    } catch (const EDLLError& e) {
        // names.dat stays on disk when the engine could not be started, as after a failed load
        // in the program; the next run rewrites it.
        result.Error = std::string("Attempt to initialize DLL failed\n") + e.what();
        return result;
    }
    DeleteRunScratch(dir, Files);
    return result;
}

fs::path ExecutableDirectory() {
    const fs::path self = kolmar::ExecutableFile();
    if (self.empty())
        return fs::current_path();
    return self.parent_path();
}

fs::path FindBesideProgram(const fs::path& ProgramDir, const fs::path& Name,
                           const fs::path& InstalledFolder) {
    const fs::path beside = ProgramDir / Name;
    std::error_code ec;
    if (fs::exists(beside, ec))
        return beside;
    const fs::path installed = (ProgramDir / InstalledFolder / Name).lexically_normal();
    if (fs::exists(installed, ec))
        return installed;
    return beside;
}

fs::path EngineLibraryFile() {
    return FindBesideProgram(ExecutableDirectory(), KOLMAR_ENGINE_FILE, kInstalledEngineFolder);
}
