// The simulated bidirectional load test for the programs: its set-up file NAME.bidir.json beside
// the project (the cell depth and the cell's capacity, in the project's units, written whole
// through a temporary file), and one call of the engine's kolmar_bidirectional, loaded by file
// name like the analysis, with the answer copied out of its handle.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// The set-up of the test: the cell depth below the top of the shaft (ft or m) and the cell's
// capacity (kips or kN; 0 = none).
struct TBidirSetup {
    double CellDepth = 0.0;
    double CellCapacity = 0.0;
    bool SI = false; // the units the values are in
};

// NAME.bidir.json beside the project NAME.kx8d.
std::filesystem::path BidirSetupPath(const std::filesystem::path& Project);

// Reads the set-up, converted to the project's units (SI or not); nothing when the file is
// missing or defines no positive cell depth. A file that cannot be read sets Error.
std::optional<TBidirSetup> ReadBidirSetup(const std::filesystem::path& Project, bool ProjectSI,
                                          std::string* Error = nullptr);
// The file's text, and the file written whole through a temporary file (false on failure).
std::string BidirSetupText(const TBidirSetup& Setup);
bool WriteBidirSetup(const std::filesystem::path& Project, const TBidirSetup& Setup);

// A table of the answer: columns with units, rows of numbers.
struct TBidirTable {
    std::string Name;
    std::vector<std::string> Columns, Units;
    std::vector<std::vector<double>> Rows;
};

// Indices of the answer's tables and values, as the engine numbers them (kolmar/results.h).
enum class TBidirTableKind : int {
    Upward,
    Downward,
    Equivalent,
    TopDown,
    UpperDistribution,
    LowerDistribution,
    Balance
};
enum class TBidirValue : int {
    CellDepth,
    CellCapacity,
    UpperWeight,
    UpperCapacity,
    LowerCapacity,
    FirstUltimateLoad,
    BalanceDepth,
    BalanceUpperCapacity,
    BalanceLowerCapacity,
    Diameter,
    Length
};

struct TBidirAnswer {
    int Status = 0;      // 0, or the status that stopped it
    std::string Message; // the reason of a refusal, or notes
    std::string Json;    // "kolmar-bidirectional/1"
    std::string FirstPart;
    std::vector<TBidirTable> Tables; // by TBidirTableKind
    std::vector<double> Values;      // by TBidirValue; NaN where there is none
    const TBidirTable& Table(TBidirTableKind Kind) const;
    double Value(TBidirValue Which) const;
};

// Loads the engine (a missing or unsuitable library becomes Status 69 with the loader's reason)
// and simulates the test of the project.
TBidirAnswer SimulateBidirectional(const std::filesystem::path& Engine,
                                   const std::filesystem::path& Project, double CellDepth,
                                   double CellCapacity, bool AtBalance);
