#include <QApplication>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    // Tests never open windows on a developer's desktop.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // Settings go to a folder of this process alone: never the developer's
    // own, and never shared with a test running beside it.
    QTemporaryDir settingsDir;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir.path());
    // The transfer log likewise: every write a test makes, by the engine or
    // by a program it starts, is recorded here and never in the real log.
    QTemporaryDir stateDir;
    qputenv("XDG_STATE_HOME", QFile::encodeName(stateDir.path()));
    // And the trust kept for TLS servers, which every TLS open reads.
    QTemporaryDir configDir;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(configDir.path()));
    QCoreApplication::setOrganizationName(QStringLiteral("orvex-tests"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
