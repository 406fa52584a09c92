// The window's side of a write that broke off: what is left is offered
// next time, only the changed channels can be chosen, every write is in the
// transfer log (unless it must not be written), and "通信履歴" shows it.

#include "LinkUiFixture.h"

#include "link/history/TransferLog.h"
#include "linkui/CaptionFrame.h"
#include "linkui/SetForm.h"
#include "linkui/TransferHistoryWindow.h"
#include "support/FifoUnblocker.h"
#include "support/QtPrinters.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTimeZone>
#include <QToolButton>

#include <sys/stat.h>

namespace {

QList<int> ticked(const SetForm &dialog)
{
    QList<int> channels;
    for (int i = 0; i < 8; ++i)
        if (dialog.channelChecks[size_t(i)]->isChecked())
            channels.append(i + 1);
    return channels;
}

// Channel selects among the frames, as the channels written: "CS3" -> 3.
QList<int> channelsSelected(const QByteArrayList &frames)
{
    QList<int> channels;
    for (const QByteArray &frame : frames)
        if (frame.startsWith("CS") && frame != "CS?\r")
            channels.append(frame.mid(2, 1).toInt());
    return channels;
}

} // namespace

class ResumeWriteTest : public LinkUiFixture
{
protected:
    void SetUp() override
    {
        LinkUiFixture::SetUp();
        QFile::remove(TransferLog().path());
        for (int ch = 0; ch < 8; ++ch)
            for (int cell = 0; cell < 25; ++cell)
                data->DispData(cell, 0, ch) = quint8(25 * ch + 1 + cell);
    }

    SetForm &openSetForm(int option = 1)
    {
        SerForm &form = openSerForm(option);
        form.ui().WriteButton->click();
        return *form.setForm();
    }

    void writeChannels(SetForm &dialog, const QList<int> &channels)
    {
        dialog.sendOptions[1]->click();
        for (int i = 0; i < 8; ++i)
            dialog.channelChecks[size_t(i)]->setChecked(channels.contains(i + 1));
        dialog.executeButton->click();
    }

    bool writeEnds() { return runUntil([&] { return engine().isIdle(); }, 60000); }
};

TEST_F(ResumeWriteTest, AfterThePortDiesInChannelThreeTheNextWriteOffersChannelsThreeToFive)
{
    writeChannels(openSetForm(), {1, 2, 3, 4, 5});
    // Some frames into channel 3, the adapter is pulled.
    ASSERT_TRUE(runUntil([&] { return port().written.size() >= 2 * 43 + 10; }, 60000));
    ASSERT_EQ(channelsSelected(port().written), (QList<int>{1, 2, 3}));
    port().vanish();
    platform.clock.advance(500);
    ASSERT_EQ(windows->existingSerForm(), nullptr) << "the window unloads as before";
    flushDeletes();
    ASSERT_TRUE(windows->recorder().last().has_value());
    EXPECT_EQ(windows->recorder().last()->completedChannels(), (QList<int>{1, 2}));

    // The device is back; "データ送受信" and "書込" as the operator would.
    SetForm &dialog = openSetForm();
    EXPECT_TRUE(dialog.sendOptions[1]->isChecked());
    EXPECT_TRUE(dialog.Frame1->isEnabled());
    EXPECT_EQ(ticked(dialog), (QList<int>{3, 4, 5}));
    EXPECT_TRUE(dialog.resumeNote->text().contains(QStringLiteral("完了: CH1, CH2"))) << dialog.resumeNote->text().toStdString();

    dialog.executeButton->click();
    ASSERT_TRUE(writeEnds());
    EXPECT_EQ(channelsSelected(port().written), (QList<int>{3, 4, 5}));

    // Both attempts are in the log, the second completing the job.
    const TransferLog::Contents log = TransferLog().read();
    ASSERT_EQ(log.records.size(), 2);
    EXPECT_EQ(log.records[0].outcome, WriteOutcome::PortFailed);
    EXPECT_EQ(log.records[0].completedChannels(), (QList<int>{1, 2}));
    for (int ch = 0; ch < Title::Channels; ++ch)
        EXPECT_EQ(log.records[0].sha256[ch].isEmpty(), ch >= 2) << ch;
    EXPECT_EQ(log.records[1].outcome, WriteOutcome::Done);
    EXPECT_EQ(log.records[1].completedChannels(), (QList<int>{3, 4, 5}));
    EXPECT_EQ(log.records[1].program, QStringLiteral("orvex-editor"));

    // A write that ran through leaves the choice to the operator again.
    windows->existingSerForm()->ui().WriteButton->click();
    EXPECT_TRUE(dialog.resumeNote->text().isEmpty());
}

// What a broken write left undone is that unit's: another port's unit gets
// the dialog as for a first write, and every channel.
TEST_F(ResumeWriteTest, AWriteBrokenOnOnePortIsOfferedOnThatPortOnly)
{
    writeChannels(openSetForm(), {1, 2, 3, 4, 5});
    ASSERT_TRUE(runUntil([&] { return port().written.size() >= 2 * 43 + 10; }, 60000));
    port().vanish();
    platform.clock.advance(500);
    flushDeletes();

    SetForm &dialog = openSetForm(2);
    EXPECT_TRUE(dialog.sendOptions[0]->isChecked());
    EXPECT_TRUE(dialog.resumeNote->text().isEmpty()) << dialog.resumeNote->text().toStdString();
    dialog.changedButton->click();
    EXPECT_EQ(ticked(dialog), (QList<int>{1, 2, 3, 4, 5, 6, 7, 8})) << "nothing was written to this port";

    // Back on port 1 the offer names it; leaving again restores the choice.
    dialog.sendOptions[0]->click();
    windows->usePort(PortChoice::ofOption(1));
    EXPECT_EQ(ticked(dialog), (QList<int>{3, 4, 5}));
    EXPECT_TRUE(dialog.resumeNote->text().contains(QStringLiteral("/dev/ttyS0"))) << dialog.resumeNote->text().toStdString();
    windows->usePort(PortChoice::ofOption(2));
    EXPECT_TRUE(dialog.sendOptions[0]->isChecked());
    EXPECT_TRUE(dialog.resumeNote->text().isEmpty());

    port().written.clear();
    dialog.executeButton->click();
    ASSERT_TRUE(writeEnds());
    EXPECT_EQ(channelsSelected(port().written), (QList<int>{1, 2, 3, 4, 5, 6, 7, 8}));
}

TEST_F(ResumeWriteTest, OnlyTheChangedChannelsCanBeTickedSayingWhatThatTrusts)
{
    SetForm &dialog = openSetForm();
    dialog.executeButton->click(); // every channel
    ASSERT_TRUE(writeEnds());
    data->DispData(100, 0, 1) = 30; // channel 2's page changed since

    windows->existingSerForm()->ui().WriteButton->click();
    EXPECT_TRUE(dialog.sendOptions[0]->isChecked()) << "the default stays as it was";
    dialog.changedButton->click();
    EXPECT_TRUE(dialog.sendOptions[1]->isChecked());
    EXPECT_EQ(ticked(dialog), QList<int>{2});
    EXPECT_TRUE(dialog.changedNote->text().contains(QStringLiteral("CH2")));
    EXPECT_TRUE(dialog.changedNote->text().contains(QStringLiteral("保持"))) << "says what it trusts";

    dialog.executeButton->click();
    ASSERT_TRUE(writeEnds());
    windows->existingSerForm()->ui().WriteButton->click();
    dialog.changedButton->click();
    EXPECT_EQ(ticked(dialog), QList<int>{}) << "nothing left to send";
}

TEST_F(ResumeWriteTest, ClosingTheProgramMidWriteRecordsTheWriteAsAbandoned)
{
    writeChannels(openSetForm(), {1, 2});
    ASSERT_TRUE(runUntil([&] { return port().written.size() >= 50; }, 60000));
    windows.reset(); // the editor ends
    flushDeletes();
    const TransferLog::Contents log = TransferLog().read();
    ASSERT_EQ(log.records.size(), 1);
    EXPECT_EQ(log.records[0].outcome, WriteOutcome::Abandoned);
    EXPECT_EQ(log.records[0].completedChannels(), QList<int>{1});
}

TEST_F(ResumeWriteTest, TheHistoryListsTheRecordsNewestFirst)
{
    TransferLog log;
    TransferRecord older;
    older.time = QDateTime(QDate(2026, 12, 8), QTime(10, 0), QTimeZone(9 * 3600));
    older.program = QStringLiteral("orvex");
    older.port = QStringLiteral("/dev/ttyUSB0");
    older.asked = {true, true, true};
    older.completed = {true};
    older.outcome = WriteOutcome::TimedOut;
    older.sha256[0] = QByteArray(32, '\xaa');
    TransferRecord newer = older;
    newer.time = older.time.addSecs(600);
    newer.asked = {false, true, true};
    newer.completed = {false, true, true};
    newer.outcome = WriteOutcome::Done;
    newer.file = QStringLiteral("/home/op/title.zvx");
    newer.sha256 = {QByteArray(), QByteArray(32, '\xbb'), QByteArray(32, '\xcc')};
    ASSERT_TRUE(log.append(older).isEmpty());
    ASSERT_TRUE(log.append(newer).isEmpty());
    QFile file(log.path());
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write("not a record\n");
    file.close();

    windows->showHistory();
    TransferHistoryWindow *history = windows->historyWindow();
    ASSERT_NE(history, nullptr);
    EXPECT_TRUE(history->isVisible());
    QTableWidget *table = history->table();
    ASSERT_EQ(table->rowCount(), 2);
    const auto cell = [table](int row, int column) { return table->item(row, column)->text(); };
    EXPECT_TRUE(cell(0, TransferHistoryWindow::Time).startsWith(QStringLiteral("2026-12-08 10:10")));
    EXPECT_EQ(cell(0, TransferHistoryWindow::Channels), QStringLiteral("2,3"));
    EXPECT_EQ(cell(0, TransferHistoryWindow::Completed), QStringLiteral("2,3"));
    EXPECT_EQ(cell(0, TransferHistoryWindow::Result), QStringLiteral("完了"));
    EXPECT_EQ(cell(0, TransferHistoryWindow::File), QStringLiteral("/home/op/title.zvx"));
    EXPECT_EQ(cell(0, TransferHistoryWindow::Hashes),
              QStringLiteral("CH2 ") + QString(64, QLatin1Char('b')) + QStringLiteral("\nCH3 ")
                  + QString(64, QLatin1Char('c')));
    EXPECT_EQ(cell(1, TransferHistoryWindow::Port), QStringLiteral("/dev/ttyUSB0"));
    EXPECT_EQ(cell(1, TransferHistoryWindow::Result), QStringLiteral("タイムアウト"));
    EXPECT_TRUE(history->note()->text().contains(QStringLiteral("読めない行が 1 行"))) << history->note()->text().toStdString();

    // A write since shows on the next showing.
    TransferRecord newest = newer;
    newest.time = newer.time.addSecs(60);
    newest.outcome = WriteOutcome::Abandoned;
    newest.modified = true;
    ASSERT_TRUE(log.append(newest).isEmpty());
    windows->showHistory();
    EXPECT_EQ(table->rowCount(), 3);
    EXPECT_EQ(table->item(0, TransferHistoryWindow::Result)->text(), QStringLiteral("中断"));
    EXPECT_EQ(table->item(0, TransferHistoryWindow::File)->text(),
              QStringLiteral("/home/op/title.zvx（未保存の変更あり）"));
}

// However large the scale, "通信履歴" opens no wider or taller than the
// screen it is on, "再読み込み" within reach.
TEST_F(ResumeWriteTest, TheHistoryOpensWithinItsScreen)
{
    windows->showHistory();
    TransferHistoryWindow *window = windows->historyWindow();
    const QRect available = owner->screen()->availableGeometry();
    EXPECT_TRUE(available.contains(window->frameGeometry()))
        << window->frameGeometry().width() << " x " << window->frameGeometry().height();
    expectLayout(window, QSize(), {});
}

// The editor's writes go through the same log: a pipe in its place is left
// alone, the write runs through as it would, one box says nothing was
// recorded, and "通信履歴" says why it shows nothing.
TEST_F(ResumeWriteTest, ALogThatIsAPipeHoldsNothingUp)
{
    const QString log = TransferLog().path();
    QFile::remove(log);
    ASSERT_TRUE(QDir().mkpath(QFileInfo(log).path()));
    ASSERT_EQ(::mkfifo(QFile::encodeName(log).constData(), 0600), 0);
    FifoUnblocker unblocker(log);
    writeChannels(openSetForm(), {2});
    ASSERT_TRUE(writeEnds());
    EXPECT_EQ(windows->recorder().last()->completedChannels(), QList<int>{2});
    flushDeletes();
    QCoreApplication::processEvents();
    const QString note = QStringLiteral("記録されませんでした: %1 は通常のファイルではありません").arg(log);
    ASSERT_EQ(boxes.texts.size(), 1);
    EXPECT_TRUE(boxes.texts[0].contains(note)) << boxes.texts[0].toStdString();

    windows->showHistory();
    EXPECT_EQ(windows->historyWindow()->table()->rowCount(), 0);
    EXPECT_TRUE(windows->historyWindow()->note()->text().contains(log + QStringLiteral(" は通常のファイルではありません")));
    QFile::remove(log);
}
