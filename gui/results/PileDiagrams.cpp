// The "Combined Plots" dialog of the 3D view and its size-factor field.
#include "gui/results/PileDiagrams.h"

#include "gui/results/View3dScene.h"
#include "ui/model/NumberText.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>

// ---------------------------------------------------------------------------------------------
// Size factor

TSizeFactorBox::TSizeFactorBox(QWidget* Parent) : QDoubleSpinBox(Parent) {
    setLocale(QLocale::c());
    setDecimals(9);
    setRange(-1e9, 1e9);
    setKeyboardTracking(false);
    setValue(1.0);
}

void TSizeFactorBox::stepBy(int Steps) {
    double v = value();
    for (int i = 0; i < std::abs(Steps); ++i)
        v = StepSizeFactor(v, Steps > 0 ? 1 : -1);
    setValue(v);
    selectAll();
}

QString TSizeFactorBox::textFromValue(double Value) const {
    return QString::fromStdString(FormatGeneral(Value, 6));
}

double TSizeFactorBox::valueFromText(const QString& Text) const {
    double v = 0.0;
    return ParseReal(Text.trimmed().toStdString(), v) ? v : value();
}

QValidator::State TSizeFactorBox::validate(QString& Text, int&) const {
    double v = 0.0;
    if (ParseReal(Text.trimmed().toStdString(), v))
        return QValidator::Acceptable;
    return QValidator::Intermediate;
}

// ---------------------------------------------------------------------------------------------
// Dialog

TDlgPileDiagrams::TDlgPileDiagrams(TBlockOptions& Options, QWidget* Owner)
    : QDialog(Owner, Qt::Tool), fOptions(Options) {
    setWindowTitle("Combined Plots");
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);

    auto* layout = new QVBoxLayout(this);
    ShowPlots = new QCheckBox("Show Plots", this);
    layout->addWidget(ShowPlots);

    SelectPlots = new QGroupBox("Select Plots", this);
    auto* plots = new QVBoxLayout(SelectPlots);
    UltimateEffects = new QRadioButton("Ultimate Effects", SelectPlots);
    DesignEffects = new QRadioButton("ASD/LRFD Effects", SelectPlots);
    plots->addWidget(UltimateEffects);
    plots->addWidget(DesignEffects);
    layout->addWidget(SelectPlots);

    SelectResults = new QGroupBox("Select Results", this);
    auto* results = new QVBoxLayout(SelectResults);
    SkinFriction = new QCheckBox("Skin Friction", SelectResults);
    TipResistance = new QCheckBox("Tip Resistance", SelectResults);
    TotalCapacity = new QCheckBox("Total Capacity", SelectResults);
    for (QCheckBox* c : {SkinFriction, TipResistance, TotalCapacity})
        results->addWidget(c);
    layout->addWidget(SelectResults);

    OptionsBox = new QGroupBox("Options", this);
    auto* options = new QGridLayout(OptionsBox);
    ShowMaximumValues = new QCheckBox("Show Maximum Values", OptionsBox);
    options->addWidget(ShowMaximumValues, 0, 0, 1, 2);
    auto* sizeLabel = new QLabel("Size Factor", OptionsBox);
    SizeFactor = new TSizeFactorBox(OptionsBox);
    sizeLabel->setBuddy(SizeFactor);
    options->addWidget(sizeLabel, 1, 0);
    options->addWidget(SizeFactor, 1, 1);
    layout->addWidget(OptionsBox);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    CloseButton = new QPushButton("Close", this);
    buttons->addWidget(CloseButton);
    layout->addLayout(buttons);

    LoadFromOptions();
    for (QCheckBox* c : {ShowPlots, SkinFriction, TipResistance, TotalCapacity, ShowMaximumValues})
        connect(c, &QCheckBox::toggled, this, &TDlgPileDiagrams::StoreToOptions);
    connect(UltimateEffects, &QRadioButton::toggled, this, &TDlgPileDiagrams::StoreToOptions);
    connect(SizeFactor, &QDoubleSpinBox::valueChanged, this, &TDlgPileDiagrams::StoreToOptions);
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::close);

    adjustSize();
    PlaceInOwner(Owner);
}

void TDlgPileDiagrams::PlaceInOwner(QWidget* Owner) {
    if (!Owner)
        return;
    const QRect frame(Owner->mapToGlobal(QPoint(0, 0)), Owner->size());
    QPoint at = Owner->mapToGlobal(QPoint(Owner->width() * 3 / 4, Owner->height() / 2));
    // Held inside the main window.
    at.setX(std::max(frame.left(), std::min(at.x(), frame.right() - width())));
    at.setY(std::max(frame.top(), std::min(at.y(), frame.bottom() - height())));
    move(at);
}

void TDlgPileDiagrams::LoadFromOptions() {
    fLoading = true;
    const TBlockOptions& o = fOptions;
    ShowPlots->setChecked(o.ShowUltimateEffects);
    UltimateEffects->setChecked(o.ShowUltimateResults == 0);
    DesignEffects->setChecked(o.ShowUltimateResults == 1);
    SkinFriction->setChecked(o.ShowSkinFriction);
    TipResistance->setChecked(o.ShowTipResistance);
    TotalCapacity->setChecked(o.ShowTotalCapacity);
    ShowMaximumValues->setChecked(o.ShowUltimateEffectsValues);
    SizeFactor->setValue(o.UltimateEffectsFactor);
    fLoading = false;
    EnableControls();
}

void TDlgPileDiagrams::EnableControls() {
    const bool on = ShowPlots->isChecked();
    for (QWidget* w : {static_cast<QWidget*>(SelectPlots), static_cast<QWidget*>(SelectResults),
                       static_cast<QWidget*>(OptionsBox)})
        w->setEnabled(on);
}

void TDlgPileDiagrams::StoreToOptions() {
    EnableControls();
    if (fLoading)
        return;
    const double factor = ValidSizeFactor(SizeFactor->value());
    if (factor != SizeFactor->value()) {
        SizeFactor->setValue(factor); // a factor of 0 or less becomes 1; stores again
        return;
    }
    TBlockOptions& o = fOptions;
    o.ShowUltimateEffects = ShowPlots->isChecked();
    o.ShowUltimateResults = DesignEffects->isChecked() ? 1 : 0;
    o.ShowSkinFriction = SkinFriction->isChecked();
    o.ShowTipResistance = TipResistance->isChecked();
    o.ShowTotalCapacity = TotalCapacity->isChecked();
    o.ShowUltimateEffectsValues = ShowMaximumValues->isChecked();
    o.UltimateEffectsFactor = factor;
    emit OptionsChanged();
}
