// Project files the engine refuses: every one ends the run with status 8 and a message that
// names the record and the line, in the report, the run notes and on the console; the staged
// files are still assembled and every file is closed.
#include "checks.h"
#include "kolmar/ikolmar.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace kolmar::engine {
namespace {

using test::Project;

struct BadInput {
    const char* what;
    std::string text;
    InputError expected;
};

std::string Block(const InputError& error) {
    std::string text;
    for (const std::string& line : InputErrorLines(error))
        text += "     " + line + "\n";
    return text;
}

Project With(void (*change)(Project&)) {
    Project p;
    change(p);
    return p;
}

std::vector<BadInput> Cases() {
    const std::string layers = "THE NUMBER OF SOIL LAYERS MUST BE BETWEEN 1 AND 40.";
    const std::string code = "THE SOIL TYPE CODE MUST BE A WHOLE NUMBER FROM 1 TO 9.";
    const std::string tz = "THE NUMBER OF ADDITIONAL T-Z CURVES MUST BE BETWEEN 0 AND 50.";
    const std::string settlements =
        "THE NUMBER OF DESIGN-CHART SETTLEMENTS MUST BE BETWEEN 1 AND 10.";
    const std::string early = "THE FILE ENDS BEFORE THIS RECORD IS COMPLETE.";
    const std::string full = Project().Text();
    const auto first_lines = [&full](int n) {
        std::size_t end = 0;
        for (int i = 0; i < n; ++i)
            end = full.find('\n', end) + 1;
        return full.substr(0, end);
    };
    return {
        {"an empty file", "", {1, "TITLE RECORD", 1, early}},
        {"the title alone", first_lines(1), {2, "UNIT-SYSTEM RECORD", 2, early}},
        {"a shaft record cut short", first_lines(3) + "3 3 0 0\r\n", {4, "SHAFT RECORD", 5, early}},
        {"a layer cut in its bottom row",
         first_lines(7) + "0.0 125 38\r\n",
         {8, "LAYER 1, VALUES AT THE BOTTOM", 9, early}},
        {"t-z depths missing at the end",
         With([](Project& p) {
             p.control = "2 1 1 1 1 2 0 0 0 0 1";
             p.tz = {"3", "10", "20"};
         }).Text(),
         {14, "ADDITIONAL T-Z DEPTH 3", 14, early}},
        {"a word that is no number",
         With([](Project& p) { p.load = "1 10 fifty 2.5 3"; }).Text(),
         {5, "LOAD RECORD", 5, "VALUE 3 OF THIS RECORD, \"fifty\", IS NOT A NUMBER."}},
        {"NaN",
         With([](Project& p) { p.shaft = "3 3 0 0 0 0 nan"; }).Text(),
         {4, "SHAFT RECORD", 4,
          "VALUE 7 OF THIS RECORD IS NOT A FINITE NUMBER OF 1.0E+20 OR LESS."}},
        {"a bad word on a continuation line",
         With([](Project& p) { p.shaft = "3 3 0 0\r\n0 0 3.6E+6x"; }).Text(),
         {4, "SHAFT RECORD", 5, "VALUE 7 OF THIS RECORD, \"3.6E+6x\", IS NOT A NUMBER."}},
        {"a fraction where a whole number is needed",
         With([](Project& p) { p.units = "1.5"; }).Text(),
         {2, "UNIT-SYSTEM RECORD", 2, "VALUE 1 OF THIS RECORD MUST BE A WHOLE NUMBER."}},
        {"41 layers",
         With([](Project& p) { p.load = "41 10 50 2.5 3"; }).Text(),
         {5, "LOAD RECORD", 5, layers}},
        {"no layer",
         With([](Project& p) { p.load = "0 10 50 2.5 3"; }).Text(),
         {5, "LOAD RECORD", 5, layers}},
        {"soil code 0",
         With([](Project& p) { p.layers[0] = "0 70 "; }).Text(),
         {6, "LAYER 1, SOIL CODE AND BOTTOM DEPTH", 6, code}},
        {"soil code 10",
         With([](Project& p) { p.layers[0] = "10 70 "; }).Text(),
         {6, "LAYER 1, SOIL CODE AND BOTTOM DEPTH", 6, code}},
        {"a layer without thickness",
         With([](Project& p) { p.layers[0] = "1 0 "; }).Text(),
         {6, "LAYER 1, SOIL CODE AND BOTTOM DEPTH", 6,
          "THE BOTTOM OF LAYER 1 MUST LIE BELOW ITS TOP AND NOT DEEPER THAN 1000 FT (304.8 M)."}},
        {"sand method 4",
         With([](Project& p) { p.layers[3] = "4 "; }).Text(),
         {9, "LAYER 1, SIDE-FRICTION METHOD", 9,
          "THE SIDE-FRICTION METHOD OF A SAND LAYER MUST BE 1, 2 OR 3."}},
        {"weak-rock interface condition 5",
         With([](Project& p) {
             p.layers = {"6 70 ", "50000 5 0.1 30 3 0 100000 50 0 1 1 ",
                         "50000 1 0.1 30 3 0 100000 50 0 1 1 "};
         }).Text(),
         {7, "LAYER 1, VALUES AT THE TOP", 7,
          "THE INTERFACE CONDITION OF WEAK ROCK MUST BE 1, 2, 3 OR 4."}},
        {"design control 3",
         With([](Project& p) { p.control = "3 1 1 1 1 2 0 0 0 0 0"; }).Text(),
         {3, "CONTROL RECORD", 3,
          "THE DESIGN CONTROL MUST BE 1 (DESIGN LOAD) OR 2 (PROPOSED DEPTH)."}},
        {"51 t-z depths",
         With([](Project& p) {
             p.control = "2 1 1 1 1 2 0 0 0 0 1";
             p.tz = {"51"};
         }).Text(),
         {11, "NUMBER OF ADDITIONAL T-Z CURVES", 11, tz}},
        {"a negative count of t-z depths",
         With([](Project& p) {
             p.control = "2 1 1 1 1 2 0 0 0 0 1";
             p.tz = {"-1"};
         }).Text(),
         {11, "NUMBER OF ADDITIONAL T-Z CURVES", 11, tz}},
        {"11 settlements",
         With([](Project& p) {
             p.control = "2 1 1 1 1 2 0 1 0 0 0";
             p.options = {"0 0 0 11", "1 1 1 1 1 1 1 1 1 1 1"};
         }).Text(),
         {6, "DESIGN-CHART RECORD", 6, settlements}},
        {"no settlement with design charts on",
         With([](Project& p) {
             p.control = "2 1 1 1 1 2 0 1 0 0 0";
             p.options = {"0 0 0 0", ""};
         }).Text(),
         {6, "DESIGN-CHART RECORD", 6, settlements}},
    };
}

TEST(BadInputTest, EveryRefusedFileEndsTheRunInOrder) {
    for (const BadInput& c : Cases()) {
        SCOPED_TRACE(c.what);
        test::TempDir dir;
        const test::RunResult result = test::RunProject(dir, c.text);
        EXPECT_EQ(result.status, KOLMAR_STATUS_BAD_INPUT);
        EXPECT_TRUE(result.all_closed);
        const std::string block = Block(c.expected);
        EXPECT_NE(result.report.find(block), std::string::npos) << result.report;
        EXPECT_NE(result.notes.find(block), std::string::npos) << result.notes;
        EXPECT_NE(result.console.find(block), std::string::npos);
        // The staged files were assembled: the plot file exists, empty.
        EXPECT_TRUE(std::filesystem::exists(dir / "run.kx8p"));
        EXPECT_EQ(result.plot, "");
    }
}

} // namespace
} // namespace kolmar::engine
