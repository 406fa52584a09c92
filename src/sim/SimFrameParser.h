#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// Splits the byte stream from the host into frames. Text commands end at
// CR; the screen-row and character frames are recognised by their header
// and taken at their fixed length, because their raw blocks may hold 0x0D.
// Deliberately shares nothing with the editor's frame building.
class SimFrameParser
{
public:
    static constexpr int ScreenFrameLength = 12 + 30 + 1;
    static constexpr int CharFrameLength = 8 + 54 + 1;
    // No text command is longer ("BS01,?", "BSrr,bw"); a line that runs on
    // past this is dropped up to its CR so that noise cannot fill memory.
    static constexpr int MaxTextLength = 16;

    struct Frame
    {
        QByteArray bytes; // without the final CR
        QString refusal;  // why the device ignores the frame; empty when it is well formed
    };

    // Appends bytes and returns every frame completed by them.
    QList<Frame> feed(const QByteArray &bytes);

    // Bytes held back as the beginning of an unfinished frame.
    const QByteArray &pending() const { return m_buffer; }

private:
    // The fixed length of a block frame starting the buffer, 0 for a text
    // command, -1 when too few bytes have come to tell.
    int blockLength() const;

    QByteArray m_buffer;
    bool m_skippingLine = false; // inside a text line that ran too long
};
