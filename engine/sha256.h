// SHA-256 of a byte string (FIPS 180-4), as 64 lower-case hexadecimal digits: the fingerprint of
// the project file in the results file.
#pragma once

#include <string>
#include <string_view>

namespace kolmar::engine {

std::string Sha256Hex(std::string_view bytes);

} // namespace kolmar::engine
