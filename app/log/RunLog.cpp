#include "app/log/RunLog.h"

#include "app/log/CheckDirectory.h"
#include "app/log/ExecutableFolder.h"

#include <QDateTime>
#include <QDir>
#include <QFile>

void WriteLog(const QString& Message) noexcept {
    try {
        const QString folder = ExecutableFolder::Path() + QStringLiteral("log") + QDir::separator();
        CheckDirectory(folder, true);
        // One reading of the clock names both the file and the line, so a line never lands in another day's
        // file.
        const QDateTime now = QDateTime::currentDateTime();
        QFile file(folder + now.toString(QStringLiteral("yyyyMMdd")) + QStringLiteral(".log"));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
            return;
        const QString line = now.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")) + QStringLiteral(": ") +
                             Message + QStringLiteral("\r\n");
        file.write(line.toLocal8Bit());
        file.close();
    } catch (...) {
        // The line is lost; the caller goes on as if it had been written.
    }
}
