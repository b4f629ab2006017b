// The simulated bidirectional test's window and its graphs.
#include "gui/results/BidirectionalForm.h"

#include "gui/data/DataUnit.h"
#include "gui/results/PlotPainter.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <charconv>
#include <cmath>

namespace {

constexpr const char* kCaption = "Bidirectional Test";

// One chart of the window, painted by the plot window's painter.
class TChartView : public QWidget {
public:
    TChartView(TGraphPlot& Graph, QWidget* Parent) : QWidget(Parent), fGraph(Graph) {
        setMinimumSize(260, 240);
        setAutoFillBackground(true);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        if (fGraph.LineCount() == 0)
            return;
        TPlotPainter plot(fGraph);
        plot.ResetBounds();
        plot.DrawWindow.PrintLegend = true;
        plot.draw(painter, rect());
    }

private:
    TGraphPlot& fGraph;
};

struct TCurve {
    std::string Name;
    std::vector<TFloatPoint> Points;
};

// Fills a graph with curves of any lengths: every line of a set holds as many points as the
// longest, the shorter ones repeating their last point.
void SetCurves(TGraphPlot& G, const std::vector<TCurve>& Curves) {
    std::size_t most = 0;
    std::vector<const TCurve*> drawn;
    for (const TCurve& c : Curves)
        if (!c.Points.empty()) {
            drawn.push_back(&c);
            most = std::max(most, c.Points.size());
        }
    G.SetLineCount(0);
    G.SetLineCount(static_cast<int>(drawn.size()));
    G.SetCount(static_cast<int>(most));
    for (std::size_t i = 0; i < drawn.size(); ++i) {
        TLine& line = G.Lines(static_cast<int>(i));
        line.fValueS = drawn[i]->Name;
        for (std::size_t j = 0; j < most; ++j)
            line.Points[j] = drawn[i]->Points[std::min(j, drawn[i]->Points.size() - 1)];
    }
}

std::vector<TFloatPoint> Column(const TBidirTable& T, std::size_t X, std::size_t Y,
                                double YSign = 1.0) {
    std::vector<TFloatPoint> points;
    for (const std::vector<double>& row : T.Rows)
        if (X < row.size() && Y < row.size())
            points.push_back({row[X], YSign * row[Y]});
    return points;
}

void Titles(TGraphPlot& G, const std::string& Caption, const std::string& X, const std::string& Y) {
    G.SetUnits(3);
    G.Caption = Caption;
    G.XCaption = X;
    G.YCaption = Y;
    G.XUnits = G.YUnits = "";
    G.ShowLegend = true;
    G.AlwaysShowLegend = true;
    G.Markers = 0;
    G.WidthLine = 2;
}

QString Number(double Value, int Decimals) {
    return std::isfinite(Value) ? QString::number(Value, 'f', Decimals) : QStringLiteral("-");
}

// A number typed into a field, "." as the decimal separator; empty text is 0.
bool ReadField(const QString& Text, double& Value) {
    const std::string s = Text.trimmed().toStdString();
    if (s.empty()) {
        Value = 0.0;
        return true;
    }
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), Value);
    return ec == std::errc() && end == s.data() + s.size() && std::isfinite(Value);
}

} // namespace

void FillBidirectionalGraphs(const TBidirAnswer& A, bool SI, std::array<TGraphPlot, 3>& Graphs) {
    const std::string force = SI ? "kN" : "kips", mov = SI ? "mm" : "in", len = SI ? "m" : "ft";
    const TBidirTable& up = A.Table(TBidirTableKind::Upward);
    const TBidirTable& down = A.Table(TBidirTableKind::Downward);
    TGraphPlot& parts = Graphs[0];
    // Movements down positive, as settlements are drawn: the upper part rises above the axis.
    Titles(parts, "Cell load against movement", "Cell load (" + force + ")",
           "Movement, down positive (" + mov + ")");
    parts.YFromData = true;
    SetCurves(parts, {{"Upward, cell top", Column(up, 0, 1, -1.0)},
                      {"Upward, shaft top", Column(up, 0, 2, -1.0)},
                      {"Downward, cell bottom", Column(down, 0, 1)}});

    TGraphPlot& eq = Graphs[1];
    Titles(eq, "Equivalent top-down curve", "Top load (" + force + ")",
           "Top settlement (" + mov + ")");
    const TBidirTable& e = A.Table(TBidirTableKind::Equivalent);
    const std::vector<TFloatPoint> corrected = Column(e, 1, 2);
    // The analysis' trend line ends at 5 % of the diameter; the equivalent curve is drawn to
    // twice that so that both share a scale.
    const TBidirTable& td = A.Table(TBidirTableKind::TopDown);
    const std::vector<TFloatPoint> trend = Column(td, 0, 1);
    const double limit = trend.empty() ? INFINITY : 2.0 * trend.back().Y;
    std::vector<TFloatPoint> shown, rigid;
    for (std::size_t i = 0; i < corrected.size(); ++i)
        if (corrected[i].Y <= limit) {
            shown.push_back(corrected[i]);
            rigid.push_back({e.Rows[i][1], e.Rows[i][0]});
        }
    SetCurves(
        eq,
        {{"Equivalent, elastic", shown}, {"Equivalent, rigid", rigid}, {"Top-down trend", trend}});

    TGraphPlot& bal = Graphs[2];
    Titles(bal, "Placing the cell", "Ultimate cell load (" + force + ")",
           "Cell depth (" + len + ")");
    const TBidirTable& b = A.Table(TBidirTableKind::Balance);
    std::vector<TCurve> curves = {{"Upper part", Column(b, 1, 0)}, {"Lower part", Column(b, 2, 0)}};
    const double depth = A.Value(TBidirValue::BalanceDepth);
    if (std::isfinite(depth) && !b.Rows.empty()) {
        double most = 0.0;
        for (const std::vector<double>& row : b.Rows)
            most = std::max({most, row[1], row[2]});
        curves.push_back({"Balance depth " + Number(depth, SI ? 2 : 0).toStdString() + " " + len,
                          {{0.0, depth}, {most, depth}}});
    }
    SetCurves(bal, curves);
}

QString BidirectionalSummary(const TBidirAnswer& A, bool SI) {
    const QString len = SI ? " m" : " ft", force = SI ? " kN" : " kips";
    QString text = "Cell at " + Number(A.Value(TBidirValue::CellDepth), 2) + len;
    if (std::isfinite(A.Value(TBidirValue::CellCapacity)))
        text += ", cell capacity " + Number(A.Value(TBidirValue::CellCapacity), 1) + force;
    text += "\nUpper part: ultimate " + Number(A.Value(TBidirValue::UpperCapacity), 1) + force +
            " with its buoyant weight of " + Number(A.Value(TBidirValue::UpperWeight), 1) + force;
    text += "\nLower part: ultimate " + Number(A.Value(TBidirValue::LowerCapacity), 1) + force;
    text += "\nFirst to reach its ultimate: the " + QString::fromStdString(A.FirstPart) +
            " part, at a cell load of " + Number(A.Value(TBidirValue::FirstUltimateLoad), 1) +
            force;
    const double balance = A.Value(TBidirValue::BalanceDepth);
    if (std::isfinite(balance))
        text += "\nBalance depth: " + Number(balance, SI ? 2 : 0) + len + " (upper " +
                Number(A.Value(TBidirValue::BalanceUpperCapacity), 1) + force + ", lower " +
                Number(A.Value(TBidirValue::BalanceLowerCapacity), 1) + force + ")";
    else
        text += "\nBalance depth: none (the two capacities do not cross along the shaft)";
    if (!A.Message.empty())
        text += "\n" + QString::fromStdString(A.Message);
    return text;
}

TBidirectionalForm::TBidirectionalForm(TSource Source, QWidget* Parent)
    : QWidget(Parent), fSource(std::move(Source)) {
    auto* layout = new QVBoxLayout(this);
    auto* fields = new QGridLayout;
    fDepth = new QLineEdit(this);
    fDepth->setObjectName("CellDepth");
    fCapacity = new QLineEdit(this);
    fCapacity->setObjectName("CellCapacity");
    fDepthUnit = new QLabel(this);
    fCapacityUnit = new QLabel(this);
    fields->addWidget(new QLabel("Cell &depth below the shaft top", this), 0, 0);
    fields->addWidget(fDepth, 0, 1);
    fields->addWidget(fDepthUnit, 0, 2);
    fields->addWidget(new QLabel("Cell &capacity (empty: no limit)", this), 1, 0);
    fields->addWidget(fCapacity, 1, 1);
    fields->addWidget(fCapacityUnit, 1, 2);
    auto* simulate = new QPushButton("&Simulate", this);
    auto* balance = new QPushButton("Cell at the &Balance Depth", this);
    fields->addWidget(simulate, 0, 3);
    fields->addWidget(balance, 1, 3);
    fields->setColumnStretch(4, 1);
    layout->addLayout(fields);
    fSummary = new QLabel(this);
    fSummary->setObjectName("Summary");
    fSummary->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(fSummary);
    auto* charts = new QHBoxLayout;
    for (std::size_t i = 0; i < fGraphs.size(); ++i) {
        fCharts[i] = new TChartView(fGraphs[i], this);
        charts->addWidget(fCharts[i], 1);
    }
    layout->addLayout(charts, 1);
    connect(simulate, &QPushButton::clicked, this, [this] { Simulate(false); });
    connect(balance, &QPushButton::clicked, this, [this] { Simulate(true); });
    LoadSetup();
}

TBidirectionalForm* TBidirectionalForm::Open(QMdiArea& Area, TSource Source) {
    TBidirectionalForm* form = nullptr;
    for (QMdiSubWindow* w : Area.subWindowList())
        if (auto* f = qobject_cast<TBidirectionalForm*>(w->widget()))
            form = f;
    QMdiSubWindow* sub = nullptr;
    if (!form) {
        form = new TBidirectionalForm(std::move(Source));
        sub = Area.addSubWindow(form);
        sub->setAttribute(Qt::WA_DeleteOnClose);
        sub->setWindowTitle(kCaption);
        sub->resize(1100, 620);
    } else {
        sub = qobject_cast<QMdiSubWindow*>(form->parentWidget());
        form->LoadSetup();
    }
    if (sub) {
        if (sub->isMinimized())
            sub->showNormal();
        sub->show();
        Area.setActiveSubWindow(sub);
    }
    return form;
}

void TBidirectionalForm::LoadSetup() {
    const TProgramData& project = fSource.Project();
    const bool si = project.fUnits == 2;
    fDepthUnit->setText(si ? "m" : "ft");
    fCapacityUnit->setText(si ? "kN" : "kips");
    if (project.FileName.empty())
        return;
    std::string error;
    const auto setup = ReadBidirSetup(project.FileName, si, &error);
    if (!error.empty())
        ShowMessage(QString::fromStdString(error), true);
    if (!setup)
        return;
    fDepth->setText(QString::number(setup->CellDepth, 'g', 10));
    fCapacity->setText(setup->CellCapacity > 0.0 ? QString::number(setup->CellCapacity, 'g', 10)
                                                 : QString());
}

void TBidirectionalForm::ShowMessage(const QString& Text, bool Error) {
    fSummary->setStyleSheet(Error ? "color: #b00000;" : "");
    fSummary->setText(Text);
}

void TBidirectionalForm::Simulate(bool AtBalance) {
    double depth = 0.0, capacity = 0.0;
    if (!ReadField(fDepth->text(), depth) || (!AtBalance && !(depth > 0.0))) {
        ShowMessage("The cell depth must be a number greater than 0.", true);
        return;
    }
    if (!ReadField(fCapacity->text(), capacity) || capacity < 0.0) {
        ShowMessage("The cell capacity must be a number not below 0, or empty for no limit.", true);
        return;
    }
    if (fSource.SaveFirst && !fSource.SaveFirst()) {
        ShowMessage("The project must be saved before the test is simulated.", true);
        return;
    }
    const TProgramData& project = fSource.Project();
    const bool si = project.fUnits == 2;
    setCursor(Qt::WaitCursor);
    fAnswer = SimulateBidirectional(fSource.Engine, project.FileName, depth, capacity, AtBalance);
    unsetCursor();
    if (fAnswer.Status != 0) {
        ShowMessage(QString::fromStdString(fAnswer.Message), true);
        for (TGraphPlot& g : fGraphs)
            g.SetLineCount(0);
    } else {
        const double used = fAnswer.Value(TBidirValue::CellDepth);
        TBidirSetup setup{AtBalance ? used : depth, capacity, si};
        if (AtBalance)
            fDepth->setText(QString::number(used, 'g', 10));
        if (!WriteBidirSetup(project.FileName, setup))
            fAnswer.Message += "The set-up could not be saved beside the project.";
        FillBidirectionalGraphs(fAnswer, si, fGraphs);
        ShowMessage(BidirectionalSummary(fAnswer, si), false);
    }
    for (QWidget* chart : fCharts)
        chart->update();
}

QString TBidirectionalForm::Summary() const {
    return fSummary->text();
}

QImage TBidirectionalForm::RenderImage(const QSize& Size) const {
    QImage image(Size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    const int w = Size.width() / 3;
    for (std::size_t i = 0; i < fGraphs.size(); ++i) {
        if (fGraphs[i].LineCount() == 0)
            continue;
        TGraphPlot& g = const_cast<TGraphPlot&>(fGraphs[i]);
        TPlotPainter plot(g);
        plot.ResetBounds();
        plot.DrawWindow.PrintLegend = true;
        plot.draw(painter, QRect(static_cast<int>(i) * w, 0, w, Size.height()));
    }
    return image;
}
