// The link over a network serial server, as far away and as hostile as a
// real network gets:
//
// - BM_WriteOverDistance: eight channels through ser2net's raw TCP port to
//   orvex-sim at 9600 baud, behind orvex-delay-proxy at a one-way delay of
//   0 to 300 ms. Stop-and-wait can do no better than the line time plus one
//   round trip per frame; wall_per_limit is the wall time over that limit.
// - BM_PeakMemory: the peak resident size (the kernel's high-water mark) of
//   `orvex status` against a real device behind ser2net, against a server
//   that opens a telnet subnegotiation and never ends it, and against one
//   that floods a raw TCP connection once the first frame came in.
// - BM_OneChannelNearbyHandshake: one channel as BM_WriteOverDistance, but
//   through a proxy that completes TCP's handshake itself (a tunnel, a VPN),
//   at 0, 300 and 1000 ms each way: nothing of the path is measured while
//   connecting, so the first replies must not be given up on early nor the
//   connection made again. wall_per_limit is over the line time plus 43
//   round trips; connections counts those ser2net accepted, resent the
//   frames sent again.
// - BM_TlsAgainstTcp: eight channels through ser2net to orvex-sim at 9600
//   baud by tcp:// and then by tls:// (a pinned self-signed certificate),
//   in one run: tls_per_tcp is the ratio of their wall times; and the
//   median time to open each (connect, over TLS the handshake and the
//   certificate's check): handshake_ms is the difference.

#include "LinkBenchParts.h"

#include "link/history/ChannelFrames.h"
#include "link/history/TransferRecord.h"
#include "platform/NetworkSerialPort.h"
#include "platform/TlsTrustStore.h"
#include "support/Ser2netProcess.h"
#include "support/TestCertificates.h"

#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>

#include <atomic>
#include <csignal>
#include <memory>
#include <vector>
#include <thread>

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

using namespace LinkBench;

constexpr int Frames = Title::Channels * ChannelFrames::PerChannel;

// orvex-delay-proxy in front of `serverPort`; the port it listens on, empty
// when it did not start.
QString startProxy(QProcess &proxy, quint16 serverPort, int oneWayMs, bool nearbyHandshake = false)
{
    QStringList args{QStringLiteral("--to"), QStringLiteral("127.0.0.1:%1").arg(serverPort), QStringLiteral("--delay"),
                     QString::number(oneWayMs)};
    if (nearbyHandshake)
        args << QStringLiteral("--nearby-handshake");
    proxy.start(builtProgram(QStringLiteral("bench/link/orvex-delay-proxy")), args);
    while (proxy.waitForStarted(30000) && !proxy.canReadLine() && proxy.waitForReadyRead(30000)) {
    }
    return QString::fromLatin1(proxy.readLine()).trimmed();
}

void BM_OneChannelNearbyHandshake(benchmark::State &state)
{
    const int oneWayMs = int(state.range(0));
    QTemporaryDir scratch;
    const QString stateFile = scratch.filePath(QStringLiteral("state.json"));
    QProcess sim;
    const QString device = startSimulator(sim, stateFile);
    Ser2netProcess server;
    server.setTraceConnections(true);
    if (device.isEmpty() || !Ser2netProcess::available() || !server.start(Ser2netProcess::Accepter::RawTcp, device)) {
        state.SkipWithError("orvex-sim behind ser2net did not start");
        return;
    }
    QProcess proxy;
    const QString proxyPort = startProxy(proxy, server.port(), oneWayMs, true);
    if (proxyPort.isEmpty()) {
        state.SkipWithError("orvex-delay-proxy did not start");
        return;
    }
    TitleData data = writableTitle();
    data.KakikomiCh.fill(false);
    data.KakikomiCh[0] = true;
    WriteRun run;
    for (auto _ : state) {
        run = timedWrite(data, QStringLiteral("tcp://127.0.0.1:") + proxyPort);
        state.SetIterationTime(run.seconds);
        if (run.failed) {
            state.SkipWithError(qPrintable(QStringLiteral("the write did not finish: ") + run.warning));
            break;
        }
    }
    const double roundTrips = ChannelFrames::PerChannel * 2.0 * oneWayMs / 1000;
    state.counters["wall_s"] = run.seconds;
    state.counters["wall_per_limit"] = run.seconds / (run.lineSeconds + roundTrips);
    state.counters["connections"] = server.connectionsAccepted();
    state.counters["resent"] = run.resent;
    state.counters["reconnects"] = run.reconnects;
    proxy.terminate();
    proxy.waitForFinished(30000);
    const QList<int> missing = channelsNotHeld(data, sim, stateFile);
    if (!missing.isEmpty() && !state.error_occurred())
        state.SkipWithError("reported complete, but the device lacks the channel");
}

void BM_WriteOverDistance(benchmark::State &state)
{
    const int oneWayMs = int(state.range(0));
    QTemporaryDir scratch;
    const QString stateFile = scratch.filePath(QStringLiteral("state.json"));
    QProcess sim;
    const QString device = startSimulator(sim, stateFile);
    if (device.isEmpty()) {
        state.SkipWithError("orvex-sim did not start");
        return;
    }
    Ser2netProcess server;
    if (!Ser2netProcess::available() || !server.start(Ser2netProcess::Accepter::RawTcp, device)) {
        state.SkipWithError(Ser2netProcess::available() ? qPrintable(server.failure()) : "ser2net is not installed");
        return;
    }
    QProcess proxy;
    const QString proxyPort = startProxy(proxy, server.port(), oneWayMs);
    if (proxyPort.isEmpty()) {
        state.SkipWithError("orvex-delay-proxy did not start");
        return;
    }

    TitleData data = writableTitle();
    double wall = 0, line = 0;
    for (auto _ : state) {
        const WriteRun run = timedWrite(data, QStringLiteral("tcp://127.0.0.1:") + proxyPort);
        state.SetIterationTime(run.seconds);
        if (run.failed) {
            state.SkipWithError(qPrintable(QStringLiteral("the write did not finish: ") + run.warning));
            break;
        }
        wall += run.seconds;
        line += run.lineSeconds;
    }
    const double roundTrips = Frames * 2.0 * oneWayMs / 1000;
    state.counters["wall_s"] = wall / state.iterations();
    state.counters["line_s"] = line / state.iterations();
    state.counters["round_trips_s"] = roundTrips;
    state.counters["wall_per_limit"] = line > 0 ? wall / (line + roundTrips * state.iterations()) : 0;
    proxy.terminate();
    proxy.waitForFinished(30000);
    // A write reported complete must be on the device; the figures of one
    // that is not would flatter a link that answers frames with the wrong
    // replies.
    const QList<int> missing = channelsNotHeld(data, sim, stateFile);
    if (!missing.isEmpty() && !state.error_occurred())
        state.SkipWithError(qPrintable(QStringLiteral("reported complete after %1 s, but the device lacks channel(s) %2")
                                           .arg(wall, 0, 'f', 1)
                                           .arg(TransferRecord::channelList(missing))));
}

// A server that misbehaves on every connection, served from a thread of
// its own so nothing of the program under test's event loop is involved.
class HostileServer
{
public:
    enum Kind { EndlessSubnegotiation, Flood };

    explicit HostileServer(Kind kind) : m_kind(kind)
    {
        m_socket = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        if (::bind(m_socket, reinterpret_cast<sockaddr *>(&address), size) != 0 || ::listen(m_socket, 4) != 0
            || ::getsockname(m_socket, reinterpret_cast<sockaddr *>(&address), &size) != 0)
            return;
        m_port = ntohs(address.sin_port);
        m_thread = std::thread([this] { serve(); });
    }
    ~HostileServer()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
        ::close(m_socket);
    }

    quint16 port() const { return m_port; }
    qint64 bytesSent() const { return m_sent; }

private:
    // Waits for `events` on `fd` in short looks, so a stop is seen soon.
    bool ready(int fd, short events) const
    {
        while (!m_stop) {
            pollfd p{fd, events, 0};
            const int n = ::poll(&p, 1, 100);
            if (n > 0)
                return (p.revents & events) != 0;
        }
        return false;
    }

    void serve()
    {
        while (ready(m_socket, POLLIN)) {
            const int client = ::accept(m_socket, nullptr, nullptr);
            if (client < 0)
                continue;
            char first = 0;
            // The flood starts once the first frame came in, so it is no
            // greeting the link could refuse at once.
            const bool start = m_kind == EndlessSubnegotiation
                               || (ready(client, POLLIN) && ::recv(client, &first, 1, 0) == 1);
            // IAC SB COM-PORT-OPTION, then never IAC SE.
            const QByteArray opening = m_kind == EndlessSubnegotiation ? QByteArray("\xff\xfa\x2c", 3) : QByteArray();
            const QByteArray filler(64 * 1024, 'A');
            bool open = start && ::send(client, opening.constData(), size_t(opening.size()), MSG_NOSIGNAL) >= 0;
            while (open && ready(client, POLLOUT)) {
                const ssize_t n = ::send(client, filler.constData(), size_t(filler.size()), MSG_NOSIGNAL);
                open = n > 0;
                if (open)
                    m_sent += n;
            }
            ::close(client);
        }
    }

    Kind m_kind;
    int m_socket = -1;
    quint16 m_port = 0;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    std::atomic<qint64> m_sent{0};
};

// Runs the orvex tool with `args` for at most `seconds`, then SIGTERM;
// its peak resident size in MiB, or -1 when it could not be run.
double peakMemoryOfTool(const QStringList &args, double seconds)
{
    const QByteArray program = QFile::encodeName(builtProgram(QStringLiteral("src/cli/orvex")));
    QList<QByteArray> texts{program};
    for (const QString &arg : args)
        texts << arg.toLocal8Bit();
    std::vector<char *> argv;
    for (QByteArray &text : texts)
        argv.push_back(text.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t quiet;
    posix_spawn_file_actions_init(&quiet);
    posix_spawn_file_actions_addopen(&quiet, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&quiet, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int failed = posix_spawn(&pid, program.constData(), &quiet, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&quiet);
    if (failed != 0)
        return -1;
    int status = 0;
    rusage usage{};
    QElapsedTimer clock;
    clock.start();
    while (::wait4(pid, &status, WNOHANG, &usage) == 0) {
        if (clock.elapsed() > seconds * 1000) {
            ::kill(pid, SIGTERM);
            ::wait4(pid, &status, 0, &usage);
            break;
        }
        QThread::msleep(20);
    }
    return usage.ru_maxrss / 1024.0;
}

enum Server { RealDevice, EndlessSubnegotiation, Flood };

void BM_PeakMemory(benchmark::State &state)
{
    const auto server = Server(state.range(0));
    QProcess sim;
    Ser2netProcess ser2net;
    std::unique_ptr<HostileServer> hostile;
    QString port;
    if (server == RealDevice) {
        const QString device = startSimulator(sim);
        if (device.isEmpty() || !Ser2netProcess::available()
            || !ser2net.start(Ser2netProcess::Accepter::RawTcp, device)) {
            state.SkipWithError("orvex-sim behind ser2net did not start");
            return;
        }
        port = ser2net.address();
    } else {
        hostile = std::make_unique<HostileServer>(server == Flood ? HostileServer::Flood
                                                                  : HostileServer::EndlessSubnegotiation);
        port = QStringLiteral("%1://127.0.0.1:%2")
                   .arg(server == Flood ? QStringLiteral("tcp") : QStringLiteral("rfc2217"))
                   .arg(hostile->port());
    }
    // Watching keeps the tool in contact with the server for the whole time.
    const QStringList args{QStringLiteral("status"), QStringLiteral("--port"), port, QStringLiteral("--watch")};
    double peak = 0;
    for (auto _ : state) {
        peak = peakMemoryOfTool(args, 5);
    }
    if (peak < 0)
        state.SkipWithError("the orvex tool could not be run");
    state.counters["peak_MiB"] = peak;
    state.counters["server_sent_MiB"] = hostile ? hostile->bytesSent() / 1048576.0 : 0;
    if (sim.state() != QProcess::NotRunning) {
        sim.terminate();
        sim.waitForFinished(30000);
    }
}

// The median time, over `opens` fresh ports, from startOpen() to Opened.
double medianOpenMs(const QString &address, int opens)
{
    std::vector<double> times;
    for (int i = 0; i < opens; ++i) {
        NetworkSerialPort port;
        port.setDevicePath(address);
        QEventLoop loop;
        bool opened = false;
        port.setEventHandler([&](CommEvent e) {
            opened = e == CommEvent::Opened;
            loop.quit();
        });
        QElapsedTimer clock;
        clock.start();
        if (port.startOpen() == OpenProgress::Pending)
            loop.exec();
        if (!opened)
            return -1;
        times.push_back(clock.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void BM_TlsAgainstTcp(benchmark::State &state)
{
    QTemporaryDir scratch;
    // The pin goes to a trust file of this run's own.
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(scratch.filePath(QStringLiteral("config"))));
    TestCertificates certificates;
    const TestCertificates::Pair pair = certificates.selfSigned(QStringLiteral("bench"));
    if (!Ser2netProcess::available() || !pair.isValid()) {
        state.SkipWithError("ser2net or openssl is not installed");
        return;
    }
    double wall[2] = {0, 0}, line = 0, openMs[2] = {0, 0};
    for (auto _ : state) {
        for (const bool tls : {false, true}) {
            QProcess sim;
            const QString stateFile = scratch.filePath(QStringLiteral("state.json"));
            const QString device = startSimulator(sim, stateFile);
            Ser2netProcess server;
            if (tls)
                server.setTls(pair.certificate, pair.key);
            if (device.isEmpty() || !server.start(Ser2netProcess::Accepter::RawTcp, device)) {
                state.SkipWithError(qPrintable(QStringLiteral("no server: ") + server.failure()));
                return;
            }
            if (tls)
                TlsTrustStore::pin(server.address(), TlsTrustStore::fingerprint(QSslCertificate::fromPath(pair.certificate).value(0)));
            openMs[tls] = medianOpenMs(server.address(), 21);
            TitleData data = writableTitle();
            const WriteRun run = timedWrite(data, server.address());
            const QList<int> missing = channelsNotHeld(data, sim, stateFile);
            if (run.failed || openMs[tls] < 0 || !missing.isEmpty()) {
                state.SkipWithError(qPrintable(QStringLiteral("%1 did not finish: %2").arg(server.address(), run.warning)));
                return;
            }
            wall[tls] = run.seconds;
            line = run.lineSeconds;
        }
        state.SetIterationTime(wall[0] + wall[1]);
    }
    state.counters["tcp_wall_s"] = wall[0];
    state.counters["tls_wall_s"] = wall[1];
    state.counters["line_s"] = line;
    state.counters["tls_per_tcp"] = wall[0] > 0 ? wall[1] / wall[0] : 0;
    state.counters["tcp_open_ms"] = openMs[0];
    state.counters["tls_open_ms"] = openMs[1];
    state.counters["handshake_ms"] = openMs[1] - openMs[0];
}

} // namespace

BENCHMARK(BM_TlsAgainstTcp)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

BENCHMARK(BM_WriteOverDistance)
    ->ArgName("one_way_ms")
    ->Arg(0)
    ->Arg(50)
    ->Arg(150)
    ->Arg(300)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);

BENCHMARK(BM_OneChannelNearbyHandshake)
    ->ArgName("one_way_ms")
    ->Arg(0)
    ->Arg(300)
    ->Arg(1000)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);

BENCHMARK(BM_PeakMemory)
    ->ArgName("server(0=device,1=endless_subnegotiation,2=flood)")
    ->Arg(RealDevice)
    ->Arg(EndlessSubnegotiation)
    ->Arg(Flood)
    ->Iterations(1)
    ->Unit(benchmark::kSecond);
