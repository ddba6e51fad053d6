#include "qt/window_layout.h"

#include <QBitmap>
#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <cmath>

#include "core/device.h"
#include "core/shell.h"
#include "core/skin/sharp_pictures.h"
#include "qt/device_view.h"
#include "qt/view_scale.h"

namespace {
QColor colourOf(std::uint32_t bgr) {
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

// The logical pixels that show any of these screen pixels: the best a desktop that takes a
// window's outline in logical pixels can be told.
QRegion logicalCover(const QRegion& pixels, double ratio) {
    QRegion cover;
    for (const QRect& r : pixels) {
        const int left = static_cast<int>(std::floor(r.left() / ratio));
        const int top = static_cast<int>(std::floor(r.top() / ratio));
        const int right = static_cast<int>(std::ceil((r.right() + 1) / ratio));
        const int bottom = static_cast<int>(std::ceil((r.bottom() + 1) / ratio));
        cover += QRect(left, top, right - left, bottom - top);
    }
    return cover;
}
}  // namespace

WindowLayout::WindowLayout(QWidget& window, DeviceView& view, Device& device, Shell& shell)
    : window_(window),
      view_(view),
      device_(device),
      shell_(shell),
      desktop_(DesktopPresenter::detect()) {}

QRect WindowLayout::monitor() const {
    const ScreenSize screen = shell_.screenSize();
    return {screen.left, screen.top, screen.width, screen.height};
}

QRect WindowLayout::workArea() const {
    // The part the desktop's panels leave free, where the desktop tells it.
    const QRect whole = monitor();
    for (const QScreen* screen : QGuiApplication::screens())
        if (screen->geometry() == whole) return screen->availableGeometry();
    return whole;
}

double WindowLayout::zoom(bool fullscreen) const {
    const Presentation& shown = device_.presentation();
    const QSize game(shown.gameWidth, shown.gameHeight);
    const QSize room = fullscreen ? monitor().size() : workArea().size() * 0.9;
    return zoomFactor(zoom_, room, game);
}

void WindowLayout::load(const SkinPlace& place, bool fullscreen) {
    place_ = place;
    const double zoom = this->zoom(fullscreen);
    // Only full screen is laid out for the screen; the window is the game's size at any zoom.
    device_.loadSkin(place, fullscreen, fullscreen ? zoom : 1.0);
    // "Fit to screen" needs the game's size, which the first load tells.
    if (fullscreen && this->zoom(true) != zoom)
        device_.loadSkin(place, fullscreen, this->zoom(true));
    apply();
}

void WindowLayout::apply() {
    const Presentation& shown = device_.presentation();
    const double zoom = this->zoom(shown.fullscreen);
    const ViewScale scale{zoom, 1.0};
    // Full screen covers the monitor, whatever part of a skin pixel is left at its edge.
    QSize size = shown.fullscreen && zoom != 1.0
                     ? monitor().size()
                     : scale.logicalSize(shown.clientWidth, shown.clientHeight);
    size = size.expandedTo(QSize(1, 1));
    window_.setFixedSize(size);
    view_.setGeometry(0, 0, size.width(), size.height());
    view_.setZoom(zoom);
    const QSize skin = scale.skinSize(size);
    device_.display().setBounds(seg("im_backdrop"), {0, 0, skin.width(), skin.height()});
    view_.setBackgroundColour(colourOf(shown.backgroundColour));
    view_.setColourKey(shown.colourKeyOn ? std::optional(colourOf(shown.colourKey)) : std::nullopt);
    view_.setBackdropStretch(shown.backdropStretch);
    sharpLoaded_ = false;
    view_.setSharpPictures(nullptr);
    useSharpPictures();
    view_.skinApplied();
    view_.update();
    if (shown.colourKeyOn) outline_.reset(device_.display(), shown.colourKey);
    // The window is withdrawn here; its outline is made when it is presented.
    shapeValid_ = false;
    if (zoomShown) zoomShown(zoom);
}

void WindowLayout::useSharpPictures() {
    const bool wanted = view_.scale().factor() >= 2.0;
    if (wanted == sharpLoaded_) return;
    sharpLoaded_ = wanted;
    if (!wanted) return view_.setSharpPictures(nullptr);
    auto sharp = std::make_shared<SharpPictures>(SharpPictures::find(place_, device_.display()));
    view_.setSharpPictures([sharp](const PictureData& picture) { return sharp->load(picture); });
}

void WindowLayout::placeOffScreen() {
    // Off the screen means not mapped at all: a window manager would pull a mapped window back.
    desktop_.withdraw(window_);
    const ScreenSize screen = shell_.screenSize();
    window_.move(-screen.width, -screen.height);
}

void WindowLayout::present(bool fullscreen) {
    const QRect area = monitor();
    // Qt lays a full-screen window out on the screen it thinks the window is on.
    window_.winId();
    for (QScreen* screen : QGuiApplication::screens())
        if (screen->geometry() == area) window_.windowHandle()->setScreen(screen);
    const QSize size = window_.size();
    const int left = area.x() + std::max(0, (area.width() - size.width()) / 2);
    const int top = area.y() + std::max(0, (area.height() - size.height()) / 2);
    desktop_.present(window_, QRect(QPoint(left, top), size), fullscreen);
    // The native window may be new: its outline is given again.
    clearShape();
    shapeValid_ = false;
    updateShape();
}

void WindowLayout::clearShape() {
    window_.clearMask();
    if (screenPixelShape_) desktop_.shapeInScreenPixels(window_, QRegion());
    screenPixelShape_ = false;
}

void WindowLayout::updateShape() {
    const Presentation& shown = device_.presentation();
    if (!shown.colourKeyOn) {
        if (!shapeValid_) clearShape();
        shapeValid_ = true;
        outlinePicture_ = QImage();
        outlinePixels_ = QRegion();
        return;
    }
    // Decided at each skin load: on most skins only the device pictures and buttons can change
    // the outline, and a game step then costs a few comparisons.
    const bool changed = outline_.changed(device_.display());
    if (shapeValid_ && !changed) return;
    const bool whole = !shapeValid_;
    shapeValid_ = true;
    const ViewScale scale = view_.scale();
    if (scale.identity()) {
        const QImage composed = view_.compose();
        const QRgb keyColour = colourOf(shown.colourKey).rgb();
        window_.setMask(QBitmap::fromImage(composed.createMaskFromColor(keyColour)));
        return;
    }
    // At a scale the outline is the composed picture's alpha, in the screen's pixels. Made
    // again only where the picture changed: a pressed button would otherwise cost a whole
    // picture of millions of pixels.
    const QSize size = scale.deviceOfLogical(view_.rect()).size();
    const QRect area = view_.lastDamage().boundingRect().intersected(QRect(QPoint(0, 0), size));
    if (whole || outlinePicture_.size() != size) {
        outlinePicture_ = view_.compose();
        outlinePixels_ = QRegion(QBitmap::fromImage(outlinePicture_.createMaskFromColor(0)));
    } else if (!area.isEmpty()) {
        view_.composeArea(outlinePicture_, area);
        const QImage part = outlinePicture_.copy(area).createMaskFromColor(0);
        outlinePixels_ = outlinePixels_.subtracted(area).united(
            QRegion(QBitmap::fromImage(part)).translated(area.topLeft()));
    }
    if (scale.ratio == 1.0) {
        window_.setMask(outlinePixels_);
        return;
    }
    if (!window_.mask().isEmpty()) window_.clearMask();
    screenPixelShape_ = desktop_.shapeInScreenPixels(window_, outlinePixels_);
    if (!screenPixelShape_) window_.setMask(logicalCover(outlinePixels_, scale.ratio));
}
