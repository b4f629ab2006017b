// kolmar: batch runner for drilled-shaft analyses. Dispatches the commands.
#include "app/runner/cli.h"
#include "kolmar/ikolmar.h"
#include "kolmar/portable.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <process.h>
#include <shellapi.h>
#else
#include <unistd.h>
#endif

namespace {
#ifdef _WIN32
const char* const kPaintCompanion = "kolmar-paint.exe";
const char* const kExportCompanion = "kolmar-export.exe";
#else
const char* const kPaintCompanion = "kolmar-paint";
const char* const kExportCompanion = "kolmar-export";
#endif

const char* const kHelp =
    R"(kolmar - axial design of drilled shafts, from the command line

Usage:
  kolmar run PROJECT [--layout 2012|6.0] [--json FILE]
      Checks the project, runs the analysis engine on it and lists the result files.
      PROJECT is a .kx8d project file (a name without extension gets .kx8d). An older
      .kxd file is first converted to a .kx8d file of the same name beside it; a .kx8d
      file in an older layout is refused (see upgrade).
      The report (.kx8o), run notes (.kx8r), plot data (.kx8p) and t-z listing (.kx8z)
      are written beside the project, with the results as data in PROJECT.results.json
      (or in FILE with --json). The exit status is the engine's run status:
        0  normal completion
        2  a t-z curve depth lies beyond the extent of the input strength curve
        4  the shaft tip lies beyond the extent of the input strength curve
        7  the soil profile is too short for the design load
        8  the project file could not be read, or holds data the engine refuses
        9  a file of the run could not be opened or created, or two of its names
           lead to one file
        10 internal error in the engine
      and, when no analysis ran: 64 usage, 65 unreadable project, 66 no such file,
      67 the layer check refused the project, 69 engine library not loadable, 73 a file
      could not be written.

  kolmar check PROJECT [--layout 2012|6.0]
      Reads the project (current or older layout, as its third line shows) and prints the
      reader's message, or the layer check's warning, or a short summary when both pass.
      A .kx8d file in an older layout is refused with the advice to upgrade it.

  kolmar upgrade PROJECT [--layout 2012|6.0]
      Rewrites a .kx8d project in the current layout, keeping the file as it was in
      PROJECT.bak; an older .kxd project gets a .kx8d file of the same name beside it.
      A project that cannot be read completely is left alone.

  kolmar plot PROJECT --graph NAME -o FILE.png|svg|pdf [--width-in W --height-in H --ppi P]
      Renders one of the result graphs of a project that has been run (named as in the
      program, e.g. pltTotal) into a picture, without a display.

  kolmar report PROJECT -o calc.pdf|calc.html [--graphs NAME,...] [--paper letter|a4]
               [--run] [--prepared-by NAME --checked-by NAME]
      Writes the calculation package of a project that has been run: cover and sign-off,
      input, soil profile, methods, results at the design length, figures and warnings,
      every number from PROJECT.results.json. Paper is letter for English projects and A4
      for SI. Results older than the project, or made from other contents of it, are
      refused (exit 65) unless --run runs the project first.

  kolmar export PROJECT -o results.xlsx [--graphs NAME,...] [--no-markers] [--csv DIR]
      Writes the result graphs of a project that has been run into a spreadsheet
      workbook (a data sheet and a chart sheet per graph), or one CSV file per graph.

  kolmar results PROJECT [--format json|csv] [-o FILE|DIR]
      Prints the results file of a project that has been run (PROJECT.results.json), or
      copies it to FILE; with --format csv writes one CSV file per table into DIR (a
      header row of names with their units), or prints them all. A project run only
      through IKOLMAR has no results file.

  kolmar bidirectional PROJECT [--cell-depth D | --balance] [--cell-capacity Q]
                      [-o results.json] [--csv DIR]
      Simulates a bidirectional (jack-cell) load test of the project's first case on its
      trend-line t-z and q-w curves: the cell load against the upward movement of the part
      above the cell and the downward movement of the part below it, the equivalent
      top-down curve, and the balance depth where the two parts' capacities are equal.
      The cell depth (ft or m, below the top of the shaft) and the cell's capacity (kips
      or kN) come from the options or from PROJECT.bidir.json; --balance places the cell
      at the balance depth. Prints a summary; -o writes the results as JSON, --csv one
      CSV file per table. A tip in rock or an uplift project is refused (exit 8).

  kolmar --help | --version

Options:
  --layout 2012|6.0   read the project in this older layout, whatever its content shows
                      (by default the number of words on line 3 decides: 4 or 5 for 6.0,
                      6 for 2012, 11 for the current layout)
)";

int Usage(const std::string& why) {
    std::cerr << "kolmar: " << why << "\n"
              << "Try 'kolmar --help'.\n";
    return ExitUsage;
}

#ifdef _WIN32
// One word of a Windows command line, quoted so that the child's startup code reads it back as
// it was: backslashes are doubled only before a quote.
std::wstring QuotedArgument(const std::wstring& Word) {
    if (!Word.empty() && Word.find_first_of(L" \t\n\v\"") == std::wstring::npos)
        return Word;
    std::wstring quoted = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : Word) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted.push_back(c);
    }
    quoted.append(2 * backslashes, L'\\');
    quoted.push_back(L'"');
    return quoted;
}

// The command line in UTF-8: the narrow argv of a Windows program is in the ANSI code page and
// loses every character outside it.
std::vector<std::string> Utf8Arguments(int Argc, char** Argv) {
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide)
        return std::vector<std::string>(Argv, Argv + Argc);
    std::vector<std::string> words;
    for (int i = 0; i < count; ++i) {
        const int n = WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
        std::string word(static_cast<std::size_t>(n > 0 ? n : 1), '\0');
        WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, word.data(), n, nullptr, nullptr);
        word.pop_back(); // the terminating NUL
        words.push_back(std::move(word));
    }
    LocalFree(wide);
    return words;
}
#endif

// The commands that need more than the runner loads are the companions' beside it, started with
// the command line as it is: pictures are drawn by kolmar-paint, which links Qt (a build without
// the desktop program has none); workbooks are written by kolmar-export.
int CompanionCommand(const char* Companion, char** Argv) {
    const std::filesystem::path companion = ExecutableDirectory() / Companion;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(companion, ec)) {
        if (Companion == kPaintCompanion) {
            std::cerr << "kolmar: this build draws no pictures (built without Qt; no "
                      << kPaintCompanion << " beside kolmar)\n";
            return ExitUsage;
        }
        std::cerr << "kolmar: cannot write workbooks: no " << Companion << " beside kolmar\n";
        return ExitNoEngine;
    }
    const std::string path = kolmar::Utf8OfPath(companion);
#ifdef _WIN32
    // Windows has no exec: the companion runs as a child, and its exit status is the runner's.
    std::vector<std::wstring> words{QuotedArgument(companion.wstring())};
    for (char** a = Argv + 1; *a; ++a)
        words.push_back(QuotedArgument(kolmar::PathFromUtf8(*a).wstring()));
    std::vector<const wchar_t*> pointers;
    for (const std::wstring& w : words)
        pointers.push_back(w.c_str());
    pointers.push_back(nullptr);
    const intptr_t status = _wspawnv(_P_WAIT, companion.c_str(), pointers.data());
    if (status != -1)
        return static_cast<int>(status);
#else
    Argv[0] = const_cast<char*>(path.c_str());
    execv(path.c_str(), Argv);
#endif
    std::cerr << "kolmar: cannot start " << path << ": " << std::strerror(errno) << "\n";
    return ExitNoEngine;
}

} // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
    std::vector<std::string> utf8 = Utf8Arguments(argc, argv);
    std::vector<char*> utf8_pointers;
    for (std::string& word : utf8)
        utf8_pointers.push_back(word.data());
    utf8_pointers.push_back(nullptr);
    argc = static_cast<int>(utf8.size());
    argv = utf8_pointers.data();
#endif
    TCommandLine line;
    if (argc >= 2 && (std::strcmp(argv[1], "plot") == 0 || std::strcmp(argv[1], "report") == 0))
        return CompanionCommand(kPaintCompanion, argv);
    if (argc >= 2 && std::strcmp(argv[1], "export") == 0) {
#ifdef KOLMAR_NO_WORKBOOK
        line.Command = argv[1];
        line.Raw.assign(argv + 2, argv + argc);
        return ExportCommand(line);
#else
        return CompanionCommand(kExportCompanion, argv);
#endif
    }
    if (argc >= 2 && std::strcmp(argv[1], "bidirectional") == 0) {
        line.Command = argv[1];
        line.Raw.assign(argv + 2, argv + argc);
        return BidirectionalCommand(line);
    }
    // results reads its own options.
    if (argc >= 2 && std::strcmp(argv[1], "results") == 0) {
        line.Command = argv[1];
        line.Raw.assign(argv + 2, argv + argc);
        return ResultsCommand(line);
    }
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::cout << kHelp;
            return 0;
        }
        if (arg == "--version") {
            std::cout << "kolmar " << KOLMAR_VERSION_STRING << "\n";
            return 0;
        }
        if (arg == "--layout") {
            if (i + 1 >= argc)
                return Usage("--layout needs a value (2012 or 6.0)");
            line.Layout = argv[++i];
            if (line.Layout != "2012" && line.Layout != "6.0")
                return Usage("unknown layout '" + line.Layout + "' (2012 or 6.0)");
        } else if (arg == "--json") {
            if (i + 1 >= argc)
                return Usage("--json needs a file name");
            line.Json = argv[++i];
        } else if (arg.size() > 1 && arg[0] == '-') {
            return Usage("unknown option '" + arg + "'");
        } else if (line.Command.empty()) {
            line.Command = arg;
        } else {
            line.Arguments.push_back(arg);
        }
    }
    if (line.Command.empty())
        return Usage("no command given");
    if (!line.Json.empty() && line.Command != "run")
        return Usage("--json belongs to the run command");
    if (line.Command == "run")
        return RunCommand(line);
    if (line.Command == "check")
        return CheckCommand(line);
    if (line.Command == "upgrade")
        return UpgradeCommand(line);
    return Usage("unknown command '" + line.Command + "'");
}
