#include "VerbParser.h"

#include "Commands.h"

#include <QCoreApplication>
#include <QTextStream>

namespace {

// Carries an argument with a single dash past the parser, which would take
// it for short options; no argument typed at a shell starts with it.
constexpr QChar Shield(0x1);

QString unshielded(QString text)
{
    if (text.startsWith(Shield))
        text.remove(0, 1);
    return text;
}

} // namespace

VerbParser::VerbParser(const QString &verb, const QString &summary) : m_verb(verb)
{
    m_parser.setApplicationDescription(summary);
    m_parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    m_parser.addOption(QCommandLineOption(QStringLiteral("help"), QStringLiteral("This help.")));
}

void VerbParser::addFlag(const QString &name, const QString &description)
{
    m_parser.addOption(QCommandLineOption(name, description));
}

void VerbParser::addValue(const QString &name, const QString &valueName, const QString &description)
{
    m_parser.addOption(QCommandLineOption(name, description, valueName));
}

void VerbParser::addPositional(const QString &name, const QString &description)
{
    m_parser.addPositionalArgument(name, description);
}

bool VerbParser::parse(const QStringList &args)
{
    QStringList shielded{QStringLiteral("orvex")};
    bool optionsEnded = false;
    for (const QString &arg : args) {
        const bool singleDash = arg.size() > 1 && arg.startsWith(u'-') && !arg.startsWith(QLatin1String("--"));
        shielded << (singleDash && !optionsEnded ? Shield + arg : arg);
        optionsEnded = optionsEnded || arg == QLatin1String("--");
    }
    if (!m_parser.parse(shielded)) {
        const QStringList unknown = m_parser.unknownOptionNames();
        m_exitCode = Cli::badArguments(
            unknown.isEmpty() ? m_verb + QStringLiteral(": ") + m_parser.errorText()
                              : QStringLiteral("%1: unexpected \"--%2\"").arg(m_verb, unknown.first()));
        return false;
    }
    if (m_parser.isSet(QStringLiteral("help"))) {
        QTextStream(stdout) << helpText() << Qt::flush;
        m_exitCode = 0;
        return false;
    }
    return true;
}

QString VerbParser::value(const QString &name) const
{
    return unshielded(m_parser.value(name));
}

QStringList VerbParser::positional() const
{
    QStringList arguments;
    for (const QString &arg : m_parser.positionalArguments())
        arguments << unshielded(arg);
    return arguments;
}

QString VerbParser::helpText() const
{
    // The parser names the program alone; the verb belongs after it.
    QString text = m_parser.helpText();
    const QString usage = QStringLiteral("Usage: ");
    const qsizetype end = text.indexOf(u' ', usage.size());
    if (text.startsWith(usage) && end > 0)
        text.replace(usage.size(), end - usage.size(), QStringLiteral("orvex ") + m_verb);
    return text;
}
