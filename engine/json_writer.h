// A small JSON writer for the results file: objects, arrays, strings and numbers, indented two
// spaces. Numbers are written in their shortest form that reads back as the same double
// (std::to_chars), so a reader gets the engine's own values; a value that is not finite is
// written as null. Standard library only, independent of any locale.
//
// The text is formatted into a buffer of the writer's own and handed to the stream in large
// blocks, so that a file of a hundred megabytes is never held whole. A fragment writer keeps its
// text instead: a value formatted once at a given depth, which a writer at that depth copies in
// wherever the same value recurs.
#pragma once

#include <cstddef>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace kolmar::engine {

class JsonWriter {
public:
    explicit JsonWriter(std::ostream& os);
    // A fragment: one value as it is written `depth` levels deep, kept in Text().
    explicit JsonWriter(std::size_t depth);
    ~JsonWriter();
    JsonWriter(const JsonWriter&) = delete;
    JsonWriter& operator=(const JsonWriter&) = delete;

    void BeginObject();
    void EndObject();
    void BeginArray();
    void EndArray();
    // The key of the next value inside an object.
    void Key(std::string_view key);
    void String(std::string_view text);
    void Number(double value);
    void Integer(long long value);
    void Bool(bool value);
    void Null();
    // An array of numbers on one line.
    void NumberRow(const double* values, std::size_t count);
    // A value formatted by a fragment writer of this writer's present depth.
    void Raw(std::string_view value);

    std::size_t Depth() const { return levels_.size(); }
    // A fragment's text.
    const std::string& Text() const { return buf_; }
    // Hands what is buffered to the stream.
    void Flush();
    // Every block handed to the stream is also appended to `copy` while the whole text stays
    // within `limit` bytes; beyond it `copy` is emptied and no more is kept.
    void KeepCopy(std::string* copy, std::size_t limit) {
        copy_ = copy;
        copy_limit_ = limit;
    }

private:
    // Blocks of 64 KiB: few writes, and the same few pages reused for a file of any size.
    static constexpr std::size_t kBlock = 64 * 1024;
    void BeforeValue();
    void NewLine();
    void AppendQuoted(std::string_view text);
    void AppendNumber(double value);
    void Written() {
        if (os_ != nullptr && buf_.size() >= kBlock)
            Flush();
    }
    std::ostream* os_ = nullptr;
    std::string buf_;
    std::string* copy_ = nullptr;
    std::size_t copy_limit_ = 0;
    struct Level {
        bool array = false;
        bool empty = true;
    };
    std::vector<Level> levels_;
    bool after_key_ = false;
    bool inline_ = false; // inside a one-line array
};

// The JSON text of a string, quotes included.
std::string JsonQuote(std::string_view text);
// The shortest text of a double that reads back as the same value; "null" when not finite.
std::string JsonNumber(double value);

} // namespace kolmar::engine
