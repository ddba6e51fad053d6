#include "qt/game_menu_overlay.h"

#include <QAction>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>
#include <cstring>

namespace {
int zoomed(int length, double zoom) {
    return static_cast<int>(std::lround(length * zoom));
}
}  // namespace

GameMenuRow::GameMenuRow(QWidget* parent, int index, double zoom) : QLabel(parent) {
    setObjectName(QStringLiteral("la_menu_item_%1").arg(index + 1));
    const int top = zoomed(GameMenuOverlay::kRowHeight * (index + 1), zoom);
    const int bottom = zoomed(GameMenuOverlay::kRowHeight * (index + 2), zoom);
    setGeometry(0, top, zoomed(GameMenuOverlay::kWidth, zoom), bottom - top);
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setAttribute(Qt::WA_TranslucentBackground);
    setAutoFillBackground(false);
}

void GameMenuRow::enterEvent(QEnterEvent* event) {
    hovered_ = true;
    update();
    QLabel::enterEvent(event);
}

void GameMenuRow::leaveEvent(QEvent* event) {
    hovered_ = false;
    update();
    QLabel::leaveEvent(event);
}

void GameMenuRow::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) pressed_ = true;
    if (event->button() == Qt::RightButton && onRightPress)
        onRightPress(event->globalPosition().toPoint());
    event->accept();
}

void GameMenuRow::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const bool click = pressed_ && rect().contains(event->position().toPoint());
    pressed_ = false;
    // The click comes first and runs the command with the menu still open; the release then
    // closes the menu.
    if (click && onClick) onClick();
    if (onLeftRelease) onLeftRelease();
}

void GameMenuRow::paintEvent(QPaintEvent* event) {
    if (hovered_ && isEnabled() && !text().isEmpty()) {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::black);
    }
    QLabel::paintEvent(event);
}

void GameMenuOverlay::open(const std::array<QAction*, kRows>& items,
                           const std::function<void(int)>& run, const std::function<void()>& close,
                           const std::function<void(QPoint)>& contextMenu, double zoom) {
    if (isOpen()) return;
    for (int i = 0; i < kRows; ++i) {
        auto* row = new GameMenuRow(&host_, i, zoom);  // owned by the host window
        rows_[i] = row;
        QAction* item = items[i];
        if (!item || item->isSeparator()) {
            // A separator keeps its place as an empty, inert row.
            row->setAttribute(Qt::WA_TransparentForMouseEvents);
            row->show();
            continue;
        }
        QFont font("Arial");
        font.setPixelSize(zoomed(16, zoom));
        row->setFont(font);
        QPalette palette = row->palette();
        palette.setColor(QPalette::WindowText, Qt::white);
        palette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(128, 128, 128));
        row->setPalette(palette);
        QString text = QStringLiteral("   ") + item->text();
        if (item->isChecked()) text += QStringLiteral(" [V]");
        row->setText(text);
        row->setCursor(Qt::PointingHandCursor);
        row->setEnabled(item->isEnabled());
        if (item->isEnabled()) {
            row->onClick = [run, i] { run(i); };
            row->onLeftRelease = close;
            row->onRightPress = contextMenu;
        }
        row->show();
        row->raise();
    }
}

void GameMenuOverlay::close() {
    for (auto& row : rows_) {
        if (row) {
            row->hide();
            row->deleteLater();
        }
        row = nullptr;
    }
}

bool GameMenuOverlay::isOpen() const {
    for (const auto& row : rows_)
        if (row) return true;
    return false;
}

Picture GameMenuOverlay::panelPicture() {
    QImage image(QStringLiteral(":/ui/game_menu_panel.png"));
    if (image.isNull()) return nullptr;
    image = image.convertToFormat(QImage::Format_RGBA8888);
    auto data = std::make_shared<PictureData>();
    data->width = image.width();
    data->height = image.height();
    data->rgba.resize(static_cast<std::size_t>(data->width) * data->height * 4);
    for (int y = 0; y < data->height; ++y)
        std::memcpy(data->pixel(0, y), image.constScanLine(y),
                    static_cast<std::size_t>(data->width) * 4);
    return data;
}
