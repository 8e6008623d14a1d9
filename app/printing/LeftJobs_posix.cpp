#include "app/printing/LeftJobs.h"

#include <QString>
#include <QSysInfo>

#include <cerrno>
#include <csignal>
#include <unistd.h>
#include <utility>

namespace {

QByteArray machine() {
    return QSysInfo::machineHostName().toUtf8();
}

// Whether Run names a process of this machine that no longer exists.
bool ended(const QByteArray& run) {
    const qsizetype colon = run.lastIndexOf(':');
    if (colon < 0 || run.left(colon) != machine())
        return false;
    bool number = false;
    const pid_t process = pid_t(run.mid(colon + 1).toInt(&number));
    return number && process > 0 && process != getpid() && kill(process, 0) != 0 && errno == ESRCH;
}

// Whether the job is still waiting for its document, and the run it names.
std::pair<bool, QByteArray> incoming(http_t* connection, int job) {
    ipp_t* request = ippNewRequest(IPP_OP_GET_JOB_ATTRIBUTES);
    const QByteArray uri = "ipp://localhost/jobs/" + QByteArray::number(job);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "job-uri", nullptr, uri.constData());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    const char* const wanted[] = {"job-state-reasons", RunAttributeName};
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", 2, nullptr, wanted);
    ipp_t* response = cupsDoRequest(connection, request, "/jobs/");
    std::pair<bool, QByteArray> found{false, {}};
    if (response) {
        ipp_attribute_t* reasons = ippFindAttribute(response, "job-state-reasons", IPP_TAG_KEYWORD);
        found.first = reasons && ippContainsString(reasons, "job-incoming");
        if (ipp_attribute_t* run = ippFindAttribute(response, RunAttributeName, IPP_TAG_ZERO))
            found.second = ippGetString(run, 0, nullptr);
    }
    ippDelete(response);
    return found;
}

} // namespace

QByteArray ThisRun() {
    return machine() + ':' + QByteArray::number(qint64(getpid()));
}

void CancelJobsOfEndedRuns(http_t* Connection) {
    cups_job_t* jobs = nullptr;
    const int count = cupsGetJobs2(Connection, &jobs, nullptr, 1, CUPS_WHICHJOBS_ACTIVE);
    for (int i = 0; i < count; ++i) {
        const auto [waiting, run] = incoming(Connection, jobs[i].id);
        if (waiting && ended(run))
            cupsCancelJob2(Connection, jobs[i].dest, jobs[i].id, 0);
    }
    cupsFreeJobs(count, jobs);
}
