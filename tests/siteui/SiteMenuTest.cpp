// "サイトを開く…" in the editor: the schedule chosen in the file dialog opens
// in the site window, and a unit double-clicked there opens in the editor
// the way "開く" opens a file.

#include "editor/CutMarkLineEdit.h"
#include "editor/EditForm.h"
#include "siteui/SiteTree.h"
#include "siteui/SiteWindow.h"

#include "site/SiteMake.h"
#include "support/FakeServices.h"

#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(SiteMenu, OpensTheScheduleAndAUnitAskingAboutUnsavedWork)
{
    QTemporaryDir dir;
    const QString schedule = dir.filePath(QStringLiteral("site.csv"));
    QFile csv(schedule);
    ASSERT_TRUE(csv.open(QIODevice::WriteOnly));
    csv.write("unit,channel,title\nA,1,Gate\nB,2,Yard\n");
    csv.close();

    FakeMessageBoxes boxes;
    FakeFileDialogs fileDialogs;
    FakeFontDialogs fontDialogs;
    TitleData data;
    EditForm form(data, boxes, fileDialogs, fontDialogs, dir.path() + QLatin1Char('/'));
    form.ui().Text1->setText(QStringLiteral("unsaved"));
    form.ui().makeDataButton->click();
    ASSERT_TRUE(form.document().isModified());

    fileDialogs.answers = {schedule};
    form.ui().siteAction->trigger();
    ASSERT_EQ(fileDialogs.requests.size(), 1);
    EXPECT_EQ(fileDialogs.requests[0].title, QStringLiteral("サイトを開く"));
    auto *site = form.findChild<SiteWindow *>();
    ASSERT_NE(site, nullptr);
    site->makeAll();

    // Cancelled, the editor keeps its title; discarded, the unit's opens.
    boxes.saveAnswers = {MessageBoxes::SaveChoice::Cancel, MessageBoxes::SaveChoice::Discard};
    const QString unitB = QFileInfo(SiteMake::unitFile(site->folder(), QStringLiteral("B"))).absoluteFilePath();
    for (int attempt = 0; attempt < 2; ++attempt)
        emit site->tree().itemDoubleClicked(site->tree().unitRow(1), SiteTree::UnitColumn);
    EXPECT_EQ(boxes.asked.size(), 2);
    EXPECT_EQ(form.document().dataFileName(), unitB);
    EXPECT_FALSE(form.document().isModified());
    EXPECT_EQ(data.ChText[1], QStringLiteral("Yard"));
}
