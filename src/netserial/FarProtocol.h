#pragma once

#include "core/TitleData.h"
#include "link/history/TransferRecord.h"
#include "link/LinkState.h"
#include "link/UnitStatus.h"

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

// The protocol between this program and its far side (`orvex serve
// --stdio` on the computer beside the unit), carried by ssh's standard
// input and output: one compact JSON object a line. The far side speaks
// first with its hello, which names the protocol and its version; then the
// near side sends requests ("op") and the far side answers ("answer"), the
// far engine's progress, messages, status and write records as they come.
namespace FarProtocol {

inline constexpr int Version = 1;
inline const QString Name = QStringLiteral("orvex-far");
// Longest line either side takes: a write with a whole title is about
// 40 KiB; anything much longer is no message of ours.
inline constexpr qsizetype MaxLine = 256 * 1024;

// The far side's first line.
QByteArray hello();
// The version a hello line names; nothing when `message` is no hello.
std::optional<int> helloVersion(const QJsonObject &message);

// A request (`op`, with its own fields) or an answer (`answer`), as a line.
QByteArray request(const QString &op, QJsonObject fields = {});
QByteArray answer(const QString &kind, QJsonObject fields = {});

// The overlay moves of a "move" request, in OverlayDirection's order.
const QStringList &directionNames();

// The write request: the title data the frames are built from (the
// character memory and the screen pages, exactly as held, so the far
// engine sends the very frames this computer would) and the channels.
QByteArray writeRequest(const QString &id, const TitleData &title, const std::array<bool, Title::Channels> &channels);
// Fills `title` and `channels` from a write request; false when it does
// not hold a whole title.
bool readWrite(const QJsonObject &request, TitleData &title, std::array<bool, Title::Channels> &channels);

// The answer to a status poll: what it showed of the unit (in the shape
// `orvex status --json` prints), which replies were garbled, and the
// questions asked again so far.
struct StatusAnswer
{
    UnitStatus status;
    int resends = 0;

    QJsonObject toJson() const;
    static StatusAnswer fromJson(const QJsonObject &object);
};

// The record of a write, as a line of the transfer log holds it.
QJsonObject recordJson(const TransferRecord &record);
std::optional<TransferRecord> recordFromJson(const QJsonValue &value);

// Collects bytes into lines and lines into messages. Refuses a line longer
// than MaxLine (and everything after it: there is no telling where the next
// message starts) and a line that is not one JSON object.
class LineReader
{
public:
    enum class Fault { None, TooLong, Garbage };

    void add(const QByteArray &bytes);
    // The next whole message, if any; a garbled line sets fault() and is
    // skipped.
    std::optional<QJsonObject> next();
    Fault fault() const { return m_fault; }
    // The start of the last line refused as garbage, for a message.
    const QByteArray &refusedLine() const { return m_refused; }
    void clearFault()
    {
        if (m_fault == Fault::Garbage)
            m_fault = Fault::None;
    }

private:
    QByteArray m_buffer;
    qsizetype m_scanned = 0;
    Fault m_fault = Fault::None;
    QByteArray m_refused;
};

} // namespace FarProtocol
