// Support of the main-window tests: dialogs answered from scripts, a private settings store
// and a project directory per test.
#pragma once

#include "ui/widgets/UserDialogs.h"

#include <QApplication>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <deque>
#include <utility>

// Answers every message box and file dialog from queues and records what was shown.
class TTestDialogs : public TUserDialogs {
public:
    void Information(const QString& Text) override { Messages << Text; }
    void Warning(const QString& Text) override { Messages << Text; }
    bool InformationWithAction(const QString& Text, const QString& Action) override {
        Messages << Text;
        Actions << Action;
        return TakeAction;
    }
    TAnswer Confirm(const QString& Text) override {
        Questions << Text;
        if (Answers.empty())
            return TAnswer::Cancel; // a question no test expected stops the command
        const TAnswer answer = Answers.front();
        Answers.pop_front();
        return answer;
    }
    QString OpenFileName(const QString& Dir, const QStringList& Filters,
                         int& FilterIndex) override {
        OpenDirs << Dir;
        OpenFilters = Filters;
        if (OpenResults.empty())
            return {};
        auto [name, filter] = OpenResults.front();
        OpenResults.pop_front();
        FilterIndex = filter;
        return name;
    }
    QString SaveFileName(const QString& Title, const QString& Dir, const QString& Proposed,
                         const QStringList& Filters, const QString& DefaultSuffix) override {
        SaveTitles << Title;
        SaveDirs << Dir;
        SaveProposals << Proposed;
        SaveFilters = Filters;
        SaveSuffix = DefaultSuffix;
        if (SaveResults.empty())
            return {}; // cancelled
        const QString name = SaveResults.front();
        SaveResults.pop_front();
        return name;
    }

    QStringList Messages, Questions;
    QStringList Actions;     // the second buttons of the messages that had one
    bool TakeAction = false; // the answer to them: the second button or OK
    std::deque<TAnswer> Answers;
    std::deque<std::pair<QString, int>> OpenResults; // chosen file and filter index
    std::deque<QString> SaveResults;                 // chosen file; empty = cancel
    QStringList OpenDirs, OpenFilters, SaveTitles, SaveDirs, SaveProposals, SaveFilters;
    QString SaveSuffix;
};

// A test program whose settings live in a temporary directory, never in the user's.
#define KOLMAR_GUI_TEST_MAIN(TestClass)                                                            \
    int main(int argc, char** argv) {                                                              \
        QTemporaryDir configHome;                                                                  \
        qputenv("XDG_CONFIG_HOME", configHome.path().toUtf8());                                    \
        QStandardPaths::setTestModeEnabled(true);                                                  \
        QApplication app(argc, argv);                                                              \
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, configHome.path());      \
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, configHome.path());         \
        TestClass test;                                                                            \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
