// kolmar results: the results file of a project that has been run (NAME.results.json beside it),
// printed or copied as it is, or converted to CSV, one file per table with a header row of
// column names and units. A project run only through IKOLMAR has no results file.
#include "app/runner/cli.h"

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

// A JSON value as read: numbers keep their text, so that CSV carries the file's digits.
struct TJson {
    enum class TKind { Null, Bool, Number, String, Array, Object } Kind = TKind::Null;
    std::string Text; // number text, string value, "true" / "false"
    std::vector<TJson> Items;
    std::vector<std::pair<std::string, TJson>> Members;

    const TJson* Find(const std::string& Key) const {
        for (const auto& [key, value] : Members)
            if (key == Key)
                return &value;
        return nullptr;
    }
};

class TJsonReader {
public:
    explicit TJsonReader(const std::string& Text) : fText(Text) {}

    TJson ReadDocument() {
        TJson value = Read(0);
        Skip();
        if (fAt != fText.size())
            Fail("text after the end of the document");
        return value;
    }

private:
    static constexpr int kMaxDepth = 64;

    [[noreturn]] void Fail(const std::string& What) const {
        throw std::runtime_error(What + " at byte " + std::to_string(fAt));
    }
    void Skip() {
        while (fAt < fText.size() && std::isspace(static_cast<unsigned char>(fText[fAt])))
            ++fAt;
    }
    void Expect(char C) {
        Skip();
        if (fAt >= fText.size() || fText[fAt] != C)
            Fail(std::string("'") + C + "' expected");
        ++fAt;
    }
    bool Peek(char C) {
        Skip();
        return fAt < fText.size() && fText[fAt] == C;
    }
    std::string ReadString() {
        Expect('"');
        std::string out;
        while (fAt < fText.size() && fText[fAt] != '"') {
            char c = fText[fAt++];
            if (c == '\\') {
                if (fAt >= fText.size())
                    Fail("unfinished escape");
                const char e = fText[fAt++];
                switch (e) {
                case 'n':
                    c = '\n';
                    break;
                case 't':
                    c = '\t';
                    break;
                case 'r':
                    c = '\r';
                    break;
                case 'b':
                    c = '\b';
                    break;
                case 'f':
                    c = '\f';
                    break;
                case 'u': {
                    if (fAt + 4 > fText.size())
                        Fail("unfinished escape");
                    const unsigned code =
                        static_cast<unsigned>(std::stoul(fText.substr(fAt, 4), nullptr, 16));
                    fAt += 4;
                    c = code < 0x80 ? static_cast<char>(code) : '?';
                    break;
                }
                default:
                    c = e;
                }
            }
            out += c;
        }
        Expect('"');
        return out;
    }
    TJson Read(int Depth) {
        if (Depth > kMaxDepth)
            Fail("too deeply nested");
        Skip();
        if (fAt >= fText.size())
            Fail("unexpected end");
        TJson value;
        const char c = fText[fAt];
        if (c == '{') {
            value.Kind = TJson::TKind::Object;
            ++fAt;
            if (Peek('}')) {
                ++fAt;
                return value;
            }
            do {
                std::string key = ReadString();
                Expect(':');
                value.Members.emplace_back(std::move(key), Read(Depth + 1));
            } while (Peek(',') && ++fAt);
            Expect('}');
        } else if (c == '[') {
            value.Kind = TJson::TKind::Array;
            ++fAt;
            if (Peek(']')) {
                ++fAt;
                return value;
            }
            do {
                value.Items.push_back(Read(Depth + 1));
            } while (Peek(',') && ++fAt);
            Expect(']');
        } else if (c == '"') {
            value.Kind = TJson::TKind::String;
            value.Text = ReadString();
        } else {
            const std::size_t start = fAt;
            while (fAt < fText.size() &&
                   (std::isalnum(static_cast<unsigned char>(fText[fAt])) || fText[fAt] == '-' ||
                    fText[fAt] == '+' || fText[fAt] == '.'))
                ++fAt;
            value.Text = fText.substr(start, fAt - start);
            if (value.Text == "null")
                value.Kind = TJson::TKind::Null;
            else if (value.Text == "true" || value.Text == "false")
                value.Kind = TJson::TKind::Bool;
            else if (!value.Text.empty())
                value.Kind = TJson::TKind::Number;
            else
                Fail("a value expected");
        }
        return value;
    }

    const std::string& fText;
    std::size_t fAt = 0;
};

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
    if (!cases || Results.Find("schema") == nullptr ||
        Results.Find("schema")->Text != "kolmar-results/1")
        throw std::runtime_error("not a kolmar-results/1 file");
    for (std::size_t i = 0; i < cases->Items.size(); ++i) {
        const TJson& c = cases->Items[i];
        const std::string prefix = "case" + std::to_string(i + 1) + "-";
        for (const char* name : {"capacity", "layer_resistance"})
            if (const TJson* t = c.Find(name))
                tables.emplace_back(prefix + name + ".csv", TableCsv(*t));
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
    std::error_code ec;
    fs::rename(temporary, Path, ec);
    if (ec)
        fs::remove(temporary, ec);
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
    fs::path path(project);
    if (!path.has_extension())
        path += ".kx8d";
    const fs::path results = RunFilesFor(path).Results;
    std::error_code ec;
    if (!fs::is_regular_file(results, ec)) {
        std::cerr << "kolmar: " << path.string() << " has no results file (" << results.string()
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
            if (!WriteWhole(output, text)) {
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
        fs::create_directories(output, ec);
        for (const auto& [name, csv] : tables)
            if (!WriteWhole(fs::path(output) / name, csv)) {
                std::cerr << "kolmar: cannot write " << (fs::path(output) / name).string() << "\n";
                return ExitCantCreate;
            }
        std::cout << tables.size() << " tables written to " << output << "\n";
        return 0;
    } catch (const std::exception& e) {
        std::cerr << "kolmar: " << results.string() << " cannot be read: " << e.what() << "\n";
        return ExitDataError;
    }
}
