// TPdf's saving: the engine serialises the document and pushes its bytes through a write callback into a
// stream. A file is written beside its target and takes the target's place only when the engine reported
// success and every byte reached the disk, so that a failed save, or a save over the file the engine is still
// reading the document from, never destroys what was there.
#include "pdf/Pdf.h"

#include "pdf/WriteWhole.h"
#include "pdf/editing/XRefStreamRepair.h"
#include "pdf/engine/FPdfSave.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QIODevice>
#include <QSaveFile>

namespace PDFium {

namespace {

// The engine's write record followed by the stream it writes to, so that WriteBlock finds the stream behind
// the record that the engine passes back; a failed write is kept here until the engine has returned.
struct TPdfWrite {
    FPDF_FILEWRITE Write;
    QIODevice* Stream;
    std::exception_ptr Error;
};

// Exactly size bytes at the stream's position; a stream that refuses them raises with its reason.
void WriteAll(QIODevice& stream, const char* data, qint64 size) {
    Check(WriteWhole(stream, data, size), QStringLiteral("Cannot write to stream: ") + stream.errorString());
}

// The engine's write callback. A failure answers 0, the engine's failure value, and its error waits in the
// record: nothing is thrown through the engine's frames.
int WriteBlock(FPDF_FILEWRITE* pThis, const void* pData, unsigned long size) {
    auto* record = reinterpret_cast<TPdfWrite*>(pThis);
    if (record->Error)
        return 0;
    try {
        WriteAll(*record->Stream, static_cast<const char*>(pData), static_cast<qint64>(size));
        return 1;
    } catch (...) {
        record->Error = std::current_exception();
        return 0;
    }
}

} // namespace

TPdf::TSaveOutcome TPdf::WriteDocument(QIODevice& Stream, TSaveOption Option, TPdfVersion PdfVersion) {
    // A field being edited in a page view keeps what was typed until it loses the focus: taken now, it is
    // saved.
    if (FFormHandle) {
        FORM_ForceToKillFocus(FFormHandle);
        RaiseCallbackError();
    }
    if (Option != saIncremental)
        return SaveThroughEngine(Stream, Option, PdfVersion);
    // An incremental save is held in memory until the cross-reference stream that the engine may have
    // appended is complete.
    QByteArray document;
    QBuffer buffer(&document);
    buffer.open(QIODevice::WriteOnly);
    TSaveOutcome outcome = SaveThroughEngine(buffer, Option, PdfVersion);
    if (!outcome.Saved || outcome.WriteError)
        return outcome;
    CompleteAppendedXRefStream(document);
    try {
        WriteAll(Stream, document.constData(), document.size());
    } catch (...) {
        outcome.WriteError = std::current_exception();
    }
    return outcome;
}

TPdf::TSaveOutcome TPdf::SaveThroughEngine(QIODevice& Stream, TSaveOption Option, TPdfVersion PdfVersion) {
    TPdfWrite record{};
    record.Write.version = 1;
    record.Write.WriteBlock = &WriteBlock;
    record.Stream = &Stream;
    const FPDF_DWORD flags = EncodeSaveOption(Option);
    const bool saved = PdfVersion == pvUnknown ? FPDF_SaveAsCopy(FDocument, &record.Write, flags) != 0
                                               : FPDF_SaveWithVersion(FDocument, &record.Write, flags,
                                                                      EncodePdfVersion(PdfVersion)) != 0;
    return {saved, record.Error};
}

bool TPdf::SaveAs(QIODevice& Stream, TSaveOption Option, TPdfVersion PdfVersion) {
    CheckActive();
    const TSaveOutcome outcome = WriteDocument(Stream, Option, PdfVersion);
    if (outcome.WriteError)
        std::rethrow_exception(outcome.WriteError);
    return outcome.Saved;
}

bool TPdf::SaveAs(const QString& FileName, TSaveOption Option, TPdfVersion PdfVersion) {
    CheckActive();
    const QFileInfo target(FileName);
    Check(
        !target.isDir(),
        QStringLiteral("Cannot create file \"%1\". It is a folder").arg(QDir::toNativeSeparators(FileName)));
    Check(target.absoluteDir().exists(),
          QStringLiteral("Cannot create file \"%1\". Its folder does not exist")
              .arg(QDir::toNativeSeparators(FileName)));
    QSaveFile file(FileName);
    // Unbuffered, so that every block reaches the file while the engine waits: a buffered file would report
    // a short write at its final flush as success, and commit a cut-off file.
    const auto cannot = [&](const char* what) {
        return QStringLiteral("Cannot %1 file \"%2\". %3")
            .arg(QLatin1String(what), QDir::toNativeSeparators(FileName), file.errorString());
    };
    Check(file.open(QIODevice::WriteOnly | QIODevice::Unbuffered), cannot("create"));
    const TSaveOutcome outcome = WriteDocument(file, Option, PdfVersion);
    // Without commit the new file is removed and the target stays as it was. A file that cannot be written
    // says why; a save the engine gave up answers false.
    Check(!outcome.WriteError, cannot("write"));
    if (!outcome.Saved)
        return false;
    Check(file.commit(), cannot("write"));
    return true;
}

} // namespace PDFium
