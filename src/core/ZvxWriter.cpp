#include "ZvxWriter.h"

#include "Cp932.h"
#include "FileSystem.h"
#include "ZvxFormat.h"


namespace {
constexpr char CrLf[] = "\r\n";
} // namespace

QByteArray ZvxWriter::serialize(TitleData &data)
{
    QByteArray out;
    out.reserve(16384 * 10 + 130 * 200 + 4096);

    out.append(ZvxFormat::Tag).append(CrLf);

    for (const QString &entry : data.ChText) {
        QString text = entry;
        FileSystem::ReplaceAll(text, QStringLiteral(" "), QStringLiteral("!"));
        // Only texts that need it are quoted, so files without a comma keep
        // the layout every other reader of the format knows.
        const QByteArray bytes = Cp932::encode(text);
        if (bytes.contains(','))
            out.append('"').append(bytes).append('"').append(CrLf);
        else
            out.append(bytes).append(CrLf);
    }

    QString line;
    for (auto &pattern : data.DotData) {
        for (int group = 0; group < Title::DotsPerCode / 4; ++group) {
            line.clear();
            for (int i = 0; i < 4; ++i) {
                PixelCode &code = pattern[4 * group + i];
                if (code.isEmpty())
                    code = PixelCode::transparent();
                code.appendTo(line);
            }
            out.append(Cp932::encode(line)).append(CrLf);
        }
    }

    for (int page = 0; page < Title::Pages; ++page) {
        for (int row = 0; row < Title::Rows; ++row) {
            for (int col = 0; col < Title::Columns; ++col) {
                const int cell = row * Title::Columns + col;
                out.append(QByteArray::number(data.DispData(cell, 0, page))).append(',');
                out.append(QByteArray::number(data.DispData(cell, 1, page)));
                out.append(col == Title::Columns - 1 ? CrLf : ",");
            }
        }
    }
    out.append(CrLf);
    return out;
}

ZvxWriteResult ZvxWriter::writeFile(const QString &fileName, TitleData &data)
{
    const QByteArray bytes = serialize(data);
    return SaveTarget::save(fileName, [&bytes](QIODevice &file) { return file.write(bytes) == bytes.size(); });
}
