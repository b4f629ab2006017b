// Answers the message boxes and file dialogs of the windows under test and records their texts.
#pragma once

#include "ui/widgets/UserDialogs.h"

#include <QStringList>

#include <deque>

class TScriptedDialogs : public TUserDialogs {
public:
    void Information(const QString& Text) override { Messages << Text; }
    void Warning(const QString& Text) override { Messages << Text; }
    TAnswer Confirm(const QString& Text) override {
        Messages << Text;
        if (Answers.empty()) {
            return TAnswer::Yes;
        }
        const TAnswer answer = Answers.front();
        Answers.pop_front();
        return answer;
    }
    QString OpenFileName(const QString&, const QStringList&, int&) override { return OpenResult; }
    QString SaveFileName(const QString&, const QString&, const QString&, const QStringList&,
                         const QString&) override {
        return {};
    }

    // The one message shown since the last call; fails the test through an empty string when
    // there was none or more than one.
    QString TakeMessage() {
        const QString only = Messages.size() == 1 ? Messages.front() : QString();
        Messages.clear();
        return only;
    }

    QStringList Messages;
    std::deque<TAnswer> Answers; // answers to Confirm, Yes when empty
    QString OpenResult;
};
