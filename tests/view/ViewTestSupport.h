// What the viewer's tests share: whether their private X server runs, and the window under test with the
// desktop seams replaced, so that errors, save dialogs and web addresses are recorded instead of shown.
#pragma once

#include "ViewerWindow.h"

#include <QAbstractScrollArea>
#include <QImage>
#include <QStringList>
#include <QTemporaryDir>
#include <QUrl>
#include <gtest/gtest.h>

#include <vector>

extern bool DisplayReady;

// The number of pixels that differ between two images of one size by more than Tolerance in a channel.
int DifferentPixels(const QImage& a, const QImage& b, int tolerance = 0);

class ViewerTest : public testing::Test {
protected:
    void SetUp() override;
    // Opens a document in the shown window and waits until its page is on the screen.
    void Open(const QString& fileName, const QString& password = {});
    // What the screen shows of the page view's visible part, read back from the X server, once it has stopped
    // changing.
    QImage ShownPage();
    // What the screen shows of a widget's visible part, once it has stopped changing.
    QImage Shown(const QWidget& widget);
    // The point of the view that shows a point of the page.
    QPoint ViewPoint(double pageX, double pageY);
    // Lets the window paint what is pending.
    void Settle();
    // Keeps the window's picture for a person to look at, when KESTROVA_SCREENSHOT_DIR names a folder.
    void KeepScreenshot(const QString& name);

    QTemporaryDir folder;
    // Every window starts from no remembered settings, whatever the test before it kept.
    struct FreshSettings {
        FreshSettings();
    } fresh;
    TViewerWindow window;
    QStringList errors;
    // The answers the password prompt gives, in turn (cancel once they are used up), and for each time it was
    // asked whether it asked again.
    QStringList passwords;
    // Qt's QList<bool> compares two empty lists by handing memcmp null pointers.
    std::vector<bool> passwordPrompts;
    QString openFileName;
    QList<QUrl> openedUrls;
    QString saveFileName;
};

// The window open on the shared manual, 36 pages.
class ManualTest : public ViewerTest {
protected:
    static constexpr const char* Manual = "realworld/libtasn1.pdf";

    void SetUp() override;
    // The matches of the whole manual, as the engine finds them page by page.
    int MatchesInTheManual(const QString& text);

    QAbstractScrollArea* area = nullptr;
};
