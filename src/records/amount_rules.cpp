#include "records/amount_rules.h"

#include <QRegularExpression>

#include "platform/gbk.h"

namespace lanxun {

double ReadAmount(const QString& text) {
    // ASCII digits only: full-width digits are not a number here.
    static const QRegularExpression leadingNumber(
        QStringLiteral("^[ \\x{3000}]*[+-]?(?:[0-9]+\\.?[0-9]*|\\.[0-9]+)(?:[eE][+-]?[0-9]+)?"));
    const QRegularExpressionMatch match = leadingNumber.match(text);
    if (!match.hasMatch()) {
        return 0;
    }
    QString number = match.captured(0);
    number.remove(QLatin1Char(' '));
    number.remove(QChar(0x3000));
    bool ok = false;
    const double value = number.toDouble(&ok);
    return ok ? value : 0;
}

bool BelowMinimumAmount(const QString& text) {
    constexpr double kTolerance = 0.0000001;
    return ReadAmount(text) < kMinimumAmount - kTolerance;
}

bool OrderNumberLengthFits(const QString& orderNumber) {
    return GbkByteLength(orderNumber) == kOrderNumberBytes;
}

}  // namespace lanxun
