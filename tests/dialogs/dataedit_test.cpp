// The numeric entry field: exit check with its messages, limits, keys and the unit label.
#include "ScriptedDialogs.h"
#include "ui/widgets/DataEdit.h"

#include <QLabel>
#include <QTest>

#include <limits>

class TDataEditTest : public QObject {
    Q_OBJECT

private slots:
    void ExitCheckGivesValueOrMessage();
    void LimitsMoveTheNumber();
    void LabelFollowsCaptionUnitsAndSystem();
    void EnterEvaluatesAndOperatorsAppend();
    void CloseQueryReportsAFailingTextOnce();
    void HexShowsFourDigitsAtLeast();
    void UnitsAreTypedAndTheValueShownTakesAnOperator();
    void AWrongUnitNamesFieldTypedAndExpected();
    void AShownValueIsKeptToTheLastBit();
};

// A unit typed by keys, Enter, then "*2": the value in the field's unit, doubled.
void TDataEditTest::UnitsAreTypedAndTheValueShownTakesAnOperator() {
    const struct {
        const char* Units;
        int System;
        const char* Typed;
        const char* Shown;   // after Enter, in the unit the label shows
        const char* Doubled; // after "*2" and Enter
    } cases[] = {
        {"L2", 1, "3 ft 6 in", "3.5", "7"},
        {"L2", 1, "2 m", "6.5616798", "13.12336"},
        {"L2", 2, "350 cm", "3.5", "7"},
        {"L2", 2, "10 ft", "3.048", "6.096"},
        {"F2", 1, "1 ton 1000 lb", "1.5", "3"},
        {"F/L2^3", 2, "18 kN/m3", "18", "36"},
        {"F/L2^3", 1, "120 pcf", "120", "240"},
        {"L2", 1, "12", "12", "24"}, // no unit: the field's own
    };
    for (const auto& c : cases) {
        TScriptedDialogs dialogs;
        TDataEdit field(dialogs);
        field.SetUnitsString(QString::fromLatin1(c.Units));
        field.SetUnits(c.System);
        field.clear();
        QTest::keyClicks(&field, QString::fromUtf8(c.Typed));
        QTest::keyClick(&field, Qt::Key_Return);
        QCOMPARE(field.text(), QString::fromLatin1(c.Shown));
        QTest::keyClicks(&field, QStringLiteral("*2"));
        QTest::keyClick(&field, Qt::Key_Return);
        QCOMPARE(field.text(), QString::fromLatin1(c.Doubled));
        QVERIFY2(dialogs.Messages.isEmpty(), qPrintable(dialogs.Messages.join("\n")));
    }
}

void TDataEditTest::AWrongUnitNamesFieldTypedAndExpected() {
    TScriptedDialogs dialogs;
    TDataEdit field(dialogs);
    field.SetFieldName(QStringLiteral("Depth of water table"));
    field.SetUnitsString(QStringLiteral("L2"));
    field.SetUnits(2);
    field.setText(QStringLiteral("12 kPa"));
    QVERIFY(!field.Evaluate());
    QCOMPARE(dialogs.TakeMessage(), QStringLiteral("Depth of water table:\nEntry could not be "
                                                   "evaluated:\n\"kPa\" is a stress; this entry "
                                                   "takes a length in m"));
    QCOMPARE(field.text(), QStringLiteral("12 kPa")); // left for the user to mend
}

// A window writes back what it loaded: the number is the one set, not its 8-digit text, until
// the text is edited.
void TDataEditTest::AShownValueIsKeptToTheLastBit() {
    TScriptedDialogs dialogs;
    TDataEdit field(dialogs);
    const double depth = 70 * 0.3048; // 21.336000000000002
    field.SetNumber(depth);
    QCOMPARE(field.text(), QStringLiteral("21.336"));
    QCOMPARE(field.Number(), depth);
    QVERIFY(field.Evaluate());
    QCOMPARE(field.Number(), depth);
    field.setText(QStringLiteral("21.336"));
    QCOMPARE(field.Number(), depth); // the same text: still the value shown
    field.setText(QStringLiteral("21.3360"));
    QCOMPARE(field.Number(), 21.336); // another text: its own value
}

void TDataEditTest::ExitCheckGivesValueOrMessage() {
    const double none = TDataEdit::DefaultLimit;
    const struct {
        const char* Text;
        bool IntegerOnly;
        double Min, Max;
        bool Passes;
        const char* Message; // expected message; "" = none
        const char* After;   // text after the check
    } cases[] = {
        {"2*(3+4)", false, -none, none, true, "", "14"},
        {"1/3", false, -none, none, true, "", "0.33333333"},
        {"123456789", false, -none, none, true, "", "1.2345679E8"},
        {"2.5", true, -none, none, false, "Entry must be an integer.", "2.5"},
        {"abc", true, -none, none, false, "Entry must be a valid integer.", "abc"},
        {"abc", false, -none, none, false,
         "Entry could not be evaluated:\ninvalid character(s) in expression", "abc"},
        {"", false, -none, none, false, "Entry could not be evaluated:\nentry cannot be blank", ""},
        {"1/0", false, -none, none, false, "Entry could not be evaluated:\ndivision by zero",
         "1/0"},
        {"0", false, 1, none, false, "Entry must be greater than or equal to 1", "1"},
        {"31", false, -none, 30, false, "Entry must be less than or equal to 30", "30"},
        {"30", false, -none, 30, true, "", "30"},
        {"0.5", false, 0.5, 1, true, "", "0.5"},
    };
    for (const auto& c : cases) {
        TScriptedDialogs dialogs;
        TDataEdit field(dialogs);
        field.SetIntegerOnly(c.IntegerOnly);
        field.SetMaxVal(c.Max);
        field.SetMinVal(c.Min);
        field.setText(QString::fromLatin1(c.Text));
        const bool passed = field.Evaluate();
        const QString context = QStringLiteral("entry \"%1\"").arg(c.Text);
        QVERIFY2(passed == c.Passes, qPrintable(context));
        QCOMPARE(field.LastExit(), c.Passes);
        if (c.Passes) {
            QVERIFY2(dialogs.Messages.isEmpty(), qPrintable(context));
        } else {
            QCOMPARE(dialogs.TakeMessage(), QString::fromLatin1(c.Message));
        }
        QCOMPARE(field.text(), QString::fromLatin1(c.After));
    }
}

void TDataEditTest::LimitsMoveTheNumber() {
    TScriptedDialogs dialogs;
    TDataEdit field(dialogs);
    QCOMPARE(field.text(), QStringLiteral("0"));
    field.SetNumber(50);
    field.SetMaxVal(30); // the number is lowered to the new maximum
    QCOMPARE(field.text(), QStringLiteral("30"));
    field.SetMinVal(40); // a minimum above the maximum is lowered to it, the number follows
    QCOMPARE(field.MinVal(), 30.0);
    field.SetMaxVal(10); // and the mirror image
    QCOMPARE(field.MaxVal(), 30.0);
    field.SetNumber(-5); // clamped into the limits
    QCOMPARE(field.text(), QStringLiteral("30"));

    TDataEdit whole(dialogs);
    whole.SetIntegerOnly(true); // the default limits shrink to the 32-bit range
    QCOMPARE(whole.MaxVal(), 2147483647.0);
    QCOMPARE(whole.MinVal(), -2147483648.0);
    whole.SetMaxVal(1e12);
    QCOMPARE(whole.MaxVal(), 2147483647.0);
    whole.SetNumber(std::numeric_limits<double>::quiet_NaN());
    QCOMPARE(whole.text(), QStringLiteral("0"));
}

void TDataEditTest::LabelFollowsCaptionUnitsAndSystem() {
    TScriptedDialogs dialogs;
    QWidget window;
    auto* label = new QLabel(&window);
    auto* field = new TDataEdit(dialogs, &window);
    field->SetCaption(QStringLiteral("C"));
    field->SetEditLabel(label);
    QCOMPARE(label->text(), QStringLiteral("C"));
    QCOMPARE(label->buddy(), field);
    field->SetUnitsString(QStringLiteral("F/L²"));
    const struct {
        int Units;
        const char* Label;
    } systems[] = {
        {1, "C (lbs/in²)"}, {2, "C (kN/m²)"}, {3, "C (F/L²)"}, {0, "C (lbs/in²)"}, {7, "C (F/L²)"}};
    for (const auto& s : systems) {
        field->SetUnits(s.Units);
        QCOMPARE(label->text(), QString::fromUtf8(s.Label));
    }
    field->SetUnits(2);
    field->SetUnitsString(QStringLiteral("L2"));
    QCOMPARE(label->text(), QStringLiteral("C (m)"));
    field->setEnabled(false);
    QVERIFY(!label->isEnabled());
    field->setEnabled(true);
    QVERIFY(label->isEnabled());
}

void TDataEditTest::EnterEvaluatesAndOperatorsAppend() {
    TScriptedDialogs dialogs;
    TDataEdit field(dialogs);
    field.clear();
    QTest::keyClicks(&field, QStringLiteral("3+4"));
    QTest::keyClick(&field, Qt::Key_Return);
    QCOMPARE(field.text(), QStringLiteral("7"));
    QCOMPARE(field.selectedText(), QStringLiteral("7")); // Enter selects the whole value
    QTest::keyClicks(&field, QStringLiteral("*2"));      // an operator appends to the selection
    QTest::keyClick(&field, Qt::Key_Enter);
    QCOMPARE(field.text(), QStringLiteral("14"));
    QTest::keyClicks(&field, QStringLiteral("5")); // a digit replaces it
    QCOMPARE(field.text(), QStringLiteral("5"));
    QVERIFY(dialogs.Messages.isEmpty());
}

void TDataEditTest::CloseQueryReportsAFailingTextOnce() {
    TScriptedDialogs dialogs;
    TDataEdit field(dialogs);
    field.setText(QStringLiteral("2*"));
    QVERIFY(!field.CloseQuery());
    QCOMPARE(dialogs.TakeMessage(),
             QStringLiteral("Entry could not be evaluated:\ninvalid expression"));
    QVERIFY(!field.CloseQuery()); // the window asks again: refused, but not reported twice
    QVERIFY(dialogs.Messages.isEmpty());
    QVERIFY(!field.Evaluate()); // leaving the field or Enter reports every time
    QCOMPARE(dialogs.Messages.size(), 1);
    dialogs.Messages.clear();
    QTest::keyClick(&field, Qt::Key_Backspace); // an edit makes the next failure news again
    QTest::keyClicks(&field, QStringLiteral("(2"));
    QVERIFY(!field.CloseQuery());
    QCOMPARE(dialogs.Messages.size(), 1);
    field.setText(QStringLiteral("4"));
    QVERIFY(field.CloseQuery());
}

void TDataEditTest::HexShowsFourDigitsAtLeast() {
    TScriptedDialogs dialogs;
    TDataEdit field(dialogs);
    field.SetHex(true);
    field.SetNumber(255);
    QCOMPARE(field.text(), QStringLiteral("$00FF"));
    QCOMPARE(field.Number(), 255.0);
    field.SetNumber(-1);
    QCOMPARE(field.Number(), -1.0);
    QVERIFY(field.Evaluate());
    QCOMPARE(field.text(), QStringLiteral("$FFFFFFFFFFFFFFFF"));
}

QTEST_MAIN(TDataEditTest)
#include "dataedit_test.moc"
