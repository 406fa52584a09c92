#include "EditFormFixture.h"

#include "core/UserFolders.h"
#include "core/ZvxTestData.h"
#include "core/ZvxWriter.h"
#include "render/MakeData.h"
#include "support/PerUserFolders.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QStandardPaths>

namespace {

QByteArray contents(const QString &fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeBytes(const QString &fileName, const QByteArray &bytes)
{
    QFile file(fileName);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class EditFormFiles : public EditFormFixture
{
protected:
    void saveAs(const QString &answer)
    {
        fileDialogs.answers = {answer};
        form->saveFileAs();
    }
    void open(const QString &answer)
    {
        fileDialogs.answers = {answer};
        form->openFile();
    }
};

TEST_F(EditFormFiles, SaveAsAppendsTheExtensionUnlessTheNameEndsInLowerCaseZvx)
{
    saveAs(path(QStringLiteral("TITLE.ZVX")));
    EXPECT_TRUE(QFile::exists(path(QStringLiteral("TITLE.ZVX.zvx"))));
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("TITLE.ZVX"))));
    EXPECT_EQ(form->document().lastFileName(), path(QStringLiteral("TITLE.ZVX.zvx")));

    saveAs(path(QStringLiteral("plain")));
    EXPECT_TRUE(QFile::exists(path(QStringLiteral("plain.zvx"))));
    saveAs(path(QStringLiteral("kept.zvx")));
    EXPECT_TRUE(QFile::exists(path(QStringLiteral("kept.zvx"))));
    EXPECT_EQ(form->document().dataFileName(), path(QStringLiteral("kept.zvx")));

    ASSERT_EQ(fileDialogs.requests.size(), 3);
    const auto &request = fileDialogs.requests[0];
    EXPECT_TRUE(request.save);
    EXPECT_EQ(request.title, QStringLiteral("データファイルの保存"));
    EXPECT_EQ(request.filter, QStringLiteral("zvx ﾌｧｲﾙ(*.zvx)|*.zvx|"));
    EXPECT_EQ(request.folder, workDir.path() + QLatin1Char('/'));
    EXPECT_EQ(request.defaultExtension, QStringLiteral(".zvx"));
    EXPECT_TRUE(boxes.shown.isEmpty());
}

TEST_F(EditFormFiles, SaveAsksForANameOnlyTheFirstTime)
{
    fileDialogs.answers = {path(QStringLiteral("first.zvx"))};
    form->saveFile();
    ASSERT_EQ(fileDialogs.requests.size(), 1);
    EXPECT_TRUE(fileDialogs.requests[0].save);

    data->ChText[0] = QStringLiteral("changed");
    form->saveFile();
    EXPECT_EQ(fileDialogs.requests.size(), 1);
    EXPECT_TRUE(contents(path(QStringLiteral("first.zvx"))).contains("changed"));
}

TEST_F(EditFormFiles, CancelledDialogsNeitherReadNorWrite)
{
    saveAs(path(QStringLiteral("a.zvx")));
    const QByteArray saved = contents(path(QStringLiteral("a.zvx")));
    data->ChText[1] = QStringLiteral("unsaved");

    saveAs(QString());
    open(QString());
    fileDialogs.answers.clear();
    form->saveFile(); // has a file: writes without asking
    EXPECT_EQ(fileDialogs.requests.size(), 3);
    EXPECT_EQ(data->ChText[1], QStringLiteral("unsaved"));
    EXPECT_EQ(form->document().lastFileName(), path(QStringLiteral("a.zvx")));
    EXPECT_TRUE(boxes.shown.isEmpty());
    EXPECT_EQ(fileDialogs.requests[2].title, QStringLiteral("データファイルを開く"));
    EXPECT_FALSE(fileDialogs.requests[2].save);
    EXPECT_EQ(fileDialogs.requests[2].defaultExtension, QStringLiteral(".zvx"));
    EXPECT_NE(contents(path(QStringLiteral("a.zvx"))), saved);
}

TEST_F(EditFormFiles, SaveThenOpenRestoresEveryStoreTilesGridAndText)
{
    const auto varied = makeVariedTitle();
    data->assignTitleFrom(*varied);
    saveAs(path(QStringLiteral("all.zvx")));

    data->setDefaults();
    selectChannel(3);
    ui().Text1->setText(QStringLiteral("typed"));
    open(path(QStringLiteral("all.zvx")));

    EXPECT_TRUE(boxes.shown.isEmpty());
    EXPECT_EQ(data->DotData, varied->DotData);
    EXPECT_EQ(data->DispData, varied->DispData);
    EXPECT_EQ(data->ChText, varied->ChText);
    EXPECT_EQ(data->ChNo, 3);
    EXPECT_EQ(ui().Text1->text(), varied->ChText[3]);
    EXPECT_EQ(form->document().lastFileName(), path(QStringLiteral("all.zvx")));
    for (int code = 0; code < Title::CodeCount; ++code) {
        PaletteTiles tiles;
        tiles.draw(code, varied->DotData[code]);
        ASSERT_EQ(form->tileImage(code), tiles.image(code)) << code;
    }
    for (int cell = 0; cell < Title::Cells; ++cell)
        ASSERT_TRUE(cellShows(cell, varied->DispData(cell, 0, 3))) << cell;
}

TEST_F(EditFormFiles, FailedSaveKeepsTheOldFileAndTheFileNamesAndSaysSo)
{
    saveAs(path(QStringLiteral("old.zvx")));
    const QByteArray old = contents(path(QStringLiteral("old.zvx")));

    // A file whose name leaves no room for the temporary file beside it:
    // the save cannot even start, whoever runs the test.
    const QString longName = path(QString(251, QLatin1Char('n')) + QStringLiteral(".zvx"));
    writeBytes(longName, "previous");
    data->ChText[0] = QStringLiteral("new");
    saveAs(longName);
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_EQ(boxes.shown[0].title, QStringLiteral("ファイルエラー"));
    EXPECT_FALSE(boxes.shown[0].text.isEmpty());
    EXPECT_EQ(contents(longName), QByteArray("previous"));

    saveAs(path(QStringLiteral("no/such/folder/x.zvx")));
    EXPECT_EQ(boxes.shown.size(), 2);
    EXPECT_EQ(form->document().lastFileName(), path(QStringLiteral("old.zvx")));
    EXPECT_EQ(form->document().dataFileName(), path(QStringLiteral("old.zvx")));
    EXPECT_EQ(contents(path(QStringLiteral("old.zvx"))), old);
}

TEST_F(EditFormFiles, UnreadableFileShowsTheReasonAndChangesNothing)
{
    saveAs(path(QStringLiteral("good.zvx")));
    data->ChText[2] = QStringLiteral("keep");
    data->DispData(0, 0, 0) = 1;
    form->DispDataSet(0);
    const auto before = std::make_unique<TitleData>(*data);

    // Valid up to a screen number that rounds outside a byte.
    TitleData bad;
    bad.setDefaults();
    QByteArray bytes = ZvxWriter::serialize(bad);
    const qsizetype screen = bytes.indexOf("0,0,0,0");
    bytes.replace(screen, 7, "9,9,256");
    writeBytes(path(QStringLiteral("bad.zvx")), bytes);

    open(path(QStringLiteral("bad.zvx")));
    open(path(QStringLiteral("missing.zvx")));
    ASSERT_EQ(boxes.shown.size(), 2);
    EXPECT_EQ(boxes.shown[0].title, QStringLiteral("ファイルエラー"));
    EXPECT_TRUE(boxes.shown[0].text.contains(QStringLiteral("256")));
    EXPECT_TRUE(boxes.shown[1].text.contains(QStringLiteral("missing.zvx")));
    EXPECT_EQ(data->DotData, before->DotData);
    EXPECT_EQ(data->DispData, before->DispData);
    EXPECT_EQ(data->ChText, before->ChText);
    EXPECT_EQ(form->document().lastFileName(), path(QStringLiteral("good.zvx")));
    EXPECT_TRUE(cellShows(0, 1));
}

TEST_F(EditFormFiles, AnInstalledCopyOpensInDocumentsAndWritesNothingNextToItsBinary)
{
    PerUserFolders home;
    home.makeDocuments();
    const QString installed = UserFolders::installedProgramFolders().constFirst() + QLatin1Char('/');
    const QStringList besideBinary = {installed + MakeData::BitmapName, installed + QStringLiteral("SetBmp.bmp")};
    for (const QString &file : besideBinary)
        ASSERT_FALSE(QFile::exists(file)) << file.toStdString();
    makeForm(installed);

    open(QString());
    saveAs(QString());
    ASSERT_EQ(fileDialogs.requests.size(), 2);
    for (const auto &request : fileDialogs.requests)
        EXPECT_EQ(request.folder, home.documents());

    ui().Text1->setText(QStringLiteral("AB"));
    form->makeData();
    EXPECT_TRUE(cellShows(0, 1));
    // The per-user cache of this program, whatever names the test gives it.
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + QLatin1Char('/');
    ASSERT_TRUE(cache.startsWith(home.cache() + QLatin1Char('/'))) << cache.toStdString();
    EXPECT_TRUE(QFile::exists(cache + MakeData::BitmapName));
    EXPECT_TRUE(QFile::exists(cache + QStringLiteral("SetBmp.bmp")));
    for (const QString &file : besideBinary)
        EXPECT_FALSE(QFile::exists(file)) << file.toStdString();
}

TEST_F(EditFormFiles, OpeningWhatCannotBeSavedAsReadChangesItAndSaysSoOnce)
{
    TitleData source;
    source.setDefaults();
    QByteArray bytes = ZvxWriter::serialize(source);
    const qsizetype block0 = bytes.indexOf("\r\n") + 2;
    bytes.insert(block0, "\"Tokyo, Japan\r\nOsaka\"");
    bytes.replace(bytes.indexOf("01010101"), 8, "\"0,\r\n11\""); // code 0, dots 0..3
    writeBytes(path(QStringLiteral("odd.zvx")), bytes);

    open(path(QStringLiteral("odd.zvx")));
    // Saving would write something else than the file holds: unsaved work.
    EXPECT_EQ(form->windowTitle(), QStringLiteral("8CH-Orvex [編集] - odd.zvx *"));
    EXPECT_FALSE(form->close());
    EXPECT_EQ(boxes.asked.size(), 1);
    EXPECT_EQ(data->ChText[0], QStringLiteral("Tokyo, Japan Osaka"));
    EXPECT_EQ(ui().Text1->text(), QStringLiteral("Tokyo, Japan Osaka"));
    EXPECT_TRUE(data->DotData[0][0].isTransparent());
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_TRUE(boxes.shown[0].text.contains(QStringLiteral("ブロック 0 "))) << qPrintable(boxes.shown[0].text);
    EXPECT_TRUE(boxes.shown[0].text.contains(QStringLiteral("文字コード 0 "))) << qPrintable(boxes.shown[0].text);

    // Ctrl+S writes a file that opens again to the same title, without a word.
    form->saveFile();
    EXPECT_EQ(form->windowTitle(), QStringLiteral("8CH-Orvex [編集] - odd.zvx"));
    const TitleData opened = *data; // the save made the empty dot transparent
    data->setDefaults();
    open(path(QStringLiteral("odd.zvx")));
    EXPECT_EQ(boxes.shown.size(), 1);
    EXPECT_EQ(data->ChText, opened.ChText);
    EXPECT_EQ(data->DotData, opened.DotData);
    EXPECT_EQ(data->DispData, opened.DispData);
}

TEST_F(EditFormFiles, SavingOverADeviceOrPipeIsRefusedAndTold)
{
    QFile::link(QStringLiteral("/dev/null"), path(QStringLiteral("null.zvx")));
    saveAs(path(QStringLiteral("null.zvx")));
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_TRUE(boxes.shown[0].text.contains(QStringLiteral("通常のファイルではありません"))) << qPrintable(boxes.shown[0].text);
    EXPECT_TRUE(form->document().lastFileName().isEmpty());
    EXPECT_FALSE(QFileInfo(QStringLiteral("/dev/null")).isFile());
}
