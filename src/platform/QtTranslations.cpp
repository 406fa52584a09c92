#include "QtTranslations.h"

#include <QLibraryInfo>
#include <QTranslator>

bool QtTranslations::loadJapanese(QTranslator &translator)
{
    return translator.load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}
