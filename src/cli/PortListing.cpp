#include "PortListing.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace PortListing {

namespace {

QString hexId(const std::optional<quint16> &id)
{
    return id ? QStringLiteral("%1").arg(*id, 4, 16, QLatin1Char('0')) : QString();
}

QJsonValue orNull(const QString &text)
{
    return text.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(text);
}

} // namespace

QString text(const QList<PortInfo> &ports)
{
    QString out;
    for (const PortInfo &port : ports) {
        QStringList fields{port.systemName};
        for (const QString &field : {port.description, port.manufacturer})
            if (!field.isEmpty())
                fields << field;
        if (!port.serialNumber.isEmpty())
            fields << QStringLiteral("serial %1").arg(port.serialNumber);
        if (port.vendorId || port.productId)
            fields << QStringLiteral("%1:%2").arg(hexId(port.vendorId), hexId(port.productId));
        if (!port.byId.isEmpty())
            fields << port.byId;
        out += fields.join(QStringLiteral("  ")) + u'\n';
    }
    return out;
}

QByteArray json(const QList<PortInfo> &ports)
{
    QJsonArray array;
    for (const PortInfo &port : ports) {
        array.append(QJsonObject{
            {QStringLiteral("port"), port.systemName},
            {QStringLiteral("description"), orNull(port.description)},
            {QStringLiteral("manufacturer"), orNull(port.manufacturer)},
            {QStringLiteral("serial"), orNull(port.serialNumber)},
            {QStringLiteral("vid"), orNull(hexId(port.vendorId))},
            {QStringLiteral("pid"), orNull(hexId(port.productId))},
            {QStringLiteral("by_id"), orNull(port.byId)},
        });
    }
    return QJsonDocument(array).toJson(QJsonDocument::Indented);
}

} // namespace PortListing
