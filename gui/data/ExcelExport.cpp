// The workbook of exported graphs, written with libxlsxwriter: the "Legend" index sheet, a data
// sheet and a chart sheet per graph. The chart legend's border and fill, which the library has
// no call for, are added to the chart parts of the finished package. Also the CSV text of a
// graph.
#include "gui/data/ExcelExport.h"

#include "gui/data/ZipPackage.h"
#include "ui/model/NumberText.h"
#include "ui/model/units.h"

#include <xlsxwriter.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <system_error>

namespace fs = std::filesystem;

namespace {

const std::array<TExportRow, TResultGraphs::GraphCount> kRows = {{
    {1, "pltSkin", &TResultGraphs::pltSkin, giSkin},
    {2, "pltTip", &TResultGraphs::pltTip, giTip},
    {3, "pltTotal", &TResultGraphs::pltTotal, giTotal},
    {4, "FSpltSkin", &TResultGraphs::FSpltSkin, giFSSkin},
    {5, "FSpltTip", &TResultGraphs::FSpltTip, giFSTip},
    {6, "FSpltTotal", &TResultGraphs::FSpltTotal, giFSTotal},
    {7, "pltCombine", &TResultGraphs::pltCombine, giCombine},
    {8, "pltCombineD", &TResultGraphs::pltCombineD, giCombineD},
    {9, "pltAxial", &TResultGraphs::pltAxial, giAxial},
    {10, "pltUpper", &TResultGraphs::pltUpper, giUpper},
    {11, "pltLower", &TResultGraphs::pltLower, giLower},
    {12, "pltCombinedSettle", &TResultGraphs::pltCombinedSettle, giCombinedSettle},
    {13, "pltTz", &TResultGraphs::pltTz, giTz},
    {14, "pltQw", &TResultGraphs::pltQw, giQw},
    {15, "pltTzAdd", &TResultGraphs::pltTzAdd, giTzAdd},
    {16, "pltLoad", &TResultGraphs::pltLoad, giLoad},
    {17, "PltChart1", &TResultGraphs::PltChart1, static_cast<TGraphicsItem>(giChart1)},
    {18, "PltChart2", &TResultGraphs::PltChart2, static_cast<TGraphicsItem>(giChart1 + 1)},
    {19, "PltChart3", &TResultGraphs::PltChart3, static_cast<TGraphicsItem>(giChart1 + 2)},
    {20, "PltChart4", &TResultGraphs::PltChart4, static_cast<TGraphicsItem>(giChart1 + 3)},
    {21, "PltChart5", &TResultGraphs::PltChart5, static_cast<TGraphicsItem>(giChart1 + 4)},
    {22, "PltChart6", &TResultGraphs::PltChart6, static_cast<TGraphicsItem>(giChart1 + 5)},
    {23, "PltChart7", &TResultGraphs::PltChart7, static_cast<TGraphicsItem>(giChart1 + 6)},
    {24, "PltChart8", &TResultGraphs::PltChart8, static_cast<TGraphicsItem>(giChart1 + 7)},
    {25, "PltChart9", &TResultGraphs::PltChart9, static_cast<TGraphicsItem>(giChart1 + 8)},
    {26, "PltChart10", &TResultGraphs::PltChart10, static_cast<TGraphicsItem>(giChart1 + 9)},
}};

// Headings of the Legend sheet, row 2, columns B to F; their blanks set the columns' widths.
const std::array<const char*, 5> kLegendHeads = {
    "     N    ", "                             Plot Name                             ",
    "  Sheet Name  ", "  Chart Name  ", "          Status          "};

constexpr int kFirstDataRow = 6; // 1-based row of the first point on a data sheet

// A value as the general format with 15 significant digits reads it back: what a cell would
// hold had the number been typed in as text.
double GeneralValue(double V) {
    double rounded = V;
    return ParseReal(FormatGeneral(V, 15), rounded) ? rounded : V;
}

std::string Quoted(const std::string& S) {
    return "\"" + S + "\"";
}

// The first value of a graph that is not a finite number, as a message; empty when all are.
std::string NonFiniteValue(const TGraphPlot& Graph) {
    for (int i = 0; i < Graph.LineCount(); ++i) {
        const TLine& line = Graph.Lines(i);
        for (std::size_t j = 0; j < line.Points.size(); ++j) {
            const TFloatPoint& p = line.Points[j];
            const char* axis = !std::isfinite(p.X) ? "X" : (!std::isfinite(p.Y) ? "Y" : nullptr);
            if (axis)
                return "Graph " + Quoted(Graph.Caption) + ", curve " + Quoted(line.LineName()) +
                       ", point " + std::to_string(j + 1) + ": the " + axis +
                       " value is not a finite number.";
        }
    }
    return {};
}

// The curves of a graph that are exported: a series the run did not compute (all of its points
// at the origin) is left out, as the plot window leaves it out.
std::vector<const TLine*> ExportedLines(const TGraphPlot& Graph) {
    std::vector<const TLine*> lines;
    for (int i = 0; i < Graph.LineCount(); ++i)
        if (Graph.Lines(i).HoldsCurve())
            lines.push_back(&Graph.Lines(i));
    return lines;
}

std::string CheckGraph(const TGraphPlot& Graph) {
    if (Graph.LineCount() > MaxExportCurves)
        return "Graph " + Quoted(Graph.Caption) + " has " + std::to_string(Graph.LineCount()) +
               " curves; a data sheet holds at most " + std::to_string(MaxExportCurves) + ".";
    return NonFiniteValue(Graph);
}

// The chart legend gets a black border and a white fill. Shape properties follow the legend's
// position, layout and overlay and precede its text properties.
bool AddLegendFrame(std::string& ChartXml) {
    const std::string frame = "<c:spPr><a:solidFill><a:srgbClr val=\"FFFFFF\"/></a:solidFill>"
                              "<a:ln><a:solidFill><a:srgbClr val=\"000000\"/></a:solidFill>"
                              "</a:ln></c:spPr>";
    const std::size_t begin = ChartXml.find("<c:legend>");
    const std::size_t end = ChartXml.find("</c:legend>", begin);
    if (begin == std::string::npos || end == std::string::npos)
        return false;
    const std::size_t text = ChartXml.find("<c:txPr>", begin);
    ChartXml.insert(text != std::string::npos && text < end ? text : end, frame);
    return true;
}

bool ReadFile(const fs::path& Path, std::string& Text) {
    std::ifstream in(Path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream s;
    s << in.rdbuf();
    Text = s.str();
    return static_cast<bool>(in) || in.eof();
}

bool WriteFile(const fs::path& Path, const std::string& Text) {
    std::ofstream out(Path, std::ios::binary | std::ios::trunc);
    out.write(Text.data(), static_cast<std::streamsize>(Text.size()));
    out.close();
    return static_cast<bool>(out);
}

// The package as libxlsxwriter left it, with the legend frame added to every chart.
std::string FramedPackage(const std::string& Package) {
    std::vector<TZipEntry> entries;
    std::string error;
    if (!ReadZip(Package, entries, &error))
        throw std::runtime_error("the workbook package cannot be read back: " + error);
    for (TZipEntry& e : entries)
        if (e.Name.starts_with("xl/charts/chart") && e.Name.ends_with(".xml"))
            AddLegendFrame(e.Data);
    return WriteZip(entries);
}

class TWorkbookWriter {
public:
    TWorkbookWriter(const std::string& File, bool Markers) : fMarkers(Markers) {
        fBook = workbook_new(File.c_str());
    }
    ~TWorkbookWriter() {
        if (fBook)
            workbook_close(fBook); // only after a failure: Close has taken it otherwise
    }
    TWorkbookWriter(const TWorkbookWriter&) = delete;
    TWorkbookWriter& operator=(const TWorkbookWriter&) = delete;

    bool Opened() const { return fBook != nullptr; }
    void Write(const std::vector<const TGraphPlot*>& Graphs);
    bool more255() const { return fMore255; }
    // Finishes the package; the library's message on failure.
    std::string Close() {
        const lxw_error rc = workbook_close(fBook);
        fBook = nullptr;
        return rc == LXW_NO_ERROR ? std::string() : lxw_strerror(rc);
    }

private:
    void Check(lxw_error Rc, const std::string& What) {
        if (Rc != LXW_NO_ERROR)
            throw std::runtime_error(What + ": " + lxw_strerror(Rc));
    }
    void Text(lxw_worksheet* Sheet, int Row, int Column, const std::string& S,
              lxw_format* Format = nullptr) {
        Check(worksheet_write_string(Sheet, static_cast<lxw_row_t>(Row - 1),
                                     static_cast<lxw_col_t>(Column - 1), S.c_str(), Format),
              "cell " + ColumnLetters(Column) + std::to_string(Row));
    }
    void Number(lxw_worksheet* Sheet, int Row, int Column, double V) {
        Check(worksheet_write_number(Sheet, static_cast<lxw_row_t>(Row - 1),
                                     static_cast<lxw_col_t>(Column - 1), V, nullptr),
              "cell " + ColumnLetters(Column) + std::to_string(Row));
    }
    void Link(lxw_worksheet* Sheet, int Row, int Column, const std::string& Location,
              const std::string& Shown) {
        const std::string url = "internal:" + Location;
        Check(worksheet_write_url_opt(Sheet, static_cast<lxw_row_t>(Row - 1),
                                      static_cast<lxw_col_t>(Column - 1), url.c_str(), nullptr,
                                      Shown.empty() ? nullptr : Shown.c_str(), nullptr),
              "hyperlink to " + Location);
    }
    void Graph(const TGraphPlot& G, int K);
    void Widen(int Column, const std::string& S) {
        std::size_t& w = fLegendWidths[static_cast<std::size_t>(Column - 2)];
        w = std::max(w, S.size());
    }

    lxw_workbook* fBook = nullptr;
    lxw_worksheet* fLegend = nullptr;
    bool fMarkers;
    bool fMore255 = false;
    std::array<std::size_t, 5> fLegendWidths{}; // columns B to F, in characters
};

void TWorkbookWriter::Write(const std::vector<const TGraphPlot*>& Graphs) {
    fLegend = workbook_add_worksheet(fBook, "Legend");
    if (!fLegend)
        throw std::runtime_error("the sheet Legend cannot be added");
    lxw_format* head = workbook_add_format(fBook);
    format_set_bold(head);
    format_set_align(head, LXW_ALIGN_VERTICAL_CENTER);
    for (int c = 0; c < 5; ++c) {
        Text(fLegend, 2, c + 2, kLegendHeads[static_cast<std::size_t>(c)], head);
        Widen(c + 2, kLegendHeads[static_cast<std::size_t>(c)]);
    }
    for (std::size_t k = 1; k <= Graphs.size(); ++k) {
        Number(fLegend, static_cast<int>(k) + 2, 2, static_cast<double>(k));
        Widen(2, std::to_string(k));
    }
    for (std::size_t k = 1; k <= Graphs.size(); ++k)
        Graph(*Graphs[k - 1], static_cast<int>(k));

    // Columns B to F fitted to their contents (a character is about one width unit).
    for (int c = 0; c < 5; ++c)
        Check(worksheet_set_column(
                  fLegend, static_cast<lxw_col_t>(c + 1), static_cast<lxw_col_t>(c + 1),
                  static_cast<double>(fLegendWidths[static_cast<std::size_t>(c)]) + 1.0, nullptr),
              "column width");
    worksheet_activate(fLegend);
}

void TWorkbookWriter::Graph(const TGraphPlot& G, int K) {
    const std::string xTitle = AxisTitle(G.XCaption, G.XUnits, G.Units());
    const std::string yTitle = AxisTitle(G.YCaption, G.YUnits, G.Units());
    const std::string page = "Page_" + std::to_string(K);
    const std::string plot = "Plot_" + std::to_string(K);

    // The graph's row of the Legend sheet.
    const int r = K + 2;
    Text(fLegend, r, 3, G.Caption);
    Link(fLegend, r, 4, page + "!A1", page);
    Text(fLegend, r, 5, plot);
    Text(fLegend, r, 6, "Complete");
    Widen(3, G.Caption);
    Widen(4, page);
    Widen(5, plot);
    Widen(6, "Complete");

    // Data sheet: caption, axis titles, then two columns per curve.
    lxw_worksheet* sheet = workbook_add_worksheet(fBook, page.c_str());
    if (!sheet)
        throw std::runtime_error("the sheet " + page + " cannot be added");
    Link(sheet, 1, 7, "Legend!A1", "");
    Text(sheet, 1, 1, G.Caption);
    Text(sheet, 2, 1, "X");
    Text(sheet, 2, 2, xTitle);
    Text(sheet, 3, 1, "Y");
    Text(sheet, 3, 2, yTitle);
    const std::vector<const TLine*> lines = ExportedLines(G);
    const int count = static_cast<int>(lines.size());
    int n = 0; // the largest point count of the curves
    for (int i = 1; i <= count; ++i) {
        const TLine& line = *lines[static_cast<std::size_t>(i - 1)];
        const int c = 2 * i - 1;
        Text(sheet, 4, c, line.LineName());
        Text(sheet, 5, c, "X");
        Text(sheet, 5, c + 1, "Y");
        int row = kFirstDataRow;
        for (const TFloatPoint& p : line.Points) {
            Number(sheet, row, c, GeneralValue(p.X));
            Number(sheet, row, c + 1, GeneralValue(p.Y));
            ++row;
        }
        n = std::max(n, static_cast<int>(line.Points.size()));
    }

    // Chart sheet: an x-y chart with one series per curve, at most 255.
    lxw_chart* chart = workbook_add_chart(fBook, LXW_CHART_SCATTER_STRAIGHT_WITH_MARKERS);
    if (!chart)
        throw std::runtime_error("the chart of " + page + " cannot be added");
    const int series = std::min(count, MaxChartSeries);
    if (count > MaxChartSeries)
        fMore255 = true;
    // A graph without points still gets ranges of one (empty) row, which a chart accepts.
    const std::string lastRow = std::to_string(kFirstDataRow - 1 + std::max(n, 1));
    const std::string first = "$" + std::to_string(kFirstDataRow) + ":$";
    // A chart needs a series: a graph that holds no curve gets one over the empty first columns.
    for (int h = 1; h <= std::max(series, 1); ++h) {
        const std::string xColumn = ColumnLetters(2 * h - 1);
        const std::string yColumn = ColumnLetters(2 * h);
        const std::string xRange = "=" + page + "!$" + xColumn + first + xColumn + "$" + lastRow;
        const std::string yRange = "=" + page + "!$" + yColumn + first + yColumn + "$" + lastRow;
        lxw_chart_series* s = chart_add_series(chart, xRange.c_str(), yRange.c_str());
        if (!s)
            throw std::runtime_error("a series of the chart " + plot + " cannot be added");
        if (h <= count) {
            const std::string name = lines[static_cast<std::size_t>(h - 1)]->LineName();
            chart_series_set_name(s, name.c_str());
        }
        if (!fMarkers)
            chart_series_set_marker_type(s, LXW_CHART_MARKER_NONE);
    }
    chart_title_off(chart);
    chart_axis_set_name(chart->x_axis, xTitle.c_str());
    chart_axis_set_name(chart->y_axis, yTitle.c_str());
    chart_axis_major_gridlines_set_visible(chart->x_axis, LXW_TRUE);
    chart_axis_major_gridlines_set_visible(chart->y_axis, LXW_TRUE);
    // Depth grows downwards: the value axis runs from the top.
    if (G.XOnTop)
        chart_axis_set_reverse(chart->y_axis);

    lxw_chartsheet* chartSheet = workbook_add_chartsheet(fBook, plot.c_str());
    if (!chartSheet)
        throw std::runtime_error("the chart sheet " + plot + " cannot be added");
    Check(chartsheet_set_chart(chartSheet, chart), "chart of " + plot);
}

} // namespace

const std::array<TExportRow, TResultGraphs::GraphCount>& ExportRows() {
    return kRows;
}

int ExportRowOfName(const std::string& Name) {
    auto lower = [](std::string s) {
        std::transform(s.begin(), s.end(), s.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        return s;
    };
    const std::string wanted = lower(Name);
    for (const TExportRow& r : kRows)
        if (lower(r.Name) == wanted)
            return r.Row;
    return 0;
}

std::vector<int> OfferedExportRows(const TGraphicsMenuState& Menu, const TResultGraphs& Graphs) {
    std::vector<int> rows;
    for (const TExportRow& r : kRows)
        if (Menu[static_cast<std::size_t>(r.Item)].Enabled &&
            !ExportedLines(Graphs.*r.Graph).empty())
            rows.push_back(r.Row);
    return rows;
}

const TGraphPlot& GraphOfExportRow(const TResultGraphs& Graphs, int Row) {
    if (Row < 1 || Row > TResultGraphs::GraphCount)
        throw std::out_of_range("No exportable graph has the row " + std::to_string(Row));
    return Graphs.*kRows[static_cast<std::size_t>(Row - 1)].Graph;
}

std::string ColumnLetters(int Column) {
    // Bijective base 26: A..Z are 1..26, AA follows Z.
    std::string letters;
    for (int n = Column; n > 0; n = (n - 1) / 26)
        letters.insert(letters.begin(), static_cast<char>('A' + (n - 1) % 26));
    return letters;
}

std::string AxisTitle(const std::string& Caption, const std::string& Units, int System) {
    if (Units.empty())
        return Caption;
    return Caption + " (" + UnitsDisplay(Units, System) + ")";
}

TExportResult WriteExcelWorkbook(const std::string& FileName,
                                 const std::vector<const TGraphPlot*>& Graphs, bool Markers) {
    TExportResult result;
    for (const TGraphPlot* g : Graphs) {
        result.Error = CheckGraph(*g);
        if (!result.Error.empty())
            return result;
    }

    // The library writes a file beside the target; it replaces the target once it is whole.
    const fs::path target(FileName);
    fs::path part = target;
    part += ".part";
    std::error_code ec;
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    if (!fs::is_directory(folder, ec)) {
        result.Error = FileName + ": the folder " + folder.string() + " does not exist";
        return result;
    }
    try {
        TWorkbookWriter writer(part.string(), Markers);
        if (!writer.Opened())
            throw std::runtime_error("the workbook cannot be created");
        writer.Write(Graphs);
        result.more255 = writer.more255();
        const std::string closeError = writer.Close();
        if (!closeError.empty())
            throw std::runtime_error(closeError);

        std::string package;
        if (!ReadFile(part, package))
            throw std::runtime_error("the workbook written cannot be read back");
        if (!WriteFile(part, FramedPackage(package)))
            throw std::runtime_error("the workbook cannot be written");
        fs::rename(part, target, ec);
        if (ec)
            throw std::runtime_error(ec.message());
    } catch (const std::exception& e) {
        fs::remove(part, ec);
        result.Error = FileName + ": " + e.what();
        result.more255 = false;
        return result;
    }
    result.Ok = true;
    return result;
}

std::string ExportCompletedMessage(bool more255) {
    std::string text =
        "Export to Excel Completed\nPlease note that you need to save the excel file\n";
    if (more255)
        text += "Some plots show only 255 series because Excel limitation \nPlease check \n";
    return text;
}

namespace {

std::string CsvField(const std::string& S) {
    if (S.find_first_of(",\"\r\n") == std::string::npos)
        return S;
    std::string quoted = "\"";
    for (char c : S) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

// Curve names are trimmed for the head row: leading blanks only indent them in a legend.
std::string Trimmed(const std::string& S) {
    const std::size_t b = S.find_first_not_of(' ');
    if (b == std::string::npos)
        return {};
    return S.substr(b, S.find_last_not_of(' ') - b + 1);
}

} // namespace

std::string GraphCsvText(const TGraphPlot& Graph) {
    const std::string bad = NonFiniteValue(Graph);
    if (!bad.empty())
        throw std::domain_error(bad);
    const std::string xTitle =
        Trimmed(AxisTitle(Trimmed(Graph.XCaption), Graph.XUnits, Graph.Units()));
    const std::string yTitle =
        Trimmed(AxisTitle(Trimmed(Graph.YCaption), Graph.YUnits, Graph.Units()));
    const std::vector<const TLine*> lines = ExportedLines(Graph);
    std::string text;
    std::size_t rows = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string name = Trimmed(lines[i]->LineName());
        text +=
            (i ? "," : "") + CsvField(name + ": " + xTitle) + "," + CsvField(name + ": " + yTitle);
        rows = std::max(rows, lines[i]->Points.size());
    }
    text += "\n";
    for (std::size_t j = 0; j < rows; ++j) {
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const std::vector<TFloatPoint>& points = lines[i]->Points;
            if (i)
                text += ",";
            if (j < points.size())
                text += FormatGeneral(points[j].X, 15) + "," + FormatGeneral(points[j].Y, 15);
            else
                text += ",";
        }
        text += "\n";
    }
    return text;
}

bool WriteGraphCsv(const std::string& FileName, const TGraphPlot& Graph, std::string* Error) {
    std::string text;
    try {
        text = GraphCsvText(Graph);
    } catch (const std::domain_error& e) {
        if (Error)
            *Error = e.what();
        return false;
    }
    if (!WriteFile(FileName, text)) {
        if (Error)
            *Error = FileName + ": cannot be written";
        return false;
    }
    return true;
}
