#include "platform/QtTranslations.h"

#include <QTranslator>

#include <gtest/gtest.h>

TEST(QtTranslations, JapaneseDialogTextsLoadWhereTheInstallScriptPutsThem)
{
    QTranslator translator;
    if (!QtTranslations::loadJapanese(translator))
        GTEST_SKIP() << "qt6-translations-l10n is not installed";
    EXPECT_FALSE(translator.isEmpty());
    EXPECT_NE(translator.translate("QFileDialog", "&Open"), QString());
}
