// Word reader: words across lines, line tracking, numbers and its failure messages.
#include "ui/model/WordRead.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

std::vector<std::string> AllWords(TWordReader& R) {
    std::vector<std::string> words;
    try {
        for (;;) {
            words.push_back(R.ReadWord());
        }
    } catch (const EInOutError&) {
    }
    return words;
}

TEST(WordReader, SplitsAtBlanksAndTabsAndKeepsLinesWhole) {
    auto r = TWordReader::FromText("  a \t b\t\tc  \r\n\x01"
                                   "d e\x02\r\n   lead  trail  \n");
    EXPECT_EQ(r.LineCount(), 3);
    EXPECT_EQ(r.CurrentLineWordCount(), 3);
    EXPECT_EQ(r.ReadWord(), "a");
    EXPECT_EQ(r.ReadWord(), "b");
    EXPECT_EQ(r.ReadWord(), "c");
    EXPECT_EQ(r.ReadWord(), "d"); // control characters around words are dropped
    EXPECT_EQ(r.ReadWord(), "e");
    EXPECT_EQ(r.ReadLine(), "\x01"
                            "d e\x02"); // the current line whole, CR dropped
    EXPECT_EQ(r.ReadLine(), "   lead  trail  ");
    EXPECT_TRUE(r.Eof());
}

TEST(WordReader, EmptyTextIsOneBlankLine) {
    auto r = TWordReader::FromText("");
    EXPECT_EQ(r.LineCount(), 1);
    EXPECT_FALSE(r.Eof());
    EXPECT_EQ(r.ReadLine(), "");
    EXPECT_TRUE(r.Eof());
}

TEST(WordReader, WordCountStaysOnTheLineUntilTheNextWordIsAsked) {
    auto r = TWordReader::FromText("1 2 3 4 5 6 7\n1 2 3 4 5 6 7 8 9\nnext\n");
    for (int i = 0; i < 7; ++i) {
        r.ReadWord();
    }
    EXPECT_EQ(r.CurrentLineWordCount(), 7);
    EXPECT_EQ(r.Line(), 0);
    for (int i = 0; i < 7; ++i) {
        r.ReadWord();
    }
    EXPECT_EQ(r.CurrentLineWordCount(), 9);
    r.ReadWord();
    r.ReadWord();
    EXPECT_EQ(r.ReadWord(), "next"); // the 10th word of a 9-word line is the next line's first
    EXPECT_EQ(r.Line(), 2);
    EXPECT_EQ(r.Item(), 1);
}

TEST(WordReader, IntegersAcceptWholeRealsAndReadsArePointBased) {
    auto r = TWordReader::FromText("2.0 2 -2147483648 1.5E3 0.25");
    EXPECT_EQ(r.ReadInteger(), 2);
    EXPECT_EQ(r.ReadInteger(), 2);
    EXPECT_EQ(r.ReadInteger(), -2147483647 - 1);
    EXPECT_EQ(r.ReadFloat(), 1500.0);
    EXPECT_EQ(r.ReadFloat(), 0.25);
}

TEST(WordReader, BlankLinesAreSkippedOnlyWhereAllowed) {
    // One blank line right after ReadLine is passed (the reader stands on it already).
    auto r = TWordReader::FromText("title\n\n5\n");
    r.ReadLine();
    EXPECT_EQ(r.ReadInteger(), 5);

    // SkipBlankLines passes any number of blank lines between values.
    auto s = TWordReader::FromText("1\n\n \t\n2\n\n");
    EXPECT_EQ(s.ReadWord(), "1");
    s.SkipBlankLines();
    EXPECT_EQ(s.ReadWord(), "2");
    s.SkipBlankLines();
    EXPECT_THROW(s.ReadWord(), EInOutError);
}

TEST(WordReader, FailedConversionLeavesThePositionAfterTheWord) {
    auto r = TWordReader::FromText("1 abc 3");
    r.ReadWord();
    EXPECT_THROW(r.ReadFloat(), EInOutError);
    EXPECT_EQ(r.ReadInteger(), 3);
}

// Each case reads `Before` words, then makes one more read of kind `Op` that must fail.
enum class Op { Word, Float, Integer, Line };
struct FailCase {
    const char* Name;
    const char* Text;
    int Before;
    int LinesBefore; // ReadLine calls before the words
    Op Read;
    const char* Message;
};

class WordReaderFailure : public ::testing::TestWithParam<FailCase> {};

TEST_P(WordReaderFailure, GivesTheExactMessage) {
    const FailCase& c = GetParam();
    auto r = TWordReader::FromText(c.Text);
    for (int i = 0; i < c.LinesBefore; ++i) {
        r.ReadLine();
    }
    for (int i = 0; i < c.Before; ++i) {
        r.ReadWord();
    }
    try {
        switch (c.Read) {
        case Op::Word:
            r.ReadWord();
            break;
        case Op::Float:
            r.ReadFloat();
            break;
        case Op::Integer:
            r.ReadInteger();
            break;
        case Op::Line:
            r.ReadLine();
            break;
        }
        FAIL() << "no error raised";
    } catch (const EInOutError& e) {
        EXPECT_EQ(std::string(e.what()), c.Message);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WordReaderFailure,
    ::testing::Values(
        FailCase{"NotAReal", "1\n2\n3\n4\n1 2 abc 4\n", 6, 0, Op::Float,
                 "Error on Line 5 Item 3\nA floating point number was expected but not found."},
        FailCase{"FractionWhereIntegerExpected", "7 2.5", 1, 0, Op::Integer,
                 "Error on Line 1 Item 2\nAn integer was expected but not found."},
        FailCase{"IntegerOutOfRange", "x\n 2147483648", 0, 1, Op::Integer,
                 "Error on Line 2 Item 1\nAn integer was expected but not found."},
        FailCase{"PastTheLastWord", "1 2\n3\n", 3, 0, Op::Word,
                 "Error on Line 3\nThis file either invalid or incomplete."},
        FailCase{"PastTheLastWordAsReal", "1", 1, 0, Op::Float,
                 "Error on Line 2\nThis file either invalid or incomplete."},
        FailCase{"BlankLineAfterAFinishedLine", "1 2\n\n3\n", 2, 0, Op::Word,
                 "Error on Line 2\nA blank line was found where a value was expected."},
        FailCase{"SecondBlankLineInARow", "t\n\n\n3\n", 0, 1, Op::Integer,
                 "Error on Line 3\nA blank line was found where a value was expected."},
        FailCase{"LinePastTheEnd", "a\nb\n", 0, 2, Op::Line,
                 "Error on Line 3\nThe file ends where a line was expected."}),
    [](const ::testing::TestParamInfo<FailCase>& p) { return p.param.Name; });

TEST(WordReader, OpensFilesAndNamesTheOneItCannotOpen) {
    const auto dir = std::filesystem::temp_directory_path() / "kolmar_wordread_test";
    std::filesystem::create_directories(dir);
    const auto file = dir / "words.txt";
    { std::ofstream(file, std::ios::binary) << "x y\r\nz"; }
    TWordReader r(file.string());
    EXPECT_EQ(AllWords(r), (std::vector<std::string>{"x", "y", "z"}));

    for (const auto& bad : {dir / "missing.txt", dir}) {
        try {
            TWordReader unused(bad.string());
            FAIL() << "opened " << bad;
        } catch (const EInOutError& e) {
            EXPECT_NE(std::string(e.what()).find(bad.string()), std::string::npos) << e.what();
        }
    }
    std::filesystem::remove_all(dir);
}

} // namespace
