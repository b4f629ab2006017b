// The run context: everything one engine run owns. Created fresh inside every IKOLMAR call and
// passed by reference to every routine; nothing of a run lives anywhere else, so a library that
// stays loaded between calls behaves exactly like a freshly loaded one.
#pragma once

#include "kolmar/layer_records.h"
#include "settlement/normalized.h"

#include <array>
#include <cstddef>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kolmar::engine {

struct RunResults; // results_data.h

// ---------------------------------------------------------------------------------------------
// Files of a run, by role.
//
// Older versions of the engine addressed their files by channel number; the numbers are kept
// here for readers who know them:
//
//   role           channel  file                  direction
//   console           0     standard error        write (banner, title, messages)
//   input             5     project file .kx8d    read (held in memory once read)
//   report            6     .kx8o                 write
//   plot              2     .kx8p                 write (channel 2 first read names.dat)
//   run_notes         4     .kx8r                 write
//   tz_text           9     .kx8z                 write; the .kx8w listing is appended at the end
//   qw_stage          7     .kx8w                 write, then read back by the assembly
//   plot_stage_t     19     .kx8t                 write, then read back by the assembly
//   plot_stage_q     17     .kx8q                 write, then read back by the assembly
//   plot_stage_l     20     .kx8l                 write, then read back by the assembly
//   chart             3     CHART.DAT             write (not opened in the console fallback)
//   tz_data           8     TZDATA.DAT            write, opened and closed by the t-z solver
//   tz_diam          18     TZDIAM.DAT            write by the t-z solver, read by the assembly
//   rock_msg      16/15     ROCKMSG.DAT           write per case, then copied into the report
//   names             2     names.dat             read first (named here so no output takes it)
// ---------------------------------------------------------------------------------------------
enum class FileRole : int {
    input,
    report,
    plot,
    run_notes,
    tz_text,
    qw_stage,
    plot_stage_t,
    plot_stage_q,
    plot_stage_l,
    chart,
    tz_data,
    tz_diam,
    rock_msg,
    names,
};
inline constexpr int kFileRoleCount = 14;
// The roles named in names.dat, in its order (lines 2 to 10).
inline constexpr int kNamedFileCount = 9;

// Fixed names of the engine's scratch files in the working directory.
inline constexpr std::string_view kChartFileName = "CHART.DAT";
inline constexpr std::string_view kTzDataFileName = "TZDATA.DAT";
inline constexpr std::string_view kTzDiamFileName = "TZDIAM.DAT";
inline constexpr std::string_view kRockMsgFileName = "ROCKMSG.DAT";
inline constexpr std::string_view kNamesFileName = "names.dat";

// Local date and time of the analysis, as written in the date block.
struct DateTime {
    int year = 2000;
    int month = 1; // 1..12
    int day = 1;   // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;
};
using Clock = std::function<DateTime()>;

// The local clock of the machine (the default of every run).
DateTime LocalNow();

// ---------------------------------------------------------------------------------------------
// Input data. Every quantity is held in the engine's internal English units whatever the
// project's unit system: SI input is converted exactly once, right after reading (input.cpp),
// and nothing downstream converts input again. The unit of every field is given at its
// declaration; "-" marks a dimensionless value.
// ---------------------------------------------------------------------------------------------

inline constexpr int kMaxLayers = 40;      // soil layers of a profile
inline constexpr int kMaxTzDepths = 50;    // additional t-z curve depths
inline constexpr int kMaxSettlements = 10; // design-chart settlements

// Index of the two rows of every layer parameter: the value at the layer top and at its bottom.
enum End : int { kTop = 0, kBottom = 1 };
using TopBottom = std::array<double, 2>;

// The material codes of a layer are the SoilCode of the layer records (kolmar/layer_records.h).

// Side-friction methods of a sand layer (ISIDE).
enum SandMethod : int { kKoMethod = 1, kBetaMethod = 2, kKulhawyChenMethod = 3 };

// Parameters that the engine may estimate instead of the user. Each carries a five-character
// mark per layer end: "  (*)" when estimated, blanks otherwise; the report echo prints it after
// the value and adds the footnote when any mark is set. The input sets PHI, BETA and OCR; the
// capacity analysis sets ALPHA, NC and CU when it derives them.
enum class Estimated : int { PHI, BETA, OCR, ALPHA, NC, CU };
inline constexpr int kEstimatedCount = 6;

class EstimateMarks {
public:
    void Set(Estimated what, End end) { set_[Index(what)][end] = true; }
    bool IsSet(Estimated what, End end) const { return set_[Index(what)][end]; }
    // The five-character mark field: "  (*)" or five blanks.
    std::string_view Text(Estimated what, End end) const {
        return IsSet(what, end) ? std::string_view("  (*)") : std::string_view("     ");
    }
    bool Any() const {
        for (const auto& row : set_)
            if (row[kTop] || row[kBottom])
                return true;
        return false;
    }

private:
    static std::size_t Index(Estimated what) { return static_cast<std::size_t>(what); }
    std::array<std::array<bool, 2>, kEstimatedCount> set_{};
};

// One soil or rock layer. Only the fields of the layer's material are read; the others stay 0.
struct Layer {
    int code = 0;      // material code, SoilCode 1..9
    double ztop = 0.0; // depth of the layer top, ft (the bottom of the layer above; 0 at the top)
    double zbot = 0.0; // depth of the layer bottom, ft

    // All materials.
    TopBottom TRANLM{}; // maximum unit side resistance, psf (1.0e10 = no limit)
    TopBottom QMAX{};   // maximum unit end bearing, psf (1.0e10 = no limit; a negative value is
                        // the unit base resistance itself, by its magnitude)
    double LRFDS = 1.0; // LRFD resistance factor, side resistance, -
    double LRFDB = 1.0; // LRFD resistance factor, tip resistance, -

    // Soils (sand, clay, clay shale; GAMMA and BLOWS also decomposed rock and the gravels).
    TopBottom NC{};    // end-bearing coefficient Nc, - (0 = computed)
    TopBottom GAMMA{}; // total unit weight, pcf
    TopBottom PHI{};   // friction angle, degrees (sand)
    TopBottom CU{};    // undrained shear strength, psf (clay, clay shale)
    TopBottom BLOWS{}; // SPT blow count, blows per foot
    TopBottom DELTA{}; // interface friction angle, degrees (sand: 0 = use PHI; weak rock)

    // Side-friction method values.
    int ISIDE = 0;    // sand side-friction method, SandMethod 1..3
    TopBottom KO{};   // lateral earth-pressure coefficient Ko, - (sand, Ko method)
    TopBottom BETA{}; // skin-friction coefficient beta, - (sand beta method; gravels, 0 = computed)
    TopBottom MEXP{}; // preconsolidation stress exponent m, - (sand, Kulhawy and Chen method)
    TopBottom OCR{};  // overconsolidation ratio, - (sand, Kulhawy and Chen; always estimated)
    TopBottom ALPHA{}; // side-resistance reduction factor alpha, - (clay, clay shale; 0 = computed)

    // Rock (strong rock 4 and 7; weak rock 6 uses QUR, BDS, EL, RQD).
    TopBottom QUR{};   // uniaxial compressive strength of rock, psf
    TopBottom QUCON{}; // uniaxial compressive strength of concrete, psf
    TopBottom CS{};    // spacing of discontinuities, ft
    TopBottom DISCT{}; // thickness of discontinuities, ft
    TopBottom BDS{};   // socket diameter, ft (also decomposed rock)
    TopBottom EL{};    // elastic modulus of intact rock, psi
    TopBottom RQD{};   // rock quality designation, percent

    // Weak rock.
    std::array<int, 2> ICOND{}; // interface condition 1..4: rough/smooth, closed/open joints
    TopBottom SLUMP{};          // concrete slump, inches

    // Decomposed rock / gravel.
    TopBottom POISSON{}; // Poisson's ratio, -
    TopBottom EGM{};     // Young's modulus of the material, psi (0 = from the blow count)

    EstimateMarks marks;
};

struct InputData {
    std::string title;        // problem title, at most 72 characters
    int unit_system = 1;      // as read: 2 = SI, any other value = English
    std::string units = "EN"; // the same as a two-letter code, "EN" or "SI"
    bool si() const { return unit_system == 2; }

    // Control record.
    int METHOD = 1;          // design control: 1 = design load P given, 2 = proposed depth DGH
    int KCYCL = 1;           // load direction: 2 = uplift, any other value = compression
    double RCYCL = 1.0;      // uplift reduction factor on side resistance, -
    double PINC = 0.0;       // output depth increment, ft
    int IMOD = 0;            // base-reduction switch for sand bases, 1 = on
    int NLRFD = 0;           // design method: 1 = LRFD, otherwise ASD
    int IPENT = 0;           // multiple shaft lengths, >= 1 = on
    int IChart = 0;          // design charts, >= 1 = on
    int UseElevation = 0;    // plots labelled by elevation, 1 = on
    double ValElevation = 0; // elevation of the shaft top, ft
    int PrintTZCurves = 0;   // additional t-z curves, 1 = on

    // Shaft record.
    double DSTART = 0.0;  // smallest stem diameter, ft
    double DIALIM = 0.0;  // largest stem diameter, ft (at least DSTART)
    double RATIO = 0.0;   // base diameter / stem diameter, - (0 = straight shaft)
    double BELANGL = 0.0; // bell angle from the vertical, degrees
    double TOPLENG = 0.0; // top portion without side resistance, ft
    double BS = 0.0;      // bottom portion without side resistance, ft
    double Ec = 0.0;      // elastic modulus of the shaft concrete, psi

    // Load record.
    double WTD = 0.0; // depth of the water table, ft
    double P = 0.0;   // design load, tons (design control 1)
    double DGH = 0.0; // proposed shaft depth, ft (design control 2)
    double PD = 0.0;  // design depth used by the capacity analysis, ft (= DGH under control 2)
    double FST = 0.0; // factor of safety on side resistance, -
    double FSB = 0.0; // factor of safety on base resistance, -

    // Multiple lengths and design charts.
    double PDMIN = 0.0;            // shortest shaft length considered, ft
    double PDINCR = 0.0;           // shaft length increment, ft
    double DIAMINCR = 0.0;         // stem diameter increment of the design charts, ft
    int NPOINTPD = 0;              // number of design-chart settlements, 1..10
    std::vector<double> PDSETT;    // design-chart settlements, inches
    std::vector<Layer> layers;     // 1..40 layers, top layer first
    std::vector<double> tz_depths; // additional t-z curve depths, ft (0..50)

    bool AnyEstimate() const {
        for (const Layer& layer : layers)
            if (layer.marks.Any())
                return true;
        return false;
    }
};

// ---------------------------------------------------------------------------------------------
// One case: a stem diameter and a shaft length. The case loop fills a CaseSetup for every pair and
// the case routine (cases.cpp) leaves its results in the run context, recomputed for every case.
// Internal English units unless a field says otherwise.
// ---------------------------------------------------------------------------------------------

struct CaseSetup {
    int number = 1;         // running count of cases, from 1
    int length_index = 1;   // length variation, 1 = the longest length
    int diameter_index = 1; // diameter variation, 1 = DSTART
    double diameter = 0.0;  // stem diameter D, ft
    // Shaft length analysed, ft: the proposed length under design control 2 (or the length of
    // the pass with multiple lengths); under design control 1 the length is the one found for the
    // design load and this field is not used.
    double length = 0.0;
    int plot_curves = 1; // number of capacity curves the plot file announces in its first header
};

// Shaft geometry of a case.
struct ShaftGeometry {
    double D = 0.0;           // stem diameter, ft
    double Bb = 0.0;          // base diameter, ft (the bell diameter; D for a straight shaft)
    double h0 = 0.0;          // height of the cylinder at the foot of the bell, ft
    double H = 0.0;           // bell height, end of stem to base, ft (0 for a straight shaft)
    double bell_volume = 0.0; // volume of the underream, cu yd
    // Length above the tip that carries no side resistance: the bell and the bottom portion BS
    // above it, ft.
    double bottom_exclusion = 0.0;
};

// One computation step: the foot of shaft from depth i - 1 to i, taken at its middle.
struct CapacityStep {
    double z = 0.0;             // depth of the step, ft (i - 0.5)
    int layer = -1;             // index of the layer holding the step
    double sigma_v = 0.0;       // vertical effective stress at z, psf
    double fs = 0.0;            // ultimate unit side resistance, tsf
    double side_diameter = 0.0; // diameter of the sheared surface: the stem, or a rock socket, ft
    double QS = 0.0;            // side resistance of the foot, tons (0 in the top portion)
    double QS_lrfd = 0.0;       // the same times the layer's LRFD side factor, tons
};

// One row of the capacity table: a shaft of whole-foot length L. Under uplift the base columns
// hold the weight of the shaft WT and FSB counts as 1.
struct CapacityRow {
    double length = 0.0;        // shaft length L, ft
    int tip_layer = -1;         // index of the layer the base bears on
    double volume = 0.0;        // concrete volume of stem and bell, cu yd
    double QS = 0.0;            // ultimate side resistance, tons
    double QB = 0.0;            // ultimate base resistance, or WT under uplift, tons
    double qb = 0.0;            // unit base resistance, tsf (0 under uplift)
    double QU = 0.0;            // QS + QB, tons
    double QBD = 0.0;           // QS + QB / FSB, tons (ASD)
    double QDN = 0.0;           // QS / FST + QB / FSB, tons (ASD)
    double QU_per_volume = 0.0; // QU / volume, tons per cu yd
    double QS_lrfd = 0.0;       // sum of the side resistance of every foot times its factor, tons
    double QB_lrfd = 0.0;       // QB times the tip layer's LRFD tip factor (WT under uplift), tons
    double QU_lrfd = 0.0;       // QS_lrfd + QB_lrfd, tons
};

struct CapacityTable {
    ShaftGeometry shaft;
    double profile_bottom = 0.0;     // bottom of the last layer on the whole-foot grid, ft
    std::vector<CapacityStep> steps; // one per foot from the surface to profile_bottom
    std::vector<CapacityRow> rows;   // one per whole-foot length below TOPLENG
    int design_row = -1;             // row of the proposed or design length; -1 when there is none
};

struct CaseResult {
    CaseSetup setup;
    CapacityTable capacity;
    // Load-settlement curves of the case's length, in output units (tons and inches, or kN and
    // metres).
    settlement::LoadSettlementTable settlement;
    double length = 0.0; // shaft length of the case: proposed, or found for the design load, ft
    // Ultimate base resistance found by the decomposed-rock or weak-rock load-settlement method,
    // tons (0 for the other methods); the capacity table keeps its own QB.
    double settlement_QB = 0.0;
};

// ---------------------------------------------------------------------------------------------
// The run context.
// ---------------------------------------------------------------------------------------------
struct RunContext {
    RunContext();

    // Run-control data from names.dat (or the console).
    std::string version; // version string, a fixed field of 12 characters
    std::array<std::string, kFileRoleCount> file_name{};

    // Directory against which relative file names are resolved; empty = the working directory.
    std::filesystem::path work_dir;
    std::filesystem::path Resolve(FileRole role) const;

    // Output files by role; a stream that is not open swallows what is written to it. The input
    // role has no stream: the project file is read whole into input_text when it is opened.
    // Each open stream writes through a buffer of its own (kOutputBuffer bytes), declared first
    // so that it outlives its stream. The buffer is not cleared: its memory is touched only as
    // far as the stream fills it, so a small file's run does not fault in the whole buffer.
    static constexpr std::size_t kOutputBuffer = 256 * 1024;
    std::array<std::unique_ptr<char[]>, kFileRoleCount> out_buffer{};
    std::array<std::ofstream, kFileRoleCount> out{};
    std::ofstream& Out(FileRole role) { return out[static_cast<std::size_t>(role)]; }
    std::ofstream& report() { return Out(FileRole::report); }
    std::ofstream& run_notes() { return Out(FileRole::run_notes); }
    std::ofstream& tz_text() { return Out(FileRole::tz_text); }
    std::ofstream& plot() { return Out(FileRole::plot); }
    // A run through the programs' entry holds its scratch files (CHART.DAT, TZDATA.DAT,
    // TZDIAM.DAT, ROCKMSG.DAT) and its staged files (.kx8w, .kx8t, .kx8q, .kx8l) in memory, so
    // that runs in one directory or one process never share a file. `Stream` is the stream a role
    // is written to: the held text in that case, the file otherwise.
    bool held_in_memory = false;
    std::array<std::ostringstream, kFileRoleCount> held{};
    static bool IsScratchOrStaged(FileRole role);
    bool Holds(FileRole role) const { return held_in_memory && IsScratchOrStaged(role); }
    std::ostream& Stream(FileRole role);
    std::string input_text;              // the whole project file
    bool input_open = false;             // the project file was opened and read
    std::vector<FileRole> open_failures; // files that could not be opened, in opening order
    // Two files of the run that name one file (the later role second), found before any output
    // is opened; the run then writes nothing but the message.
    std::optional<std::pair<FileRole, FileRole>> name_clash;

    // Console (none of the three is ever null): banner, title and messages go to `console`; the
    // fallback for a missing names.dat prompts on `prompt_out` and reads answers from `prompt_in`.
    std::ostream* console;
    std::ostream* prompt_out;
    std::istream* prompt_in;

    Clock clock; // local date and time of the analysis

    // Called after the main analysis and before the staged files are assembled; tests use it to
    // stage content in the scratch files.
    std::function<void(RunContext&)> on_analysis_end;

    InputData input;

    // When set, the case loop keeps every case's results and the design charts here as data.
    RunResults* results = nullptr;

    CaseResult current; // the case analysed last
    // The warning on clay strength derived from the blow count is written once per run.
    bool clay_blows_warning_written = false;

    int status = 0; // run status, KOLMAR_STATUS_*
};

} // namespace kolmar::engine
