#include "pdf/core/SystemColors.h"

#include <QGuiApplication>
#include <QPalette>

namespace PDFium {

namespace {

struct PaletteEntry {
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

// Windows system colour index to the palette entry that plays the same part.
bool PaletteEntryOf(int index, PaletteEntry& entry) {
    using P = QPalette;
    static const PaletteEntry table[] = {
        {P::Active, P::Button},          // 0 scroll bar
        {P::Active, P::Window},          // 1 desktop
        {P::Active, P::Highlight},       // 2 active caption
        {P::Inactive, P::Highlight},     // 3 inactive caption
        {P::Active, P::Window},          // 4 menu
        {P::Active, P::Base},            // 5 window
        {P::Active, P::Shadow},          // 6 window frame
        {P::Active, P::WindowText},      // 7 menu text
        {P::Active, P::Text},            // 8 window text
        {P::Active, P::HighlightedText}, // 9 caption text
        {P::Active, P::Window},          // 10 active border
        {P::Inactive, P::Window},        // 11 inactive border
        {P::Active, P::Dark},            // 12 application workspace
        {P::Active, P::Highlight},       // 13 highlight
        {P::Active, P::HighlightedText}, // 14 highlight text
        {P::Active, P::Button},          // 15 button face
        {P::Active, P::Mid},             // 16 button shadow
        {P::Disabled, P::Text},          // 17 gray text
        {P::Active, P::ButtonText},      // 18 button text
        {P::Inactive, P::WindowText},    // 19 inactive caption text
        {P::Active, P::Light},           // 20 button highlight
        {P::Active, P::Shadow},          // 21 3D dark shadow
        {P::Active, P::Midlight},        // 22 3D light
        {P::Active, P::ToolTipText},     // 23 info text
        {P::Active, P::ToolTipBase},     // 24 info background
        {P::Active, P::Window},          // 25 unused
        {P::Active, P::Link},            // 26 hot light
        {P::Active, P::Highlight},       // 27 gradient active caption
        {P::Inactive, P::Highlight},     // 28 gradient inactive caption
        {P::Active, P::Highlight},       // 29 menu highlight
        {P::Active, P::Window},          // 30 menu bar
    };
    if (index < 0 || index >= int(std::size(table)))
        return false;
    entry = table[index];
    return true;
}

} // namespace

QColor SystemColor(int Index) {
    PaletteEntry entry{};
    if (!PaletteEntryOf(Index, entry))
        return Qt::black;
    return QGuiApplication::palette().color(entry.group, entry.role);
}

} // namespace PDFium
