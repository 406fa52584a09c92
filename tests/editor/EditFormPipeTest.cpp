#include "EditFormFixture.h"

#include "support/FifoUnblocker.h"

#include "core/ZvxWriter.h"
#include "editor/ImageMenu.h"

#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QUndoStack>
#include <QUrl>

#include <sys/stat.h>

using SaveChoice = MessageBoxes::SaveChoice;

namespace {

// Named pipes (and devices) given to the editor in every way a file reaches
// it: each must be refused unopened with one box naming it, and the window
// must stay as it was.
class EditFormPipes : public EditFormFixture
{
protected:
    void SetUp() override
    {
        EditFormFixture::SetUp();
        fifo = path(QStringLiteral("pipe.zvx"));
        ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        unblocker = std::make_unique<FifoUnblocker>(fifo);
    }
    void TearDown() override { unblocker.reset(); }

    void makeUnsavedChange()
    {
        form->placeBlock(1);
        ASSERT_TRUE(form->document().isModified());
    }

    // One box, naming the pipe, and nothing asked or changed.
    void expectRefusedOnce(const TitleData &before)
    {
        ASSERT_EQ(boxes.shown.size(), 1);
        EXPECT_EQ(boxes.shown[0].title, QStringLiteral("ファイルエラー"));
        EXPECT_TRUE(boxes.shown[0].text.contains(fifo)) << boxes.shown[0].text.toStdString();
        EXPECT_TRUE(boxes.shown[0].text.contains(QStringLiteral("FIFO"))) << boxes.shown[0].text.toStdString();
        EXPECT_TRUE(boxes.asked.isEmpty());
        EXPECT_EQ(data->DispData, before.DispData);
        EXPECT_EQ(data->DotData, before.DotData);
    }

    QString fifo;
    std::unique_ptr<FifoUnblocker> unblocker;
};

} // namespace

TEST_F(EditFormPipes, TheStartUpFileIsReadOnlyOnceTheWindowRunsAndAPipeIsRefused)
{
    const TitleData before = *data;
    form->show();
    form->openAtStart(fifo);
    // Nothing is read before the event loop runs, so the window is drawn
    // first whatever the file does.
    EXPECT_TRUE(boxes.shown.isEmpty());
    QCoreApplication::sendPostedEvents(form.get(), QEvent::MetaCall);
    expectRefusedOnce(before);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("8CH-Orvex [編集]"));
}

TEST_F(EditFormPipes, APipeIsRefusedBeforeAskingAboutUnsavedWork)
{
    makeUnsavedChange();
    const TitleData before = *data;
    boxes.saveAnswers = {SaveChoice::Discard};

    EXPECT_FALSE(form->openDataFile(fifo));
    expectRefusedOnce(before);
    EXPECT_TRUE(form->document().isModified());

    // A dropped pipe goes the same way.
    boxes.shown.clear();
    QMimeData dropped;
    dropped.setUrls({QUrl::fromLocalFile(fifo)});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(form.get(), &enter);
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(form.get(), &drop);
    QCoreApplication::sendPostedEvents(form.get(), QEvent::MetaCall);
    expectRefusedOnce(before);
}

TEST_F(EditFormPipes, ARecentFileThatBecameAPipeIsRefusedBeforeAsking)
{
    const QString file = path(QStringLiteral("title.zvx"));
    TitleData title;
    title.setDefaults();
    ASSERT_TRUE(ZvxWriter::writeFile(file, title).ok);
    ASSERT_TRUE(form->openDataFile(file));
    QFile::remove(file);
    ASSERT_EQ(::mkfifo(QFile::encodeName(file).constData(), 0600), 0);
    FifoUnblocker release(file);
    fifo = file;
    makeUnsavedChange();
    const TitleData before = *data;

    ui().recentMenu->actions()[0]->trigger();
    expectRefusedOnce(before);
}

TEST_F(EditFormPipes, OpenAndPictureImportsRefuseAPipe)
{
    const TitleData before = *data;
    fileDialogs.answers = {fifo};
    form->openFile();
    expectRefusedOnce(before);

    for (QAction *import : {form->imageMenu()->importSheetAction(), form->imageMenu()->importBlockAction()}) {
        boxes.shown.clear();
        fileDialogs.answers = {fifo};
        import->trigger();
        expectRefusedOnce(before);
    }
}
