#pragma once
// Puts the device window on its monitor in the presentation its skin describes: its size at the
// player's zoom, its colours, its place (centred on the device's monitor, or withdrawn) and, for
// the windowed device, its outline.
#include <QImage>
#include <QRect>
#include <QRegion>
#include <functional>
#include <string>

#include "core/display/window_outline.h"
#include "core/skin/skin_loader.h"
#include "qt/desktop_presenter.h"
#include "qt/zoom.h"

class Device;
class DeviceView;
class QWidget;
class Shell;

class WindowLayout {
  public:
    WindowLayout(QWidget& window, DeviceView& view, Device& device, Shell& shell);

    DesktopPresenter& desktop() { return desktop_; }
    ZoomChoice zoomChoice() const { return zoom_; }
    void setZoomChoice(ZoomChoice choice) { zoom_ = choice; }
    // The zoom a presentation is shown at: the choice's, or the largest at which the game (as
    // the last skin load found it) fits the device's monitor.
    double zoom(bool fullscreen) const;

    // Loads the skin for the presentation at its zoom and applies it to the window: size,
    // colours, key colour and the view's scale.
    void load(const SkinPlace& place, bool fullscreen);
    void placeOffScreen();
    // Maps the window centred on the device's monitor (in full screen covering it).
    void present(bool fullscreen);
    // The windowed device's outline, made again when a segment that shapes it changed.
    void updateShape();
    void invalidateShape() { shapeValid_ = false; }
    // Told the zoom each presentation is shown at (the manual viewer follows it).
    std::function<void(double)> zoomShown;

    // The skin's sharper pictures at a scale of 2 and more (found once per load), none below.
    void useSharpPictures();

  private:
    void apply();
    // No outline: the window is whole (Qt's mask and one set in the screen's pixels).
    void clearShape();
    QRect monitor() const;
    QRect workArea() const;

    QWidget& window_;
    DeviceView& view_;
    Device& device_;
    Shell& shell_;
    DesktopPresenter desktop_;
    ZoomChoice zoom_ = ZoomChoice::Actual;
    // The segments that can change the window shape, to rebuild it only when one of them changes.
    WindowOutline outline_;
    bool shapeValid_ = false;
    bool screenPixelShape_ = false;  // the outline was set in the screen's pixels
    // At a scale: the picture the outline is read from, and the outline, in screen pixels.
    QImage outlinePicture_;
    QRegion outlinePixels_;
    SkinPlace place_{std::string()};
    bool sharpLoaded_ = false;
};
