// Computation › Bidirectional Test…: the window of a simulated jack-cell test. The cell depth and
// capacity are entered in the project's units and kept in NAME.bidir.json beside the project;
// the three curves (the two parts against the cell load, the equivalent top-down curve beside
// the analysis' trend line, the two capacities against cell depth with the balance depth) are
// drawn by the plot window's painter. Also the result graphs of an answer, for the calculation
// package.
#pragma once

#include "gui/data/PltData.h"
#include "gui/run/Bidirectional.h"

#include <QWidget>
#include <array>
#include <filesystem>
#include <functional>
#include <memory>

class QLabel;
class QLineEdit;
class QMdiArea;
class QPushButton;
class TProgramData;

// The three graphs of an answer: [0] cell load against the movements of the two parts (down
// positive), [1] the equivalent top-down curve with the analysis' trend line, [2] the two
// capacities against cell depth. Units are the answer's (kips and in, or kN and mm).
void FillBidirectionalGraphs(const TBidirAnswer& Answer, bool SI,
                             std::array<TGraphPlot, 3>& Graphs);

// The summary lines of an answer (cell, capacities, first part to fail, balance depth).
QString BidirectionalSummary(const TBidirAnswer& Answer, bool SI);

class TBidirectionalForm : public QWidget {
    Q_OBJECT
public:
    struct TSource {
        std::function<TProgramData&()> Project;
        // Saves the project when it has changes or no file; false when it is not saved.
        std::function<bool()> SaveFirst;
        std::filesystem::path Engine;
    };
    explicit TBidirectionalForm(TSource Source, QWidget* Parent = nullptr);

    // The one window of the frame: made as a child window if there is none, then shown.
    static TBidirectionalForm* Open(QMdiArea& Area, TSource Source);

    // Reads the set-up beside the project into the fields (the project's units on the labels).
    void LoadSetup();
    // Saves the set-up and simulates the test; at the balance depth when AtBalance.
    void Simulate(bool AtBalance);

    const TBidirAnswer& Answer() const { return fAnswer; }
    QString Summary() const;
    QLineEdit* DepthEdit() const { return fDepth; }
    QLineEdit* CapacityEdit() const { return fCapacity; }
    // The window's three charts as one picture.
    QImage RenderImage(const QSize& Size) const;

private:
    TSource fSource;
    QLineEdit *fDepth = nullptr, *fCapacity = nullptr;
    QLabel *fDepthUnit = nullptr, *fCapacityUnit = nullptr, *fSummary = nullptr;
    std::array<TGraphPlot, 3> fGraphs;
    std::array<QWidget*, 3> fCharts{};
    TBidirAnswer fAnswer;
    void ShowMessage(const QString& Text, bool Error);
};
