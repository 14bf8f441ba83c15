#include "twips.h"

#include <QWidget>

namespace {

constexpr double TwipsPerInch = 1440.0;

} // namespace

Twips::Twips(const QWidget *widget)
    : mPerPixelX(TwipsPerInch / widget->logicalDpiX())
    , mPerPixelY(TwipsPerInch / widget->logicalDpiY())
{}

int Twips::toPixelsX(int twips) const
{
    return qRound(twips / mPerPixelX);
}

int Twips::toPixelsY(int twips) const
{
    return qRound(twips / mPerPixelY);
}

int Twips::fromPixelsX(int pixels) const
{
    return qRound(pixels * mPerPixelX);
}

int Twips::fromPixelsY(int pixels) const
{
    return qRound(pixels * mPerPixelY);
}
