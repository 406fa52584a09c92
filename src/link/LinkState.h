#pragma once

#include <QString>

#include <QtGlobal>

// Request codes of the operations: the numbers the device link has always
// used for them.
enum class Request : qint16 {
    None = 0, // no operation has run since the window loaded
    Levels = 13,
    ChannelSelect = 14,
    MoveDown = 15,
    MoveUp = 16,
    MoveLeft = 17,
    MoveRight = 18,
    BulkWrite = 20,
    StatusPoll = 30,
};

// Command kinds of the device's command set.
enum class Cmd : qint16 {
    ScreenRow = 0,
    Character = 1,
    Overlay = 2,
    Finish = 3,
    Brightness = 4,
    SelectChannel = 5,
    Move = 6,
    QueryChannel = 10,
    QueryHorizontal = 11,
    QueryVertical = 12,
    QueryLevels = 13,
    QueryVideoLoss = 14,
};

// The status poll's questions, in the order it asks them.
inline constexpr Cmd PollQueries[] = {Cmd::QueryChannel, Cmd::QueryHorizontal, Cmd::QueryVertical,
                                      Cmd::QueryLevels, Cmd::QueryVideoLoss};

// True for the status queries, whose replies carry what the device shows.
constexpr bool isQuery(Cmd kind)
{
    return kind >= Cmd::QueryChannel && kind <= Cmd::QueryVideoLoss;
}

// The engine's working state, named as the device link's developers have
// always named it. Reset to zero / empty whenever a window loads.
struct LinkState
{
    Request ReqNo = Request::None; // the operation in progress
    qint16 StepNo = 0;    // next step of the operation; 0 = idle
    Cmd CmdKind = Cmd::ScreenRow; // command kind of the current step
    qint16 SendCh = 0;    // channel 0..7 for channel select and bulk write
    qint16 PageNo = 0;    // screen page of the screen-row frames
    qint16 RowNo = 0;     // row 0..12 of screen-row and brightness frames
    qint16 CharNo = 0;    // character slot 0..25, or the overlay flag 0/1
    qint16 MeterMax = 0;  // frames the meter of the current step counts to
    qint16 MeterCount = 0; // frames sent plus replies completed in the step
    qint16 RxLen = 0;     // reply bytes awaited, 2 or 3
    QString RxHex;        // reply so far, two lower-case hex digits a byte
    qint16 RetryCount = 0; // reply time-outs since load or the last give-up
                           // (network ports: in a row)
    qint16 LitCh = 0;     // channel button shown as active
    bool LvFocus = false; // a level selector has the keyboard focus
    qint16 BlackLv = 0;   // index chosen in the black-level selector
    qint16 WhiteLv = 0;   // index chosen in the white-level selector
};
