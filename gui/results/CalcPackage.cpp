// The calculation package's contents from a results file: every number is read from the file,
// none computed here but the printed sum check of the per-layer side resistances.
#include "gui/results/CalcPackage.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <sstream>
#include <stdexcept>
#include <tuple>

namespace {

using TRow = std::vector<std::string>;

const TJson kNull;

const TJson& Member(const TJson& Object, const char* Key) {
    const TJson* found = Object.Find(Key);
    return found ? *found : kNull;
}

double Number(const TJson& Value) {
    if (Value.Kind != TJson::TKind::Number)
        return std::nan("");
    double v = 0.0;
    const char* end = Value.Text.data() + Value.Text.size();
    if (std::from_chars(Value.Text.data(), end, v).ec != std::errc())
        return std::nan("");
    return v;
}

// A number of the file in the report's way; a missing or non-finite value prints as "-".
std::string Cell(const TJson& Value, int Decimals) {
    const double v = Number(Value);
    return std::isfinite(v) ? PrintedNumber(v, Decimals) : std::string("-");
}

// Values of 1e10 and above are the engine's "no limit" (told before any unit conversion);
// `Factor` converts the value into the project's unit.
std::string ParameterText(const TJson& Value, bool Estimated, double Factor = 1.0) {
    const double raw = Number(Value);
    if (!std::isfinite(raw))
        return "-";
    const double v = raw * Factor;
    std::string text =
        raw >= 1e10 ? std::string("none") : PrintedNumber(v, std::fabs(v) < 10 ? 3 : 1);
    return Estimated ? text + "  (*)" : text;
}

TReportBlock Heading(const std::string& Text) {
    TReportBlock b;
    b.Kind = TReportBlock::TKind::Heading;
    b.Text = Text;
    return b;
}

TReportBlock Text(const std::string& Text) {
    TReportBlock b;
    b.Text = Text;
    return b;
}

TReportBlock Table(TRow Header, std::vector<TRow> Rows, const std::string& Caption = {}) {
    TReportBlock b;
    b.Kind = TReportBlock::TKind::Table;
    b.Header = std::move(Header);
    b.Rows = std::move(Rows);
    b.Text = Caption;
    return b;
}

double RawValueOf(const TJson& Values, const std::string& Name) {
    for (const TJson& v : Values.Items)
        if (Member(v, "name").Text == Name)
            return Number(Member(v, "value"));
    return std::nan("");
}

// The input as an engineer reads it: the program's wording, grouped, each value in the
// project's units. The results file gives the engine's own values, in its internal English
// units; an SI project's values are shown converted back. Codes are shown by their meaning.
struct TInputLabel {
    const char* Name;
    const char* Group;
    const char* Label;
};
constexpr TInputLabel kInputLabels[] = {
    {"METHOD", "Design control", "Design control (1 design load, 2 proposed length)"},
    {"P", "Design control", "Design load"},
    {"DGH", "Design control", "Proposed shaft length"},
    {"NLRFD", "Design control", "Design method (1 LRFD, 2 ASD)"},
    {"FST", "Design control", "Factor of safety, side"},
    {"FSB", "Design control", "Factor of safety, base"},
    {"KCYCL", "Loading", "Loading (1 compression, 2 uplift)"},
    {"RCYCL", "Loading", "Uplift reduction factor on side resistance"},
    {"DSTART", "Shaft", "Stem diameter"},
    {"DIALIM", "Shaft", "Largest stem diameter"},
    {"Ec", "Shaft", "Concrete modulus"},
    {"RATIO", "Bell", "Base to stem diameter ratio (0: no bell)"},
    {"BELANGL", "Bell", "Bell angle"},
    {"TOPLENG", "Ignored portions", "Top portion without side resistance"},
    {"BS", "Ignored portions", "Bottom portion without side resistance"},
    {"WTD", "Site", "Water table depth"},
    {"UseElevation", "Site", "Elevations shown (1 yes)"},
    {"ValElevation", "Site", "Elevation of the shaft top"},
    {"IMOD", "Options", "Base reduction for large diameters (1 on)"},
    {"PINC", "Options", "Output depth increment"},
    {"IPENT", "Options", "Several shaft lengths (1 yes)"},
    {"IChart", "Options", "Design charts (1 yes)"},
    {"PDMIN", "Options", "Shortest shaft length"},
    {"PDINCR", "Options", "Shaft length increment"},
    {"DIAMINCR", "Options", "Diameter increment"},
    {"NPOINTPD", "Options", "Design-chart settlements"},
    {"PrintTZCurves", "Options", "Additional t-z curves (1 yes)"},
};

// A value in the engine's English unit shown in the project's units.
struct TShownValue {
    double Value;
    std::string Unit;
};
TShownValue InProjectUnits(double Value, const std::string& Unit, bool Si) {
    if (!Si)
        return {Value, Unit};
    static const std::tuple<const char*, double, const char*> kToSi[] = {
        {"ft", 0.3048, "m"},         {"in", 0.0254, "m"},      {"tons", 8.896443, "kN"},
        {"psf", 0.04788026, "kPa"},  {"tsf", 95.76052, "kPa"}, {"psi", 6.894757, "kPa"},
        {"pcf", 0.1570875, "kN/m3"},
    };
    for (const auto& [from, factor, to] : kToSi)
        if (Unit == from)
            return {Value * factor, to};
    return {Value, Unit};
}

// Four significant digits, without trailing zeros: what the engineer typed reads back through
// the engine's conversion.
std::string Significant(double Value) {
    if (!std::isfinite(Value))
        return "-";
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, Value, std::chars_format::general, 4);
    return result.ec == std::errc() ? std::string(buffer, result.ptr) : std::string("-");
}

void CoverBlock(TReportDocument& Doc, const TJson& Results, const TJson& Input,
                const TReportSignOff& SignOff) {
    const TJson& values = Member(Input, "values");
    const bool lrfd = RawValueOf(values, "NLRFD") == 1.0;
    Doc.Blocks.push_back(Heading("Calculation package"));
    std::vector<TRow> rows = {
        {"Project", Doc.Title},
        {"Project file", Doc.FileName},
        {"SHA-256", Member(Input, "sha256").Text},
        {"Run", Member(Results, "date").Text + " " + Member(Results, "time").Text},
        {"Engine version", Member(Results, "engine_version").Text},
        {"Units", Member(Input, "unit_system").Text == "SI" ? "SI" : "English"},
        {"Design method", lrfd ? std::string("LRFD (resistance factors per layer)")
                               : "ASD, factors of safety " +
                                     PrintedNumber(RawValueOf(values, "FST"), 2) + " (side), " +
                                     PrintedNumber(RawValueOf(values, "FSB"), 2) + " (base)"},
    };
    const double load = RawValueOf(values, "P");
    const bool si = Member(Input, "unit_system").Text == "SI";
    const auto shown = [&](const char* Name, const char* Unit) {
        const TShownValue v = InProjectUnits(RawValueOf(values, Name), Unit, si);
        return PrintedNumber(v.Value, si ? 2 : 1) + " " + v.Unit;
    };
    if (load > 0)
        rows.push_back({"Design load", shown("P", "tons")});
    else
        rows.push_back({"Proposed length", shown("PD", "ft")});
    Doc.Blocks.push_back(Table({"Item", "Value"}, rows));
    const auto line = [](const std::string& Name) {
        return Name.empty() ? std::string("______________________") : Name;
    };
    Doc.Blocks.push_back(Table({"Sign-off", "Name", "Date", "Revision"},
                               {{"Prepared by", line(SignOff.PreparedBy), "__________", "____"},
                                {"Checked by", line(SignOff.CheckedBy), "__________", "____"}}));
}

void InputEcho(TReportDocument& Doc, const TJson& Input) {
    Doc.Blocks.push_back(Heading("Input"));
    const bool si = Member(Input, "unit_system").Text == "SI";
    const TJson& values = Member(Input, "values");
    std::vector<TRow> rows;
    for (const TInputLabel& label : kInputLabels)
        for (const TJson& v : values.Items) {
            if (Member(v, "name").Text != label.Name)
                continue;
            const TShownValue shown =
                InProjectUnits(Number(Member(v, "value")), Member(v, "unit").Text, si);
            rows.push_back({label.Group, label.Label, Significant(shown.Value), shown.Unit});
        }
    Doc.Blocks.push_back(Table({"Group", "Item", "Input", "Unit"}, rows,
                               si ? "values in the project's SI units" : ""));
    for (const auto& [key, unitKey, label] :
         {std::tuple{"chart_settlements", "chart_settlements_unit", "Chart settlements"},
          std::tuple{"tz_depths", "tz_depths_unit", "t-z curve depths"}}) {
        const TJson& list = Member(Input, key);
        if (list.Items.empty())
            continue;
        std::string text = std::string(label) + " (" + Member(Input, unitKey).Text + "):";
        for (const TJson& v : list.Items)
            text += " " + Cell(v, 3);
        Doc.Blocks.push_back(Text(text));
    }
}

// A layer parameter by the name an engineer knows it; the engine's name for any other.
std::string ParameterLabel(const std::string& Name) {
    static const std::pair<const char*, const char*> kLabels[] = {
        {"NC", "Nc"},
        {"GAMMA", "unit weight"},
        {"PHI", "friction angle"},
        {"DELTA", "interface angle"},
        {"BLOWS", "N"},
        {"TRANLM", "max. unit side"},
        {"QMAX", "max. unit base"},
        {"LRFDS", "resistance factor side"},
        {"LRFDB", "resistance factor base"},
        {"ISIDE", "side method"},
        {"KO", "Ko"},
        {"BETA", "beta"},
        {"M", "m"},
        {"CU", "cohesion"},
        {"ALPHA", "alpha"},
        {"QUR", "rock strength qu"},
        {"QUCON", "concrete strength f'c"},
        {"CS", "discontinuity spacing"},
        {"DISCT", "discontinuity thickness"},
        {"BDS", "socket diameter"},
        {"EL", "rock modulus"},
        {"RQD", "RQD"},
        {"ICOND", "interface condition"},
        {"SLUMP", "concrete slump"},
        {"POISSON", "Poisson's ratio"},
        {"EGM", "modulus"},
    };
    for (const auto& [name, label] : kLabels)
        if (Name == name)
            return label;
    return Name;
}

void SoilProfile(TReportDocument& Doc, const TJson& Input) {
    const TJson& layers = Member(Input, "layers");
    if (layers.Items.empty())
        return;
    Doc.Blocks.push_back(Heading("Soil profile"));
    const bool si = Member(Input, "unit_system").Text == "SI";
    // The factor and unit that show a value of the engine's unit in the project's units.
    const auto toProject = [si](const std::string& Unit) {
        const TShownValue one = InProjectUnits(1.0, Unit, si);
        return std::pair{one.Value, one.Unit};
    };
    std::vector<TRow> rows;
    const auto [depthFactor, unit] = toProject(Member(layers.Items.front(), "depth_unit").Text);
    for (const TJson& l : layers.Items) {
        std::string parameters;
        for (const TJson& v : Member(l, "values").Items) {
            if (!parameters.empty())
                parameters += "; ";
            const auto [factor, shownUnit] = toProject(Member(v, "unit").Text);
            parameters +=
                ParameterLabel(Member(v, "name").Text) + " " +
                ParameterText(Member(v, "top"), Member(v, "estimated_top").Text == "true", factor) +
                " / " +
                ParameterText(Member(v, "bottom"), Member(v, "estimated_bottom").Text == "true",
                              factor) +
                " " + shownUnit;
        }
        rows.push_back({Cell(Member(l, "layer"), 0),
                        PrintedNumber(Number(Member(l, "top")) * depthFactor, 2),
                        PrintedNumber(Number(Member(l, "bottom")) * depthFactor, 2),
                        Member(l, "material").Text, Member(l, "method").Text, parameters});
    }
    Doc.Blocks.push_back(Table({"Layer", "Top (" + unit + ")", "Bottom (" + unit + ")", "Material",
                                "Method", "Parameters, top / bottom (* estimated)"},
                               rows));
    TReportBlock elevation;
    elevation.Kind = TReportBlock::TKind::Elevation;
    elevation.Text = "Elevation of the shaft in the soil layers, to scale, with the water table";
    Doc.Blocks.push_back(elevation);
}

void MethodBlock(TReportDocument& Doc, const TJson& Input) {
    std::vector<TRow> rows;
    std::vector<std::string> seen;
    for (const TJson& l : Member(Input, "layers").Items) {
        const std::string material = Member(l, "material").Text;
        const std::string method = Member(l, "method").Text;
        if (std::find(seen.begin(), seen.end(), material + "/" + method) != seen.end())
            continue;
        seen.push_back(material + "/" + method);
        for (const TMethodLine& m : MethodSummary())
            if (material == m.Material && method == m.Method)
                rows.push_back({m.Material, m.Method, m.Formulas, m.Source});
    }
    if (rows.empty())
        return;
    Doc.Blocks.push_back(Heading("Method summary"));
    Doc.Blocks.push_back(Table({"Material", "Method", "Formulas", "Source"}, rows));
}

void DesignResults(TReportDocument& Doc, const TJson& Results, bool Lrfd, bool Si) {
    const TJson& cases = Member(Results, "cases");
    if (cases.Items.empty())
        return;
    const TJson& c = cases.Items.front();
    const TJson& design = Member(c, "design");
    if (design.Kind != TJson::TKind::Object)
        return;
    const TJson& units = Member(Member(Results, "units"), "force");
    const std::string force = units.Text;
    const std::string length = Member(Member(Results, "units"), "length").Text;
    Doc.Blocks.push_back(Heading("Results at the design length"));
    Doc.Blocks.push_back(
        Text("Diameter " + Cell(Member(c, "diameter"), 2) + " " + length + ", length " +
             Cell(Member(design, "L"), 1) + " " + length +
             (cases.Items.size() > 1 ? " (case 1 of " + std::to_string(cases.Items.size()) + ")"
                                     : std::string())));
    // Decimals as the report prints its capacity table: one for English units, two for SI.
    const int places = Si ? 2 : 1;
    TRow header = {"Length (" + length + ")", "QS (" + force + ")", "QB (" + force + ")",
                   "QU (" + force + ")"};
    TRow designRow = {Cell(Member(design, "L"), places), Cell(Member(design, "QS"), places),
                      Cell(Member(design, "QB"), places), Cell(Member(design, "QU"), places)};
    if (Lrfd) {
        for (const char* name : {"QS", "QB", "QU"}) {
            header.push_back(std::string(name) + " factored (" + force + ")");
            // The report prints the factored total with one more decimal.
            const int decimals = std::string(name) == "QU" ? places + 1 : places;
            designRow.push_back(
                Cell(Member(design, (std::string(name) + "_lrfd").c_str()), decimals));
        }
    } else {
        header.push_back("QBD allowable, F.S. on base (" + force + ")");
        header.push_back("QDN allowable, F.S. on side and base (" + force + ")");
        designRow.push_back(Cell(Member(design, "QBD"), places));
        designRow.push_back(Cell(Member(design, "QDN"), places));
    }
    Doc.Blocks.push_back(Table(header, {designRow}));
    const TJson& table = Member(c, "layer_resistance");
    std::vector<TRow> rows;
    for (const TJson& r : Member(table, "rows").Items) {
        TRow row;
        for (std::size_t i = 0; i < r.Items.size(); ++i)
            row.push_back(Cell(r.Items[i], i < 2 ? 0 : (i == 9 ? 3 : (i >= 7 ? places : 2))));
        rows.push_back(row);
    }
    TRow columns;
    for (const TJson& col : Member(table, "columns").Items)
        columns.push_back(Member(col, "name").Text + " (" + Member(col, "unit").Text + ")");
    if (!rows.empty())
        Doc.Blocks.push_back(Table(columns, rows, "Side resistance per layer"));
    const TJson& base = Member(c, "base");
    if (base.Kind == TJson::TKind::Object)
        Doc.Blocks.push_back(Text("Base: layer " + Cell(Member(base, "layer"), 0) + ", qb " +
                                  Cell(Member(base, "qb"), 2) + " " +
                                  Member(Member(base, "units"), "qb").Text + ", QB " +
                                  Cell(Member(base, "QB"), places) + " " + force));
}

// The shaft-top loads at the chart settlements for the first case's diameter and length, as the
// results file's design-chart table holds them; settlements in metres when given in mm.
std::vector<std::pair<double, double>> SettlementMarks(const TJson& Results) {
    std::vector<std::pair<double, double>> marks;
    const TJson& charts = Member(Results, "design_charts");
    const TJson& cases = Member(Results, "cases");
    if (charts.Kind != TJson::TKind::Object || cases.Items.empty())
        return marks;
    const TJson& columns = Member(charts, "columns");
    if (columns.Items.size() < 4)
        return marks;
    const std::string unit = Member(columns.Items[0], "unit").Text;
    const double scale = unit == "mm" ? 0.001 : (unit == "cm" ? 0.01 : 1.0);
    const double diameter = Number(Member(cases.Items.front(), "diameter"));
    const double length = Number(Member(cases.Items.front(), "length"));
    for (const TJson& row : Member(charts, "rows").Items) {
        if (row.Items.size() < 4)
            continue;
        const double s = Number(row.Items[0]) * scale;
        const double load = Number(row.Items[3]);
        if (Number(row.Items[1]) == diameter && Number(row.Items[2]) == length &&
            std::isfinite(s) && std::isfinite(load))
            marks.emplace_back(load, s);
    }
    return marks;
}

} // namespace

std::string PrintedNumber(double Value, int Decimals) {
    if (!std::isfinite(Value))
        return "-"; // a value the results file does not give is never printed as "nan"
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, Value, std::chars_format::fixed, Decimals);
    return result.ec == std::errc() ? std::string(buffer, result.ptr) : std::string("-");
}

const std::vector<TMethodLine>& MethodSummary() {
    // Stresses s'v are vertical effective stresses; fs unit side and qb unit base resistance.
    // The lines follow the technical manual, section 3, with its references.
    static const std::vector<TMethodLine> kLines = {
        {"sand", "beta method",
         "fs = beta s'v <= 2.1 tsf; beta = 1.5 - 0.135 sqrt(z) (z in ft) when not given, times "
         "N/15 for N < 15, 0.25 <= beta <= 1.2; qb = 0.6 N <= 30 tsf; QB = qb pi Bb^2 / 4",
         "O'Neill and Reese (1999), FHWA-IF-99-025"},
        {"sand", "Ko method",
         "fs = Ko s'v tan(delta), delta = phi when not given; qb = 0.6 N <= 30 tsf; "
         "QB = qb pi Bb^2 / 4",
         "O'Neill and Reese (1999), FHWA-IF-99-025"},
        {"sand", "Kulhawy and Chen method",
         "OCR = max(1, 0.47 pa N^m / s'v); K0 = (1 - sin phi) OCR^(sin phi) <= tan^2(45 + "
         "phi/2); fs = K0 s'v tan(delta); qb = 0.6 N <= 30 tsf",
         "Chen and Kulhawy (2002); base: O'Neill and Reese (1999)"},
        {"clay", "alpha method",
         "fs = alpha cu, alpha = 0.55 for cu/pa <= 1.5, 0.55 - 0.1 (cu/pa - 1.5) to 2.5, 0.40 "
         "above; qb = Nc cu, Nc = 6 (1 + 0.2 L/Bb) <= 9, qb <= 40 tsf; without cu, cu = N/10 tsf",
         "O'Neill and Reese (1999), FHWA-IF-99-025"},
        {"clay shale", "alpha method",
         "as clay; without cu: side cu = 2000 N / 53 psf, base cu = N/10 tsf",
         "Aurora and Reese (1977); O'Neill and Reese (1999)"},
        {"strong rock (side or base)", "rock socket",
         "qu = min(rock, concrete); fs = 0.15 qu (qu <= 280 psi), 2.5 sqrt(qu) psi above; "
         "QB = 3 qu Ksp pi Bs^2 / 4, Ksp = (3 + s/Bs) / (10 sqrt(1 + 300 td/s)); base alone "
         "when qu > 1000 psi, side alone otherwise",
         "Horvath and Kenney (1979); O'Neill and Reese (1999); Canadian Foundation Engineering "
         "Manual (1985)"},
        {"strong rock (side and base)", "rock socket",
         "qu = min(rock, concrete); fs = 0.15 qu (qu <= 280 psi), 2.5 sqrt(qu) psi above; "
         "QB = 3 qu Ksp pi Bs^2 / 4, Ksp = (3 + s/Bs) / (10 sqrt(1 + 300 td/s)); side and base "
         "together",
         "Horvath and Kenney (1979); O'Neill and Reese (1999); Canadian Foundation Engineering "
         "Manual (1985)"},
        {"decomposed rock or gravel", "decomposed rock method",
         "R = 0.2 N pa / s'v; phi' = arctan[(N / (12.2 + 20.3 s'v/pa))^0.34]; K0 = (1 - sin "
         "phi') R^(sin phi'); fs = K0 s'v tan(0.75 phi'); qb = 2.1459 s'v R^0.8",
         "O'Neill et al. (1996), FHWA-RD-95-172; O'Neill and Reese (1999)"},
        {"weak rock", "weak rock method",
         "sigma_n = 150 pcf zc M; f = 0.5 qu (rough) or alpha tan(phi_rc) qu / tan 30 (smooth), "
         "reduced by the joint factor of Em/Ei; base <= 2.5 qu; side and base mobilized by the "
         "socket stiffness factors",
         "O'Neill et al. (1996), FHWA-RD-95-172"},
        {"gravelly sand", "beta method",
         "fs = beta s'v, beta = 2.0 - 0.15 z^0.75 (z in m), 0.25 <= beta <= 1.8 when not given; "
         "qb = 0.6 N <= 30 tsf",
         "Rollins et al. (2005)"},
        {"gravel", "beta method",
         "fs = beta s'v, beta = 3.4 e^(-0.085 z) (z in m), 0.25 <= beta <= 3.0 when not given; "
         "qb = 0.6 N <= 30 tsf",
         "Rollins et al. (2005)"},
    };
    return kLines;
}

TReportDocument BuildReport(const TJson& Results, const std::string& ProjectFile,
                            const TReportSignOff& SignOff, const std::vector<std::string>& Graphs,
                            const std::vector<std::string>& ReportWarnings) {
    if (!IsResultsFile(Results))
        throw std::runtime_error(kNotAResultsFile);
    CaseCapacityTables(Results); // a case naming no table makes the file unreadable
    TReportDocument doc;
    const TJson& input = Member(Results, "input");
    doc.Title = Member(input, "title").Text;
    doc.FileName = std::filesystem::path(ProjectFile).filename().string();
    const bool lrfd = RawValueOf(Member(input, "values"), "NLRFD") == 1.0;
    CoverBlock(doc, Results, input, SignOff);
    InputEcho(doc, input);
    SoilProfile(doc, input);
    MethodBlock(doc, input);
    DesignResults(doc, Results, lrfd, Member(input, "unit_system").Text == "SI");

    std::vector<std::string> graphs = Graphs;
    if (graphs.empty()) {
        graphs = {"pltCombine", "pltCombinedSettle"};
        // A design-chart run: one chart per chart settlement (ten at most, as the program has).
        if (Member(Results, "design_charts").Kind == TJson::TKind::Object) {
            const std::size_t charts =
                std::min<std::size_t>(Member(input, "chart_settlements").Items.size(), 10);
            for (std::size_t i = 1; i <= std::max<std::size_t>(charts, 1); ++i)
                graphs.push_back("PltChart" + std::to_string(i));
        }
    }
    for (const std::string& g : graphs) {
        TReportBlock b;
        b.Kind = TReportBlock::TKind::Figure;
        b.Graph = g;
        if (g == "pltCombinedSettle")
            b.Marks = SettlementMarks(Results);
        doc.Blocks.push_back(b);
    }
    std::vector<std::string> warnings;
    for (const TJson& m : Member(Results, "messages").Items)
        warnings.push_back(Member(m, "text").Text);
    // A block the report prints for every case of a run is shown once.
    for (const std::string& w : ReportWarnings)
        if (std::find(warnings.begin(), warnings.end(), w) == warnings.end())
            warnings.push_back(w);
    if (!warnings.empty())
        doc.Blocks.push_back(Heading("Warnings"));
    for (const std::string& w : warnings) {
        TReportBlock b;
        b.Kind = TReportBlock::TKind::Warning;
        b.Text = w;
        doc.Blocks.push_back(b);
    }
    return doc;
}

std::vector<std::string> ReportWarningBlocks(const std::string& ReportText) {
    std::vector<std::string> blocks;
    std::istringstream lines(ReportText);
    std::string block;
    bool inside = false;
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const bool blank = line.find_first_not_of(' ') == std::string::npos;
        if (!inside && line.find("WARNING") != std::string::npos)
            inside = true;
        if (!inside)
            continue;
        if (blank) {
            blocks.push_back(block);
            block.clear();
            inside = false;
            continue;
        }
        block += (block.empty() ? "" : "\n") + line;
    }
    if (inside && !block.empty())
        blocks.push_back(block);
    return blocks;
}
