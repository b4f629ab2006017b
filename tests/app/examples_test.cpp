// The bundled examples are kept in the exact form the program saves, so that opening and
// saving one in the program changes nothing.
#include "gui/data/DataUnit.h"
#include "gui/run/RunControl.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

TEST(Examples, ReadSaveRoundTripAndLayerCheck) {
    int seen = 0;
    for (const auto& entry : fs::directory_iterator(fs::path(KOLMAR_SOURCE_DIR) / "examples")) {
        if (entry.path().extension() != ".kx8d")
            continue;
        ++seen;
        SCOPED_TRACE(entry.path().filename().string());
        std::ifstream in(entry.path(), std::ios::binary);
        std::stringstream bytes;
        bytes << in.rdbuf();

        std::string error;
        auto project = TProgramData::CreateFromFile(entry.path().string(), 1, &error);
        ASSERT_TRUE(project);
        ASSERT_EQ(error, "");
        EXPECT_EQ(project->SaveToText(), bytes.str());

        TLayerCheckInput check{project->fUnits, project->PD, project->DSTART, {}};
        for (const TSoilLayer& layer : project->D)
            check.LayerBottoms.push_back(layer.Depth);
        const auto warning = CheckData(check);
        EXPECT_FALSE(warning.has_value()) << *warning;
    }
    EXPECT_GE(seen, 4);
}
