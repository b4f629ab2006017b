// A small JSON reader for the results file: the runner's results command, the picture
// companion's calculation package and the program's Project Overview read NAME.results.json
// with it. Numbers keep their text.
#pragma once

#include <cctype>
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
