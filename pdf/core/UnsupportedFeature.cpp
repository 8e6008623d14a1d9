#include "pdf/core/UnsupportedFeature.h"

#include "pdf/Pdf.h"
#include "pdf/engine/FPdfExt.h"

namespace PDFium {

namespace {

struct TUnsupportInfo {
    UNSUPPORT_INFO Info;
    TPdf* Pdf;
};

TUnsupportInfo UnsupportInfo{};

void UnsupportedFeatureHandler(UNSUPPORT_INFO* pThis, int nType) {
    TPdf* pdf = reinterpret_cast<TUnsupportInfo*>(pThis)->Pdf;
    if (pdf)
        pdf->NotifyUnsupportedFeature(DecodeFeature(nType));
}

} // namespace

void SetUnsupportedFeatureHandler(TPdf* Pdf) {
    UnsupportInfo.Info.version = 1;
    UnsupportInfo.Info.FSDK_UnSupport_Handler = &UnsupportedFeatureHandler;
    UnsupportInfo.Pdf = Pdf;
    Check(FSDK_SetUnSpObjProcessHandler(&UnsupportInfo.Info) != 0,
          QStringLiteral("Cannot set unsupported feature handler"));
}

void WithdrawUnsupportedFeatureHandler(TPdf* Pdf) {
    if (UnsupportInfo.Pdf == Pdf)
        UnsupportInfo.Pdf = nullptr;
}

} // namespace PDFium
