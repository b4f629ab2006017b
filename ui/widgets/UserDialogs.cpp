// Message boxes and file dialogs of the desktop program.
#include "ui/widgets/UserDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

void TQtDialogs::Information(const QString& Text) {
    QMessageBox::information(fParent, QApplication::applicationName(), Text);
}

void TQtDialogs::Warning(const QString& Text) {
    QMessageBox::warning(fParent, QApplication::applicationName(), Text);
}

bool TQtDialogs::InformationWithAction(const QString& Text, const QString& Action) {
    QMessageBox box(QMessageBox::Information, QApplication::applicationName(), Text,
                    QMessageBox::Ok, fParent);
    QPushButton* action = box.addButton(Action, QMessageBox::ActionRole);
    box.setDefaultButton(QMessageBox::Ok);
    box.exec();
    return box.clickedButton() == action;
}

TUserDialogs::TAnswer TQtDialogs::Confirm(const QString& Text) {
    const auto button = QMessageBox::question(
        fParent, QApplication::applicationName(), Text,
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
    if (button == QMessageBox::Yes)
        return TAnswer::Yes;
    if (button == QMessageBox::No)
        return TAnswer::No;
    return TAnswer::Cancel;
}

QString TQtDialogs::OpenFileName(const QString& Dir, const QStringList& Filters, int& FilterIndex) {
    QFileDialog dialog(fParent);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::ReadOnly, false);
    dialog.setDirectory(Dir);
    dialog.setNameFilters(Filters);
    if (FilterIndex >= 1 && FilterIndex <= Filters.size())
        dialog.selectNameFilter(Filters.at(FilterIndex - 1));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    FilterIndex = static_cast<int>(Filters.indexOf(dialog.selectedNameFilter())) + 1;
    return dialog.selectedFiles().constFirst();
}

QString TQtDialogs::SaveFileName(const QString& Title, const QString& Dir, const QString& Proposed,
                                 const QStringList& Filters, const QString& DefaultSuffix) {
    QFileDialog dialog(fParent, Title);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDirectory(Dir);
    dialog.setNameFilters(Filters);
    dialog.setDefaultSuffix(DefaultSuffix);
    dialog.selectFile(Proposed);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}
