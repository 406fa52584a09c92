#include "EditFormFixture.h"

#include "core/ZvxWriter.h"
#include "editor/ImageMenu.h"

#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QMenu>
#include <QMimeData>
#include <QSignalSpy>
#include <QUrl>
#include <QUndoStack>

using SaveChoice = MessageBoxes::SaveChoice;

namespace {

class EditFormGuard : public EditFormFixture
{
protected:
    // A file whose block 1 text says where the title came from.
    QString writeTitle(const QString &name, const QString &text)
    {
        TitleData title;
        title.setDefaults();
        title.ChText[1] = text;
        const QString file = path(name);
        EXPECT_TRUE(ZvxWriter::writeFile(file, title).ok);
        return file;
    }

    void makeUnsavedChange()
    {
        form->placeBlock(1);
        ASSERT_FALSE(form->document().undoStack().isClean());
    }
};

// What asks before it goes on, and how to tell that it went on.
struct Trigger
{
    const char *name;
    void (*run)(EditForm &);
    bool endsProgram;
};

struct GuardCase
{
    Trigger trigger;
    SaveChoice answer;
};

const Trigger Close{"CloseBox", [](EditForm &f) { f.close(); }, true};
const Trigger Exit{"ExitItem", [](EditForm &f) { f.ui().pEnd->trigger(); }, true};
const Trigger Open{"OpenItem", [](EditForm &f) { f.ui().FileOpenSave[0]->trigger(); }, false};

class EditFormGuardAnswers : public EditFormGuard, public ::testing::WithParamInterface<GuardCase>
{};

std::string caseName(const ::testing::TestParamInfo<GuardCase> &info)
{
    static const char *const answers[] = {"Save", "Discard", "Cancel"};
    return std::string(info.param.trigger.name) + answers[int(info.param.answer)];
}

} // namespace

TEST_P(EditFormGuardAnswers, SaveAndDiscardGoOnCancelKeepsEverything)
{
    const GuardCase &c = GetParam();
    const QString saved = path(QStringLiteral("saved.zvx"));
    const QString other = writeTitle(QStringLiteral("other.zvx"), QStringLiteral("other"));
    makeUnsavedChange();
    if (c.answer == SaveChoice::Save)
        fileDialogs.answers.append(saved);
    if (!c.trigger.endsProgram)
        fileDialogs.answers.append(other);
    boxes.saveAnswers = {c.answer};
    QSignalSpy ended(form.get(), &EditForm::programEnded);
    const quint8 placed = data->DispData(0, 0, 0);

    c.trigger.run(*form);

    ASSERT_EQ(boxes.asked.size(), 1);
    EXPECT_EQ(boxes.asked[0].text, QStringLiteral("変更を保存しますか？"));
    EXPECT_EQ(QFile::exists(saved), c.answer == SaveChoice::Save);
    const bool wentOn = c.answer != SaveChoice::Cancel;
    if (c.trigger.endsProgram) {
        EXPECT_EQ(ended.count(), wentOn ? 1 : 0);
    } else {
        EXPECT_EQ(data->ChText[1], wentOn ? QStringLiteral("other") : QString());
        // Cancel comes before the open dialog.
        EXPECT_EQ(fileDialogs.requests.size(), wentOn ? (c.answer == SaveChoice::Save ? 2 : 1) : 0);
    }
    if (!wentOn) {
        EXPECT_EQ(data->DispData(0, 0, 0), placed);
        EXPECT_FALSE(form->document().undoStack().isClean());
        EXPECT_EQ(form->windowTitle(), QStringLiteral("8CH-Orvex [編集] *"));
    }
}

INSTANTIATE_TEST_SUITE_P(, EditFormGuardAnswers,
                         ::testing::Values(GuardCase{Close, SaveChoice::Save}, GuardCase{Close, SaveChoice::Discard},
                                           GuardCase{Close, SaveChoice::Cancel}, GuardCase{Exit, SaveChoice::Save},
                                           GuardCase{Exit, SaveChoice::Discard}, GuardCase{Exit, SaveChoice::Cancel},
                                           GuardCase{Open, SaveChoice::Save}, GuardCase{Open, SaveChoice::Discard},
                                           GuardCase{Open, SaveChoice::Cancel}),
                         caseName);

TEST_F(EditFormGuard, WithoutChangesNothingIsAsked)
{
    QSignalSpy ended(form.get(), &EditForm::programEnded);
    fileDialogs.answers = {writeTitle(QStringLiteral("a.zvx"), QStringLiteral("a"))};
    ui().FileOpenSave[0]->trigger();
    // A freshly opened file is no change either.
    ui().pEnd->trigger();
    EXPECT_TRUE(boxes.asked.isEmpty());
    EXPECT_EQ(ended.count(), 1);
}

TEST_F(EditFormGuard, ACancelledOrFailedSaveKeepsTheWindowOpen)
{
    QSignalSpy ended(form.get(), &EditForm::programEnded);
    makeUnsavedChange();
    boxes.saveAnswers = {SaveChoice::Save, SaveChoice::Save};
    fileDialogs.answers = {QString(), path(QStringLiteral("missing/folder/t.zvx"))};
    EXPECT_FALSE(form->close()); // the save dialog was cancelled
    EXPECT_FALSE(form->close()); // the folder does not exist
    EXPECT_EQ(ended.count(), 0);
    EXPECT_EQ(boxes.shown.size(), 1); // the save's own error box
    EXPECT_FALSE(form->document().undoStack().isClean());
}

TEST_F(EditFormGuard, CaptionNamesTheFileAndMarksUnsavedWork)
{
    EXPECT_EQ(form->windowTitle(), QStringLiteral("8CH-Orvex [編集]"));
    makeUnsavedChange();
    EXPECT_EQ(form->windowTitle(), QStringLiteral("8CH-Orvex [編集] *"));
    fileDialogs.answers = {path(QStringLiteral("title.zvx"))};
    ASSERT_TRUE(form->saveFile());
    EXPECT_EQ(form->windowTitle(), QStringLiteral("8CH-Orvex [編集] - title.zvx"));
    form->clearScreen();
    EXPECT_EQ(form->windowTitle(), QStringLiteral("8CH-Orvex [編集] - title.zvx *"));
    // Back to what was saved.
    form->document().undoStack().undo();
    EXPECT_EQ(form->windowTitle(), QStringLiteral("8CH-Orvex [編集] - title.zvx"));
}

TEST_F(EditFormGuard, OpeningFromTheCommandLineOrADropReadsTheFile)
{
    const QString file = writeTitle(QStringLiteral("cli.zvx"), QStringLiteral("cli"));
    EXPECT_TRUE(form->openDataFile(file));
    EXPECT_EQ(data->ChText[1], QStringLiteral("cli"));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("8CH-Orvex [編集] - cli.zvx"));

    // A file that cannot be read: the box says so and the title stays.
    EXPECT_FALSE(form->openDataFile(path(QStringLiteral("nothing.zvx"))));
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_EQ(boxes.shown[0].title, QStringLiteral("ファイルエラー"));
    EXPECT_EQ(data->ChText[1], QStringLiteral("cli"));

    QMimeData text;
    text.setUrls({QUrl::fromLocalFile(path(QStringLiteral("notes.txt")))});
    QDragEnterEvent refused(QPoint(5, 5), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(form.get(), &refused);
    EXPECT_FALSE(refused.isAccepted());

    const QString dropped = writeTitle(QStringLiteral("DROP.ZVX"), QStringLiteral("dropped"));
    makeUnsavedChange();
    boxes.saveAnswers = {SaveChoice::Discard};
    QMimeData title;
    title.setUrls({QUrl::fromLocalFile(dropped)});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &title, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(form.get(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &title, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(form.get(), &drop);
    QCoreApplication::sendPostedEvents(form.get(), QEvent::MetaCall);
    EXPECT_EQ(boxes.asked.size(), 1); // through the guard
    EXPECT_EQ(data->ChText[1], QStringLiteral("dropped"));
}

TEST_F(EditFormGuard, RecentFilesOpenFromTheMenuAndOutliveTheWindow)
{
    EXPECT_FALSE(ui().recentMenu->isEnabled());
    QStringList files;
    for (int i = 0; i < 3; ++i) {
        files.append(writeTitle(QStringLiteral("t%1.zvx").arg(i), QStringLiteral("t%1").arg(i)));
        ASSERT_TRUE(form->openDataFile(files.last()));
    }

    makeForm(workDir.path() + QLatin1Char('/'));
    QList<QAction *> items = ui().recentMenu->actions();
    ASSERT_EQ(items.size(), 3);
    EXPECT_EQ(items[0]->text(), QStringLiteral("&1 ") + QDir::toNativeSeparators(files[2]));
    items[1]->trigger();
    EXPECT_EQ(data->ChText[1], QStringLiteral("t1"));
    EXPECT_TRUE(ui().recentMenu->actions()[0]->text().endsWith(QStringLiteral("t1.zvx")));

    // A file that has gone leaves the list after saying so.
    QFile::remove(files[0]);
    ui().recentMenu->actions()[2]->trigger();
    EXPECT_EQ(boxes.shown.size(), 1);
    EXPECT_EQ(ui().recentMenu->actions().size(), 2);
}

TEST_F(EditFormGuard, DialogsStartInTheProgramFolderThenWhereTheLastFileWas)
{
    QDir(workDir.path()).mkdir(QStringLiteral("titles"));
    fileDialogs.answers = {path(QStringLiteral("titles/a.zvx")), QString()};
    form->saveFileAs();
    form->openFile();
    ASSERT_EQ(fileDialogs.requests.size(), 2);
    EXPECT_EQ(fileDialogs.requests[0].folder, workDir.path() + QLatin1Char('/'));
    EXPECT_EQ(fileDialogs.requests[1].folder, path(QStringLiteral("titles")) + QLatin1Char('/'));
}

TEST_F(EditFormGuard, DataFileAndPictureDialogsShareTheFolderUsedLast)
{
    QDir(workDir.path()).mkdir(QStringLiteral("titles"));
    QDir(workDir.path()).mkdir(QStringLiteral("pictures"));
    const QString titles = path(QStringLiteral("titles")) + QLatin1Char('/');
    const QString pictures = path(QStringLiteral("pictures")) + QLatin1Char('/');
    fileDialogs.answers = {titles + QStringLiteral("a.zvx")};
    form->saveFileAs();

    // Each dialog in turn, the folder it must start in, and what it answers.
    struct Step
    {
        QAction *action;
        QString startsIn;
        QString answer;
    };
    ImageMenu &images = *form->imageMenu();
    for (const Step &step : {Step{images.exportSheetAction(), titles, pictures + QStringLiteral("sheet.png")},
                             Step{ui().FileOpenSave[2], pictures, titles + QStringLiteral("b.zvx")},
                             Step{images.exportPageAction(), titles, QString()},
                             Step{images.importSheetAction(), titles, pictures + QStringLiteral("sheet.png")},
                             Step{ui().FileOpenSave[0], pictures, QString()}}) {
        fileDialogs.requests.clear();
        fileDialogs.answers = {step.answer};
        step.action->trigger();
        ASSERT_EQ(fileDialogs.requests.size(), 1) << step.action->text().toStdString();
        EXPECT_EQ(fileDialogs.requests[0].folder, step.startsIn) << step.action->text().toStdString();
    }

    // A new window (the next start of the program) starts there too.
    makeForm(workDir.path() + QLatin1Char('/'));
    fileDialogs.requests.clear();
    form->imageMenu()->importBlockAction()->trigger();
    ASSERT_EQ(fileDialogs.requests.size(), 1);
    EXPECT_EQ(fileDialogs.requests[0].folder, pictures);
}
