#pragma once

#include <QStringList>

#include <cstdio>

// Each subcommand of the `orvex` tool takes its own arguments (without the
// program and subcommand names) and returns the process exit code:
// 0 success, 1 failure, 2 bad arguments, 3 (status) values in doubt.
namespace Cli {

int resave(const QStringList &args);
int sheet(const QStringList &args);
int page(const QStringList &args);
int importSheet(const QStringList &args);
int importBlock(const QStringList &args);
int render(const QStringList &args);
int titles(const QStringList &args);
int send(const QStringList &args);
int status(const QStringList &args);
int log(const QStringList &args);
int ports(const QStringList &args);
// trust ADDRESS: a TLS server's certificate, and what is trusted for it.
int trust(const QStringList &args);
// site make | send | status: every unit of a camera schedule at once.
int site(const QStringList &args);
// serve --stdio --port PORT: the far side of an ssh:// port.
int serve(const QStringList &args);

// Prints to stderr in the terminal's encoding.
void error(const QString &text);
// A watch lost its unit or has it back: a timed line among the changes,
// or with --json (`json`) a note on stderr, stdout keeping to JSON.
void watchNote(const QString &text, bool json);
// Prints the usage of the whole tool.
void usage();
// Bad arguments: the reason and where the usage is, on stderr; exit code 2.
int badArguments(const QString &why);
// Whether `text` is a whole number from `low` to `high`, stored in `value`.
bool parseInt(const QString &text, int low, int high, int &value);

} // namespace Cli
