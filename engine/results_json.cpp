// The results file, "kolmar-results/2": the run, the project as read, the messages of the run
// notes, the distinct capacity tables, and per case the one it uses, the design row, the layers'
// share of it and the load-settlement lines, then the design charts. docs/results.schema.json
// describes it.
#include "results_data.h"

#include "capacity.h"
#include "json_writer.h"
#include "kolmar/ikolmar.h"

#include <cstdio>
#include <cstring>
#include <istream>
#include <memory>
#include <optional>
#include <regex>
#include <unordered_map>

namespace kolmar::engine {

void WriteResultTable(JsonWriter& w, const ResultTable& t) {
    w.BeginObject();
    w.Key("columns");
    w.BeginArray();
    for (const ResultColumn& c : t.columns) {
        w.BeginObject();
        w.Key("name");
        w.String(c.name);
        w.Key("unit");
        w.String(c.unit);
        w.EndObject();
    }
    w.EndArray();
    w.Key("rows");
    w.BeginArray();
    for (std::size_t r = 0; r < t.Rows(); ++r)
        w.NumberRow(t.values.data() + r * t.columns.size(), t.columns.size());
    w.EndArray();
    w.EndObject();
}

namespace {

void Value(JsonWriter& w, std::string_view name, double value, std::string_view unit) {
    w.BeginObject();
    w.Key("name");
    w.String(name);
    w.Key("value");
    w.Number(value);
    w.Key("unit");
    w.String(unit);
    w.EndObject();
}

void WriteProjectValues(JsonWriter& w, const InputData& in) {
    struct Scalar {
        const char* name;
        double value;
        const char* unit;
    };
    const Scalar scalars[] = {{"METHOD", double(in.METHOD), "-"},
                              {"KCYCL", double(in.KCYCL), "-"},
                              {"RCYCL", in.RCYCL, "-"},
                              {"PINC", in.PINC, "ft"},
                              {"IMOD", double(in.IMOD), "-"},
                              {"NLRFD", double(in.NLRFD), "-"},
                              {"IPENT", double(in.IPENT), "-"},
                              {"IChart", double(in.IChart), "-"},
                              {"UseElevation", double(in.UseElevation), "-"},
                              {"ValElevation", in.ValElevation, "ft"},
                              {"PrintTZCurves", double(in.PrintTZCurves), "-"},
                              {"DSTART", in.DSTART, "ft"},
                              {"DIALIM", in.DIALIM, "ft"},
                              {"RATIO", in.RATIO, "-"},
                              {"BELANGL", in.BELANGL, "deg"},
                              {"TOPLENG", in.TOPLENG, "ft"},
                              {"BS", in.BS, "ft"},
                              {"Ec", in.Ec, "psi"},
                              {"WTD", in.WTD, "ft"},
                              {"P", in.P, "tons"},
                              {"DGH", in.DGH, "ft"},
                              {"PD", in.PD, "ft"},
                              {"FST", in.FST, "-"},
                              {"FSB", in.FSB, "-"},
                              {"PDMIN", in.PDMIN, "ft"},
                              {"PDINCR", in.PDINCR, "ft"},
                              {"DIAMINCR", in.DIAMINCR, "ft"},
                              {"NPOINTPD", double(in.NPOINTPD), "-"}};
    w.Key("values");
    w.BeginArray();
    for (const Scalar& s : scalars)
        Value(w, s.name, s.value, s.unit);
    w.EndArray();
    w.Key("chart_settlements");
    w.NumberRow(in.PDSETT.data(), in.PDSETT.size());
    w.Key("chart_settlements_unit");
    w.String("in");
    w.Key("tz_depths");
    w.NumberRow(in.tz_depths.data(), in.tz_depths.size());
    w.Key("tz_depths_unit");
    w.String("ft");
}

// The two values of a layer field, and which estimate mark belongs to it.
struct FieldValues {
    TopBottom value{};
    std::optional<Estimated> mark;
};

FieldValues FieldOf(const Layer& l, LayerField field) {
    const auto both = [](double v) { return TopBottom{v, v}; };
    switch (field) {
    case LayerField::NC:
        return {l.NC, Estimated::NC};
    case LayerField::GAMMA:
        return {l.GAMMA, {}};
    case LayerField::PHI:
        return {l.PHI, Estimated::PHI};
    case LayerField::DELTA:
        return {l.DELTA, {}};
    case LayerField::CU:
        return {l.CU, Estimated::CU};
    case LayerField::BLOWS:
        return {l.BLOWS, {}};
    case LayerField::TRANLM:
        return {l.TRANLM, {}};
    case LayerField::QMAX:
        return {l.QMAX, {}};
    case LayerField::LRFDS:
        return {both(l.LRFDS), {}};
    case LayerField::LRFDB:
        return {both(l.LRFDB), {}};
    case LayerField::QUR:
        return {l.QUR, {}};
    case LayerField::QUCON:
        return {l.QUCON, {}};
    case LayerField::CS:
        return {l.CS, {}};
    case LayerField::DISCT:
        return {l.DISCT, {}};
    case LayerField::BDS:
        return {l.BDS, {}};
    case LayerField::EL:
        return {l.EL, {}};
    case LayerField::RQD:
        return {l.RQD, {}};
    case LayerField::ICOND:
        return {{double(l.ICOND[0]), double(l.ICOND[1])}, {}};
    case LayerField::SLUMP:
        return {l.SLUMP, {}};
    case LayerField::POISSON:
        return {l.POISSON, {}};
    case LayerField::EGM:
        return {l.EGM, {}};
    case LayerField::BETA:
        return {l.BETA, Estimated::BETA};
    case LayerField::ISIDE:
        return {both(l.ISIDE), {}};
    case LayerField::KO:
        return {l.KO, {}};
    case LayerField::MEXP:
        return {l.MEXP, {}};
    case LayerField::ALPHA:
        return {l.ALPHA, Estimated::ALPHA};
    }
    return {};
}

void LayerValue(JsonWriter& w, const Layer& l, std::string_view name, const FieldValues& f,
                std::string_view unit) {
    w.BeginObject();
    w.Key("name");
    w.String(name);
    w.Key("unit");
    w.String(unit);
    for (const End end : {kTop, kBottom}) {
        w.Key(end == kTop ? "top" : "bottom");
        w.Number(f.value[end]);
        w.Key(end == kTop ? "estimated_top" : "estimated_bottom");
        w.Bool(f.mark && l.marks.IsSet(*f.mark, end));
    }
    w.EndObject();
}

void WriteLayers(JsonWriter& w, const InputData& in) {
    w.Key("layers");
    w.BeginArray();
    for (std::size_t i = 0; i < in.layers.size(); ++i) {
        const Layer& l = in.layers[i];
        w.BeginObject();
        w.Key("layer");
        w.Integer(static_cast<long long>(i + 1));
        w.Key("code");
        w.Integer(l.code);
        w.Key("material");
        w.String(MaterialName(l.code));
        w.Key("method");
        w.String(MethodName(l));
        w.Key("top");
        w.Number(l.ztop);
        w.Key("bottom");
        w.Number(l.zbot);
        w.Key("depth_unit");
        w.String("ft");
        w.Key("values");
        w.BeginArray();
        if (l.code >= kMinSoilCode && l.code <= kMaxSoilCode) {
            const LayerRecord& record = LayerRecordOf(l.code);
            std::vector<LayerField> fields(record.row.begin(), record.row.end());
            if (record.tail == LayerTail::sand_method) {
                fields.push_back(LayerField::ISIDE);
                fields.push_back(SandMethodField(l.ISIDE));
            } else if (record.tail == LayerTail::alpha) {
                fields.push_back(LayerField::ALPHA);
            }
            for (const LayerField field : fields) {
                const LayerFieldInfo& info = LayerFieldInfoOf(field);
                LayerValue(w, l, info.name, FieldOf(l, field), info.unit);
            }
            if (l.code == kSand && l.ISIDE == kKulhawyChenMethod)
                LayerValue(w, l, "OCR", {l.OCR, Estimated::OCR}, "-");
        }
        w.EndArray();
        w.EndObject();
    }
    w.EndArray();
}

void WriteMessages(JsonWriter& w, const std::vector<RunMessage>& messages) {
    w.Key("messages");
    w.BeginArray();
    for (const RunMessage& m : messages) {
        w.BeginObject();
        w.Key("kind");
        w.String(m.kind);
        w.Key("layer");
        if (m.layer)
            w.Integer(*m.layer);
        else
            w.Null();
        w.Key("depth");
        if (m.depth)
            w.Number(*m.depth);
        else
            w.Null();
        w.Key("text");
        w.String(m.text);
        w.EndObject();
    }
    w.EndArray();
}

std::string TwoDigits(int v) {
    char text[8];
    std::snprintf(text, sizeof text, "%02d", v < 0 ? 0 : v % 100);
    return text;
}

// The t-z method's curves of a case, per solved line: t-z curves, q-w curve, load distribution.
void WriteCurves(JsonWriter& w, const InputData& in, const CaseCurves* curves) {
    using Maker = ResultTable (*)(const InputData&, const LineCurves&);
    const std::pair<const char*, Maker> kinds[] = {{"tz_curves", TzCurvesOf},
                                                   {"qw_curves", QwCurveOf},
                                                   {"load_distribution", LoadDistributionOf}};
    for (const auto& [key, make] : kinds) {
        w.Key(key);
        w.BeginObject();
        for (int k = 0; curves && k < settlement::kLineCount; ++k) {
            const LineCurves& line = (*curves)[static_cast<std::size_t>(k)];
            if (!line.solved)
                continue;
            w.Key(LineName(k));
            WriteResultTable(w, make(in, line));
        }
        w.EndObject();
    }
}

// The capacity tables of a run, each written once in the order the cases first use it: the
// cases of one diameter share one table, which the cases name by its place in the list.
class CapacityTablePlaces {
public:
    void Write(JsonWriter& w, const InputData& in, const std::vector<KeptCase>& cases) {
        w.Key("capacity_tables");
        w.BeginArray();
        for (const KeptCase& c : cases)
            if (places_.emplace(c.capacity.get(), places_.size()).second)
                WriteResultTable(w, CapacityTableOf(in, c));
        w.EndArray();
    }
    std::size_t PlaceOf(const KeptCase& c) const { return places_.at(c.capacity.get()); }

private:
    std::unordered_map<const CapacityTable*, std::size_t> places_;
};

void WriteCase(JsonWriter& w, const InputData& in, const KeptCase& c, const CaseCurves* curves,
               const CapacityTablePlaces& capacity_tables) {
    w.BeginObject();
    w.Key("number");
    w.Integer(c.setup.number);
    w.Key("length_index");
    w.Integer(c.setup.length_index);
    w.Key("diameter_index");
    w.Integer(c.setup.diameter_index);
    const OutputUnits u = UnitsOf(in);
    const double per_ft = in.si() ? 1.0 / kMToFt : 1.0;
    const CapacityTable& table = c.Capacity();
    w.Key("diameter");
    w.Number(table.shaft.D * per_ft);
    w.Key("base_diameter");
    w.Number(table.shaft.Bb * per_ft);
    w.Key("length");
    w.Number(c.length * per_ft);
    w.Key("capacity_table");
    w.Integer(static_cast<long long>(capacity_tables.PlaceOf(c)));
    const int design = c.design_row;
    const bool has_design = design >= 0 && design < static_cast<int>(table.rows.size());
    w.Key("design_row");
    if (has_design)
        w.Integer(design);
    else
        w.Null();
    w.Key("design");
    if (has_design) {
        const auto values = CapacityValuesOf(in, table.rows[static_cast<std::size_t>(design)]);
        const std::vector<ResultColumn> columns = CapacityColumnsOf(in);
        w.BeginObject();
        for (std::size_t k = 0; k < columns.size(); ++k) {
            w.Key(columns[k].name);
            w.Number(values[k]);
        }
        w.EndObject();
    } else {
        w.Null();
    }
    w.Key("layer_resistance");
    WriteResultTable(w, LayerResistanceOf(in, c));
    w.Key("base");
    if (has_design) {
        const CapacityRow& raw = table.rows[static_cast<std::size_t>(design)];
        const CapacityRow r = ToOutputUnits(raw, in.si());
        const bool lrfd = in.NLRFD == 1, uplift = in.KCYCL == 2;
        const double fsb = uplift ? 1.0 : in.FSB;
        w.BeginObject();
        w.Key("layer");
        w.Integer(raw.tip_layer + 1);
        w.Key("code");
        w.Integer(raw.tip_layer >= 0 && raw.tip_layer < static_cast<int>(in.layers.size())
                      ? in.layers[static_cast<std::size_t>(raw.tip_layer)].code
                      : 0);
        w.Key("weight_of_shaft");
        w.Bool(uplift);
        w.Key("qb");
        w.Number(r.qb);
        w.Key("QB");
        w.Number(r.QB);
        w.Key(lrfd ? "QB_lrfd" : "QB_allowable");
        w.Number(lrfd ? r.QB_lrfd : (fsb > 0.0 ? r.QB / fsb : 0.0));
        w.Key("units");
        w.BeginObject();
        w.Key("qb");
        w.String(u.stress);
        w.Key("force");
        w.String(u.force);
        w.EndObject();
        w.EndObject();
    } else {
        w.Null();
    }
    w.Key("load_settlement");
    w.BeginObject();
    for (const ResultTable& t : LoadSettlementOf(in, c)) {
        w.Key(t.name);
        WriteResultTable(w, t);
    }
    w.EndObject();
    WriteCurves(w, in, curves);
    w.EndObject();
}

// One block of the run notes: its kind, and its layer and depth taken from its text when it
// names them.
RunMessage MessageOf(std::string kind, std::string text) {
    static const std::regex layer_re("LAYER\\s+(?:NO\\.\\s*|NUMBER\\s+)?([0-9]+)");
    static const std::regex depth_re("DEPTH[^0-9\\n]*?([0-9]+\\.?[0-9]*)");
    RunMessage m;
    m.kind = std::move(kind);
    std::smatch found;
    if (std::regex_search(text, found, layer_re))
        m.layer = std::stoll(found[1].str());
    if (std::regex_search(text, found, depth_re))
        m.depth = std::strtod(found[1].str().c_str(), nullptr);
    m.text = std::move(text);
    return m;
}

// The banner of a run stopped for a profile too short for the design load.
constexpr std::string_view kShortProfile = "NEED ANOTHER SOIL LAYER";

// The blocks, fed one line at a time (without its line end).
class MessageBlocks {
public:
    explicit MessageBlocks(std::vector<RunMessage>& out) : out_(out) {}

    void Line(std::string_view line) {
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        const auto first = line.find_first_not_of(' ');
        if (first == std::string_view::npos) {
            if (!text_.empty())
                End();
            return;
        }
        if (kind_.empty()) {
            // The kind word that comes first on the line.
            std::size_t at = std::string_view::npos;
            for (const char* word : {"WARNING", "ERROR", "NOTE"}) {
                const std::size_t found = line.find(word);
                if (found < at) {
                    at = found;
                    kind_ = word[0] == 'W' ? "warning" : word[0] == 'E' ? "error" : "note";
                }
            }
        }
        // The run stopped for a profile too short for the design load: a banner without a kind
        // word, an error all the same.
        if (kind_.empty() && line.find(kShortProfile) != std::string_view::npos)
            kind_ = "error";
        if (kind_.empty())
            return;
        // Banner lines ("*****WARNING*****", rules of asterisks or dots) carry no text.
        const std::string_view trimmed = line.substr(first, line.find_last_not_of(' ') - first + 1);
        bare_.clear();
        for (const char c : trimmed)
            if (c != '*' && c != '.' && c != '-' && c != '=')
                bare_ += c;
        if (bare_.empty() || (bare_.size() != trimmed.size() &&
                              (bare_ == "WARNING" || bare_ == "ERROR" || bare_ == "NOTE")))
            return;
        if (!text_.empty())
            text_ += '\n';
        // The stop's banner gives its words alone.
        text_ += trimmed.find(kShortProfile) != std::string_view::npos ? kShortProfile : trimmed;
    }

    void End() {
        if (kind_.empty())
            return;
        out_.push_back(MessageOf(std::move(kind_), std::move(text_)));
        kind_.clear();
        text_.clear();
    }

private:
    std::vector<RunMessage>& out_;
    std::string kind_, text_, bare_;
};

} // namespace

// A block starts at a line that names its kind and ends at the next blank line. The notes are
// read in large blocks and split into lines in place.
std::vector<RunMessage> ReadRunMessages(std::istream& run_notes) {
    std::vector<RunMessage> messages;
    MessageBlocks blocks(messages);
    constexpr std::size_t kChunk = 64 * 1024;
    const std::unique_ptr<char[]> chunk(new char[kChunk]); // filled by the reads alone
    std::string partial; // a line that runs over the end of a chunk
    while (run_notes) {
        run_notes.read(chunk.get(), static_cast<std::streamsize>(kChunk));
        const auto got = static_cast<std::size_t>(run_notes.gcount());
        if (got == 0)
            break;
        std::string_view rest(chunk.get(), got);
        while (!rest.empty()) {
            const std::size_t end = rest.find('\n');
            if (end == std::string_view::npos) {
                partial += rest;
                break;
            }
            if (partial.empty()) {
                blocks.Line(rest.substr(0, end));
            } else {
                partial += rest.substr(0, end);
                blocks.Line(partial);
                partial.clear();
            }
            rest.remove_prefix(end + 1);
        }
    }
    if (!partial.empty())
        blocks.Line(partial);
    blocks.End();
    return messages;
}

void WriteResultsJson(std::ostream& os, const RunResults& results, std::string* kept) {
    JsonWriter w(os);
    if (kept != nullptr)
        w.KeepCopy(kept, kKeptResultsText);
    const InputData& in = results.input;
    w.BeginObject();
    w.Key("schema");
    w.String("kolmar-results/2");
    w.Key("engine_version");
    w.String(KOLMAR_VERSION_STRING);
    const DateTime& t = results.when;
    w.Key("date");
    w.String(std::to_string(t.year) + "-" + TwoDigits(t.month) + "-" + TwoDigits(t.day));
    w.Key("time");
    w.String(TwoDigits(t.hour) + ":" + TwoDigits(t.minute) + ":" + TwoDigits(t.second));
    w.Key("status");
    w.BeginObject();
    w.Key("code");
    w.Integer(results.status);
    w.Key("meaning");
    w.String(StatusMeaning(results.status));
    w.EndObject();

    w.Key("input");
    w.BeginObject();
    w.Key("file");
    w.String(results.input_path);
    w.Key("sha256");
    w.String(results.input_sha256);
    w.Key("read");
    w.Bool(results.input_read);
    w.Key("title");
    w.String(in.title);
    w.Key("unit_system");
    w.String(in.si() ? "SI" : "EN");
    w.Key("note");
    w.String("values as read, in the engine's internal English units");
    WriteProjectValues(w, in);
    WriteLayers(w, in);
    w.EndObject();

    WriteMessages(w, results.messages);

    const OutputUnits u = UnitsOf(in);
    w.Key("units");
    w.BeginObject();
    for (const auto& [name, unit] : {std::pair{"length", u.length},
                                     {"force", u.force},
                                     {"stress", u.stress},
                                     {"volume", u.volume},
                                     {"force_per_volume", u.force_per_volume},
                                     {"movement", u.movement}}) {
        w.Key(name);
        w.String(unit);
    }
    w.EndObject();

    CapacityTablePlaces capacity_tables;
    capacity_tables.Write(w, in, results.cases);
    w.Key("cases");
    w.BeginArray();
    for (std::size_t i = 0; i < results.cases.size(); ++i)
        WriteCase(w, in, results.cases[i], i < results.curves.size() ? &results.curves[i] : nullptr,
                  capacity_tables);
    w.EndArray();
    w.Key("design_charts");
    if (results.charts)
        WriteResultTable(w, DesignChartsOf(in, results));
    else
        w.Null();
    w.EndObject();
    w.Flush();
}

} // namespace kolmar::engine
