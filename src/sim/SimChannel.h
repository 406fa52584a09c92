#pragma once

#include <QByteArray>

#include <array>

// What the device keeps for one of its eight channels.
struct SimChannel
{
    static constexpr int Rows = 13;
    static constexpr int Columns = 30;
    static constexpr int Slots = 26;
    static constexpr int PatternBytes = 54;
    static constexpr int CentreH = 32; // raw position shown as 0
    static constexpr int CentreV = 16;

    struct Level
    {
        int black = 0; // 0..3: 0 %, 10 %, 20 %, 30 %
        int white = 1; // 0..3: 120 %, 100 %, 90 %, 80 %
    };

    bool overlay = true;
    int hpos = CentreH;
    int vpos = CentreV;
    std::array<Level, Rows> levels{};
    QByteArray page = QByteArray(Rows * Columns, '\0');
    // Transparent until written, so a fresh monitor shows the video.
    std::array<QByteArray, Slots> patterns = blankPatterns();
    int dataFrames = 0; // screen rows and characters received

    static std::array<QByteArray, Slots> blankPatterns()
    {
        std::array<QByteArray, Slots> p;
        p.fill(QByteArray(PatternBytes, '\x55'));
        return p;
    }
};
