#pragma once
// Helpers shared by the asset tools: cutting elements out of an SVG drawing and writing the
// three picture formats the skin loader reads.
#include <QImage>
#include <QRect>
#include <QString>

class QSvgRenderer;

// Tools paint text without a display: selects the offscreen platform unless one is chosen.
// Call before constructing the QGuiApplication.
void useOffscreenPlatform();

// Renders one element at its own bounds, unscaled; `where` receives the pixel rectangle it
// covers in the document (bounds rounded outwards). A null image when the id does not exist.
// At a whole scale the picture is that many times larger and covers the same rectangle.
QImage renderElement(QSvgRenderer& svg, const QString& id, QRect& where,
                     QColor background = Qt::transparent, int scale = 1);

// Renders one element scaled onto exactly `size` pixels (icons, UI pictures).
QImage renderElementToSize(QSvgRenderer& svg, const QString& id, QSize size);

// The window key colour (magenta) must never appear inside the device: nudges every visible
// pixel of exactly that colour off it.
void avoidKeyColour(QImage& image);

// Outer edges blended against the desktop would show a magenta fringe in the shaped window:
// makes every pixel either fully opaque or fully clear.
void hardenAlpha(QImage& image);

// 24-bit uncompressed BMP, bottom-up rows, as the program's own decoder expects.
bool writeBmp24(const QImage& image, const QString& path);

bool writePng(const QImage& image, const QString& path);
bool writeJpeg(const QImage& image, const QString& path, int quality = 92);

// Creates the folder (and parents); false on failure.
bool ensureDir(const QString& path);
