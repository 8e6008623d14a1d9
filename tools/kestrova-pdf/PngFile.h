// A picture that kestrova-pdf writes as a PNG file, saved as the component saves documents: a regular file
// is replaced whole, a device or a pipe written through, anything else refused.
#pragma once

#include <QImage>
#include <QString>

// Raises EPdfError "Cannot create file ..." or "Cannot write file ..." with the reason.
void WritePng(const QImage& Image, const QString& FileName);
