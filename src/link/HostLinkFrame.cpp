#include "HostLinkFrame.h"

#include "Sysmac.h"

namespace HostLinkFrame {

int deviceCode(int code, int page)
{
    return code == 0 ? 0 : code - Title::BlockSize * page;
}

bool isSendable(int code, int page)
{
    return code == 0 || code > Title::BlockSize * page;
}

QByteArray screenRow(const TitleData &data, int page, int row)
{
    QByteArray frame = "@WD,P00,L" + QByteArray::number(row).rightJustified(2, '0') + ',';
    frame.reserve(frame.size() + RowBlockSize + 1);
    for (int c = 0; c < Title::Columns; ++c)
        frame.append(char(quint8(deviceCode(data.DispData(row * Title::Columns + c, 0, page), page))));
    frame.append(CR);
    return frame;
}

int codeForSlot(int ch, int slot)
{
    return slot == 0 ? 0 : Title::BlockSize * ch + slot;
}

QByteArray packPattern(const CharPattern &pattern)
{
    static const QString transparent = PixelCode::transparent().toText();
    QByteArray bytes;
    bytes.reserve(CharBlockSize);
    for (int n = 0; n < CharBlockSize; ++n) {
        QString bits;
        for (int k = 0; k < 4; ++k) {
            // Anything but a two-character code (an empty element left by a
            // short file line) would shift the following dots, so it is sent
            // as the transparent dot it is drawn as.
            const QString dot = pattern[4 * n + k].toText();
            bits += dot.size() == 2 ? dot : transparent;
        }
        bytes.append(char(quint8(Sysmac::BinToInt(bits))));
    }
    return bytes;
}

QByteArray character(const CharPattern &pattern, int slot)
{
    return "@WC,P" + QByteArray::number(slot, 16).toUpper().rightJustified(2, '0') + ','
        + packPattern(pattern) + CR;
}

} // namespace HostLinkFrame
