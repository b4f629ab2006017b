// The design charts window.
#include "gui/dialogs/designchart.h"

#include "gui/data/DataUnit.h"
#include "ui/model/Evaluator.h"
#include "ui/model/NumberText.h"
#include "ui/model/UnitLabel.h"
#include "ui/widgets/DataEdit.h"
#include "ui/widgets/UserDialogs.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>

namespace {

constexpr int kDefaultPoints = 5;

QTableWidgetItem* ReadOnlyItem(const QString& Text) {
    auto* item = new QTableWidgetItem(Text);
    item->setFlags(item->flags() & ~Qt::ItemIsEditable);
    return item;
}

} // namespace

TfrmDesignCharts::TfrmDesignCharts(TProgramData& Project, TUserDialogs& Dialogs, QWidget* Parent)
    : TDataWindow(Project, Dialogs, Parent) {
    setWindowTitle(QStringLiteral("ASD/LRFD Design Charts"));
    auto* layout = new QVBoxLayout(this);
    chkIChart = new QCheckBox(QStringLiteral("Compute ASD/LRFD Design Charts"));
    layout->addWidget(chkIChart);

    fLengths = new QGroupBox(QStringLiteral("Shaft Length/Diameter Variation"));
    layout->addWidget(fLengths);
    auto* grid = new QGridLayout(fLengths);
    const auto note = [&](const char* Text, int Row) {
        grid->addWidget(new QLabel(QString::fromLatin1(Text)), Row, 2);
    };
    edtPD = AddDataField(fDialogs, grid, 0, 0, QStringLiteral("Maximum shaft &length "),
                         QStringLiteral("L2"));
    note("* Should be at least 6 diameters ", 0);
    note("   plus any exclusion zone defined.", 1);
    edtPDMIN = AddDataField(fDialogs, grid, 2, 0, QStringLiteral("Minimum &shaft length "),
                            QStringLiteral("L2"));
    note("- default: 30% maximum shaft length", 2);
    edtPDINCR = AddDataField(fDialogs, grid, 3, 0, QStringLiteral("Shaft length increment"),
                             QStringLiteral("L2"));
    note("- default: 3 ft or 1 m", 3);
    LimitField(edtPD, "PD", 0);
    LimitField(edtPDMIN, "PDMIN", 0);
    LimitField(edtPDINCR, "PDINCR", 0);
    note("* A maximum of 20 increments", 4);
    note("  will be considered.", 5);
    edtDIAMINCR = AddDataField(fDialogs, grid, 6, 0, QStringLiteral("Shaft diameter increment"),
                               QStringLiteral("L2"));
    note("- default: 0.5 ft or .15 m", 6);
    LimitField(edtDIAMINCR, "DIAMINCR", 0);

    fSettlements = new QGroupBox(QStringLiteral("Defined Settlements"));
    layout->addWidget(fSettlements);
    auto* sgrid = new QGridLayout(fSettlements);
    edtNPOINTPD =
        AddDataField(fDialogs, sgrid, 0, 0, QStringLiteral("Number of Points"), QString());
    edtNPOINTPD->SetIntegerOnly(true);
    edtNPOINTPD->SetMaxVal(MaxPDSETT);
    edtNPOINTPD->SetMinVal(1);
    auto* arrows = new QHBoxLayout;
    btnUp = new QToolButton;
    btnUp->setArrowType(Qt::UpArrow);
    btnDown = new QToolButton;
    btnDown->setArrowType(Qt::DownArrow);
    arrows->addWidget(btnUp);
    arrows->addWidget(btnDown);
    arrows->addStretch();
    sgrid->addLayout(arrows, 0, 2);
    tblSettlements = new QTableWidget(MaxPDSETT, 2);
    // An edited settlement is news again: its next refusal is reported.
    connect(tblSettlements, &QTableWidget::itemChanged, this, [this] {
        fReportedSettlement.clear();
        fSettlementQuiet = false;
    });
    tblSettlements->verticalHeader()->hide();
    tblSettlements->horizontalHeader()->setStretchLastSection(true);
    sgrid->addWidget(tblSettlements, 1, 0, 1, 3);

    connect(chkIChart, &QCheckBox::toggled, this, &TfrmDesignCharts::chkIChartToggled);
    connect(edtNPOINTPD, &QLineEdit::textChanged, this, &TfrmDesignCharts::edtNPOINTPDChanged);
    connect(btnUp, &QToolButton::clicked, this, &TfrmDesignCharts::btnUpClick);
    connect(btnDown, &QToolButton::clicked, this, &TfrmDesignCharts::btnDownClick);
    chkIChartToggled(false);
}

void TfrmDesignCharts::chkIChartToggled(bool Checked) {
    fLengths->setEnabled(Checked);
    fSettlements->setEnabled(Checked);
}

void TfrmDesignCharts::SetRowCount(int Rows) {
    // Rows beyond the count are hidden, not dropped: counting up again shows them as they were.
    fRows = Rows;
    for (int r = 0; r < MaxPDSETT; ++r) {
        tblSettlements->setRowHidden(r, r >= Rows);
    }
}

void TfrmDesignCharts::edtNPOINTPDChanged() {
    double typed = 0;
    std::string ignored;
    if (!TryEvaluateExpression(edtNPOINTPD->text().toStdString(), typed, ignored)) {
        return;
    }
    const double rows = std::round(typed);
    if (rows >= 1 && rows <= MaxPDSETT) {
        SetRowCount(static_cast<int>(rows));
    }
}

void TfrmDesignCharts::btnUpClick() {
    if (fRows < MaxPDSETT) {
        edtNPOINTPD->SetNumber(fRows + 1);
    }
}

void TfrmDesignCharts::btnDownClick() {
    if (fRows > 1) {
        edtNPOINTPD->SetNumber(fRows - 1);
    }
}

void TfrmDesignCharts::LoadFromProject() {
    PrepareFields();
    LimitDepth(edtPD, fProject.fUnits);
    LimitDepth(edtPDMIN, fProject.fUnits);
    tblSettlements->setHorizontalHeaderLabels(
        {QStringLiteral("N"),
         QString::fromStdString(UnitLabelText("Settlement", "L", fProject.fUnits))});
    for (int r = 0; r < MaxPDSETT; ++r) {
        tblSettlements->setItem(r, 0, ReadOnlyItem(QString::number(r + 1)));
        tblSettlements->setItem(r, 1, new QTableWidgetItem(QStringLiteral("1")));
    }
    chkIChart->setChecked(fProject.IChart == 1);
    chkIChartToggled(chkIChart->isChecked());
    edtPD->SetNumber(fProject.PD);
    edtPDMIN->SetNumber(fProject.PDMIN);
    edtPDINCR->SetNumber(fProject.PDINCR);
    edtDIAMINCR->SetNumber(fProject.DIAMINCR);
    // A project without charts may carry no count; it starts from the usual five points.
    const int points = fProject.NPOINTPD >= 1 && fProject.NPOINTPD <= MaxPDSETT ? fProject.NPOINTPD
                                                                                : kDefaultPoints;
    edtNPOINTPD->SetNumber(points);
    SetRowCount(points);
    for (int r = 0; r < points; ++r) {
        tblSettlements->item(r, 1)->setText(
            QString::fromStdString(FormatGeneral(fProject.PDSETT[static_cast<std::size_t>(r)])));
    }
}

QString TfrmDesignCharts::QuietRefusal() const {
    if (fSettlementQuiet) {
        return fReportedSettlement;
    }
    return TDataWindow::QuietRefusal();
}

bool TfrmDesignCharts::StoreToProject() {
    if (!CheckFields(this)) {
        return false;
    }
    const int points = static_cast<int>(std::round(edtNPOINTPD->Number()));
    std::array<double, MaxPDSETT> settlements = fProject.PDSETT;
    for (int r = 0; r < points; ++r) {
        const QString text = tblSettlements->item(r, 1)->text().trimmed();
        if (!ParseReal(text.toStdString(), settlements[static_cast<std::size_t>(r)])) {
            const QString message =
                QStringLiteral("The settlement in row %1 of \"Defined Settlements\" is not a "
                               "number: \"%2\".\nPlease enter a number.")
                    .arg(r + 1)
                    .arg(text);
            fSettlementQuiet = message == fReportedSettlement;
            if (!fSettlementQuiet) {
                fDialogs.Information(message);
                fReportedSettlement = message;
            }
            tblSettlements->setCurrentCell(r, 1);
            tblSettlements->setFocus();
            return false;
        }
    }
    fReportedSettlement.clear();
    fSettlementQuiet = false;
    Put(fProject.IChart, chkIChart->isChecked() ? 1 : 0);
    Put(fProject.PD, edtPD->Number());
    Put(fProject.PDMIN, edtPDMIN->Number());
    Put(fProject.PDINCR, edtPDINCR->Number());
    Put(fProject.DIAMINCR, edtDIAMINCR->Number());
    Put(fProject.NPOINTPD, points);
    Put(fProject.PDSETT, settlements);
    return true;
}
