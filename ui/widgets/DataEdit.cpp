// The numeric entry field: exit check, limits, keys and the companion label.
#include "ui/widgets/DataEdit.h"

#include "ui/model/Evaluator.h"
#include "ui/model/NumberText.h"
#include "ui/model/UnitLabel.h"
#include "ui/widgets/UserDialogs.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

constexpr double kInt32Min = -2147483648.0;
constexpr double kInt32Max = 2147483647.0;

// Characters that append to a wholly selected value instead of replacing it.
const QString kOperators = QStringLiteral("+-/*^=%!");

} // namespace

TDataEdit::TDataEdit(TUserDialogs& Dialogs, QWidget* Parent)
    : QLineEdit(QStringLiteral("0"), Parent), fDialogs(Dialogs) {
    connect(this, &QLineEdit::textEdited, this, [this] { fReported = false; });
    // Any selection the user makes (mouse, Shift+arrows, typing) is no longer the field's.
    connect(this, &QLineEdit::selectionChanged, this, [this] {
        if (!fSelecting) {
            fSelectedByField = false;
        }
    });
}

QString TDataEdit::FieldName() const {
    if (!fFieldName.isEmpty()) {
        return fFieldName;
    }
    QString name = fCaption;
    name.remove(QLatin1Char('&'));
    name = name.trimmed();
    while (name.endsWith(QLatin1Char(',')) || name.endsWith(QLatin1Char(':'))) {
        name.chop(1);
    }
    return name.trimmed();
}

void TDataEdit::SetWarnAbove(double Value, const QString& Warning) {
    fWarnAbove = Value;
    fWarning = Warning;
}

void TDataEdit::SelectAllByField() {
    fSelecting = true;
    selectAll();
    fSelecting = false;
    fSelectedByField = hasSelectedText();
}

QString TDataEdit::ValueText(double Value, bool Hex) {
    if (!Hex) {
        return QString::fromStdString(FormatGeneral(Value, 8));
    }
    // Whole values in two's complement: "$FFFFFFFFFFFFFFFF" reads back as -1.
    const double whole = std::isnan(Value) ? 0.0 : std::clamp(std::trunc(Value), -9.2e18, 9.2e18);
    const auto bits = static_cast<std::uint64_t>(static_cast<std::int64_t>(whole));
    return QStringLiteral("$") +
           QString::number(static_cast<qulonglong>(bits), 16).toUpper().rightJustified(4, '0');
}

void TDataEdit::SetCaption(const QString& Caption) {
    fCaption = Caption;
    RefreshLabel();
}

void TDataEdit::SetEditLabel(QLabel* Label) {
    fEditLabel = Label;
    if (Label != nullptr) {
        Label->setBuddy(this);
    }
    RefreshLabel();
}

void TDataEdit::SetUnitsString(const QString& UnitsString) {
    fUnitsString = UnitsString;
    RefreshLabel();
}

void TDataEdit::SetUnits(int Units) {
    fUnits = EntryUnitsSystem(Units);
    RefreshLabel();
}

QString TDataEdit::LabelText() const {
    return QString::fromStdString(
        UnitLabelText(fCaption.toStdString(), fUnitsString.toStdString(), fUnits));
}

void TDataEdit::RefreshLabel() {
    if (fEditLabel != nullptr) {
        fEditLabel->setText(LabelText());
        fEditLabel->setEnabled(isEnabled());
    }
}

void TDataEdit::changeEvent(QEvent* Event) {
    QLineEdit::changeEvent(Event);
    if (Event->type() == QEvent::EnabledChange) {
        RefreshLabel();
    }
}

double TDataEdit::ClampLimit(double Value) const {
    return fIntegerOnly ? std::clamp(Value, kInt32Min, kInt32Max) : Value;
}

void TDataEdit::SetMinVal(double Value) {
    if (std::isnan(Value)) {
        return;
    }
    fMinVal = ClampLimit(std::min(Value, fMaxVal));
    double current = 0.0;
    std::string ignored;
    if (TryEvaluate(current, ignored) && current < fMinVal) {
        SetNumber(fMinVal);
    }
}

void TDataEdit::SetMaxVal(double Value) {
    if (std::isnan(Value)) {
        return;
    }
    fMaxVal = ClampLimit(std::max(Value, fMinVal));
    double current = 0.0;
    std::string ignored;
    if (TryEvaluate(current, ignored) && current > fMaxVal) {
        SetNumber(fMaxVal);
    }
}

void TDataEdit::SetIntegerOnly(bool Value) {
    fIntegerOnly = Value;
    if (Value) {
        SetMaxVal(fMaxVal);
        SetMinVal(fMinVal);
    }
}

void TDataEdit::SetHex(bool Value) {
    fHex = Value;
}

double TDataEdit::Number() const {
    if (HoldsExactValue()) {
        return fExactValue;
    }
    return EvaluateExpression(text().toStdString(), fUnitsString.toStdString(), fUnits);
}

bool TDataEdit::HoldsExactValue() const {
    return fHasExactValue && text() == fExactText;
}

void TDataEdit::ShowValue(double Value) {
    setText(ValueText(Value, fHex));
    fExactValue = Value;
    fExactText = text();
    fHasExactValue = true;
}

bool TDataEdit::TryEvaluate(double& Value, std::string& Message) const {
    if (HoldsExactValue()) {
        Value = fExactValue;
        return true;
    }
    return TryEvaluateExpression(text().toStdString(), Value, Message, fUnitsString.toStdString(),
                                 fUnits);
}

void TDataEdit::SetNumber(double Value) {
    if (std::isnan(Value)) {
        Value = 0.0;
    }
    ShowValue(std::clamp(Value, fMinVal, fMaxVal));
}

bool TDataEdit::Evaluate() {
    return ExitCheck(false);
}

bool TDataEdit::CloseQuery() {
    return ExitCheck(true);
}

bool TDataEdit::ExitCheck(bool QuietIfReported) {
    if (fInCheck) {
        return fLastExit; // a check is showing its message already
    }
    fInCheck = true;
    fLastExit = false;
    // A value the user typed, not one the window loaded.
    const bool typed = isModified();
    double value = 0.0;
    std::string evaluatorMessage;
    QString message;
    if (!TryEvaluate(value, evaluatorMessage)) {
        message = fIntegerOnly ? QStringLiteral("Entry must be a valid integer.")
                               : QString::fromStdString(evaluatorMessage);
    } else if (fIntegerOnly && value != std::trunc(value)) {
        message = QStringLiteral("Entry must be an integer.");
    } else if (fMinExclusive && (value < fMinVal || (value == fMinVal && typed))) {
        // The limit itself is no value for this field: the text stays for the user to mend.
        message = QStringLiteral("Entry must be greater than ") + ValueText(fMinVal);
    } else if (value < fMinVal) {
        if (fMinVal <= -DefaultLimit) {
            message = QStringLiteral("Entry is out of range."); // the widest limit is no value
        } else {
            SetNumber(fMinVal);
            message =
                QStringLiteral("Entry must be greater than or equal to ") + ValueText(fMinVal);
        }
    } else if (!(value <= fMaxVal)) {
        if (fMaxVal >= DefaultLimit) {
            message = QStringLiteral("Entry is out of range.");
        } else {
            SetNumber(fMaxVal);
            message = QStringLiteral("Entry must be less than or equal to ") + ValueText(fMaxVal);
        }
    } else {
        ShowValue(value);
        fLastExit = true;
        fReported = false;
        if (typed && value > fWarnAbove && !fWarning.isEmpty()) {
            fDialogs.Information(Named(fWarning)); // a warning only: the value stands
        }
    }
    if (!fLastExit) {
        fRefusal = Named(message);
        fRefusalQuiet = QuietIfReported && fReported && fReportedText == text();
        if (!fRefusalQuiet) {
            Report(message);
        }
    }
    fInCheck = false;
    return fLastExit;
}

QString TDataEdit::Named(const QString& Message) const {
    const QString name = FieldName();
    return name.isEmpty() ? Message : name + QStringLiteral(":\n") + Message;
}

void TDataEdit::Report(const QString& Message) {
    fReported = true;
    fReportedText = text();
    fDialogs.Information(Named(Message));
    if (isVisible()) {
        setFocus(Qt::OtherFocusReason);
        SelectAllByField(); // the bad text, ready to be typed over
        // A check run as the focus moves on (Tab, a click elsewhere) reports before the move is
        // complete; the field takes the focus back once it is, so the bad text is not left
        // behind in a field the user no longer looks at.
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (isVisible() && !fLastExit && !hasFocus()) {
                    setFocus(Qt::OtherFocusReason);
                    SelectAllByField();
                }
            },
            Qt::QueuedConnection);
    }
}

bool TDataEdit::event(QEvent* Event) {
    if (Event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(Event);
        const bool undo = key->matches(QKeySequence::Undo);
        const bool redo = key->matches(QKeySequence::Redo) ||
                          key->keyCombination() == QKeyCombination(Qt::CTRL, Qt::Key_Y);
        if ((undo && !isUndoAvailable()) || (redo && !isRedoAvailable())) {
            Event->ignore();
            return true;
        }
    }
    return QLineEdit::event(Event);
}

void TDataEdit::keyPressEvent(QKeyEvent* Event) {
    if (Event->key() == Qt::Key_Return || Event->key() == Qt::Key_Enter) {
        const bool typed = isModified();
        if (Evaluate() && typed) {
            emit ValueCommitted();
        }
        SelectAllByField();
        Event->accept(); // Enter stays in the field: no default button fires
        return;
    }
    const QString typed = Event->text();
    // Only the field's own whole selection takes an operator as appended: typing *2 after a
    // value doubles it. A minus there starts a negative value, and a selection the user made
    // is replaced by what is typed, as in any text field.
    if (typed.size() == 1 && typed.front() != QLatin1Char('-') &&
        kOperators.contains(typed.front()) && fSelectedByField && hasSelectedText() &&
        selectedText() == text()) {
        deselect();
        end(false);
    }
    QLineEdit::keyPressEvent(Event);
}

void TDataEdit::focusInEvent(QFocusEvent* Event) {
    QLineEdit::focusInEvent(Event); // selects the whole text on entry by Tab
    const Qt::FocusReason reason = Event->reason();
    if ((reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason) && hasSelectedText() &&
        selectedText() == text()) {
        fSelectedByField = true;
    }
}

void TDataEdit::mousePressEvent(QMouseEvent* Event) {
    fSelectedByField = false;
    QLineEdit::mousePressEvent(Event);
}

void TDataEdit::focusOutEvent(QFocusEvent* Event) {
    QLineEdit::focusOutEvent(Event);
    // Leaving the window (another window or a popup) is the window's own check, not ours.
    const Qt::FocusReason reason = Event->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason && !fInCheck) {
        const bool typed = isModified();
        if (Evaluate() && typed) {
            emit ValueCommitted();
        }
    }
}
