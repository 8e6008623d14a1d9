#include "support/EngineCallLog.h"

using namespace PDFium;

EngineCallLog* EngineCallLog::Current = nullptr;

EngineCallLog::EngineCallLog() {
    LoadLibrary();
    Current = this;
    FLoadPage = std::exchange(FPDF_LoadPage, &LoadPage);
    FClosePage = std::exchange(FPDF_ClosePage, &ClosePage);
    FCloseDocument = std::exchange(FPDF_CloseDocument, &CloseDocument);
    FAfterLoadPage = std::exchange(FORM_OnAfterLoadPage, &AfterLoadPage);
    FBeforeClosePage = std::exchange(FORM_OnBeforeClosePage, &BeforeClosePage);
    FPageAction = std::exchange(FORM_DoPageAAction, &PageAction);
    FRenderPageBitmap = std::exchange(FPDF_RenderPageBitmap, &RenderPageBitmap);
}

EngineCallLog::~EngineCallLog() {
    FPDF_LoadPage = FLoadPage;
    FPDF_ClosePage = FClosePage;
    FPDF_CloseDocument = FCloseDocument;
    FORM_OnAfterLoadPage = FAfterLoadPage;
    FORM_OnBeforeClosePage = FBeforeClosePage;
    FORM_DoPageAAction = FPageAction;
    FPDF_RenderPageBitmap = FRenderPageBitmap;
    Current = nullptr;
}

QString EngineCallLog::PageName(FPDF_PAGE page) const {
    return QString::number(FPageNumbers.value(page));
}

FPDF_PAGE EngineCallLog::LoadPage(FPDF_DOCUMENT document, int index) {
    FPDF_PAGE page = Current->FLoadPage(document, index);
    if (page)
        Current->FPageNumbers.insert(page, index + 1);
    Current->FCalls.append(QStringLiteral("LoadPage %1%2").arg(index + 1).arg(page ? "" : " failed"));
    return page;
}

void EngineCallLog::ClosePage(FPDF_PAGE page) {
    Current->FCalls.append(QStringLiteral("ClosePage ") + Current->PageName(page));
    Current->FPageNumbers.remove(page);
    Current->FClosePage(page);
}

void EngineCallLog::CloseDocument(FPDF_DOCUMENT document) {
    Current->FCalls.append(QStringLiteral("CloseDocument"));
    Current->FCloseDocument(document);
}

void EngineCallLog::AfterLoadPage(FPDF_PAGE page, FPDF_FORMHANDLE form) {
    Current->FCalls.append(QStringLiteral("AfterLoadPage ") + Current->PageName(page));
    Current->FAfterLoadPage(page, form);
}

void EngineCallLog::BeforeClosePage(FPDF_PAGE page, FPDF_FORMHANDLE form) {
    Current->FCalls.append(QStringLiteral("BeforeClosePage ") + Current->PageName(page));
    Current->FBeforeClosePage(page, form);
}

void EngineCallLog::PageAction(FPDF_PAGE page, FPDF_FORMHANDLE form, int type) {
    const QString kind = type == FPDFPAGE_AACTION_OPEN    ? QStringLiteral("open")
                         : type == FPDFPAGE_AACTION_CLOSE ? QStringLiteral("close")
                                                          : QString::number(type);
    Current->FCalls.append(QStringLiteral("PageAction %1 %2").arg(Current->PageName(page), kind));
    Current->FPageAction(page, form, type);
}

void EngineCallLog::RenderPageBitmap(FPDF_BITMAP bitmap, FPDF_PAGE page, int left, int top, int width,
                                     int height, int rotate, int flags) {
    ++Current->FRenders;
    Current->FRenderPageBitmap(bitmap, page, left, top, width, height, rotate, flags);
}
