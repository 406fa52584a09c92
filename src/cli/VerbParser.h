#pragma once

#include <QCommandLineParser>
#include <QString>
#include <QStringList>

// One verb's arguments through QCommandLineParser: its options and
// positional arguments, and its `--help` built from them. Options are long
// (`--port 1` or `--port=1`); an argument with a single dash is never an
// option, so a title text such as "-SALE-" or the file "-" stays an
// argument, as it always was.
class VerbParser
{
public:
    // `verb` as typed ("status", "site send"), `summary` the first line of
    // its help.
    VerbParser(const QString &verb, const QString &summary);

    void addFlag(const QString &name, const QString &description);
    // An option with a value; `valueName` stands for it in the help.
    void addValue(const QString &name, const QString &valueName, const QString &description);
    // A positional argument as the help's usage line names it.
    void addPositional(const QString &name, const QString &description);

    // Parses `args` (without the program and the verb). False when the
    // verb ends at once with exitCode(): its help printed (0), or an
    // unknown option or a missing value said on stderr (2).
    bool parse(const QStringList &args);
    int exitCode() const { return m_exitCode; }

    bool isSet(const QString &name) const { return m_parser.isSet(name); }
    QString value(const QString &name) const;
    QStringList positional() const;

    QString helpText() const;

private:
    QString m_verb;
    QCommandLineParser m_parser;
    int m_exitCode = 0;
};
