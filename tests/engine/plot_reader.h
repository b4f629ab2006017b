// A plot-file reader for the engine tests that walks the file the way the program takes it:
// whitespace-separated words, with line breaks mattering only where sections 3 and 4 begin.
// Section 1 (capacity curves with their load-settlement records), section 2 (design charts,
// when the project asks for them), section 3 (additional t-z, t-z and q-w curves) and section 4
// (load distribution, NP - 2 records per load level of the first curve). Every count read
// decides how much is read next, so a count that does not match the records puts the reader out
// of step and fails the test.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <charconv>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

namespace kolmar::engine::test {

struct PlotPoint {
    double x = 0.0, y = 0.0;
};

struct PlotCurve {
    int points = 0;                                               // NP of the curve's header
    std::vector<std::array<double, 7>> capacity;                  // NP records of seven values
    std::array<std::vector<std::array<double, 4>>, 3> settlement; // 15 records per series
};

struct PlotChartLine {
    double diameter = 0.0;
    std::vector<PlotPoint> pairs; // (length, load)
};
struct PlotChart {
    double movement = 0.0;
    std::vector<PlotChartLine> lines; // one per diameter
};

struct PlotTzCurve {
    double head = 0.0; // depth of a t-z curve, diameter of a q-w curve
    double count = 0;  // the number of points its head announces
    std::vector<PlotPoint> points;
};

struct PlotFileContent {
    int NC = 0, NS = 0;
    std::vector<PlotCurve> curves;
    int NT = 0, ND = 0, NQ = 0;
    std::vector<PlotChart> charts;
    bool has_tz_section = false;
    std::vector<PlotTzCurve> additional_tz, tz, qw;
    bool has_distribution = false;
    std::vector<std::vector<std::array<double, 3>>> distribution; // 15 groups
    bool complete = false; // every word was read, nothing was left over
};

class PlotWords {
public:
    explicit PlotWords(const std::string& text) {
        std::istringstream in(text);
        int line = 0;
        for (std::string row; std::getline(in, row); ++line) {
            std::istringstream words(row);
            for (std::string w; words >> w;)
                words_.push_back({w, line});
        }
    }
    bool AtEnd() const { return next_ >= words_.size(); }
    double Real() {
        if (AtEnd()) {
            ok_ = false;
            return 0.0;
        }
        const std::string& w = words_[next_++].text;
        double v = 0.0;
        const auto r = std::from_chars(w.data(), w.data() + w.size(), v);
        if (r.ec != std::errc() || r.ptr != w.data() + w.size() || !std::isfinite(v)) {
            ADD_FAILURE() << "plot word " << next_ << " \"" << w << "\" is not a finite number";
            ok_ = false;
        }
        return v;
    }
    int Int() {
        const double v = Real();
        if (v != std::floor(v)) {
            ADD_FAILURE() << "plot word " << next_ << " is not a whole number: " << v;
            ok_ = false;
        }
        return static_cast<int>(v);
    }
    // Moves to the first word of the line after the last word read.
    void NextLine() {
        if (next_ == 0)
            return;
        const int line = words_[next_ - 1].line;
        while (!AtEnd() && words_[next_].line == line)
            ++next_;
    }
    bool ok() const { return ok_; }

private:
    struct Word {
        std::string text;
        int line;
    };
    std::vector<Word> words_;
    std::size_t next_ = 0;
    bool ok_ = true;
};

inline std::vector<PlotTzCurve> ReadTzCurves(PlotWords& in, bool qw) {
    const int count = in.Int();
    std::vector<PlotTzCurve> curves;
    if (count < 0 || count > 10000 || !in.ok()) {
        ADD_FAILURE() << "curve count " << count;
        return curves;
    }
    curves.resize(static_cast<std::size_t>(count));
    for (PlotTzCurve& c : curves) {
        // q-w: number, diameter, points; t-z: number, points, depth.
        in.Int();
        c.head = in.Real();
        const double third = in.Real();
        c.count = qw ? third : c.head;
        if (!qw)
            c.head = third;
        for (int j = 0; j < 10; ++j) {
            PlotPoint p;
            p.y = in.Real();
            p.x = in.Real();
            c.points.push_back(p);
        }
    }
    return curves;
}

// Reads a whole plot file. `charts` and `additional_tz` are the project's IChart = 1 and
// PrintTZCurves = 1.
inline PlotFileContent ReadPlotFileContent(const std::string& text, bool charts,
                                           bool additional_tz) {
    PlotFileContent f;
    PlotWords in(text);
    f.NC = in.Int();
    int points = in.Int();
    f.NS = in.Int();
    if (f.NC < 1 || f.NC > 1000 || !in.ok()) {
        ADD_FAILURE() << "curve count NC " << f.NC;
        return f;
    }
    for (int i = 0; i < f.NC; ++i) {
        PlotCurve c;
        c.points = points;
        if (i > 0 && points > f.curves.front().points)
            ADD_FAILURE() << "curve " << i + 1 << " has more points than the first";
        for (int p = 0; p < points && in.ok(); ++p) {
            std::array<double, 7> record{};
            for (double& v : record)
                v = in.Real();
            c.capacity.push_back(record);
        }
        const int series = f.NS > 2 ? 3 : 1;
        for (int s = 0; s < series; ++s)
            for (int k = 0; k < 15; ++k) {
                std::array<double, 4> record{};
                for (double& v : record)
                    v = in.Real();
                c.settlement[static_cast<std::size_t>(s)].push_back(record);
            }
        f.curves.push_back(c);
        if (i + 1 < f.NC) {
            in.Int();
            points = in.Int();
            in.Int();
        }
    }
    if (charts) {
        f.NT = in.Int();
        f.ND = in.Int();
        f.NQ = in.Int();
        for (int k = 0; k < f.NT && in.ok(); ++k) {
            PlotChart chart;
            chart.movement = in.Real();
            for (int j = 0; j < f.ND && in.ok(); ++j) {
                PlotChartLine line;
                line.diameter = in.Real();
                for (int q = 0; q < f.NQ; ++q) {
                    PlotPoint p;
                    p.x = in.Real();
                    p.y = in.Real();
                    line.pairs.push_back(p);
                }
                chart.lines.push_back(line);
            }
            f.charts.push_back(chart);
        }
    }
    in.NextLine();
    if (!in.AtEnd()) {
        f.has_tz_section = true;
        if (additional_tz)
            f.additional_tz = ReadTzCurves(in, false);
        f.tz = ReadTzCurves(in, false);
        f.qw = ReadTzCurves(in, true);
        in.NextLine();
        if (!in.AtEnd()) {
            f.has_distribution = true;
            const int records = f.curves.front().points - 2;
            for (int k = 0; k < 15; ++k) {
                std::vector<std::array<double, 3>> group;
                for (int e = 0; e < records; ++e) {
                    std::array<double, 3> record{};
                    for (double& v : record)
                        v = in.Real();
                    group.push_back(record);
                }
                f.distribution.push_back(group);
            }
        }
    }
    f.complete = in.ok() && in.AtEnd();
    return f;
}

} // namespace kolmar::engine::test
