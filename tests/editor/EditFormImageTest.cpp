#include "EditFormFixture.h"

#include "charedit/HensyuForm.h"
#include "core/CharacterImage.h"
#include "core/ColourBars.h"
#include "core/ZvxTestData.h"
#include "editor/ImageMenu.h"

#include <QAction>
#include <QFile>
#include <QMenu>

namespace {

class EditFormImages : public EditFormFixture
{
protected:
    ImageMenu &menu() const { return *form->imageMenu(); }

    // Runs `action` with the file dialog answering `answer`.
    void run(QAction *action, const QString &answer)
    {
        fileDialogs.answers = {answer};
        action->trigger();
    }

    static QImage read(const QString &fileName) { return QImage(fileName).convertToFormat(QImage::Format_RGB32); }

    // The tile shows the pattern of `code` as the palette draws it.
    bool tileShows(int code, const CharPattern &pattern) const
    {
        return form->tileImage(code).pixel(3, 4)
            == (pattern[4 * 12 + 3].isBlack()       ? CharacterImage::Black
                    : pattern[4 * 12 + 3].isWhite() ? CharacterImage::White
                    : code == 0                     ? CharacterImage::Blank
                                                    : CharacterImage::Transparent);
    }
};

} // namespace

TEST_F(EditFormImages, TheFileMenuHoldsTheImageSubmenuAboveEnd)
{
    const QList<QAction *> file = ui().FileOS->actions();
    const qsizetype at = file.indexOf(menu().menu()->menuAction());
    ASSERT_GT(at, 0);
    EXPECT_EQ(menu().menu()->title(), QStringLiteral("画像"));
    EXPECT_TRUE(file[at - 1]->isSeparator());
    EXPECT_TRUE(file[at + 1]->isSeparator());
    EXPECT_EQ(file[at + 2], ui().pEnd);

    QStringList texts;
    for (QAction *action : menu().menu()->actions())
        if (!action->isSeparator())
            texts << action->text();
    EXPECT_EQ(texts, (QStringList{QStringLiteral("文字セットを書き出し…"), QStringLiteral("文字セットを読み込み…"),
                                  QStringLiteral("ブロックを読み込み…"), QStringLiteral("画面を書き出し…"),
                                  QStringLiteral("カラーバーに重ねる")}));
}

TEST_F(EditFormImages, AnExportedSheetReadsBackAsTheSameCharacters)
{
    const auto varied = makeVariedTitle();
    data->DotData = varied->DotData;
    run(menu().exportSheetAction(), path(QStringLiteral("sheet.png")));
    EXPECT_EQ(read(path(QStringLiteral("sheet.png"))), CharacterImage::sheet(*data));
    ASSERT_EQ(fileDialogs.requests.size(), 1);
    EXPECT_TRUE(fileDialogs.requests[0].save);
    EXPECT_EQ(fileDialogs.requests[0].title, QStringLiteral("文字セットを書き出し"));
    EXPECT_EQ(fileDialogs.requests[0].filter, QStringLiteral("PNG ﾌｧｲﾙ(*.png)|*.png|"));
    EXPECT_EQ(fileDialogs.requests[0].defaultExtension, QStringLiteral(".png"));

    for (auto &pattern : data->DotData)
        std::fill_n(pattern.begin(), Title::VisibleDots, PixelCode::transparent());
    run(menu().importSheetAction(), path(QStringLiteral("sheet.png")));
    EXPECT_EQ(data->DotData, varied->DotData);
    EXPECT_TRUE(boxes.shown.isEmpty());
    // The next dialog starts where the last picture was.
    EXPECT_EQ(fileDialogs.requests.last().folder, workDir.path() + QLatin1Char('/'));
}

TEST_F(EditFormImages, AnImportRedrawsTilesTheCurrentPageAndAnUneditedEnlargedView)
{
    selectChannel(1);
    data->DispData(0, 0, 1) = 30;
    data->DispData(1, 0, 1) = 0;
    form->DispDataSet(1);
    form->pickCharacter(30);
    form->openEnlargedEditor();

    TitleData source;
    source.setDefaults();
    for (auto &pattern : source.DotData)
        std::fill_n(pattern.begin(), Title::VisibleDots, PixelCode::white());
    ASSERT_TRUE(CharacterImage::sheet(source).save(path(QStringLiteral("white.png"))));
    run(menu().importSheetAction(), path(QStringLiteral("white.png")));

    for (int code : {0, 30, 255})
        EXPECT_TRUE(tileShows(code, data->DotData[code])) << code;
    EXPECT_TRUE(cellShows(0, 30));
    EXPECT_EQ(cellImage(0).pixel(3, 4), CharacterImage::White);
    EXPECT_TRUE(cellShows(1, 0));
    KakudaiGrid expected;
    expected.load(data->DotData[30]);
    EXPECT_EQ(form->enlargedEditor()->grid(), expected);

    // Unsaved edits in the enlarged view outlive the next import.
    form->enlargedEditor()->applyCommand(HensyuForm::AllBlack);
    const KakudaiGrid edited = form->enlargedEditor()->grid();
    run(menu().importSheetAction(), path(QStringLiteral("white.png")));
    EXPECT_EQ(form->enlargedEditor()->grid(), edited);
}

TEST_F(EditFormImages, BlockImportReplacesTheCurrentBlockOnly)
{
    form->pickCharacter(60); // block 2: codes 51..75
    const TitleData before = *data;
    QImage strip(900, 54, QImage::Format_ARGB32);
    strip.fill(Qt::black);
    ASSERT_TRUE(strip.save(path(QStringLiteral("strip.png"))));
    run(menu().importBlockAction(), path(QStringLiteral("strip.png")));
    EXPECT_TRUE(boxes.shown.isEmpty());
    for (int code = 0; code < Title::CodeCount; ++code) {
        const bool inBlock = code >= 51 && code <= 75;
        EXPECT_EQ(data->DotData[code][0], inBlock ? PixelCode::black() : before.DotData[code][0]) << code;
        EXPECT_EQ(data->DotData[code][250], before.DotData[code][250]) << code;
        EXPECT_TRUE(tileShows(code, data->DotData[code])) << code;
    }
    EXPECT_EQ(fileDialogs.requests[0].title, QStringLiteral("ブロックを読み込み"));
}

TEST_F(EditFormImages, PicturesThatCannotBeReadChangeNothing)
{
    QImage wrong(300, 18, QImage::Format_RGB32);
    wrong.fill(Qt::white);
    ASSERT_TRUE(wrong.save(path(QStringLiteral("strip.png"))));
    QFile text(path(QStringLiteral("text.png")));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("not a picture");
    text.close();
    const TitleData before = *data;

    run(menu().importSheetAction(), path(QStringLiteral("strip.png")));
    run(menu().importSheetAction(), path(QStringLiteral("text.png")));
    run(menu().importBlockAction(), path(QStringLiteral("text.png")));
    run(menu().importSheetAction(), QString()); // cancelled
    EXPECT_EQ(data->DotData, before.DotData);
    ASSERT_EQ(boxes.shown.size(), 3);
    EXPECT_EQ(boxes.shown[0].title, QStringLiteral("ファイルエラー"));
    EXPECT_TRUE(boxes.shown[0].text.contains(QStringLiteral("192 x 288"))) << boxes.shown[0].text.toStdString();
    EXPECT_TRUE(boxes.shown[0].text.contains(QStringLiteral("384 x 576")));
    EXPECT_TRUE(boxes.shown[1].text.contains(path(QStringLiteral("text.png"))));
    EXPECT_TRUE(tileShows(1, data->DotData[1]));
}

TEST_F(EditFormImages, PageExportDrawsTheCurrentChannelOptionallyOverBars)
{
    selectChannel(3);
    data->DotData[80][0] = PixelCode::white();
    data->DispData(0, 0, 3) = 80;
    run(menu().exportPageAction(), path(QStringLiteral("grey.png")));
    EXPECT_EQ(read(path(QStringLiteral("grey.png"))), CharacterImage::page(*data, 3));

    menu().colourBarsAction()->setChecked(true);
    run(menu().exportPageAction(), path(QStringLiteral("bars.png")));
    const QImage bars = read(path(QStringLiteral("bars.png")));
    EXPECT_EQ(bars, CharacterImage::page(*data, 3, CharacterImage::Background::ColourBars));
    EXPECT_EQ(bars.pixel(0, 0), CharacterImage::White);
    EXPECT_EQ(bars.pixel(1, 0), qRgb(191, 191, 191));

    // A folder that does not exist: the operator is told, nothing is written.
    run(menu().exportPageAction(), path(QStringLiteral("missing/page.png")));
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_TRUE(boxes.shown[0].text.contains(QStringLiteral("missing/page.png")));
}

// A whole imported sheet is one step: undo gives back every character and
// the screen shows them, redo the imported ones again.
TEST_F(EditFormImages, AnImportIsOneUndoStep)
{
    const auto varied = makeVariedTitle();
    data->DotData = varied->DotData;
    run(menu().exportSheetAction(), path(QStringLiteral("sheet.png")));
    data->setDefaults();
    form->document().undoStack().clear();
    const TitleData before = *data;
    // A picture carries the visible dots only; the spare ones stay.
    TitleData imported = before;
    for (int code = 0; code < Title::CodeCount; ++code)
        std::copy_n(varied->DotData[code].begin(), Title::VisibleDots, imported.DotData[code].begin());

    run(menu().importSheetAction(), path(QStringLiteral("sheet.png")));
    ASSERT_TRUE(data->DotData == imported.DotData);
    ASSERT_EQ(form->document().undoStack().count(), 1);

    form->document().undoStack().undo();
    EXPECT_TRUE(data->DotData == before.DotData);
    EXPECT_TRUE(tileShows(30, before.DotData[30]));
    form->document().undoStack().redo();
    EXPECT_TRUE(data->DotData == imported.DotData);
    EXPECT_TRUE(tileShows(30, imported.DotData[30]));
}
