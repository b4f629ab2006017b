// Helpers shared by the engine tests: scratch directories, whole-file reads and writes, a small
// project-file builder, a full engine run inside a scratch directory, and golden-file checks.
#pragma once

#include "entry.h"
#include "kolmar/ikolmar.h"
#include "kolmar/portable.h"
#include "run_context.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>
#include <system_error>

#include <gtest/gtest.h>
#include <vector>

namespace kolmar::engine::test {

// A fresh directory under the system's temporary directory, removed again at the end.
class TempDir {
public:
    TempDir() {
        std::random_device seed;
        std::mt19937_64 random(seed() ^ kolmar::ProcessNumber());
        for (int attempt = 0; attempt < 100; ++attempt) {
            const std::filesystem::path candidate = std::filesystem::temp_directory_path() /
                                                    ("kolmar-engine-" + std::to_string(random()));
            std::error_code ec;
            if (std::filesystem::create_directory(candidate, ec)) {
                path_ = candidate;
                return;
            }
        }
        throw std::runtime_error("cannot create a temporary directory");
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

inline std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteFile(const std::filesystem::path& path, const std::string& text) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

inline std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// A project file put together record by record; tests change the records they are about.
struct Project {
    std::string title = "Uniform sand, water table at 10 ft";
    std::string units = "1 ";
    std::string control = "2 1 1 1 1 2 0 0 0 0 0";
    std::string shaft = "3 3 0 0 0 0 3600000";
    std::string load = "1 10 50 2.5 3";
    std::vector<std::string> options; // vary-length and design-chart records
    std::vector<std::string> layers = {"1 70 ", "0.0 120 34 0 15 0 0 1 1 ",
                                       "0.0 125 38 0 30 0 0 1 1 ", "2 ", "0 0 "};
    std::vector<std::string> tz; // t-z count and depths

    std::string Text() const {
        std::string text =
            title + "\r\n" + units + "\r\n" + control + "\r\n" + shaft + "\r\n" + load + "\r\n";
        for (const auto* part : {&options, &layers, &tz})
            for (const std::string& line : *part)
                text += line + "\r\n";
        return text;
    }
};

// File names of a run whose project is `dir/<base>.kx8d`, as names.dat lists them.
inline std::string NamesDat(const std::string& version, const std::string& base) {
    std::string text = version + "\n" + base + ".kx8d\n";
    for (const char* ext : {".kx8o", ".kx8p", ".kx8r", ".kx8z", ".kx8w", ".kx8t", ".kx8q", ".kx8l"})
        text += base + ext + "\n";
    return text;
}

// The outcome of one run in a scratch directory.
struct RunResult {
    int status = -1;
    std::string report, notes, plot, tz, console;
    bool all_closed = false;
};

// Runs the engine on `project_text` in `dir` with a fixed clock; `prepare` may adjust the
// context (hooks, console) before the run.
template <typename Prepare>
RunResult RunProject(const TempDir& dir, const std::string& project_text, Prepare prepare) {
    WriteFile(dir / "names.dat", NamesDat("2017.8.9", "run"));
    WriteFile(dir / "run.kx8d", project_text);
    RunContext ctx;
    std::ostringstream console;
    ctx.work_dir = dir.path();
    ctx.console = &console;
    ctx.clock = [] { return DateTime{2017, 8, 9, 14, 30, 0}; };
    prepare(ctx);
    RunResult result;
    result.status = RunEntry(KOLMAR_CALL_CODE, ctx);
    result.all_closed = true;
    for (const std::ofstream& out : ctx.out)
        result.all_closed = result.all_closed && !out.is_open();
    result.report = ReadFile(dir / "run.kx8o");
    result.notes = ReadFile(dir / "run.kx8r");
    result.plot = ReadFile(dir / "run.kx8p");
    result.tz = ReadFile(dir / "run.kx8z");
    result.console = console.str();
    return result;
}

inline RunResult RunProject(const TempDir& dir, const std::string& project_text) {
    return RunProject(dir, project_text, [](RunContext&) {});
}

// The text with its date-and-time lines replaced by a fixed marker.
inline std::string MaskDate(const std::string& text) {
    std::string out;
    for (const std::string& line : test::Lines(text))
        out +=
            (line.rfind(std::string(15, ' ') + "Date:  ", 0) == 0 ? std::string("<date and time>")
                                                                  : line) +
            "\n";
    return out;
}

inline std::string Shell(const std::string& command) {
    std::string output;
#ifdef _WIN32
    FILE* pipe = _popen(command.c_str(), "r");
#else
    FILE* pipe = popen(command.c_str(), "r");
#endif
    if (pipe) {
        char buffer[512];
        while (std::fgets(buffer, sizeof buffer, pipe))
            output += buffer;
#ifdef _WIN32
        _pclose(pipe);
#else
        pclose(pipe);
#endif
    }
    return output;
}

// Compares a fixed-layout output with its golden file, the date line masked. On a difference the
// test prints the diff and the one command that refreshes the golden file after review; run with
// KOLMAR_UPDATE_GOLDEN=1 in the environment, it writes the golden file instead.
inline void ExpectGolden(const std::string& actual_text, const std::string& name) {
    const std::string golden = std::string(KOLMAR_TEST_DATA) + "/golden/" + name;
    const std::string actual = std::string(KOLMAR_BIN_DIR) + "/" + name + ".actual";
    const std::string masked = MaskDate(actual_text);
    WriteFile(actual, masked);
    if (ReadFile(golden) == masked)
        return;
    const char* update = std::getenv("KOLMAR_UPDATE_GOLDEN");
    if (update != nullptr && std::string(update) == "1") {
        WriteFile(golden, masked);
        std::cout << "golden file refreshed: " << golden << "\n";
        return;
    }
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string filter =
        test ? std::string(test->test_suite_name()) + "." + test->name() : std::string("*");
    const std::string binary = kolmar::Utf8OfPath(kolmar::ExecutableFile());
    ADD_FAILURE() << "output differs from the golden file " << golden << "\n"
                  << Shell("diff -u '" + golden + "' '" + actual + "' 2>&1") << "\n"
                  << "After review, refresh it with:\n  KOLMAR_UPDATE_GOLDEN=1 " << binary
                  << " --gtest_filter='" << filter << "'";
}

// A line as the 80-column copy of the staged files writes it.
inline std::string Padded(const std::string& text) {
    std::string line = text.substr(0, 80);
    line.resize(80, ' ');
    return line + "\n";
}

} // namespace kolmar::engine::test
