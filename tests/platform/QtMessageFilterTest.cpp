#include "platform/QtMessageFilter.h"

#include <QByteArray>

#include <gtest/gtest.h>

TEST(QtMessageFilter, OnlyTheProgramsOwnAndSeriousMessagesPass)
{
    qunsetenv("ORVEX_QT_MESSAGES");
    const struct
    {
        QtMsgType type;
        const char *category;
        bool passes;
    } cases[] = {
        {QtWarningMsg, "qt.gui.imageio", false},
        {QtWarningMsg, "default", false}, // "QStandardPaths: XDG_RUNTIME_DIR not set" and the like
        {QtDebugMsg, "qt.qpa.xcb", false},
        {QtInfoMsg, "default", false},
        {QtWarningMsg, nullptr, false},
        {QtCriticalMsg, "qt.qpa.plugin", true},
        {QtFatalMsg, "default", true},
        {QtWarningMsg, "orvex", true},
        {QtDebugMsg, "orvex.link", true},
        {QtWarningMsg, "orvexish", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(QtMessageFilter::passes(c.type, c.category), c.passes)
            << int(c.type) << ' ' << (c.category ? c.category : "(none)");

    // For finding a fault, everything can be let through again.
    qputenv("ORVEX_QT_MESSAGES", QByteArray("1"));
    EXPECT_TRUE(QtMessageFilter::passes(QtWarningMsg, "qt.gui.imageio"));
    qunsetenv("ORVEX_QT_MESSAGES");
}
