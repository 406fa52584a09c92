#pragma once

#include "FakeServices.h"
#include "support/QtPrinters.h"

#include "editor/EditForm.h"
#include "editor/PictureCell.h"

#include "core/ScreenLayout.h"

#include <QComboBox>
#include <QDir>
#include <QSettings>
#include <QTemporaryDir>

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
        return ui().DispPic[cell]->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
    }
    bool cellShows(int cell, int code) const { return cellImage(cell) == form->tileImage(code); }

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
