// Physical limits of the project's values, shared by the entry fields of the data windows and
// the check before a run, and that check itself: the values the engine would refuse (a stem
// diameter or a concrete modulus of 0, a layer without unit weight, a factor of safety of 0, a
// resistance factor outside (0, 1], a negative increment where lengths or diameters vary)
// and depths beyond any real site, each named with the window and field that hold it.
// Exports the limit constants, TValueProblem and CheckProjectValues.
#pragma once

#include <optional>
#include <string>

class TProgramData;

// The deepest water table, layer bottom or shaft length a project may hold: 10,000 ft, or
// 3,048 m in SI.
constexpr double MaxDepthEnglish = 10000.0;
constexpr double MaxDepthSI = 3048.0;
double MaxDepth(int Units);
// Angles in degrees: the friction angle of a soil, and the bell's angle from the vertical.
constexpr double MaxFrictionAngle = 50.0;
constexpr double MaxBellAngle = 90.0;
// SPT blow counts above this are accepted with a warning: such a count is refusal, not a value
// the correlations were made for.
constexpr double BlowCountWarning = 100.0;
// LRFD resistance factors lie in (0, 1].
constexpr double MaxResistanceFactor = 1.0;

// Where a refused value lives: the window, the field inside it (the project field's name, e.g.
// "DSTART", or the layer-table column for the layer editor) and the layer (0 = top) for layer
// values.
struct TValueProblem {
    enum class TWindow {
        Shaft,
        WaterTable,
        Layers,
        SafetyFactor,
        ShaftLength,
        VaryLength,
        DesignCharts
    };
    TWindow Window = TWindow::Shaft;
    std::string Field;
    int Layer = -1;
    std::string Message; // names the window, the field and the limit
};

// The first value of Project that the engine would refuse or that lies beyond its physical
// limit, in the order of the Data menu; none when the project may go to the engine.
std::optional<TValueProblem> CheckProjectValues(const TProgramData& Project);
