// The trust dialog TTrustEdit: whether links must be signed, with the public key and the longest life of a
// link, and which sources PDFs may come from, one origin per line. Ok writes the user's trust file and closes
// the dialog with the OK result; a value that does not parse is shown in the editor's error box, and the
// dialog stays open with the input as typed. Cancel leaves the file as it was.
#pragma once

#include "app/trust/TrustPolicy.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;

class TTrustEdit : public QDialog {
    Q_OBJECT
public:
    // Shows Policy, as read from FilePath, the trust file that Ok writes.
    TTrustEdit(const TTrustPolicy& Policy, QString FilePath, QWidget* Parent = nullptr);

    QCheckBox* cbSigned;
    QLineEdit* edPublicKey;
    QSpinBox* edMaxAge;
    QCheckBox* cbSources;
    QPlainTextEdit* mmSources;
    QPushButton* btOk;
    QPushButton* btCancel;

    // Writes the file from the input and closes the dialog with the OK result; raises ETrustError, the
    // dialog staying open, when the input does not parse or the file cannot be written.
    void btOkClick();

private:
    QString FFilePath;
};
