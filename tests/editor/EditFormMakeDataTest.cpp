#include "EditFormFixture.h"

#include "editor/PaletteTiles.h"
#include "render/BlockTextGuard.h"
#include "render/MakeData.h"
#include "render/RenderFont.h"
#include "render/StripFit.h"

#include <QCheckBox>
#include <QFile>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <memory>
#include <utility>

namespace {

class EditFormMakeData : public EditFormFixture
{
protected:
    // Each tile must show exactly its pattern on a plain background.
    void expectBlockTilesMatchPatterns(int topCode)
    {
        PaletteTiles fresh;
        for (int code = topCode; code < topCode + Title::BlockSize; ++code) {
            fresh.draw(code, data->DotData[code]);
            EXPECT_EQ(form->tileImage(code), fresh.image(code)) << code;
            EXPECT_EQ(tileShown(code), fresh.image(code))
                << code;
        }
    }

    int blockDots(int topCode, const PixelCode &code) const
    {
        int n = 0;
        for (int k = 0; k < Title::BlockSize; ++k)
            for (int d = 0; d < Title::VisibleDots; ++d)
                n += data->DotData[topCode + k][d] == code ? 1 : 0;
        return n;
    }
};

} // namespace

TEST_F(EditFormMakeData, FillsTheBlockAndItsTilesThenLaysOutThePageFromTheSelectedCell)
{
    selectChannel(2);
    form->selectCell(35);
    data->DispData(0, 0, 2) = 9;
    data->DispData(0, 0, 1) = 9;
    data->DispData(0, 1, 2) = 4;
    // A leftover dot in a tile the text will not reach.
    data->DotData[75][0] = PixelCode::black();
    form->DotDataSet(75);
    const QString text = QStringLiteral("ABC あいう 123");
    ui().Text1->setText(text);

    // What the same steps give on the title data alone.
    auto expected = std::make_unique<TitleData>(*data);
    MakeData::Request request;
    request.text = text;
    request.font = ui().Text1->font();
    request.topCode = 51;
    request.page = 2;
    request.selCell = 35;
    request.workFolder = path(QStringLiteral("elsewhere/"));
    MakeData::run(*expected, request);

    form->makeData();

    EXPECT_TRUE(boxes.shown.isEmpty());
    EXPECT_EQ(data->ChText[2], text);
    EXPECT_EQ(data->DotData, expected->DotData);
    EXPECT_EQ(data->DispData, expected->DispData);
    EXPECT_GT(blockDots(51, PixelCode::white()), 100);
    EXPECT_GT(blockDots(51, PixelCode::black()), 100);
    expectBlockTilesMatchPatterns(51);

    // Page 2 cleared, the block from cell 35 (column 5: all 25 codes); other
    // pages and layer 1 untouched; every cell shows what its data says.
    for (int cell = 0; cell < Title::Cells; ++cell) {
        const int code = cell >= 35 && cell < 60 ? 51 + cell - 35 : 0;
        ASSERT_EQ(data->DispData(cell, 0, 2), code) << cell;
        ASSERT_TRUE(cellShows(cell, code)) << cell;
    }
    EXPECT_EQ(data->DispData(0, 0, 1), 9);
    EXPECT_EQ(data->DispData(0, 1, 2), 4);
    EXPECT_EQ(form->document().selectedCell(), 35);
    EXPECT_EQ(form->document().topCode(), 51);
    EXPECT_EQ(ui().Text1->text(), text);
    EXPECT_TRUE(QFile::exists(path(MakeData::BitmapName)));
    EXPECT_TRUE(QFile::exists(path(QStringLiteral("SetBmp.bmp"))));
}

TEST_F(EditFormMakeData, PlacementStopsAtTheEndOfTheRow)
{
    form->selectCell(389);
    ui().Text1->setText(QStringLiteral("X"));
    form->makeData();
    EXPECT_EQ(data->DispData(389, 0, 0), 1);
    EXPECT_EQ(data->DispData(388, 0, 0), 0);
    EXPECT_TRUE(cellShows(389, 1));
}

TEST_F(EditFormMakeData, RefusedTextWarnsAndChangesNothing)
{
    ui().Text1->setText(QStringLiteral("OK"));
    form->makeData();
    const auto before = std::make_unique<TitleData>(*data);
    const QImage tileBefore = form->tileImage(1);
    const QImage cellBefore = cellImage(0);

    // Each refusal names the character at fault.
    const std::pair<QString, QStringList> refused[] = {
        {QStringLiteral("A,\"B\""), {QStringLiteral("「,」"), QStringLiteral("「\"」")}},
        {QStringLiteral("\"quoted"), {QStringLiteral("「\"」")}},
    };
    for (const auto &[text, named] : refused) {
        boxes.shown.clear();
        ui().Text1->setText(text);
        form->makeData();
        ASSERT_EQ(boxes.shown.size(), 1) << text.toStdString();
        EXPECT_EQ(boxes.shown[0].title, BlockTextGuard::title());
        EXPECT_EQ(boxes.shown[0].text, BlockTextGuard::message(BlockTextGuard::check(text)));
        for (const QString &character : named)
            EXPECT_TRUE(boxes.shown[0].text.contains(character)) << text.toStdString();
        EXPECT_EQ(data->ChText, before->ChText);
        EXPECT_EQ(data->DotData, before->DotData);
        EXPECT_EQ(data->DispData, before->DispData);
        EXPECT_EQ(form->tileImage(1), tileBefore);
        EXPECT_EQ(cellImage(0), cellBefore);
        // The operator's text stays for correcting.
        EXPECT_EQ(ui().Text1->text(), text);
    }
}

TEST_F(EditFormMakeData, EdgingAndInversionButtonsRedrawTilesAndTheCellsShowingThem)
{
    ui().edgingCheck->setChecked(false);
    ui().Text1->setText(QStringLiteral("ABC あいう 123"));
    form->makeData();
    EXPECT_EQ(blockDots(1, PixelCode::black()), 0);
    const QImage cellBefore = cellImage(1);

    ui().LineEdit[0]->click();
    EXPECT_GT(blockDots(1, PixelCode::black()), 0);
    expectBlockTilesMatchPatterns(1);
    // Not left stale until the next page redraw.
    EXPECT_NE(cellImage(1), cellBefore);
    EXPECT_TRUE(cellShows(1, 2));

    // The same as rendering with "縁取" checked.
    ui().edgingCheck->setChecked(true);
    const auto edgedByButton = std::make_unique<TitleData>(*data);
    form->makeData();
    EXPECT_EQ(data->DotData, edgedByButton->DotData);

    const auto edged = std::make_unique<TitleData>(*data);
    const int white = blockDots(1, PixelCode::white());
    const int black = blockDots(1, PixelCode::black());
    ui().LineEdit[1]->click();
    EXPECT_EQ(blockDots(1, PixelCode::black()), white);
    EXPECT_EQ(blockDots(1, PixelCode::white()), black);
    expectBlockTilesMatchPatterns(1);
    ui().LineEdit[1]->click();
    EXPECT_EQ(data->DotData, edged->DotData);
    expectBlockTilesMatchPatterns(1);

    // Only the current block is touched.
    selectChannel(1);
    ui().LineEdit[0]->click();
    for (int code = 1; code <= 25; ++code)
        ASSERT_EQ(data->DotData[code], edged->DotData[code]);
}

TEST_F(EditFormMakeData, TextBoxStartsWithTheDefaultNameDrawnByItsStandIn)
{
    const QFont font = ui().Text1->font();
    EXPECT_EQ(font.family(), RenderFont::DefaultFamily);
    EXPECT_DOUBLE_EQ(font.pointSizeF(), RenderFont::DefaultPointSize);
    EXPECT_FALSE(font.bold());
    EXPECT_EQ(QFontInfo(font).family(), RenderFont::SubstituteFamily);
}

TEST_F(EditFormMakeData, FontDialogCancelKeepsTheFontAndAcceptCopiesTheChoice)
{
    const QFont original = ui().Text1->font();
    form->chooseFont();
    ASSERT_EQ(fontDialogs.asked.size(), 1);
    EXPECT_EQ(fontDialogs.asked[0].family(), original.family());
    EXPECT_DOUBLE_EQ(fontDialogs.asked[0].pointSizeF(), original.pointSizeF());
    EXPECT_EQ(ui().Text1->font(), original);

    QFont chosen(QStringLiteral("DejaVu Sans"));
    chosen.setPointSizeF(9);
    chosen.setBold(true);
    chosen.setItalic(true);
    chosen.setUnderline(true);
    chosen.setStrikeOut(true);
    fontDialogs.answer = chosen;
    form->chooseFont();
    const QFont font = ui().Text1->font();
    EXPECT_EQ(font.family(), QStringLiteral("DejaVu Sans"));
    EXPECT_DOUBLE_EQ(font.pointSizeF(), 9);
    EXPECT_TRUE(font.bold());
    EXPECT_TRUE(font.italic());
    EXPECT_TRUE(font.underline());
    EXPECT_TRUE(font.strikeOut());

    // The next dialog opens on that choice.
    fontDialogs.answer.reset();
    form->chooseFont();
    ASSERT_EQ(fontDialogs.asked.size(), 3);
    EXPECT_EQ(fontDialogs.asked[2].family(), QStringLiteral("DejaVu Sans"));
    EXPECT_TRUE(fontDialogs.asked[2].strikeOut());
    EXPECT_EQ(ui().Text1->font(), font);

    // The rendering draws with the text box's font: an empty text struck
    // through still leaves the line of its space.
    ui().Text1->clear();
    form->makeData();
    EXPECT_GT(blockDots(1, PixelCode::white()), 0);
}

TEST_F(EditFormMakeData, TheCounterFollowsTheTextAndMarksWhereItIsCut)
{
    const QColor normal = ui().Frame2->palette().color(QPalette::WindowText);
    struct Case
    {
        QString text;
        bool fits;
    };
    const Case cases[] = {
        {QString(), true},
        {QStringLiteral("本日のニュース"), true},
        {QString(40, u'あ'), false},
        {QStringLiteral("ABCDEFGHIJ") + QString(30, u'W'), false},
    };
    for (const Case &c : cases) {
        ui().Text1->setText(c.text);
        const StripFit::Measure fit = StripFit::measure(c.text, ui().Text1->font());
        ASSERT_EQ(fit.fits(), c.fits) << c.text.toStdString();
        EXPECT_EQ(ui().fitLabel->text(), fit.usage()) << c.text.toStdString();
        EXPECT_EQ(ui().fitLabel->palette().color(QPalette::WindowText), c.fits ? normal : QColor(Qt::red))
            << c.text.toStdString();
        EXPECT_EQ(ui().Text1->cutAt(), fit.markIndex()) << c.text.toStdString();
        EXPECT_EQ(ui().Text1->cutWithin(), fit.markWithin()) << c.text.toStdString();
        // What is cut is tinted red, with a red bar at the cut when that is
        // in view.
        if (!c.fits) {
            form->show();
            const QImage box = ui().Text1->grab().toImage().convertToFormat(QImage::Format_RGB32);
            const int middle = box.height() / 2;
            bool tinted = false;
            for (int x = 0; x < box.width() && !tinted; ++x)
                tinted = qRed(box.pixel(x, middle)) > qGreen(box.pixel(x, middle)) + 30;
            EXPECT_TRUE(tinted) << c.text.toStdString();
            // The cut comes into view: the box is as wide as the strip, so
            // from the text's start its end lies just past the box's, and
            // the box scrolls on only as far as the cursor.
            ui().Text1->setCursorPosition(0);
            ui().Text1->grab();
            ui().Text1->setCursorPosition(int(fit.markIndex()) + 3);
            const QImage start = ui().Text1->grab().toImage().convertToFormat(QImage::Format_RGB32);
            const int x = ui().Text1->cutMarkX();
            ASSERT_GE(x, 0) << c.text.toStdString();
            EXPECT_EQ(start.pixel(x, middle), 0xFFFF0000u) << c.text.toStdString();
        }
    }

    // A larger font uses more of the strip for the same text.
    ui().Text1->setText(QStringLiteral("ABC"));
    const QString small = ui().fitLabel->text();
    QFont large = ui().Text1->font();
    large.setPointSizeF(large.pointSizeF() * 3);
    fontDialogs.answer = large;
    form->chooseFont();
    EXPECT_NE(ui().fitLabel->text(), small);
}

TEST_F(EditFormMakeData, ATextThatIsCutIsMadeAndToldOnce)
{
    const QString long40 = QString(40, u'あ');
    ui().Text1->setText(long40);
    form->makeData();
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_EQ(boxes.shown[0].title, QStringLiteral("データ作成"));
    EXPECT_TRUE(boxes.shown[0].text.contains(ui().fitLabel->text())) << boxes.shown[0].text.toStdString();
    EXPECT_EQ(data->ChText[0], long40);
    EXPECT_EQ(data->DispData(24, 0, 0), 25);
    EXPECT_EQ(ui().fitLabel->palette().color(QPalette::WindowText), QColor(Qt::red));

    // A block that fits the strip but not the row from the selected cell.
    boxes.shown.clear();
    form->selectCell(20); // ten cells left in the row
    ui().Text1->setText(QString(15, u'あ'));
    form->makeData();
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_TRUE(boxes.shown[0].text.contains(QStringLiteral("セル20"))) << boxes.shown[0].text.toStdString();

    // What fits says nothing.
    boxes.shown.clear();
    form->selectCell(0);
    form->makeData();
    EXPECT_TRUE(boxes.shown.isEmpty());
}

TEST_F(EditFormMakeData, ATextWithACommaIsMadeSavedAndReopenedAsTyped)
{
    for (const QString &text : {QStringLiteral("Tokyo, Japan"), QStringLiteral("東京, 大阪"), QStringLiteral("a\"b")}) {
        boxes.shown.clear();
        ui().Text1->setText(text);
        form->makeData();
        EXPECT_TRUE(boxes.shown.isEmpty()) << text.toStdString();
        EXPECT_EQ(data->ChText[0], text);
        const QString file = path(QStringLiteral("comma.zvx"));
        fileDialogs.answers = {file};
        ASSERT_TRUE(form->saveFileAs());
        const TitleData saved = *data;
        data->setDefaults();
        ASSERT_TRUE(form->openDataFile(file));
        EXPECT_TRUE(boxes.shown.isEmpty()) << text.toStdString();
        EXPECT_EQ(data->ChText, saved.ChText);
        EXPECT_EQ(data->DotData, saved.DotData);
        EXPECT_EQ(ui().Text1->text(), text);
        EXPECT_FALSE(form->document().isModified());
    }
}
