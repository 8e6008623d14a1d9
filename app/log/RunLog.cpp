#include "app/log/RunLog.h"

#include "app/log/CheckDirectory.h"
#include "app/log/DataFolder.h"

#include <QDateTime>
#include <QDir>
#include <QFile>

namespace {

// A message stays on its one line: control characters, which could end it and forge further lines, are
// written as %XX.
QString asOneLine(const QString& message) {
    QString line;
    line.reserve(message.size());
    for (const QChar c : message) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            line += QString::asprintf("%%%02X", c.unicode());
        else
            line += c;
    }
    return line;
}

} // namespace

void WriteLog(const QString& Message) noexcept {
    try {
        const QString folder = DataFolder::Path() + QStringLiteral("log") + QDir::separator();
        CheckDirectory(folder, true);
        // One reading of the clock names both the file and the line, so a line never lands in another day's
        // file.
        const QDateTime now = QDateTime::currentDateTime();
        QFile file(folder + now.toString(QStringLiteral("yyyyMMdd")) + QStringLiteral(".log"));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
            return;
        const QString line = now.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")) + QStringLiteral(": ") +
                             asOneLine(Message) + QStringLiteral("\r\n");
        file.write(line.toLocal8Bit());
        file.close();
    } catch (...) {
        // The line is lost; the caller goes on as if it had been written.
    }
}
