// Helpers of the load-settlement tests: in-memory files of a case, a layered sand-over-clay
// shaft, curve readers at a settlement or a load, and golden-file checks.
#pragma once

#include "settlement/soil_settlement.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <locale>
#include <sstream>
#include <string>
#include <vector>

namespace kolmar::engine::settlement::test {

// The files of one or more cases, held in memory. TZDATA.DAT and TZDIAM.DAT keep only the text
// of their last rewrite, as the files do.
struct MemoryFiles {
    std::ostringstream report, run_notes, tz_text, qw_stage, plot_t, plot_q, plot_l, chart;
    std::string tz_data;
    std::string tz_diam;
    int tz_data_rewrites = 0;

    MemoryFiles() {
        for (std::ostringstream* os :
             {&report, &run_notes, &tz_text, &qw_stage, &plot_t, &plot_q, &plot_l, &chart})
            os->imbue(std::locale::classic());
    }
    SettlementFiles Files() {
        return SettlementFiles{report,
                               run_notes,
                               tz_text,
                               qw_stage,
                               plot_t,
                               plot_q,
                               plot_l,
                               chart,
                               [this](const std::string& text) {
                                   tz_data = text;
                                   ++tz_data_rewrites;
                               },
                               [this](const std::string& text) { tz_diam = text; }};
    }
};

// A 3 ft shaft, 40 ft long, in sand (0 to 20 ft, unit side resistance rising from 0.05 to
// 0.45 tsf) over clay (20 to 60 ft, 0.5 tsf), cut at the tip; one computation depth per foot,
// 5 ft top portion without side resistance, QB of 63.6 tons.
inline ShaftCase SandOverClay() {
    ShaftCase s;
    s.diameter = 3.0;
    s.base_diameter = 3.0;
    s.length = 40.0;
    s.top_length = 5.0;
    s.Ec = 3.6e6;
    s.Qbmax = 63.6;
    s.layers = {{1, 0.0, 20.0, 0.05, 0.45}, {2, 20.0, 40.0, 0.5, 0.5}};
    for (int d = 1; d <= 40; ++d) {
        s.profile_depth.push_back(d);
        s.profile_fs.push_back(d <= 20 ? 0.05 + 0.02 * d : 0.5);
    }
    s.increments = 40;
    return s;
}

// Top load of a block at the top movement s, linear between rows; -1 beyond the block.
inline double LoadAtSettlement(const LoadSettlementBlock& block, double s) {
    for (std::size_t k = 1; k < block.size(); ++k) {
        const LoadSettlementRow& a = block[k - 1];
        const LoadSettlementRow& b = block[k];
        if (s >= a.top_movement && s <= b.top_movement && b.top_movement > a.top_movement)
            return a.top_load + (s - a.top_movement) * (b.top_load - a.top_load) /
                                    (b.top_movement - a.top_movement);
    }
    return -1.0;
}

// Top movement of a block at the top load q, at the first rows that bracket it; -1 beyond.
inline double SettlementAtLoad(const LoadSettlementBlock& block, double q) {
    for (std::size_t k = 1; k < block.size(); ++k) {
        const LoadSettlementRow& a = block[k - 1];
        const LoadSettlementRow& b = block[k];
        if (q >= a.top_load && q <= b.top_load && b.top_load > a.top_load)
            return a.top_movement +
                   (q - a.top_load) * (b.top_movement - a.top_movement) / (b.top_load - a.top_load);
    }
    return -1.0;
}

inline std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

inline std::string ReadText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Compares text with tests/settlement/data/golden/<name>; on a difference prints the diff and
// the command that refreshes the golden file after review.
inline void ExpectGolden(const std::string& text, const std::string& name) {
    const std::filesystem::path golden =
        std::filesystem::path(KOLMAR_TEST_DATA) / "data" / "golden" / name;
    const std::filesystem::path actual = std::filesystem::path(KOLMAR_BIN_DIR) / (name + ".actual");
    {
        std::ofstream out(actual, std::ios::binary | std::ios::trunc);
        out << text;
    }
    if (ReadText(golden) == text)
        return;
    std::string diff;
    const std::string command = "diff -u '" + golden.string() + "' '" + actual.string() + "' 2>&1";
#ifdef _WIN32
    FILE* pipe = _popen(command.c_str(), "r");
#else
    FILE* pipe = popen(command.c_str(), "r");
#endif
    if (pipe) {
        char buf[4096];
        for (std::size_t n; (n = fread(buf, 1, sizeof buf, pipe)) > 0;)
            diff.append(buf, n);
#ifdef _WIN32
        _pclose(pipe);
#else
        pclose(pipe);
#endif
    }
    ADD_FAILURE() << "output differs from the golden file " << golden << "\n"
                  << diff.substr(0, 20000) << "\nAfter review, refresh it with:\n  cp '"
                  << actual.string() << "' '" << golden.string() << "'";
}

} // namespace kolmar::engine::settlement::test
