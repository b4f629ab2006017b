// TWordReader: a whole text file held in memory and handed out as whitespace-separated words
// with line tracking, for the readers of the project file and the plot data file.
// Exports TWordReader and EInOutError, the error of every file read and write.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// Input/output error of the program's text files. Format errors carry messages that begin
// "Error on Line " and name the line and the word; callers catch exactly this type to report
// a bad or unreadable file.
class EInOutError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads words, reals, integers and whole lines from a text held in memory.
//
// A word is a maximal run of characters other than blank and tab; blanks and control
// characters around words are dropped. Lines end with LF or CR LF (the CR is dropped). An
// empty text is one blank line.
//
// Reading a word when every word of the current line has been handed out moves to the next
// line first. Failures, all as EInOutError:
//  - past the last line: "Error on Line <n>\nThis file either invalid or incomplete." with n
//    the line after the last one
//  - the line moved to is blank: "Error on Line <n>\nA blank line was found where a value was
//    expected." (a blank line is skipped only when the reader already stands at the start of
//    a blank line, e.g. right after ReadLine; use SkipBlankLines to pass any number of them)
//  - ReadLine past the last line: "Error on Line <n>\nThe file ends where a line was
//    expected." with n the line after the last one
//  - a word that is not a real: "Error on Line <n> Item <i>\nA floating point number was
//    expected but not found."; not an integer: "... \nAn integer was expected but not found."
// Line and item numbers in messages count from 1. A failed conversion leaves the position
// after the offending word.
class TWordReader {
public:
    // Loads the whole file. Throws EInOutError when it cannot be opened or read.
    explicit TWordReader(const std::string& FileName);
    // A reader over text in memory (tests, fuzzing, data already loaded).
    static TWordReader FromText(std::string_view Text);

    // True when every line has been passed (the end of the file). Named Eof because EOF is a
    // macro of the C library.
    bool Eof() const { return fLine >= LineCount(); }

    std::string ReadWord();
    // The current line exactly as read (leading blanks kept, CR dropped); moves to the start
    // of the next line whatever words of this one were read.
    std::string ReadLine();
    double ReadFloat();
    std::int32_t ReadInteger();

    // Word count of the current line. After the last word of a line has been read the current
    // line is still that line until the next word is requested, so a reader can check whether
    // a record carries optional trailing values. 0 at the end of the file.
    int CurrentLineWordCount() const;

    // Moves over blank lines that lie between the position and the next word, for readers
    // that tolerate blank lines between values.
    void SkipBlankLines();

    // Throws EInOutError "Error on Line <n> Item <i>\n" + Reason for the word read last, so a
    // caller can refuse a value that is a number but not an acceptable one.
    [[noreturn]] void Fail(const std::string& Reason) const;

    // Word count of any line by its index from 0, without moving; 0 outside the text.
    int LineWordCount(int Index) const {
        return Index < 0 || Index >= LineCount()
                   ? 0
                   : static_cast<int>(fLines[static_cast<std::size_t>(Index)].Words.size());
    }

    int Line() const { return fLine; } // index of the current line, from 0
    int Item() const { return fItem; } // index in the current line of the next word, from 0
    int LineCount() const { return static_cast<int>(fLines.size()); }

private:
    TWordReader() = default;
    void Load(std::string_view Text);

    struct TWordContainer {
        std::vector<std::string> Words;
        std::string OrigString;
    };
    std::vector<TWordContainer> fLines;
    int fLine = 0;
    int fItem = 0;
};
