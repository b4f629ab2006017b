// File names in UTF-8 through the model library on Linux and on Windows (where the Windows build
// runs this test under Wine): a folder named in German, Greek and Chinese is created, a file in it
// saved atomically over an older one, read back by the word reader, and listed by its UTF-8 name.
#include "gui/data/DataUnit.h"
#include "kolmar/portable.h"
#include "ui/model/WordRead.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace fs = std::filesystem;

namespace {

const std::string kFolder = "Bohrpf\xc3\xa4hle \xce\xa9\xce\xbc\xce\xad\xce\xb3\xce\xb1 "
                            "\xe6\xa1\xa9\xe5\x9f\xba";

class NonAsciiFolder : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               kolmar::PathFromUtf8(kFolder + " " + std::to_string(kolmar::ProcessNumber()));
        fs::remove_all(dir_);
        ASSERT_TRUE(fs::create_directory(dir_));
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    std::string Utf8(const std::string& name) const {
        return kolmar::Utf8OfPath(dir_ / kolmar::PathFromUtf8(name));
    }
    fs::path dir_;
};

std::string Bytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace

TEST_F(NonAsciiFolder, NamesRoundTripThroughUtf8) {
    const std::string name = Utf8("Pfahl \xce\xb1.kx8d");
    EXPECT_NE(name.find(kFolder), std::string::npos) << name;
    EXPECT_EQ(kolmar::Utf8OfPath(kolmar::PathFromUtf8(name)), name);
    EXPECT_EQ(kolmar::Utf8OfPath(kolmar::PathFromUtf8(name).filename()), "Pfahl \xce\xb1.kx8d");
}

TEST_F(NonAsciiFolder, AnAtomicSaveReplacesTheOldFileAndIsReadBack) {
    const std::string name = Utf8("shaft.kx8d");
    WriteFileAtomically(name, "old text that is longer than the new one\n");
    WriteFileAtomically(name, "3 ft\r\n4.5 m\n");
    EXPECT_EQ(Bytes(kolmar::PathFromUtf8(name)), "3 ft\r\n4.5 m\n");
    // Nothing but the file: the temporary one was renamed over it.
    int files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir_))
        ++files;
    EXPECT_EQ(files, 1);

    TWordReader words(name);
    EXPECT_EQ(words.LineCount(), 2);
    EXPECT_EQ(words.ReadWord(), "3");
    EXPECT_EQ(words.ReadWord(), "ft");
}

TEST_F(NonAsciiFolder, MoveFileInPlaceReplacesAnExistingFile) {
    const fs::path from = dir_ / "new.tmp", to = dir_ / kolmar::PathFromUtf8("\xe6\xa1\xa9.txt");
    std::ofstream(to, std::ios::binary) << "old";
    std::ofstream(from, std::ios::binary) << "new";
    EXPECT_FALSE(kolmar::MoveFileInPlace(from, to));
    EXPECT_EQ(Bytes(to), "new");
    EXPECT_FALSE(fs::exists(from));
    // A missing source is an error, and the target stays.
    EXPECT_TRUE(kolmar::MoveFileInPlace(from, to));
    EXPECT_EQ(Bytes(to), "new");
}

TEST(Portable, TheRunningProgramIsKnown) {
    const fs::path self = kolmar::ExecutableFile();
    std::error_code ec;
    EXPECT_TRUE(fs::is_regular_file(self, ec)) << kolmar::Utf8OfPath(self);
}
