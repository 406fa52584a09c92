#pragma once

#include "platform/PortChoiceStore.h"

#include <QSettings>
#include <QTemporaryDir>

// The remembered port in a settings file of the test's own, so a test never
// reads or changes what the user's editor remembers. A second store on the
// same file is the next start of the program.
class ScratchPortChoices
{
    QTemporaryDir m_dir;
    QSettings m_settings{m_dir.filePath(QStringLiteral("orvex-editor.conf")), QSettings::IniFormat};

public:
    PortChoiceStore store{m_settings};

    QString fileName() const { return m_settings.fileName(); }
};
