// A small JSON writer for the results file: objects, arrays, strings and numbers, indented two
// spaces. Numbers are written in their shortest form that reads back as the same double
// (std::to_chars), so a reader gets the engine's own values; a value that is not finite is
// written as null. Standard library only, independent of any locale.
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace kolmar::engine {

class JsonWriter {
public:
    explicit JsonWriter(std::ostream& os) : os_(os) {}

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

private:
    void BeforeValue();
    void NewLine();
    std::ostream& os_;
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
