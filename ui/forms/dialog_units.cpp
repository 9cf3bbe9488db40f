#include "ui/forms/dialog_units.h"

#include <QFont>
#include <QFontMetricsF>
#include <QString>
#include <cmath>

namespace alearo {

namespace {

double AverageLetterWidth(const QFont& font) {
    static const QString kLetters =
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    return QFontMetricsF(font).horizontalAdvance(kLetters) / kLetters.size();
}

}  // namespace

DialogUnits::DialogUnits(const QFont& font)
    : DialogUnits(AverageLetterWidth(font), QFontMetricsF(font).height()) {}

DialogUnits::DialogUnits(double baseWidth, double baseHeight)
    : m_baseWidth(baseWidth), m_baseHeight(baseHeight) {}

int DialogUnits::ToPixelsX(int units) const {
    return static_cast<int>(std::lround(units * m_baseWidth / 4.0));
}

int DialogUnits::ToPixelsY(int units) const {
    return static_cast<int>(std::lround(units * m_baseHeight / 8.0));
}

QRect DialogUnits::ToPixels(int x, int y, int width, int height) const {
    const int left = ToPixelsX(x);
    const int top = ToPixelsY(y);
    // Edges are converted, not sizes, so neighbouring controls meet exactly.
    return QRect(left, top, ToPixelsX(x + width) - left, ToPixelsY(y + height) - top);
}

}  // namespace alearo
