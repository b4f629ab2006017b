// libFuzzer target for the expression evaluator of the numeric entry fields: arbitrary text is
// evaluated both ways (exception and flag). An entry either has a finite value or fails with the
// user's message; both ways agree; and the value written back into the field as text evaluates
// to the same value again, as the field re-reads what it shows.
#include "ui/model/Evaluator.h"
#include "ui/model/NumberText.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

namespace {

void Check(bool ok, const char* what, std::string_view text) {
    if (!ok) {
        std::fprintf(stderr, "fuzz_evaluator: %s for \"%.*s\"\n", what,
                     static_cast<int>(text.size()), text.data());
        std::abort();
    }
}

constexpr std::string_view kHeading = "Entry could not be evaluated:\n";
constexpr std::string_view kUnits = "F/L2^3";

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 4096)
        return 0; // an entry field holds one line a user types
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    double value = 0;
    std::string message;
    // A unit-weight field of an English project: plain expressions read as before, and runs of
    // quantities with units ("18 kN/m^3 + 2 pcf") and units of the wrong kind are explored too.
    const bool ok = TryEvaluateExpression(text, value, message, kUnits, UnitsEnglish);

    double thrown = 0;
    std::string reason;
    bool threw = false;
    try {
        thrown = EvaluateExpression(text, kUnits, UnitsEnglish);
    } catch (const EEvaluateError& e) {
        threw = true;
        reason = e.what();
        Check(!e.Reason().empty(), "an error without a reason", text);
    }
    Check(ok != threw, "the two ways disagree on success", text);
    if (!ok) {
        Check(message == reason, "the two ways give different messages", text);
        Check(message.compare(0, kHeading.size(), kHeading) == 0, "a message without its heading",
              text);
        return 0;
    }
    Check(std::isfinite(value), "a value that is not finite", text);
    Check(std::memcmp(&value, &thrown, sizeof value) == 0, "the two ways give different values",
          text);

    // The value as the field shows it (8 significant digits), and exactly (17), read back.
    for (int digits : {8, 17}) {
        const std::string shown = FormatGeneral(value, digits);
        double back = 0;
        std::string why;
        Check(TryEvaluateExpression(shown, back, why), "the value written back does not evaluate",
              shown);
        if (digits == 17)
            Check(back == value, "the value written back evaluates to another value", shown);
    }
    return 0;
}
