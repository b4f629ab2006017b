// The About box.
#include "gui/dialogs/About.h"

#include "gui/data/FileCommands.h"

#include <QDate>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLocale>
#include <QVBoxLayout>

TDlgAbout::TDlgAbout(QWidget* Parent) : QDialog(Parent) {
    setWindowTitle("About Kolmar");
    setModal(true);

    auto* layout = new QVBoxLayout(this);
    auto* name = new QLabel("Kolmar 2017", this);
    name->setObjectName("ProductName");
    QFont big = name->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    name->setFont(big);
    layout->addWidget(name);

    auto* version = new QLabel("Version " + QString::fromStdString(GetVersion()), this);
    version->setObjectName("Version");
    layout->addWidget(version);

    auto* date =
        new QLabel(QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat), this);
    date->setObjectName("Date");
    layout->addWidget(date);

    auto* comments = new QLabel("A program for analyzing the axial capacity and short-term "
                                "settlement of drilled shafts under axial loading.",
                                this);
    comments->setObjectName("Comments");
    comments->setWordWrap(true);
    comments->setMinimumWidth(320);
    layout->addWidget(comments);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
}
