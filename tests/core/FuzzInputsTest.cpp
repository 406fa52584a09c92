// Replays the fuzzers' seed files and every input they once failed on
// (fuzz/corpus/zvx, fuzz/regressions/zvx) through the reader and the
// round-trip rule, so those cases stay fixed in the ordinary test run.

#include "RoundTripCheck.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>

#include <gtest/gtest.h>

TEST(FuzzInputs, EveryKeptDataFileReadsAndSurvivesASave)
{
    int files = 0;
    for (const char *folder : {"corpus/zvx", "regressions/zvx"}) {
        QDirIterator it(QStringLiteral(ORVEX_FUZZ_DIR "/") + QLatin1String(folder), QDir::Files);
        while (it.hasNext()) {
            QFile file(it.next());
            ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << qPrintable(file.fileName());
            const char *problem = RoundTripCheck::problem(file.readAll());
            EXPECT_EQ(problem, nullptr) << qPrintable(file.fileName()) << ": " << (problem ? problem : "");
            ++files;
        }
    }
    EXPECT_GE(files, 4);
}
