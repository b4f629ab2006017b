// The results file's JSON writer.
#include "json_writer.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <stdexcept>

namespace kolmar::engine {

namespace {

// The length of the well-formed UTF-8 sequence of two to four bytes at the start of `text`, or
// 0 (a lone byte of another encoding, an overlong form, a surrogate, beyond U+10FFFF).
std::size_t Utf8SequenceLength(std::string_view text) {
    const auto at = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned lead = at(0);
    const std::size_t n = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
    if (n == 0 || lead > 0xF4 || text.size() < n)
        return 0;
    for (std::size_t i = 1; i < n; ++i)
        if ((at(i) & 0xC0) != 0x80)
            return 0;
    if ((lead == 0xE0 && at(1) < 0xA0) || (lead == 0xED && at(1) >= 0xA0) ||
        (lead == 0xF0 && at(1) < 0x90) || (lead == 0xF4 && at(1) >= 0x90))
        return 0;
    return n;
}

} // namespace

std::string JsonQuote(std::string_view text) {
    std::string out = "\"";
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
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
            } else if (const std::size_t n =
                           byte >= 0x80 ? Utf8SequenceLength(text.substr(i)) : 0) {
                // A UTF-8 file name (a folder named in any language) goes in as it is.
                out += text.substr(i, n);
                i += n - 1;
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
