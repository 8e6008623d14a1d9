#include "app/uKestrovaEdit.h"

#include "app/ui/EventGuard.h"
#include "pdf/Exception.h"

#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int rowHeight = 23;
constexpr int labelWidth = 120;
constexpr int margin = 3;

template <class T> T* named(T* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QFrame* rowPanel(QWidget* owner, const char* name) {
    QFrame* panel = named(new QFrame(owner), name);
    panel->setFrameShape(QFrame::NoFrame);
    panel->setFixedHeight(rowHeight);
    auto* layout = new QHBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    return panel;
}

QLabel* rowLabel(QFrame* panel, const char* name, const QString& caption) {
    QLabel* label = named(new QLabel(caption, panel), name);
    label->setFixedWidth(labelWidth);
    panel->layout()->addWidget(label);
    return label;
}

// Blanks and control characters at either end do not count as input.
bool isBlank(const QString& text) {
    for (const QChar c : text)
        if (c.unicode() > u' ')
            return false;
    return true;
}

} // namespace

TPrintEdit::TPrintEdit(const QStringList& Printers, QWidget* Parent)
    : QDialog(Parent,
              Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    setWindowTitle(QStringLiteral("PrintEdit"));
    setFont(QFont(QStringLiteral("Tahoma"), 8));
    resize(294, 121);

    pModuleAddress = rowPanel(this, "pModuleAddress");
    lModuleAddress = rowLabel(pModuleAddress, "lModuleAddress", QStringLiteral("Module Address"));
    edModuleAddress = named(new QLineEdit(pModuleAddress), "edModuleAddress");
    pModuleAddress->layout()->addWidget(edModuleAddress);

    pModuleName = rowPanel(this, "pModuleName");
    lModuleName = rowLabel(pModuleName, "lModuleName", QStringLiteral("Module Name"));
    edModuleName = named(new QLineEdit(pModuleName), "edModuleName");
    pModuleName->layout()->addWidget(edModuleName);

    pSpecifyprintername = rowPanel(this, "pSpecifyprintername");
    lSpecifyprintername =
        rowLabel(pSpecifyprintername, "lSpecifyprintername", QStringLiteral("Specify printer name"));
    cbSpecifyprintername = named(new QComboBox(pSpecifyprintername), "cbSpecifyprintername");
    cbSpecifyprintername->setEditable(false);
    cbSpecifyprintername->addItems(Printers);
    cbSpecifyprintername->setCurrentIndex(-1);
    pSpecifyprintername->layout()->addWidget(cbSpecifyprintername);

    pButton = named(new QFrame(this), "pButton");
    pButton->setFrameShape(QFrame::NoFrame);
    btOk = named(new QPushButton(QStringLiteral("Ok"), pButton), "btOk");
    btOk->setFixedSize(75, 26);
    btOk->setAutoDefault(false);
    auto* buttonRow = new QHBoxLayout(pButton);
    buttonRow->setContentsMargins(0, 0, 0, 0);
    buttonRow->addStretch();
    buttonRow->addWidget(btOk, 0, Qt::AlignTop);

    auto* rows = new QVBoxLayout(this);
    rows->setContentsMargins(margin, margin, margin, margin);
    rows->setSpacing(2 * margin);
    for (QWidget* row : {static_cast<QWidget*>(pModuleAddress), static_cast<QWidget*>(pModuleName),
                         static_cast<QWidget*>(pSpecifyprintername)})
        rows->addWidget(row);
    rows->addWidget(pButton, 1);

    QWidget::setTabOrder(edModuleAddress, edModuleName);
    QWidget::setTabOrder(edModuleName, btOk);
    QWidget::setTabOrder(btOk, cbSpecifyprintername);
    edModuleAddress->setFocus();

    connect(btOk, &QPushButton::clicked, this, [this] { EventGuard::Run([this] { btOkClick(); }); });
}

void TPrintEdit::btOkClick() {
    if (isBlank(edModuleAddress->text())) {
        edModuleAddress->setFocus();
        throw Exception(lModuleAddress->text() + QStringLiteral(" Cannot be empty."));
    }
    if (isBlank(edModuleName->text())) {
        edModuleName->setFocus();
        throw Exception(lModuleName->text() + QStringLiteral(" Cannot be empty."));
    }
    if (cbSpecifyprintername->currentIndex() < 0)
        throw Exception(QStringLiteral("Please select a specified printer"));
    accept();
}

void TPrintEdit::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Escape:
        event->accept();
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (focusWidget() == btOk)
            btOk->click();
        event->accept();
        break;
    default:
        QDialog::keyPressEvent(event);
    }
}
