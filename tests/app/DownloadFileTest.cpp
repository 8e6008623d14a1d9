// The documents of jobs that share the download folder: a name of its own for every running job, and the
// leftovers of jobs that were killed taken over instead of piling up.
#include "app/download/DownloadFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

class DownloadFileTest : public testing::Test {
protected:
    QString folder() const { return FDir.path() + QDir::separator(); }

    QStringList files() const { return QDir(folder()).entryList(QDir::Files | QDir::Hidden); }

    void leave(const QString& name) {
        QFile file(folder() + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("left by a killed job");
    }

    QTemporaryDir FDir;
};

TEST_F(DownloadFileTest, GivesEveryRunningJobADocumentOfItsOwn) {
    std::vector<std::unique_ptr<TDownloadFile>> jobs;
    for (const QByteArray data : {"one", "two", "three"}) {
        jobs.push_back(std::make_unique<TDownloadFile>(folder(), "report.pdf"));
        jobs.back()->Write(data);
        jobs.back()->Close();
    }
    QStringList names;
    for (const auto& job : jobs)
        names << QFileInfo(job->Path()).fileName();
    EXPECT_EQ(names, QStringList({"report.pdf", "report (2).pdf", "report (3).pdf"}));
    QFile second(jobs[1]->Path());
    ASSERT_TRUE(second.open(QIODevice::ReadOnly));
    EXPECT_EQ(second.readAll(), "two");
    jobs.clear();
    EXPECT_EQ(files(), QStringList());
}

// A job killed mid-way leaves its document; the next job of that name takes the name over, and the
// leftover is gone when that job ends. A thousand leftovers of one name stop no job.
TEST_F(DownloadFileTest, TakesOverTheLeftoversOfJobsThatNoLongerRun) {
    leave("report.pdf");
    for (int number = 2; number <= 1000; ++number)
        leave(QStringLiteral("report (%1).pdf").arg(number));
    {
        TDownloadFile job(folder(), "report.pdf");
        EXPECT_EQ(QFileInfo(job.Path()).fileName(), "report.pdf");
        EXPECT_EQ(QFileInfo(job.Path()).size(), 0) << "the leftover's content is gone";
        TDownloadFile second(folder(), "report.pdf");
        EXPECT_EQ(QFileInfo(second.Path()).fileName(), "report (2).pdf");
    }
    EXPECT_EQ(files().size(), 998);
    EXPECT_FALSE(files().contains("report.pdf"));
}

// A document named like another job's lock file does not take that lock for a leftover.
TEST_F(DownloadFileTest, LeavesTheLockOfARunningJobAlone) {
    TDownloadFile running(folder(), "report.pdf");
    TDownloadFile other(folder(), "report.pdf.lock");
    EXPECT_EQ(QFileInfo(other.Path()).fileName(), "report.pdf (2).lock");
    EXPECT_TRUE(files().contains("report.pdf.lock"));
}

} // namespace
