#include "TextSelection.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMouseEvent>

using namespace PDFium;

namespace {

// The engine marks a hyphen that breaks a word at the end of a line with this noncharacter; copied text
// joins the word again, as other readers do.
constexpr QChar LineEndHyphen(0xFFFE);

// How far from the mouse, in points, the character nearest to it is looked for: the width of a wide page, so
// that a drag from anywhere in the margins starts at the text beside it.
constexpr double NearestCharacterReach = 2000;

} // namespace

void TTextSelection::Attach(TPdfView& View) {
    View.installEventFilter(this);
}

bool TTextSelection::Holds() const {
    return FView && FView->Active() && FView->Selection() == TTextRanges{FRange} &&
           FView->SelectionCurrent() < 0;
}

QString TTextSelection::Text() const {
    return Holds() ? FView->Text(FRange.StartIndex, FRange.Count).remove(LineEndHyphen) : QString();
}

void TTextSelection::SelectAll(TPdfView& View) {
    if (View.Active())
        select(View, 0, View.CharacterCount() - 1);
}

bool TTextSelection::Copy() const {
    const QString text = Text();
    if (text.isEmpty())
        return false;
    QGuiApplication::clipboard()->setText(text);
    return true;
}

void TTextSelection::Clear() {
    if (Holds())
        FView->SetSelection({});
    FView = nullptr;
}

void TTextSelection::select(TPdfView& View, int From, int To) {
    if (From < 0 || To < 0)
        return Clear();
    if (FView != &View)
        Clear();
    FView = &View;
    FRange = {std::min(From, To), std::abs(To - From) + 1};
    View.SetSelection({FRange});
}

// Only the mouse is watched here, and nothing is taken from the view: the form still sees every press.
bool TTextSelection::eventFilter(QObject* Watched, QEvent* Event) {
    auto* view = qobject_cast<TPdfView*>(Watched);
    if (!view || !view->Active())
        return false;
    const QEvent::Type type = Event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove && type != QEvent::MouseButtonRelease)
        return false;
    const auto* mouse = static_cast<QMouseEvent*>(Event);
    const QPoint position = mouse->position().toPoint();
    try {
        if (type == QEvent::MouseButtonPress && mouse->button() == Qt::LeftButton) {
            Clear();
            FAnchor = view->CharacterIndexAtPos(position.x(), position.y(), NearestCharacterReach);
        } else if (type == QEvent::MouseMove && (mouse->buttons() & Qt::LeftButton) && FAnchor >= 0) {
            const int focus = view->CharacterIndexAtPos(position.x(), position.y(), NearestCharacterReach);
            if (focus >= 0)
                select(*view, FAnchor, focus);
        } else if (type == QEvent::MouseButtonRelease && mouse->button() == Qt::LeftButton) {
            FAnchor = -1;
        }
    } catch (const std::exception&) {
        // A page whose text cannot be read has nothing to select.
        FAnchor = -1;
    }
    return false;
}
