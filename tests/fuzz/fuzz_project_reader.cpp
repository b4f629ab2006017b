// libFuzzer target for the project file readers: arbitrary bytes go through the current-format
// reader and both older layouts. A read must end in a project within its table limits (or a
// message); a project that reads cleanly and can be saved must save, read back and save again
// to the very same bytes, in memory and through a real file.
#include "gui/data/DataUnit.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <unistd.h>

namespace {

void Check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "fuzz_project_reader: %s\n", what);
        std::abort();
    }
}

void CheckLimits(const TProgramData& p) {
    Check(p.D.RowCount() >= MinLayers && p.D.RowCount() <= MaxLayers, "layer count out of range");
    Check(p.TblTZDepth.RowCount() >= MinTZDepths && p.TblTZDepth.RowCount() <= MaxTZDepths,
          "t-z depth count out of range");
    Check(p.NPOINTPD >= 0 && p.NPOINTPD <= MaxPDSETT, "NPOINTPD out of range");
    Check(p.fUnits == 1 || p.fUnits == 2, "unit system out of range");
    Check(!p.DataChanged, "a read project counts as changed");
    for (const TSoilLayer& L : p.D) {
        Check(L.SoilType() >= MinSoilType && L.SoilType() <= MaxSoilType, "bad soil type");
    }
}

const std::string& TempFile() {
    static const std::string name =
        "/tmp/kolmar_fuzz_project_" + std::to_string(::getpid()) + ".kx8d";
    return name;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 1 << 16) {
        return 0; // project files are a few kilobytes
    }
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (int filter : {1, 2, 3}) {
        std::string error;
        auto p = TProgramData::CreateFromText(text, filter, &error, TempFile());
        Check(p != nullptr, "no project returned for text");
        CheckLimits(*p);
        if (!error.empty()) {
            Check(error.size() < 400, "unexpectedly long message");
            continue;
        }
        std::string saved;
        try {
            saved = p->SaveToText();
        } catch (const EInOutError&) {
            continue; // refused with a message (a title with a line break, a bad count)
        }

        std::string again;
        auto q = TProgramData::CreateFromText(saved, 1, &again, TempFile());
        Check(again.empty(), "a saved project does not read back");
        CheckLimits(*q);
        Check(q->SaveToText() == saved, "read and save of a saved project changes it");

        if (filter == 1) {
            q->Save();
            auto r = TProgramData::CreateFromFile(TempFile(), 1, &again);
            Check(r != nullptr && again.empty(), "a saved file does not read back");
            Check(r->SaveToText() == saved, "the saved file differs from the saved text");
            std::remove(TempFile().c_str());
        }
    }
    return 0;
}
