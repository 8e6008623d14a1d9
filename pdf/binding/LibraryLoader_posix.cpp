#include "pdf/binding/LibraryLoader.h"

#include <dlfcn.h>

namespace PDFium::LibraryLoader {

namespace {

// glibc's loader would otherwise bind every call of the engine to the first definition in the process, so
// the engine would run on the system's FreeType. The address sanitizer's runtime refuses RTLD_DEEPBIND.
#if defined(__SANITIZE_ADDRESS__)
#define KESTROVA_ADDRESS_SANITIZER
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KESTROVA_ADDRESS_SANITIZER
#endif
#endif
#if defined(RTLD_DEEPBIND) && !defined(KESTROVA_ADDRESS_SANITIZER)
constexpr int OwnSymbolsFlag = RTLD_DEEPBIND;
#else
constexpr int OwnSymbolsFlag = 0;
#endif

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
    void* library = dlopen(Name.toLocal8Bit().constData(), RTLD_NOW | RTLD_LOCAL | OwnSymbolsFlag);
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

bool OwnSymbolsFirst() {
    return OwnSymbolsFlag != 0;
}

} // namespace PDFium::LibraryLoader
