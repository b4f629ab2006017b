// The project title window. The title is a byte string, saved exactly as it was read: it is
// shown as UTF-8 when its bytes are valid UTF-8 and as Latin-1 otherwise (one character per
// byte, so nothing is replaced), and it is written back only when the user changed it.
#include "gui/dialogs/Title.h"

#include "gui/data/DataUnit.h"

#include <QLabel>
#include <QLineEdit>
#include <QStringDecoder>
#include <QVBoxLayout>

#include <algorithm>

namespace {
// Longest title the user may type; a longer one read from a file is kept whole.
constexpr int kTypedTitleLength = 80;

bool IsUtf8(const std::string& Bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text =
        decoder.decode(QByteArrayView(Bytes.data(), static_cast<qsizetype>(Bytes.size())));
    return !decoder.hasError();
}

bool FitsLatin1(const QString& Text) {
    return std::all_of(Text.begin(), Text.end(), [](QChar c) { return c.unicode() <= 0xFF; });
}
} // namespace

QString TitleText(const std::string& Bytes) {
    const QByteArrayView view(Bytes.data(), static_cast<qsizetype>(Bytes.size()));
    return IsUtf8(Bytes) ? QString::fromUtf8(view) : QString::fromLatin1(view);
}

std::string TitleBytes(const QString& Text, const std::string& Original) {
    // A title that came as Latin-1 stays Latin-1 as long as its characters allow.
    if (!IsUtf8(Original) && FitsLatin1(Text))
        return Text.toLatin1().toStdString();
    return Text.toUtf8().toStdString();
}

TdlgTitle::TdlgTitle(TProgramData& Project, TUserDialogs& Dialogs, QWidget* Parent)
    : TDataWindow(Project, Dialogs, Parent) {
    setWindowTitle(QStringLiteral("Project Title"));
    auto* layout = new QVBoxLayout(this);
    auto* prompt = new QLabel(QStringLiteral("Enter line of text for project description:"));
    edtTitle = new QLineEdit; // one line: Enter never starts a second one
    edtTitle->setMaxLength(kTypedTitleLength);
    edtTitle->setMinimumWidth(480);
    prompt->setBuddy(edtTitle);
    layout->addWidget(prompt);
    layout->addWidget(edtTitle);
    layout->addStretch();
}

void TdlgTitle::LoadFromProject() {
    fShown = TitleText(fProject.Title);
    // The field's limit would cut a longer title as it is shown; typing is what it limits.
    edtTitle->setMaxLength(std::max(kTypedTitleLength, static_cast<int>(fShown.size())));
    edtTitle->setText(fShown);
}

bool TdlgTitle::StoreToProject() {
    if (edtTitle->text() != fShown) {
        Put(fProject.Title, TitleBytes(edtTitle->text(), fProject.Title));
        fShown = edtTitle->text();
    }
    return true;
}
