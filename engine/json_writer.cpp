// The results file's JSON writer.
#include "json_writer.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <stdexcept>

namespace kolmar::engine {

std::string JsonQuote(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (byte < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(byte));
                out += escaped;
            } else if (byte >= 0x80) {
                // The engine's texts are ASCII; a stray byte of a project title is kept visible
                // without making the file invalid UTF-8.
                out += "\\u00";
                constexpr char kHex[] = "0123456789abcdef";
                out += kHex[byte >> 4];
                out += kHex[byte & 0xF];
            } else {
                out += c;
            }
        }
    }
    out += '"';
    return out;
}

std::string JsonNumber(double value) {
    if (!std::isfinite(value))
        return "null";
    if (value == 0.0)
        return "0"; // also for -0
    char text[32];
    const auto [end, ec] = std::to_chars(text, text + sizeof text, value);
    if (ec != std::errc{})
        throw std::runtime_error("a number could not be written");
    return std::string(text, end);
}

void JsonWriter::NewLine() {
    os_ << '\n' << std::string(2 * levels_.size(), ' ');
}

void JsonWriter::BeforeValue() {
    if (after_key_) {
        after_key_ = false;
        return;
    }
    if (levels_.empty())
        return;
    Level& level = levels_.back();
    if (!level.empty)
        os_ << ',';
    level.empty = false;
    if (inline_)
        os_ << ' ';
    else
        NewLine();
}

void JsonWriter::BeginObject() {
    BeforeValue();
    os_ << '{';
    levels_.push_back({false, true});
}

void JsonWriter::EndObject() {
    const bool empty = levels_.back().empty;
    levels_.pop_back();
    if (!empty)
        NewLine();
    os_ << '}';
    if (levels_.empty())
        os_ << '\n';
}

void JsonWriter::BeginArray() {
    BeforeValue();
    os_ << '[';
    levels_.push_back({true, true});
}

void JsonWriter::EndArray() {
    const bool empty = levels_.back().empty;
    levels_.pop_back();
    if (!empty)
        NewLine();
    os_ << ']';
}

void JsonWriter::Key(std::string_view key) {
    BeforeValue();
    os_ << JsonQuote(key) << ": ";
    after_key_ = true;
}

void JsonWriter::String(std::string_view text) {
    BeforeValue();
    os_ << JsonQuote(text);
}

void JsonWriter::Number(double value) {
    BeforeValue();
    os_ << JsonNumber(value);
}

void JsonWriter::Integer(long long value) {
    BeforeValue();
    os_ << std::to_string(value);
}

void JsonWriter::Bool(bool value) {
    BeforeValue();
    os_ << (value ? "true" : "false");
}

void JsonWriter::Null() {
    BeforeValue();
    os_ << "null";
}

void JsonWriter::NumberRow(const double* values, std::size_t count) {
    BeforeValue();
    // A row is built in one piece and written once: a many-case run writes millions of them.
    std::string row = "[";
    row.reserve(2 + 26 * count);
    for (std::size_t i = 0; i < count; ++i) {
        if (i)
            row += ", ";
        const double v = values[i];
        if (!std::isfinite(v)) {
            row += "null";
        } else if (v == 0.0) {
            row += '0'; // also for -0
        } else {
            char text[32];
            const auto [end, ec] = std::to_chars(text, text + sizeof text, v);
            if (ec != std::errc{})
                throw std::runtime_error("a number could not be written");
            row.append(text, end);
        }
    }
    row += ']';
    os_.write(row.data(), static_cast<std::streamsize>(row.size()));
}

} // namespace kolmar::engine
