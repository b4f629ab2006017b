// The layer dialog: the parameters of one soil layer at its top and bottom.
#include "gui/dialogs/soils.h"

#include "gui/data/DataUnit.h"
#include "gui/data/ValueLimits.h"
#include "gui/dialogs/DataWindow.h"
#include "ui/widgets/DataEdit.h"
#include "ui/widgets/UserDialogs.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <cstring>

namespace {

const char* TitleLine(int SoilType) {
    switch (SoilType) {
    case kolmar::kSand:
        return "Sand (FHWA Spec.)";
    case kolmar::kClay:
        return "Clay (FHWA Spec.)";
    case kolmar::kClayShale:
        return "Shale (Reese and Aurora)";
    case kolmar::kStrongRockSideOrBase:
        return "Strong Rock (FHWA Spec. - use either side friction or end bearing)";
    case kolmar::kStrongRockSideAndBase:
        return "Strong Rock (FHWA Spec. - side friction plus end bearing)";
    case kolmar::kDecomposedRock:
        return "Decomposed Rock/Gravel (FHWA Spec.)";
    case kolmar::kWeakRock:
        return "Weak Rock (FHWA Spec.)";
    case kolmar::kGravellySand:
        return "Gravelly Sand (Rollins et al)";
    default:
        return "Gravel (Rollins et al)";
    }
}

QLabel* Note(QVBoxLayout* Box, const char* Text) {
    auto* label = new QLabel(QString::fromLatin1(Text));
    label->setWordWrap(true);
    Box->addWidget(label);
    return label;
}

// The physical limits of a layer parameter: 0 or more, where 0 keeps its meaning (absent, or
// estimated by the program); a unit weight above 0; friction and interface angles up to 50
// degrees; RQD up to 100 %; blow counts above 100 only with a warning.
void LimitParameter(TDataEdit* Field, const TParamColumn& Column, bool Bottom) {
    using F = kolmar::LayerField;
    Field->SetFieldName(QString::fromLatin1(Column.Name).left(1).toUpper() +
                        QString::fromLatin1(Column.Name).mid(1) +
                        (Bottom ? QStringLiteral(" at the bottom of the layer")
                                : QStringLiteral(" at the top of the layer")));
    Field->SetMinVal(0);
    Field->SetMinExclusive(Column.Field == F::GAMMA);
    if (Column.Field == F::PHI || Column.Field == F::DELTA) {
        Field->SetMaxVal(MaxFrictionAngle);
    } else if (Column.Field == F::RQD) {
        Field->SetMaxVal(100);
    } else if (Column.Field == F::BLOWS) {
        Field->SetWarnAbove(BlowCountWarning,
                            QStringLiteral("A blow count above 100 is refusal rather than a "
                                           "measured value; the correlations were not made for "
                                           "it. The value is kept."));
    }
}

} // namespace

TDlgSoils::TPageIndex TDlgSoils::PageOf(int SoilType) {
    switch (SoilType) {
    case kolmar::kSand:
        return pgSand;
    case kolmar::kClay:
    case kolmar::kClayShale:
        return pgClay;
    case kolmar::kStrongRockSideOrBase:
    case kolmar::kStrongRockSideAndBase:
        return pgRock;
    case kolmar::kDecomposedRock:
        return pgDecomposed;
    case kolmar::kWeakRock:
        return pgWeakRock;
    default:
        return pgGravel;
    }
}

TDlgSoils::TPage& TDlgSoils::BuildPage(TPageIndex Index, const char* Name,
                                       const std::vector<std::pair<const char*, int>>& Fields,
                                       int Kind, int FirstRow) {
    TPage& page = fPages[Index];
    page.Widget = new QWidget;
    page.Box = new QVBoxLayout(page.Widget);
    page.Grid = new QGridLayout;
    page.Box->addLayout(page.Grid);
    page.Grid->addWidget(new QLabel(QStringLiteral("Values at\nTop of Layer")), 0, 1, 2, 1);
    page.Grid->addWidget(new QLabel(QStringLiteral("Values at\nBottom of Layer")), 0, 2, 2, 1);
    const TParamKind& kind = ParamKindForSoil(Kind);
    int row = FirstRow;
    for (const auto& [caption, column] : Fields) {
        // Percentages carry their unit in the caption already.
        const char* units = kind.Columns[static_cast<std::size_t>(column)].UnitsString;
        auto* label = new QLabel;
        auto* top = new TDataEdit(fDialogs);
        auto* bottom = new TDataEdit(fDialogs);
        top->SetCaption(QString::fromLatin1(caption));
        top->SetUnitsString(std::strcmp(units, "%") == 0 ? QString() : QString::fromLatin1(units));
        top->SetEditLabel(label);
        page.Grid->addWidget(label, row, 0);
        page.Grid->addWidget(top, row, 1);
        page.Grid->addWidget(bottom, row, 2);
        const TParamColumn& info = kind.Columns[static_cast<std::size_t>(column)];
        LimitParameter(top, info, false);
        LimitParameter(bottom, info, true);
        page.Fields.push_back({column, top, bottom});
        ++row;
    }
    pages->addTab(page.Widget, QString::fromLatin1(Name));
    return page;
}

TDlgSoils::TDlgSoils(TProgramData& Project, TUserDialogs& Dialogs, int Layer, QWidget* Parent)
    : QDialog(Parent), fProject(Project), fDialogs(Dialogs), fLayer(Layer) {
    auto* layout = new QVBoxLayout(this);
    lblTitle = new QLabel;
    QFont titleFont = lblTitle->font();
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);
    layout->addWidget(lblTitle);
    pages = new QTabWidget;
    layout->addWidget(pages);

    BuildSandPage();
    BuildClayPage();
    BuildRockPage();
    BuildDecomposedPage();
    BuildWeakRockPage();
    BuildGravelPage();
    for (TPage& page : fPages) {
        page.Box->addStretch();
    }
    layout->addLayout(BuildButtons());
    LoadFromProject();
}

void TDlgSoils::BuildSandPage() {
    using namespace SandCol;
    TPage& sand = BuildPage(pgSand, "Sand",
                            {{"1. Total Unit Weight", UnitWeight},
                             {"2. Coefficient of Lateral Earth Pressure, Ko", Ko},
                             {"3. Beta Value (*)", Beta},
                             {"4. Preconsolidation Stress Exponent (**) (m)", M},
                             {"5. Blow Counts from SPT", BlowCounts},
                             {"6. Friction Angle (***)", FrictionAngle},
                             {"7. Interface Angle (****)", InterfaceAngle}},
                            kolmar::kSand);
    // The interface angle is kept in the set but not offered for editing.
    const TFieldPair& angle = sand.Fields.back();
    angle.Top->EditLabel()->hide();
    angle.Top->hide();
    angle.Bottom->hide();

    auto* procedure = new QGroupBox(QStringLiteral("Side Friction Procedure"));
    auto* procedureLayout = new QVBoxLayout(procedure);
    rbKoMethod = new QRadioButton(QStringLiteral("Ko Method"));
    rbBetaMethod = new QRadioButton(QStringLiteral("Beta Method"));
    rbChenMethod = new QRadioButton(QStringLiteral("Chen and Kulhawy (2002) Method"));
    auto* group = new QButtonGroup(procedure);
    for (QRadioButton* rb : {rbKoMethod, rbBetaMethod, rbChenMethod}) {
        group->addButton(rb);
        procedureLayout->addWidget(rb);
        connect(rb, &QRadioButton::clicked, this, &TDlgSoils::SandProcedureClick);
    }
    rbKoMethod->setChecked(true);
    sand.Box->addWidget(procedure);
    fNoteBetaEstimate =
        Note(sand.Box, "(*)  Program will estimate the value internally if it is left as zero ");
    fNoteM = Note(sand.Box, "(**)  Recommended values for m: 0.6 for clean quartzitic sands "
                            "and 0.8 for silty sands to sandy silts.");
    fNoteFrictionIgnored =
        Note(sand.Box,
             "(***)  Program will ignore friction angle value if blow counts value is defined");
    fNoteFrictionEstimate = Note(sand.Box, "(***)  Program will estimate friction angle based "
                                           "on blow counts if it is left as zero.");
}

void TDlgSoils::BuildClayPage() {
    using namespace ClayCol;
    TPage& clay = BuildPage(pgClay, "Clay",
                            {{"1. Total Unit Weight", UnitWeight},
                             {"2. Cohesion", Cohesion},
                             {"3. Blow Counts from SPT (*)", BlowCounts},
                             {"4. Alpha Factor (**)", Alpha},
                             {"5. Bearing Capacity Coefficient, Nc (**)", Nc}},
                            kolmar::kClay);
    Note(clay.Box, "(**)  Program will generate internally the value if it is left as zero ");
    Note(clay.Box, "(*)  Program will ignore blow count value if cohesion is defined ");
}

void TDlgSoils::BuildRockPage() {
    using namespace StrongRockCol;
    BuildPage(pgRock, "Rock",
              {{"1. Rock Compressive Strength", Qu},
               {"2. Concrete Compressive Strength", ConcreteFc},
               {"3. Discontinuity Spacing", Spacing},
               {"4. Discontinuity Thickness", Thickness},
               {"5. Socket Diameter", SocketDiameter},
               {"6. Elastic Modulus", Modulus},
               {"7. RQD, %", RQD}},
              kolmar::kStrongRockSideOrBase);
}

void TDlgSoils::BuildDecomposedPage() {
    using namespace DecomposedCol;
    BuildPage(pgDecomposed, "Decomp. Rock",
              {{"1. Total Unit Weight", UnitWeight},
               {"2. Blow Counts from SPT", BlowCounts},
               {"3. Poisson Ratio", Poisson},
               {"5. Socket Diameter", SocketDiameter},
               {"6. Young Modulus (optional)", Modulus}},
              kolmar::kDecomposedRock);
}

// The interface condition index is a choice in a row of its own above the numeric fields.
void TDlgSoils::BuildWeakRockPage() {
    using namespace WeakRockCol;
    TPage& weak = BuildPage(pgWeakRock, "Weak Rock",
                            {{"2. Rock Compressive Strength", Qu},
                             {"3. Concrete Slump", Slump},
                             {"4. Interface Friction Angle", InterfaceAngle},
                             {"5. Socket Diameter", SocketDiameter},
                             {"6. Elastic Modulus of Rock Core", Modulus},
                             {"7. RQD, %", RQD}},
                            kolmar::kWeakRock, 3);
    auto* conditionLabel = new QLabel(QStringLiteral("1. Interface Condition Index (*)"));
    cbConditionTop = new QComboBox;
    cbConditionBottom = new QComboBox;
    for (QComboBox* cb : {cbConditionTop, cbConditionBottom}) {
        cb->addItems(
            {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4")});
    }
    conditionLabel->setBuddy(cbConditionTop);
    weak.Grid->addWidget(conditionLabel, 2, 0);
    weak.Grid->addWidget(cbConditionTop, 2, 1);
    weak.Grid->addWidget(cbConditionBottom, 2, 2);
    Note(weak.Box, "(*) Interface Condition Index");
    Note(weak.Box, "1 - Rough Surface w/closed joints");
    Note(weak.Box, "2- Smooth Surface w/closed joints");
    Note(weak.Box, "3 - Rough Surface w/open joints");
    Note(weak.Box, "4- Smooth Surface w/open joints");
}

void TDlgSoils::BuildGravelPage() {
    using namespace GravelCol;
    BuildPage(pgGravel, "Gravel",
              {{"1. Total Unit Weight", UnitWeight},
               {"2. Blow Counts from SPT", BlowCounts},
               {"3. Beta Value", Beta}},
              kolmar::kGravellySand);
}

// Copy, OK and Cancel. Enter stays with the numeric fields: no button is the default.
QHBoxLayout* TDlgSoils::BuildButtons() {
    auto* buttons = new QHBoxLayout;
    btnCopy = new QPushButton(QStringLiteral("Copy Values From Top To Bottom"));
    btnOK = new QPushButton(QStringLiteral("OK"));
    btnCancel = new QPushButton(QStringLiteral("Cancel"));
    for (QPushButton* b : {btnCopy, btnOK, btnCancel}) {
        b->setAutoDefault(false);
    }
    buttons->addWidget(btnCopy);
    buttons->addStretch();
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    connect(btnCopy, &QPushButton::clicked, this, &TDlgSoils::btnCopyClick);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    return buttons;
}

const TDlgSoils::TPage& TDlgSoils::CurrentPage() const {
    return fPages[PageOf(fProject.D[fLayer].SoilType())];
}

TDataEdit* TDlgSoils::Field(int Column, bool Bottom) const {
    for (const TFieldPair& pair : CurrentPage().Fields) {
        if (pair.Column == Column) {
            return Bottom ? pair.Bottom : pair.Top;
        }
    }
    return nullptr;
}

QString TDlgSoils::PageTitle() const {
    return lblTitle->text();
}

void TDlgSoils::LoadFromProject() {
    const TSoilLayer& layer = fProject.D[fLayer];
    const TParameterSet& set = layer.Params;
    const TPageIndex index = PageOf(layer.SoilType());
    for (int p = 0; p < PageCount; ++p) {
        pages->setTabVisible(p, p == index);
    }
    pages->setCurrentIndex(index);
    lblTitle->setText(QString::fromLatin1(TitleLine(layer.SoilType())));
    setWindowTitle(QStringLiteral("Data for Layer %1").arg(fLayer + 1));
    ::PrepareFields(this, fProject.fUnits);

    for (const TFieldPair& pair : fPages[index].Fields) {
        const bool isInteger = set.Kind().Columns[static_cast<std::size_t>(pair.Column)].IsInteger;
        for (int row = 0; row < TParameterSet::RowCount; ++row) {
            TDataEdit* field = row == 0 ? pair.Top : pair.Bottom;
            field->SetNumber(isInteger ? set.IntValue(row, pair.Column)
                                       : set.Value(row, pair.Column));
        }
    }
    if (index == pgWeakRock) {
        // A condition outside 1..4 leaves the list without a choice.
        cbConditionTop->setCurrentIndex(
            std::clamp(set.IntValue(0, WeakRockCol::Condition) - 1, -1, 3));
        cbConditionBottom->setCurrentIndex(
            std::clamp(set.IntValue(1, WeakRockCol::Condition) - 1, -1, 3));
    }
    if (index == pgSand) {
        const int method = set.IntValue(1, SandCol::Method);
        (method == 2 ? rbBetaMethod : method == 3 ? rbChenMethod : rbKoMethod)->setChecked(true);
        SandProcedureClick();
    }
}

void TDlgSoils::SandProcedureClick() {
    const bool ko = rbKoMethod->isChecked();
    const bool beta = rbBetaMethod->isChecked();
    const bool chen = rbChenMethod->isChecked();
    for (const TFieldPair& pair : fPages[pgSand].Fields) {
        bool enabled = true;
        switch (pair.Column) {
        case SandCol::Ko:
            enabled = ko;
            break;
        case SandCol::Beta:
            enabled = beta;
            break;
        case SandCol::M:
            enabled = chen;
            break;
        case SandCol::InterfaceAngle:
            enabled = ko || chen;
            break;
        default:
            break;
        }
        pair.Top->setEnabled(enabled);
        pair.Bottom->setEnabled(enabled);
    }
    fNoteBetaEstimate->setVisible(beta);
    fNoteFrictionIgnored->setVisible(beta);
    fNoteM->setVisible(chen);
    fNoteFrictionEstimate->setVisible(ko || chen);
}

void TDlgSoils::btnCopyClick() {
    for (const TFieldPair& pair : CurrentPage().Fields) {
        pair.Bottom->setText(pair.Top->text());
    }
    if (PageOf(fProject.D[fLayer].SoilType()) == pgWeakRock) {
        cbConditionBottom->setCurrentIndex(cbConditionTop->currentIndex());
    }
}

bool TDlgSoils::KoCheck() {
    if (PageOf(fProject.D[fLayer].SoilType()) != pgSand || !rbKoMethod->isChecked()) {
        return true;
    }
    if (Field(SandCol::Ko, false)->Number() == 0 && Field(SandCol::Ko, true)->Number() == 0) {
        fDialogs.Information(
            QStringLiteral("Coefficient of Lateral Earth Pressure, Ko,\nshould be "
                           "greater than zero while using Ko Method\nPlease Check!"));
        return false;
    }
    return true;
}

bool TDlgSoils::StoreToProject() {
    if (!CheckFields(this)) {
        return false;
    }
    TSoilLayer& layer = fProject.D[fLayer];
    TParameterSet set = layer.Params;
    const TPageIndex index = PageOf(layer.SoilType());
    if (index == pgSand) {
        // The procedure decides which coefficients the engine reads; the others are cleared.
        using namespace SandCol;
        int method = 1;
        std::vector<int> cleared;
        if (rbKoMethod->isChecked()) {
            cleared = {Beta, M};
        } else if (rbBetaMethod->isChecked()) {
            method = 2;
            cleared = {Ko, InterfaceAngle, M};
        } else {
            method = 3;
            cleared = {Beta, Ko};
        }
        for (int col : cleared) {
            Field(col, false)->SetNumber(0);
            Field(col, true)->SetNumber(0);
        }
        set.SetValue(0, Method, method);
        set.SetValue(1, Method, method);
    }
    for (const TFieldPair& pair : fPages[index].Fields) {
        set.SetValue(0, pair.Column, pair.Top->Number());
        set.SetValue(1, pair.Column, pair.Bottom->Number());
    }
    if (index == pgWeakRock) {
        set.SetValue(0, WeakRockCol::Condition, cbConditionTop->currentIndex() + 1);
        set.SetValue(1, WeakRockCol::Condition, cbConditionBottom->currentIndex() + 1);
    }
    bool changed = false;
    for (int row = 0; row < TParameterSet::RowCount; ++row) {
        for (int col = 0; col < set.ColumnCount(); ++col) {
            changed = changed || set.Value(row, col) != layer.Params.Value(row, col);
        }
    }
    if (changed) {
        layer.Params = set;
        fProject.DataChanged = true;
        if (OnChanged) {
            OnChanged();
        }
    }
    return true;
}

void TDlgSoils::done(int Result) {
    if (Result == QDialog::Accepted && (!CheckFields(this) || !KoCheck() || !StoreToProject())) {
        return;
    }
    QDialog::done(Result);
}
