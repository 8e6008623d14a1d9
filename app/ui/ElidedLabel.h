// A label for a path that may be wider than its place in a fixed layout: it never widens the window, shows
// its text elided in the middle, so that both the start and the file name stay in sight, and keeps the whole
// text as text().
#pragma once

#include <QLabel>

class TElidedLabel : public QLabel {
    Q_OBJECT
public:
    explicit TElidedLabel(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};
