// The page that a link or an outline entry goes to: its destination's page, else the page of its go-to
// action; 0 where it goes to none.
#pragma once

#include "pdf/PdfLinkTypes.h"

#include <algorithm>

template <typename TTarget> int TargetPage(const TTarget& Target) {
    if (Target.PageNumber > 0)
        return Target.PageNumber;
    return Target.Action == PDFium::acGoto ? std::max(Target.ActionPageNumber, 0) : 0;
}
