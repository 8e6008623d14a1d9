// TPdfView's mouse and keyboard: handed to the document's form-fill environment on the view's page, so that a
// person can click into a field and type or paste, tick a box or choose from a list. What the environment
// does not take goes on to the widgets around the view.
#include "pdf/view/PdfView.h"

#include "pdf/engine/FPdfFWLEvent.h"
#include "pdf/engine/FPdfFormFill.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>

namespace PDFium {

namespace {

// The engine's virtual key for a Qt key, 0 for keys it has no code for.
int VirtualKey(int key) {
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return FWL_VKEY_0 + (key - Qt::Key_0);
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return FWL_VKEY_A + (key - Qt::Key_A);
    switch (key) {
    case Qt::Key_Backspace:
        return FWL_VKEY_Back;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return FWL_VKEY_Tab;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return FWL_VKEY_Return;
    case Qt::Key_Shift:
        return FWL_VKEY_Shift;
    case Qt::Key_Control:
        return FWL_VKEY_Control;
    case Qt::Key_Alt:
        return FWL_VKEY_Menu;
    case Qt::Key_Escape:
        return FWL_VKEY_Escape;
    case Qt::Key_Space:
        return FWL_VKEY_Space;
    case Qt::Key_PageUp:
        return FWL_VKEY_Prior;
    case Qt::Key_PageDown:
        return FWL_VKEY_Next;
    case Qt::Key_End:
        return FWL_VKEY_End;
    case Qt::Key_Home:
        return FWL_VKEY_Home;
    case Qt::Key_Left:
        return FWL_VKEY_Left;
    case Qt::Key_Up:
        return FWL_VKEY_Up;
    case Qt::Key_Right:
        return FWL_VKEY_Right;
    case Qt::Key_Down:
        return FWL_VKEY_Down;
    case Qt::Key_Insert:
        return FWL_VKEY_Insert;
    case Qt::Key_Delete:
        return FWL_VKEY_Delete;
    default:
        return 0;
    }
}

int ModifierFlags(Qt::KeyboardModifiers modifiers) {
    int flags = 0;
    if (modifiers & Qt::ShiftModifier)
        flags |= FWL_EVENTFLAG_ShiftKey;
    if (modifiers & Qt::ControlModifier)
        flags |= FWL_EVENTFLAG_ControlKey;
    if (modifiers & Qt::AltModifier)
        flags |= FWL_EVENTFLAG_AltKey;
    if (modifiers & Qt::MetaModifier)
        flags |= FWL_EVENTFLAG_MetaKey;
    if (modifiers & Qt::KeypadModifier)
        flags |= FWL_EVENTFLAG_KeyPad;
    return flags;
}

int MouseFlags(const QMouseEvent* event) {
    int flags = ModifierFlags(event->modifiers());
    if (event->buttons() & Qt::LeftButton)
        flags |= FWL_EVENTFLAG_LeftButtonDown;
    if (event->buttons() & Qt::MiddleButton)
        flags |= FWL_EVENTFLAG_MiddleButtonDown;
    if (event->buttons() & Qt::RightButton)
        flags |= FWL_EVENTFLAG_RightButtonDown;
    return flags;
}

// Characters that a field takes as typed text: printable ones, backspace and return.
bool IsTypedCharacter(QChar c) {
    return c.isPrint() || c == QLatin1Char('\b') || c == QLatin1Char('\r');
}

// Input arrives from the event loop, which must not see an error: it is reported and dropped.
template <typename Action> void Reported(Action action) {
    try {
        action();
    } catch (const Exception& error) {
        qWarning("Page view input failed: %s", error.what());
    }
}

} // namespace

bool TPdfView::FormReady() const {
    return Page() && FPdf && FPdf->FormHandle();
}

bool TPdfView::PassMouse(FPDF_BOOL (*Handler)(FPDF_FORMHANDLE, FPDF_PAGE, int, double, double),
                         QMouseEvent* Event) {
    if (!FormReady())
        return false;
    const QPoint position = Event->position().toPoint();
    double x = 0, y = 0;
    if (!DeviceToPage(position.x(), position.y(), x, y))
        return false;
    const bool handled = Handler(FPdf->FormHandle(), Page(), MouseFlags(Event), x, y) != 0;
    FPdf->ReportCallbackError();
    return handled;
}

bool TPdfView::PassKey(QKeyEvent* Event, bool Pressed) {
    if (!FormReady())
        return false;
    if (Pressed && Event->matches(QKeySequence::Paste))
        return PasteIntoField();
    int flags = ModifierFlags(Event->modifiers());
    if (Event->isAutoRepeat())
        flags |= FWL_EVENTFLAG_AutoRepeat;
    bool handled = false;
    if (const int key = VirtualKey(Event->key()))
        handled = (Pressed ? FORM_OnKeyDown : FORM_OnKeyUp)(FPdf->FormHandle(), Page(), key, flags) != 0;
    // Shortcuts with Control or Alt are no typing.
    if (Pressed && !(Event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        for (const QChar c : Event->text())
            if (IsTypedCharacter(c) && FORM_OnChar(FPdf->FormHandle(), Page(), c.unicode(), flags) != 0)
                handled = true;
    FPdf->ReportCallbackError();
    return handled;
}

// The clipboard's text in place of what is selected in the field being edited, where there is one; the
// environment has no clipboard of its own.
bool TPdfView::PasteIntoField() {
    const QString text = QGuiApplication::clipboard()->text();
    if (text.isEmpty())
        return false;
    FORM_ReplaceSelection(FPdf->FormHandle(), Page(), reinterpret_cast<FPDF_WIDESTRING>(text.utf16()));
    FPdf->ReportCallbackError();
    return true;
}

void TPdfView::ShowCursorFor(const QPoint& Position) {
    Qt::CursorShape shape = Qt::ArrowCursor;
    double x = 0, y = 0;
    if (Page() && FPdf && DeviceToPage(Position.x(), Position.y(), x, y)) {
        const int field =
            FPdf->FormHandle() ? FPDFPage_HasFormFieldAtPoint(FPdf->FormHandle(), Page(), x, y) : -1;
        if (field == FPDF_FORMFIELD_TEXTFIELD)
            shape = Qt::IBeamCursor;
        else if (field > 0 || LinkAnnotationAtPos(Position.x(), Position.y()) >= 0 ||
                 WebLinkAtPos(Position.x(), Position.y()) >= 0)
            shape = Qt::PointingHandCursor;
    }
    setCursor(shape);
}

bool TPdfView::event(QEvent* Event) {
    // Tab moves between the form's fields while the form takes it, and between widgets otherwise.
    if (Event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(Event);
        if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) && PassKey(key, true))
            return true;
    }
    return QWidget::event(Event);
}

void TPdfView::mouseMoveEvent(QMouseEvent* Event) {
    Reported([&] {
        PassMouse(FORM_OnMouseMove, Event);
        ShowCursorFor(Event->position().toPoint());
    });
}

void TPdfView::mousePressEvent(QMouseEvent* Event) {
    if (Event->button() != Qt::LeftButton)
        return;
    setFocus(Qt::MouseFocusReason);
    Reported([&] { PassMouse(FORM_OnLButtonDown, Event); });
}

void TPdfView::mouseReleaseEvent(QMouseEvent* Event) {
    if (Event->button() != Qt::LeftButton)
        return;
    Reported([&] { PassMouse(FORM_OnLButtonUp, Event); });
}

void TPdfView::mouseDoubleClickEvent(QMouseEvent* Event) {
    if (Event->button() == Qt::LeftButton)
        Reported([&] { PassMouse(FORM_OnLButtonDoubleClick, Event); });
}

void TPdfView::keyPressEvent(QKeyEvent* Event) {
    Event->ignore();
    Reported([&] { Event->setAccepted(PassKey(Event, true)); });
}

void TPdfView::keyReleaseEvent(QKeyEvent* Event) {
    Event->ignore();
    Reported([&] { Event->setAccepted(PassKey(Event, false)); });
}

} // namespace PDFium
