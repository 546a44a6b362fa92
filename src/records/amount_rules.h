#pragma once

#include <QString>

namespace lanxun {

// The smallest recharge and withdrawal, in yuan.
inline constexpr double kMinimumAmount = 10.0;

// An amount typed by the user read as a number: blanks, a sign, digits with an optional fraction
// and exponent at the start of the text; text that does not start that way counts as 0.
double ReadAmount(const QString& text);

// True when the amount typed is under 10 by more than the tolerance of 0.0000001.
bool BelowMinimumAmount(const QString& text);

// The Alipay trade number of a transfer is exactly 32 bytes in GBK.
inline constexpr int kOrderNumberBytes = 32;
bool OrderNumberLengthFits(const QString& orderNumber);

}  // namespace lanxun
