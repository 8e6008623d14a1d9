#include "PageLabelBox.h"

#include <QRegularExpression>

TPageLabelBox::TPageLabelBox(QWidget* Parent) : QSpinBox(Parent) {
    setKeyboardTracking(false);
}

QString TPageLabelBox::labelOf(int PageNumber) const {
    return LabelOf && PageNumber >= 1 ? LabelOf(PageNumber) : QString();
}

QString TPageLabelBox::textFromValue(int Value) const {
    const QString label = labelOf(Value);
    if (label.isEmpty() || label == QString::number(Value))
        return QString::number(Value);
    return QStringLiteral("%1 (%2 / %3)").arg(label).arg(Value).arg(maximum());
}

int TPageLabelBox::pageOf(const QString& Text) const {
    const QString text = Text.trimmed();
    if (text.isEmpty())
        return 0;
    bool number = false;
    if (const int page = text.toInt(&number); number)
        return page >= minimum() && page <= maximum() ? page : 0;
    for (int page = std::max(minimum(), 1); page <= maximum(); ++page)
        if (labelOf(page) == text)
            return page;
    static const QRegularExpression shown(QStringLiteral(R"(\((\d+) / \d+\)$)"));
    const QRegularExpressionMatch match = shown.match(text);
    return match.hasMatch() ? pageOf(match.captured(1)) : 0;
}

int TPageLabelBox::valueFromText(const QString& Text) const {
    const int page = pageOf(Text);
    return page > 0 ? page : value();
}

QValidator::State TPageLabelBox::validate(QString& Text, int&) const {
    return pageOf(Text) > 0 ? QValidator::Acceptable : QValidator::Intermediate;
}
