// The trust dialog TTrustEdit: whether links must be signed, with the public key and the longest life of a
// link, and which sources PDFs may come from, one origin per line. A broken trust file is shown as it is,
// with why it is broken. Ok writes the user's trust file and closes the dialog with the OK result; a value
// that does not parse is shown in the editor's error box, and the dialog stays open with the input as typed.
// Nothing loosens, swaps or removes the policy in the file without the user's confirmation: Ok without a
// change leaves the file byte for byte, and Remove asks first. Cancel leaves the file as it was.
#pragma once

#include "app/trust/TrustPolicy.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;

class TTrustEdit : public QDialog {
    Q_OBJECT
public:
    // Shows Policy, as read from FilePath, the trust file that Ok writes.
    TTrustEdit(const TTrustPolicy& Policy, QString FilePath, QWidget* Parent = nullptr);

    QLabel* lBroken;          // why the file is broken; shown only then
    QPlainTextEdit* mmBroken; // what the broken file holds, read-only
    QCheckBox* cbSigned;
    QLineEdit* edPublicKey;
    QSpinBox* edMaxAge;
    QCheckBox* cbSources;
    QPlainTextEdit* mmSources;
    QPushButton* btRemove;
    QPushButton* btOk;
    QPushButton* btCancel;

    // Asks the user Question, Yes or No; true for Yes. A question box unless assigned.
    std::function<bool(const QString& Question)> OnConfirm;

    // Writes the file from the input, once the user has confirmed whatever it loosens, and closes the dialog
    // with the OK result; without a change, closes it and writes nothing. Raises ETrustError, the dialog
    // staying open, when the input does not parse or the file cannot be written.
    void btOkClick();
    // Removes the file once the user has confirmed it, and closes the dialog with the OK result.
    void btRemoveClick();

private:
    // Writes Policy once the user has confirmed what it loosens, and closes the dialog.
    void Save(const TTrustPolicy& Policy);

    TTrustPolicy FPolicy;
    QString FFilePath;
    bool FChanged = false;
};
