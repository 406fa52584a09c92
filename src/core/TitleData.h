#pragma once

#include "PixelCode.h"

#include <QString>

#include <array>
#include <cstdint>

// Geometry of the device and of the title data; fixed by the hardware.
namespace Title {
constexpr int CodeCount = 256;      // character codes 0..255
constexpr int DotsPerCode = 256;    // dots 0..255, of which 0..215 are visible
constexpr int VisibleDots = 216;    // 12 x 18
constexpr int CharWidth = 12;
constexpr int CharHeight = 18;
constexpr int Rows = 13;
constexpr int Columns = 30;
constexpr int Cells = Rows * Columns; // 390
constexpr int Layers = 2;
constexpr int Pages = 10;
constexpr int Blocks = 10;
constexpr int BlockSize = 25;
constexpr int Channels = 8;
} // namespace Title

// The screen pages (DispData): one byte per (cell, layer, page), kept in one flat buffer
// in the order cell + 390 * layer + 780 * page.
class DispPages
{
public:
    static constexpr int Size = Title::Cells * Title::Layers * Title::Pages;

    quint8 &operator()(int cell, int layer, int page) { return m_bytes[index(cell, layer, page)]; }
    quint8 operator()(int cell, int layer, int page) const { return m_bytes[index(cell, layer, page)]; }

    std::array<quint8, Size> &bytes() { return m_bytes; }
    const std::array<quint8, Size> &bytes() const { return m_bytes; }

    bool operator==(const DispPages &) const = default;

private:
    static constexpr int index(int cell, int layer, int page)
    {
        return cell + Title::Cells * layer + Title::Cells * Title::Layers * page;
    }

    std::array<quint8, Size> m_bytes{};
};

using CharPattern = std::array<PixelCode, Title::DotsPerCode>;

// A shared setting that every window reads and only `Owner` writes; the
// others ask the owner and follow what it announces.
template <typename Owner>
class OwnedSetting
{
public:
    constexpr operator qint16() const { return m_value; }

private:
    friend Owner;
    OwnedSetting &operator=(qint16 value)
    {
        m_value = value;
        return *this;
    }

    qint16 m_value = 0;
};

class TitleDocument;

// The whole title data of the program plus the settings every window shares.
// One object is owned by the application and handed to each window by
// reference; the stores are plain data that the windows index directly.
struct TitleData
{
    // "Dot data": the character memory, the pattern of every code, [code][dot].
    std::array<CharPattern, Title::CodeCount> DotData{};
    // "Display data": the ten screen pages of character codes.
    DispPages DispData;
    // "Channel text": the line of text each block was rendered from.
    std::array<QString, Title::Blocks> ChText;

    // Shared settings, not part of the data file. The selection is the
    // document's: it alone writes ChNo and HensyuNo and says when they change.
    OwnedSetting<TitleDocument> ChNo;     // "channel number": the channel being edited, 0..7
    // "COM number": the chosen one of the eight port options, 1..8; 0 when
    // none is, which is also the case for a port chosen by address (the
    // link windows' PortChoice, which ComNo follows, tells the two apart).
    qint16 ComNo = 0;
    OwnedSetting<TitleDocument> HensyuNo; // "editing number": the code in the enlarged editor
    // "Write channels": which channels the bulk write sends.
    std::array<bool, Title::Channels> KakikomiCh{};

    // The editor's start-up defaults: every dot transparent, every page
    // blank, every text empty.
    void setDefaults();

    // Copies the stored title data (not the shared settings) from another
    // object; used to commit a completed file read.
    void assignTitleFrom(const TitleData &other);
};
