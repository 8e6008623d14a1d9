#include "pdf/binding/LibraryLoader.h"

namespace PDFium::LibraryLoader {

QString TrimSystemText(QString Text) {
    while (!Text.isEmpty()) {
        const QChar last = Text.back();
        if (!last.isSpace() && last.category() != QChar::Other_Control && last != QLatin1Char('.'))
            break;
        Text.chop(1);
    }
    return Text;
}

} // namespace PDFium::LibraryLoader
