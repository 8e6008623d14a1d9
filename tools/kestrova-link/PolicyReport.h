// What kestrova-link check says of a trust file: the policy it means, in the terms an administrator checks,
// or why it is broken.
#pragma once

#include <QString>

struct PolicyReport {
    QString Text;        // lines, each ended by a line end
    bool Broken = false; // the file is missing or refuses every link
};

// The report on the trust file at Path, read as Kestrova reads it; the administrator's file when Path is
// empty.
PolicyReport ReportPolicy(const QString& Path);
