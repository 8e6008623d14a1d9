// The page box of kestrova-view: a spin box over the page numbers that shows a page's label where the
// document gives it one ("T-2 (2 / 36)") and takes a page number, a label that is not a number, or its own
// text back.
#pragma once

#include <QSpinBox>

#include <functional>

class TPageLabelBox : public QSpinBox {
public:
    explicit TPageLabelBox(QWidget* Parent = nullptr);

    // The label of a page number; empty where the page has none. Unset, pages show their numbers alone.
    std::function<QString(int PageNumber)> LabelOf;

protected:
    QString textFromValue(int Value) const override;
    int valueFromText(const QString& Text) const override;
    QValidator::State validate(QString& Text, int& Position) const override;

private:
    // The page number that Text names, or 0: a page number, else a page's label, else the box's own text.
    int pageOf(const QString& Text) const;
    QString labelOf(int PageNumber) const;
};
