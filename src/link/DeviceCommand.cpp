#include "DeviceCommand.h"

#include "HostLinkFrame.h"
#include "core/TitleData.h"

namespace DeviceCommand {

int replyLength(Cmd cmdKind)
{
    return isQuery(cmdKind) && cmdKind != Cmd::QueryChannel ? 3 : 2;
}

static QByteArray moveCommand(Request reqNo)
{
    switch (reqNo) {
    case Request::MoveDown: return "VP+";
    case Request::MoveUp: return "VP-";
    case Request::MoveLeft: return "HP-";
    case Request::MoveRight: return "HP+";
    default: return {};
    }
}

static QByteArray text(const LinkState &s)
{
    switch (s.CmdKind) {
    case Cmd::Overlay: return "OS" + QByteArray::number(s.CharNo);
    case Cmd::Finish: return "PS1";
    case Cmd::Brightness:
        return "BS" + QByteArray::number(s.RowNo + 1).rightJustified(2, '0') + ','
            + QByteArray::number(s.BlackLv) + QByteArray::number(s.WhiteLv);
    case Cmd::SelectChannel: return "CS" + QByteArray::number(s.SendCh + 1);
    case Cmd::Move: return moveCommand(s.ReqNo);
    case Cmd::QueryChannel: return "CS?";
    case Cmd::QueryHorizontal: return "HP?";
    case Cmd::QueryVertical: return "VP?";
    case Cmd::QueryLevels: return "BS01,?";
    case Cmd::QueryVideoLoss: return "VL";
    default: return {};
    }
}

DeviceFrame build(const LinkState &s, const TitleData &data)
{
    DeviceFrame frame;
    frame.replyLength = replyLength(s.CmdKind);
    if (s.CmdKind == Cmd::ScreenRow) {
        frame.bytes = HostLinkFrame::screenRow(data, s.PageNo, s.RowNo);
    } else if (s.CmdKind == Cmd::Character) {
        const int code = HostLinkFrame::codeForSlot(s.SendCh, s.CharNo);
        frame.bytes = HostLinkFrame::character(data.DotData[code], s.CharNo);
    } else {
        const QByteArray command = text(s);
        if (!command.isEmpty())
            frame.bytes = command + HostLinkFrame::CR;
    }
    return frame;
}

} // namespace DeviceCommand
