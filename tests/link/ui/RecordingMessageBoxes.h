#pragma once

#include "platform/MessageBoxes.h"

#include <QStringList>

// Answers every box at once and remembers what it said.
class RecordingMessageBoxes : public MessageBoxes
{
public:
    void warning(QWidget *, const QString &title, const QString &text) override
    {
        titles.append(title);
        texts.append(text);
    }
    SaveChoice askSave(QWidget *, const QString &, const QString &) override { return SaveChoice::Cancel; }

    QStringList titles;
    QStringList texts;
};
