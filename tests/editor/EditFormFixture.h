#pragma once

#include "support/FakeServices.h"
#include "support/QtPrinters.h"

#include "editor/CutMarkLineEdit.h"
#include "editor/EditForm.h"
#include "editor/MarkerShape.h"
#include "editor/PaletteView.h"
#include "editor/ScreenGrid.h"

#include "core/ScreenLayout.h"

#include <QComboBox>
#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

// An editor window on its own title data, with scripted dialogs and its work
// files in a temporary folder.
class EditFormFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // The recent files and the last folder of an earlier test in the
        // same program.
        QSettings().clear();
        makeForm(workDir.path() + QLatin1Char('/'));
    }

    void makeForm(const QString &workFolder)
    {
        form.reset();
        data = std::make_unique<TitleData>();
        form = std::make_unique<EditForm>(*data, boxes, fileDialogs, fontDialogs, workFolder);
    }

    const EditFormUi &ui() const { return form->ui(); }

    // The image a grid cell holds.
    QImage cellImage(int cell) const
    {
        return ui().DispPic->image(cell).convertToFormat(QImage::Format_RGB32);
    }
    bool cellShows(int cell, int code) const { return cellImage(cell) == form->tileImage(code); }
    // The image the palette shows for `code`.
    QImage tileShown(int code) const { return ui().PSetPic->image(code).convertToFormat(QImage::Format_RGB32); }
    // Where a cell stands in the grid's container.
    QRect cellRect(int cell) const
    {
        return ui().DispPic->cellRect(cell).translated(ui().DispPic->pos());
    }
    void clickCell(int cell, Qt::MouseButton button, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::mouseClick(ui().DispPic, button, modifiers, ui().DispPic->cellRect(cell).center());
    }
    // The red marker encloses the run of 25 cells from `cell`, one pixel
    // outside their dots.
    bool markerStandsAt(int cell) const
    {
        return ui().Shape4->geometry() == QRect(cellRect(cell).topLeft() - QPoint(1, 1), QSize(25 * 13 + 1, 20));
    }

    void selectChannel(int index)
    {
        ui().channelList->setCurrentIndex(index);
        emit ui().channelList->activated(index);
    }

    QString path(const QString &name) const { return workDir.filePath(name); }

    QTemporaryDir workDir;
    FakeMessageBoxes boxes;
    FakeFileDialogs fileDialogs;
    FakeFontDialogs fontDialogs;
    std::unique_ptr<TitleData> data;
    std::unique_ptr<EditForm> form;
};
