#pragma once

// A sample title written to a file, and checks of what the simulator
// holds after it was sent.

#include "support/ExpectedDeviceState.h"
#include "support/SimProcess.h"
#include "core/TitleData.h"
#include "core/ZvxWriter.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// A title in which every channel's page holds its own characters and every
// character has a pattern of its own.
inline TitleData sampleTitle()
{
    TitleData data;
    data.setDefaults();
    QRandomGenerator random(4711);
    const PixelCode codes[] = {PixelCode::black(), PixelCode::transparent(), PixelCode::white()};
    for (int code = 0; code < Title::CodeCount; ++code)
        for (int dot = 0; dot < Title::DotsPerCode; ++dot)
            data.DotData[code][dot] = codes[random.bounded(3)];
    for (int ch = 0; ch < Title::Channels; ++ch)
        for (int cell = 0; cell < Title::Cells; ++cell) {
            const int k = int(random.bounded(26)); // 0: blank
            data.DispData(cell, 0, ch) = quint8(k == 0 ? 0 : 25 * ch + k);
        }
    return data;
}

class SimLink : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_FALSE(SimProcess::buildDir().isEmpty()) << "ORVEX_BUILD_DIR is not set";
        data = sampleTitle();
        file = dir.filePath(QStringLiteral("title.zvx"));
        ASSERT_TRUE(ZvxWriter::writeFile(file, data).ok);
    }

    void expectChannelWritten(const QJsonObject &state, int ch)
    {
        const QJsonObject channel = state[QStringLiteral("channels")].toArray()[ch].toObject();
        EXPECT_EQ(QByteArray::fromHex(channel[QStringLiteral("page")].toString().toLatin1()), expectedPage(data, ch))
            << "channel " << ch + 1;
        const QJsonArray patterns = channel[QStringLiteral("patterns")].toArray();
        ASSERT_EQ(patterns.size(), 26);
        for (int slot = 0; slot < 26; ++slot) {
            const int code = slot == 0 ? 0 : 25 * ch + slot;
            EXPECT_EQ(QByteArray::fromHex(patterns[slot].toString().toLatin1()), expectedPattern(data.DotData[code]))
                << "channel " << ch + 1 << " slot " << slot;
        }
        EXPECT_TRUE(channel[QStringLiteral("overlay")].toBool());
    }

    static int dataFrames(const QJsonObject &state, int ch)
    {
        return state[QStringLiteral("channels")].toArray()[ch].toObject()[QStringLiteral("data_frames")].toInt();
    }

    QTemporaryDir dir;
    QString file;
    TitleData data;
};

