// Word reader over a text file loaded whole into memory.
#include "ui/model/WordRead.h"

#include "kolmar/portable.h"
#include "ui/model/NumberText.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

bool IsBlankOrControl(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

// Splits a line into words: trim blanks and control characters at both ends, then cut at the
// first blank or tab again and again, trimming the rest at its start each time.
std::vector<std::string> SplitWords(std::string_view line) {
    std::vector<std::string> words;
    std::size_t begin = 0;
    std::size_t end = line.size();
    while (begin < end && IsBlankOrControl(line[begin])) {
        ++begin;
    }
    while (end > begin && IsBlankOrControl(line[end - 1])) {
        --end;
    }
    std::string_view rest = line.substr(begin, end - begin);
    while (!rest.empty()) {
        const std::size_t cut = rest.find_first_of(" \t");
        words.emplace_back(rest.substr(0, cut));
        if (cut == std::string_view::npos) {
            break;
        }
        rest.remove_prefix(cut);
        std::size_t skip = 0;
        while (skip < rest.size() && IsBlankOrControl(rest[skip])) {
            ++skip;
        }
        rest.remove_prefix(skip);
    }
    return words;
}

} // namespace

TWordReader::TWordReader(const std::string& FileName) {
    std::error_code ec;
    if (std::filesystem::is_directory(kolmar::PathFromUtf8(FileName), ec)) {
        throw EInOutError("Cannot open the file \"" + FileName + "\": it is a directory.");
    }
    std::ifstream in(kolmar::PathFromUtf8(FileName), std::ios::binary);
    if (!in) {
        throw EInOutError("Cannot open the file \"" + FileName + "\": " + std::strerror(errno) +
                          ".");
    }
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad()) {
        throw EInOutError("Cannot read the file \"" + FileName + "\".");
    }
    Load(text.str());
}

TWordReader TWordReader::FromText(std::string_view Text) {
    TWordReader reader;
    reader.Load(Text);
    return reader;
}

void TWordReader::Load(std::string_view Text) {
    fLines.clear();
    while (!Text.empty()) {
        const std::size_t lf = Text.find('\n');
        std::string_view line = Text.substr(0, lf);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        fLines.push_back({SplitWords(line), std::string(line)});
        Text = lf == std::string_view::npos ? std::string_view() : Text.substr(lf + 1);
    }
    if (fLines.empty()) {
        fLines.push_back({});
    }
    fLine = 0;
    fItem = 0;
}

int TWordReader::CurrentLineWordCount() const {
    return Eof() ? 0 : static_cast<int>(fLines[static_cast<std::size_t>(fLine)].Words.size());
}

std::string TWordReader::ReadWord() {
    if (fItem >= CurrentLineWordCount()) {
        if (!Eof()) {
            ++fLine;
        }
        fItem = 0;
        if (Eof()) {
            // The line named is the one after the last: where the missing value was due.
            throw EInOutError("Error on Line " + std::to_string(LineCount() + 1) +
                              "\nThis file either invalid or incomplete.");
        }
        if (CurrentLineWordCount() == 0) {
            throw EInOutError("Error on Line " + std::to_string(fLine + 1) +
                              "\nA blank line was found where a value was expected.");
        }
    }
    return fLines[static_cast<std::size_t>(fLine)].Words[static_cast<std::size_t>(fItem++)];
}

std::string TWordReader::ReadLine() {
    if (Eof()) {
        throw EInOutError("Error on Line " + std::to_string(fLine + 1) +
                          "\nThe file ends where a line was expected.");
    }
    std::string line = fLines[static_cast<std::size_t>(fLine)].OrigString;
    ++fLine;
    fItem = 0;
    return line;
}

double TWordReader::ReadFloat() {
    const std::string word = ReadWord();
    double value = 0.0;
    if (!ParseReal(word, value)) {
        Fail("A floating point number was expected but not found.");
    }
    return value;
}

std::int32_t TWordReader::ReadInteger() {
    const std::string word = ReadWord();
    std::int32_t value = 0;
    if (!ParseInteger(word, value)) {
        Fail("An integer was expected but not found.");
    }
    return value;
}

void TWordReader::SkipBlankLines() {
    while (!Eof() && fItem >= CurrentLineWordCount() && fLine + 1 < LineCount() &&
           fLines[static_cast<std::size_t>(fLine + 1)].Words.empty()) {
        ++fLine;
        fItem = 0;
    }
}

void TWordReader::Fail(const std::string& Reason) const {
    throw EInOutError("Error on Line " + std::to_string(fLine + 1) + " Item " +
                      std::to_string(fItem) + "\n" + Reason);
}
