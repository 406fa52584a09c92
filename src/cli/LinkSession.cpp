#include "LinkSession.h"

#include "core/TitleData.h"
#include "link/history/TransferLog.h"
#include "netserial/DeviceLinks.h"
#include "netserial/FarWrites.h"

#include <QEventLoop>

LinkSession::LinkSession(TitleData &data, const QString &address, LinkTextView &view)
    : m_view(view), m_address(address)
{
    // The tool names its device directly: the address given after the
    // engine is made is the port, whatever ComNo says.
    m_engine = DeviceLinks::make(data, address, m_platform, m_port, m_chReqTimer, m_rxTimer, m_platform.eventPump(),
                                 view);
}

bool LinkSession::wait()
{
    if (!m_view.ended && !m_view.failed) {
        QEventLoop loop;
        m_view.setOnDone([&loop] { loop.quit(); });
        loop.exec();
        m_view.setOnDone({});
    }
    return m_view.ended && !m_view.failed;
}

void LinkSession::interrupt()
{
    m_view.finishLine();
    m_engine->abandonOperation();
    m_view.unloadWindow();
}

bool LinkSession::settleFarWrite(const TransferLog &log)
{
    const std::optional<TransferRecord> unsettled = FarWrites::unsettled(log.read().records, m_engine->portAddress());
    if (!unsettled)
        return true;
    bool answered = false;
    std::optional<TransferRecord> found;
    QEventLoop loop;
    m_view.setOnDone([&loop] { loop.quit(); });
    m_engine->recallWrite(unsettled->id, [&](const std::optional<TransferRecord> &record) {
        answered = true;
        found = record;
        loop.quit();
    });
    if (!answered && !m_view.failed)
        loop.exec();
    m_view.setOnDone({});
    if (m_view.failed)
        return false;
    FarWrites::settle(log, *unsettled, found);
    return true;
}
