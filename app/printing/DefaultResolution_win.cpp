#include "app/printing/DefaultResolution.h"

#include <windows.h>

int DefaultResolution(const QString& PrinterName) {
    const std::wstring name = PrinterName.toStdWString();
    HDC dc = CreateDCW(L"WINSPOOL", name.c_str(), nullptr, nullptr);
    if (!dc)
        return 0;
    const int resolution = GetDeviceCaps(dc, LOGPIXELSX);
    DeleteDC(dc);
    return resolution;
}
