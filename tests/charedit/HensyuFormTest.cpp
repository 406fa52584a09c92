#include "charedit/CopyBuffer.h"
#include "charedit/HensyuForm.h"
#include "charedit/KakudaiDotGrid.h"
#include "document/TitleDocument.h"

#include "support/FakeServices.h"
#include "support/QtPrinters.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

class HensyuFormTest : public ::testing::Test
{
protected:
    HensyuFormTest()
    {
        m_data.setDefaults();
        CopyBuffer::shared().clear();
        QObject::connect(&m_document, &TitleDocument::patternsChanged, [this](const QList<int> &codes) {
            m_redrawn.insert(m_redrawn.end(), codes.begin(), codes.end());
        });
    }

    std::unique_ptr<HensyuForm> makeForm()
    {
        auto form = std::make_unique<HensyuForm>(m_document, m_boxes);
        form->setAttribute(Qt::WA_DeleteOnClose, false);
        return form;
    }

    FakeMessageBoxes m_boxes;
    TitleData m_data;
    TitleDocument m_document{m_data, QString()};
    // The codes whose stored pattern the editor changed.
    std::vector<int> m_redrawn;
};

} // namespace

TEST_F(HensyuFormTest, LoadingOpensTheCharacterInTheDocumentAndShowsIt)
{
    auto form = makeForm();
    m_data.DotData[65][13] = PixelCode::white();
    form->KakudaiDataSet(65);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("文字65編集中"));
    EXPECT_EQ(m_document.openedCharacter(), 65);
    EXPECT_EQ(form->grid().colour(13), KakudaiGrid::White);
    EXPECT_EQ(form->grid().colour(14), KakudaiGrid::Transparent);
    EXPECT_FALSE(form->isVisible());

    form->KakudaiDataSet(0);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("文字0編集中"));
    form->KakudaiDataSet(255);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("文字255編集中"));
}

TEST_F(HensyuFormTest, ButtonsRunTheirCommandByIndex)
{
    auto form = makeForm();
    form->KakudaiDataSet(1);
    EXPECT_EQ(form->hensyuCommand(HensyuForm::AllWhite)->text(), QStringLiteral("全白"));
    form->hensyuCommand(HensyuForm::AllWhite)->click();
    EXPECT_EQ(form->grid().colour(100), KakudaiGrid::White);
    form->hensyuCommand(HensyuForm::SwapBlackWhite)->click();
    EXPECT_EQ(form->grid().colour(100), KakudaiGrid::Black);
    form->hensyuCommand(HensyuForm::ShiftDown)->click();
    EXPECT_EQ(form->grid().colour(0), KakudaiGrid::Transparent);
    EXPECT_EQ(form->grid().colour(12), KakudaiGrid::Black);
    // Nothing is stored before "保存".
    EXPECT_TRUE(m_data.DotData[1][100].isTransparent());
    EXPECT_TRUE(m_redrawn.empty());
}

TEST_F(HensyuFormTest, SaveStoresVisibleDotsOnlyAndCancelRestoresTheStore)
{
    auto form = makeForm();
    m_data.DotData[30][216] = PixelCode::black();
    m_data.DotData[30][255] = PixelCode::fromText(u"");
    form->KakudaiDataSet(30);
    form->pressDot(5);
    form->saveCharacter();
    EXPECT_TRUE(m_data.DotData[30][5].isBlack());
    EXPECT_TRUE(m_data.DotData[30][216].isBlack());
    EXPECT_TRUE(m_data.DotData[30][255].isEmpty());
    EXPECT_EQ(m_redrawn, std::vector<int>{30});

    form->pressDot(6);
    form->cancelEdits();
    EXPECT_EQ(form->grid().colour(5), KakudaiGrid::Black);
    EXPECT_EQ(form->grid().colour(6), KakudaiGrid::Transparent);
}

TEST_F(HensyuFormTest, SaveBeforeAnythingWasLoadedDoesNothing)
{
    m_document.openCharacter(3);
    auto form = makeForm();
    const TitleData before = m_data;
    form->hensyuCommand(HensyuForm::ShiftUp)->click(); // leaves neutral boxes partly neutral
    form->saveCharacter();
    EXPECT_EQ(m_data.DotData, before.DotData);
    EXPECT_TRUE(m_redrawn.empty());

    form->pasteCharacter(); // nothing copied yet
    EXPECT_EQ(m_data.DotData, before.DotData);
    EXPECT_TRUE(m_redrawn.empty());
}

TEST_F(HensyuFormTest, CopyTakesTheStoredPatternAndPasteCarriesSpareDots)
{
    auto form = makeForm();
    m_data.DotData[10][0] = PixelCode::white();
    m_data.DotData[10][240] = PixelCode::black();
    form->KakudaiDataSet(10);
    form->pressDot(1); // unsaved, not part of the copy
    form->copyCharacter();

    // The copy outlives the window.
    form.reset();
    auto second = makeForm();
    second->KakudaiDataSet(20);
    second->pasteCharacter();
    EXPECT_EQ(m_data.DotData[20], m_data.DotData[10]);
    EXPECT_TRUE(m_data.DotData[20][1].isTransparent());
    EXPECT_EQ(m_redrawn, std::vector<int>{20});
    EXPECT_EQ(second->grid().colour(0), KakudaiGrid::White);
    EXPECT_EQ(second->windowTitle(), QStringLiteral("文字20編集中"));
}

TEST_F(HensyuFormTest, PressOnTheGridCyclesTheBoxUnderTheMouse)
{
    EXPECT_EQ(KakudaiDotGrid::boxAt({0, 0}), 0);
    EXPECT_EQ(KakudaiDotGrid::boxAt({12, 0}), 1); // the shared outline
    EXPECT_EQ(KakudaiDotGrid::boxAt({144, 216}), 215);
    EXPECT_EQ(KakudaiDotGrid::boxAt({145, 100}), -1);
    EXPECT_EQ(KakudaiDotGrid::boxAt({-1, 0}), -1);

    auto form = makeForm();
    form->KakudaiDataSet(1);
    const QPointF pos(12 * 3 + 6, 12 * 2 + 6);
    QMouseEvent press(QEvent::MouseButtonPress, pos, form->dotGrid()->mapToGlobal(pos), Qt::RightButton,
                      Qt::RightButton, Qt::ShiftModifier);
    QApplication::sendEvent(form->dotGrid(), &press);
    EXPECT_EQ(form->grid().colour(2 * 12 + 3), KakudaiGrid::Black);
}

TEST_F(HensyuFormTest, CaptionMarksUnsavedEditsAndPasteOverThemCanBeTakenBack)
{
    auto form = makeForm();
    m_data.DotData[11][0] = PixelCode::white();
    form->KakudaiDataSet(11);
    form->copyCharacter();
    form->KakudaiDataSet(12);
    form->pressDot(4);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("文字12編集中 *"));
    EXPECT_TRUE(form->hasUnsavedEdits());

    form->pasteCharacter();
    EXPECT_EQ(m_data.DotData[12], m_data.DotData[11]);
    EXPECT_EQ(form->grid().colour(0), KakudaiGrid::White);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("文字12編集中"));
    EXPECT_FALSE(form->overtakenNotice()->isVisibleTo(form.get()));

    // The edit made before the paste comes back, as edits over the pasted
    // character, and saving them asks first.
    form->undoStack().undo();
    EXPECT_EQ(form->grid().colour(4), KakudaiGrid::Black);
    EXPECT_EQ(form->grid().colour(0), KakudaiGrid::Transparent);
    EXPECT_TRUE(form->storedChangedUnderEdits());
    EXPECT_TRUE(form->overtakenNotice()->isVisibleTo(form.get()));
    form->saveCharacter();
    EXPECT_EQ(m_boxes.asked.size(), 1);
    EXPECT_EQ(m_data.DotData[12], m_data.DotData[11]); // キャンセル, the default answer
}
