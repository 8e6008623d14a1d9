#include "TextSelection.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMouseEvent>

using namespace PDFium;

namespace {

// The engine marks a hyphen that breaks a word at the end of a line with this noncharacter; copied text
// joins the word again, as other readers do.
constexpr QChar LineEndHyphen(0xFFFE);

} // namespace

void TTextSelection::Attach(TPdfView& View) {
    View.installEventFilter(this);
}

QString TTextSelection::Text(TPdfView& View) const {
    const TTextRanges ranges = View.Selection();
    if (!View.Active() || ranges.size() != 1 || View.SelectionCurrent() >= 0)
        return {};
    return View.Text(ranges.first().StartIndex, ranges.first().Count).remove(LineEndHyphen);
}

void TTextSelection::SelectAll(TPdfView& View) {
    if (View.Active())
        select(View, 0, View.CharacterCount() - 1);
}

bool TTextSelection::Copy(TPdfView& View) const {
    const QString text = Text(View);
    if (text.isEmpty())
        return false;
    QGuiApplication::clipboard()->setText(text);
    return true;
}

void TTextSelection::select(TPdfView& View, int From, int To) {
    if (From < 0 || To < 0)
        return View.SetSelection({});
    View.SetSelection({TTextRange{std::min(From, To), std::abs(To - From) + 1}});
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
            FAnchor = view->CharacterIndexAtPos(position.x(), position.y());
        } else if (type == QEvent::MouseMove && (mouse->buttons() & Qt::LeftButton) && FAnchor >= 0) {
            const int focus = view->CharacterIndexAtPos(position.x(), position.y());
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
