// Unit side resistance and end bearing by material. For now: the blow-count to friction-angle
// correlation used for sand layers given without a friction angle.
#pragma once

namespace kolmar::engine {

// Friction angle of sand (degrees) from the SPT blow count N and the effective overburden
// pressure p (psi, sigma'v / 144), read from three chart curves (p = 0, 20 and 40 psi) and
// interpolated between them; at most 45 degrees. A negative p counts as 0.
double FrictionAngleFromBlowCount(double N, double p);

} // namespace kolmar::engine
