// The project data model: TProgramData holds one complete project (scalar values, the soil
// layer table with each layer's two-row parameter set, the t-z depth table) in the units of
// the project's own system, and reads and writes the project file.
// Exports TProgramData, TSoilLayer, TParameterSet, TBoundedRows, the parameter-set kinds and
// FilterForFileName. Plain C++: the editing windows present these containers.
#pragma once

#include "kolmar/layer_records.h"
#include "ui/model/WordRead.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class TProgramData;

// ---------------------------------------------------------------------------------------------
// Parameter-set kinds

// Soil type codes of a layer; each selects a parameter-set kind and the engine's material model.
// They are the engine's codes, named once, in the layer records (kolmar::kSand, ...).
using TSoilTypeCode = kolmar::SoilCode;
constexpr int MinSoilType = kolmar::kMinSoilCode;
constexpr int MaxSoilType = kolmar::kMaxSoilCode;

// Column indices of the parameter sets. Row 0 holds the values at the top of the layer,
// row 1 those at its bottom; the engine interpolates between them.
namespace SandCol {
enum : int {
    UnitWeight = 0,     // total unit weight, F/L2^3
    FrictionAngle = 1,  // degrees
    BlowCounts = 2,     // SPT N, integer, optional
    Ko = 3,             // coefficient of lateral earth pressure
    Beta = 4,           // beta factor
    Method = 5,         // side friction method, integer: 1 Ko, 2 Beta, 3 Chen and Kulhawy (2002)
    InterfaceAngle = 6, // degrees
    M = 7,              // preconsolidation stress exponent m (Chen and Kulhawy)
};
}
namespace ClayCol { // clay and clay shale
enum : int {
    UnitWeight = 0, // F/L2^3
    Cohesion = 1,   // F/L2^2
    BlowCounts = 2, // integer, optional
    Alpha = 3,      // alpha factor
    Nc = 4,         // bearing capacity coefficient
};
}
namespace StrongRockCol { // codes 4 and 7
enum : int {
    Qu = 0,             // rock compressive strength, F/L2^2
    ConcreteFc = 1,     // concrete compressive strength f'c, F/L2^2
    Spacing = 2,        // discontinuity spacing, L2
    Thickness = 3,      // discontinuity thickness, L2
    SocketDiameter = 4, // L2
    Modulus = 5,        // elastic modulus, F/L^2
    RQD = 6,            // percent
};
}
namespace DecomposedCol { // decomposed rock / gravel, code 5
enum : int {
    UnitWeight = 0,     // F/L2^3
    BlowCounts = 1,     // SPT N, integer
    Poisson = 2,        // Poisson's ratio
    Modulus = 3,        // Young's modulus, F/L^2, optional
    SocketDiameter = 4, // L2
};
}
namespace WeakRockCol { // code 6
enum : int {
    Qu = 0,             // rock compressive strength, F/L2^2
    Condition = 1,      // interface condition, integer 1..4 (rough/smooth, closed/open joints)
    Slump = 2,          // concrete slump, L
    InterfaceAngle = 3, // degrees
    SocketDiameter = 4, // L2
    Modulus = 5,        // elastic modulus of the rock core, F/L^2
    RQD = 6,            // percent
};
}
namespace GravelCol { // gravelly sand and gravel, codes 8 and 9
enum : int {
    UnitWeight = 0, // F/L2^3
    BlowCounts = 1, // integer
    Beta = 2,       // optional
};
}

struct TParamColumn {
    const char* Name;        // what the column holds, for messages
    const char* UnitsString; // units string of the column ("" or "deg" or "%" = dimensionless)
    bool IsInteger;
    double Default;           // value of a fresh set
    kolmar::LayerField Field; // the value of the layer records that the column holds
};

// One kind of parameter set: its table name and identifier, and its columns.
struct TParamKind {
    const char* TableName;
    int Identifier;
    std::span<const TParamColumn> Columns;
    int ColumnCount() const { return static_cast<int>(Columns.size()); }
    // The column that holds a value of the layer records; -1 when the kind holds none.
    int ColumnOf(kolmar::LayerField Field) const;
};

// The kind of parameter set that a soil type code selects. Throws std::out_of_range for a
// code outside 1..9.
const TParamKind& ParamKindForSoil(int SoilType);
// The label of a soil type code in the layer editor's drop-down list (code 1 is sand).
const char* SoilTypeLabel(int SoilType);

// A layer's two-row parameter set of one kind. Values are stored as doubles; integer columns
// hold whole numbers (SetValue rounds them to the nearest integer and keeps them in the 32-bit
// range; NaN becomes 0).
class TParameterSet {
public:
    explicit TParameterSet(int SoilType = kolmar::kSand); // a fresh set of that kind with defaults
    int SoilType() const { return fSoilType; }
    const TParamKind& Kind() const { return *fKind; }
    int ColumnCount() const { return fKind->ColumnCount(); }
    static constexpr int RowCount = 2;

    // Row 0 = top of layer, 1 = bottom. Throw std::out_of_range for a bad row or column.
    double Value(int Row, int Col) const;
    std::int32_t IntValue(int Row, int Col) const;
    void SetValue(int Row, int Col, double V);

private:
    std::size_t Index(int Row, int Col) const;
    int fSoilType;
    const TParamKind* fKind;
    std::vector<double> fValues; // row-major, RowCount * ColumnCount
};

// Columns of the soil layer table D.
enum TLayerColumn : int {
    lcSoilType = 0,        // code 1..9
    lcDepth = 1,           // depth of the layer's bottom, L2
    lcParams = 2,          // the layer's parameter set
    lcMaxSideFriction = 3, // maximum unit side friction, F/L2^2, 0 = no limit
    lcMaxEndBearing = 4,   // maximum unit end bearing, F/L2^2, 0 = no limit
    lcLrfdSide = 5,        // LRFD resistance factor on side friction
    lcLrfdTip = 6,         // LRFD resistance factor on end bearing
};
// Units string of a real column of the layer table (1, 3..6); "" for the others.
const char* LayerColumnUnits(int Col);

// One row of the soil layer table.
struct TSoilLayer {
    TParameterSet Params;         // carries the soil type code (column 0) and column 2
    double Depth = 0.0;           // L2
    double MaxSideFriction = 0.0; // F/L2^2
    double MaxEndBearing = 0.0;   // F/L2^2
    double LrfdSide = 1.0;
    double LrfdTip = 1.0;

    int SoilType() const { return Params.SoilType(); }
    // Gives the layer a fresh parameter set of the new kind with its defaults. Returns false
    // and changes nothing for a code outside 1..9.
    bool SetSoilType(int Code);

    // Real columns by index (lcDepth, lcMaxSideFriction ... lcLrfdTip); std::out_of_range else.
    double Real(int Col) const;
    void SetReal(int Col, double V);
};

// A table whose row count stays within fixed limits. Every operation that would take the
// count outside MinRows()..MaxRows() (or uses a bad index) returns false and changes nothing.
// Element access with a bad index throws std::out_of_range.
template <class Row> class TBoundedRows {
public:
    TBoundedRows(int MinRows, int MaxRows) : fMin(MinRows), fMax(MaxRows) {
        fRows.resize(static_cast<std::size_t>(MinRows));
    }
    int RowCount() const { return static_cast<int>(fRows.size()); }
    int MinRows() const { return fMin; }
    int MaxRows() const { return fMax; }

    const Row& operator[](int I) const { return fRows.at(Pos(I)); }
    Row& operator[](int I) { return fRows.at(Pos(I)); }

    // New rows take the default row value (for layers: a sand layer, depth 0, factors 1.0).
    bool SetRowCount(int N) {
        if (N < fMin || N > fMax) {
            return false;
        }
        fRows.resize(static_cast<std::size_t>(N));
        return true;
    }
    bool Add(Row R = Row()) { return Insert(RowCount(), std::move(R)); }
    // Inserts before row I (0..RowCount()); I == RowCount() appends.
    bool Insert(int I, Row R = Row()) {
        if (RowCount() >= fMax || I < 0 || I > RowCount()) {
            return false;
        }
        fRows.insert(fRows.begin() + I, std::move(R));
        return true;
    }
    bool Delete(int I) {
        if (RowCount() <= fMin || I < 0 || I >= RowCount()) {
            return false;
        }
        fRows.erase(fRows.begin() + I);
        return true;
    }

    auto begin() const { return fRows.begin(); }
    auto end() const { return fRows.end(); }
    auto begin() { return fRows.begin(); }
    auto end() { return fRows.end(); }

private:
    friend class TProgramData; // the readers empty a table and top it up when done
    static std::size_t Pos(int I) {
        return I < 0 ? static_cast<std::size_t>(-1) : static_cast<std::size_t>(I);
    }
    void Clear() { fRows.clear(); }
    void TopUp() {
        if (RowCount() < fMin) {
            fRows.resize(static_cast<std::size_t>(fMin));
        }
    }
    std::vector<Row> fRows;
    int fMin;
    int fMax;
};

constexpr int MinLayers = 1;
constexpr int MaxLayers = 40;
constexpr int MinTZDepths = 1;
constexpr int MaxTZDepths = 50;
constexpr int MaxPDSETT = 10;

// ---------------------------------------------------------------------------------------------
// The project

// The layouts of a project file. The number of words on line 3 (the control line) tells them
// apart: 4 or 5 words the 6.0 layout, 6 the 2012 layout, 10 the current layout as an earlier
// release wrote it (without PrintTZCurves, which the engine needs), 11 the current layout.
enum class TFileLayout { Unknown, Version60, Version2012, Current10, Current };

// The layout of a project file's text by its content; blank lines between the first three
// records are passed over as the readers pass them. Unknown for any other word count.
TFileLayout LayoutOfText(std::string_view Text);
// The reader filter of a layout (1 current, 2 the 2012 layout, 3 the 6.0 layout); 0 for Unknown.
int FilterForLayout(TFileLayout Layout);
// The reader for a file: by its content, or by its extension when the content has no layout
// of its own (FilterForFileName; an unknown extension is read as the current layout).
int ReaderForFile(const std::string& FName);

class TProgramData {
public:
    // New project with the defaults: one sand layer, one t-z depth of 0, English units.
    static std::unique_ptr<TProgramData> Create();
    // Reads a project file. Filter 0 = the layout the file's content shows (ReaderForFile);
    // 1 = current format (ReadVersion8); 3 = older 6.0 layout; any other = older 2012 layout; the
    // older layouts carry no design-chart settlements, so ReadPrevVersions is followed by
    // InitPDSET. Never throws for a bad file: returns the project holding the values read so far
    // (tables topped up to their minimum rows, DataChanged false, Damaged true) and puts the
    // reader's message into *Error (empty on success). A 6.0-layout project is an ASD project
    // (NLRFD 2): that layout had no LRFD. Returns nullptr only if the file cannot be opened, with
    // *Error set. Error may be null.
    static std::unique_ptr<TProgramData> CreateFromFile(const std::string& FName, int filter,
                                                        std::string* Error);
    // The same on a file's text already in memory; FileName becomes FName.
    static std::unique_ptr<TProgramData> CreateFromText(std::string_view Text, int filter,
                                                        std::string* Error,
                                                        const std::string& FName = "");

    // Readers: reset this object to a blank project (every field 0, tables empty), then read.
    // Blank lines between values are passed over (the engine's free-format input does so too,
    // and a project with design charts but no settlements in use has an empty line 8).
    // On a format error they keep what was read, top the tables up, clear DataChanged and
    // rethrow the EInOutError. The FName overloads also throw EInOutError when the file cannot
    // be opened (nothing is changed then).
    void ReadVersion8(const std::string& FName);
    void ReadVersion8(TWordReader& Reader, const std::string& FName);
    // IsNewVer true: 2012 layout of line 3 (IMOD NLRFD follow); false: 6.0 layout (IMOD only
    // when line 3 has 5 words). Leaves PDSETT to the caller (see CreateFromFile).
    void ReadPrevVersions(const std::string& FName, bool IsNewVer);
    void ReadPrevVersions(TWordReader& Reader, const std::string& FName, bool IsNewVer);

    // Normalises the project (METHOD from PD, the unused one of PD/LPD zeroed, IPENT and IChart
    // off for METHOD 1, DIALIM := DSTART under IPENT, Yesnewversion := 1, ID2 := 0 when a rock
    // layer is written) and writes it to FileName atomically: a temporary file in the same
    // directory is written, flushed, closed and renamed over the target. On failure the
    // temporary file is removed, the previous file stays intact, nothing in memory changes and
    // EInOutError is thrown. A title with a line break, NPOINTPD outside 0..10 while design
    // charts are on, or a value that is not finite is refused with a message naming it.
    // Clears DataChanged on success.
    void Save();
    // The normalisation and the exact bytes that Save writes, without touching any file.
    std::string SaveToText();

    // Switches the unit system (clamped into 1..2) and converts every dimensional value.
    void SetUnits(int Value);
    // Design-chart settlements to their defaults: 0.1, 0.25, 0.5, 0.75, then 1.0 (inches, or
    // the same in metres in SI). NPOINTPD is not changed.
    void InitPDSET();

    // Called at the end of SetUnits so that open windows can reload their values.
    std::function<void()> OnUnitsChanged;
    // Set by the editing windows on every change; cleared by Create, the readers and Save.
    bool DataChanged = false;
    // The file was read with an error: the project holds only what came before it. Such a
    // project must never be written over the file it came from without the user's consent;
    // a successful Save clears the mark. Not part of the file.
    bool Damaged = false;
    // The layout of the file the project was read from (Current for a new project).
    TFileLayout Layout = TFileLayout::Current;

    int fUnits = 0;        // unit system: 1 English, 2 SI
    std::string FileName;  // full path of the project file; "NewShaft.kx8d" = never saved
    std::string Title;     // one line of project description
    double PINC = 0;       // output increment, L2
    int PrintTZCurves = 0; // 1 = additional t-z curves at the depths of TblTZDepth
    int METHOD = 0;        // 1 = design load given (LPD), 2 = shaft length given (PD)
    int KCYCL = 0;         // loading: 1 compression, 2 uplift
    double RCYCL = 0;      // reduction factor for uplift (1.0 under compression)
    double DSTART = 0;     // minimum shaft diameter, L2
    double DIALIM = 0;     // maximum shaft diameter, L2 (0 = same as minimum)
    double RATIO = 0;      // bell diameter / shaft diameter (0 = straight shaft)
    double BELANGL = 0;    // bell angle from vertical, degrees
    double TOPLENG = 0;    // upper length without side friction, L2
    double BS = 0;         // bottom length without side friction, L2
    double EPILE = 0;      // elastic modulus of the shaft, F/L^2
    double WTD = 0;        // depth of the water table, L2
    double PD = 0;         // shaft length (METHOD 2; maximum for multiple lengths), L2
    double PDMIN = 0;      // minimum shaft length for multiple lengths and design charts, L2
    double PDINCR = 0;     // shaft length increment, L2
    double DIAMINCR = 0;   // shaft diameter increment for design charts, L2
    int NPOINTPD = 0;      // design-chart settlements in use, 1..10
    std::array<double, MaxPDSETT> PDSETT{}; // design-chart settlements, L
    double FST = 0;                         // ASD factor of safety on side friction
    double FSB = 0;                         // ASD factor of safety on base capacity
    double LPD = 0;                         // design load (METHOD 1), F2
    double ValElevation = 0; // elevation of the shaft top (plot labels), never converted
    int UseElevation = 0;    // 1 = depth plots show elevations
    int ID2 = 0;             // which settlement results exist (0 when rock layers are present)
    int IPENT = 0;           // 1 = multiple shaft lengths
    int IChart = 0;          // 1 = design charts
    int IMOD = 0;            // sand end bearing: 1 = linear to 10 diameters, 0 = full at any depth
    int Yesnewversion = 0;   // 0 when read from a 6.0-format file (no ASD/LRFD plot columns)
    int NLRFD = 0;           // design method: 1 LRFD, 2 ASD

    TBoundedRows<TSoilLayer> D{MinLayers, MaxLayers};          // soil layers, top first
    TBoundedRows<double> TblTZDepth{MinTZDepths, MaxTZDepths}; // extra t-z curve depths, L2

private:
    TProgramData() = default; // a blank project: every field 0, tables at their minimum rows
    void ResetForRead(const std::string& FName);
    void TopUpTables();
    void ReadLayers(TWordReader& R, bool CurrentFormat);
    void Normalise();
    void ConvertTables(int FromSystem, int ToSystem);
};

// Writes Text to Target through a temporary file in the same directory that is renamed over
// the target only when it is complete, so a failed write never damages the previous file nor
// leaves a partial one. An existing target keeps its permissions. Throws EInOutError
// "Cannot save <What> to "<Target>": <why>".
void WriteFileAtomically(const std::string& Target, const std::string& Text,
                         const std::string& What = "the project");

// Filter for opening a file by its extension (case ignored): 1 for ".kx8d", 2 for ".kxd"
// (the 2012 layout is assumed), 0 for any other extension.
int FilterForFileName(const std::string& FName);
