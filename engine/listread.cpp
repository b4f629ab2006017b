// Free-format record reader of the project file: records, words, numbers, line numbers.
#include "listread.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace kolmar::engine {
namespace {

bool IsSeparator(char c) {
    return c == ' ' || c == '\t' || c == ',' || c == '\r';
}

// Parses a whole word as a decimal number. Accepts a leading "+" and the Fortran exponent letter
// D besides E. Returns false when the word is not a number; `value` may then be infinite or NaN
// for words such as "inf", "nan" or "1E999", which the caller reports as not finite.
bool ParseNumber(std::string_view word, double& value, bool& out_of_range) {
    out_of_range = false;
    std::string text(word);
    if (!text.empty() && text[0] == '+') {
        text.erase(0, 1);
        if (!text.empty() && (text[0] == '+' || text[0] == '-'))
            return false;
    }
    for (char& c : text)
        if (c == 'd' || c == 'D')
            c = 'E';
    const char* first = text.data();
    const char* last = first + text.size();
    const auto res = std::from_chars(first, last, value, std::chars_format::general);
    if (res.ptr != last)
        return false;
    if (res.ec == std::errc::result_out_of_range) {
        out_of_range = true;
        return true;
    }
    return res.ec == std::errc();
}

} // namespace

ListReader::ListReader(std::string_view text) {
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines_.push_back(line);
        start = end + 1;
    }
}

void ListReader::BeginRecord(std::string name) {
    ++record_;
    record_name_ = std::move(name);
    line_loaded_ = false;
    rest_ = {};
    value_index_ = 0;
    value_line_ = static_cast<int>(next_line_) + 1;
}

void ListReader::EndRecord() {
    if (!line_loaded_ && next_line_ < lines_.size())
        ++next_line_;
    line_loaded_ = false;
    rest_ = {};
}

std::string ListReader::TextLine() {
    value_index_ = 1;
    value_line_ = static_cast<int>(next_line_) + 1;
    if (next_line_ >= lines_.size())
        Fail(ReadFault::end_of_file, {});
    line_loaded_ = true;
    rest_ = {};
    return std::string(lines_[next_line_++]);
}

std::string_view ListReader::NextWord() {
    ++value_index_;
    for (;;) {
        std::size_t pos = 0;
        while (pos < rest_.size() && IsSeparator(rest_[pos]))
            ++pos;
        rest_.remove_prefix(pos);
        if (!rest_.empty()) {
            std::size_t len = 0;
            while (len < rest_.size() && !IsSeparator(rest_[len]))
                ++len;
            const std::string_view word = rest_.substr(0, len);
            rest_.remove_prefix(len);
            return word;
        }
        if (next_line_ >= lines_.size()) {
            value_line_ = static_cast<int>(lines_.size()) + 1;
            Fail(ReadFault::end_of_file, {});
        }
        line_loaded_ = true;
        value_line_ = static_cast<int>(next_line_) + 1;
        rest_ = lines_[next_line_++];
    }
}

double ListReader::Real() {
    const std::string_view word = NextWord();
    double value = 0.0;
    bool out_of_range = false;
    if (!ParseNumber(word, value, out_of_range))
        Fail(ReadFault::not_a_number, word);
    if (out_of_range || !std::isfinite(value) || std::fabs(value) > kMaxInputMagnitude)
        Fail(ReadFault::not_finite, word);
    return value;
}

int ListReader::Integer() {
    const double value = Real();
    if (value != std::floor(value) || value < std::numeric_limits<int>::min() ||
        value > std::numeric_limits<int>::max())
        Fail(ReadFault::not_whole_number, {});
    return static_cast<int>(value);
}

void ListReader::Fail(ReadFault fault, std::string_view word) const {
    throw ReadError{fault, record_, record_name_, value_line_, value_index_, std::string(word)};
}

} // namespace kolmar::engine
