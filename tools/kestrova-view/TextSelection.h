// Text selected with the mouse on the page views: a press anchors the selection at the character nearest to
// it, on a glyph or in the margin beside one, a drag with the left button extends it to the character
// nearest to the mouse, by the component's character boxes, and the run between them is painted as the
// view's selection. A click without a drag clears it. The whole page can be selected, and the selected text
// copied to the clipboard.
#pragma once

#include "pdf/view/PdfView.h"

#include <QObject>
#include <QPointer>

class TTextSelection : public QObject {
public:
    explicit TTextSelection(QObject* Parent = nullptr) : QObject(Parent) {}

    // Selects on View from now on, beside any other view it selects on.
    void Attach(PDFium::TPdfView& View);

    // The text selected; empty where none is, or the view that held it shows something else now.
    QString Text() const;
    // Selects every character of View's page.
    void SelectAll(PDFium::TPdfView& View);
    // Puts the text selected on the clipboard; false, with the clipboard as it was, where none is.
    bool Copy() const;
    // Takes the selection off its page.
    void Clear();

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    bool Holds() const;
    void select(PDFium::TPdfView& View, int From, int To);

    int FAnchor = -1; // the character nearest to the press, while the left button is down
    // The view that holds the selection, and the run selected on it.
    QPointer<PDFium::TPdfView> FView;
    PDFium::TTextRange FRange;
};
