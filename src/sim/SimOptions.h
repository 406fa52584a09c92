#pragma once

#include <QString>
#include <QStringList>

// Command-line options of orvex-sim.
struct SimOptions
{
    QString link;          // symlink to the pty's device, if given
    int lineRate = 0;      // baud to pace replies at; 0 answers at once
    int dropEvery = 0;     // drop every Nth reply; 0 drops none
    int delayMs = 0;       // extra delay before each reply
    bool split = false;    // send replies one byte at a time
    bool silent = false;   // never reply
    int switchOffAfter = 0; // end at frame N + 1, as a unit switched off; 0 never
    bool garbage = false;  // replies of the right length but random bytes
    int videoLoss = 0;     // bit i: input i + 1 has no video
    QString snapshotDir;   // chN.png after each "PS1"
    QString stateFile;     // JSON state after each "PS1" and on exit

    // Parses the arguments (without the program name); on failure returns
    // false with the reason in `error`.
    bool parse(const QStringList &args, QString &error);
    static QString usage();
};
