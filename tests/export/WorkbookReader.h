// Reads an .xlsx workbook back for the tests: unzips it, follows the package relationships from
// a sheet name to its sheet, drawing and chart parts, and picks cells, hyperlinks and chart
// series out of the XML with plain text searches (the writer's XML is regular enough).
#pragma once

#include "gui/data/ZipPackage.h"

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace workbook {

inline std::string Unescape(std::string S) {
    static const std::pair<const char*, const char*> entities[] = {
        {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&apos;", "'"}, {"&amp;", "&"}};
    for (const auto& [from, to] : entities)
        for (std::size_t at = S.find(from); at != std::string::npos; at = S.find(from, at + 1))
            S.replace(at, std::string(from).size(), to);
    return S;
}

// Value of an attribute in a start tag, unescaped; empty when absent.
inline std::string Attr(const std::string& Tag, const std::string& Name) {
    const std::string key = " " + Name + "=\"";
    const std::size_t at = Tag.find(key);
    if (at == std::string::npos)
        return {};
    const std::size_t begin = at + key.size();
    return Unescape(Tag.substr(begin, Tag.find('"', begin) - begin));
}

// Every start tag of an element ("<hyperlink ...>" or "<hyperlink .../>").
inline std::vector<std::string> StartTags(const std::string& Xml, const std::string& Element) {
    std::vector<std::string> tags;
    const std::string open = "<" + Element;
    for (std::size_t at = Xml.find(open); at != std::string::npos; at = Xml.find(open, at + 1)) {
        const char next = Xml[at + open.size()];
        if (next != ' ' && next != '>' && next != '/')
            continue;
        tags.push_back(Xml.substr(at, Xml.find('>', at) - at + 1));
    }
    return tags;
}

// The contents of every element Element (without its tags), in order.
inline std::vector<std::string> Contents(const std::string& Xml, const std::string& Element) {
    std::vector<std::string> parts;
    const std::string close = "</" + Element + ">";
    const std::string open = "<" + Element;
    std::size_t at = 0;
    while ((at = Xml.find(open, at)) != std::string::npos) {
        const char next = Xml[at + open.size()];
        if (next != ' ' && next != '>' && next != '/') {
            ++at;
            continue;
        }
        const std::size_t tagEnd = Xml.find('>', at);
        if (Xml[tagEnd - 1] == '/') {
            parts.emplace_back();
            at = tagEnd;
            continue;
        }
        const std::size_t end = Xml.find(close, tagEnd);
        parts.push_back(Xml.substr(tagEnd + 1, end - tagEnd - 1));
        at = end;
    }
    return parts;
}

// The first content of Element, or empty.
inline std::string First(const std::string& Xml, const std::string& Element) {
    const std::vector<std::string> all = Contents(Xml, Element);
    return all.empty() ? std::string() : all.front();
}

inline std::string ReadFile(const std::string& Path) {
    std::ifstream in(Path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// Text of a string item (<si>) or inline string: its <t> runs joined.
inline std::string RunText(const std::string& Item) {
    std::string text;
    for (const std::string& t : Contents(Item, "t"))
        text += Unescape(t);
    return text;
}

// One series of a chart: its name and the formulas of its X and Y values.
struct TSeries {
    std::string Name, X, Y;
    bool NoMarker = false;
};

class TWorkbook {
public:
    explicit TWorkbook(const std::string& File) {
        fOk = ReadZip(ReadFile(File), fEntries, &fError);
        if (!fOk)
            fError = File + ": " + fError;
        for (const std::string& si : Contents(Part("xl/sharedStrings.xml"), "si"))
            fStrings.push_back(RunText(si));
    }
    bool Ok() const { return fOk; }
    const std::string& Error() const { return fError; }

    std::string Part(const std::string& Name) const {
        const TZipEntry* e = FindZipEntry(fEntries, Name);
        return e ? e->Data : std::string();
    }

    std::vector<std::string> SheetNames() const {
        std::vector<std::string> names;
        for (const std::string& tag : StartTags(Part("xl/workbook.xml"), "sheet"))
            names.push_back(Attr(tag, "name"));
        return names;
    }

    // The part of a sheet by its name.
    std::string SheetPath(const std::string& Sheet) const {
        for (const std::string& tag : StartTags(Part("xl/workbook.xml"), "sheet"))
            if (Attr(tag, "name") == Sheet)
                return Target("xl/workbook.xml", Attr(tag, "r:id"));
        return {};
    }
    std::string Sheet(const std::string& Name) const { return Part(SheetPath(Name)); }

    // The text or number of a cell as written ("" when the cell is absent).
    std::string Cell(const std::string& SheetName, const std::string& Ref) const {
        const std::string xml = Sheet(SheetName);
        const std::string key = "<c r=\"" + Ref + "\"";
        const std::size_t at = xml.find(key);
        if (at == std::string::npos)
            return {};
        const std::size_t tagEnd = xml.find('>', at);
        const std::string tag = xml.substr(at, tagEnd - at + 1);
        if (tag.ends_with("/>"))
            return {};
        const std::string cell = xml.substr(tagEnd + 1, xml.find("</c>", tagEnd) - tagEnd - 1);
        const std::string type = Attr(tag, "t");
        if (type == "s")
            return fStrings.at(std::stoul(First(cell, "v")));
        if (type == "inlineStr")
            return RunText(cell);
        return Unescape(First(cell, "v"));
    }

    // Hyperlinks of a sheet: cell reference to location inside the workbook.
    std::map<std::string, std::string> Hyperlinks(const std::string& SheetName) const {
        std::map<std::string, std::string> links;
        for (const std::string& tag : StartTags(Sheet(SheetName), "hyperlink"))
            links[Attr(tag, "ref")] = Attr(tag, "location");
        return links;
    }

    // The chart part of a chart sheet, through its drawing.
    std::string Chart(const std::string& ChartSheet) const {
        const std::string sheet = SheetPath(ChartSheet);
        const std::vector<std::string> drawings = StartTags(Part(sheet), "drawing");
        if (drawings.empty())
            return {};
        const std::string drawing = Target(sheet, Attr(drawings.front(), "r:id"));
        const std::vector<std::string> charts = StartTags(Part(drawing), "c:chart");
        if (charts.empty())
            return {};
        return Part(Target(drawing, Attr(charts.front(), "r:id")));
    }

    static std::vector<TSeries> Series(const std::string& ChartXml) {
        std::vector<TSeries> series;
        for (const std::string& ser : Contents(ChartXml, "c:ser")) {
            TSeries s;
            s.Name = Unescape(First(First(ser, "c:tx"), "c:v"));
            s.X = First(First(ser, "c:xVal"), "c:f");
            s.Y = First(First(ser, "c:yVal"), "c:f");
            s.NoMarker = ser.find("<c:symbol val=\"none\"/>") != std::string::npos;
            series.push_back(s);
        }
        return series;
    }

private:
    // Target of a relationship of a part, as a path inside the package.
    std::string Target(const std::string& Source, const std::string& Id) const {
        const std::size_t slash = Source.rfind('/');
        const std::string dir = slash == std::string::npos ? "" : Source.substr(0, slash);
        const std::string rels = dir + "/_rels/" + Source.substr(slash + 1) + ".rels";
        for (const std::string& tag : StartTags(Part(rels), "Relationship")) {
            if (Attr(tag, "Id") != Id)
                continue;
            std::string target = Attr(tag, "Target");
            if (target.starts_with("/"))
                return target.substr(1);
            std::string base = dir;
            while (target.starts_with("../")) {
                target = target.substr(3);
                base = base.substr(0, base.rfind('/'));
            }
            return base + "/" + target;
        }
        return {};
    }

    bool fOk = false;
    std::string fError;
    std::vector<TZipEntry> fEntries;
    std::vector<std::string> fStrings;
};

} // namespace workbook
