// libFuzzer target for the plot-file reader, over the result graphs and a project as the program
// holds them. The first three bytes of an input choose the project's settings that steer the
// reader (multiple lengths, design charts, extra t-z curves, elevations, file generation,
// loading, design method, units, layers, factors of safety) and how it is called (with or
// without a message, from memory or from a file); the rest is the plot file. A read must end in
// a clean success or a message, with every value of a successful read finite; a second read
// into the same graphs, the other way round, must come to the same outcome.
#include "gui/data/DataUnit.h"
#include "gui/data/PltData.h"
#include "private_dir.h"
#include "ui/model/WordRead.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>

namespace {

namespace fs = std::filesystem;

void Check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "fuzz_plot_reader: %s\n", what);
        std::abort();
    }
}

struct TSettings {
    std::uint8_t b0 = 0, b1 = 0, b2 = 0;
    bool WithMessage() const { return (b1 & 0x40) == 0; }
    bool FromFile() const { return (b1 & 0x80) != 0; }
};

// A project with the settings of the first bytes: layers 10 ft (or m) apart, soil kinds cycling
// through the nine codes.
std::unique_ptr<TProgramData> ProjectFor(const TSettings& s) {
    auto p = TProgramData::Create();
    p->IPENT = s.b0 & 1;
    p->IChart = (s.b0 >> 1) & 1;
    p->PrintTZCurves = (s.b0 >> 2) & 1;
    p->UseElevation = (s.b0 >> 3) & 1;
    p->Yesnewversion = (s.b0 >> 4) & 1;
    p->KCYCL = (s.b0 & 0x20) ? 2 : 1;
    p->NLRFD = (s.b0 >> 6) & 3; // 0 and 3 are not methods; the reader must still cope
    p->fUnits = (s.b1 & 1) ? 2 : 1;
    const int layers = 1 + ((s.b1 >> 1) & 7);
    Check(p->D.SetRowCount(layers), "layer count");
    for (int i = 0; i < layers; ++i) {
        p->D[i].SetSoilType(1 + (i + ((s.b1 >> 4) & 3)) % 9);
        p->D[i].Depth = 10.0 * (i + 1);
    }
    // Factors of safety: 0 (bit 0; refused for a file of the previous generation, which needs
    // them), else by bits 6-7 the defaults, 1, or below 1 (a project may hold any positive one).
    constexpr double kFactors[4] = {0.0, 1.0, 0.5, 1e-300}; // [0] unused: the defaults
    if (s.b2 & 1) {
        p->FST = 0.0;
        p->FSB = 0.0;
    } else if (const int f = (s.b2 >> 6) & 3; f != 0) {
        p->FST = kFactors[f];
        p->FSB = kFactors[f];
    }
    p->ValElevation = (s.b2 & 2) ? 100.0 : 0.0;
    p->DSTART = (s.b2 & 4) ? 0.9 : 3.0;
    p->DIAMINCR = (s.b2 & 8) ? 0.5 : 0.0;
    p->ID2 = (s.b2 >> 4) & 3;
    return p;
}

// Reads from memory, or from a file in a private directory removed before the result is checked.
bool Read(TResultGraphs& G, TProgramData& P, std::string_view text, bool fromFile,
          std::string* error) {
    if (!fromFile) {
        TWordReader reader = TWordReader::FromText(text);
        return ReadPlotData(G, P, reader, error);
    }
    TPrivateDir dir;
    const fs::path file = dir.Path() / "fuzz.kx8p";
    std::ofstream(file, std::ios::binary)
        .write(text.data(), static_cast<std::streamsize>(text.size()));
    return ReadPlotData(G, P, file.string(), error);
}

const TLine& LineOf(const TGraphPlot& g, TLineSet set, int i) {
    switch (set) {
    case TLineSet::Main:
        return g.Lines(i);
    case TLineSet::Layer:
        return g.LayerLines(i);
    case TLineSet::Second:
        return g.Lines2(i);
    default:
        return g.Lines3(i);
    }
}

int LineCountOf(const TGraphPlot& g, TLineSet set) {
    switch (set) {
    case TLineSet::Main:
        return g.LineCount();
    case TLineSet::Layer:
        return g.LayerLineCount();
    case TLineSet::Second:
        return g.LineCount2();
    default:
        return g.LineCount3();
    }
}

constexpr TLineSet kSets[] = {TLineSet::Main, TLineSet::Layer, TLineSet::Second, TLineSet::Third};

// Everything the graphs show (names as text, points as their bytes), to compare two reads.
std::string Snapshot(TResultGraphs& G) {
    std::string out;
    for (TGraphPlot* g : G.All()) {
        out += g->Caption + '|' + g->XCaption + '|' + g->YCaption + '|' +
               std::to_string(g->Units()) + '\n';
        for (TLineSet set : kSets)
            for (int i = 0; i < LineCountOf(*g, set); ++i) {
                const TLine& line = LineOf(*g, set, i);
                out += line.LineName() + ':';
                out.append(reinterpret_cast<const char*>(line.Points.data()),
                           line.Points.size() * sizeof(TFloatPoint));
                out += '\n';
            }
    }
    return out + std::to_string(G.showtzcurves) + std::to_string(G.showloadcurves);
}

void CheckGraph(const TGraphPlot& g) {
    for (TLineSet set : kSets) {
        for (int i = 0; i < LineCountOf(g, set); ++i) {
            const TLine& line = LineOf(g, set, i);
            for (const TFloatPoint& pt : line.Points)
                Check(std::isfinite(pt.X) && std::isfinite(pt.Y), "a value that is not finite");
            Check(!line.LineName().empty(), "a curve without a name");
        }
    }
    Check(g.Units() >= 1 && g.Units() <= 3, "graph units out of range");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 1 << 18)
        return 0; // a plot file of a large run is some hundred kilobytes
    TSettings s;
    if (size >= 3) {
        s.b0 = data[0];
        s.b1 = data[1];
        s.b2 = data[2];
        data += 3;
        size -= 3;
    }
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    auto project = ProjectFor(s);
    TResultGraphs graphs;
    std::string error;
    const bool ok = Read(graphs, *project, text, s.FromFile(), s.WithMessage() ? &error : nullptr);
    if (s.WithMessage()) {
        Check(ok == error.empty(), "the outcome and the message disagree");
        Check(error.size() < 1000, "unexpectedly long message");
    }
    std::string first;
    if (ok) {
        first = Snapshot(graphs);
        for (TGraphPlot* g : graphs.All())
            CheckGraph(*g);
        graphs.ShowOutput = true;
        const TGraphicsMenuState menu = OfferGraphs(graphs, *project, true);
        for (int item = 0; item < giItemCount; ++item)
            if (menu[static_cast<std::size_t>(item)].Enabled)
                GraphOfItem(graphs, item);
        ResultButtons(graphs);
    }

    // The program refills the same graphs on every read: the outcome must not depend on what
    // they held. The second read takes the other way of asking for the message.
    auto again = ProjectFor(s);
    std::string second;
    const bool ok2 = Read(graphs, *again, text, !s.FromFile(), s.WithMessage() ? nullptr : &second);
    Check(ok2 == ok, "a second read into the same graphs comes out differently");
    if (!s.WithMessage())
        Check(ok2 == second.empty(), "the outcome and the message disagree");
    if (ok)
        Check(Snapshot(graphs) == first, "a second read into the same graphs shows other values");
    return 0;
}
