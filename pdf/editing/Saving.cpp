// TPdf's saving: the engine serialises the document and pushes its bytes through a write callback into a
// stream. A file is written beside its target and takes the target's place only when the engine reported
// success and every byte reached the disk, so that a failed save, or a save over the file the engine is still
// reading the document from, never destroys what was there; a device or a pipe is written through, never
// replaced (FileSave.h).
#include "pdf/Pdf.h"

#include "pdf/WriteWhole.h"
#include "pdf/editing/FileSave.h"
#include "pdf/editing/XRefStreamRepair.h"
#include "pdf/engine/FPdfSave.h"

#include <QBuffer>
#include <QIODevice>

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
    CommitFormInput();
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
    TFileSave file(FileName);
    const TSaveOutcome outcome = WriteDocument(file.Device(), Option, PdfVersion);
    // A file that cannot be written says why; a save the engine gave up answers false. Either way, without
    // the commit what stood under the name stays as it was.
    Check(!outcome.WriteError, file.WriteError());
    if (!outcome.Saved)
        return false;
    file.Commit();
    return true;
}

} // namespace PDFium
