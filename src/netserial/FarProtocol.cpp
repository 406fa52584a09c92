#include "FarProtocol.h"


#include <QJsonArray>
#include <QJsonDocument>

namespace FarProtocol {

namespace {

QByteArray line(const QJsonObject &object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
}

QJsonArray channelArray(const std::array<bool, Title::Channels> &flags)
{
    QJsonArray array;
    for (int ch = 0; ch < Title::Channels; ++ch)
        if (flags[size_t(ch)])
            array.append(ch + 1);
    return array;
}

// A dot as the frames read it: two bits, the first character the higher
// one, and whether that pair says all the dot holds.
quint8 dotBits(const PixelCode &dot)
{
    const QString text = dot.toText();
    return quint8((text.size() == 2 && text[0] == u'1' ? 2 : 0) | (text.size() == 2 && text[1] == u'1' ? 1 : 0));
}

PixelCode fromBits(quint8 bits)
{
    return PixelCode::fromText(QString(QLatin1Char(bits & 2 ? '1' : '0')) + QLatin1Char(bits & 1 ? '1' : '0'));
}

const QStringList &queryNames()
{
    static const QStringList names{QStringLiteral("CS?"), QStringLiteral("HP?"), QStringLiteral("VP?"),
                                   QStringLiteral("BS01,?"), QStringLiteral("VL")};
    return names;
}

} // namespace

const QStringList &directionNames()
{
    static const QStringList names{QStringLiteral("down"), QStringLiteral("up"), QStringLiteral("left"),
                                   QStringLiteral("right")};
    return names;
}

QByteArray hello()
{
    return line({{QStringLiteral("protocol"), Name}, {QStringLiteral("version"), Version}});
}

std::optional<int> helloVersion(const QJsonObject &message)
{
    if (message.value(QStringLiteral("protocol")).toString() != Name)
        return std::nullopt;
    const QJsonValue version = message.value(QStringLiteral("version"));
    if (!version.isDouble())
        return std::nullopt;
    return version.toInt();
}

QByteArray request(const QString &op, QJsonObject fields)
{
    fields.insert(QStringLiteral("op"), op);
    return line(fields);
}

QByteArray answer(const QString &kind, QJsonObject fields)
{
    fields.insert(QStringLiteral("answer"), kind);
    return line(fields);
}

QByteArray writeRequest(const QString &id, const TitleData &title, const std::array<bool, Title::Channels> &channels)
{
    // Four dots a byte; a dot whose text the two bits do not say whole (a
    // short or odd element a data file can hold) goes as it is.
    QByteArray dots(Title::CodeCount * Title::DotsPerCode / 4, '\0');
    QJsonArray odd;
    for (int code = 0; code < Title::CodeCount; ++code) {
        for (int dot = 0; dot < Title::DotsPerCode; ++dot) {
            const PixelCode &pixel = title.DotData[size_t(code)][size_t(dot)];
            const quint8 bits = dotBits(pixel);
            const int n = code * Title::DotsPerCode + dot;
            dots[n / 4] = char(quint8(dots[n / 4]) | quint8(bits << (2 * (3 - n % 4))));
            if (!(fromBits(bits) == pixel))
                odd.append(QJsonArray{n, pixel.toText()});
        }
    }
    const auto &pages = title.DispData.bytes();
    const QByteArray pageBytes(reinterpret_cast<const char *>(pages.data()), qsizetype(pages.size()));
    return request(QStringLiteral("write"),
                   {{QStringLiteral("id"), id},
                    {QStringLiteral("channels"), channelArray(channels)},
                    {QStringLiteral("dots"), QString::fromLatin1(dots.toBase64())},
                    {QStringLiteral("odd"), odd},
                    {QStringLiteral("pages"), QString::fromLatin1(pageBytes.toBase64())}});
}

bool readWrite(const QJsonObject &request, TitleData &title, std::array<bool, Title::Channels> &channels)
{
    const QByteArray dots = QByteArray::fromBase64(request.value(QStringLiteral("dots")).toString().toLatin1());
    const QByteArray pages = QByteArray::fromBase64(request.value(QStringLiteral("pages")).toString().toLatin1());
    auto &pageStore = title.DispData.bytes();
    if (dots.size() != Title::CodeCount * Title::DotsPerCode / 4 || pages.size() != qsizetype(pageStore.size()))
        return false;
    const QJsonValue asked = request.value(QStringLiteral("channels"));
    if (!asked.isArray())
        return false;
    channels.fill(false);
    for (const QJsonValue &v : asked.toArray()) {
        const int ch = v.toInt(0);
        if (ch < 1 || ch > Title::Channels)
            return false;
        channels[size_t(ch - 1)] = true;
    }
    for (int n = 0; n < Title::CodeCount * Title::DotsPerCode; ++n) {
        const quint8 bits = quint8(quint8(dots[n / 4]) >> (2 * (3 - n % 4))) & 3;
        title.DotData[size_t(n / Title::DotsPerCode)][size_t(n % Title::DotsPerCode)] = fromBits(bits);
    }
    for (const QJsonValue &v : request.value(QStringLiteral("odd")).toArray()) {
        const QJsonArray pair = v.toArray();
        const int n = pair.at(0).toInt(-1);
        if (pair.size() != 2 || n < 0 || n >= Title::CodeCount * Title::DotsPerCode || !pair.at(1).isString())
            return false;
        title.DotData[size_t(n / Title::DotsPerCode)][size_t(n % Title::DotsPerCode)] =
            PixelCode::fromText(pair.at(1).toString());
    }
    std::copy(pages.begin(), pages.end(), reinterpret_cast<char *>(pageStore.data()));
    return true;
}

QJsonObject StatusAnswer::toJson() const
{
    QJsonArray garbledNames;
    for (Cmd kind : status.garbled)
        if (isQuery(kind))
            garbledNames.append(queryNames()[int(kind) - int(Cmd::QueryChannel)]);
    return {{QStringLiteral("status"), status.jsonObject()},
            {QStringLiteral("garbled"), garbledNames},
            {QStringLiteral("resends"), resends}};
}

StatusAnswer StatusAnswer::fromJson(const QJsonObject &object)
{
    StatusAnswer answer;
    answer.status = UnitStatus::fromJson(object.value(QStringLiteral("status")).toObject());
    for (const QJsonValue &v : object.value(QStringLiteral("garbled")).toArray()) {
        const int index = int(queryNames().indexOf(v.toString()));
        if (index >= 0)
            answer.status.garbled << Cmd(int(Cmd::QueryChannel) + index);
    }
    answer.resends = std::max(0, object.value(QStringLiteral("resends")).toInt(0));
    return answer;
}

QJsonObject recordJson(const TransferRecord &record)
{
    return QJsonDocument::fromJson(record.toJson()).object();
}

std::optional<TransferRecord> recordFromJson(const QJsonValue &value)
{
    if (!value.isObject())
        return std::nullopt;
    return TransferRecord::fromJson(QJsonDocument(value.toObject()).toJson(QJsonDocument::Compact));
}

void LineReader::add(const QByteArray &bytes)
{
    if (m_fault == Fault::TooLong)
        return;
    m_buffer += bytes;
}

std::optional<QJsonObject> LineReader::next()
{
    while (m_fault != Fault::TooLong) {
        const qsizetype end = m_buffer.indexOf('\n', m_scanned);
        if (end < 0) {
            m_scanned = m_buffer.size();
            if (m_buffer.size() > MaxLine) {
                m_fault = Fault::TooLong;
                m_buffer.clear();
            }
            return std::nullopt;
        }
        const QByteArray text = m_buffer.left(end);
        m_buffer.remove(0, end + 1);
        m_scanned = 0;
        if (text.size() > MaxLine) {
            m_fault = Fault::TooLong;
            m_buffer.clear();
            return std::nullopt;
        }
        if (text.trimmed().isEmpty())
            continue;
        QJsonParseError error{};
        const QJsonDocument document = QJsonDocument::fromJson(text, &error);
        if (error.error == QJsonParseError::NoError && document.isObject())
            return document.object();
        m_fault = Fault::Garbage;
        m_refused = text.left(200);
    }
    return std::nullopt;
}

} // namespace FarProtocol
