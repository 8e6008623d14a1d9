// The trust policy in the settings window: its status and the dialog that edits the user's trust file, on the
// offscreen platform with every message box and question recorded.
#include "TrustFixtures.h"

#include "app/uKestrova.h"
#include "app/uKestrovaTrust.h"
#include "app/ui/MessageBoxes.h"

#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

class TrustEdit : public TrustFolder {
protected:
    void SetUp() override {
        TrustFolder::SetUp();
        MessageBoxes::SetRecorder([this](const MessageBoxes::Shown& box) { Boxes.append(box.text); });
    }
    void TearDown() override {
        MessageBoxes::SetRecorder({});
        TrustFolder::TearDown();
    }

    QStringList Boxes;
};

TEST_F(TrustEdit, SettingsWindowShowsThePolicyInForceBesideItsButtons) {
    {
        TPrint form{QString()};
        EXPECT_EQ(form.lTrust->text(), "Any link");
        EXPECT_EQ(form.lTrust->toolTip(), "Every link is taken: there is no trust file.");
        EXPECT_TRUE(form.btTrust->isEnabled());
        EXPECT_EQ(form.btTrust->size(), QSize(75, 27));
        EXPECT_EQ(form.size(), QSize(382, 389));
        EXPECT_EQ(form.btTrust->parentWidget(), form.pButton);
    }
    Write(TrustFilePath(),
          "[sources]\nallow=https://erp.example.test\n[signing]\npublic-key=" + Key.PublicKeyBase64() + "\n");
    {
        TPrint form{QString()};
        EXPECT_EQ(form.lTrust->text(), "Signed\n1 source");
        EXPECT_EQ(form.size(), QSize(382, 389));
        EXPECT_EQ(form.lTrust->toolTip(), "Links must be signed and live at most 300 seconds. PDFs only "
                                          "from: https://erp.example.test:443. (" +
                                              TrustFilePath() + ")");
    }
    Write(SystemTrustFilePath(), "[signing]\npublic-key=broken\n");
    TPrint form{QString()};
    EXPECT_EQ(form.lTrust->text(), "Broken\ntrust file");
    EXPECT_FALSE(form.btTrust->isEnabled()) << "the administrator's file is not edited here";
    EXPECT_EQ(form.btTrust->toolTip(), "Set by the administrator in " + SystemTrustFilePath());
    EXPECT_EQ(Boxes, QStringList());
}

// A link that cannot be read leaves the designed layout, Trust among its buttons: under the administrator's
// policy it is disabled there too.
TEST_F(TrustEdit, TrustStaysDisabledUnderTheAdministratorsPolicyAfterALinkThatCannotBeRead) {
    WriteSystemFile("[signing]\npublic-key=" + Key.PublicKeyBase64() + "\n");
    TPrint form{"kestrova://print/?moduleaddress=%C0%AF&pdfurl=x"};
    ASSERT_EQ(Boxes.size(), 1);
    EXPECT_TRUE(Boxes[0].contains("moduleaddress")) << Boxes[0].toStdString();
    EXPECT_TRUE(form.pButton->isVisibleTo(&form));
    EXPECT_FALSE(form.btTrust->isEnabled());
}

// A broken file is shown as it is and why; Ok without a change writes nothing, and only a confirmed Remove
// removes it.
TEST_F(TrustEdit, BrokenFileIsShownAndKeptUntilTheUserConfirmsItsRemoval) {
    const QByteArray broken =
        "[sources]\nallow=https://erp.example.test\n[signing]\npublic-key=" + Key.PublicKeyBase64().left(20) +
        "\n";
    Write(TrustFilePath(), broken);
    QStringList questions;
    bool answer = false;
    const auto dialog = [&] {
        auto edit = std::make_unique<TTrustEdit>(ReadTrustPolicy(TrustFilePath()), TrustFilePath());
        edit->OnConfirm = [&](const QString& question) {
            questions.append(question);
            return answer;
        };
        return edit;
    };
    const auto fileText = [&] {
        QFile file(TrustFilePath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(gone)");
    };

    auto edit = dialog();
    EXPECT_FALSE(edit->lBroken->isHidden());
    EXPECT_TRUE(edit->lBroken->text().contains("line 4: public-key is no Ed25519 public key in base64"))
        << edit->lBroken->text().toStdString();
    EXPECT_EQ(edit->mmBroken->toPlainText().toUtf8(), broken);
    edit->btOk->click();
    EXPECT_EQ(edit->result(), QDialog::Accepted);
    EXPECT_EQ(fileText(), broken);
    EXPECT_EQ(questions, QStringList());

    edit = dialog();
    edit->btRemove->click();
    EXPECT_EQ(questions,
              QStringList{"Remove the trust file \"" + TrustFilePath() + "\"? Every link is then taken."});
    EXPECT_EQ(fileText(), broken) << "the user said no";
    edit->cbSources->setChecked(true);
    edit->mmSources->setPlainText("https://erp.example.test");
    edit->btOk->click();
    EXPECT_TRUE(questions.last().endsWith(
        "refuses: the broken file, which refuses every link, is replaced. Write it?"))
        << questions.last().toStdString();
    EXPECT_EQ(fileText(), broken) << "the user said no";

    answer = true;
    edit->btRemove->click();
    EXPECT_EQ(edit->result(), QDialog::Accepted);
    EXPECT_FALSE(QFileInfo::exists(TrustFilePath()));
    EXPECT_EQ(Boxes, QStringList());
}

// Whatever takes links that the file refuses is written only once the user confirms it, each way named.
TEST_F(TrustEdit, LooseningThePolicyAsksFirst) {
    const OpenSslKey other(Folder.path(), "other");
    WriteTrustPolicy(TrustFilePath(),
                     TrustPolicyOf(QStringList{"https://erp.example.test"}, Key.PublicKeyBase64(), 300));
    const TTrustPolicy before = ReadTrustPolicy(TrustFilePath());
    const struct {
        std::function<void(TTrustEdit&)> Change;
        QString Loosened; // empty: nothing is asked
    } cases[] = {
        {[](TTrustEdit& d) { d.cbSigned->setChecked(false); }, "links need no signature"},
        {[&](TTrustEdit& d) { d.edPublicKey->setText(other.PublicKeyBase64()); },
         "links signed with another key are taken"},
        {[](TTrustEdit& d) { d.edMaxAge->setValue(600); }, "links may live 600 seconds instead of 300"},
        {[](TTrustEdit& d) { d.cbSources->setChecked(false); }, "PDFs may come from any source"},
        {[](TTrustEdit& d) { d.mmSources->appendPlainText("http://127.0.0.1:8080"); },
         "PDFs may also come from http://127.0.0.1:8080"},
        {[](TTrustEdit& d) { d.edMaxAge->setValue(60); }, ""},
    };
    for (const auto& change : cases) {
        WriteTrustPolicy(TrustFilePath(), before);
        QStringList questions;
        TTrustEdit edit(before, TrustFilePath());
        edit.OnConfirm = [&](const QString& question) {
            questions.append(question);
            return false;
        };
        change.Change(edit);
        edit.btOk->click();
        if (change.Loosened.isEmpty()) {
            EXPECT_EQ(questions, QStringList());
            EXPECT_EQ(ReadTrustPolicy(TrustFilePath()).MaxAge, 60);
            continue;
        }
        ASSERT_EQ(questions.size(), 1) << change.Loosened.toStdString();
        EXPECT_EQ(questions[0], "This policy takes links that \"" + TrustFilePath() +
                                    "\" refuses: " + change.Loosened + ". Write it?");
        const TTrustPolicy after = ReadTrustPolicy(TrustFilePath());
        EXPECT_EQ(after.PublicKey, before.PublicKey);
        EXPECT_EQ(after.MaxAge, before.MaxAge);
        EXPECT_EQ(after.Sources->Origins(), before.Sources->Origins());
    }
    EXPECT_EQ(Boxes, QStringList());
}

TEST_F(TrustEdit, OkWritesTheUsersTrustFile) {
    TTrustEdit dialog(ReadTrustPolicy(TrustFilePath()), TrustFilePath());
    EXPECT_FALSE(dialog.cbSigned->isChecked());
    EXPECT_FALSE(dialog.edPublicKey->isEnabled());
    dialog.cbSigned->setChecked(true);
    EXPECT_TRUE(dialog.edPublicKey->isEnabled());
    dialog.edPublicKey->setText(QString::fromLatin1(Key.PublicKeyBase64()));
    dialog.edMaxAge->setValue(60);
    dialog.cbSources->setChecked(true);
    dialog.mmSources->setPlainText("https://erp.example.test\n\nhttp://127.0.0.1:8080\n");
    dialog.btOk->click();
    EXPECT_EQ(Boxes, QStringList());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);

    const TTrustPolicy policy = ReadTrustPolicy(TrustFilePath());
    EXPECT_EQ(policy.Error, "");
    EXPECT_EQ(policy.PublicKey.toBase64(), Key.PublicKeyBase64());
    EXPECT_EQ(policy.MaxAge, 60);
    ASSERT_TRUE(policy.Sources);
    EXPECT_EQ(policy.Sources->Origins(),
              (QStringList{"https://erp.example.test:443", "http://127.0.0.1:8080"}));

    TTrustEdit again(policy, TrustFilePath());
    EXPECT_TRUE(again.cbSigned->isChecked());
    EXPECT_EQ(again.edPublicKey->text().toLatin1(), Key.PublicKeyBase64());
    EXPECT_EQ(again.edMaxAge->value(), 60);
    EXPECT_EQ(again.mmSources->toPlainText(), "https://erp.example.test:443\nhttp://127.0.0.1:8080");
}

TEST_F(TrustEdit, InputThatDoesNotParseIsShownAndNothingWritten) {
    const struct {
        bool Signed;
        QString PublicKey;
        QString Sources;
        QString Message;
    } cases[] = {
        {true, "", "", "Enter the public key that signs the links"},
        {true, "MCowBQ", "", "public-key is no Ed25519 public key in base64"},
        {false, "", "erp.example.test", "\"erp.example.test\" is not an origin (scheme://host[:port])"},
    };
    for (const auto& input : cases) {
        Boxes.clear();
        TTrustEdit dialog(ReadTrustPolicy(TrustFilePath()), TrustFilePath());
        dialog.show();
        dialog.cbSigned->setChecked(input.Signed);
        dialog.edPublicKey->setText(input.PublicKey);
        dialog.cbSources->setChecked(!input.Sources.isEmpty());
        dialog.mmSources->setPlainText(input.Sources);
        dialog.btOk->click();
        EXPECT_EQ(Boxes, QStringList{input.Message});
        EXPECT_TRUE(dialog.isVisible()) << "the dialog stays open with the input as typed";
        EXPECT_FALSE(QFile::exists(TrustFilePath()));
    }
}

} // namespace
