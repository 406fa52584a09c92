#include "LinkSession.h"

#include "core/TitleData.h"

#include <QEventLoop>

LinkSession::LinkSession(TitleData &data, const QString &address, LinkTextView &view) : m_view(view)
{
    // The tool names its device directly: the address given after the
    // engine is made is the port, whatever ComNo says.
    m_engine = std::make_unique<LinkEngine>(data, m_port, m_chReqTimer, m_rxTimer, m_pump, view);
    m_port.setDevicePath(address);
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
