#include "qt/manual_viewer.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <algorithm>
#include <cmath>
#include <functional>

#include "core/input/virtual_keys.h"
#include "core/shell.h"
#include "qt/key_translation.h"

// One on-page button: a released picture lying over a pressed one, both 16 x 14. Hiding the
// released picture shows the pressed one. One widget carries both so that the mouse grab taken by
// a press stays with it when the press hides the released picture: the release then still comes
// here, wherever the pointer is.
class ManualButton : public QWidget {
  public:
    static constexpr int kWidth = 16;
    static constexpr int kHeight = 14;

    ManualButton(const QString& upResource, const QString& downResource, QWidget* parent)
        : QWidget(parent), upOwn_(upResource), downOwn_(downResource) {
        setZoom(1.0);
    }

    // Its pictures scaled once, here, for the viewer's zoom.
    void setZoom(double zoom) {
        const QSize size(static_cast<int>(std::lround(kWidth * zoom)),
                         static_cast<int>(std::lround(kHeight * zoom)));
        resize(size);
        const auto scaled = [&](const QPixmap& own) {
            return own.isNull() || own.size() == size ? own : own.scaled(size);
        };
        up_ = scaled(upOwn_);
        down_ = scaled(downOwn_);
        update();
    }

    bool upShown = false;
    bool downShown = false;
    std::function<void()> onPress;
    std::function<void()> onRelease;

    void setBoth(bool shown) {
        upShown = shown;
        downShown = shown;
        refresh();
    }
    void refresh() {
        setVisible(upShown || downShown);
        update();
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        const QPixmap& picture = upShown ? up_ : down_;
        if (picture.isNull()) return;
        QPainter painter(this);
        painter.drawPixmap(0, 0, picture);
    }
    // The handlers belong to the released picture: with it hidden, a press lands on the pressed
    // picture, which does nothing.
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() != Qt::LeftButton || !upShown) return;
        pressed_ = true;
        if (onPress) onPress();
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() != Qt::LeftButton || !pressed_) return;
        pressed_ = false;
        if (onRelease) onRelease();
    }

  private:
    QPixmap upOwn_;
    QPixmap downOwn_;
    QPixmap up_;
    QPixmap down_;
    bool pressed_ = false;
};

// The see-through surface over the page that takes the presses that drag the window.
class ManualDragSurface : public QWidget {
  public:
    explicit ManualDragSurface(TManualForm& form) : QWidget(&form), form_(form) {}

  protected:
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton)
            form_.sh_page_topMouseDown(event->position().toPoint());
    }
    void mouseMoveEvent(QMouseEvent* event) override {
        if (event->buttons() & Qt::LeftButton)
            form_.sh_page_topMouseMove(event->position().toPoint());
    }

  private:
    TManualForm& form_;
};

namespace {

constexpr int kMaxClientSide = 16384;

QImage toImage(const Picture& picture) {
    if (!picture || picture->width <= 0 || picture->height <= 0 ||
        picture->rgba.size() < static_cast<std::size_t>(picture->width) * picture->height * 4)
        return {};
    const QImage view(picture->rgba.data(), picture->width, picture->height, picture->width * 4,
                      QImage::Format_RGBA8888);
    return view.copy();
}

}  // namespace

TManualForm::TManualForm(int clientWidth, int clientHeight,
                         const std::array<Picture, kPageCount>& pages, QWidget* parent)
    // A dialog, so that window managers keep it with the device window it is transient for.
    : QWidget(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("TManualForm"));
    setWindowTitle(QStringLiteral("Manual"));
    setAttribute(Qt::WA_QuitOnClose, false);
    setFocusPolicy(Qt::StrongFocus);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);
    setAutoFillBackground(true);
    // The size comes from a file the user edits: a window needs at least a pixel, and one far
    // beyond any screen would only exhaust memory for its off-screen buffer.
    clientSize_ = QSize(std::clamp(clientWidth, 1, kMaxClientSide),
                        std::clamp(clientHeight, 1, kMaxClientSide));
    setFixedSize(clientSize_);

    for (int n = 0; n < kPageCount; ++n) im_page_[n] = toImage(pages[n]);

    sh_page_top = new ManualDragSurface(*this);
    sh_page_top->setObjectName(QStringLiteral("sh_page_top"));

    btn_left = new ManualButton(QStringLiteral(":/ui/manual_left_up.png"),
                                QStringLiteral(":/ui/manual_left_down.png"), this);
    btn_left->setObjectName(QStringLiteral("btn_left"));
    btn_left->onPress = [this] { Inp_left_down(); };
    btn_left->onRelease = [this] { Inp_left_up(); };
    btn_left->setBoth(false);

    btn_right = new ManualButton(QStringLiteral(":/ui/manual_right_up.png"),
                                 QStringLiteral(":/ui/manual_right_down.png"), this);
    btn_right->setObjectName(QStringLiteral("btn_right"));
    btn_right->onPress = [this] { Inp_right_down(); };
    btn_right->onRelease = [this] { Inp_right_up(); };
    btn_right->setBoth(true);

    btn_close = new ManualButton(QStringLiteral(":/ui/manual_close_up.png"),
                                 QStringLiteral(":/ui/manual_close_down.png"), this);
    btn_close->setObjectName(QStringLiteral("btn_close"));
    btn_close->onPress = [this] { Inp_esc_down(); };
    btn_close->onRelease = [this] { Inp_esc_up(); };
    btn_close->setBoth(true);
    setZoom(1.0);
}

void TManualForm::setZoom(double zoom) {
    if (zoom == zoom_ && sh_page_top->size() == size()) return;
    zoom_ = zoom;
    const auto zoomed = [zoom](int length) { return static_cast<int>(std::lround(length * zoom)); };
    const QSize size = zoom == 1.0 ? clientSize_
                                   : QSize(std::min(zoomed(clientSize_.width()), kMaxClientSide),
                                           std::min(zoomed(clientSize_.height()), kMaxClientSide));
    setFixedSize(size);
    sh_page_top->setGeometry(rect());
    for (ManualButton* button : {btn_left, btn_right, btn_close}) button->setZoom(zoom);
    const int margin = zoomed(kButtonMargin);
    const int right = width() - margin - btn_close->width();
    const int bottom = height() - margin - btn_left->height();
    btn_left->move(margin, bottom);
    btn_right->move(right, bottom);
    btn_close->move(right, margin);
    Vid_Show_Page();
}

bool TManualForm::isPictureShown(std::string_view name) const {
    const std::pair<std::string_view, const ManualButton*> buttons[] = {
        {"btn_left", btn_left}, {"btn_right", btn_right}, {"btn_close", btn_close}};
    for (const auto& [prefix, button] : buttons) {
        if (name.substr(0, prefix.size()) != prefix) continue;
        const std::string_view rest = name.substr(prefix.size());
        if (rest == "_up") return button->upShown;
        if (rest == "_down") return button->downShown;
    }
    return false;
}

void TManualForm::Vid_Show_Page() {
    // Scaled once per page shown, not at each paint.
    const QImage& page = im_page_[currentPage_ - 1];
    im_page_top_ =
        zoom_ == 1.0 || page.isNull()
            ? page
            : page.scaled(page.size() * zoom_, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (currentPage_ == 1) {
        btn_left->setBoth(false);
    } else if (currentPage_ == kPageCount) {
        btn_right->setBoth(false);
    } else {
        btn_left->setBoth(true);
        btn_right->setBoth(true);
    }
    update();
}

void TManualForm::Inp_left_down() {
    btn_left->upShown = false;
    btn_left->refresh();
}

void TManualForm::Inp_left_up() {
    // A release at the first page (the arrow is hidden there) changes nothing.
    if (currentPage_ <= 1) return;
    --currentPage_;
    Vid_Show_Page();
}

void TManualForm::Inp_right_down() {
    btn_right->upShown = false;
    btn_right->refresh();
}

void TManualForm::Inp_right_up() {
    if (currentPage_ >= kPageCount) return;
    ++currentPage_;
    Vid_Show_Page();
}

void TManualForm::Inp_esc_down() {
    btn_close->upShown = false;
    btn_close->refresh();
}

void TManualForm::Inp_esc_up() {
    btn_close->upShown = true;
    btn_close->refresh();
    hide();
}

void TManualForm::showEvent(QShowEvent* event) {
    if (!placed_) {
        // Centred once; later openings keep the place it was left at.
        placed_ = true;
        const QScreen* shown = screen() ? screen() : QGuiApplication::primaryScreen();
        QRect area = shown ? shown->geometry() : QRect();
        if (shell_) {
            const ScreenSize monitor = shell_->screenSize();
            area = QRect(monitor.left, monitor.top, monitor.width, monitor.height);
        }
        if (area.isValid())
            move(area.x() + (area.width() - width()) / 2,
                 area.y() + (area.height() - height()) / 2);
    }
    Vid_Show_Page();
    QWidget::showEvent(event);
}

void TManualForm::hideEvent(QHideEvent* event) {
    keysDown_.clear();
    QWidget::hideEvent(event);
}

void TManualForm::paintEvent(QPaintEvent*) {
    if (im_page_top_.isNull()) return;
    QPainter painter(this);
    painter.drawImage(0, 0, im_page_top_);
}

void TManualForm::keyPressEvent(QKeyEvent* event) {
    if (!FormKey(*event)) QWidget::keyPressEvent(event);
}

void TManualForm::keyReleaseEvent(QKeyEvent* event) {
    if (!FormKey(*event)) QWidget::keyReleaseEvent(event);
}

bool TManualForm::FormKey(const QKeyEvent& event) {
    // The desktop's repeat releases of a held key are dropped, so it turns one page.
    const std::optional<KeyStroke> stroke = keyStrokeOf(event);
    if (!stroke) return event.isAutoRepeat();
    if (stroke->code != VkEscape && stroke->code != VkLeft && stroke->code != VkRight) return false;
    if (stroke->down)
        keysDown_.insert(stroke->code);
    else if (keysDown_.erase(stroke->code) == 0)
        return true;
    // The bound is tested again on release: the press may have been at another page.
    switch (stroke->code) {
        case VkEscape:
            stroke->down ? Inp_esc_down() : Inp_esc_up();
            return true;
        case VkLeft:
            if (currentPage_ > 1) stroke->down ? Inp_left_down() : Inp_left_up();
            return true;
        case VkRight:
            if (currentPage_ < kPageCount) stroke->down ? Inp_right_down() : Inp_right_up();
            return true;
        default:
            return false;
    }
}

void TManualForm::sh_page_topMouseDown(QPoint at) {
    dragOrigin_ = at;
}

void TManualForm::sh_page_topMouseMove(QPoint at) {
    move(pos() + at - dragOrigin_);
}
