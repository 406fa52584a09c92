#include "EditFormFixture.h"

#include "editor/MonitorTile.h"
#include "editor/MonitorWindow.h"

#include "core/MonitorPicture.h"
#include "core/ZvxWriter.h"

#include <QAction>
#include <QCoreApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

class MonitorWindowTest : public EditFormFixture
{
protected:
    MonitorWindow &openMonitors()
    {
        ui().monitorAction->trigger();
        MonitorWindow *window = form->monitorWindow();
        EXPECT_NE(window, nullptr);
        return *window;
    }

    // Lets the window redraw, then tells which monitors did since last asked.
    std::vector<int> redrawn(MonitorWindow &window)
    {
        QCoreApplication::processEvents();
        std::vector<int> channels;
        for (int ch = 0; ch < Title::Channels; ++ch) {
            const int count = window.monitor(ch)->redraws();
            if (count != m_seen[size_t(ch)])
                channels.push_back(ch);
            m_seen[size_t(ch)] = count;
        }
        return channels;
    }

    bool showsTitle(MonitorWindow &window, int ch, const QImage &still = {})
    {
        return window.monitor(ch)->image() == MonitorPicture::channel(*data, ch, still);
    }

    QString writeStill(const QString &name, QColor colour)
    {
        QImage picture(64, 48, QImage::Format_RGB32);
        picture.fill(colour);
        const QString file = path(name);
        EXPECT_TRUE(picture.save(file));
        return file;
    }

    std::array<int, Title::Channels> m_seen{};
};

TEST_F(MonitorWindowTest, EachChangeRedrawsOnlyTheMonitorsItChanged)
{
    MonitorWindow &window = openMonitors();
    EXPECT_EQ(redrawn(window).size(), 8u) << "all drawn when opened";
    QStringList labels;
    for (QLabel *label : window.findChildren<QLabel *>())
        labels.append(label->text());
    for (int ch = 1; ch <= Title::Channels; ++ch)
        EXPECT_TRUE(labels.contains(QStringLiteral("CH%1").arg(ch))) << ch;
    for (int ch = 0; ch < Title::Channels; ++ch) {
        EXPECT_TRUE(showsTitle(window, ch));
    }

    using Channels = std::vector<int>;
    selectChannel(2);
    ui().Text1->setText(QStringLiteral("CAM3"));
    form->makeData();
    EXPECT_EQ(redrawn(window), Channels{2}) << "データ作成 on CH3";
    EXPECT_TRUE(showsTitle(window, 2));

    ui().undoAction->trigger();
    EXPECT_EQ(redrawn(window), Channels{2}) << "its undo";
    EXPECT_TRUE(showsTitle(window, 2));
    ui().redoAction->trigger();
    EXPECT_EQ(redrawn(window), Channels{2}) << "its redo";

    // Characters of CH3's block shown on CH5's page as well: changing them
    // changes both monitors.
    selectChannel(4);
    form->placeBlock(51);
    EXPECT_EQ(redrawn(window), Channels{4});
    CharPattern white;
    white.fill(PixelCode::white());
    form->document().replacePattern(52, white, QStringLiteral("保存"));
    EXPECT_EQ(redrawn(window), (Channels{2, 4}));
    EXPECT_TRUE(showsTitle(window, 4));

    form->document().replacePattern(240, white, QStringLiteral("保存"));
    EXPECT_EQ(redrawn(window), Channels{}) << "a character no page shows";

    const QString file = path(QStringLiteral("t.zvx"));
    ASSERT_TRUE(ZvxWriter::writeFile(file, *data).ok);
    boxes.saveAnswers = {MessageBoxes::SaveChoice::Discard};
    ASSERT_TRUE(form->openDataFile(file));
    EXPECT_EQ(redrawn(window).size(), 8u) << "a title opened";
}

TEST_F(MonitorWindowTest, AChosenStillIsShownUnderTheCharactersAndRemembered)
{
    selectChannel(1);
    ui().Text1->setText(QStringLiteral("Gate"));
    form->makeData();
    MonitorWindow &window = openMonitors();
    const QImage bars = window.monitor(1)->image();

    fileDialogs.answers = {writeStill(QStringLiteral("gate.png"), QColor(20, 90, 40))};
    window.stillButton(1)->click();
    QCoreApplication::processEvents();
    const QImage withStill = window.monitor(1)->image();
    EXPECT_NE(withStill, bars);
    EXPECT_EQ(withStill.pixel(359, 233), qRgb(20, 90, 40)) << "the still where no dot is";
    EXPECT_TRUE(showsTitle(window, 0)) << "other monitors keep the bars";

    // Remembered: a new window (a new run of the program) shows it again.
    window.close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    MonitorWindow &again = openMonitors();
    EXPECT_NE(&again, nullptr);
    EXPECT_EQ(again.monitor(1)->image(), withStill);

    again.barsButton(1)->click();
    QCoreApplication::processEvents();
    EXPECT_EQ(again.monitor(1)->image(), bars) << "back to the colour bars";
    again.close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(openMonitors().monitor(1)->image(), bars) << "and that is remembered too";
}

TEST_F(MonitorWindowTest, APictureThatCannotBeReadIsReportedAndChangesNothing)
{
    MonitorWindow &window = openMonitors();
    const QImage bars = window.monitor(3)->image();
    QFile junk(path(QStringLiteral("junk.png")));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not a picture");
    junk.close();
    EXPECT_FALSE(window.setStill(3, junk.fileName()));
    EXPECT_EQ(boxes.shown.size(), 1);
    QCoreApplication::processEvents();
    EXPECT_EQ(window.monitor(3)->image(), bars);
    EXPECT_TRUE(QSettings().value(QStringLiteral("monitor/still4")).toString().isEmpty());
}

TEST_F(MonitorWindowTest, APressOnAMonitorSelectsItsChannelInTheEditor)
{
    data->ChText[5] = QStringLiteral("six");
    MonitorWindow &window = openMonitors();
    QTest::mouseClick(window.monitor(5), Qt::LeftButton);
    EXPECT_EQ(data->ChNo, 5);
    EXPECT_EQ(ui().channelList->currentIndex(), 5);
    EXPECT_EQ(ui().Text1->text(), QStringLiteral("six"));
}

// The still dialogs start in the folder every file dialog of the editor
// shares, and a still picked somewhere makes that the folder "保存" starts in.
TEST_F(MonitorWindowTest, TheStillDialogsShareTheFolderOfEveryFileDialog)
{
    MonitorWindow &window = openMonitors();
    ASSERT_TRUE(QDir(workDir.path()).mkpath(QStringLiteral("stills")));
    ASSERT_TRUE(QDir(workDir.path()).mkpath(QStringLiteral("titles")));

    fileDialogs.answers = {writeStill(QStringLiteral("stills/gate.png"), Qt::darkGreen)};
    window.stillButton(0)->click();
    fileDialogs.answers = {path(QStringLiteral("titles/site.zvx"))};
    ui().FileOpenSave[1]->trigger(); // "保存" of a title without a file asks where
    fileDialogs.answers = {QString()};
    window.stillButton(1)->click();

    ASSERT_EQ(fileDialogs.requests.size(), 3);
    EXPECT_EQ(fileDialogs.requests[0].folder, workDir.path() + QLatin1Char('/')) << "before any file was used";
    EXPECT_EQ(fileDialogs.requests[1].folder, path(QStringLiteral("stills/"))) << "after a still";
    EXPECT_EQ(fileDialogs.requests[2].folder, path(QStringLiteral("titles/"))) << "after a save";
    EXPECT_TRUE(QFile::exists(path(QStringLiteral("titles/site.zvx"))));
}
