#include "pdf/binding/LibraryLoader.h"

#include <dlfcn.h>

namespace PDFium::LibraryLoader {

namespace {

// dlerror() words a failure as "<file>: <reason>[: <name>]". The binding adds the name itself, so only the
// reason is kept.
QString ReasonOf(const char* error, const QString& name) {
    QString text = error ? QString::fromLocal8Bit(error) : QStringLiteral("Unknown error");
    const int fileEnd = text.indexOf(QStringLiteral(": "));
    if (fileEnd > 0 && !text.left(fileEnd).contains(QLatin1Char(' ')))
        text = text.mid(fileEnd + 2);
    const QString nameSuffix = QStringLiteral(": ") + name;
    if (text.endsWith(nameSuffix))
        text.chop(nameSuffix.size());
    return TrimSystemText(text);
}

} // namespace

void* Open(const QString& Name, QString& ErrorText) {
    void* library = dlopen(Name.toLocal8Bit().constData(), RTLD_NOW | RTLD_LOCAL);
    if (!library)
        ErrorText = ReasonOf(dlerror(), Name);
    return library;
}

void* Symbol(void* Library, const char* Name, QString& ErrorText) {
    dlerror();
    void* address = dlsym(Library, Name);
    if (!address)
        ErrorText = ReasonOf(dlerror(), QString::fromLatin1(Name));
    return address;
}

void Close(void* Library) {
    dlclose(Library);
}

} // namespace PDFium::LibraryLoader
