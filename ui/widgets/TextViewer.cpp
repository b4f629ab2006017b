// The built-in text viewer.
#include "ui/widgets/TextViewer.h"

#include "ui/widgets/UserDialogs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QShortcut>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QVBoxLayout>

#include <filesystem>
#include <system_error>

TTextViewer::TTextViewer(TUserDialogs& Dialogs, QWidget* Parent)
    : QWidget(Parent), fDialogs(Dialogs) {
    auto* layout = new QVBoxLayout(this);
    auto* bar = new QHBoxLayout;
    auto* findLabel = new QLabel(QStringLiteral("&Find:"));
    FindText = new QLineEdit;
    findLabel->setBuddy(FindText);
    btnFindNext = new QPushButton(QStringLiteral("Find &Next"));
    btnPrint = new QPushButton(QStringLiteral("&Print..."));
    btnPdf = new QPushButton(QStringLiteral("Save as P&DF..."));
    bar->addWidget(findLabel);
    bar->addWidget(FindText, 1);
    bar->addWidget(btnFindNext);
    bar->addSpacing(16);
    bar->addWidget(btnPrint);
    bar->addWidget(btnPdf);
    layout->addLayout(bar);

    Editor = new QPlainTextEdit;
    Editor->setReadOnly(true);
    Editor->setLineWrapMode(QPlainTextEdit::NoWrap); // fixed-column text keeps its columns
    Editor->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    Editor->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    layout->addWidget(Editor, 1);

    connect(FindText, &QLineEdit::returnPressed, this, [this] { FindNext(); });
    connect(btnFindNext, &QPushButton::clicked, this, [this] { FindNext(); });
    connect(btnPrint, &QPushButton::clicked, this, &TTextViewer::Print);
    connect(btnPdf, &QPushButton::clicked, this, &TTextViewer::SaveAsPdfClick);
    auto* find = new QShortcut(QKeySequence::Find, this);
    connect(find, &QShortcut::activated, this, [this] {
        FindText->setFocus();
        FindText->selectAll();
    });
    auto* next = new QShortcut(QKeySequence::FindNext, this);
    connect(next, &QShortcut::activated, this, [this] { FindNext(); });
    auto* previous = new QShortcut(QKeySequence::FindPrevious, this);
    connect(previous, &QShortcut::activated, this, [this] { FindNext(true); });
}

bool TTextViewer::GoTo(const QString& Text) {
    QTextCursor top(Editor->document());
    Editor->setTextCursor(top);
    if (Text.isEmpty())
        return false;
    const QTextCursor found = Editor->document()->find(Text, top);
    if (found.isNull())
        return false;
    QTextCursor line(found.block());
    line.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    Editor->setTextCursor(line);
    Editor->centerCursor();
    return true;
}

TTextViewer* TTextViewer::Find(QMdiArea& Mdi, const QString& File) {
    const QString wanted = QFileInfo(File).absoluteFilePath();
    for (QMdiSubWindow* frame : Mdi.subWindowList()) {
        auto* viewer = qobject_cast<TTextViewer*>(frame->widget());
        if (viewer && !frame->isHidden() && viewer->FileName() == wanted) {
            return viewer;
        }
    }
    return nullptr;
}

TTextViewer* TTextViewer::Show(QMdiArea& Mdi, TUserDialogs& Dialogs, const QString& File) {
    TTextViewer* viewer = Find(Mdi, File);
    QMdiSubWindow* frame = nullptr;
    QString error;
    if (viewer) {
        frame = qobject_cast<QMdiSubWindow*>(viewer->parentWidget());
        if (!viewer->Load(File, error)) {
            Dialogs.Warning(error);
            return nullptr;
        }
    } else {
        auto fresh = std::make_unique<TTextViewer>(Dialogs);
        if (!fresh->Load(File, error)) {
            Dialogs.Warning(error);
            return nullptr;
        }
        viewer = fresh.release();
        frame = Mdi.addSubWindow(viewer);
        frame->setAttribute(Qt::WA_DeleteOnClose);
        // Wide enough for the report's 80 columns and the button row.
        const QFontMetrics metrics(viewer->Editor->font());
        frame->resize(std::max(760, metrics.horizontalAdvance(QString(84, QLatin1Char('M'))) + 60),
                      560);
    }
    if (frame) {
        if (frame->isMinimized()) {
            frame->showNormal();
        } else {
            frame->show();
        }
        Mdi.setActiveSubWindow(frame);
    }
    return viewer;
}

bool TTextViewer::Load(const QString& File, QString& Error) {
    QFile file(File);
    if (!file.open(QIODevice::ReadOnly)) {
        Error = QStringLiteral("The file ") + QDir::toNativeSeparators(File) +
                QStringLiteral(" cannot be read: ") + file.errorString();
        return false;
    }
    QString text = QString::fromUtf8(file.readAll());
    text.remove(QLatin1Char('\r')); // the project file has CR LF line ends
    fFileName = QFileInfo(File).absoluteFilePath();
    Editor->setPlainText(text);
    setWindowTitle(QFileInfo(File).fileName());
    return true;
}

QString TTextViewer::Text() const {
    return Editor->toPlainText();
}

bool TTextViewer::FindNext(bool Backward) {
    const QString wanted = FindText->text();
    if (wanted.isEmpty()) {
        return false;
    }
    const QTextDocument::FindFlags flags =
        Backward ? QTextDocument::FindBackward : QTextDocument::FindFlags();
    if (Editor->find(wanted, flags)) {
        return true;
    }
    // Round the end (or the start) once.
    QTextCursor cursor = Editor->textCursor();
    cursor.movePosition(Backward ? QTextCursor::End : QTextCursor::Start);
    Editor->setTextCursor(cursor);
    return Editor->find(wanted, flags);
}

void TTextViewer::Print() {
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("Print ") + windowTitle());
    if (dialog.exec() == QDialog::Accepted) {
        Editor->document()->print(&printer);
    }
}

bool TTextViewer::SaveAsPdf(const QString& Target, QString& Error) {
    const QString part = Target + QStringLiteral(".part~");
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(part);
        printer.setDocName(windowTitle());
        Editor->document()->print(&printer);
    }
    std::error_code ec;
    const std::filesystem::path from = part.toStdString();
    if (!QFileInfo(part).isFile() || QFileInfo(part).size() == 0) {
        std::filesystem::remove(from, ec);
        Error = QStringLiteral("The file ") + QDir::toNativeSeparators(Target) +
                QStringLiteral(" could not be written.");
        return false;
    }
    std::filesystem::rename(from, Target.toStdString(), ec);
    if (ec) {
        std::filesystem::remove(from, ec);
        Error = QStringLiteral("The file ") + QDir::toNativeSeparators(Target) +
                QStringLiteral(" could not be written.");
        return false;
    }
    return true;
}

void TTextViewer::SaveAsPdfClick() {
    const QFileInfo info(fFileName);
    const QString target =
        fDialogs.SaveFileName(QStringLiteral("Save ") + info.fileName() + QStringLiteral(" as PDF"),
                              info.absolutePath(), info.completeBaseName() + QStringLiteral(".pdf"),
                              {QStringLiteral("PDF(*.pdf)")}, QStringLiteral("pdf"));
    if (target.isEmpty()) {
        return;
    }
    QString error;
    if (!SaveAsPdf(target, error)) {
        fDialogs.Warning(error);
    }
}
