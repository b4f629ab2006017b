// The plot window's dialogs: graph title, curve names, active curves and picture attributes.
#include "gui/results/PlotDialogs.h"

#include "ui/widgets/DataEdit.h"
#include "ui/widgets/UserDialogs.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

// ---------------------------------------------------------------------------------------------
// Graph title

TPlotTitleDialog::TPlotTitleDialog(const QString& Caption, bool OnTop, QWidget* Parent)
    : QDialog(Parent) {
    setWindowTitle("Graph Caption");
    auto* layout = new QVBoxLayout(this);
    auto* prompt = new QLabel("Enter Graph Caption");
    edtCaption = new QLineEdit(Caption);
    edtCaption->setMinimumWidth(360);
    prompt->setBuddy(edtCaption);
    layout->addWidget(prompt);
    layout->addWidget(edtCaption);
    auto* location = new QGroupBox("Caption Location");
    auto* locationLayout = new QHBoxLayout(location);
    rbTop = new QRadioButton("Top");
    rbBottom = new QRadioButton("Bottom");
    locationLayout->addWidget(rbTop);
    locationLayout->addWidget(rbBottom);
    (OnTop ? rbTop : rbBottom)->setChecked(true);
    layout->addWidget(location);
    auto* buttons = new QDialogButtonBox;
    buttons->addButton("&OK", QDialogButtonBox::AcceptRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
}

QString TPlotTitleDialog::Caption() const {
    return edtCaption->text();
}

bool TPlotTitleDialog::OnTop() const {
    return rbTop->isChecked();
}

// ---------------------------------------------------------------------------------------------
// Curve names

TPlotLegendDialog::TPlotLegendDialog(const QStringList& Names, TUserDialogs& Dialogs,
                                     QWidget* Parent)
    : QDialog(Parent), fDialogs(Dialogs) {
    setWindowTitle("Legend");
    setMinimumSize(195, 167);
    auto* layout = new QVBoxLayout(this);
    auto* listLabel = new QLabel("Select line to modify:");
    lstNames = new QListWidget;
    lstNames->addItems(Names);
    listLabel->setBuddy(lstNames);
    auto* editLabel = new QLabel("Type new legend below:");
    edtName = new QLineEdit;
    editLabel->setBuddy(edtName);
    layout->addWidget(listLabel);
    layout->addWidget(lstNames, 1);
    layout->addWidget(editLabel);
    layout->addWidget(edtName);
    auto* buttons = new QDialogButtonBox;
    buttons->addButton("&OK", QDialogButtonBox::AcceptRole);
    buttons->addButton("&Cancel", QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (StoreEdit())
            accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    connect(lstNames, &QListWidget::currentRowChanged, this, [this](int) { LoadEdit(); });
    connect(lstNames, &QListWidget::itemDoubleClicked, this, [this] { LoadEdit(); });
    edtName->installEventFilter(this);
    if (lstNames->count() > 0)
        lstNames->setCurrentRow(0);
}

QStringList TPlotLegendDialog::Names() const {
    QStringList names;
    for (int i = 0; i < lstNames->count(); ++i)
        names << lstNames->item(i)->text();
    return names;
}

void TPlotLegendDialog::LoadEdit() {
    fEditRow = lstNames->currentRow();
    if (fEditRow < 0)
        return;
    edtName->setText(lstNames->item(fEditRow)->text());
    QPalette palette = edtName->palette();
    const TRgb c = CurveColour(fEditRow);
    palette.setColor(QPalette::Text, QColor(c.R, c.G, c.B));
    edtName->setPalette(palette);
}

bool TPlotLegendDialog::StoreEdit() {
    if (fEditRow < 0 || fEditRow >= lstNames->count())
        return true;
    QListWidgetItem* item = lstNames->item(fEditRow);
    if (edtName->text().isEmpty()) {
        fDialogs.Information("The line must have a name!");
        edtName->setText(item->text());
        return false;
    }
    item->setText(edtName->text());
    return true;
}

bool TPlotLegendDialog::eventFilter(QObject* Watched, QEvent* Event) {
    if (Watched == edtName) {
        if (Event->type() == QEvent::FocusOut) {
            StoreEdit();
        } else if (Event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(Event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                StoreEdit();
                return true; // Enter stores the name; it does not close the dialog
            }
        }
    }
    return QDialog::eventFilter(Watched, Event);
}

// ---------------------------------------------------------------------------------------------
// Active curves

TPlotActiveDialog::TPlotActiveDialog(const QStringList& Names, const std::vector<bool>& Active,
                                     QWidget* Parent)
    : QDialog(Parent), fNames(Names), fActive(Active) {
    fActive.resize(static_cast<std::size_t>(Names.size()), true);
    setWindowTitle("Active Curves");
    setMinimumSize(190, 234);
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel("Select Curve to Active/Desactive");
    lstCurves = new QListWidget;
    lstCurves->setSelectionMode(QAbstractItemView::ExtendedSelection);
    label->setBuddy(lstCurves);
    for (qsizetype i = 0; i < Names.size(); ++i)
        lstCurves->addItem(RowText(fActive[static_cast<std::size_t>(i)], Names[i]));
    layout->addWidget(label);
    layout->addWidget(lstCurves, 1);
    auto* toggle = new QPushButton("Activate/Deactivate Selected");
    auto* all = new QPushButton("Activate All");
    auto* none = new QPushButton("Deactivate All");
    layout->addWidget(toggle);
    auto* row = new QHBoxLayout;
    row->addWidget(all);
    row->addWidget(none);
    layout->addLayout(row);
    auto* buttons = new QDialogButtonBox;
    buttons->addButton("&OK", QDialogButtonBox::AcceptRole);
    buttons->addButton("&Cancel", QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    connect(lstCurves, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* Item) { ToggleRow(lstCurves->row(Item)); });
    connect(toggle, &QPushButton::clicked, this, &TPlotActiveDialog::ToggleSelected);
    connect(all, &QPushButton::clicked, this, [this] { SetAll(true); });
    connect(none, &QPushButton::clicked, this, [this] { SetAll(false); });
}

QString TPlotActiveDialog::RowText(bool Active, const QString& Name) {
    return QString(Active ? " yes : " : " no  : ") + "   " + Name;
}

void TPlotActiveDialog::Refresh(int Row) {
    lstCurves->item(Row)->setText(RowText(fActive[static_cast<std::size_t>(Row)], fNames[Row]));
}

void TPlotActiveDialog::ToggleRow(int Row) {
    if (Row < 0 || Row >= static_cast<int>(fActive.size()))
        return;
    fActive[static_cast<std::size_t>(Row)] = !fActive[static_cast<std::size_t>(Row)];
    Refresh(Row);
}

void TPlotActiveDialog::ToggleSelected() {
    for (int i = 0; i < lstCurves->count(); ++i)
        if (lstCurves->item(i)->isSelected())
            ToggleRow(i);
}

void TPlotActiveDialog::SetAll(bool Value) {
    for (int i = 0; i < static_cast<int>(fActive.size()); ++i) {
        fActive[static_cast<std::size_t>(i)] = Value;
        Refresh(i);
    }
}

// ---------------------------------------------------------------------------------------------
// Picture attributes

TSaveAttributesDialog::TSaveAttributesDialog(TUserDialogs& Dialogs, QWidget* Parent)
    : QDialog(Parent) {
    setWindowTitle("Save Attributes");
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    auto field = [&](const QString& Caption, double Value, double Min, bool Integer) {
        auto* edit = new TDataEdit(Dialogs);
        edit->SetIntegerOnly(Integer);
        edit->SetMinVal(Min);
        edit->SetNumber(Value);
        auto* label = new QLabel;
        edit->SetCaption(Caption);
        edit->SetEditLabel(label);
        form->addRow(label, edit);
        return edit;
    };
    edtHeight = field("&Height (in)", 4.0, 2.0, false);
    edtWidth = field("&Width (in)", 6.0, 2.0, false);
    edtPpi = field("&Pixels Per Inch", 150.0, 10.0, true);
    layout->addLayout(form);

    auto* colours = new QGroupBox("Colors");
    auto* coloursLayout = new QVBoxLayout(colours);
    grpColours = new QButtonGroup(this);
    const std::pair<const char*, TPictureColours> choices[] = {
        {"Black and White", TPictureColours::BlackWhite},
        {"256 Colors", TPictureColours::Colours256},
        {"High Color (16 bit)", TPictureColours::HighColour16},
        {"True Color (24 bit)", TPictureColours::TrueColour24},
        {"16 Colors", TPictureColours::Colours16}};
    for (const auto& [text, value] : choices) {
        auto* button = new QRadioButton(text);
        grpColours->addButton(button, static_cast<int>(value));
        coloursLayout->addWidget(button);
        button->setChecked(value == TPictureColours::TrueColour24);
    }
    layout->addWidget(colours);

    auto* buttons = new QDialogButtonBox;
    buttons->addButton("&OK", QDialogButtonBox::AcceptRole);
    buttons->addButton("&Cancel", QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &TSaveAttributesDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

void TSaveAttributesDialog::accept() {
    for (TDataEdit* edit : {edtHeight, edtWidth, edtPpi})
        if (!edit->CloseQuery())
            return;
    QDialog::accept();
}

TPictureSize TSaveAttributesDialog::Size() const {
    TPictureSize size;
    try {
        size.HeightIn = edtHeight->Number();
        size.WidthIn = edtWidth->Number();
        size.Ppi = static_cast<int>(edtPpi->Number());
    } catch (...) {
        // The fields were checked on OK; a text changed since keeps the defaults.
    }
    return size;
}

TPictureColours TSaveAttributesDialog::Colours() const {
    return static_cast<TPictureColours>(grpColours->checkedId());
}
