#include "SearchResults.h"

using namespace PDFium;

namespace {

// Characters shown on either side of a match.
constexpr int Around = 30;

constexpr int PageRole = Qt::UserRole;
constexpr int IndexRole = Qt::UserRole + 1;

} // namespace

TSearchResults::TSearchResults(QWidget* Parent) : QListWidget(Parent) {
    const auto choose = [this](QListWidgetItem* item) {
        if (OnResultChosen)
            OnResultChosen(item->data(PageRole).toInt(), item->data(IndexRole).toInt());
    };
    connect(this, &QListWidget::itemActivated, this, choose);
    connect(this, &QListWidget::itemClicked, this, choose);
}

void TSearchResults::AddPage(TPdf& Pdf, int PageNumber, const TTextRanges& Matches) {
    const QString label = Pdf.PageLabel(PageNumber);
    const QString page = label.isEmpty() ? QString::number(PageNumber) : label;
    Pdf.SetPageNumber(PageNumber);
    const int characters = Pdf.CharacterCount();
    for (int index = 0; index < Matches.size(); ++index) {
        const TTextRange match = Matches[index];
        const int start = std::max(0, match.StartIndex - Around);
        const int end = std::min(characters, match.StartIndex + match.Count + Around);
        auto* item = new QListWidgetItem(
            QStringLiteral("%1: %2").arg(page, Pdf.Text(start, end - start).simplified()), this);
        item->setData(PageRole, PageNumber);
        item->setData(IndexRole, index);
    }
}
