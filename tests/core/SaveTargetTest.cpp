#include "ZvxTestData.h"

#include "core/SaveTarget.h"
#include "core/ZvxWriter.h"
#include "support/QtPrinters.h"

#include <QFile>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

QByteArray contents(const QString &fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Lets the process write files of at most `bytes` for its lifetime: the
// kernel then fails writes past that size as a full disk would.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_handler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_saved;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_handler);
    }

private:
    rlimit m_saved{};
    void (*m_handler)(int) = nullptr;
};

} // namespace

TEST(SaveTarget, RefusesEverythingButRegularFilesAndLinksToThem)
{
    QTemporaryDir dir;
    const QString regular = dir.filePath("regular.zvx");
    ASSERT_TRUE(QFile(regular).open(QIODevice::WriteOnly));
    const QString fifo = dir.filePath("fifo.zvx");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QFile::link(regular, dir.filePath("to-regular.zvx"));
    QFile::link("/dev/null", dir.filePath("to-null.zvx"));
    QFile::link(fifo, dir.filePath("to-fifo.zvx"));

    struct Case
    {
        QString name;
        bool allowed;
    };
    const Case cases[] = {
        {regular, true},
        {dir.filePath("new.zvx"), true},
        {dir.filePath("to-regular.zvx"), true},
        {fifo, false},
        {dir.filePath("to-null.zvx"), false},
        {dir.filePath("to-fifo.zvx"), false},
        {dir.path(), false},
    };
    TitleData data;
    data.setDefaults();
    for (const Case &c : cases) {
        EXPECT_EQ(SaveTarget::refusal(c.name).isEmpty(), c.allowed) << qPrintable(c.name);
        const ZvxWriteResult result = ZvxWriter::writeFile(c.name, data);
        EXPECT_EQ(result.ok, c.allowed) << qPrintable(c.name);
        if (!c.allowed) {
            EXPECT_TRUE(result.message().contains(c.name)) << qPrintable(result.message());
        }
    }
    // The refused targets are still what they were.
    EXPECT_FALSE(QFileInfo(fifo).isFile());
    EXPECT_TRUE(QFileInfo(dir.filePath("to-null.zvx")).isSymLink());
    EXPECT_FALSE(QFileInfo("/dev/null").isFile());
    // A save through a link writes the file it points to.
    EXPECT_EQ(contents(regular).size(), ZvxWriter::serialize(data).size());
}

TEST(SaveTarget, AFullDiskIsToldAsItIs)
{
    QTemporaryDir dir;
    TitleData data;
    data.setDefaults();
    const QString kept = dir.filePath("kept.zvx");
    {
        QFile file(kept);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("previous");
    }

    struct Case
    {
        QString name;
        QString said;
    };
    const Case cases[] = {
        {kept, QStringLiteral("以前のファイルはそのまま残っています。")},
        {dir.filePath("new.zvx"), QStringLiteral("ファイルは作られていません。")},
    };
    for (const Case &c : cases) {
        ZvxWriteResult result;
        {
            const FileSizeLimit limit(4096);
            result = ZvxWriter::writeFile(c.name, data);
        }
        ASSERT_FALSE(result.ok) << qPrintable(c.name);
        const QString message = result.message();
        EXPECT_TRUE(message.contains(c.said)) << qPrintable(message);
        EXPECT_FALSE(message.contains(QStringLiteral("Unknown error"))) << qPrintable(message);
        EXPECT_FALSE(result.systemMessage.isEmpty());
    }
    EXPECT_EQ(contents(kept), "previous");
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("new.zvx")));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1); // no temporary left behind
}
