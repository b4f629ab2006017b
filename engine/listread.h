// The engine's free-format record reader for the project file. A record starts on a new line;
// its values are separated by blanks, tabs or commas and may continue over the following lines
// (blank lines included); words after the record's last value on its last line are ignored.
// The reader counts records and lines so that every problem can be named precisely.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kolmar::engine {

// Largest magnitude accepted for any input value. Nothing in a drilled-shaft project comes near
// it, and it keeps every later product and unit conversion finite.
inline constexpr double kMaxInputMagnitude = 1.0e20;

// Why a value could not be read.
enum class ReadFault {
    end_of_file,      // the file ends before the record is complete
    not_a_number,     // a word that is not a number where one is needed
    not_finite,       // infinity, NaN, or a magnitude above kMaxInputMagnitude
    not_whole_number, // a value that must be a whole number (within 32 bits) is not
};

// Thrown by ListReader; input.cpp turns it into the input-error block and status 8.
struct ReadError {
    ReadFault fault;
    int record;              // number of the record (1 = first record read)
    std::string record_name; // what the record holds, e.g. "LOAD RECORD"
    int line;                // line of the offending word (for end_of_file: one past the end)
    int value_index;         // position of the value within its record, from 1
    std::string word;        // the offending word, as found
};

class ListReader {
public:
    explicit ListReader(std::string_view text);

    // Starts the next record on the next unread line. `name` names it in messages.
    void BeginRecord(std::string name);
    // Ends the current record: the rest of its last line is skipped. A record that read no value
    // still uses up one line.
    void EndRecord();

    // Reads the next whole line as text (a character record such as the title). Throws ReadError
    // at the end of the file.
    std::string TextLine();

    // The next value of the current record, continuing on the following lines as needed.
    double Real();
    int Integer();

    int record() const { return record_; }
    const std::string& record_name() const { return record_name_; }
    // Line of the value read last (or where the current record starts when none was read).
    int line() const { return value_line_; }
    int line_count() const { return static_cast<int>(lines_.size()); }

private:
    std::string_view NextWord();
    [[noreturn]] void Fail(ReadFault fault, std::string_view word) const;

    std::vector<std::string_view> lines_;
    std::size_t next_line_ = 0; // first line not yet used by any record
    bool line_loaded_ = false;  // the current record has taken a line
    std::string_view rest_;     // unread part of the current line
    int record_ = 0;
    std::string record_name_;
    int value_index_ = 0;
    int value_line_ = 0;
};

} // namespace kolmar::engine
