#pragma once
// Small controls shared by the auxiliary windows: a picture loaded from the program's resources,
// a picture that acts as a button, and a text link.
#include <QLabel>
#include <QPixmap>
#include <QWidget>
#include <functional>

// Paints its picture unscaled, at the top-left corner or centred. A missing resource paints
// nothing, so the window still works before its artwork exists.
class PictureBox : public QWidget {
  public:
    PictureBox(const QString& resource, bool centred, QWidget* parent);
    bool hasPicture() const { return !pixmap_.isNull(); }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QPixmap pixmap_;
    bool centred_;
};

// A picture that runs its action on a left click (press and release over it).
class PictureButton : public PictureBox {
  public:
    PictureButton(const QString& resource, QWidget* parent);
    std::function<void()> onClick;

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    bool pressed_ = false;
};

// Underlined bold text with a hand cursor that runs its action on a left click.
class LinkLabel : public QLabel {
  public:
    LinkLabel(const QString& text, const QColor& colour, int pixelSize, QWidget* parent);
    std::function<void()> onClick;

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    bool pressed_ = false;
};

// The windows' type face: Arial at a pixel size.
QFont arialFont(int pixelSize, bool bold = false, bool italic = false);

// A plain text label at a fixed place with a font and colour; its background stays see-through.
QLabel* makeLabel(const QString& text, const QRect& geometry, const QFont& font,
                  const QColor& colour, Qt::Alignment alignment, QWidget* parent);
