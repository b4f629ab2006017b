// The 3D view's scene: translucent soil boxes, the water plane with its water symbols, the
// shaft cylinder with its ignored portions and bell, and the result diagrams beside the shaft.
#include "gui/results/View3dScene.h"

#include "gui/data/DataUnit.h"
#include "gui/data/PltData.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

constexpr TColour3 kBlack{0, 0, 0, 1};
constexpr TColour3 kBlue{0, 0, 1, 1};
constexpr TColour3 kOrange{1, 0.5f, 0, 1};
constexpr TColour3 kDiskGray{0.25f, 0.25f, 0.25f, 1};
constexpr TColour3 kShaftGray{0.4f, 0.4f, 0.4f, 1};
constexpr std::array<TColour3, 3> kDiagramColours{
    {{1, 0, 0, 1}, {0, 0.6f, 0, 1}, {0, 0, 1, 1}}}; // side, tip, total

TColour3 WithAlpha(TColour3 C, float A) {
    C.A = A;
    return C;
}

class TSceneBuilder {
public:
    TSceneBuilder(TScene3D& Scene, TScenePart Part) : fScene(Scene), fPart(Part) {}

    void Opaque(TPrimitiveKind Kind, TColour3 Colour, std::vector<TVec3> Points) {
        fScene.Opaque.push_back({Kind, Colour, std::move(Points), false});
        fScene.OpaqueParts.push_back(fPart);
    }
    void Translucent(TPrimitiveKind Kind, TColour3 Colour, std::vector<TVec3> Points,
                     bool TwoSided = false) {
        fScene.Translucent.push_back({Kind, Colour, std::move(Points), TwoSided});
        fScene.TranslucentParts.push_back(fPart);
    }
    void Label(TVec3 At, std::string Text, TColour3 Colour = kBlack) {
        fScene.Labels.push_back({At, std::move(Text), Colour});
    }

private:
    TScene3D& fScene;
    TScenePart fPart;
};

// A box between x0 < x1, y0 < y1, z0 < z1: six faces wound counter-clockwise seen from
// outside, filled translucent, and its twelve edges opaque.
void AddBox(TSceneBuilder& B, TVec3 Lo, TVec3 Hi, TColour3 Colour, float Alpha) {
    const double x0 = Lo.X, y0 = Lo.Y, z0 = Lo.Z, x1 = Hi.X, y1 = Hi.Y, z1 = Hi.Z;
    const std::array<std::vector<TVec3>, 6> faces{{
        {{x1, y0, z0}, {x1, y1, z0}, {x1, y1, z1}, {x1, y0, z1}}, // +x
        {{x0, y0, z0}, {x0, y0, z1}, {x0, y1, z1}, {x0, y1, z0}}, // -x
        {{x0, y1, z0}, {x0, y1, z1}, {x1, y1, z1}, {x1, y1, z0}}, // +y
        {{x0, y0, z0}, {x1, y0, z0}, {x1, y0, z1}, {x0, y0, z1}}, // -y
        {{x0, y0, z1}, {x1, y0, z1}, {x1, y1, z1}, {x0, y1, z1}}, // +z
        {{x0, y0, z0}, {x0, y1, z0}, {x1, y1, z0}, {x1, y0, z0}}, // -z
    }};
    for (const auto& f : faces)
        B.Translucent(TPrimitiveKind::Quads, WithAlpha(Colour, Alpha), f);
    std::vector<TVec3> edges;
    for (double x : {x0, x1}) {
        edges.insert(edges.end(), {{x, y0, z0}, {x, y1, z0}, {x, y1, z0}, {x, y1, z1}});
        edges.insert(edges.end(), {{x, y1, z1}, {x, y0, z1}, {x, y0, z1}, {x, y0, z0}});
    }
    for (double y : {y0, y1})
        for (double z : {z0, z1})
            edges.insert(edges.end(), {{x0, y, z}, {x1, y, z}});
    B.Opaque(TPrimitiveKind::Lines, WithAlpha(Colour, 1), std::move(edges));
}

// A point of a circle of radius R about the axis at x, at facet corner K.
TVec3 OnCircle(double X, double R, int K) {
    const double t = 2.0 * kPi * K / ShaftFacets;
    return {X, R * std::cos(t), R * std::sin(t)};
}

// A facet's colour: lit from a fixed direction in the scene so that the cylinder reads round.
TColour3 Shade(TColour3 Base, int K) {
    const double t = 2.0 * kPi * (K + 0.5) / ShaftFacets;
    const double light = std::max(0.0, 0.6 * std::cos(t) - 0.8 * std::sin(t));
    const float f = static_cast<float>(0.7 + 0.6 * light);
    return {std::min(1.0f, Base.R * f), std::min(1.0f, Base.G * f), std::min(1.0f, Base.B * f), 1};
}

// A part of the shaft between depths Top and Bottom, from radius RTop to RBottom.
void AddFrustum(TSceneBuilder& B, double Top, double Bottom, double RTop, double RBottom,
                TColour3 Colour) {
    const double xt = -Top, xb = -Bottom;
    for (int k = 0; k < ShaftFacets; ++k)
        B.Opaque(TPrimitiveKind::Quads, Shade(Colour, k),
                 {OnCircle(xt, RTop, k), OnCircle(xb, RBottom, k), OnCircle(xb, RBottom, k + 1),
                  OnCircle(xt, RTop, k + 1)});
}

void AddRim(TSceneBuilder& B, double Depth, double R) {
    std::vector<TVec3> rim;
    for (int k = 0; k < ShaftFacets; ++k)
        rim.push_back(OnCircle(-Depth, R, k));
    B.Opaque(TPrimitiveKind::LineLoop, kOrange, std::move(rim));
}

// An end disk facing up (the shaft's head) or down (its base).
void AddDisk(TSceneBuilder& B, double Depth, double R, bool FacingUp) {
    std::vector<TVec3> disk;
    for (int k = 0; k < ShaftFacets; ++k)
        disk.push_back(OnCircle(-Depth, R, FacingUp ? k : ShaftFacets - k));
    B.Opaque(TPrimitiveKind::Polygon, kDiskGray, std::move(disk));
}

void AddSoil(TScene3D& Scene, const TProgramData& P, const TSceneExtent& E,
             const TBlockOptions& O) {
    TSceneBuilder b(Scene, TScenePart::Soil);
    const std::string unit = P.fUnits == 2 ? " m" : " ft";
    const double W = E.W;
    double top = 0.0;
    for (int i = 0; i < P.D.RowCount(); ++i) {
        const double bottom = P.D[i].Depth;
        if (bottom > top)
            AddBox(b, {-bottom, -W, -W}, {-top, W, W}, LayerColour(i), 0.5f);
        if (O.ShowSoilLayerDepthLabels) {
            b.Label({-top, W, -W}, FixedText(top, 2) + unit);
            if (i == P.D.RowCount() - 1)
                b.Label({-bottom, W, -W}, FixedText(bottom, 2) + unit);
        }
        if (O.ShowSoilLayerLabels)
            b.Label({-(top + bottom) / 2.0, -W, -W}, BlockSoilName(P.D[i].SoilType(), i));
        top = std::max(top, bottom);
    }
}

void AddWater(TScene3D& Scene, const TProgramData& P, const TSceneExtent& E) {
    TSceneBuilder b(Scene, TScenePart::Water);
    const double x = -std::max(0.0, P.WTD);
    const double W = E.W;
    const std::vector<TVec3> plane{{x, -W, -W}, {x, W, -W}, {x, W, W}, {x, -W, W}};
    b.Opaque(TPrimitiveKind::LineLoop, kBlue, plane);
    b.Translucent(TPrimitiveKind::Quads, WithAlpha(kBlue, 0.75f), plane, true);

    // Water symbols: inverted pyramids standing on their tips on the plane.
    const double s = E.D / 2.0;
    const double h = s / 2.0;
    if (!(s > 0.0))
        return;
    const double step = 2.0 * W / 5.0;
    for (int i = 0; i < 5; ++i)
        for (int j = 0; j < 5; ++j) {
            const double yc = -W + (i + 0.5) * step;
            const double zc = -W + (j + 0.5) * step;
            const TVec3 apex{x, yc, zc};
            const double xt = x + s;
            const std::array<TVec3, 4> base{{{xt, yc - h, zc - h},
                                             {xt, yc + h, zc - h},
                                             {xt, yc + h, zc + h},
                                             {xt, yc - h, zc + h}}};
            b.Translucent(TPrimitiveKind::Quads, WithAlpha(kBlue, 0.5f),
                          {base[0], base[1], base[2], base[3]});
            std::vector<TVec3> outline{base[0], base[1], base[2], base[3], base[0]};
            for (int k = 0; k < 4; ++k) {
                const TVec3& a = base[static_cast<std::size_t>(k)];
                const TVec3& c = base[static_cast<std::size_t>((k + 1) % 4)];
                b.Translucent(TPrimitiveKind::Polygon, WithAlpha(kBlue, 0.5f), {c, a, apex});
            }
            b.Opaque(TPrimitiveKind::LineStrip, kBlue, std::move(outline));
            std::vector<TVec3> ribs;
            for (const TVec3& corner : base)
                ribs.insert(ribs.end(), {corner, apex});
            b.Opaque(TPrimitiveKind::Lines, kBlue, std::move(ribs));
        }
}

void AddShaft(TScene3D& Scene, const TProgramData& P, const TSceneExtent& E) {
    TSceneBuilder b(Scene, TScenePart::Shaft);
    const double D = E.D;
    const double L = E.L;
    const double r = D / 2.0;
    if (!(r > 0.0) || !(L > 0.0))
        return;
    const double H = BlockBellHeight(D, P.RATIO, P.BELANGL);
    const bool bell = H > 0.0;
    const TColour3 ignored = bell ? TColour3{0.25f, 0.25f, 0, 1} : TColour3{0.5f, 0.5f, 0, 1};
    const double T = std::max(0.0, P.TOPLENG);
    const double Bt = std::max(0.0, P.BS);
    const double M = std::max(0.0, L - T - Bt - H);

    double depth = 0.0;
    AddDisk(b, 0.0, r, true);
    AddRim(b, 0.0, r);
    auto portion = [&](double Length, TColour3 Colour) {
        AddFrustum(b, depth, depth + Length, r, r, Colour);
        depth += Length;
        AddRim(b, depth, r);
    };
    if (T > 0.0)
        portion(T, ignored);
    portion(M, kShaftGray);
    if (Bt > 0.0)
        portion(Bt, ignored);
    if (bell) {
        const double rb = P.RATIO * D / 2.0;
        AddFrustum(b, depth, depth + H, r, rb, kShaftGray);
        depth += H;
        AddRim(b, depth, rb);
        AddDisk(b, depth, rb, false);
    } else {
        AddDisk(b, depth, r, false);
    }
}

// The result diagrams run along the shaft from its top to its toe: points below the toe
// belong to longer shafts and are left out. Each line's value at the toe is written beside the
// toe, the three labels one under the other so that they never overlap.
void AddDiagrams(TScene3D& Scene, const TProgramData& P, const TSceneExtent& E,
                 const TBlockOptions& O, const TGraphPlot& G) {
    if (G.LineCount() < 3 || G.Count() < 2)
        return;
    TSceneBuilder b(Scene, TScenePart::Diagram);
    const double toeDepth = E.L * (1.0 + 1e-9) + 1e-9;
    auto usable = [&](const TFloatPoint& p) {
        return std::isfinite(p.X) && std::isfinite(p.Y) && DiagramDepth(P, p.Y) <= toeDepth;
    };
    double M = 0.0;
    std::array<double, 3> atToe{};
    std::array<double, 3> toe{};
    for (int k = 0; k < 3; ++k)
        for (int j = 0; j < G.Count(); ++j) {
            const TFloatPoint& p = G.Data(k, j);
            if (!usable(p))
                continue;
            M = std::max(M, std::fabs(p.X));
            const double depth = DiagramDepth(P, p.Y);
            if (depth >= toe[static_cast<std::size_t>(k)]) {
                toe[static_cast<std::size_t>(k)] = depth;
                atToe[static_cast<std::size_t>(k)] = p.X;
            }
        }
    if (!(M > 0.0) || !std::isfinite(M))
        return;
    const double r = E.D;
    // At size factor 1 the largest value stands five diameters off the shaft.
    const double S = 5.0 * E.D * ValidSizeFactor(O.UltimateEffectsFactor);
    const std::array<bool, 3> shown{O.ShowSkinFriction, O.ShowTipResistance, O.ShowTotalCapacity};
    int labels = 0;
    for (int k = 0; k < 3; ++k) {
        const auto kk = static_cast<std::size_t>(k);
        if (!shown[kk])
            continue;
        const TColour3 colour = kDiagramColours[kk];
        int last = -1;
        for (int j = 0; j < G.Count(); ++j)
            if (usable(G.Data(k, j)))
                last = j;
        for (int j = 0; j + 1 <= last; ++j) {
            const TFloatPoint& pa = G.Data(k, j);
            const TFloatPoint& pb = G.Data(k, j + 1);
            if (!usable(pa) || !usable(pb))
                continue;
            const double a = DiagramDepth(P, pa.Y);
            const double bd = DiagramDepth(P, pb.Y);
            std::vector<TVec3> strip{
                {-bd, 0, r}, {-a, 0, r}, {-a, 0, r + pa.X / M * S}, {-bd, 0, r + pb.X / M * S}};
            if (j + 1 == last)
                strip.push_back({-bd, 0, r}); // back to the shaft after the last pair
            b.Opaque(TPrimitiveKind::LineStrip, colour, std::move(strip));
        }
        if (O.ShowUltimateEffectsValues && last >= 0) {
            // One label per line below the toe, a twentieth of the scene apart.
            const double below = toe[kk] + (labels + 1) * 0.05 * E.Size;
            b.Label({-below, 0, r + S * 0.5}, ValueLabel(atToe[kk]), colour);
            ++labels;
        }
    }
}

} // namespace

TColour3 LayerColour(int I) {
    static constexpr std::array<TColour3, 10> kColours{{
        {0.8f, 0.55f, 0, 1},
        {0.55f, 0.4f, 0.2f, 1},
        {0.4f, 0.4f, 0.2f, 1},
        {0.4f, 0.4f, 0.55f, 1},
        {0, 0.5f, 0.5f, 1},
        {0.2f, 0.2f, 0.55f, 1},
        {0.8f, 0, 0.8f, 1},
        {0.4f, 0.4f, 0.55f, 1},
        {0.15f, 0.15f, 0.45f, 1},
        {0.65f, 0.4f, 0.2f, 1},
    }};
    return kColours[static_cast<std::size_t>(((I % 10) + 10) % 10)];
}

std::string BlockSoilName(int SoilType, int Row) {
    switch (SoilType) {
    case kolmar::kSand:
        return "Sand";
    case kolmar::kClay:
        return "Clay";
    case kolmar::kClayShale:
        return "Shale";
    case kolmar::kStrongRockSideOrBase:
        return "Strong Rock(FHWA)";
    case kolmar::kDecomposedRock:
        return "Decomposed Rock";
    case kolmar::kWeakRock:
        return "Weak Rock";
    case kolmar::kStrongRockSideAndBase:
        return "Strong Rock";
    case kolmar::kGravellySand:
        return "Gravelly Sand";
    case kolmar::kGravel:
        return "Gravel";
    default:
        return "Layer " + std::to_string(Row + 1);
    }
}

double DiagramDepth(const TProgramData& Project, double Y) {
    const double depth = Project.UseElevation == 1 ? Project.ValElevation - Y : Y;
    return std::max(0.0, depth);
}

TScene3D BuildScene(const TProgramData& Project, const TSceneExtent& Extent,
                    const TBlockOptions& Options, const TGraphPlot* Diagrams) {
    TScene3D scene;
    if (Options.ShowShaft)
        AddShaft(scene, Project, Extent);
    if (Options.ShowShaft && Options.ShowUltimateEffects && Diagrams)
        AddDiagrams(scene, Project, Extent, Options, *Diagrams);
    if (Options.ShowSoilLayers)
        AddSoil(scene, Project, Extent, Options);
    if (Options.ShowWaterLevel)
        AddWater(scene, Project, Extent);
    return scene;
}
