#pragma once
// How the skin's pixels meet the screen's: the zoom the player chose times the desktop's scale.
// Skin pixel k begins at device pixel round(k × factor), so neighbouring pictures meet exactly
// and every device pixel shows exactly one skin pixel: what is painted there, what the outline
// says there and what a click there hits all agree, at any scale.
#include <QRect>
#include <QSize>

#include "core/display/segment_display.h"

struct ViewScale {
    double zoom = 1.0;   // the player's choice; 1 is the skin at its own size
    double ratio = 1.0;  // device pixels per logical pixel: the desktop's scale

    double factor() const { return zoom * ratio; }
    // The skin pixel for pixel, as a desktop at 96 dpi always showed it.
    bool identity() const { return zoom == 1.0 && ratio == 1.0; }
    // Whole factors scale pictures by repeating pixels; others by smoothing.
    bool whole() const;

    // The device pixel where skin pixel k begins.
    int edge(int k) const;
    // The skin pixel that device pixel d shows.
    int unitAt(int d) const;
    QRect deviceRect(const Rect& r) const;
    // The logical pixels that cover a rectangle of the skin (for repainting it).
    QRect logicalRect(const Rect& r) const;
    // The device pixels that cover a rectangle of logical pixels (a repaint's area).
    QRect deviceOfLogical(const QRect& r) const;
    // The skin point under a point in logical pixels (a click, the pointer).
    QPoint skinPoint(double x, double y) const;
    // The window's logical size for a client area of the skin.
    QSize logicalSize(int width, int height) const;
    // The skin's extent that a window of this logical size shows: what full screen lays out.
    QSize skinSize(QSize logical) const;
};

// The largest zoom at which the game area fits the area (both in logical pixels); 1 for an
// empty game.
double fitZoom(QSize area, QSize game);
