#include "SimOptions.h"

namespace {

bool takeInt(const QStringList &args, int &i, int &out, int min, int max, QString &error)
{
    if (i + 1 >= args.size()) {
        error = QStringLiteral("%1 needs a value").arg(args[i]);
        return false;
    }
    bool ok = false;
    const QString text = args[++i];
    const int value = text.startsWith(QLatin1String("0x")) ? text.mid(2).toInt(&ok, 16) : text.toInt(&ok);
    if (!ok || value < min || value > max) {
        error = QStringLiteral("%1: \"%2\" is not a number from %3 to %4").arg(args[i - 1], text).arg(min).arg(max);
        return false;
    }
    out = value;
    return true;
}

bool takeText(const QStringList &args, int &i, QString &out, QString &error)
{
    if (i + 1 >= args.size()) {
        error = QStringLiteral("%1 needs a value").arg(args[i]);
        return false;
    }
    out = args[++i];
    return true;
}

} // namespace

bool SimOptions::parse(const QStringList &args, QString &error)
{
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        bool ok = true;
        if (a == QLatin1String("--link"))
            ok = takeText(args, i, link, error);
        else if (a == QLatin1String("--line-rate"))
            ok = takeInt(args, i, lineRate, 50, 4000000, error);
        else if (a == QLatin1String("--drop"))
            ok = takeInt(args, i, dropEvery, 1, 1000000, error);
        else if (a == QLatin1String("--delay"))
            ok = takeInt(args, i, delayMs, 0, 600000, error);
        else if (a == QLatin1String("--switch-off-after"))
            ok = takeInt(args, i, switchOffAfter, 1, 1000000, error);
        else if (a == QLatin1String("--split"))
            split = true;
        else if (a == QLatin1String("--silent"))
            silent = true;
        else if (a == QLatin1String("--garbage"))
            garbage = true;
        else if (a == QLatin1String("--video-loss"))
            ok = takeInt(args, i, videoLoss, 0, 255, error);
        else if (a == QLatin1String("--snapshot"))
            ok = takeText(args, i, snapshotDir, error);
        else if (a == QLatin1String("--state"))
            ok = takeText(args, i, stateFile, error);
        else {
            error = QStringLiteral("unknown option \"%1\"").arg(a);
            return false;
        }
        if (!ok)
            return false;
    }
    return true;
}

QString SimOptions::usage()
{
    return QStringLiteral(
        "usage: orvex-sim [options]\n"
        "Plays the 8-channel title generator on a pseudo-terminal; prints its device path first.\n"
        "  --link PATH         also make PATH a symlink to the pseudo-terminal\n"
        "  --line-rate BAUD    take as long as the real line would (bytes x 10 / BAUD)\n"
        "  --drop N            lose every Nth reply\n"
        "  --delay MS          answer MS milliseconds late\n"
        "  --split             send replies one byte at a time\n"
        "  --silent            never answer\n"
        "  --switch-off-after N  answer N frames, then go away as a unit switched off\n"
        "  --garbage           answer with random bytes of the right length\n"
        "  --video-loss MASK   inputs without video, bit 0 = input 1 (0x.. for hex)\n"
        "  --snapshot DIR      after each PS1 write DIR/chN.png, channel N's monitor\n"
        "  --state FILE        write the device state as JSON after each PS1 and on exit\n"
        "  --help              this text\n"
        "  --version           the version\n"
        "SIGUSR1 takes input 1's video away or brings it back.\n");
}
