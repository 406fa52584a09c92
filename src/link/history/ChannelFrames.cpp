#include "ChannelFrames.h"

#include "link/DeviceCommand.h"
#include "core/TitleData.h"

#include <QCryptographicHash>

namespace ChannelFrames {

QByteArrayList build(const TitleData &data, int channel)
{
    LinkState s;
    s.ReqNo = Request::BulkWrite;
    s.SendCh = qint16(channel);
    s.PageNo = qint16(channel);
    QByteArrayList frames;
    const auto add = [&](Cmd kind) {
        s.CmdKind = kind;
        frames << DeviceCommand::build(s, data).bytes;
    };
    add(Cmd::SelectChannel);
    s.CharNo = 0;
    add(Cmd::Overlay);
    for (s.RowNo = 0; s.RowNo < Title::Rows; ++s.RowNo)
        add(Cmd::ScreenRow);
    for (s.CharNo = 0; s.CharNo <= Title::BlockSize; ++s.CharNo)
        add(Cmd::Character);
    s.CharNo = 1;
    add(Cmd::Overlay);
    add(Cmd::Finish);
    return frames;
}

QByteArray sha256(const TitleData &data, int channel)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (const QByteArray &frame : build(data, channel))
        hash.addData(frame);
    return hash.result();
}

} // namespace ChannelFrames
