#include "app/ui/MessageBoxes.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMessageBox>

namespace MessageBoxes {

namespace {

std::function<void(const Shown&)>& recorder() {
    static std::function<void(const Shown&)> instance;
    return instance;
}

void show(QWidget* parent, const Shown& box) {
    if (recorder()) {
        recorder()(box);
        return;
    }
    QMessageBox dialog(QMessageBox::Critical, box.caption, box.text, QMessageBox::Ok, parent);
    dialog.exec();
}

} // namespace

QString ApplicationTitle(const QString& executablePath) {
    QString name = QFileInfo(executablePath).fileName();
    const qsizetype dot = name.indexOf(QLatin1Char('.'));
    if (dot >= 0)
        name.truncate(dot);
    if (name.size() > 1)
        name = name.left(1) + name.mid(1).toLower();
    return name;
}

QString WithFullStop(const QString& message) {
    if (!message.isEmpty() && message.back().unicode() > u'.')
        return message + QLatin1Char('.');
    return message;
}

void ShowError(const QString& message) {
    show(nullptr, {QStringLiteral("error"), ApplicationTitle(QCoreApplication::applicationFilePath()),
                   WithFullStop(message)});
}

void ShowEditorError(QWidget* parent, const QString& message) {
    show(parent, {QStringLiteral("editorError"), QStringLiteral("Error"), message});
}

void SetRecorder(std::function<void(const Shown&)> newRecorder) {
    recorder() = std::move(newRecorder);
}

} // namespace MessageBoxes
