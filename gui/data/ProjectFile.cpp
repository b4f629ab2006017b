// The project file (.kx8d, and reading of the older .kxd layouts): one logical record per
// line, whitespace-separated numbers, optional records switched on by flags in earlier ones.
// The same file is the analysis engine's input, so the written form is exact to the byte.
#include "gui/data/DataUnit.h"

#include "ui/model/NumberText.h"
#include "ui/model/units.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstring>
#include <optional>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

// The end of a per-row line of a layer block: fmax and qmax, and the two LRFD factors when the
// line carries its full word count (older files end the line before them).
void ReadRowLimits(TRecordReader& R, TSoilLayer& L, int FullWords) {
    L.MaxSideFriction = R.Real();
    L.MaxEndBearing = R.Real();
    if (R.LineWords() == FullWords) {
        L.LrfdSide = R.Real();
        L.LrfdTip = R.Real();
    }
}

// Column of the sand coefficient pair for a side friction method code: Ko (1), Beta (2),
// the Chen and Kulhawy exponent m (any other code).
int SandCoefficientColumn(int Method) {
    return Method == 1 ? SandCol::Ko : Method == 2 ? SandCol::Beta : SandCol::M;
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

// Writes one layer block. The per-row lines come twice, top row then bottom row.
void WriteLayer(TFileText& T, const TSoilLayer& L, int LayerNo) {
    const TParameterSet& P = L.Params;
    const auto cell = [&](int Row, int Col) {
        return Real(P.Value(Row, Col), CellName(L, Row, Col, LayerNo));
    };
    const auto integer = [&](int Row, int Col) { return Int(P.IntValue(Row, Col)); };
    const std::string fmax =
        Real(L.MaxSideFriction, LayerName("maximum unit side friction", LayerNo));
    const std::string qmax = Real(L.MaxEndBearing, LayerName("maximum unit end bearing", LayerNo));
    const std::string phiS = Real(L.LrfdSide, LayerName("LRFD factor on side friction", LayerNo));
    const std::string phiB = Real(L.LrfdTip, LayerName("LRFD factor on end bearing", LayerNo));

    T.Item(Int(L.SoilType()));
    T.Item(Real(L.Depth, LayerName("depth at the bottom", LayerNo)));
    T.EndLine();
    const auto items = [&](std::initializer_list<std::string> Ws) {
        for (const auto& w : Ws) {
            T.Item(w);
        }
        T.EndLine();
    };
    switch (L.SoilType()) {
    case stSand: {
        using namespace SandCol;
        // "0.0" stands where the engine reads the end-bearing coefficient (0 = computed).
        for (int r = 0; r < 2; ++r) {
            items({"0.0", cell(r, UnitWeight), cell(r, FrictionAngle), cell(r, InterfaceAngle),
                   integer(r, BlowCounts), fmax, qmax, phiS, phiB});
        }
        const int method = P.IntValue(1, Method);
        const int col = SandCoefficientColumn(method);
        items({Int(method)});
        items({cell(0, col), cell(1, col)});
        break;
    }
    case stClay:
    case stShale: {
        using namespace ClayCol;
        // "0.0" stands where the engine reads a friction angle.
        for (int r = 0; r < 2; ++r) {
            items({cell(r, Nc), cell(r, UnitWeight), "0.0", cell(r, Cohesion),
                   integer(r, BlowCounts), fmax, qmax, phiS, phiB});
        }
        T.Words({cell(0, Alpha), cell(1, Alpha)});
        T.EndLine();
        break;
    }
    case stStrongRock:
    case stStrongRockBoth: {
        using namespace StrongRockCol;
        for (int r = 0; r < 2; ++r) {
            items({cell(r, Qu), cell(r, ConcreteFc), cell(r, Spacing), cell(r, Thickness),
                   cell(r, SocketDiameter), fmax, cell(r, Modulus), cell(r, RQD), qmax, phiS,
                   phiB});
        }
        break;
    }
    case stDecomposedRock: {
        using namespace DecomposedCol;
        for (int r = 0; r < 2; ++r) {
            items({cell(r, UnitWeight), integer(r, BlowCounts), cell(r, Poisson), cell(r, Modulus),
                   cell(r, SocketDiameter), fmax, qmax, phiS, phiB});
        }
        break;
    }
    case stWeakRock: {
        using namespace WeakRockCol;
        for (int r = 0; r < 2; ++r) {
            items({cell(r, Qu), integer(r, Condition), cell(r, Slump), cell(r, InterfaceAngle),
                   cell(r, SocketDiameter), fmax, cell(r, Modulus), cell(r, RQD), qmax, phiS,
                   phiB});
        }
        break;
    }
    case stGravellySand:
    case stGravel: {
        using namespace GravelCol;
        for (int r = 0; r < 2; ++r) {
            items({cell(r, UnitWeight), integer(r, BlowCounts), cell(r, Beta), fmax, qmax, phiS,
                   phiB});
        }
        break;
    }
    default:
        break;
    }
}

// Writes Text to Target through a temporary file in the same directory that is renamed over
// the target only when it is complete, so a failed save never damages the previous file.
void WriteFileAtomically(const std::string& Target, const std::string& Text) {
    const auto fail = [&](const std::string& What, int Err) {
        throw EInOutError("Cannot save the project to \"" + Target + "\": " + What + " (" +
                          std::strerror(Err) + ").");
    };
    if (Target.empty()) {
        throw EInOutError("Cannot save the project: it has no file name.");
    }

    static std::atomic<unsigned> counter{0};
    std::string tmp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        const auto stamp = static_cast<unsigned long long>(
            std::chrono::steady_clock::now().time_since_epoch().count());
        tmp = Target + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) +
              "-" + std::to_string(stamp % 1000000);
        fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) {
            fail("the temporary file cannot be created", errno);
        }
    }
    if (fd < 0) {
        fail("no unused temporary file name was found", EEXIST);
    }

    const auto abandon = [&](const std::string& What, int Err) {
        if (fd >= 0) {
            ::close(fd);
        }
        ::unlink(tmp.c_str());
        fail(What, Err);
    };
    // An existing project keeps its permissions.
    struct stat st {};
    if (::stat(Target.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
        ::fchmod(fd, st.st_mode & 07777);
    }
    std::size_t done = 0;
    while (done < Text.size()) {
        const ssize_t n = ::write(fd, Text.data() + done, Text.size() - done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            abandon("writing failed", errno);
        }
        done += static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0) {
        abandon("flushing to disk failed", errno);
    }
    const int closed = ::close(fd);
    fd = -1;
    if (closed != 0) {
        abandon("closing the file failed", errno);
    }
    if (::rename(tmp.c_str(), Target.c_str()) != 0) {
        abandon("the file cannot be replaced", errno);
    }
}

} // namespace

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
        TParameterSet& P = L.Params;
        const auto real = [&](int Row, int Col) { P.SetValue(Row, Col, R.Real()); };
        const auto integer = [&](int Row, int Col) { P.SetValue(Row, Col, R.Int()); };
        switch (L.SoilType()) {
        case stSand: {
            using namespace SandCol;
            for (int r = 0; r < 2; ++r) {
                R.Skip();
                real(r, UnitWeight);
                real(r, FrictionAngle);
                if (CurrentFormat) {
                    real(r, InterfaceAngle);
                } else {
                    R.Skip(); // older files had no interface angle here
                }
                integer(r, BlowCounts);
                ReadRowLimits(R, L, 9);
            }
            int method = R.Int();
            if (!CurrentFormat) {
                method = method == 1 ? 1 : 2; // Ko, or Beta for any other code
            }
            P.SetValue(0, Method, method);
            P.SetValue(1, Method, method);
            const int col = SandCoefficientColumn(method);
            real(0, col);
            real(1, col);
            break;
        }
        case stClay:
        case stShale: {
            using namespace ClayCol;
            for (int r = 0; r < 2; ++r) {
                real(r, Nc);
                real(r, UnitWeight);
                R.Skip();
                real(r, Cohesion);
                integer(r, BlowCounts);
                ReadRowLimits(R, L, 9);
            }
            real(0, Alpha);
            real(1, Alpha);
            break;
        }
        case stStrongRock:
        case stStrongRockBoth: {
            using namespace StrongRockCol;
            for (int r = 0; r < 2; ++r) {
                for (int col : {Qu, ConcreteFc, Spacing, Thickness, SocketDiameter}) {
                    real(r, col);
                }
                L.MaxSideFriction = R.Real();
                real(r, Modulus);
                real(r, RQD);
                L.MaxEndBearing = R.Real();
                if (R.LineWords() == 11) {
                    L.LrfdSide = R.Real();
                    L.LrfdTip = R.Real();
                }
            }
            break;
        }
        case stDecomposedRock: {
            using namespace DecomposedCol;
            for (int r = 0; r < 2; ++r) {
                real(r, UnitWeight);
                integer(r, BlowCounts);
                real(r, Poisson);
                real(r, Modulus);
                real(r, SocketDiameter);
                ReadRowLimits(R, L, 9);
            }
            break;
        }
        case stWeakRock: {
            using namespace WeakRockCol;
            for (int r = 0; r < 2; ++r) {
                real(r, Qu);
                integer(r, Condition);
                real(r, Slump);
                real(r, InterfaceAngle);
                real(r, SocketDiameter);
                L.MaxSideFriction = R.Real();
                real(r, Modulus);
                real(r, RQD);
                L.MaxEndBearing = R.Real();
                if (R.LineWords() == 11) {
                    L.LrfdSide = R.Real();
                    L.LrfdTip = R.Real();
                }
            }
            break;
        }
        default: { // gravelly sand, gravel
            using namespace GravelCol;
            for (int r = 0; r < 2; ++r) {
                real(r, UnitWeight);
                integer(r, BlowCounts);
                real(r, Beta);
                ReadRowLimits(R, L, 7);
            }
            break;
        }
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
        if (IsNewVer) {
            IMOD = R.Int();
            NLRFD = R.Int();
        } else if (R.LineWords() == 5) {
            IMOD = R.Int();
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
        if (L.SoilType() >= stStrongRock && L.SoilType() <= stStrongRockBoth) {
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
}
