// Text selected with the mouse on a page view: a press on the page anchors the selection at the character
// there, a drag with the left button extends it to the character under the mouse, by the component's
// character boxes, and the run between them is painted as the view's selection. The whole page can be
// selected, and the selected text copied to the clipboard.
#pragma once

#include "pdf/view/PdfView.h"

#include <QObject>

class TTextSelection : public QObject {
public:
    explicit TTextSelection(QObject* Parent = nullptr) : QObject(Parent) {}

    // Selects on View from now on, beside any other view it selects on.
    void Attach(PDFium::TPdfView& View);

    // The text of the one run that View shows selected; empty where it shows none, or several runs (search
    // matches).
    QString Text(PDFium::TPdfView& View) const;
    // Selects every character of View's page.
    void SelectAll(PDFium::TPdfView& View);
    // Puts the text selected on View on the clipboard; false, with the clipboard as it was, where none is.
    bool Copy(PDFium::TPdfView& View) const;

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    void select(PDFium::TPdfView& View, int From, int To);

    int FAnchor = -1; // the character the press was on, while the left button is down
};
