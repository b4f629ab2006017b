// TDlgAbout: the modal About box (program name, version, today's date, what the program does).
#pragma once

#include <QDialog>

class TDlgAbout : public QDialog {
    Q_OBJECT
public:
    explicit TDlgAbout(QWidget* Parent = nullptr);
};
