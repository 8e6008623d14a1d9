#include "app/uKestrovaTrust.h"

#include "app/trust/ETrustError.h"
#include "app/ui/MessageBoxes.h"
#include "pdf/Exception.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

namespace {

template <class T> T* named(T* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

constexpr int LongestMaxAge = int(TTrustPolicy::LongestMaxAge);

} // namespace

TTrustEdit::TTrustEdit(const TTrustPolicy& Policy, QString FilePath, QWidget* Parent)
    : QDialog(Parent,
              Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      FFilePath(std::move(FilePath)) {
    setObjectName(QStringLiteral("TrustEdit"));
    setWindowTitle(QStringLiteral("Trust"));
    setFont(QFont(QStringLiteral("Tahoma"), 8));
    resize(360, 260);

    cbSigned = named(new QCheckBox(QStringLiteral("Links must be signed"), this), "cbSigned");
    cbSigned->setChecked(Policy.RequiresSignature());
    edPublicKey = named(new QLineEdit(QString::fromLatin1(Policy.PublicKey.toBase64()), this), "edPublicKey");
    edPublicKey->setPlaceholderText(QStringLiteral("Ed25519 public key, base64 (kestrova-link keygen)"));
    edMaxAge = named(new QSpinBox(this), "edMaxAge");
    edMaxAge->setRange(1, LongestMaxAge);
    edMaxAge->setSuffix(QStringLiteral(" s"));
    edMaxAge->setValue(int(std::clamp<qint64>(Policy.MaxAge, 1, LongestMaxAge)));
    cbSources = named(new QCheckBox(QStringLiteral("PDFs only from these sources:"), this), "cbSources");
    cbSources->setChecked(Policy.Sources.has_value());
    mmSources = named(new QPlainTextEdit(this), "mmSources");
    mmSources->setPlaceholderText(QStringLiteral("https://erp.example.test"));
    if (Policy.Sources)
        mmSources->setPlainText(Policy.Sources->Origins().join(u'\n'));
    btOk = named(new QPushButton(QStringLiteral("Ok"), this), "btOk");
    btCancel = named(new QPushButton(QStringLiteral("Cancel"), this), "btCancel");

    const auto enable = [this] {
        edPublicKey->setEnabled(cbSigned->isChecked());
        edMaxAge->setEnabled(cbSigned->isChecked());
        mmSources->setEnabled(cbSources->isChecked());
    };
    enable();
    connect(cbSigned, &QCheckBox::toggled, this, enable);
    connect(cbSources, &QCheckBox::toggled, this, enable);

    auto* rows = new QVBoxLayout(this);
    rows->addWidget(cbSigned);
    auto* signing = new QFormLayout;
    signing->addRow(QStringLiteral("Public key:"), edPublicKey);
    signing->addRow(QStringLiteral("Longest life:"), edMaxAge);
    rows->addLayout(signing);
    rows->addWidget(cbSources);
    rows->addWidget(mmSources, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btOk);
    buttons->addWidget(btCancel);
    rows->addLayout(buttons);

    connect(btOk, &QPushButton::clicked, this, [this] {
        try {
            btOkClick();
        } catch (const Exception& error) {
            MessageBoxes::ShowEditorError(this, error.Message());
        }
    });
    connect(btCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TTrustEdit::btOkClick() {
    std::optional<QStringList> sources;
    if (cbSigned->isChecked() && edPublicKey->text().trimmed().isEmpty())
        throw ETrustError(QStringLiteral("Enter the public key that signs the links"));
    if (cbSources->isChecked())
        sources = mmSources->toPlainText().split(u'\n', Qt::SkipEmptyParts);
    WriteTrustPolicy(FFilePath, sources, cbSigned->isChecked() ? edPublicKey->text() : QString(),
                     edMaxAge->value());
    accept();
}
