#pragma once
// The game menu of full-screen mode: one text row per context menu item over the device window,
// shown while the panel is unfolded.
#include <QLabel>
#include <QPointer>
#include <array>
#include <functional>

#include "core/display/segment_display.h"
#include "core/picture.h"
#include "qt/context_menu.h"

class QAction;

// One row: a click (press and release over the row) runs its command, and any left release
// closes the menu afterwards.
class GameMenuRow : public QLabel {
    Q_OBJECT
  public:
    // At `zoom` times its size, as the panel it lies on.
    GameMenuRow(QWidget* parent, int index, double zoom);

    std::function<void()> onClick;
    std::function<void()> onLeftRelease;       // la_menu_itemMouseUp
    std::function<void(QPoint)> onRightPress;  // the context menu opens
    bool hovered() const { return hovered_; }

  protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    bool hovered_ = false;
    bool pressed_ = false;
};

class GameMenuOverlay {
  public:
    static constexpr int kRows = kMenuItemCount;
    static constexpr int kRowHeight = 32;
    static constexpr int kWidth = kGameMenuPanel.width;
    static_assert(kGameMenuPanel.height == kRowHeight * (kRows + 1),
                  "the unfolded panel holds the title band and one row per menu item");

    explicit GameMenuOverlay(QWidget& host) : host_(host) {}

    // The panel belongs to the program, not to the skin.
    static Picture panelPicture();

    // Builds the rows from the menu items as they are now (captions, check marks, enabled), at
    // the device's zoom.
    void open(const std::array<QAction*, kRows>& items, const std::function<void(int)>& run,
              const std::function<void()>& close, const std::function<void(QPoint)>& contextMenu,
              double zoom = 1.0);
    // Removes the rows once the event being handled is done with them.
    void close();
    bool isOpen() const;
    GameMenuRow* row(int i) const { return rows_[i]; }  // 0-based

  private:
    QWidget& host_;
    std::array<QPointer<GameMenuRow>, kRows> rows_{};
};
