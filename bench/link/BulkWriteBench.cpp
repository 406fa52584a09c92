// Bulk write of all eight channels to orvex-sim pacing its replies at 9600
// baud: over its pseudo-terminal directly, and through ser2net by raw TCP
// and by RFC 2217. The figure that matters is wall time divided by line
// time (every frame and reply at 10 bits a byte): how much the program, and
// the network on the way, add to the physical limit of the line.

#include "core/TitleData.h"
#include "link/LinkEngine.h"
#include "platform/QtEventPump.h"
#include "platform/QtLinkTimer.h"
#include "platform/AddressedSerialPort.h"
#include "support/Ser2netProcess.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>

#include <benchmark/benchmark.h>

namespace {

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
    qint64 sent = 0;
    qint64 received = 0;
};

class QuietView : public LinkView
{
public:
    void setMessage(const QString &) override {}
    void setMeter(const MeterReading &) override {}
    void setChannelLit(int, bool) override {}
    void setHorizontalPosition(int) override {}
    void setVerticalPosition(int) override {}
    void setBlackLevel(int) override {}
    void setWhiteLevel(int) override {}
    void setVideoLoss(int, bool) override {}
    void setWriteEnabled(bool) override {}
    void focusWriteButton() override {}
    bool isVisible() const override { return true; }
    void showWarning(const QString &, const QString &) override { failed = true; }
    void unloadWindow() override
    {
        failed = true;
        loop.quit();
    }
    void operationEnded(Request) override { loop.quit(); }

    QEventLoop loop;
    bool failed = false;
};

QString startSimulator(QProcess &sim)
{
    sim.start(QCoreApplication::applicationDirPath() + QStringLiteral("/../../src/sim/orvex-sim"),
              {QStringLiteral("--line-rate"), QString::number(Baud)});
    if (!sim.waitForStarted(30000))
        return {};
    while (!sim.canReadLine()) {
        if (!sim.waitForReadyRead(30000))
            return {};
    }
    return QString::fromLocal8Bit(sim.readLine()).trimmed();
}

enum Route { Direct, RawTcp, Rfc2217 };

void BM_BulkWriteAllChannels(benchmark::State &state)
{
    QProcess sim;
    QString device = startSimulator(sim);
    if (device.isEmpty()) {
        state.SkipWithError("orvex-sim did not start");
        return;
    }
    const auto route = Route(state.range(0));
    Ser2netProcess server;
    if (route != Direct) {
        if (!Ser2netProcess::available()) {
            state.SkipWithError("ser2net is not installed");
            return;
        }
        if (!server.start(route == RawTcp ? Ser2netProcess::Accepter::RawTcp : Ser2netProcess::Accepter::Rfc2217,
                          device)) {
            state.SkipWithError(qPrintable(server.failure()));
            return;
        }
        device = server.address();
    }
    TitleData data;
    data.setDefaults();
    for (int ch = 0; ch < Title::Channels; ++ch)
        for (int cell = 0; cell < Title::Cells; ++cell)
            data.DispData(cell, 0, ch) = quint8(cell % 26 == 0 ? 0 : 25 * ch + cell % 26);
    data.KakikomiCh.fill(true);

    double wall = 0, line = 0;
    for (auto _ : state) {
        CountingPort port;
        QtLinkTimer chReqTimer, rxTimer;
        QtEventPump pump;
        QuietView view;
        LinkEngine engine(data, port, chReqTimer, rxTimer, pump, view);
        port.setDevicePath(device);

        QElapsedTimer clock;
        clock.start();
        engine.KakikomiOn();
        view.loop.exec();
        const double seconds = clock.nsecsElapsed() / 1e9;
        state.SetIterationTime(seconds);
        if (view.failed) {
            state.SkipWithError("the write did not finish");
            break;
        }
        wall += seconds;
        line += double(port.sent + port.received) * 10 / Baud;
    }
    state.counters["wall_s"] = wall / state.iterations();
    state.counters["line_s"] = line / state.iterations();
    state.counters["wall_per_line"] = line > 0 ? wall / line : 0;
    sim.terminate();
    sim.waitForFinished(30000);
}

} // namespace

BENCHMARK(BM_BulkWriteAllChannels)
    ->ArgName("route(0=pty,1=tcp,2=rfc2217)")
    ->Arg(Direct)
    ->Arg(RawTcp)
    ->Arg(Rfc2217)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);
