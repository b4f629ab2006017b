// A small JSON reader for the results file: the runner's results command, the picture
// companion's calculation package and the program's Project Overview read NAME.results.json
// with it. Numbers keep their text. With it, the capacity table of every case of a results file
// of either layout.
#pragma once

#include <cctype>
#include <charconv>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

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

// Reads a whole document; throws std::runtime_error naming what is wrong and the byte.
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

// What a reader says of a file that is not a results file.
inline constexpr const char* kNotAResultsFile = "not a kolmar-results/1 or kolmar-results/2 file";

// The results file's layouts: "kolmar-results/1" holds each case's capacity table in the case
// ("capacity"); "kolmar-results/2" holds each distinct table once ("capacity_tables") and each
// case names its own by its place in that list ("capacity_table").
inline bool IsResultsFile(const TJson& Results) {
    const TJson* schema = Results.Find("schema");
    return schema && schema->Kind == TJson::TKind::String &&
           (schema->Text == "kolmar-results/1" || schema->Text == "kolmar-results/2");
}

// The capacity table of every case, in case order (null for a case without one), the references
// resolved once: readers then see every case with its own table, whichever the layout. Throws
// std::runtime_error naming the case whose reference is not a place in the list.
inline std::vector<const TJson*> CaseCapacityTables(const TJson& Results) {
    std::vector<const TJson*> tables;
    const TJson* cases = Results.Find("cases");
    if (!cases)
        return tables;
    const TJson* shared = Results.Find("capacity_tables");
    const std::size_t count =
        shared && shared->Kind == TJson::TKind::Array ? shared->Items.size() : 0;
    tables.reserve(cases->Items.size());
    for (std::size_t i = 0; i < cases->Items.size(); ++i) {
        const TJson& c = cases->Items[i];
        const TJson* place = c.Find("capacity_table");
        if (!place) {
            tables.push_back(c.Find("capacity"));
            continue;
        }
        // A place is a whole number, as the writer writes it: digits alone.
        const std::string& text = place->Text;
        std::size_t at = count;
        if (place->Kind == TJson::TKind::Number) {
            std::size_t read = 0;
            const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), read);
            if (ec == std::errc() && end == text.data() + text.size())
                at = read;
        }
        if (at >= count) {
            const std::string named = place->Kind == TJson::TKind::String  ? '"' + text + '"'
                                      : place->Kind == TJson::TKind::Array ? std::string("a list")
                                      : place->Kind == TJson::TKind::Object
                                          ? std::string("an object")
                                      : place->Kind == TJson::TKind::Null ? std::string("null")
                                                                          : text;
            throw std::runtime_error("case " + std::to_string(i + 1) + ": capacity_table " + named +
                                     " names no table (the file has " + std::to_string(count) +
                                     (count == 1 ? " capacity table)" : " capacity tables)"));
        }
        tables.push_back(&shared->Items[at]);
    }
    return tables;
}
