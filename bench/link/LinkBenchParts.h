#pragma once

// What the link benchmarks share: a port that counts the serial line's
// bytes, a view that only waits for the end, the simulator at line speed
// and a title that fills every channel.

#include "core/TitleData.h"
#include "link/LinkEngine.h"
#include "link/LinkView.h"
#include "platform/AddressedSerialPort.h"
#include "platform/QtEventPump.h"
#include "platform/QtLinkTimer.h"
#include "support/ExpectedDeviceState.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

namespace LinkBench {

constexpr int Baud = 9600;

// Counts the serial line's bytes, before any telnet doubling.
class CountingPort : public AddressedSerialPort
{
public:
    void write(const QByteArray &bytes) override
    {
        sent += bytes.size();
        AddressedSerialPort::write(bytes);
    }
    QByteArray readAll() override
    {
        const QByteArray bytes = AddressedSerialPort::readAll();
        received += bytes.size();
        return bytes;
    }
    // Seconds the line itself needs for what went both ways, 10 bits a byte.
    double lineSeconds() const { return double(sent + received) * 10 / Baud; }

    qint64 sent = 0;
    qint64 received = 0;
};

class QuietView : public LinkView
{
public:
    void setMessage(const QString &) override {}
    void setMeter(const MeterReading &) override {}
    void showWarning(const QString &, const QString &text) override
    {
        failed = true;
        warning = text;
    }
    void unloadWindow() override
    {
        failed = true;
        loop.quit();
    }
    void operationEnded(Request) override { loop.quit(); }

    QEventLoop loop;
    bool failed = false;
    QString warning;
};

// A program built beside the benchmarks, by its path in the build folder.
inline QString builtProgram(const QString &pathInBuild)
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/../../") + pathInBuild;
}

// orvex-sim pacing its replies as the real line does, writing its state to
// `stateFile` when one is given; its device path, empty when it did not
// start.
inline QString startSimulator(QProcess &sim, const QString &stateFile = {})
{
    QStringList options{QStringLiteral("--line-rate"), QString::number(Baud)};
    if (!stateFile.isEmpty())
        options << QStringLiteral("--state") << stateFile;
    sim.start(builtProgram(QStringLiteral("src/sim/orvex-sim")), options);
    if (!sim.waitForStarted(30000))
        return {};
    while (!sim.canReadLine()) {
        if (!sim.waitForReadyRead(30000))
            return {};
    }
    return QString::fromLocal8Bit(sim.readLine()).trimmed();
}

// Every channel chosen, each page full of its own characters (which the
// device can be sent, unlike support/FullTitle.h's).
inline TitleData writableTitle()
{
    TitleData data;
    data.setDefaults();
    for (int ch = 0; ch < Title::Channels; ++ch)
        for (int cell = 0; cell < Title::Cells; ++cell)
            data.DispData(cell, 0, ch) = quint8(cell % 26 == 0 ? 0 : 25 * ch + cell % 26);
    data.KakikomiCh.fill(true);
    return data;
}

// The channels of `data` chosen for writing that the simulator, stopped,
// does not hold exactly as written (page, 26 patterns, overlay on).
inline QList<int> channelsNotHeld(const TitleData &data, QProcess &sim, const QString &stateFile)
{
    sim.terminate();
    sim.waitForFinished(30000);
    QFile file(stateFile);
    const QJsonArray channels = file.open(QIODevice::ReadOnly)
                                    ? QJsonDocument::fromJson(file.readAll()).object()[QStringLiteral("channels")].toArray()
                                    : QJsonArray();
    QList<int> missing;
    for (int ch = 0; ch < Title::Channels; ++ch) {
        if (!data.KakikomiCh[size_t(ch)])
            continue;
        const QJsonObject channel = channels[ch].toObject();
        bool held = channel[QStringLiteral("overlay")].toBool()
                    && QByteArray::fromHex(channel[QStringLiteral("page")].toString().toLatin1())
                           == expectedPage(data, ch);
        const QJsonArray patterns = channel[QStringLiteral("patterns")].toArray();
        for (int slot = 0; held && slot < 26; ++slot) {
            const int code = slot == 0 ? 0 : 25 * ch + slot;
            held = QByteArray::fromHex(patterns[slot].toString().toLatin1()) == expectedPattern(data.DotData[code]);
        }
        if (!held)
            missing << ch + 1;
    }
    return missing;
}

struct WriteRun
{
    double seconds = 0;
    double lineSeconds = 0;
    bool failed = false;
    QString warning;
};

// The bulk write of `data`'s chosen channels to `device`, timed from the
// start to its end.
inline WriteRun timedWrite(TitleData &data, const QString &device)
{
    CountingPort port;
    QtLinkTimer chReqTimer, rxTimer;
    QtEventPump pump;
    QuietView view;
    LinkEngine engine(data, port, chReqTimer, rxTimer, pump, view);
    port.setDevicePath(device);

    QElapsedTimer clock;
    clock.start();
    engine.KakikomiOn();
    if (!view.failed)
        view.loop.exec();
    return {clock.nsecsElapsed() / 1e9, port.lineSeconds(), view.failed, view.warning};
}

} // namespace LinkBench
