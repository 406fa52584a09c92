#include "ZvxReader.h"

#include "Cp932.h"
#include "FileSystem.h"
#include "ReadableFile.h"
#include "ZvxFieldReader.h"
#include "ZvxFormat.h"

#include <QFile>
#include <QFileDevice>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <memory>

int ZvxReader::screenNumber(const QByteArray &field, bool &ok)
{
    // The leading number: optional sign, digits, fraction and exponent.
    qsizetype end = 0;
    const qsizetype size = field.size();
    auto digits = [&] {
        const qsizetype start = end;
        while (end < size && field[end] >= '0' && field[end] <= '9')
            ++end;
        return end > start;
    };
    if (end < size && (field[end] == '+' || field[end] == '-'))
        ++end;
    bool any = digits();
    if (end < size && field[end] == '.') {
        ++end;
        any = digits() || any;
    }
    if (!any) {
        ok = true;
        return 0;
    }
    if (end < size && (field[end] == 'e' || field[end] == 'E')) {
        qsizetype mark = end++;
        if (end < size && (field[end] == '+' || field[end] == '-'))
            ++end;
        if (!digits())
            end = mark;
    }
    // strtod_l in the C locale: independent of the process locale, and it
    // gives infinity for a value too large for a double, where
    // QByteArray::toDouble gives 0.
    static const locale_t cLocale = newlocale(LC_NUMERIC_MASK, "C", locale_t(nullptr));
    const QByteArray number = field.left(end);
    const double value = strtod_l(number.constData(), nullptr, cLocale);
    // nearbyint rounds halves to even in the default rounding mode.
    const double rounded = std::nearbyint(value);
    ok = std::isfinite(rounded) && rounded >= 0.0 && rounded <= 255.0;
    return ok ? int(rounded) : 0;
}

namespace {

// Records what a file that ends before its last screen page left unread,
// from the counters where reading stopped.
void noteWhereItEnds(ZvxReadResult &result, int fieldNo, int code, int page)
{
    if (page >= Title::Pages)
        return;
    if (fieldNo == 0) {
        result.tagMissing = true;
        result.unread = ZvxReadResult::Unread::Everything;
    } else if (fieldNo <= Title::Blocks) {
        result.unread = ZvxReadResult::Unread::BlockText;
        result.unreadNumber = fieldNo - 1;
    } else if (code < Title::CodeCount) {
        result.unread = ZvxReadResult::Unread::CharacterCode;
        result.unreadNumber = code;
    } else {
        result.unread = ZvxReadResult::Unread::ScreenPage;
        result.unreadNumber = page;
    }
}

} // namespace

ZvxReadResult ZvxReader::read(QIODevice &device, TitleData &data)
{
    ZvxReadResult result;
    ZvxFieldReader reader(device);

    int fieldNo = 0;
    int code = 0, dot = 0;
    int page = 0, cell = 0, layer = 0;
    QByteArray field;

    while (page < Title::Pages && reader.next(field)) {
        result.lastLine = reader.line();
        if (fieldNo == 0) {
            // Files of other kinds read on regardless, as they always have;
            // the operator is only told.
            result.tagMissing = field != ZvxFormat::Tag;
        } else if (fieldNo <= Title::Blocks) {
            QString text = Cp932::decode(field);
            FileSystem::ReplaceAll(text, QStringLiteral("!"), QStringLiteral(" "));
            data.ChText[fieldNo - 1] = text;
        } else if (code < Title::CodeCount) {
            const QString text = Cp932::decode(field);
            for (int piece = 0; piece < 4; ++piece) {
                const QStringView view = QStringView(text).mid(qMin<qsizetype>(2 * piece, text.size()), 2);
                data.DotData[code][dot] = PixelCode::fromText(view);
                if (++dot == Title::DotsPerCode) {
                    dot = 0;
                    ++code;
                }
            }
        } else {
            bool ok = false;
            const int value = screenNumber(field, ok);
            if (!ok) {
                result.error = ZvxReadResult::Error::NumberOutOfRange;
                result.line = reader.line();
                result.field = QString::fromLatin1(field);
                return result;
            }
            data.DispData(cell, layer, page) = quint8(value);
            if (++layer == Title::Layers) {
                layer = 0;
                if (++cell == Title::Cells) {
                    cell = 0;
                    ++page;
                }
            }
        }
        ++fieldNo;
    }
    noteWhereItEnds(result, fieldNo, code, page);
    if (reader.tooLong()) {
        result.error = ZvxReadResult::Error::FieldTooLong;
        result.line = reader.line();
    } else if (reader.failed()) {
        result.error = ZvxReadResult::Error::ReadFailed;
        result.systemMessage = device.errorString();
    }
    return result;
}

ZvxReadResult ZvxReader::load(QIODevice &device, TitleData &data)
{
    // The copy is large (about 400 KB); keep it off the stack.
    auto copy = std::make_unique<TitleData>(data);
    ZvxReadResult result = read(device, *copy);
    if (result.ok()) {
        result.normalised = TitleNormaliser::normalise(*copy);
        data.assignTitleFrom(*copy);
    }
    return result;
}

ZvxReadResult ZvxReader::readFile(const QString &fileName, TitleData &data)
{
    QFile file;
    const ReadableFile::Opened opened = ReadableFile::open(fileName, file);
    if (!opened.ok()) {
        ZvxReadResult result;
        result.error = opened.notRegular ? ZvxReadResult::Error::NotRegularFile : ZvxReadResult::Error::CannotOpen;
        result.fileName = fileName;
        result.systemMessage = opened.error;
        return result;
    }
    ZvxReadResult result = load(file, data);
    result.fileName = fileName;
    return result;
}
