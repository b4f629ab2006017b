// The results file's JSON writer.
#include "json_writer.h"

#include <charconv>
#include <cmath>
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

void AppendQuotedTo(std::string& out, std::string_view text) {
    constexpr char kHex[] = "0123456789abcdef";
    out += '"';
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
            if (const std::size_t n = byte >= 0x80 ? Utf8SequenceLength(text.substr(i)) : 0) {
                // A UTF-8 file name (a folder named in any language) goes in as it is.
                out += text.substr(i, n);
                i += n - 1;
            } else if (byte < 0x20 || byte >= 0x80) {
                // The engine's texts are ASCII; a stray byte of a project title is kept visible
                // without making the file invalid UTF-8.
                out += "\\u00";
                out += kHex[byte >> 4];
                out += kHex[byte & 0xF];
            } else {
                out += c;
            }
        }
    }
    out += '"';
}

// A whole number below 2^53 in magnitude (row numbers, lengths, counts: a quarter of a results
// file's numbers) has its exact digits as its shortest round-trip form, written in the form
// std::to_chars chooses: plain, unless the exponent form is shorter ("1e+05", "1.2e+07"). The
// general conversion costs several times as much. False for any other value.
bool AppendWholeTo(std::string& out, double value) {
    constexpr double kExact = 9007199254740992.0; // 2^53
    if (!(std::fabs(value) < kExact) || std::trunc(value) != value)
        return false;
    const auto whole = static_cast<long long>(value);
    const unsigned long long magnitude = whole < 0 ? 0ull - static_cast<unsigned long long>(whole)
                                                   : static_cast<unsigned long long>(whole);
    char digits[24];
    const auto count = static_cast<std::size_t>(
        std::to_chars(digits, digits + sizeof digits, magnitude).ptr - digits);
    std::size_t significant = count;
    while (significant > 1 && digits[significant - 1] == '0')
        --significant;
    // d[.ddd]e+XX: the exponent, at most 15 here, takes two digits.
    const std::size_t exponent_form = (significant == 1 ? 1 : significant + 1) + 4;
    if (whole < 0)
        out += '-';
    if (count <= exponent_form) {
        out.append(digits, count);
        return true;
    }
    out += digits[0];
    if (significant > 1) {
        out += '.';
        out.append(digits + 1, significant - 1);
    }
    const std::size_t exponent = count - 1;
    out += "e+";
    out += static_cast<char>('0' + exponent / 10);
    out += static_cast<char>('0' + exponent % 10);
    return true;
}

// The shortest round-trip text of a number, formatted in place at the end of `out`.
void AppendNumberTo(std::string& out, double value) {
    if (!std::isfinite(value)) {
        out += "null";
        return;
    }
    if (value == 0.0) {
        out += '0'; // also for -0
        return;
    }
    if (AppendWholeTo(out, value))
        return;
    constexpr std::size_t kRoom = 32;
    const std::size_t at = out.size();
    out.resize(at + kRoom);
    const auto [end, ec] = std::to_chars(out.data() + at, out.data() + at + kRoom, value);
    if (ec != std::errc{})
        throw std::runtime_error("a number could not be written");
    out.resize(static_cast<std::size_t>(end - out.data()));
}

} // namespace

std::string JsonQuote(std::string_view text) {
    std::string out;
    AppendQuotedTo(out, text);
    return out;
}

std::string JsonNumber(double value) {
    std::string out;
    AppendNumberTo(out, value);
    return out;
}

JsonWriter::JsonWriter(std::ostream& os) : os_(&os) {
    buf_.reserve(kBlock + kBlock / 4);
}

JsonWriter::JsonWriter(std::size_t depth) : levels_(depth, Level{false, false}), after_key_(true) {}

JsonWriter::~JsonWriter() {
    Flush();
}

void JsonWriter::Flush() {
    if (os_ == nullptr || buf_.empty())
        return;
    os_->write(buf_.data(), static_cast<std::streamsize>(buf_.size()));
    if (copy_ != nullptr) {
        if (copy_->size() + buf_.size() <= copy_limit_) {
            *copy_ += buf_;
        } else {
            std::string().swap(*copy_);
            copy_ = nullptr;
        }
    }
    buf_.clear();
}

void JsonWriter::AppendQuoted(std::string_view text) {
    AppendQuotedTo(buf_, text);
}

void JsonWriter::AppendNumber(double value) {
    AppendNumberTo(buf_, value);
}

void JsonWriter::NewLine() {
    buf_ += '\n';
    buf_.append(2 * levels_.size(), ' ');
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
        buf_ += ',';
    level.empty = false;
    if (inline_)
        buf_ += ' ';
    else
        NewLine();
}

void JsonWriter::BeginObject() {
    BeforeValue();
    buf_ += '{';
    levels_.push_back({false, true});
}

void JsonWriter::EndObject() {
    const bool empty = levels_.back().empty;
    levels_.pop_back();
    if (!empty)
        NewLine();
    buf_ += '}';
    if (levels_.empty())
        buf_ += '\n';
    Written();
}

void JsonWriter::BeginArray() {
    BeforeValue();
    buf_ += '[';
    levels_.push_back({true, true});
}

void JsonWriter::EndArray() {
    const bool empty = levels_.back().empty;
    levels_.pop_back();
    if (!empty)
        NewLine();
    buf_ += ']';
    Written();
}

void JsonWriter::Key(std::string_view key) {
    BeforeValue();
    AppendQuoted(key);
    buf_ += ": ";
    after_key_ = true;
}

void JsonWriter::String(std::string_view text) {
    BeforeValue();
    AppendQuoted(text);
    Written();
}

void JsonWriter::Number(double value) {
    BeforeValue();
    AppendNumber(value);
}

void JsonWriter::Integer(long long value) {
    BeforeValue();
    char text[24];
    buf_.append(text, std::to_chars(text, text + sizeof text, value).ptr);
}

void JsonWriter::Bool(bool value) {
    BeforeValue();
    buf_ += value ? "true" : "false";
}

void JsonWriter::Null() {
    BeforeValue();
    buf_ += "null";
}

void JsonWriter::NumberRow(const double* values, std::size_t count) {
    BeforeValue();
    buf_ += '[';
    for (std::size_t i = 0; i < count; ++i) {
        if (i)
            buf_ += ", ";
        AppendNumber(values[i]);
    }
    buf_ += ']';
    Written();
}

void JsonWriter::Raw(std::string_view value) {
    BeforeValue();
    buf_ += value;
    Written();
}

} // namespace kolmar::engine
