#include "LinkTextView.h"

#include <algorithm>

LinkTextView::LinkTextView(FILE *out, Mode mode) : m_out(out), m_err(stderr), m_mode(mode) {}

void LinkTextView::setMessage(const QString &text)
{
    if (text == lastMessage)
        return;
    lastMessage = text;
    if (m_mode == Mode::Bar)
        drawBar();
    else if (m_mode == Mode::Lines)
        m_out << text << Qt::endl;
}

void LinkTextView::setMeter(const MeterReading &meter)
{
    ++m_framesSent;
    m_stepPercent = meter.percent();
    if (m_mode == Mode::Bar)
        drawBar();
}

void LinkTextView::drawBar()
{
    constexpr int Width = 30;
    const int percent = m_totalFrames > 0 ? std::min(100, m_framesSent * 100 / m_totalFrames) : m_stepPercent;
    const int filled = percent * Width / 100;
    m_out << "\r\033[K[" << QString(filled, u'#') << QString(Width - filled, u'.') << "] "
          << QStringLiteral("%1%").arg(percent, 3) << ' ' << lastMessage << Qt::flush;
    m_lineOpen = true;
}

void LinkTextView::finishLine()
{
    if (m_lineOpen)
        m_out << Qt::endl;
    m_lineOpen = false;
}

void LinkTextView::showWarning(const QString &title, const QString &text)
{
    finishLine();
    QString flat = text;
    flat.replace(QLatin1String("\r\n"), QLatin1String(" "));
    m_err << title << ": " << flat << Qt::endl;
}

void LinkTextView::unloadWindow()
{
    failed = true;
    if (m_onDone)
        m_onDone();
}

void LinkTextView::operationEnded(Request)
{
    ended = true;
    if (m_mode == Mode::Bar)
        drawBar();
    finishLine();
    if (m_onDone)
        m_onDone();
}
