// kolmar2017: the desktop program. Its one argument is a project file to open.
#include "gui/shell/Main.h"
#include "ui/widgets/UserDialogs.h"

#include <QApplication>
#include <QMdiArea>
#include <QPainter>
#include <QPixmap>
#include <QStringList>
#include <QTimer>
#include <cstdio>

namespace {

// "--screenshot FILE" (for the documentation): shows the window, opens the combined graphs
// when the project has results, saves a picture of the window and quits.
void ScheduleScreenshot(TMainForm& Form, const QString& File) {
    QTimer::singleShot(300, &Form, [&Form, File] {
        if (Form.Graphs().ShowOutput) {
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
    const QStringList arguments = QApplication::arguments();
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (arguments.at(i) == "--screenshot" && i + 1 < arguments.size())
            screenshot = arguments.at(++i);
        else if (project.isEmpty())
            project = arguments.at(i);
    }

    TQtDialogs dialogs;
    TMainForm form(dialogs);
    dialogs.SetParent(&form);
    form.FormShow(project);
    form.show();
    if (!screenshot.isEmpty())
        ScheduleScreenshot(form, screenshot);
    return QApplication::exec();
}
