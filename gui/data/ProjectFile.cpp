// The project file (.kx8d, and reading of the older .kxd layouts): one logical record per
// line, whitespace-separated numbers, optional records switched on by flags in earlier ones.
// The same file is the analysis engine's input, so the written form is exact to the byte.
#include "gui/data/DataUnit.h"

#include "ui/model/NumberText.h"
#include "ui/model/units.h"

#include "kolmar/portable.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <optional>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

// ---------------------------------------------------------------------------------------------
// Reading

// Word access for the project readers: blank lines between values are passed over.
class TRecordReader {
public:
    explicit TRecordReader(TWordReader& R) : fR(R) {}
    double Real() {
        fR.SkipBlankLines();
        return fR.ReadFloat();
    }
    int Int() {
        fR.SkipBlankLines();
        return fR.ReadInteger();
    }
    // A placeholder word of the engine's record, read and discarded.
    void Skip() {
        fR.SkipBlankLines();
        fR.ReadWord();
    }
    // An integer that must lie within Min..Max, refused with a message naming its position.
    int Count(int Min, int Max, const char* Reason) {
        const int n = Int();
        if (n < Min || n > Max) {
            fR.Fail(Reason);
        }
        return n;
    }
    int LineWords() const { return fR.CurrentLineWordCount(); }
    TWordReader& Words() { return fR; }

private:
    TWordReader& fR;
};

using kolmar::LayerField;

// One row line of a layer block, in the columns of the layer's records. A column the program
// does not hold (the end-bearing coefficient of sand, the friction angle of clay) is passed
// over. Older files end the line before the two LRFD factors, and their sand rows hold a
// placeholder where the interface angle stands now.
void ReadLayerRow(TRecordReader& R, TSoilLayer& L, int Row, bool CurrentFormat) {
    const std::span<const LayerField> columns = kolmar::LayerRecordOf(L.SoilType()).row;
    TParameterSet& P = L.Params;
    bool withFactors = true;
    for (const LayerField field : columns) {
        switch (field) {
        case LayerField::TRANLM:
            L.MaxSideFriction = R.Real();
            break;
        case LayerField::QMAX:
            L.MaxEndBearing = R.Real();
            break;
        case LayerField::LRFDS:
            withFactors = R.LineWords() == static_cast<int>(columns.size());
            if (withFactors) {
                L.LrfdSide = R.Real();
            }
            break;
        case LayerField::LRFDB:
            if (withFactors) {
                L.LrfdTip = R.Real();
            }
            break;
        default: {
            const int col = P.Kind().ColumnOf(field);
            const bool olderSandPlaceholder =
                !CurrentFormat && L.SoilType() == kolmar::kSand && field == LayerField::DELTA;
            if (col < 0 || olderSandPlaceholder) {
                R.Skip();
            } else if (kolmar::LayerFieldInfoOf(field).word == kolmar::LayerWord::real) {
                P.SetValue(Row, col, R.Real());
            } else {
                P.SetValue(Row, col, R.Int());
            }
            break;
        }
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Writing

// Builds the text of the file: CR LF line ends, words separated by one blank.
class TFileText {
public:
    // A value followed by one blank.
    void Item(const std::string& W) {
        fOut += W;
        fOut += ' ';
    }
    // Values separated by one blank, no blank after the last.
    void Words(std::initializer_list<std::string> Ws) {
        bool first = true;
        for (const auto& w : Ws) {
            if (!first) {
                fOut += ' ';
            }
            fOut += w;
            first = false;
        }
    }
    void EndLine() { fOut += "\r\n"; }
    std::string& Text() { return fOut; }

private:
    std::string fOut;
};

[[noreturn]] void RefuseSave(const std::string& What) {
    throw EInOutError("The project cannot be saved: " + What);
}

// A real in the file's general format; a value that is not finite is never written.
std::string Real(double V, const std::string& Name) {
    if (!std::isfinite(V)) {
        RefuseSave(Name + " is not a finite number.");
    }
    return FormatGeneral(V, 8);
}

std::string Int(int V) {
    return std::to_string(V);
}

// Names a cell of a layer for messages: "the cohesion at the top of layer 2".
std::string CellName(const TSoilLayer& L, int Row, int Col, int LayerNo) {
    return std::string("the ") + L.Params.Kind().Columns[static_cast<std::size_t>(Col)].Name +
           (Row == 0 ? " at the top" : " at the bottom") + " of layer " + std::to_string(LayerNo);
}

std::string LayerName(const char* What, int LayerNo) {
    return std::string("the ") + What + " of layer " + std::to_string(LayerNo);
}

// Writes one layer block: the code and depth, the two row lines (top row, then bottom row) in the
// columns of the layer's records, and the records that follow them.
void WriteLayer(TFileText& T, const TSoilLayer& L, int LayerNo) {
    const TParameterSet& P = L.Params;
    const auto cell = [&](int Row, int Col) {
        return Real(P.Value(Row, Col), CellName(L, Row, Col, LayerNo));
    };
    const std::string fmax =
        Real(L.MaxSideFriction, LayerName("maximum unit side friction", LayerNo));
    const std::string qmax = Real(L.MaxEndBearing, LayerName("maximum unit end bearing", LayerNo));
    const std::string phiS = Real(L.LrfdSide, LayerName("LRFD factor on side friction", LayerNo));
    const std::string phiB = Real(L.LrfdTip, LayerName("LRFD factor on end bearing", LayerNo));
    const auto columnText = [&](int Row, LayerField Field) {
        switch (Field) {
        case LayerField::TRANLM:
            return fmax;
        case LayerField::QMAX:
            return qmax;
        case LayerField::LRFDS:
            return phiS;
        case LayerField::LRFDB:
            return phiB;
        default:
            break;
        }
        const int col = P.Kind().ColumnOf(Field);
        if (col < 0) {
            // A value the program does not hold (the end-bearing coefficient of sand, the
            // friction angle of clay): "0.0" leaves it to the engine.
            return std::string("0.0");
        }
        return kolmar::LayerFieldInfoOf(Field).word == kolmar::LayerWord::real
                   ? cell(Row, col)
                   : Int(P.IntValue(Row, col));
    };

    T.Item(Int(L.SoilType()));
    T.Item(Real(L.Depth, LayerName("depth at the bottom", LayerNo)));
    T.EndLine();
    const kolmar::LayerRecord& record = kolmar::LayerRecordOf(L.SoilType());
    for (int r = 0; r < TParameterSet::RowCount; ++r) {
        for (const LayerField field : record.row) {
            T.Item(columnText(r, field));
        }
        T.EndLine();
    }
    switch (record.tail) {
    case kolmar::LayerTail::sand_method: {
        const int method = P.IntValue(1, P.Kind().ColumnOf(LayerField::ISIDE));
        const int col = P.Kind().ColumnOf(kolmar::SandMethodField(method));
        T.Item(Int(method));
        T.EndLine();
        T.Item(cell(0, col));
        T.Item(cell(1, col));
        T.EndLine();
        break;
    }
    case kolmar::LayerTail::alpha: {
        // The alpha pair has no blank after its last value.
        const int col = P.Kind().ColumnOf(LayerField::ALPHA);
        T.Words({cell(0, col), cell(1, col)});
        T.EndLine();
        break;
    }
    case kolmar::LayerTail::none:
        break;
    }
}

} // namespace

namespace {

// The few file calls of an atomic save, by platform: a new file that did not exist (O_EXCL),
// written whole, flushed to the disk and closed, or removed again.
#ifdef _WIN32
int CreateNew(const std::filesystem::path& Path) {
    return ::_wopen(Path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                    _S_IREAD | _S_IWRITE);
}
long WriteSome(int Fd, const char* Data, std::size_t Size) {
    return ::_write(Fd, Data, static_cast<unsigned>(std::min<std::size_t>(Size, 1u << 30)));
}
int FlushToDisk(int Fd) {
    return ::_commit(Fd);
}
int CloseFile(int Fd) {
    return ::_close(Fd);
}
void KeepPermissions(int, const std::filesystem::path&) {}
#else
int CreateNew(const std::filesystem::path& Path) {
    return ::open(Path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
}
long WriteSome(int Fd, const char* Data, std::size_t Size) {
    return static_cast<long>(::write(Fd, Data, Size));
}
int FlushToDisk(int Fd) {
    return ::fsync(Fd);
}
int CloseFile(int Fd) {
    return ::close(Fd);
}
// An existing project keeps its permissions.
void KeepPermissions(int Fd, const std::filesystem::path& Target) {
    struct stat st {};
    if (::stat(Target.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
        ::fchmod(Fd, st.st_mode & 07777);
    }
}
#endif

} // namespace

void WriteFileAtomically(const std::string& Target, const std::string& Text,
                         const std::string& What) {
    const auto fail = [&](const std::string& Why, int Err) {
        throw EInOutError("Cannot save " + What + " to \"" + Target + "\": " + Why + " (" +
                          std::strerror(Err) + ").");
    };
    if (Target.empty()) {
        throw EInOutError("Cannot save " + What + ": it has no file name.");
    }
    const std::filesystem::path target = kolmar::PathFromUtf8(Target);

    static std::atomic<unsigned> counter{0};
    std::filesystem::path tmp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        const auto stamp = static_cast<unsigned long long>(
            std::chrono::steady_clock::now().time_since_epoch().count());
        tmp =
            kolmar::PathFromUtf8(Target + ".tmp-" + std::to_string(kolmar::ProcessNumber()) + "-" +
                                 std::to_string(counter++) + "-" + std::to_string(stamp % 1000000));
        fd = CreateNew(tmp);
        if (fd < 0 && errno != EEXIST) {
            fail("the temporary file cannot be created", errno);
        }
    }
    if (fd < 0) {
        fail("no unused temporary file name was found", EEXIST);
    }

    const auto abandon = [&](const std::string& Why, int Err) {
        if (fd >= 0) {
            CloseFile(fd);
        }
        std::error_code ignored;
        std::filesystem::remove(tmp, ignored);
        fail(Why, Err);
    };
    KeepPermissions(fd, target);
    std::size_t done = 0;
    while (done < Text.size()) {
        const long n = WriteSome(fd, Text.data() + done, Text.size() - done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            abandon("writing failed", errno);
        }
        done += static_cast<std::size_t>(n);
    }
    if (FlushToDisk(fd) != 0) {
        abandon("flushing to disk failed", errno);
    }
    const int closed = CloseFile(fd);
    fd = -1;
    if (closed != 0) {
        abandon("closing the file failed", errno);
    }
    if (const std::error_code ec = kolmar::MoveFileInPlace(tmp, target)) {
        std::error_code ignored;
        std::filesystem::remove(tmp, ignored);
        throw EInOutError("Cannot save " + What + " to \"" + Target +
                          "\": the file cannot be replaced (" + ec.message() + ").");
    }
}

// ---------------------------------------------------------------------------------------------
// Layouts

namespace {

// The layout by the words of the control line: the third line that holds words, since the
// readers pass blank lines between the records (the title is the first line, whatever it holds).
TFileLayout LayoutOfReader(const TWordReader& Words) {
    int line = 1;
    for (int record = 2; record <= 3; ++record, ++line) {
        while (line < Words.LineCount() && Words.LineWordCount(line) == 0) {
            ++line;
        }
    }
    switch (Words.LineWordCount(line - 1)) {
    case 4:
    case 5:
        return TFileLayout::Version60;
    case 6:
        return TFileLayout::Version2012;
    case 10:
        return TFileLayout::Current10;
    case 11:
        return TFileLayout::Current;
    default:
        return TFileLayout::Unknown;
    }
}

int ReaderOf(const TWordReader& Words, const std::string& FName) {
    const int byContent = FilterForLayout(LayoutOfReader(Words));
    if (byContent != 0) {
        return byContent;
    }
    const int byExtension = FilterForFileName(FName);
    return byExtension == 0 ? 1 : byExtension;
}

} // namespace

TFileLayout LayoutOfText(std::string_view Text) {
    return LayoutOfReader(TWordReader::FromText(Text));
}

int FilterForLayout(TFileLayout Layout) {
    switch (Layout) {
    case TFileLayout::Current:
    case TFileLayout::Current10:
        return 1;
    case TFileLayout::Version2012:
        return 2;
    case TFileLayout::Version60:
        return 3;
    case TFileLayout::Unknown:
        break;
    }
    return 0;
}

int ReaderForFile(const std::string& FName) {
    try {
        return ReaderOf(TWordReader(FName), FName);
    } catch (const EInOutError&) {
        const int byExtension = FilterForFileName(FName);
        return byExtension == 0 ? 1 : byExtension;
    }
}

// ---------------------------------------------------------------------------------------------
// TProgramData: reading

void TProgramData::ResetForRead(const std::string& FName) {
    *this = TProgramData();
    FileName = FName;
    fUnits = UnitsEnglish;
    D.Clear();
    TblTZDepth.Clear();
}

void TProgramData::TopUpTables() {
    D.TopUp();
    TblTZDepth.TopUp();
}

void TProgramData::ReadLayers(TWordReader& Words, bool CurrentFormat) {
    TRecordReader R(Words);
    for (TSoilLayer& L : D) {
        L.SetSoilType(
            R.Count(MinSoilType, MaxSoilType, "The soil type code must be between 1 and 9."));
        L.Depth = R.Real();
        for (int r = 0; r < TParameterSet::RowCount; ++r) {
            ReadLayerRow(R, L, r, CurrentFormat);
        }
        TParameterSet& P = L.Params;
        switch (kolmar::LayerRecordOf(L.SoilType()).tail) {
        case kolmar::LayerTail::sand_method: {
            int method = R.Int();
            if (!CurrentFormat) {
                method = method == 1 ? 1 : 2; // Ko, or Beta for any other code
            }
            const int methodCol = P.Kind().ColumnOf(LayerField::ISIDE);
            P.SetValue(0, methodCol, method);
            P.SetValue(1, methodCol, method);
            const int col = P.Kind().ColumnOf(kolmar::SandMethodField(method));
            P.SetValue(0, col, R.Real());
            P.SetValue(1, col, R.Real());
            break;
        }
        case kolmar::LayerTail::alpha: {
            const int col = P.Kind().ColumnOf(LayerField::ALPHA);
            P.SetValue(0, col, R.Real());
            P.SetValue(1, col, R.Real());
            break;
        }
        case kolmar::LayerTail::none:
            break;
        }
    }
}

void TProgramData::ReadVersion8(const std::string& FName) {
    TWordReader reader(FName);
    ReadVersion8(reader, FName);
}

void TProgramData::ReadVersion8(TWordReader& Words, const std::string& FName) {
    std::function<void()> onUnitsChanged = std::move(OnUnitsChanged);
    ResetForRead(FName);
    TRecordReader R(Words);
    try {
        Title = Words.ReadLine();
        SetUnits(R.Int());

        METHOD = R.Int();
        KCYCL = R.Int();
        RCYCL = R.Real();
        PINC = R.Real();
        Yesnewversion = 1;
        IMOD = R.Int();
        NLRFD = R.Int();
        IPENT = R.Int();
        IChart = R.Int();
        UseElevation = R.Int();
        ValElevation = R.Real();
        if (R.LineWords() == 11) {
            PrintTZCurves = R.Int();
        } else {
            Layout = TFileLayout::Current10; // Save writes the control line the engine reads
        }

        for (double* v : {&DSTART, &DIALIM, &RATIO, &BELANGL, &TOPLENG, &BS, &EPILE}) {
            *v = R.Real();
        }

        D.SetRowCount(
            R.Count(MinLayers, MaxLayers, "The number of soil layers must be between 1 and 40."));
        WTD = R.Real();
        if (METHOD == 1) {
            LPD = R.Real();
            PD = 0;
        } else {
            PD = R.Real();
            LPD = 0;
        }
        FST = R.Real();
        FSB = R.Real();

        if (IPENT > 0) {
            PDMIN = R.Real();
            PDINCR = R.Real();
        }
        InitPDSET();
        if (IChart > 0) {
            PDMIN = R.Real();
            PDINCR = R.Real();
            DIAMINCR = R.Real();
            NPOINTPD = R.Count(0, MaxPDSETT,
                               "The number of design-chart settlements must be between 0 and 10.");
            for (int i = 0; i < NPOINTPD; ++i) {
                PDSETT[static_cast<std::size_t>(i)] = R.Real();
            }
        }

        ReadLayers(Words, true);

        if (PrintTZCurves == 1) {
            TblTZDepth.SetRowCount(R.Count(MinTZDepths, MaxTZDepths,
                                           "The number of t-z depths must be between 1 and 50."));
            for (double& depth : TblTZDepth) {
                depth = R.Real();
            }
        }
    } catch (const EInOutError&) {
        TopUpTables();
        DataChanged = false;
        OnUnitsChanged = std::move(onUnitsChanged);
        throw;
    }
    TopUpTables();
    DataChanged = false;
    OnUnitsChanged = std::move(onUnitsChanged);
}

void TProgramData::ReadPrevVersions(const std::string& FName, bool IsNewVer) {
    TWordReader reader(FName);
    ReadPrevVersions(reader, FName, IsNewVer);
}

void TProgramData::ReadPrevVersions(TWordReader& Words, const std::string& FName, bool IsNewVer) {
    std::function<void()> onUnitsChanged = std::move(OnUnitsChanged);
    ResetForRead(FName);
    TRecordReader R(Words);
    try {
        Title = Words.ReadLine();
        SetUnits(R.Int());

        METHOD = R.Int();
        KCYCL = R.Int();
        RCYCL = R.Real();
        PINC = R.Real();
        IMOD = 1;
        Yesnewversion = IsNewVer ? 1 : 0;
        Layout = IsNewVer ? TFileLayout::Version2012 : TFileLayout::Version60;
        if (IsNewVer) {
            IMOD = R.Int();
            NLRFD = R.Int();
        } else {
            // The 6.0 layout knew allowable stress design alone: its factors of safety are
            // the project's design method.
            NLRFD = 2;
            if (R.LineWords() == 5) {
                IMOD = R.Int();
            }
        }

        for (double* v : {&DSTART, &DIALIM, &RATIO, &BELANGL, &TOPLENG, &BS, &EPILE}) {
            *v = R.Real();
        }

        D.SetRowCount(
            R.Count(MinLayers, MaxLayers, "The number of soil layers must be between 1 and 40."));
        WTD = R.Real();
        if (METHOD == 1) {
            LPD = R.Real();
            PD = 0;
        } else {
            PD = R.Real();
            LPD = 0;
        }
        FST = R.Real();
        FSB = R.Real();

        ReadLayers(Words, false);
    } catch (const EInOutError&) {
        TopUpTables();
        DataChanged = false;
        OnUnitsChanged = std::move(onUnitsChanged);
        throw;
    }
    TopUpTables();
    DataChanged = false;
    OnUnitsChanged = std::move(onUnitsChanged);
}

namespace {

std::unique_ptr<TProgramData> ReadWith(std::unique_ptr<TProgramData> P, TWordReader& Words,
                                       int filter, std::string* Error, const std::string& FName) {
    try {
        if (filter == 1) {
            P->ReadVersion8(Words, FName);
        } else {
            P->ReadPrevVersions(Words, FName, filter != 3);
        }
    } catch (const EInOutError& e) {
        P->Damaged = true;
        if (Error != nullptr) {
            *Error = e.what();
        }
    }
    if (filter != 1) {
        P->InitPDSET();
    }
    return P;
}

} // namespace

std::unique_ptr<TProgramData> TProgramData::CreateFromFile(const std::string& FName, int filter,
                                                           std::string* Error) {
    if (Error != nullptr) {
        Error->clear();
    }
    std::optional<TWordReader> words;
    try {
        words.emplace(FName);
    } catch (const EInOutError& e) {
        if (Error != nullptr) {
            *Error = e.what();
        }
        return nullptr;
    }
    if (filter == 0) {
        filter = ReaderOf(*words, FName);
    }
    return ReadWith(std::unique_ptr<TProgramData>(new TProgramData()), *words, filter, Error,
                    FName);
}

std::unique_ptr<TProgramData> TProgramData::CreateFromText(std::string_view Text, int filter,
                                                           std::string* Error,
                                                           const std::string& FName) {
    if (Error != nullptr) {
        Error->clear();
    }
    TWordReader words = TWordReader::FromText(Text);
    if (filter == 0) {
        filter = ReaderOf(words, FName);
    }
    return ReadWith(std::unique_ptr<TProgramData>(new TProgramData()), words, filter, Error, FName);
}

// ---------------------------------------------------------------------------------------------
// TProgramData: writing

void TProgramData::Normalise() {
    // The engine reads either the shaft length or the design load, by METHOD.
    METHOD = PD > 0 ? 2 : 1;
    if (METHOD == 1) {
        PD = 0;
        IPENT = 0;
        IChart = 0;
    } else {
        LPD = 0;
    }
    Yesnewversion = 1;
    if (IPENT == 1) {
        DIALIM = DSTART; // multiple lengths are analysed for one diameter
    }
}

std::string TProgramData::SaveToText() {
    TProgramData P(*this);
    if (P.Title.find_first_of("\r\n") != std::string::npos) {
        RefuseSave("the title must be a single line.");
    }
    // Checked before normalising: a NaN length would silently turn into a design load.
    Real(P.PD, "PD");
    Real(P.LPD, "LPD");
    P.Normalise();
    if (P.IChart > 0 && (P.NPOINTPD < 0 || P.NPOINTPD > MaxPDSETT)) {
        RefuseSave("the number of design-chart settlements (NPOINTPD) must be between 0 and 10.");
    }

    TFileText T;
    T.Words({P.Title});
    T.EndLine();
    T.Item(Int(P.fUnits));
    T.EndLine();
    T.Words({Int(P.METHOD), Int(P.KCYCL), Real(P.RCYCL, "RCYCL"), Real(P.PINC, "PINC"), Int(P.IMOD),
             Int(P.NLRFD), Int(P.IPENT), Int(P.IChart), Int(P.UseElevation),
             Real(P.ValElevation, "ValElevation"), Int(P.PrintTZCurves)});
    T.EndLine();
    T.Words({Real(P.DSTART, "DSTART"), Real(P.DIALIM, "DIALIM"), Real(P.RATIO, "RATIO"),
             Real(P.BELANGL, "BELANGL"), Real(P.TOPLENG, "TOPLENG"), Real(P.BS, "BS"),
             Real(P.EPILE, "EPILE")});
    T.EndLine();
    T.Words({Int(P.D.RowCount()), Real(P.WTD, "WTD"),
             P.METHOD == 1 ? Real(P.LPD, "LPD") : Real(P.PD, "PD"), Real(P.FST, "FST"),
             Real(P.FSB, "FSB")});
    T.EndLine();
    if (P.IPENT > 0) {
        T.Words({Real(P.PDMIN, "PDMIN"), Real(P.PDINCR, "PDINCR")});
        T.EndLine();
    }
    if (P.IChart > 0) {
        T.Words({Real(P.PDMIN, "PDMIN"), Real(P.PDINCR, "PDINCR"), Real(P.DIAMINCR, "DIAMINCR"),
                 Int(P.NPOINTPD)});
        T.EndLine();
        for (int i = 0; i < P.NPOINTPD; ++i) {
            T.Item(Real(P.PDSETT[static_cast<std::size_t>(i)],
                        "design-chart settlement " + std::to_string(i + 1)));
        }
        T.EndLine();
    }
    int layerNo = 0;
    for (const TSoilLayer& L : P.D) {
        WriteLayer(T, L, ++layerNo);
        if (L.SoilType() >= kolmar::kStrongRockSideOrBase &&
            L.SoilType() <= kolmar::kStrongRockSideAndBase) {
            P.ID2 = 0; // rock layers change which settlement results the engine writes
        }
    }
    if (P.PrintTZCurves == 1) {
        T.Words({Int(P.TblTZDepth.RowCount())});
        T.EndLine();
        int n = 0;
        for (double depth : P.TblTZDepth) {
            T.Words({Real(depth, "t-z depth " + std::to_string(++n))});
            T.EndLine();
        }
    }
    *this = std::move(P);
    return std::move(T.Text());
}

void TProgramData::Save() {
    TProgramData saved(*this);
    const std::string text = saved.SaveToText();
    WriteFileAtomically(FileName, text);
    *this = std::move(saved);
    DataChanged = false;
    Damaged = false; // the file now holds the whole project
    Layout = TFileLayout::Current;
}
