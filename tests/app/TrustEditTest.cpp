// The trust policy in the settings window: its status and the dialog that edits the user's trust file, on the
// offscreen platform with every message box recorded.
#include "TrustFixtures.h"

#include "app/uKestrova.h"
#include "app/uKestrovaTrust.h"
#include "app/ui/MessageBoxes.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <gtest/gtest.h>

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
