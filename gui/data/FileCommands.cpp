// Rules of the file commands: display name, caption, recent files, names and readers.
#include "gui/data/FileCommands.h"

#include "kolmar/ikolmar.h"
#include "kolmar/portable.h"

#include <filesystem>
#include <string_view>

namespace fs = std::filesystem;

namespace {

std::string Lower(std::string S) {
    for (char& c : S)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return S;
}

std::string ExtensionOf(const std::string& Name) {
    const std::size_t dot = Name.rfind('.');
    return dot == std::string::npos ? std::string() : Name.substr(dot);
}

} // namespace

std::string GetVersion() {
    return KOLMAR_VERSION_STRING;
}

std::string DisplayFileName(const std::string& Path) {
    std::string name = kolmar::Utf8OfPath(kolmar::PathFromUtf8(Path).filename());
    if (Lower(ExtensionOf(name)) == std::string(".") + ProjectExtension)
        name.erase(name.find('.'));
    if (name.size() > 1 && name[0] >= 'a' && name[0] <= 'z')
        name[0] = static_cast<char>(name[0] - 'a' + 'A');
    return name;
}

std::string MainCaption(const std::string& ProjectFile, bool Changed, bool Damaged) {
    return "Kolmar " + GetVersion() + " - " + DisplayFileName(ProjectFile) + (Changed ? "*" : "") +
           (Damaged ? " (damaged)" : "");
}

void TRecentFiles::UpdatePrevFile(const std::string& NewFile) {
    if (PrevFile[0] == NewFile)
        return;
    int found = MaxFiles - 1; // not in the list: the last entry drops out
    for (int i = 1; i < MaxFiles; ++i)
        if (PrevFile[static_cast<std::size_t>(i)] == NewFile) {
            found = i;
            break;
        }
    for (int i = found; i > 0; --i)
        PrevFile[static_cast<std::size_t>(i)] = PrevFile[static_cast<std::size_t>(i - 1)];
    PrevFile[0] = NewFile;
}

int TRecentFiles::NumberPrevFile() const {
    int n = 0;
    for (const std::string& f : PrevFile)
        n += f.empty() ? 0 : 1;
    return n;
}

std::string TRecentFiles::MenuCaption(int I, const std::string& CurDir) const {
    std::string path = PrevFile.at(static_cast<std::size_t>(I));
    const std::string prefix = CurDir + "/";
    if (!CurDir.empty() && path.compare(0, prefix.size(), prefix) == 0)
        path.erase(0, prefix.size());
    return std::to_string(I + 1) + " " + path;
}

bool NeedsSaveAs(const std::string& FileName) {
    return FileName == NewProjectFileName ||
           Lower(ExtensionOf(kolmar::Utf8OfPath(kolmar::PathFromUtf8(FileName).filename()))) !=
               std::string(".") + ProjectExtension;
}

std::string SaveAsProposal(const std::string& FileName) {
    return kolmar::Utf8OfPath(
        kolmar::PathFromUtf8(FileName).filename().replace_extension(ProjectExtension));
}

std::string CommandLineProjectName(const std::string& Argument) {
    if (kolmar::Utf8OfPath(kolmar::PathFromUtf8(Argument).filename()).find('.') ==
        std::string::npos)
        return Argument + "." + ProjectExtension;
    return Argument;
}

std::optional<std::vector<std::string>> SplitCommandLine(const std::string& Command) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    for (std::size_t i = 0; i < Command.size(); ++i) {
        const char c = Command[i];
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r') {
            if (inWord)
                words.push_back(word);
            word.clear();
            inWord = false;
            continue;
        }
        inWord = true;
        if (c == '\'') {
            const std::size_t end = Command.find('\'', i + 1);
            if (end == std::string::npos)
                return std::nullopt;
            word += Command.substr(i + 1, end - i - 1);
            i = end;
        } else if (c == '"') {
            for (++i;; ++i) {
                if (i >= Command.size())
                    return std::nullopt;
                const char d = Command[i];
                if (d == '"')
                    break;
                if (d == '\\' && i + 1 < Command.size() &&
                    std::string_view("$`\"\\\n").find(Command[i + 1]) != std::string_view::npos) {
                    ++i;
                    if (Command[i] != '\n')
                        word += Command[i];
                    continue;
                }
                word += d;
            }
        } else if (c == '\\') {
            if (++i >= Command.size())
                return std::nullopt;
            if (Command[i] != '\n')
                word += Command[i];
        } else {
            word += c;
        }
    }
    if (inWord)
        words.push_back(word);
    return words;
}
