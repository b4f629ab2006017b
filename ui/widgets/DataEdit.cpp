// The numeric entry field: exit check, limits, keys and the companion label.
#include "ui/widgets/DataEdit.h"

#include "ui/model/Evaluator.h"
#include "ui/model/NumberText.h"
#include "ui/model/UnitLabel.h"
#include "ui/widgets/UserDialogs.h"

#include <QFocusEvent>
#include <QKeyEvent>

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
    if (TryEvaluateExpression(text().toStdString(), current, ignored) && current < fMinVal) {
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
    if (TryEvaluateExpression(text().toStdString(), current, ignored) && current > fMaxVal) {
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
    return EvaluateExpression(text().toStdString());
}

void TDataEdit::SetNumber(double Value) {
    if (std::isnan(Value)) {
        Value = 0.0;
    }
    setText(ValueText(std::clamp(Value, fMinVal, fMaxVal), fHex));
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
    double value = 0.0;
    std::string evaluatorMessage;
    QString message;
    if (!TryEvaluateExpression(text().toStdString(), value, evaluatorMessage)) {
        message = fIntegerOnly ? QStringLiteral("Entry must be a valid integer.")
                               : QString::fromStdString(evaluatorMessage);
    } else if (fIntegerOnly && value != std::trunc(value)) {
        message = QStringLiteral("Entry must be an integer.");
    } else if (value < fMinVal) {
        SetNumber(fMinVal);
        message = QStringLiteral("Entry must be greater than or equal to ") + ValueText(fMinVal);
    } else if (!(value <= fMaxVal)) {
        SetNumber(fMaxVal);
        message = QStringLiteral("Entry must be less than or equal to ") + ValueText(fMaxVal);
    } else {
        setText(ValueText(value, fHex));
        fLastExit = true;
        fReported = false;
    }
    if (!fLastExit && !(QuietIfReported && fReported && fReportedText == text())) {
        Report(message);
    }
    fInCheck = false;
    return fLastExit;
}

void TDataEdit::Report(const QString& Message) {
    fReported = true;
    fReportedText = text();
    fDialogs.Information(Message);
    if (isVisible()) {
        setFocus(Qt::OtherFocusReason);
    }
}

void TDataEdit::keyPressEvent(QKeyEvent* Event) {
    if (Event->key() == Qt::Key_Return || Event->key() == Qt::Key_Enter) {
        Evaluate();
        selectAll();
        Event->accept(); // Enter stays in the field: no default button fires
        return;
    }
    const QString typed = Event->text();
    if (typed.size() == 1 && kOperators.contains(typed.front()) && hasSelectedText() &&
        selectedText() == text()) {
        deselect();
        end(false); // typing *2 after a value doubles it instead of replacing it
    }
    QLineEdit::keyPressEvent(Event);
}

void TDataEdit::focusOutEvent(QFocusEvent* Event) {
    QLineEdit::focusOutEvent(Event);
    // Leaving the window (another window or a popup) is the window's own check, not ours.
    const Qt::FocusReason reason = Event->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason && !fInCheck) {
        Evaluate();
    }
}
