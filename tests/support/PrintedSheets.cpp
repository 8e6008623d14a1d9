#include "support/PrintedSheets.h"

#include "support/Programs.h"
#include "support/PwgRaster.h"

#include <QDir>
#include <QRect>
#include <QStringList>
#include <QTemporaryDir>

namespace {

// The sheets a PostScript printer makes of the document at Path, as Ghostscript prints them at Dpi.
QList<QImage> GhostscriptSheets(const QString& Path, int Dpi) {
    QTemporaryDir folder;
    RunProgram(QStringLiteral("gs"),
               {QStringLiteral("-q"), QStringLiteral("-dSAFER"), QStringLiteral("-dBATCH"),
                QStringLiteral("-dNOPAUSE"), QStringLiteral("-sDEVICE=pgmraw"),
                QStringLiteral("-r%1").arg(Dpi),
                QStringLiteral("-sOutputFile=") + folder.filePath(QStringLiteral("sheet-%04d.pgm")), Path});
    QList<QImage> sheets;
    for (const QString& sheet :
         QDir(folder.path()).entryList({QStringLiteral("sheet-*.pgm")}, QDir::Files, QDir::Name))
        sheets.append(QImage(folder.filePath(sheet)).convertToFormat(QImage::Format_Grayscale8));
    return sheets;
}

} // namespace

QImage PopplerPage(const QString& Path, int PageNumber, int Dpi, QSize Size) {
    QTemporaryDir folder;
    const QString page = QString::number(PageNumber);
    QStringList arguments{
        QStringLiteral("-gray"),       QStringLiteral("-f"),  page, QStringLiteral("-l"), page,
        QStringLiteral("-singlefile"), QStringLiteral("-png")};
    if (Size.isValid())
        arguments << QStringLiteral("-scale-to-x") << QString::number(Size.width())
                  << QStringLiteral("-scale-to-y") << QString::number(Size.height());
    else
        arguments << QStringLiteral("-r") << QString::number(Dpi);
    arguments << Path << folder.filePath(QStringLiteral("page"));
    RunProgram(QStringLiteral("pdftoppm"), arguments);
    return QImage(folder.filePath(QStringLiteral("page.png"))).convertToFormat(QImage::Format_Grayscale8);
}

double MeanDifference(const QImage& A, const QImage& B) {
    if (A.size() != B.size() || A.isNull())
        return 255;
    double sum = 0;
    for (int y = 0; y < A.height(); ++y) {
        const uchar* a = A.constScanLine(y);
        const uchar* b = B.constScanLine(y);
        for (int x = 0; x < A.width(); ++x)
            sum += std::abs(int(a[x]) - int(b[x]));
    }
    return sum / (double(A.width()) * A.height());
}

QList<QImage> PrintedSheets(const QString& Path, int Dpi) {
    QList<QImage> sheets;
    if (Path.endsWith(QStringLiteral(".pwg"))) {
        for (const PwgPage& page : ReadPwgRaster(Path))
            sheets.append(page.Pixels);
        return sheets;
    }
    if (Path.endsWith(QStringLiteral(".ps")))
        return GhostscriptSheets(Path, Dpi);
    const int pages = PdfInfoField(Path, QStringLiteral("Pages")).toInt();
    for (int page = 1; page <= pages; ++page)
        sheets.append(PopplerPage(Path, page, Dpi));
    return sheets;
}

QRect DarkArea(const QImage& Image) {
    QRect area;
    for (int y = 0; y < Image.height(); ++y) {
        const uchar* line = Image.constScanLine(y);
        for (int x = 0; x < Image.width(); ++x)
            if (line[x] < 128)
                area |= QRect(x, y, 1, 1);
    }
    return area;
}

double MeanLevel(const QImage& Image, const QRect& Area) {
    const QRect inside = Area & Image.rect();
    if (inside.isEmpty())
        return -1;
    double sum = 0;
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        const uchar* line = Image.constScanLine(y);
        for (int x = inside.left(); x <= inside.right(); ++x)
            sum += line[x];
    }
    return sum / (double(inside.width()) * inside.height());
}
