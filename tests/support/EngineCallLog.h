// Records the engine's page and form-fill page calls in order while it lives, and passes every call on to the
// real engine. A page is named by the 1-based number it was loaded with, so that the log tells the pages of
// several views apart.
#pragma once

#include "pdf/binding/Binding.h"
#include "pdf/engine/FPdfFormFill.h"
#include "pdf/engine/FPdfView.h"

#include <QHash>
#include <QStringList>

class EngineCallLog {
public:
    EngineCallLog();
    ~EngineCallLog();
    EngineCallLog(const EngineCallLog&) = delete;
    EngineCallLog& operator=(const EngineCallLog&) = delete;

    // The calls so far, e.g. "LoadPage 2", "AfterLoadPage 2", "PageAction 2 open"; Take empties the log.
    QStringList Calls() const { return FCalls; }
    QStringList Take() { return std::exchange(FCalls, {}); }
    // How often the engine was asked to render a page into a bitmap.
    int Renders() const { return FRenders; }

private:
    static EngineCallLog* Current;
    static PDFium::FPDF_PAGE LoadPage(PDFium::FPDF_DOCUMENT document, int index);
    static void ClosePage(PDFium::FPDF_PAGE page);
    static void CloseDocument(PDFium::FPDF_DOCUMENT document);
    static void AfterLoadPage(PDFium::FPDF_PAGE page, PDFium::FPDF_FORMHANDLE form);
    static void BeforeClosePage(PDFium::FPDF_PAGE page, PDFium::FPDF_FORMHANDLE form);
    static void PageAction(PDFium::FPDF_PAGE page, PDFium::FPDF_FORMHANDLE form, int type);
    static void RenderPageBitmap(PDFium::FPDF_BITMAP bitmap, PDFium::FPDF_PAGE page, int left, int top,
                                 int width, int height, int rotate, int flags);
    QString PageName(PDFium::FPDF_PAGE page) const;

    decltype(PDFium::FPDF_LoadPage) FLoadPage;
    decltype(PDFium::FPDF_ClosePage) FClosePage;
    decltype(PDFium::FPDF_CloseDocument) FCloseDocument;
    decltype(PDFium::FORM_OnAfterLoadPage) FAfterLoadPage;
    decltype(PDFium::FORM_OnBeforeClosePage) FBeforeClosePage;
    decltype(PDFium::FORM_DoPageAAction) FPageAction;
    decltype(PDFium::FPDF_RenderPageBitmap) FRenderPageBitmap;
    QHash<PDFium::FPDF_PAGE, int> FPageNumbers;
    QStringList FCalls;
    int FRenders = 0;
};
