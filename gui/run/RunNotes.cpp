// Error and warning blocks of the run notes, and the message of a finished run.
#include "gui/run/RunNotes.h"

#include "gui/run/RunControl.h"
#include "kolmar/ikolmar.h"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace {

// At most this many lines of one block, and blocks of one kind, go into a message.
constexpr std::size_t kBlockLines = 10;
constexpr std::size_t kShownBlocks = 3;

enum class TBlockKind { None, Error, Warning };

TBlockKind KindOf(const std::string& Line) {
    if (Line.find("NEED ANOTHER SOIL LAYER") != std::string::npos ||
        Line.find("*ERROR*") != std::string::npos)
        return TBlockKind::Error;
    if (Line.find("WARNING") != std::string::npos)
        return TBlockKind::Warning;
    return TBlockKind::None;
}

bool Blank(const std::string& Line) {
    return Line.find_first_not_of(" \t\r") == std::string::npos;
}

std::string Joined(std::vector<std::string> Lines) {
    std::size_t indent = std::string::npos;
    for (std::string& line : Lines) {
        while (!line.empty() && (line.back() == ' ' || line.back() == '\r'))
            line.pop_back();
        indent = std::min(indent, line.find_first_not_of(' '));
    }
    std::string text;
    for (const std::string& line : Lines) {
        if (!text.empty())
            text += '\n';
        text += line.substr(std::min(indent, line.size()));
    }
    return text;
}

std::string Plural(std::size_t N, const char* Word) {
    return std::to_string(N) + " " + Word + (N == 1 ? "" : "s");
}

} // namespace

TRunNotesSummary RunNotesProblems(const std::string& Notes) {
    TRunNotesSummary summary;
    summary.Read = true;
    std::vector<std::string> lines;
    std::istringstream in(Notes);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    for (std::size_t i = 0; i < lines.size();) {
        const TBlockKind kind = KindOf(lines[i]);
        if (kind == TBlockKind::None) {
            ++i;
            continue;
        }
        std::vector<std::string> block;
        // A banner line of its own is followed by the lines that say what happened.
        while (i < lines.size() && !Blank(lines[i]) && block.size() < kBlockLines)
            block.push_back(lines[i++]);
        while (i < lines.size() && !Blank(lines[i]))
            ++i; // the rest of an overlong block
        std::vector<std::string>& list =
            kind == TBlockKind::Error ? summary.Errors : summary.Warnings;
        const std::string text = Joined(block);
        if (std::find(list.begin(), list.end(), text) == list.end())
            list.push_back(text);
    }
    return summary;
}

TRunNotesSummary ReadRunNotesProblems(const std::filesystem::path& File) {
    std::ifstream in(File, std::ios::binary);
    if (!in)
        return {};
    std::ostringstream text;
    text << in.rdbuf();
    return RunNotesProblems(text.str());
}

std::string RunOutcomeText(int Status, const TRunNotesSummary& Notes,
                           const std::string& PlotError) {
    if (Status == KOLMAR_STATUS_OK) {
        std::string text = "Computations are completed.\n";
        if (Notes.Warnings.empty())
            text += "Please, check output file for results or error messages.";
        else
            text += "The run notes hold " + Plural(Notes.Warnings.size(), "warning") + ".";
        if (!PlotError.empty())
            text += "\n\nThe results could not be read for the graphs:\n" + PlotError;
        return text;
    }
    std::string text = "The analysis ended with status " + std::to_string(Status) + ": " +
                       StatusMeaning(Status) + ".";
    const std::vector<std::string>& blocks = Notes.Errors.empty() ? Notes.Warnings : Notes.Errors;
    if (!Notes.Read) {
        text += "\n\nThe run notes could not be read.";
    } else if (!blocks.empty()) {
        text += "\n\nThe run notes say:";
        for (std::size_t k = 0; k < blocks.size() && k < kShownBlocks; ++k)
            text += "\n\n" + blocks[k];
        if (blocks.size() > kShownBlocks)
            text += "\n\n(and " + std::to_string(blocks.size() - kShownBlocks) + " more)";
    }
    return text;
}
