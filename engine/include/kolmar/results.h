/* The engine's entry for programs, beside IKOLMAR: one run on explicit paths that never reads
   or changes the working directory, keeps its scratch files in memory and may be called from
   many threads at once. It writes the report (.kx8o), run notes (.kx8r), t-z listing (.kx8z)
   and plot file (.kx8p) exactly as IKOLMAR does, and the results file NAME.results.json
   ("kolmar-results/2", described by docs/results.schema.json). The results are also kept in
   memory behind a handle: run -> handle -> tables of doubles with their sizes, column names and
   units -> free. Plain C, elementary types only. */
#ifndef KOLMAR_RESULTS_H
#define KOLMAR_RESULTS_H

#include "kolmar/ikolmar.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct KolmarResults KolmarResults;

/* Name of the entry for callers that load the library at run time. */
#define KOLMAR_RUN_ENTRY_NAME "kolmar_run"

/* The tables of a handle. The capacity table (one row per whole-foot length: L, tip layer,
   volume, QS, QB or WT under uplift, qb, QU, QBD, QDN, QU per volume, and the LRFD QS, QB, QU),
   the resistance of each layer at the design length, the three load-settlement lines (for a tip
   in rock the method's one curve is the trend table: top load and top movement, for strong rock
   with the lower-bound and the upper-bound soil tables side by side), and the
   design charts (one row per settlement, diameter and length, with the load; not per case).
   Values are in the report's units: ft, tons, tsf, cu yd and in for English projects; m, kN,
   kPa, cu m and m for SI projects. */
#define KOLMAR_TABLE_CAPACITY 0
#define KOLMAR_TABLE_LAYER_RESISTANCE 1
#define KOLMAR_TABLE_TREND 2
#define KOLMAR_TABLE_UPPER_BOUND 3
#define KOLMAR_TABLE_LOWER_BOUND 4
#define KOLMAR_TABLE_DESIGN_CHARTS 5
/* The t-z method's curves of a case with its tip in soil, per line (trend, upper bound, lower
   bound): the t-z curves (curve number, depth, unit load transfer t in psi or kPa, movement z),
   the q-w curve at the tip (tip load, tip movement) and the load distribution (for each of the
   fifteen tip movements, every element's mid-depth, average load and mid movement). Tables of
   a line the case did not solve have their columns and no rows. */
#define KOLMAR_TABLE_TZ_TREND 6
#define KOLMAR_TABLE_TZ_UPPER_BOUND 7
#define KOLMAR_TABLE_TZ_LOWER_BOUND 8
#define KOLMAR_TABLE_QW_TREND 9
#define KOLMAR_TABLE_QW_UPPER_BOUND 10
#define KOLMAR_TABLE_QW_LOWER_BOUND 11
#define KOLMAR_TABLE_DISTRIBUTION_TREND 12
#define KOLMAR_TABLE_DISTRIBUTION_UPPER_BOUND 13
#define KOLMAR_TABLE_DISTRIBUTION_LOWER_BOUND 14

/* Analyses the project file input_path and writes BASE.kx8o, .kx8r, .kx8z and .kx8p into
   output_dir (BASE = base_name, a file name without a folder) and the results file at json_path,
   or as BASE.results.json beside them when json_path is NULL or empty. No result file may lead
   to the project file or to another (status KOLMAR_STATUS_FILE_ERROR, nothing written). Returns
   the run status. When results is not NULL it receives a handle (also when the run failed),
   which the caller frees with kolmar_results_free; NULL only when no memory was left. */
typedef int (*KolmarRunEntry)(const char* input_path, const char* output_dir, const char* base_name,
                              const char* json_path, KolmarResults** results);
KOLMAR_EXPORT int kolmar_run(const char* input_path, const char* output_dir, const char* base_name,
                             const char* json_path, KolmarResults** results);

/* The run status, and one line saying what it means. */
KOLMAR_EXPORT int kolmar_results_status(const KolmarResults* results);
KOLMAR_EXPORT const char* kolmar_results_status_text(const KolmarResults* results);
/* What IKOLMAR would have written on the console (banner, title, messages). */
KOLMAR_EXPORT const char* kolmar_results_messages(const KolmarResults* results);
/* The results file's text ("" when the run was refused before writing anything). */
KOLMAR_EXPORT const char* kolmar_results_json(const KolmarResults* results);

/* The cases (diameter and length pairs) in the order of the report, from 0. */
KOLMAR_EXPORT int kolmar_results_case_count(const KolmarResults* results);
/* Stem diameter and shaft length of a case, in the report's length unit; 0 for a bad index. */
KOLMAR_EXPORT double kolmar_results_case_diameter(const KolmarResults* results, int case_index);
KOLMAR_EXPORT double kolmar_results_case_length(const KolmarResults* results, int case_index);
/* Row of the capacity table at the proposed or design length; -1 when there is none. */
KOLMAR_EXPORT int kolmar_results_design_row(const KolmarResults* results, int case_index);

/* A table of a case: row-major values, *rows by *columns, valid until the handle is freed.
   NULL (and 0 rows and columns) for a bad index or table; a table the case did not compute has
   its columns and no rows. */
KOLMAR_EXPORT const double* kolmar_results_table(const KolmarResults* results, int case_index,
                                                 int table, int* rows, int* columns);
/* Name and unit of a column ("-" for a pure number); NULL for a bad index. */
KOLMAR_EXPORT const char* kolmar_results_column_name(const KolmarResults* results, int case_index,
                                                     int table, int column);
KOLMAR_EXPORT const char* kolmar_results_column_unit(const KolmarResults* results, int case_index,
                                                     int table, int column);

/* Writes the results file to path (whole, through a temporary file). Returns 0, or
   KOLMAR_STATUS_FILE_ERROR when it could not be written. */
KOLMAR_EXPORT int kolmar_results_write_json(const KolmarResults* results, const char* path);

/* Frees a handle; NULL is allowed. */
KOLMAR_EXPORT void kolmar_results_free(KolmarResults* results);


/* The simulated bidirectional (jack-cell) load test of a project's first case, whose tip lies in
   sand, clay, clay shale, gravelly sand or gravel: the part above the cell pushed up, the part
   below pushed down, both on the trend line's t-z and q-w curves; the equivalent top-down curve
   (with the elastic shortening of the upper part); and the balance depth, where the two parts'
   ultimate cell loads are equal (the upper one with its buoyant weight). The project is analysed
   as kolmar_run does, into a private temporary folder that is removed afterwards; no file beside
   the project is written or changed. Units are the project's: ft, kips and in (English); m, kN
   and mm (SI). The cell lies on the element boundary nearest cell_depth (depth below the top of
   the shaft); cell_capacity limits the cell load (0: no limit). With at_balance not 0 the cell
   is placed at the balance depth and cell_depth is not used. Returns 0, or the status that
   stopped it (KOLMAR_STATUS_BAD_INPUT with the reason in the message for a setup it refuses:
   a cell depth not above 0, below the tip, in the top portion without side resistance or in
   the bell; a tip in codes 4 to 7; an uplift project). *result receives a handle (also on a
   refusal), freed by kolmar_bidirectional_free. */
typedef struct KolmarBidirectional KolmarBidirectional;
#define KOLMAR_BIDIRECTIONAL_ENTRY_NAME "kolmar_bidirectional"
typedef int (*KolmarBidirectionalEntry)(const char* input_path, double cell_depth,
                                        double cell_capacity, int at_balance,
                                        KolmarBidirectional** result);
KOLMAR_EXPORT int kolmar_bidirectional(const char* input_path, double cell_depth,
                                       double cell_capacity, int at_balance,
                                       KolmarBidirectional** result);

/* Its tables: the upward curve (cell load, cell top movement, shaft top movement), the downward
   curve (cell load, cell bottom movement, tip load, tip movement), the equivalent top-down curve
   (cell movement, top load, top movement), the trend line of the ordinary analysis for
   comparison (top load, top movement), the load distribution of each part at every step (step,
   depth, average load, movement of each element) and the two capacities against cell depth
   (cell depth, upper capacity, lower capacity). */
#define KOLMAR_BIDIR_UPWARD 0
#define KOLMAR_BIDIR_DOWNWARD 1
#define KOLMAR_BIDIR_EQUIVALENT 2
#define KOLMAR_BIDIR_TOP_DOWN 3
#define KOLMAR_BIDIR_UPPER_DISTRIBUTION 4
#define KOLMAR_BIDIR_LOWER_DISTRIBUTION 5
#define KOLMAR_BIDIR_BALANCE 6
/* Its values (NaN where there is none: no cell capacity, no balance depth). */
#define KOLMAR_BIDIR_CELL_DEPTH 0
#define KOLMAR_BIDIR_CELL_CAPACITY 1
#define KOLMAR_BIDIR_UPPER_WEIGHT 2
#define KOLMAR_BIDIR_UPPER_CAPACITY 3 /* ultimate upward resistance plus the buoyant weight */
#define KOLMAR_BIDIR_LOWER_CAPACITY 4
#define KOLMAR_BIDIR_FIRST_ULTIMATE_LOAD 5 /* cell load at which the first part fails */
#define KOLMAR_BIDIR_BALANCE_DEPTH 6       /* to the nearest foot */
#define KOLMAR_BIDIR_BALANCE_UPPER_CAPACITY 7
#define KOLMAR_BIDIR_BALANCE_LOWER_CAPACITY 8
#define KOLMAR_BIDIR_DIAMETER 9
#define KOLMAR_BIDIR_LENGTH 10

KOLMAR_EXPORT int kolmar_bidirectional_status(const KolmarBidirectional* result);
/* Why it was refused, or notes on the simulation; "" when there are none. */
KOLMAR_EXPORT const char* kolmar_bidirectional_message(const KolmarBidirectional* result);
/* The results as JSON text ("kolmar-bidirectional/1"): units, values, tables. */
KOLMAR_EXPORT const char* kolmar_bidirectional_json(const KolmarBidirectional* result);
/* "upper" or "lower": the part that reaches its ultimate first ("" when refused). */
KOLMAR_EXPORT const char* kolmar_bidirectional_first_part(const KolmarBidirectional* result);
KOLMAR_EXPORT double kolmar_bidirectional_value(const KolmarBidirectional* result, int value);
/* As kolmar_results_table and its column names and units. */
KOLMAR_EXPORT const double* kolmar_bidirectional_table(const KolmarBidirectional* result,
                                                       int table, int* rows, int* columns);
KOLMAR_EXPORT const char* kolmar_bidirectional_column_name(const KolmarBidirectional* result,
                                                           int table, int column);
KOLMAR_EXPORT const char* kolmar_bidirectional_column_unit(const KolmarBidirectional* result,
                                                           int table, int column);
KOLMAR_EXPORT void kolmar_bidirectional_free(KolmarBidirectional* result);

#ifdef __cplusplus
}
#endif

#endif
