// The physical limits of the project's values and the check of a project before a run.
#include "gui/data/ValueLimits.h"

#include "gui/data/DataUnit.h"
#include "ui/model/NumberText.h"
#include "ui/model/units.h"

#include <cmath>

namespace {

using TWindow = TValueProblem::TWindow;

std::string Num(double Value) {
    return FormatGeneral(Value, 8);
}

std::string LengthUnit(int Units) {
    return Units == UnitsSI ? " m" : " ft";
}

TValueProblem Problem(TWindow Window, std::string Field, std::string Message, int Layer = -1) {
    return {Window, std::move(Field), Layer, std::move(Message)};
}

// NaN fails every comparison: a value that is not a number never passes.
bool Above(double Value, double Limit) {
    return Value > Limit;
}
bool AtLeast(double Value, double Limit) {
    return Value >= Limit;
}

std::optional<TValueProblem> CheckShaft(const TProgramData& p) {
    const std::string w = "Drilled-Shaft Properties: ";
    const double deepest = MaxDepth(p.fUnits);
    if (!Above(p.DSTART, 0.0))
        return Problem(TWindow::Shaft, "DSTART",
                       w + "the Minimum Shaft Diameter, B, must be greater than 0.");
    if (!AtLeast(p.DIALIM, 0.0))
        return Problem(TWindow::Shaft, "DIALIM",
                       w + "the Maximum Shaft Diameter, B, must be 0 or more.");
    if (!AtLeast(p.RATIO, 0.0) || (p.RATIO > 0.0 && p.RATIO < 1.0))
        return Problem(TWindow::Shaft, "RATIO",
                       w + "the Ratio of Base Diameter to Shaft Diameter must be 0 (straight "
                           "shaft) or at least 1.");
    if (!AtLeast(p.BELANGL, 0.0) || !(p.BELANGL <= MaxBellAngle) ||
        (p.RATIO > 1.0 && !(p.BELANGL > 0.0 && p.BELANGL < MaxBellAngle)))
        return Problem(TWindow::Shaft, "BELANGL",
                       w + "the Angle of Bell must lie between 0 and 90 degrees.");
    if (!AtLeast(p.TOPLENG, 0.0) || !(p.TOPLENG <= deepest))
        return Problem(TWindow::Shaft, "TOPLENG",
                       w + "the Length of Upper Exclusion Zone must lie between 0 and " +
                           Num(deepest) + LengthUnit(p.fUnits) + ".");
    if (!AtLeast(p.BS, 0.0))
        return Problem(TWindow::Shaft, "BS",
                       w + "the Length of Bottom Portion without Skin Friction must be 0 or more.");
    if (!Above(p.EPILE, 0.0))
        return Problem(TWindow::Shaft, "EPILE",
                       w + "the Modulus of Elasticity of Drilled Shaft must be greater than 0.");
    return std::nullopt;
}

std::optional<TValueProblem> CheckLayer(const TProgramData& p, int I) {
    const TSoilLayer& layer = p.D[I];
    const std::string w = "Soil Layers, layer " + std::to_string(I + 1) + ": ";
    const double deepest = MaxDepth(p.fUnits);
    if (!AtLeast(layer.Depth, 0.0) || !(layer.Depth <= deepest))
        return Problem(TWindow::Layers, "Depth",
                       w + "the depth at bottom must lie between 0 and " + Num(deepest) +
                           LengthUnit(p.fUnits) + ".",
                       I);
    if (!AtLeast(layer.MaxSideFriction, 0.0) || !AtLeast(layer.MaxEndBearing, 0.0))
        return Problem(TWindow::Layers, "Maximum",
                       w + "the maximum side friction and end bearing must be 0 (no limit) or "
                           "more.",
                       I);
    if (p.NLRFD == 1 && (!Above(layer.LrfdSide, 0.0) || !(layer.LrfdSide <= MaxResistanceFactor) ||
                         !Above(layer.LrfdTip, 0.0) || !(layer.LrfdTip <= MaxResistanceFactor)))
        return Problem(TWindow::Layers, "LRFD",
                       w + "the LRFD resistance factors must be greater than 0 and at most 1.", I);
    const TParameterSet& set = layer.Params;
    for (int col = 0; col < set.ColumnCount(); ++col) {
        const TParamColumn& column = set.Kind().Columns[static_cast<std::size_t>(col)];
        if (column.Field == kolmar::LayerField::ISIDE || column.Field == kolmar::LayerField::ICOND)
            continue; // codes, chosen from lists
        for (int row = 0; row < TParameterSet::RowCount; ++row) {
            const double v = set.Value(row, col);
            const std::string where =
                std::string(column.Name) + (row == 0 ? " at the top" : " at the bottom");
            if (column.Field == kolmar::LayerField::GAMMA && !Above(v, 0.0))
                return Problem(TWindow::Layers, column.Name,
                               w + "the " + where + " must be greater than 0.", I);
            if (!AtLeast(v, 0.0))
                return Problem(TWindow::Layers, column.Name,
                               w + "the " + where + " must be 0 or more.", I);
        }
    }
    return std::nullopt;
}

std::optional<TValueProblem> CheckDesign(const TProgramData& p) {
    if (p.NLRFD != 1) {
        const std::string w = "Factor of Safety (F.S.): ";
        if (!Above(p.FST, 0.0))
            return Problem(TWindow::SafetyFactor, "FST",
                           w + "the factor of safety on side resistance must be greater than 0.");
        if (p.KCYCL != 2 && !Above(p.FSB, 0.0))
            return Problem(TWindow::SafetyFactor, "FSB",
                           w + "the factor of safety on base resistance must be greater than 0.");
    }
    const double deepest = MaxDepth(p.fUnits);
    if (!AtLeast(p.PD, 0.0) || !(p.PD <= deepest))
        return Problem(TWindow::ShaftLength, "PD",
                       "Drilled Shaft Length: the shaft length must lie between 0 and " +
                           Num(deepest) + LengthUnit(p.fUnits) + ".");
    if (p.KCYCL == 2 && !AtLeast(p.RCYCL, 0.0))
        return Problem(TWindow::ShaftLength, "RCYCL",
                       "Drilled Shaft Length: the uplift reduction factor must be 0 or more.");
    if (p.IChart >= 1 || p.IPENT >= 1) {
        const TWindow window = p.IChart >= 1 ? TWindow::DesignCharts : TWindow::VaryLength;
        const std::string w =
            p.IChart >= 1 ? "ASD/LRFD Design Charts: " : "Multiple Shaft Lengths: ";
        if (!AtLeast(p.PDMIN, 0.0))
            return Problem(window, "PDMIN", w + "the minimum shaft length must be 0 or more.");
        // 0 asks for the default increment.
        if (!AtLeast(p.PDINCR, 0.0))
            return Problem(window, "PDINCR", w + "the shaft length increment must be 0 or more.");
        if (p.IChart >= 1 && !AtLeast(p.DIAMINCR, 0.0))
            return Problem(window, "DIAMINCR",
                           w + "the shaft diameter increment must be 0 or more.");
    }
    return std::nullopt;
}

} // namespace

double MaxDepth(int Units) {
    return Units == UnitsSI ? MaxDepthSI : MaxDepthEnglish;
}

std::optional<TValueProblem> CheckProjectValues(const TProgramData& Project) {
    if (auto problem = CheckShaft(Project))
        return problem;
    const double deepest = MaxDepth(Project.fUnits);
    if (!(std::fabs(Project.WTD) <= deepest))
        return Problem(TWindow::WaterTable, "WTD",
                       "Water Table: the depth of water table must be no greater than " +
                           Num(deepest) + LengthUnit(Project.fUnits) + ".");
    for (int i = 0; i < Project.D.RowCount(); ++i)
        if (auto problem = CheckLayer(Project, i))
            return problem;
    return CheckDesign(Project);
}
