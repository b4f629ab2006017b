// TTextViewer: the program's own read-only viewer of a text file (the report, the run notes,
// the t-z listing, the project file, the manuals), for machines without a usable text editor:
// monospaced, with find, print and save as PDF. One viewer per file; showing a file again
// reloads it. Exports TTextViewer.
#pragma once

#include <QString>
#include <QWidget>

class QLineEdit;
class QMdiArea;
class QPlainTextEdit;
class QPushButton;
class TUserDialogs;

class TTextViewer : public QWidget {
    Q_OBJECT

public:
    TTextViewer(TUserDialogs& Dialogs, QWidget* Parent = nullptr);

    // Shows File in a child window of Mdi: the viewer already showing it, reloaded, or a new
    // one. A file that cannot be read is reported and no viewer opens; null then.
    static TTextViewer* Show(QMdiArea& Mdi, TUserDialogs& Dialogs, const QString& File);
    // The viewer of File among the children of Mdi; null when there is none.
    static TTextViewer* Find(QMdiArea& Mdi, const QString& File);

    // Reads File into the viewer; false with Error set when it cannot be read.
    bool Load(const QString& File, QString& Error);
    QString FileName() const { return fFileName; }
    QString Text() const;

    // Finds the next (or previous) occurrence of the find field's text, case-insensitive,
    // from the caret, wrapping round; false when the text does not occur.
    bool FindNext(bool Backward = false);
    // Opens the text at the first line that holds Text, from the top, with that line selected;
    // false (the caret left at the top) when no line holds it.
    bool GoTo(const QString& Text);
    void Print();
    // Saves the text as a PDF file, through a temporary file renamed into place; false with
    // Error set when the file cannot be written.
    bool SaveAsPdf(const QString& Target, QString& Error);

    QPlainTextEdit* Editor;
    QLineEdit* FindText;
    QPushButton *btnFindNext, *btnPrint, *btnPdf;

private:
    void SaveAsPdfClick();

    TUserDialogs& fDialogs;
    QString fFileName;
};
