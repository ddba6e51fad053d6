#include "qt/window_controls.h"

#include <QMouseEvent>
#include <QPainter>

PictureBox::PictureBox(const QString& resource, bool centred, QWidget* parent)
    : QWidget(parent), pixmap_(resource), centred_(centred) {}

void PictureBox::paintEvent(QPaintEvent*) {
    if (pixmap_.isNull()) return;
    QPainter painter(this);
    QPoint at(0, 0);
    if (centred_) at = QPoint((width() - pixmap_.width()) / 2, (height() - pixmap_.height()) / 2);
    painter.drawPixmap(at, pixmap_);
}

PictureButton::PictureButton(const QString& resource, QWidget* parent)
    : PictureBox(resource, false, parent) {
    setCursor(Qt::PointingHandCursor);
}

void PictureButton::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
}

void PictureButton::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressed_ = false;
    if (click && onClick) onClick();
}

QFont arialFont(int pixelSize, bool bold, bool italic) {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

QLabel* makeLabel(const QString& text, const QRect& geometry, const QFont& font,
                  const QColor& colour, Qt::Alignment alignment, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(geometry);
    label->setFont(font);
    label->setAlignment(alignment | Qt::AlignTop);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    label->setTextFormat(Qt::PlainText);
    // Type faces differ by a pixel or two from the one the layout was made with: a left-aligned
    // text grows its label to the right rather than losing its last letters.
    const int needed = label->fontMetrics().horizontalAdvance(text);
    if (alignment.testFlag(Qt::AlignLeft) && needed > geometry.width())
        label->resize(needed, geometry.height());
    return label;
}

LinkLabel::LinkLabel(const QString& text, const QColor& colour, int pixelSize, QWidget* parent)
    : QLabel(text, parent) {
    QFont font = arialFont(pixelSize, true);
    font.setUnderline(true);
    setFont(font);
    QPalette palette = this->palette();
    palette.setColor(QPalette::WindowText, colour);
    setPalette(palette);
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setCursor(Qt::PointingHandCursor);
}

void LinkLabel::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressed_ = false;
    if (click && onClick) onClick();
}
