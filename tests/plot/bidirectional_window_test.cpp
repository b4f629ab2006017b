// The Bidirectional Test window: it simulates the test of the saved project, keeps the cell depth
// and capacity in NAME.bidir.json beside it and reads them back, says what is wrong with a
// depth it cannot use, and draws its three charts with the plot painter; offscreen.
#include "gui/data/DataUnit.h"
#include "gui/results/BidirectionalForm.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

namespace fs = std::filesystem;

namespace {

class QtEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QApplication>(argc, argv);
    }
    void TearDown() override { app.reset(); }

private:
    int argc = 1;
    char name[24] = "bidirectional_window";
    char* argv[2] = {name, nullptr};
    std::unique_ptr<QApplication> app;
};
[[maybe_unused]] ::testing::Environment* const kQt =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);

std::string ReadAll(const fs::path& Path) {
    std::ifstream in(Path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Pixels that are not white in a part of a picture.
long long Ink(const QImage& Image, const QRect& Part) {
    long long marked = 0;
    for (int y = Part.top(); y <= Part.bottom(); ++y)
        for (int x = Part.left(); x <= Part.right(); ++x)
            marked += Image.pixelColor(x, y) != QColor(Qt::white) ? 1 : 0;
    return marked;
}

TEST(BidirectionalWindow, SimulatesKeepsTheSetupAndDrawsThreeCharts) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const fs::path project = fs::path(dir.path().toStdString()) / "sand-water-table.kx8d";
    fs::copy_file(fs::path(KOLMAR_SOURCE_DIR) / "examples" / "sand-water-table.kx8d", project);
    std::string error;
    std::unique_ptr<TProgramData> data = TProgramData::CreateFromFile(project.string(), 1, &error);
    ASSERT_TRUE(data) << error;
    int saves = 0;
    const TBidirectionalForm::TSource source{[&]() -> TProgramData& { return *data; },
                                             [&] { return ++saves > 0; }, KOLMAR_ENGINE_LIB};

    TBidirectionalForm form(source);
    EXPECT_TRUE(form.DepthEdit()->text().isEmpty());
    form.DepthEdit()->setText("abc");
    form.Simulate(false);
    EXPECT_TRUE(form.Summary().contains("must be a number greater than 0"))
        << form.Summary().toStdString();
    EXPECT_FALSE(fs::exists(BidirSetupPath(project)));

    form.DepthEdit()->setText("60");
    form.Simulate(false);
    EXPECT_TRUE(form.Summary().contains("lies below the shaft tip at 50.00 ft"))
        << form.Summary().toStdString();

    form.DepthEdit()->setText("20");
    form.CapacityEdit()->setText("400");
    form.Simulate(false);
    ASSERT_EQ(form.Answer().Status, 0) << form.Answer().Message;
    EXPECT_TRUE(form.Summary().contains("Cell at 20.00 ft, cell capacity 400.0 kips"))
        << form.Summary().toStdString();
    EXPECT_TRUE(form.Summary().contains("Balance depth: 38 ft")) << form.Summary().toStdString();
    EXPECT_GE(saves, 1); // the project is saved (when it has changes) before the engine reads it

    // The set-up beside the project, read back by a new window.
    const std::string setup = ReadAll(BidirSetupPath(project));
    EXPECT_NE(setup.find("\"cell_depth\": 20,"), std::string::npos) << setup;
    EXPECT_NE(setup.find("\"cell_capacity\": 400,"), std::string::npos) << setup;
    TBidirectionalForm again(source);
    EXPECT_EQ(again.DepthEdit()->text(), "20");
    EXPECT_EQ(again.CapacityEdit()->text(), "400");

    // The three charts: each third of the picture is drawn on.
    const QImage picture = form.RenderImage(QSize(1500, 500));
    for (int i = 0; i < 3; ++i)
        EXPECT_GT(Ink(picture, QRect(i * 500 + 60, 60, 380, 380)), 2000) << "chart " << i;
    if (const char* out = std::getenv("KOLMAR_SAVE_PICTURES"))
        picture.save(QString(out) + "/bidirectional-window.png");

    // The cell at the balance depth: the field takes the depth used.
    form.Simulate(true);
    ASSERT_EQ(form.Answer().Status, 0) << form.Answer().Message;
    EXPECT_EQ(form.DepthEdit()->text().left(5), "37.85");
}

} // namespace
