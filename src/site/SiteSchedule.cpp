#include "SiteSchedule.h"

#include "CsvRows.h"
#include "UnitName.h"

#include "core/Cp932.h"
#include "core/ReadableFile.h"
#include "netserial/PortAddress.h"
#include "netserial/PortAddressWords.h"
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

// Whether the bytes of one line are UTF-8 rather than code page 932: valid
// UTF-8 with a three-byte sequence, as every kana and kanji is in UTF-8.
// Code page 932 text is seldom valid UTF-8 (a few half-width kana pairs
// are), and never with a lead byte E0..EF followed by two of 80..BF that
// a spreadsheet writes.
bool looksUtf8(const QByteArray &line)
{
    bool wide = false;
    for (qsizetype i = 0; i < line.size();) {
        const uchar c = uchar(line[i]);
        int length = c < 0x80 ? 1 : (c >= 0xC2 && c <= 0xDF) ? 2 : (c >= 0xE0 && c <= 0xEF) ? 3 : (c >= 0xF0 && c <= 0xF4) ? 4 : 0;
        if (length == 0 || i + length > line.size())
            return false;
        for (int k = 1; k < length; ++k) {
            if ((uchar(line[i + k]) & 0xC0) != 0x80)
                return false;
        }
        wide = wide || length >= 3;
        i += length;
    }
    return wide;
}

// The text of the file, or why it is neither UTF-8 nor code page 932.
std::optional<QString> decode(const QByteArray &bytes, Refusal &why)
{
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        why = {QStringLiteral("the file is UTF-16; save it as \"CSV UTF-8\" or \"CSV\""),
               QStringLiteral("ファイルが UTF-16 です。「CSV UTF-8」か「CSV」で保存してください")};
        return std::nullopt;
    }
    if (bytes.contains('\0')) {
        why = {QStringLiteral("the file holds NUL bytes: it is not a CSV text"),
               QStringLiteral("ファイルに NUL バイトがあります。CSV のテキストではありません")};
        return std::nullopt;
    }
    const bool bom = bytes.startsWith("\xEF\xBB\xBF");
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(bom ? bytes.mid(3) : bytes);
    if (!utf8.hasError())
        return text;
    if (bom) {
        why = {QStringLiteral("the file starts as UTF-8 but is not UTF-8 throughout"),
               QStringLiteral("ファイルは UTF-8 で始まりますが、途中が UTF-8 ではありません")};
        return std::nullopt;
    }
    // Lines pasted from two files: decoding the whole as code page 932
    // would garble the UTF-8 lines without a word.
    int utf8Line = 0;
    int otherLine = 0;
    const QList<QByteArray> lines = bytes.split('\n');
    for (qsizetype i = 0; i < lines.size() && (utf8Line == 0 || otherLine == 0); ++i) {
        QStringDecoder lineDecoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString decoded = lineDecoder.decode(lines[i]); // decodes only when converted
        Q_UNUSED(decoded);
        if (lineDecoder.hasError())
            otherLine = otherLine ? otherLine : int(i) + 1;
        else if (looksUtf8(lines[i]))
            utf8Line = utf8Line ? utf8Line : int(i) + 1;
    }
    if (utf8Line > 0 && otherLine > 0) {
        why = {QStringLiteral("line %1 is UTF-8 but line %2 is not: save the whole file in one encoding")
                   .arg(utf8Line)
                   .arg(otherLine),
               QStringLiteral("ファイルの%1行目は UTF-8、%2行目はシフトJISです。ファイル全体を一つの文字コードで保存してください")
                   .arg(utf8Line)
                   .arg(otherLine)};
        return std::nullopt;
    }
    const QString cp932 = Cp932::decode(bytes);
    if (cp932.contains(QChar::ReplacementCharacter)) {
        why = {QStringLiteral("the file is neither UTF-8 nor Shift_JIS (code page 932)"),
               QStringLiteral("ファイルは UTF-8 でもシフトJIS でもありません")};
        return std::nullopt;
    }
    return cp932;
}

QString flat(QString text)
{
    text.replace(u'\n', u' ');
    return text;
}

// "row 7" and "7行目", with the file's line when a quoted line break above
// moved it.
Refusal placeOf(int row, int line)
{
    if (row == line)
        return {QStringLiteral("row %1").arg(row), QStringLiteral("%1行目").arg(row)};
    return {QStringLiteral("row %1 (line %2)").arg(row).arg(line),
            QStringLiteral("%1行目（ファイルの%2行目）").arg(row).arg(line)};
}

// A unit's address as the hash of the check keys it, counting the
// comparisons that telling two of them apart takes.
struct AddressKey
{
    PortAddress::Identity identity;
    int *comparisons = nullptr;

    bool operator==(const AddressKey &other) const
    {
        ++*comparisons;
        return identity == other.identity;
    }
};

size_t qHash(const AddressKey &key, size_t seed)
{
    return qHash(key.identity, seed);
}

// Why the device at `address` can be no serial port; empty when it may be
// one. A path that is not there yet is the unit's adapter not plugged in.
Refusal deviceRefusal(const PortAddress &address)
{
    switch (address.deviceNode()) {
    case PortAddress::DeviceNode::Folder:
        return {QStringLiteral("\"%1\" is a folder, not a serial port").arg(address.device),
                PortAddressWords::deviceProblem(address, false)};
    case PortAddress::DeviceNode::RegularFile:
        return {QStringLiteral("\"%1\" is a regular file, not a serial port").arg(address.device),
                PortAddressWords::deviceProblem(address, false)};
    default: break;
    }
    return {};
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

int SiteSchedule::unitIndex(const QString &name) const
{
    for (int i = 0; i < int(units.size()); ++i) {
        if (units[i].name == name)
            return i;
    }
    return -1;
}

SiteSchedule::Read SiteSchedule::parse(const QByteArray &bytes)
{
    Read read;
    auto fail = [&read](const Refusal &why) {
        read.error = why.english;
        read.japanese = why.japanese;
        return read;
    };
    Refusal why;
    const auto text = decode(bytes, why);
    if (!text)
        return fail(why);
    const CsvRows::Parsed parsed = CsvRows::parse(*text);
    if (parsed.badLine > 0) {
        const Refusal where = placeOf(parsed.badRow, parsed.badLine);
        return fail(parsed.quoteOpen
                        ? Refusal{where.english + QStringLiteral(": a quote is never closed"),
                                  where.japanese + QStringLiteral(": 引用符「\"」が閉じられていません")}
                        : Refusal{where.english + QStringLiteral(": text after a closing quote"),
                                  where.japanese + QStringLiteral(": 閉じた引用符「\"」の後に文字があります")});
    }
    if (parsed.rows.isEmpty())
        return fail({QStringLiteral("the file is empty; its first line names the columns (unit, address, channel, title)"),
                     QStringLiteral("ファイルが空です。1行目に列の名前（装置、アドレス、CH、カメラ名）を書いてください")});

    const CsvRows::Row &header = parsed.rows.first();
    std::array<int, ColumnCount> index;
    index.fill(-1);
    std::array<QString, ColumnCount> names;
    for (int i = 0; i < header.fields.size(); ++i) {
        const int column = columnFor(header.fields[i]);
        if (column < 0)
            continue;
        const QString name = header.fields[i].trimmed();
        if (index[size_t(column)] >= 0) {
            const Refusal where = placeOf(header.row, header.line);
            return fail({QStringLiteral("%1, column %2: names the same column as column %3")
                             .arg(where.english, name, names[size_t(column)]),
                         QStringLiteral("%1、「%2」列: 「%3」列と同じ列です").arg(where.japanese, name, names[size_t(column)])});
        }
        index[size_t(column)] = i;
        names[size_t(column)] = name;
    }
    // A title column typed in other words would make every unit without
    // its titles, so it is required as the others are.
    static const std::array<const char *, ColumnCount> englishName = {"unit", "address", "channel", "title"};
    static const std::array<const char *, ColumnCount> japaneseName = {"装置", "アドレス", "CH", "カメラ名"};
    for (int column : {UnitColumn, ChannelColumn, TitleColumn}) {
        if (index[size_t(column)] < 0) {
            const Refusal where = placeOf(header.row, header.line);
            return fail({QStringLiteral("%1: no column \"%2\"; the first line names the columns "
                                        "(unit, address, channel, title)")
                             .arg(where.english, QLatin1String(englishName[size_t(column)])),
                         QStringLiteral("%1: 「%2」の列がありません。1行目に列の名前（装置、アドレス、CH、カメラ名）を書いてください")
                             .arg(where.japanese, QString::fromUtf8(japaneseName[size_t(column)]))});
        }
    }

    SiteSchedule schedule;
    QHash<QString, int> unitByFolded; // case-folded name -> index in units
    int comparisons = 0;
    QHash<AddressKey, int> unitByAddress; // what an address reaches -> index in units
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
        const Refusal where = placeOf(row.row, row.line);
        auto refuse = [&](Column column, const Refusal &why) {
            read.addressComparisons = comparisons;
            return fail({QStringLiteral("%1, column %2: %3").arg(where.english, names[size_t(column)], why.english),
                         QStringLiteral("%1、「%2」列: %3").arg(where.japanese, names[size_t(column)], why.japanese)});
        };

        const QString name = value[UnitColumn].trimmed();
        if (const Refusal problem = UnitName::problem(name); !problem.isEmpty())
            return refuse(UnitColumn, problem);
        int unitIndex = unitByFolded.value(name.toCaseFolded(), -1);
        if (unitIndex >= 0 && schedule.units[unitIndex].name != name) {
            const QString other = schedule.units[unitIndex].name;
            return refuse(UnitColumn, {QStringLiteral("\"%1\" and \"%2\" would be one file on Windows").arg(name, other),
                                       QStringLiteral("「%1」と「%2」は Windows では同じファイルになります").arg(name, other)});
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
            const PortAddress port = PortAddress::parse(address);
            if (!port.isValid())
                return refuse(AddressColumn, {QStringLiteral("\"%1\": %2").arg(address, port.error),
                                              PortAddressWords::problem(port, address)});
            if (const Refusal noPort = deviceRefusal(port); !noPort.isEmpty())
                return refuse(AddressColumn, noPort);
            if (!unit.port.isValid()) {
                // Two units on one port would have two links writing into
                // each other's frames, however the sheet spells the port.
                const AddressKey key{port.identity(), &comparisons};
                const auto other = unitByAddress.constFind(key);
                if (other != unitByAddress.cend()) {
                    const Unit &first = schedule.units[*other];
                    return refuse(AddressColumn,
                                  {QStringLiteral("%1 is the address of unit %2 (row %3)")
                                       .arg(address, first.name)
                                       .arg(first.addressRow),
                                   QStringLiteral("%1 は装置 %2 のアドレスです（%3行目）")
                                       .arg(address, first.name)
                                       .arg(first.addressRow)});
                }
                unitByAddress.insert(key, unitIndex);
                unit.address = address;
                unit.port = port;
                unit.addressRow = row.row;
            } else if (unit.port.identity() != port.identity()) {
                return refuse(AddressColumn, {QStringLiteral("unit %1 is at %2 (row %3), not %4")
                                                  .arg(name, unit.address)
                                                  .arg(unit.addressRow)
                                                  .arg(address),
                                              QStringLiteral("装置 %1 のアドレスは %2 です（%3行目）。%4 ではありません")
                                                  .arg(name, unit.address)
                                                  .arg(unit.addressRow)
                                                  .arg(address)});
            }
        }

        Camera camera;
        camera.row = row.row;
        bool ok = false;
        QString channel = value[ChannelColumn].trimmed();
        // Sheets often write the input as the unit's panel labels it.
        if (channel.startsWith(QLatin1String("CH"), Qt::CaseInsensitive))
            channel = channel.mid(2).trimmed();
        camera.channel = channel.toInt(&ok);
        if (!ok || camera.channel < 1 || camera.channel > Title::Channels)
            return refuse(ChannelColumn, {QStringLiteral("\"%1\" is no channel 1..8").arg(value[ChannelColumn]),
                                          QStringLiteral("「%1」は 1～8 のチャンネルではありません").arg(value[ChannelColumn])});
        if (const Camera *earlier = unit.camera(camera.channel)) {
            return refuse(ChannelColumn, {QStringLiteral("unit %1 channel %2 is on row %3 already")
                                              .arg(name)
                                              .arg(camera.channel)
                                              .arg(earlier->row),
                                          QStringLiteral("装置 %1 の CH%2 は%3行目にもあります")
                                              .arg(name)
                                              .arg(camera.channel)
                                              .arg(earlier->row)});
        }
        camera.title = value[TitleColumn];
        if (!camera.title.isEmpty()) {
            const BlockTextGuard::Problem problem = BlockTextGuard::check(camera.title);
            if (problem != BlockTextGuard::Problem::None) {
                const QString words = flat(BlockTextGuard::message(problem, camera.title));
                return refuse(TitleColumn, {words, words});
            }
        }
        unit.cameras << camera;
    }
    read.addressComparisons = comparisons;
    if (schedule.units.isEmpty())
        return fail({QStringLiteral("no camera: the file has only its header line"),
                     QStringLiteral("カメラがありません（列の名前の行だけです）")});
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
        read.japanese = QStringLiteral("%1 を読めません: %2").arg(fileName, opened.error);
        read.unreadable = !opened.notRegular;
        return read;
    }
    const QByteArray bytes = file.read(MaxBytes + 1);
    if (bytes.size() > MaxBytes) {
        read.error = QStringLiteral("%1 is over 1 MiB; a camera schedule is far smaller").arg(fileName);
        read.japanese = QStringLiteral("%1 は 1 MiB を超えています。カメラ一覧はずっと小さいはずです").arg(fileName);
        return read;
    }
    read = parse(bytes);
    if (!read.schedule) {
        read.error = fileName + QStringLiteral(": ") + read.error;
        read.japanese = fileName + QStringLiteral(": ") + read.japanese;
    }
    return read;
}
