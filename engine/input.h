// Reading of the project file by the engine: every record in order under its conditions, the
// conversion of SI input to the internal English units, the derived defaults with their estimate
// marks, and the checks made while reading. Exports ReadInput and its steps.
#pragma once

#include "kolmar/layer_records.h"
#include "listread.h"
#include "run_context.h"

#include <string>

namespace kolmar::engine {

// Conversion factors of SI input to the internal English units (English per SI unit); those of
// lengths, stresses, unit weights and moduli come with the layer records.
inline constexpr double kKnToTons = 0.1124; // kN -> tons (2000 lb)

// A maximum unit side resistance or end bearing of (nearly) zero means "no limit", held as:
inline constexpr double kNoLimit = 1.0e10; // psf
// Deepest layer bottom the engine accepts.
inline constexpr double kMaxProfileDepth = 1000.0; // ft

// Reads the whole project file held in ctx.input_text into ctx.input and completes it: writes
// the title at once (report, t-z text file, console), converts SI input, applies the defaults
// and writes the design-depth warning. Input the engine refuses writes the input-error block to
// the report, the run notes and the console and sets ctx.status to KOLMAR_STATUS_BAD_INPUT.
void ReadInput(RunContext& ctx);

// The steps of ReadInput, in their order.
// Reads the records into ctx.input, in the project's own units; throws ReadError or InputError.
void ReadRecords(RunContext& ctx, ListReader& reader);
// Converts an SI project (unit system 2) to the internal English units, once.
void ConvertToEnglish(InputData& input);
// Design depth, "no limit" values, straight shaft, diameter range, and the sand defaults (friction
// angle from the blow count, beta, OCR) with their estimate marks.
void ApplyDefaults(InputData& input);

} // namespace kolmar::engine
