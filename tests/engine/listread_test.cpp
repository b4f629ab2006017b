// The free-format record reader: record boundaries, separators, continuation lines, numbers
// and the record and line that every fault names.
#include "listread.h"

#include <gtest/gtest.h>

namespace kolmar::engine {
namespace {

TEST(ListReaderTest, RecordsStartOnNewLinesAndIgnoreTrailingWords) {
    ListReader r("Title line, with commas\r\n"
                 "1 2 3 extra words ignored\r\n"
                 "4,5\t6\r\n"
                 "\r\n"
                 "  7\r\n"
                 "8 9\r\n");
    r.BeginRecord("TITLE");
    EXPECT_EQ(r.TextLine(), "Title line, with commas");
    r.EndRecord();

    r.BeginRecord("TWO OF THREE");
    EXPECT_EQ(r.Real(), 1.0);
    EXPECT_EQ(r.Real(), 2.0);
    r.EndRecord(); // the 3 and the words are skipped with the rest of the line

    // Commas and tabs separate; the record goes on over a blank line.
    r.BeginRecord("FOUR VALUES");
    EXPECT_EQ(r.Integer(), 4);
    EXPECT_EQ(r.Integer(), 5);
    EXPECT_EQ(r.Integer(), 6);
    EXPECT_EQ(r.Integer(), 7);
    EXPECT_EQ(r.line(), 5);
    r.EndRecord();

    r.BeginRecord("LAST");
    EXPECT_EQ(r.record(), 4);
    EXPECT_EQ(r.Real(), 8.0);
    EXPECT_EQ(r.line(), 6);
}

TEST(ListReaderTest, AcceptsTheNumberFormsOfProjectFiles) {
    ListReader r("2.0 +3 1E-6 2.5D2 -0.5 .5 5.\n");
    r.BeginRecord("NUMBERS");
    EXPECT_EQ(r.Integer(), 2);
    EXPECT_EQ(r.Real(), 3.0);
    EXPECT_EQ(r.Real(), 1.0e-6);
    EXPECT_EQ(r.Real(), 250.0);
    EXPECT_EQ(r.Real(), -0.5);
    EXPECT_EQ(r.Real(), 0.5);
    EXPECT_EQ(r.Real(), 5.0);
}

TEST(ListReaderTest, ARecordWithoutValuesStillUsesItsLine) {
    ListReader r("\n7\n");
    r.BeginRecord("EMPTY");
    r.EndRecord();
    r.BeginRecord("NEXT");
    EXPECT_EQ(r.Real(), 7.0);
    EXPECT_EQ(r.line(), 2);
}

struct FaultCase {
    const char* text;
    int reads; // values read in the second record before the fault
    bool integer;
    ReadFault fault;
    int line;
    int value_index;
    const char* word;
};

TEST(ListReaderTest, FaultsNameRecordLineAndValue) {
    const FaultCase cases[] = {
        {"t\n1 2\n", 3, false, ReadFault::end_of_file, 3, 3, ""},
        {"t\n1\n\n", 2, false, ReadFault::end_of_file, 4, 2, ""},
        {"t\n1 abc\n", 2, false, ReadFault::not_a_number, 2, 2, "abc"},
        {"t\n1\n2 3..5\n", 3, false, ReadFault::not_a_number, 3, 3, "3..5"},
        {"t\n1 0x10\n", 2, false, ReadFault::not_a_number, 2, 2, "0x10"},
        {"t\n1 +-2\n", 2, false, ReadFault::not_a_number, 2, 2, "+-2"},
        {"t\n1 nan\n", 2, false, ReadFault::not_finite, 2, 2, "nan"},
        {"t\n1 -Infinity\n", 2, false, ReadFault::not_finite, 2, 2, "-Infinity"},
        {"t\n1 1E999\n", 2, false, ReadFault::not_finite, 2, 2, "1E999"},
        {"t\n1 2E20\n", 2, false, ReadFault::not_finite, 2, 2, "2E20"},
        {"t\n1 2.5\n", 2, true, ReadFault::not_whole_number, 2, 2, ""},
        {"t\n1 3E9\n", 2, true, ReadFault::not_whole_number, 2, 2, ""},
    };
    for (const FaultCase& c : cases) {
        SCOPED_TRACE(c.text);
        ListReader r(c.text);
        r.BeginRecord("TITLE");
        r.TextLine();
        r.EndRecord();
        r.BeginRecord("DATA");
        try {
            for (int i = 0; i < c.reads; ++i) {
                if (c.integer)
                    r.Integer();
                else
                    r.Real();
            }
            ADD_FAILURE() << "no fault raised";
        } catch (const ReadError& e) {
            EXPECT_EQ(e.fault, c.fault);
            EXPECT_EQ(e.record, 2);
            EXPECT_EQ(e.record_name, "DATA");
            EXPECT_EQ(e.line, c.line);
            EXPECT_EQ(e.value_index, c.value_index);
            EXPECT_EQ(e.word, c.word);
        }
    }
}

TEST(ListReaderTest, AnEmptyFileEndsBeforeTheTitle) {
    ListReader r("");
    r.BeginRecord("TITLE");
    try {
        r.TextLine();
        ADD_FAILURE() << "no fault raised";
    } catch (const ReadError& e) {
        EXPECT_EQ(e.fault, ReadFault::end_of_file);
        EXPECT_EQ(e.line, 1);
    }
}

} // namespace
} // namespace kolmar::engine
