#pragma once

#include <QByteArray>
#include <QString>

#include <QtGlobal>

// The engine's working state, named as the device link's developers have
// always named it. Reset to zero / empty whenever a window loads.
struct LinkState
{
    qint16 ReqNo = 0;     // request code of the operation in progress
    qint16 StepNo = 0;    // next step of the operation; 0 = idle
    qint16 CmdKind = 0;   // command kind of the current step
    qint16 SendCh = 0;    // channel 0..7 for channel select and bulk write
    qint16 PageNo = 0;    // screen page of the screen-row frames
    qint16 RowNo = 0;     // row 0..12 of screen-row and brightness frames
    qint16 CharNo = 0;    // character slot 0..25, or the overlay flag 0/1
    qint16 MeterMax = 0;  // frames the meter of the current step counts to
    qint16 MeterCount = 0; // frames sent plus replies completed in the step
    qint16 RxLen = 0;     // reply bytes awaited, 2 or 3
    QString RxHex;        // reply so far, two lower-case hex digits a byte
    qint16 RetryCount = 0; // reply time-outs since load or the last give-up
    qint16 LitCh = 0;     // channel button shown as active
    bool LvFocus = false; // a level selector has the keyboard focus
    QByteArray RxBytes;   // bytes of the last port read
    qint16 BlackLv = 0;   // index chosen in the black-level selector
    qint16 WhiteLv = 0;   // index chosen in the white-level selector
};

// Request codes of the operations.
namespace Request {
constexpr qint16 Levels = 13;
constexpr qint16 ChannelSelect = 14;
constexpr qint16 MoveDown = 15;
constexpr qint16 MoveUp = 16;
constexpr qint16 MoveLeft = 17;
constexpr qint16 MoveRight = 18;
constexpr qint16 BulkWrite = 20;
constexpr qint16 StatusPoll = 30;
} // namespace Request

// Command kinds of the device's command set.
namespace Cmd {
constexpr qint16 ScreenRow = 0;
constexpr qint16 Character = 1;
constexpr qint16 Overlay = 2;
constexpr qint16 Finish = 3;
constexpr qint16 Brightness = 4;
constexpr qint16 SelectChannel = 5;
constexpr qint16 Move = 6;
constexpr qint16 QueryChannel = 10;
constexpr qint16 QueryHorizontal = 11;
constexpr qint16 QueryVertical = 12;
constexpr qint16 QueryLevels = 13;
constexpr qint16 QueryVideoLoss = 14;
} // namespace Cmd
