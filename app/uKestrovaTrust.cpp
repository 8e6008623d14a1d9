#include "app/uKestrovaTrust.h"

#include "app/trust/ETrustError.h"
#include "app/trust/TrustChange.h"
#include "app/ui/MessageBoxes.h"
#include "pdf/Exception.h"

#include <QCheckBox>
#include <QFile>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
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
// As much of a broken file as the dialog shows.
constexpr qint64 LongestShown = 64 * 1024;

// The file's text as far as it can be shown: what is no UTF-8 or a control character as the replacement
// character.
QString shownText(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    QString text = QString::fromUtf8(file.read(LongestShown));
    for (QChar& c : text)
        if ((c.unicode() < 0x20 && c != u'\n' && c != u'\t') || c.unicode() == 0x7f)
            c = QChar::ReplacementCharacter;
    return text;
}

} // namespace

TTrustEdit::TTrustEdit(const TTrustPolicy& Policy, QString FilePath, QWidget* Parent)
    : QDialog(Parent,
              Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      FPolicy(Policy), FFilePath(std::move(FilePath)) {
    setObjectName(QStringLiteral("TrustEdit"));
    setWindowTitle(QStringLiteral("Trust"));
    setFont(QFont(QStringLiteral("Tahoma"), 8));
    resize(360, 260);
    OnConfirm = [this](const QString& question) {
        return QMessageBox::question(this, windowTitle(), question, QMessageBox::Yes | QMessageBox::No,
                                     QMessageBox::No) == QMessageBox::Yes;
    };

    const bool broken = !Policy.Error.isEmpty();
    lBroken = named(new QLabel(this), "lBroken");
    lBroken->setWordWrap(true);
    lBroken->setVisible(broken);
    mmBroken = named(new QPlainTextEdit(this), "mmBroken");
    mmBroken->setReadOnly(true);
    mmBroken->setVisible(broken);
    if (broken) {
        lBroken->setText(
            QStringLiteral("This trust file is broken and refuses every link: %1. It stays as it "
                           "is until you write a new policy or remove it.")
                .arg(Policy.Error));
        mmBroken->setPlainText(shownText(Policy.FilePath));
    }

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
    btRemove = named(new QPushButton(QStringLiteral("Remove"), this), "btRemove");
    btRemove->setEnabled(Policy.Present());
    btRemove->setToolTip(QStringLiteral("Removes the trust file: every link is then taken"));
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
    const auto changed = [this] {
        FChanged = true;
    };
    connect(cbSigned, &QCheckBox::toggled, this, changed);
    connect(cbSources, &QCheckBox::toggled, this, changed);
    connect(edPublicKey, &QLineEdit::textChanged, this, changed);
    connect(edMaxAge, &QSpinBox::valueChanged, this, changed);
    connect(mmSources, &QPlainTextEdit::textChanged, this, changed);

    auto* rows = new QVBoxLayout(this);
    rows->addWidget(lBroken);
    rows->addWidget(mmBroken, 1);
    rows->addWidget(cbSigned);
    auto* signing = new QFormLayout;
    signing->addRow(QStringLiteral("Public key:"), edPublicKey);
    signing->addRow(QStringLiteral("Longest life:"), edMaxAge);
    rows->addLayout(signing);
    rows->addWidget(cbSources);
    rows->addWidget(mmSources, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btRemove);
    buttons->addStretch(1);
    buttons->addWidget(btOk);
    buttons->addWidget(btCancel);
    rows->addLayout(buttons);

    const auto guarded = [this](void (TTrustEdit::*click)()) {
        return [this, click] {
            try {
                (this->*click)();
            } catch (const Exception& error) {
                MessageBoxes::ShowEditorError(this, error.Message());
            }
        };
    };
    connect(btOk, &QPushButton::clicked, this, guarded(&TTrustEdit::btOkClick));
    connect(btRemove, &QPushButton::clicked, this, guarded(&TTrustEdit::btRemoveClick));
    connect(btCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TTrustEdit::btOkClick() {
    if (!FChanged)
        return accept();
    std::optional<QStringList> sources;
    if (cbSigned->isChecked() && edPublicKey->text().trimmed().isEmpty())
        throw ETrustError(QStringLiteral("Enter the public key that signs the links"));
    if (cbSources->isChecked())
        sources = mmSources->toPlainText().split(u'\n', Qt::SkipEmptyParts);
    Save(TrustPolicyOf(sources, cbSigned->isChecked() ? edPublicKey->text() : QString(), edMaxAge->value()));
}

void TTrustEdit::btRemoveClick() {
    Save(TTrustPolicy());
}

void TTrustEdit::Save(const TTrustPolicy& Policy) {
    const bool removes = !Policy.Sources && !Policy.RequiresSignature();
    const QStringList loosened = WhatItLoosens(FPolicy, Policy);
    if (removes && FPolicy.Present()) {
        if (!OnConfirm(
                QStringLiteral("Remove the trust file \"%1\"? Every link is then taken.").arg(FFilePath)))
            return;
    } else if (!loosened.isEmpty() &&
               !OnConfirm(QStringLiteral("This policy takes links that \"%1\" refuses: %2. Write it?")
                              .arg(FFilePath, loosened.join(QStringLiteral("; "))))) {
        return;
    }
    WriteTrustPolicy(FFilePath, Policy);
    accept();
}
