// kolmar results: the results file of a project that has been run (NAME.results.json beside it),
// printed or copied as it is, or converted to CSV, one file per table with a header row of
// column names and units. A project run only through IKOLMAR has no results file.
#include "app/runner/cli.h"
#include "gui/data/JsonRead.h"
#include "kolmar/portable.h"

#include <cctype>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <utility>

namespace fs = std::filesystem;

namespace {

int Usage(const std::string& Why) {
    std::cerr << "kolmar: " << Why << "\n"
              << "Usage: kolmar results PROJECT [--format json|csv] [-o FILE|DIR]\n";
    return ExitUsage;
}

std::string CsvField(const std::string& Text) {
    if (Text.find_first_of(",\"\n") == std::string::npos)
        return Text;
    std::string quoted = "\"";
    for (const char c : Text)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

// A table of the results file as CSV: "name (unit)" headers, then the rows; null stays empty.
std::string TableCsv(const TJson& Table) {
    const TJson* columns = Table.Find("columns");
    const TJson* rows = Table.Find("rows");
    if (!columns || !rows)
        throw std::runtime_error("a table without columns or rows");
    std::string text;
    for (std::size_t i = 0; i < columns->Items.size(); ++i) {
        const TJson* name = columns->Items[i].Find("name");
        const TJson* unit = columns->Items[i].Find("unit");
        text += (i ? "," : "") + CsvField((name ? name->Text : std::string()) + " (" +
                                          (unit ? unit->Text : std::string()) + ")");
    }
    text += "\n";
    for (const TJson& row : rows->Items) {
        for (std::size_t i = 0; i < row.Items.size(); ++i)
            text += (i ? "," : "") +
                    (row.Items[i].Kind == TJson::TKind::Number ? row.Items[i].Text : std::string());
        text += "\n";
    }
    return text;
}

// Every table of the file with the name of its CSV file, in the file's order.
std::vector<std::pair<std::string, std::string>> CsvTables(const TJson& Results) {
    std::vector<std::pair<std::string, std::string>> tables;
    const TJson* cases = Results.Find("cases");
    if (!cases || !IsResultsFile(Results))
        throw std::runtime_error(kNotAResultsFile);
    const std::vector<const TJson*> capacity = CaseCapacityTables(Results);
    for (std::size_t i = 0; i < cases->Items.size(); ++i) {
        const TJson& c = cases->Items[i];
        const std::string prefix = "case" + std::to_string(i + 1) + "-";
        if (capacity[i])
            tables.emplace_back(prefix + "capacity.csv", TableCsv(*capacity[i]));
        if (const TJson* t = c.Find("layer_resistance"))
            tables.emplace_back(prefix + "layer_resistance.csv", TableCsv(*t));
        for (const char* group : {"load_settlement", "tz_curves", "qw_curves", "load_distribution"})
            if (const TJson* lines = c.Find(group))
                for (const auto& [line, t] : lines->Members)
                    tables.emplace_back(prefix + group + "-" + line + ".csv", TableCsv(t));
    }
    if (const TJson* charts = Results.Find("design_charts");
        charts && charts->Kind == TJson::TKind::Object)
        tables.emplace_back("design_charts.csv", TableCsv(*charts));
    return tables;
}

// Writes a file whole through a temporary file beside it.
bool WriteWhole(const fs::path& Path, const std::string& Text) {
    fs::path temporary = Path;
    temporary += ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out || !(out << Text) || !out.flush())
            return false;
    }
    const std::error_code ec = kolmar::MoveFileInPlace(temporary, Path);
    std::error_code ignored;
    if (ec)
        fs::remove(temporary, ignored);
    return !ec;
}

} // namespace

int ResultsCommand(const TCommandLine& Line) {
    std::string project, format = "json", output;
    const std::vector<std::string>& words = Line.Raw;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& w = words[i];
        if (w == "--format" || w == "-o") {
            if (i + 1 >= words.size())
                return Usage(w + " needs a value");
            (w == "-o" ? output : format) = words[++i];
        } else if (!w.empty() && w[0] == '-') {
            return Usage("unknown option '" + w + "'");
        } else if (project.empty()) {
            project = w;
        } else {
            return Usage("results takes one project file");
        }
    }
    if (project.empty())
        return Usage("results needs a project file");
    if (format != "json" && format != "csv")
        return Usage("unknown format '" + format + "' (json or csv)");
    fs::path path = kolmar::PathFromUtf8(project);
    if (!path.has_extension())
        path += ".kx8d";
    const fs::path results = RunFilesFor(path).Results;
    std::error_code ec;
    if (!fs::is_regular_file(results, ec)) {
        std::cerr << "kolmar: " << kolmar::Utf8OfPath(path) << " has no results file ("
                  << kolmar::Utf8OfPath(results)
                  << "); 'kolmar run' writes one, a run through IKOLMAR alone does not\n";
        return ExitNoInput;
    }
    std::ifstream in(results, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());

    try {
        const TJson document = TJsonReader(text).ReadDocument();
        if (format == "json") {
            if (output.empty()) {
                std::cout << text;
                return 0;
            }
            if (!WriteWhole(kolmar::PathFromUtf8(output), text)) {
                std::cerr << "kolmar: cannot write " << output << "\n";
                return ExitCantCreate;
            }
            return 0;
        }
        const auto tables = CsvTables(document);
        if (output.empty()) {
            for (const auto& [name, csv] : tables)
                std::cout << "# " << name << "\n" << csv << "\n";
            return 0;
        }
        fs::create_directories(kolmar::PathFromUtf8(output), ec);
        for (const auto& [name, csv] : tables)
            if (!WriteWhole(kolmar::PathFromUtf8(output) / name, csv)) {
                std::cerr << "kolmar: cannot write "
                          << kolmar::Utf8OfPath(kolmar::PathFromUtf8(output) / name) << "\n";
                return ExitCantCreate;
            }
        std::cout << tables.size() << " tables written to " << output << "\n";
        return 0;
    } catch (const std::exception& e) {
        std::cerr << "kolmar: " << kolmar::Utf8OfPath(results) << " cannot be read: " << e.what()
                  << "\n";
        return ExitDataError;
    }
}
