// Where a window of a given size stands when it is centred on the desktop, the rectangle that all monitors
// span together.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// The centred position, moved to the desktop's origin when it would lie left of or above it.
QPoint CentredOn(const QRect& Desktop, const QSize& Size);

// The rectangle spanned by all monitors.
QRect DesktopRect();
