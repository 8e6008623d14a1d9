#include "pdf/binding/LibraryLoader.h"

#include <windows.h>

namespace PDFium::LibraryLoader {

namespace {

QString SystemText(DWORD code) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                            FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    QString text = length ? QString::fromWCharArray(buffer, int(length)) : QString();
    LocalFree(buffer);
    return TrimSystemText(text);
}

} // namespace

void* Open(const QString& Name, QString& ErrorText) {
    HMODULE library = LoadLibraryW(reinterpret_cast<const wchar_t*>(Name.utf16()));
    if (!library)
        ErrorText = SystemText(GetLastError());
    return library;
}

void* Symbol(void* Library, const char* Name, QString& ErrorText) {
    FARPROC address = GetProcAddress(static_cast<HMODULE>(Library), Name);
    if (!address)
        ErrorText = SystemText(GetLastError());
    return reinterpret_cast<void*>(address);
}

void Close(void* Library) {
    FreeLibrary(static_cast<HMODULE>(Library));
}

// A library's imports are bound to the modules it names, never to one loaded earlier by another name.
bool OwnSymbolsFirst() {
    return true;
}

} // namespace PDFium::LibraryLoader
