#include "SiteSchedule.h"

#include "CsvRows.h"
#include "UnitName.h"

#include "core/Cp932.h"
#include "core/ReadableFile.h"
#include "netserial/PortAddress.h"
#include "render/BlockTextGuard.h"

#include <QHash>
#include <QStringDecoder>

namespace {

enum Column { UnitColumn, AddressColumn, ChannelColumn, TitleColumn, ColumnCount };

int columnFor(const QString &header)
{
    const QString name = header.trimmed();
    const QString lower = name.toLower();
    if (lower == QLatin1String("unit") || name == QStringLiteral("装置"))
        return UnitColumn;
    if (lower == QLatin1String("address") || name == QStringLiteral("アドレス"))
        return AddressColumn;
    if (lower == QLatin1String("channel") || lower == QLatin1String("ch") || name == QStringLiteral("チャンネル"))
        return ChannelColumn;
    if (lower == QLatin1String("title") || name == QStringLiteral("タイトル") || name == QStringLiteral("カメラ名"))
        return TitleColumn;
    return -1;
}

// The text of the file, or why it is neither UTF-8 nor code page 932.
std::optional<QString> decode(const QByteArray &bytes, QString &why)
{
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        why = QStringLiteral("the file is UTF-16; save it as \"CSV UTF-8\" or \"CSV\"");
        return std::nullopt;
    }
    if (bytes.contains('\0')) {
        why = QStringLiteral("the file holds NUL bytes: it is not a CSV text");
        return std::nullopt;
    }
    const bool bom = bytes.startsWith("\xEF\xBB\xBF");
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(bom ? bytes.mid(3) : bytes);
    if (!utf8.hasError())
        return text;
    if (bom) {
        why = QStringLiteral("the file starts as UTF-8 but is not UTF-8 throughout");
        return std::nullopt;
    }
    const QString cp932 = Cp932::decode(bytes);
    if (cp932.contains(QChar::ReplacementCharacter)) {
        why = QStringLiteral("the file is neither UTF-8 nor Shift_JIS (code page 932)");
        return std::nullopt;
    }
    return cp932;
}

QString flat(QString text)
{
    text.replace(u'\n', u' ');
    return text;
}

} // namespace

std::array<QString, Title::Channels> SiteSchedule::Unit::titles() const
{
    std::array<QString, Title::Channels> texts;
    for (const Camera &camera : cameras)
        texts[size_t(camera.channel - 1)] = camera.title;
    return texts;
}

const SiteSchedule::Camera *SiteSchedule::Unit::camera(int channel) const
{
    for (const Camera &camera : cameras) {
        if (camera.channel == channel)
            return &camera;
    }
    return nullptr;
}

const SiteSchedule::Unit *SiteSchedule::unit(const QString &name) const
{
    for (const Unit &unit : units) {
        if (unit.name == name)
            return &unit;
    }
    return nullptr;
}

SiteSchedule::Read SiteSchedule::parse(const QByteArray &bytes)
{
    Read read;
    QString why;
    const auto text = decode(bytes, why);
    if (!text) {
        read.error = why;
        return read;
    }
    const CsvRows::Parsed parsed = CsvRows::parse(*text);
    if (parsed.badLine > 0) {
        read.error = QStringLiteral("line %1: %2").arg(parsed.badLine).arg(parsed.why);
        return read;
    }
    if (parsed.rows.isEmpty()) {
        read.error = QStringLiteral("the file is empty; its first line names the columns (unit, address, channel, title)");
        return read;
    }

    const CsvRows::Row &header = parsed.rows.first();
    std::array<int, ColumnCount> index;
    index.fill(-1);
    std::array<QString, ColumnCount> names;
    for (int i = 0; i < header.fields.size(); ++i) {
        const int column = columnFor(header.fields[i]);
        if (column < 0)
            continue;
        if (index[size_t(column)] >= 0) {
            read.error = QStringLiteral("line %1, column %2: names the same column as column %3")
                             .arg(header.line)
                             .arg(header.fields[i].trimmed())
                             .arg(names[size_t(column)]);
            return read;
        }
        index[size_t(column)] = i;
        names[size_t(column)] = header.fields[i].trimmed();
    }
    for (int column : {UnitColumn, ChannelColumn}) {
        if (index[size_t(column)] < 0) {
            read.error = QStringLiteral("line %1: no column \"%2\"; the first line names the columns "
                                        "(unit, address, channel, title)")
                             .arg(header.line)
                             .arg(column == UnitColumn ? QStringLiteral("unit") : QStringLiteral("channel"));
            return read;
        }
    }

    SiteSchedule schedule;
    QHash<QString, int> unitByFolded; // case-folded name -> index in units
    for (qsizetype r = 1; r < parsed.rows.size(); ++r) {
        const CsvRows::Row &row = parsed.rows[r];
        std::array<QString, ColumnCount> value;
        bool blank = true;
        for (int column = 0; column < ColumnCount; ++column) {
            const int at = index[size_t(column)];
            if (at >= 0 && at < row.fields.size())
                value[size_t(column)] = row.fields[at];
            blank = blank && value[size_t(column)].trimmed().isEmpty();
        }
        if (blank) // a spacer row of the sheet
            continue;
        auto refuse = [&](Column column, const QString &why) {
            read.error = QStringLiteral("line %1, column %2: %3").arg(row.line).arg(names[size_t(column)], why);
        };

        const QString name = value[UnitColumn].trimmed();
        if (const QString problem = UnitName::problem(name); !problem.isEmpty()) {
            refuse(UnitColumn, problem);
            return read;
        }
        int unitIndex = unitByFolded.value(name.toCaseFolded(), -1);
        if (unitIndex >= 0 && schedule.units[unitIndex].name != name) {
            refuse(UnitColumn, QStringLiteral("\"%1\" and \"%2\" would be one file on Windows")
                                   .arg(name, schedule.units[unitIndex].name));
            return read;
        }
        if (unitIndex < 0) {
            unitIndex = int(schedule.units.size());
            unitByFolded.insert(name.toCaseFolded(), unitIndex);
            Unit unit;
            unit.name = name;
            schedule.units << unit;
        }
        Unit &unit = schedule.units[unitIndex];

        const QString address = value[AddressColumn].trimmed();
        if (!address.isEmpty()) {
            const PortAddress parsedAddress = PortAddress::parse(address);
            if (!parsedAddress.isValid()) {
                refuse(AddressColumn, QStringLiteral("\"%1\": %2").arg(address, parsedAddress.error));
                return read;
            }
            if (unit.address.isEmpty()) {
                // Two units on one port would have two links writing into each other's frames.
                for (const Unit &other : schedule.units) {
                    if (&other != &unit && !other.address.isEmpty()
                        && PortAddress::parse(other.address).toString() == parsedAddress.toString()) {
                        refuse(AddressColumn, QStringLiteral("%1 is the address of unit %2 (line %3)")
                                                  .arg(address, other.name)
                                                  .arg(other.addressLine));
                        return read;
                    }
                }
                unit.address = address;
                unit.addressLine = row.line;
            } else if (PortAddress::parse(unit.address).toString() != parsedAddress.toString()) {
                refuse(AddressColumn, QStringLiteral("unit %1 is at %2 (line %3), not %4")
                                          .arg(name, unit.address)
                                          .arg(unit.addressLine)
                                          .arg(address));
                return read;
            }
        }

        Camera camera;
        camera.line = row.line;
        bool ok = false;
        QString channel = value[ChannelColumn].trimmed();
        // Sheets often write the input as the unit's panel labels it.
        if (channel.startsWith(QLatin1String("CH"), Qt::CaseInsensitive))
            channel = channel.mid(2).trimmed();
        camera.channel = channel.toInt(&ok);
        if (!ok || camera.channel < 1 || camera.channel > Title::Channels) {
            refuse(ChannelColumn, QStringLiteral("\"%1\" is no channel 1..8").arg(value[ChannelColumn]));
            return read;
        }
        if (const Camera *earlier = unit.camera(camera.channel)) {
            refuse(ChannelColumn, QStringLiteral("unit %1 channel %2 is on line %3 already")
                                      .arg(name)
                                      .arg(camera.channel)
                                      .arg(earlier->line));
            return read;
        }
        camera.title = value[TitleColumn];
        if (!camera.title.isEmpty()) {
            const BlockTextGuard::Problem problem = BlockTextGuard::check(camera.title);
            if (problem != BlockTextGuard::Problem::None) {
                refuse(TitleColumn, flat(BlockTextGuard::message(problem, camera.title)));
                return read;
            }
        }
        unit.cameras << camera;
    }
    if (schedule.units.isEmpty()) {
        read.error = QStringLiteral("no camera: the file has only its header line");
        return read;
    }
    read.schedule = schedule;
    return read;
}

SiteSchedule::Read SiteSchedule::readFile(const QString &fileName)
{
    Read read;
    QFile file;
    const ReadableFile::Opened opened = ReadableFile::open(fileName, file);
    if (!opened.ok()) {
        read.error = QStringLiteral("cannot read %1: %2").arg(fileName, opened.error);
        read.unreadable = !opened.notRegular;
        return read;
    }
    const QByteArray bytes = file.read(MaxBytes + 1);
    if (bytes.size() > MaxBytes) {
        read.error = QStringLiteral("%1 is over 1 MiB; a camera schedule is far smaller").arg(fileName);
        return read;
    }
    read = parse(bytes);
    if (!read.schedule)
        read.error = fileName + QStringLiteral(": ") + read.error;
    return read;
}
