// kolmar2017: the desktop program. Its one argument is a project file to open.
#include "gui/shell/Main.h"
#include "ui/widgets/UserDialogs.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QStringList>
#include <QTimer>
#include <cstdio>

namespace {

// Saves a picture of the message box the program shows (for the documentation) and quits.
void PictureOfMessage(const QString& File) {
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, qApp, [File, poll] {
        QWidget* box = QApplication::activeModalWidget();
        if (!qobject_cast<QMessageBox*>(box))
            return;
        poll->stop();
        const bool saved = box->grab().save(File, "PNG");
        if (!saved)
            std::fprintf(stderr, "kolmar2017: cannot write %s\n", qPrintable(File));
        QApplication::exit(saved ? 0 : 1);
    });
    poll->start(200);
}

// "--screenshot FILE [--show report|run|overview]" (for the documentation): shows the window,
// opens the combined graphs when the project has results, saves a picture of the window and
// quits. With "report" the report is open in the text viewer; with "run" the project is
// analysed and the picture is of the message that tells the outcome; with "overview" the window
// is as the project opens, its Project Overview in view.
void ScheduleScreenshot(TMainForm& Form, const QString& File, const QString& Show) {
    if (Show == "run") {
        QTimer::singleShot(300, &Form, [&Form, File] {
            PictureOfMessage(File);
            Form.CompRunClick();
        });
        return;
    }
    QTimer::singleShot(300, &Form, [&Form, File, Show] {
        if (Show == "report") {
            Form.WordProcessor.clear(); // the program's own viewer
            Form.CompOutputClick();
            if (QMdiSubWindow* viewer = Form.MdiArea().activeSubWindow())
                viewer->showMaximized();
        } else if (Show == "overview") {
            Form.MdiArea().closeAllSubWindows();
        } else if (Form.Graphs().ShowOutput) {
            Form.Graphs().pltCombine.Show();
            Form.Graphs().pltCombineD.Show();
            Form.MdiArea().tileSubWindows();
        }
        QTimer::singleShot(500, &Form, [&Form, File] {
            // The window's caption above its contents, as a title bar would show it.
            const QPixmap body = Form.grab();
            const int bar = 28;
            QPixmap shot(body.width(), body.height() + bar);
            shot.fill(QColor(64, 68, 78));
            QPainter painter(&shot);
            painter.setPen(Qt::white);
            painter.drawText(QRect(0, 0, body.width(), bar), Qt::AlignCenter, Form.windowTitle());
            painter.drawPixmap(0, bar, body);
            painter.end();
            const bool saved = shot.save(File, "PNG");
            if (!saved)
                std::fprintf(stderr, "kolmar2017: cannot write %s\n", qPrintable(File));
            QApplication::exit(saved ? 0 : 1);
        });
    });
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Kolmar 2017");

    QString project;
    QString screenshot;
    QString show; // what the screenshot shows: the main window, "report" or "run"
    const QStringList arguments = QApplication::arguments();
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (arguments.at(i) == "--screenshot" && i + 1 < arguments.size())
            screenshot = arguments.at(++i);
        else if (arguments.at(i) == "--show" && i + 1 < arguments.size())
            show = arguments.at(++i);
        else if (project.isEmpty())
            project = arguments.at(i);
    }

    TQtDialogs dialogs;
    TMainForm form(dialogs);
    dialogs.SetParent(&form);
    form.FormShow(project);
    form.show();
    if (!screenshot.isEmpty())
        ScheduleScreenshot(form, screenshot, show);
    return QApplication::exec();
}
