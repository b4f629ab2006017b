// The 3D view's scene as plain data: coloured primitives (opaque and translucent) and text
// labels at scene points, built from the project, the scene extent, the display options and,
// for the result diagrams, a combined graph. The OpenGL window compiles it into display lists;
// no drawing happens here. Exports TBlockOptions, TScene3D and BuildScene.
#pragma once

#include "gui/data/ShaftGeometry.h"

#include <string>
#include <vector>

class TGraphPlot;
class TProgramData;

// What the 3D view shows; the values are those at the view's creation.
struct TBlockOptions {
    bool ShowShaft = true;
    bool ShowWaterLevel = true;
    bool ShowSoilLayers = true;
    bool ShowSoilLayerLabels = false;
    bool ShowSoilLayerDepthLabels = false;
    bool ShowLocalAxes = true;
    bool ShowUltimateEffects = false; // the result diagrams beside the shaft
    int ShowUltimateResults = 0;      // 0 ultimate values, 1 ASD/LRFD values
    bool ShowSkinFriction = true;
    bool ShowTipResistance = true;
    bool ShowTotalCapacity = true;
    bool ShowUltimateEffectsValues = true; // the maximum-value labels
    double UltimateEffectsFactor = 1.0;    // the diagrams' size factor
};

struct TColour3 {
    float R = 0, G = 0, B = 0, A = 1;
    bool operator==(const TColour3&) const = default;
};

enum class TPrimitiveKind { Lines, LineStrip, LineLoop, Quads, Polygon };

// One OpenGL primitive of one colour. Faces wind counter-clockwise seen from outside; a
// two-sided face is drawn in both windings.
struct TPrimitive {
    TPrimitiveKind Kind = TPrimitiveKind::Lines;
    TColour3 Colour;
    std::vector<TVec3> Points;
    bool TwoSided = false;
};

struct TLabel3 {
    TVec3 At;
    std::string Text;
    TColour3 Colour;
};

// What the scene is made of, for tests and for the order of drawing.
enum class TScenePart { Soil, Water, Shaft, Diagram };

struct TScene3D {
    std::vector<TPrimitive> Opaque;      // drawn first, with depth writes
    std::vector<TPrimitive> Translucent; // blended over them, without depth writes
    std::vector<TLabel3> Labels;         // written last, without depth test
    // Per primitive, the part it belongs to (same order as the two lists).
    std::vector<TScenePart> OpaqueParts, TranslucentParts;
};

// Layer colour of layer row I (by I mod 10), opaque.
TColour3 LayerColour(int I);
// Name of a soil type in the 3D view ("Sand", "Strong Rock(FHWA)", ...; "Layer " I + 1 else).
std::string BlockSoilName(int SoilType, int Row);

// Number of facets of the shaft's cylinder.
constexpr int ShaftFacets = 20;

// Builds the scene. Diagrams is the combined graph to draw beside the shaft (lines 0, 1, 2:
// side resistance, tip resistance or self-weight, total capacity), or null when there are no
// results to show; it is drawn only while Options.ShowUltimateEffects is set.
TScene3D BuildScene(const TProgramData& Project, const TSceneExtent& Extent,
                    const TBlockOptions& Options, const TGraphPlot* Diagrams);

// Depth below the ground of a point of a combined graph: its Y, or ValElevation - Y when the
// project plots elevations; never above the ground.
double DiagramDepth(const TProgramData& Project, double Y);
