// What the main window's Project Overview shows, without any drawing: the summary of a project
// (shaft, loads, design method and controls, units, water table, layers) and the results of its
// last run at a glance, picked from the results file and written as the report prints them.
// Exports TOverviewLine, ProjectSummary, TResultsGlance, ResultsGlance and SettlementAtLoad.
#pragma once

#include "gui/data/JsonRead.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

class TProgramData;

// One line of the summary: its group ("Shaft", "Loads", ...), its label and the value as text.
struct TOverviewLine {
    std::string Group;
    std::string Label;
    std::string Value;
};

// The summary of a project in its own units. Lengths with three decimals, as the report prints
// the shaft, loads with one.
std::vector<TOverviewLine> ProjectSummary(const TProgramData& Project);

// The design row of one case of a run, in the report's units.
struct TGlanceCase {
    double Diameter = 0.0;                  // stem diameter
    double Length = 0.0;                    // design length, or the proposed length
    double QS = 0.0, QB = 0.0, QU = 0.0;    // ultimate side, base (uplift: weight), total
    double QBD = 0.0, QDN = 0.0;            // ASD: safety factor on the base / on both
    double QSL = 0.0, QBL = 0.0, QUL = 0.0; // LRFD side, base and total
};

// The results of a run at a glance.
struct TResultsGlance {
    int Status = 0;
    std::string StatusMeaning;
    bool Lrfd = false;       // NLRFD 1
    bool DesignLoad = false; // METHOD 1: the run found the length for a design load
    bool Uplift = false;     // KCYCL 2: the base column is the shaft's weight (WT)
    std::string LengthUnit, ForceUnit, MovementUnit;
    std::vector<TGlanceCase> Cases; // those with a design row; the first is the headline case
    // The load the settlement is read at: the design load, or else the allowable (ASD QDN) or
    // factored (LRFD QU) capacity at the proposed length; in the force unit.
    double Load = 0.0;
    // Shaft-top movement at Load on the trend, upper-bound and lower-bound lines of the first
    // case; empty when the line does not reach the load (or the run has no such line).
    std::optional<double> TrendSettlement, UpperSettlement, LowerSettlement;
    // The warning and error blocks of the run notes: kind ("warning", "error") and text.
    std::vector<std::pair<std::string, std::string>> Messages;
    int Warnings = 0, Errors = 0;
    // Label and value lines of the headline case, as the report prints them.
    std::vector<TOverviewLine> Lines;
};

// Reads the glance of a results file (either layout); throws std::runtime_error naming a
// missing part or a case that names no capacity table.
TResultsGlance ResultsGlance(const TJson& Results);

// The movement at Load on a load-settlement line of (load, movement) points, interpolated
// linearly between the points about it; empty when the line does not reach Load.
std::optional<double> SettlementAtLoad(const std::vector<std::pair<double, double>>& Line,
                                       double Load);
