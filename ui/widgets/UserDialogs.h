// TUserDialogs: every message box and file dialog of the program goes through this small
// interface, so that tests can answer them. TQtDialogs is the real one.
#pragma once

#include <QString>
#include <QStringList>

class QWidget;

class TUserDialogs {
public:
    enum class TAnswer { Yes, No, Cancel };

    virtual ~TUserDialogs() = default;
    // Information box with an OK button.
    virtual void Information(const QString& Text) = 0;
    // Warning box with an OK button.
    virtual void Warning(const QString& Text) = 0;
    // Information box with an OK button and a second button captioned Action (e.g. "Run Notes");
    // true when the user chose Action. Without a box of its own it is a plain Information.
    virtual bool InformationWithAction(const QString& Text, const QString& Action) {
        (void)Action;
        Information(Text);
        return false;
    }
    // Confirmation with the buttons Yes, No and Cancel.
    virtual TAnswer Confirm(const QString& Text) = 0;
    // Open dialog for an existing file, starting in Dir. Filters are "Name(pattern)" texts;
    // FilterIndex (1-based) is the filter shown first and receives the one chosen. Returns the
    // chosen path, or an empty string when cancelled.
    virtual QString OpenFileName(const QString& Dir, const QStringList& Filters,
                                 int& FilterIndex) = 0;
    // Save dialog with an overwrite prompt, titled Title, starting in Dir with Proposed as the
    // name; the default extension is added to a name without one. Empty when cancelled.
    virtual QString SaveFileName(const QString& Title, const QString& Dir, const QString& Proposed,
                                 const QStringList& Filters, const QString& DefaultSuffix) = 0;
};

// The dialogs of the desktop: message boxes and file dialogs over a parent window.
class TQtDialogs : public TUserDialogs {
public:
    explicit TQtDialogs(QWidget* Parent = nullptr) : fParent(Parent) {}
    void SetParent(QWidget* Parent) { fParent = Parent; }

    void Information(const QString& Text) override;
    void Warning(const QString& Text) override;
    bool InformationWithAction(const QString& Text, const QString& Action) override;
    TAnswer Confirm(const QString& Text) override;
    QString OpenFileName(const QString& Dir, const QStringList& Filters, int& FilterIndex) override;
    QString SaveFileName(const QString& Title, const QString& Dir, const QString& Proposed,
                         const QStringList& Filters, const QString& DefaultSuffix) override;

private:
    QWidget* fParent;
};
