// The font that an edit's text is drawn in. A standard font serves where it draws every character; other
// text takes a font file that draws them all: the one asked for, or the system's first choice among its
// fonts that fontconfig (fc-match, fc-list, fc-query) finds covering every character.
#pragma once

#include <QString>

// Requested is a standard font's name or a font file's path. Raises Exception where the engine cannot lay
// Text out in any font, and where the file asked for, or every font of the system, leaves a character out.
QString FontForText(const QString& Text, const QString& Requested);
