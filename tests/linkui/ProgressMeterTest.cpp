#include "linkui/ProgressMeter.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

// What the meter draws for a reading of the engine: value of max frames.
TEST(ProgressMeter, DrawsTheReadingAsLineAndLabel)
{
    struct Case
    {
        int value, max;
        int thickness;
        QString label;
    };
    const Case cases[] = {
        {0, 13, 1, QStringLiteral("0%")},           // nothing yet: a one-pixel line
        {1, 40, 5 * 6, QStringLiteral("05%")},      // two digits at least
        {2, 13, 23 * 6, QStringLiteral("23%")},     // six pixels a percent
        {26, 25, 108 * 6, QStringLiteral("100%")},  // the label stops at 100, the line does not
    };
    ProgressMeter meter;
    for (const Case &c : cases) {
        meter.setReading(MeterReading{c.value, c.max});
        EXPECT_EQ(meter.lineThickness(), c.thickness) << c.value << " of " << c.max;
        EXPECT_EQ(meter.labelText(), c.label) << c.value << " of " << c.max;
    }
    meter.setReading(MeterReading{});
    EXPECT_EQ(meter.lineThickness(), 1);
    EXPECT_EQ(meter.labelText(), QStringLiteral("0%"));
}
