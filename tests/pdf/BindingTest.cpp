#include "pdf/binding/Binding.h"
#include "ErrorOf.h"
#include "pdf/Pdf.h"
#include "pdf/binding/ArithmeticMask.h"
#include "pdf/binding/EntryPoints.h"
#include "support/EngineLibrary.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace PDFium;

namespace {

QString StubPath(const char* name) {
    return QStringLiteral(KESTROVA_STUB_DIR "/lib%1.so").arg(name);
}

QStringList StubLog(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLatin1(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

} // namespace

TEST(Binding, ResolvesEveryEntryPointOnceInLookupOrder) {
    const QStringList names = EntryPointNames();
    EXPECT_EQ(names.size(), 336);
    EXPECT_EQ(names.first(), "FPDF_InitLibrary");
    EXPECT_EQ(names.last(), "FPDFPage_GetThumbnailAsBitmap");
    EXPECT_EQ(QSet<QString>(names.begin(), names.end()).size(), 336);
    int optional = 0;
    for (const QString& name : names)
        optional += IsOptionalEntryPoint(name) ? 1 : 0;
    EXPECT_EQ(optional, 15);
}

TEST(Binding, LoadsTheRealEngineOnceAndUnloads) {
    ScopedLibraryName real(LibraryName);
    LoadLibrary();
    ASSERT_TRUE(Loaded());
    const auto renderPage = FPDF_RenderPageBitmap;
    LoadLibrary();
    EXPECT_EQ(FPDF_RenderPageBitmap, renderPage);
    // Today's engine lacks the device-context renderer and the image entry points: ours stand in.
    EXPECT_NE(FPDF_RenderPage, nullptr);
    EXPECT_NE(FPDFPageObj_GetImage, nullptr);
    EXPECT_NE(FPDFPageObj_GetDIB, nullptr);
    UnloadLibrary();
    EXPECT_FALSE(Loaded());
    UnloadLibrary();
    EXPECT_FALSE(Loaded());
}

TEST(Binding, MissingLibraryNamesItselfAndACorrectedNameLoads) {
    ScopedLibraryName missing(QStringLiteral("libkestrova-no-such-engine.so"));
    TPdf pdf;
    const QString message = ErrorOf([&] { pdf.CreateDocument(); });
    EXPECT_TRUE(message.endsWith(": libkestrova-no-such-engine.so")) << message.toStdString();
    EXPECT_GT(message.size(), QStringLiteral(": libkestrova-no-such-engine.so").size());
    EXPECT_FALSE(Loaded());
    EXPECT_FALSE(pdf.Active());

    LibraryName = QStringLiteral("libpdfium.so");
    pdf.CreateDocument();
    EXPECT_TRUE(pdf.Active());
}

TEST(Binding, MissingMandatoryEntryPointNamesTheFirstAndUnloads) {
    QTemporaryDir dir;
    const QString log = dir.filePath("calls.log");
    qputenv("KESTROVA_STUB_LOG", log.toLocal8Bit());
    ScopedLibraryName stub(StubPath("engine_stub_missing_two"));

    const QString message = ErrorOf([] { LoadLibrary(); });
    EXPECT_TRUE(message.endsWith(": FPDF_LoadPage")) << message.toStdString();
    EXPECT_FALSE(Loaded());
    // FPDF_DestroyLibrary was resolved before the failing name, so it is called; the engine was never
    // initialised.
    EXPECT_EQ(StubLog(log), QStringList{"FPDF_DestroyLibrary"});

    // The next attempt repeats the whole load and fails the same way.
    EXPECT_TRUE(ErrorOf([] { LoadLibrary(); }).endsWith(": FPDF_LoadPage"));
    qunsetenv("KESTROVA_STUB_LOG");
}

TEST(Binding, EngineWithoutOptionalEntryPointsLoads) {
    QTemporaryDir dir;
    const QString log = dir.filePath("calls.log");
    qputenv("KESTROVA_STUB_LOG", log.toLocal8Bit());
    {
        ScopedLibraryName stub(StubPath("engine_stub_no_optionals"));
        LoadLibrary();
        EXPECT_TRUE(Loaded());
        TPdf pdf;
        EXPECT_FALSE(pdf.XFA());
        EXPECT_EQ(FPDFText_GetCharcode, nullptr);
        EXPECT_EQ(FPDFAnnot_GetFormFieldName, nullptr);
        EXPECT_NE(FPDF_RenderPage, nullptr);
        EXPECT_EQ(StubLog(log), QStringList{"FPDF_InitLibrary"});
    }
    EXPECT_EQ(StubLog(log), (QStringList{"FPDF_InitLibrary", "FPDF_DestroyLibrary"}));
    qunsetenv("KESTROVA_STUB_LOG");
}

TEST(ArithmeticMask, MasksAllSixAndRestoresExactlyThem) {
#if defined(__x86_64__) || defined(__i386__)
    const std::uint16_t original = ReadFpuControlWord();
    // Unmask division by zero and overflow, and pick a rounding mode the guard must leave alone.
    const std::uint16_t custom = static_cast<std::uint16_t>((original & ~0x0C0Cu) | 0x0400u);
    WriteFpuControlWord(custom);
    const TArithmeticMask saved = SetArithmeticMask();
    EXPECT_EQ(saved.Fpu, custom & 0x3F);
    EXPECT_EQ(ReadFpuControlWord() & 0x3F, 0x3F);
    EXPECT_EQ(ReadFpuControlWord() & ~0x3F, custom & ~0x3F);
    // A change of rounding made meanwhile survives the restore.
    WriteFpuControlWord(static_cast<std::uint16_t>(ReadFpuControlWord() | 0x0C00u));
    RestoreArithmeticMask(saved);
    EXPECT_EQ(ReadFpuControlWord(), static_cast<std::uint16_t>((custom & 0x3F) | (custom & ~0x3F) | 0x0C00u));
    WriteFpuControlWord(original);
#else
    GTEST_SKIP() << "the guard touches the x87 control word only";
#endif
}

TEST(ArithmeticMask, RenderingRestoresTheMaskAlsoWhenItRaises) {
#if defined(__x86_64__) || defined(__i386__)
    TPdf pdf;
    pdf.CreateDocument();
    pdf.AddPage(1, 612, 792);
    const std::uint16_t original = ReadFpuControlWord();
    const std::uint16_t custom = static_cast<std::uint16_t>(original & ~0x0004u); // zero divide unmasked
    WriteFpuControlWord(custom);
    const QImage image = pdf.RenderPage(0, 0, 20, 30, ro0, AllRenderOptions, clWhite);
    EXPECT_EQ(ReadFpuControlWord(), custom);
    EXPECT_EQ(image.size(), QSize(20, 30));
    EXPECT_THROW(pdf.RenderPage(0, 0, -5, 30, ro0, {}, clWhite), EPdfError);
    EXPECT_EQ(ReadFpuControlWord(), custom);
    WriteFpuControlWord(original);
#else
    GTEST_SKIP() << "the guard touches the x87 control word only";
#endif
}
