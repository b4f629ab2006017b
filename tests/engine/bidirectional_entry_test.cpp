// The simulated bidirectional test through the library's C interface: an English project and its
// SI twin (converted by the project model) give the same test in their own units; a tip in rock
// and cell depths that cannot hold a cell are refused with the reason; the cell can be placed at
// the balance depth; nothing is written beside the project.
#include "gui/data/DataUnit.h"
#include "kolmar/portable.h"
#include "kolmar/results.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

namespace kolmar::engine {
namespace {

using test::TempDir;

struct Handle {
    KolmarBidirectional* h = nullptr;
    ~Handle() { kolmar_bidirectional_free(h); }
    double Value(int which) const { return kolmar_bidirectional_value(h, which); }
    std::string Message() const { return kolmar_bidirectional_message(h); }
    // The last row of a table, column `column`.
    double Last(int table, int column) const {
        int rows = 0, columns = 0;
        const double* v = kolmar_bidirectional_table(h, table, &rows, &columns);
        return rows > 0 ? v[(rows - 1) * columns + column] : std::nan("");
    }
};

std::string Example(const std::string& name) {
    return std::string(KOLMAR_SOURCE_DIR) + "/examples/" + name;
}

TEST(BidirectionalEntryTest, EnglishAndSiTwinsAgree) {
    const TempDir dir;
    const std::string english = test::ReadFile(Example("sand-water-table.kx8d"));
    std::string error;
    const std::unique_ptr<TProgramData> twin = TProgramData::CreateFromText(english, 1, &error);
    ASSERT_TRUE(twin) << error;
    twin->SetUnits(2);
    test::WriteFile(dir / "en.kx8d", english);
    test::WriteFile(dir / "si.kx8d", twin->SaveToText());

    constexpr double kFtPerM = 3.2808, kKnPerKip = 4.448, kMmPerIn = 25.4;
    Handle en, si;
    ASSERT_EQ(
        kolmar_bidirectional(kolmar::Utf8OfPath(dir / "en.kx8d").c_str(), 20.0, 0.0, 0, &en.h), 0)
        << en.Message();
    ASSERT_EQ(kolmar_bidirectional(kolmar::Utf8OfPath(dir / "si.kx8d").c_str(), 20.0 / kFtPerM, 0.0,
                                   0, &si.h),
              0)
        << si.Message();
    const auto same = [](double a, double b, const char* what) {
        EXPECT_NEAR(a, b, 0.005 * std::fabs(a) + 1e-9) << what;
    };
    same(en.Value(KOLMAR_BIDIR_CELL_DEPTH), si.Value(KOLMAR_BIDIR_CELL_DEPTH) * kFtPerM, "cell");
    for (const int load : {KOLMAR_BIDIR_UPPER_WEIGHT, KOLMAR_BIDIR_UPPER_CAPACITY,
                           KOLMAR_BIDIR_LOWER_CAPACITY, KOLMAR_BIDIR_FIRST_ULTIMATE_LOAD})
        same(en.Value(load) * kKnPerKip, si.Value(load), "capacity");
    same(en.Value(KOLMAR_BIDIR_BALANCE_DEPTH), si.Value(KOLMAR_BIDIR_BALANCE_DEPTH) * kFtPerM,
         "balance depth");
    same(en.Last(KOLMAR_BIDIR_EQUIVALENT, 1) * kKnPerKip, si.Last(KOLMAR_BIDIR_EQUIVALENT, 1),
         "equivalent load");
    same(en.Last(KOLMAR_BIDIR_EQUIVALENT, 2) * kMmPerIn, si.Last(KOLMAR_BIDIR_EQUIVALENT, 2),
         "equivalent movement");
    same(en.Last(KOLMAR_BIDIR_TOP_DOWN, 0) * kKnPerKip, si.Last(KOLMAR_BIDIR_TOP_DOWN, 0),
         "top-down load");
    EXPECT_STREQ(kolmar_bidirectional_column_unit(en.h, KOLMAR_BIDIR_UPWARD, 0), "kips");
    EXPECT_STREQ(kolmar_bidirectional_column_unit(si.h, KOLMAR_BIDIR_UPWARD, 0), "kN");
    EXPECT_STREQ(kolmar_bidirectional_column_unit(si.h, KOLMAR_BIDIR_UPWARD, 1), "mm");
    EXPECT_STREQ(kolmar_bidirectional_column_unit(si.h, KOLMAR_BIDIR_BALANCE, 0), "m");
    // The project's folder holds the two projects and nothing else.
    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path()))
        ++files;
    EXPECT_EQ(files, 2);
}

TEST(BidirectionalEntryTest, RefusalsSayWhatIsWrongAndWhere) {
    struct Case {
        const char* project;
        double depth;
        int status;
        const char* says;
    };
    const Case cases[] = {
        {"strong-rock-socket.kx8d", 10.0, KOLMAR_STATUS_BAD_INPUT,
         "The shaft tip at 36 ft lies in layer 2 (strong rock (side and base), code 7)"},
        {"weak-rock-socket.kx8d", 10.0, KOLMAR_STATUS_BAD_INPUT, "code 6"},
        {"decomposed-rock.kx8d", 10.0, KOLMAR_STATUS_BAD_INPUT, "code 5"},
        {"sand-water-table.kx8d", -1.0, KOLMAR_STATUS_BAD_INPUT, "greater than 0"},
        {"sand-water-table.kx8d", 51.0, KOLMAR_STATUS_BAD_INPUT, "below the shaft tip at 50.00 ft"},
        {"clay-bell.kx8d", 68.0, KOLMAR_STATUS_BAD_INPUT, "lies in the bell"},
        {"no-such-project.kx8d", 10.0, KOLMAR_STATUS_FILE_ERROR, "ended with status 9"},
    };
    for (const Case& c : cases) {
        Handle r;
        EXPECT_EQ(kolmar_bidirectional(Example(c.project).c_str(), c.depth, 0.0, 0, &r.h), c.status)
            << c.project;
        EXPECT_NE(r.Message().find(c.says), std::string::npos) << r.Message();
        EXPECT_TRUE(std::isnan(r.Value(KOLMAR_BIDIR_UPPER_CAPACITY)));
        EXPECT_NE(std::string(kolmar_bidirectional_json(r.h)).find(c.says), std::string::npos);
    }
}

TEST(BidirectionalEntryTest, CellAtTheBalanceDepth) {
    Handle r;
    ASSERT_EQ(kolmar_bidirectional(Example("sand-water-table.kx8d").c_str(), 0.0, 0.0, 1, &r.h), 0)
        << r.Message();
    const double balance = r.Value(KOLMAR_BIDIR_BALANCE_DEPTH);
    EXPECT_EQ(balance, std::round(balance));
    // The cell on the element boundary nearest the balance depth, the two capacities alike.
    EXPECT_NEAR(r.Value(KOLMAR_BIDIR_CELL_DEPTH), balance, 0.5);
    EXPECT_NEAR(r.Value(KOLMAR_BIDIR_UPPER_CAPACITY), r.Value(KOLMAR_BIDIR_LOWER_CAPACITY),
                0.1 * r.Value(KOLMAR_BIDIR_LOWER_CAPACITY));
    EXPECT_STREQ(kolmar_bidirectional_first_part(r.h), "upper");
}

} // namespace
} // namespace kolmar::engine
