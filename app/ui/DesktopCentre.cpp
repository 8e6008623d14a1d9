#include "app/ui/DesktopCentre.h"

#include <QGuiApplication>
#include <QScreen>

QPoint CentredOn(const QRect& Desktop, const QSize& Size) {
    return {std::max(Desktop.left(), Desktop.left() + (Desktop.width() - Size.width()) / 2),
            std::max(Desktop.top(), Desktop.top() + (Desktop.height() - Size.height()) / 2)};
}

QRect DesktopRect() {
    QRect desktop;
    for (const QScreen* screen : QGuiApplication::screens())
        desktop |= screen->geometry();
    return desktop;
}
