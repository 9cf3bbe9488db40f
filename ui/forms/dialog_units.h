#pragma once

#include <QRect>

class QFont;

namespace alearo {

// Converts dialog units into pixels through a font: a horizontal unit is a
// quarter of the font's average letter width, a vertical unit an eighth of
// its height, so the layout scales with the font.
class DialogUnits {
  public:
    explicit DialogUnits(const QFont& font);
    DialogUnits(double baseWidth, double baseHeight);

    int ToPixelsX(int units) const;
    int ToPixelsY(int units) const;
    QRect ToPixels(int x, int y, int width, int height) const;

  private:
    double m_baseWidth;
    double m_baseHeight;
};

}  // namespace alearo
