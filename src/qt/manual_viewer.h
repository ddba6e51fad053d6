#pragma once
// The manual viewer: twelve page pictures in a borderless window that floats above the others.
// Pages turn with the arrow keys or the small arrows on the page; Esc or the close button hides
// the viewer; dragging the page moves the window. Page and place survive closing.
#include <QImage>
#include <QWidget>
#include <array>
#include <cstdint>
#include <set>
#include <string_view>

#include "core/picture.h"

class Shell;
class ManualButton;
class ManualDragSurface;

class TManualForm : public QWidget {
  public:
    static constexpr int kPageCount = 12;
    static constexpr int kButtonMargin = 4;

    // The pages as Skin_Load_Manual produced them (a missing file is its placeholder already);
    // they are converted once here so that a page turn only swaps the shown picture.
    TManualForm(int clientWidth, int clientHeight, const std::array<Picture, kPageCount>& pages,
                QWidget* parent = nullptr);

    // The viewer is first centred on the monitor this shell answers with (else on its own).
    void setShell(const Shell* shell) { shell_ = shell; }

    // The player's zoom: the window, its pages and its buttons that many times larger.
    void setZoom(double zoom);
    QSize ownSize() const { return clientSize_; }

    int currentPage() const { return currentPage_; }
    // Whether one of the six button pictures ("btn_left_up", ..., "btn_close_down") is shown.
    bool isPictureShown(std::string_view name) const;

    void Inp_left_down();
    void Inp_left_up();
    void Inp_right_down();
    void Inp_right_up();
    void Inp_esc_down();
    void Inp_esc_up();

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

  private:
    friend class ManualDragSurface;
    void Vid_Show_Page();
    // FormKeyDown and FormKeyUp; returns whether the key is one of the viewer's.
    bool FormKey(const QKeyEvent& event);
    void sh_page_topMouseDown(QPoint at);
    void sh_page_topMouseMove(QPoint at);

    std::array<QImage, kPageCount> im_page_{};
    QImage im_page_top_;
    int currentPage_ = 1;
    QSize clientSize_;
    double zoom_ = 1.0;
    bool placed_ = false;
    const Shell* shell_ = nullptr;
    QPoint dragOrigin_;
    // The viewer's keys pressed while it had the keys: a release whose press went to another
    // window (Esc closing the about box above the viewer) is not a command here.
    std::set<std::uint16_t> keysDown_;

    ManualDragSurface* sh_page_top = nullptr;
    ManualButton* btn_left = nullptr;
    ManualButton* btn_right = nullptr;
    ManualButton* btn_close = nullptr;
};
