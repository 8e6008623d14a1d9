#include "app/ui/MessageBoxes.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>

#include <cstdio>

namespace MessageBoxes {

namespace {

std::function<void(const Shown&)>& recorder() {
    static std::function<void(const Shown&)> instance;
    return instance;
}

bool shownWithoutDisplay = false;

bool hasDisplay() {
    const QString platform = QGuiApplication::platformName();
    return platform != u"offscreen" && platform != u"minimal";
}

void show(QWidget* parent, const Shown& box) {
    if (recorder()) {
        recorder()(box);
        return;
    }
    if (!hasDisplay()) {
        shownWithoutDisplay = true;
        std::fprintf(stderr, "%s: %s\n", qUtf8Printable(box.caption), qUtf8Printable(box.text));
        std::fflush(stderr);
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

bool ShownWithoutDisplay() {
    return shownWithoutDisplay;
}

void SetRecorder(std::function<void(const Shown&)> newRecorder) {
    recorder() = std::move(newRecorder);
}

} // namespace MessageBoxes
