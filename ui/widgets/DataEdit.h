// TDataEdit: the single-line entry field of every number in the data windows. The user types a
// number or an arithmetic expression; leaving the field or pressing Enter evaluates it, checks
// it against the field's limits and replaces the text by the value. A companion label shows the
// caption and the units, translated into the field's unit system.
// Exports TDataEdit.
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QString>

#include <string>

class TUserDialogs;

class TDataEdit : public QLineEdit {
    Q_OBJECT

public:
    // The widest limits a field has unless the window sets its own.
    static constexpr double DefaultLimit = 1.18973149535723176e100;

    // Text "0", units 1, default limits; the field reports its errors to Dialogs.
    explicit TDataEdit(TUserDialogs& Dialogs, QWidget* Parent = nullptr);

    QString Caption() const { return fCaption; }
    void SetCaption(const QString& Caption);
    // The companion label: its text follows caption, units and unit system, it is enabled
    // exactly when the field is, and its mnemonic focuses the field.
    QLabel* EditLabel() const { return fEditLabel; }
    void SetEditLabel(QLabel* Label);
    QString UnitsString() const { return fUnitsString; }
    void SetUnitsString(const QString& UnitsString);
    // 1 English, 2 SI, 3 untranslated; other values are clamped into 1..3. Changing the system
    // leaves the number as it is: the window sets the converted number itself.
    int Units() const { return fUnits; }
    void SetUnits(int Units);
    // The label text: the caption, then " (" units ")" when there are units.
    QString LabelText() const;

    double MinVal() const { return fMinVal; }
    // Lowered to MaxVal if above it, kept in the 32-bit range with IntegerOnly; a number below
    // the new limit is raised to it.
    void SetMinVal(double Value);
    double MaxVal() const { return fMaxVal; }
    // The mirror image of SetMinVal.
    void SetMaxVal(double Value);
    // With MinExclusive the lower limit itself is refused too ("greater than"). The limit value
    // is still what a loaded value may hold: a value the field never had typed into it passes,
    // so that a window opened on a new project closes again; the run check catches it.
    bool MinExclusive() const { return fMinExclusive; }
    void SetMinExclusive(bool Value) { fMinExclusive = Value; }
    // A value above WarnAbove passes with a warning (once per typed value), e.g. blow counts.
    void SetWarnAbove(double Value, const QString& Warning);
    // The field's name in its messages, e.g. "Water table depth"; the caption when empty.
    QString FieldName() const;
    void SetFieldName(const QString& Name) { fFieldName = Name; }
    bool IntegerOnly() const { return fIntegerOnly; }
    void SetIntegerOnly(bool Value);
    // Shows values as "$" and at least four hexadecimal digits.
    bool Hex() const { return fHex; }
    void SetHex(bool Value);

    // The value of the current text. A quantity typed with a unit ("3 ft 6 in") is converted into
    // the field's unit, the one its label shows. Throws EEvaluateError when the text is not
    // valid or a unit does not fit the field.
    double Number() const;
    // Clamps the value into MinVal..MaxVal and shows it as value text. While the text stays as
    // shown, Number is this value to the last bit, not the 8 digits of its text: a window that
    // writes back what it loaded changes nothing (a depth of 21.336000000000002 m stays so).
    void SetNumber(double Value);

    // The exit check: evaluates the text, checks the integer rule and the limits, shows the
    // value as text; reports a failure in an information box and gives the field the focus
    // again. Returns the outcome, which LastExit keeps.
    bool Evaluate();
    // The check that a window runs before it takes the field's value. A text that failed and
    // was reported already, and has not been edited since, is refused without a second box.
    bool CloseQuery();
    bool LastExit() const { return fLastExit; }
    // The message of the last failed check (with the field's name), and whether that check
    // stayed quiet because the same text had been reported already.
    QString RefusalMessage() const { return fRefusal; }
    bool LastRefusalQuiet() const { return fRefusalQuiet; }

    // General format with 8 significant digits, "." as separator; or the hexadecimal form.
    static QString ValueText(double Value, bool Hex = false);

    // True while the whole text is selected by the field itself (after Enter, or on entry by
    // Tab): only then does a typed operator append to the value.
    bool SelectedByField() const { return fSelectedByField; }
    // Selects the whole text as the field's own selection.
    void SelectAllByField();

signals:
    // A value the user typed passed its check as the user left the field or pressed Enter:
    // the moment the window takes it into the project.
    void ValueCommitted();

protected:
    // Undo and redo keys are the field's own only while it has typing to take back; otherwise
    // they reach the program's Edit menu.
    bool event(QEvent* Event) override;
    void keyPressEvent(QKeyEvent* Event) override;
    void focusInEvent(QFocusEvent* Event) override;
    void focusOutEvent(QFocusEvent* Event) override;
    void mousePressEvent(QMouseEvent* Event) override;
    void changeEvent(QEvent* Event) override;

private:
    bool TryEvaluate(double& Value, std::string& Message) const;
    bool HoldsExactValue() const;
    void ShowValue(double Value);
    bool ExitCheck(bool QuietIfReported);
    void Report(const QString& Message);
    QString Named(const QString& Message) const;
    void RefreshLabel();
    double ClampLimit(double Value) const;

    QString fCaption;
    QPointer<QLabel> fEditLabel;
    QString fUnitsString;
    int fUnits = 1;
    double fMinVal = -DefaultLimit;
    double fMaxVal = DefaultLimit;
    bool fIntegerOnly = false;
    bool fMinExclusive = false;
    double fWarnAbove = DefaultLimit;
    QString fWarning;
    QString fFieldName;
    bool fSelectedByField = false;
    QString fRefusal;
    bool fRefusalQuiet = false;
    bool fSelecting = false;
    bool fHex = false;
    double fExactValue = 0.0; // the value last shown, and the text it was shown as
    QString fExactText;
    bool fHasExactValue = false;
    bool fLastExit = true;
    bool fInCheck = false;
    QString fReportedText; // the failing text last reported; cleared by every edit
    bool fReported = false;
    TUserDialogs& fDialogs;
};
