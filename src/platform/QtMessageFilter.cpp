#include "QtMessageFilter.h"

#include <QString>

#include <cstdio>
#include <cstring>

namespace QtMessageFilter {

namespace {

void handle(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (!passes(type, context.category))
        return;
    const QByteArray line = qFormatLogMessage(type, context, message).toLocal8Bit();
    std::fprintf(stderr, "%s\n", line.constData());
    std::fflush(stderr);
}

} // namespace

bool passes(QtMsgType type, const char *category)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        return true;
    if (category && (std::strcmp(category, "orvex") == 0 || std::strncmp(category, "orvex.", 6) == 0))
        return true;
    return !qEnvironmentVariableIsEmpty("ORVEX_QT_MESSAGES");
}

void install()
{
    qInstallMessageHandler(handle);
}

} // namespace QtMessageFilter
