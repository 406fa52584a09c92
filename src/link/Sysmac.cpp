#include "Sysmac.h"

#include <cmath>

namespace Sysmac {

QString HexToDec(const QString &hex)
{
    static const QString digits = QStringLiteral("123456789abcdef");
    const QString lower = hex.toLower();
    double sum = 0;
    const qsizetype n = lower.size();
    for (qsizetype i = 0; i < n; ++i) {
        const int value = int(digits.indexOf(lower.at(i))) + 1; // "0" and strangers: 0
        sum += value * std::pow(16.0, double(n - 1 - i));
    }
    return QString::number(sum, 'f', 0);
}

qint32 BinToInt(const QString &bin)
{
    // Unsigned arithmetic: more than 31 ones wrap instead of being undefined.
    quint32 sum = 0;
    const qsizetype n = bin.size();
    for (qsizetype i = 1; i <= n; ++i) {
        if (bin.at(n - i) == u'1' && i <= 32)
            sum += quint32(1) << (i - 1);
    }
    return qint32(sum);
}

} // namespace Sysmac
