// English and SI runs of one project agree within printing precision: the capacity rows of the
// run notes (one decimal in English, two in SI), the capacity curves and the load-settlement
// curves as the program's plot-file reader takes them (three significant digits in the file).
// Shared by the SI agreement test and the random-project sweep.
#pragma once

#include "gui/data/PltData.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <locale>
#include <sstream>
#include <string>
#include <vector>

namespace kolmar::engine::test {

// The engine's SI factors (English per SI unit), as it prints SI results.
constexpr double kFtPerM = 3.2808;
constexpr double kTonsPerKn = 0.1124;
constexpr double kCuYdPerCuM = 1.3078;
constexpr double kTonsPerCuYdPerKnPerCuM = 0.08594586;

// The capacity rows of the run notes, as numbers: the lines of the row layout, seven fields of
// 9 columns and one of 10. The fields are cut by column, not by blanks: a large SI value fills
// its field and runs into the one before it.
inline std::vector<std::vector<double>> CapacityRows(const std::string& notes) {
    std::vector<std::vector<double>> rows;
    for (const std::string& line : Lines(notes)) {
        if (line.size() != 73 || line[0] != ' ')
            continue;
        std::vector<double> values;
        for (std::size_t at = 0; at < 73; at += 9) {
            std::istringstream in(line.substr(at, at == 63 ? 10 : 9));
            in.imbue(std::locale::classic());
            double v = 0.0;
            std::string rest;
            if (!(in >> v) || (in >> rest))
                break;
            values.push_back(v);
            if (at == 63)
                break;
        }
        if (values.size() == 8)
            rows.push_back(values);
    }
    return rows;
}

// An English value printed with `english_decimals` against an SI value converted by `factor`
// (English per SI unit) and printed with two decimals: equal within both roundings and the
// small differences of the two sets of conversion factors.
// `extra` widens the tolerance where the caller knows why.
inline void ExpectAgree(double english, double si, double factor, int english_decimals,
                        const std::string& what, double extra = 0.0) {
    const double converted = si * factor;
    const double tolerance = 0.5 * std::pow(10.0, -english_decimals) + 0.005 * factor +
                             2e-4 * std::fabs(english) + extra;
    EXPECT_NEAR(converted, english, tolerance) << what;
}

// The outcome of one run that the comparison needs: its run notes and its plot file as read.
struct TwinRun {
    const std::string& notes;
    const TResultGraphs& graphs;
};

// Expects the SI run to give the English run's results. `lrfd`: the last capacity column holds
// LRFD QU (tons) rather than QU per volume.
inline void ExpectSiAgreement(const TwinRun& english, const TwinRun& si, bool lrfd,
                              const std::string& name) {
    const auto english_rows = CapacityRows(english.notes);
    const auto si_rows = CapacityRows(si.notes);
    ASSERT_FALSE(english_rows.empty()) << name;
    ASSERT_EQ(english_rows.size(), si_rows.size()) << name;
    for (std::size_t r = 0; r < english_rows.size(); ++r) {
        const std::vector<double>& e = english_rows[r];
        const std::vector<double>& s = si_rows[r];
        const std::string row = name + ", row " + std::to_string(r + 1);
        ExpectAgree(e[0], s[0], kFtPerM, 1, row + " length");
        ExpectAgree(e[1], s[1], kCuYdPerCuM, 1, row + " volume");
        for (std::size_t k = 2; k < 7; ++k) {
            // The SI depths, converted back to feet, land a hair off the whole foot (the engine
            // allows 5e-5 of the depth). Where a column changes steeply with depth, as a
            // weak-rock base does just above the layer's bottom (QB from 102.7 to 10.2 tons in
            // the last foot), that hair moves the value by its slope times the offset.
            const double above = r > 0 ? std::fabs(e[k] - english_rows[r - 1][k]) : 0.0;
            const double below =
                r + 1 < english_rows.size() ? std::fabs(english_rows[r + 1][k] - e[k]) : 0.0;
            const double slope = std::max(above, below); // tons per foot, rows a foot apart
            ExpectAgree(e[k], s[k], kTonsPerKn, 1, row + " column " + std::to_string(k + 1),
                        slope * 1e-4 * std::fabs(e[0]));
        }
        ExpectAgree(e[7], s[7], lrfd ? kTonsPerKn : kTonsPerCuYdPerKnPerCuM, 2,
                    row + " last column");
    }
    // The shaft length of the (first) case agrees too.
    const std::string length = "SHAFT LENGTH              =";
    const std::size_t at_en = english.notes.find(length);
    const std::size_t at_si = si.notes.find(length);
    ASSERT_NE(at_en, std::string::npos) << name;
    ASSERT_NE(at_si, std::string::npos) << name;
    ExpectAgree(std::stod(english.notes.substr(at_en + length.size(), 9)),
                std::stod(si.notes.substr(at_si + length.size(), 9)), kFtPerM, 2,
                name + ", shaft length");

    // The capacity curves as the program reads them: two leading points and one per row, the
    // same curves in both unit systems (three significant digits in the file). The first
    // curve is the first case, whose rows come first in the run notes.
    const TGraphPlot& e_total = english.graphs.pltTotal;
    const TGraphPlot& s_total = si.graphs.pltTotal;
    ASSERT_EQ(s_total.LineCount(), e_total.LineCount()) << name;
    ASSERT_EQ(s_total.Count(), e_total.Count()) << name;
    ASSERT_LE(e_total.Count(), static_cast<int>(english_rows.size()) + 2) << name;
    for (int i = 0; i < e_total.LineCount(); ++i)
        for (int j = 2; j < e_total.Count(); ++j) {
            const TFloatPoint& e = e_total.Data(i, j);
            const TFloatPoint& s = s_total.Data(i, j);
            const std::string point =
                name + ", capacity curve " + std::to_string(i + 1) + ", point " + std::to_string(j);
            if (i == 0) {
                EXPECT_NEAR(e.Y, english_rows[static_cast<std::size_t>(j - 2)][0], 1e-9) << point;
                EXPECT_NEAR(e.X, english_rows[static_cast<std::size_t>(j - 2)][4],
                            0.005 * e.X + 0.05)
                    << point << " (QU)";
            }
            EXPECT_NEAR(s.Y * kFtPerM, e.Y, 0.005 * e.Y) << point;
            // Both files round to three significant digits.
            EXPECT_NEAR(s.X * kTonsPerKn, e.X, 0.0105 * std::fabs(e.X) + 0.01) << point;
        }

    // The load-settlement curves: the same loads (tons against kN) at the same settlements
    // (inches against metres), within the three significant digits of both files.
    const TGraphPlot* graphs[] = {&english.graphs.pltAxial, &english.graphs.pltUpper,
                                  &english.graphs.pltLower};
    const TGraphPlot* si_graphs[] = {&si.graphs.pltAxial, &si.graphs.pltUpper, &si.graphs.pltLower};
    for (std::size_t g = 0; g < 3; ++g) {
        ASSERT_EQ(graphs[g]->LineCount(), si_graphs[g]->LineCount()) << name;
        ASSERT_EQ(graphs[g]->Count(), si_graphs[g]->Count()) << name;
        for (int i = 0; i < graphs[g]->LineCount(); ++i)
            for (int k = 1; k < graphs[g]->Count(); ++k) {
                const TFloatPoint& e = graphs[g]->Data(i, k);
                const TFloatPoint& s = si_graphs[g]->Data(i, k);
                const std::string point = name + ", settlement graph " + std::to_string(g + 1) +
                                          ", curve " + std::to_string(i + 1) + ", point " +
                                          std::to_string(k);
                EXPECT_TRUE(std::isfinite(static_cast<double>(e.X)) &&
                            std::isfinite(static_cast<double>(e.Y)))
                    << point;
                EXPECT_NEAR(s.X * kTonsPerKn, e.X, 0.012 * std::fabs(e.X) + 1e-3)
                    << point << " load";
                EXPECT_NEAR(s.Y * 39.37, e.Y, 0.012 * std::fabs(e.Y) + 1e-6)
                    << point << " settlement";
            }
    }
}

} // namespace kolmar::engine::test
