#include "ViewTestSupport.h"

#include "support/TestData.h"

#include <QDir>
#include <QScreen>
#include <QSettings>
#include <QTest>

int DifferentPixels(const QImage& a, const QImage& b, int tolerance) {
    int count = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            const int difference = std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                             std::abs(qBlue(p) - qBlue(q))});
            count += difference > tolerance ? 1 : 0;
        }
    return count;
}

ViewerTest::FreshSettings::FreshSettings() {
    QSettings(QStringLiteral("kestrova"), QStringLiteral("kestrova-view")).clear();
}

void ViewerTest::SetUp() {
    if (!DisplayReady)
        GTEST_SKIP() << "no private X server (Xvfb) could be started";
    window.ShowError = [this](const QString& message) {
        errors.append(message);
    };
    window.AskSaveFileName = [this] {
        return saveFileName;
    };
    window.AskOpenFileName = [this] {
        return openFileName;
    };
    window.AskPassword = [this](const QString&, bool again) -> std::optional<QString> {
        passwordPrompts.push_back(again);
        if (passwords.isEmpty())
            return std::nullopt;
        return passwords.takeFirst();
    };
    window.OpenUrl = [this](const QUrl& url) {
        openedUrls.append(url);
        return true;
    };
    window.show();
    // Without a window manager the window takes the focus itself; its shortcuts work only while it is active.
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
}

void ViewerTest::Open(const QString& fileName, const QString& password) {
    ASSERT_TRUE(window.OpenFile(fileName, password)) << errors.join('\n').toStdString();
    Settle();
}

void ViewerTest::Settle() {
    for (int i = 0; i < 5; ++i)
        QTest::qWait(50);
}

QImage ViewerTest::ShownPage() {
    return Shown(window.View());
}

QImage ViewerTest::Shown(const QWidget& view) {
    QImage shown;
    for (int attempt = 0; attempt < 20; ++attempt) {
        Settle();
        const QRect visible = view.visibleRegion().boundingRect();
        const QPoint origin = view.mapToGlobal(visible.topLeft());
        const QImage now = view.screen()
                               ->grabWindow(0, origin.x(), origin.y(), visible.width(), visible.height())
                               .toImage()
                               .convertToFormat(QImage::Format_RGB32);
        if (now == shown)
            break;
        shown = now;
    }
    return shown;
}

QPoint ViewerTest::ViewPoint(double pageX, double pageY) {
    int x = 0, y = 0;
    EXPECT_TRUE(window.View().PageToDevice(pageX, pageY, x, y));
    return {x, y};
}

void ViewerTest::KeepScreenshot(const QString& name) {
    const QString dir = qEnvironmentVariable("KESTROVA_SCREENSHOT_DIR");
    if (dir.isEmpty())
        return;
    const QPoint origin = window.mapToGlobal(QPoint(0, 0));
    window.screen()
        ->grabWindow(0, origin.x(), origin.y(), window.width(), window.height())
        .save(QDir(dir).filePath(name + QStringLiteral(".png")));
}

void ManualTest::SetUp() {
    ViewerTest::SetUp();
    if (IsSkipped())
        return;
    REQUIRE_TESTDATA(Manual);
    Open(testDataPath(Manual));
    area = window.findChild<QAbstractScrollArea*>("saPage");
}

int ManualTest::MatchesInTheManual(const QString& text) {
    PDFium::TPdf engine;
    engine.SetFileName(testDataPath(Manual));
    engine.SetActive(true);
    int count = 0;
    for (int page = 1; page <= engine.PageCount(); ++page) {
        engine.SetPageNumber(page);
        for (int index = engine.FindFirst(text, {}, 0, true); index >= 0; index = engine.FindNext())
            ++count;
    }
    return count;
}
