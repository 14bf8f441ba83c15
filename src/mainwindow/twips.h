#pragma once

class QWidget;

// Window geometry is kept in twips, 1440 per inch, and turned into pixels only at the
// widgets, by the screen's logical dots per inch (15 twips a pixel at 96 dpi).
class Twips
{
public:
    explicit Twips(const QWidget *widget);

    int toPixelsX(int twips) const;
    int toPixelsY(int twips) const;
    int fromPixelsX(int pixels) const;
    int fromPixelsY(int pixels) const;

private:
    double mPerPixelX;
    double mPerPixelY;
};
