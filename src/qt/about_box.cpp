#include "qt/about_box.h"

#include <QKeyEvent>

#include "core/input/virtual_keys.h"
#include "qt/author_info.h"
#include "qt/key_translation.h"
#include "qt/window_controls.h"

namespace {

struct AboutLine {
    const char* name;
    const char* caption;
    int captionWidth;
    const char* value;
    int valueWidth;
    bool italic;
};

// Rows 24 pixels apart from y 8; captions at x 132, values at x 212.
constexpr AboutLine kLines[] = {
    {"name", "Name:", 72, author::kName, 147, false},
    {"birthplace", "Birthplace:", 72, "Corriston Bay", 101, false},
    {"birthdate", "Birth date:", 72, "9th May, 1979", 101, false},
    {"job", "Occupation:", 72, "Software engineer", 133, false},
    {"hobby", "Hobby:", 34, "Kite flying", 93, true},
};

constexpr int kCaptionLeft = 132;
constexpr int kValueLeft = 212;
constexpr int kFirstTop = 8;
constexpr int kRowStep = 24;
constexpr int kRowHeight = 14;

}  // namespace

TAboutForm::TAboutForm(Shell& shell, QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint),
      shell_(shell) {
    setObjectName(QStringLiteral("TAboutForm"));
    setWindowTitle(QStringLiteral("About the author..."));
    setFixedSize(kClientWidth, kClientHeight);
    setAttribute(Qt::WA_QuitOnClose, false);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(0x08, 0x29, 0x52));
    setPalette(palette);
    setAutoFillBackground(true);

    auto* im_picture = new PictureBox(QStringLiteral(":/ui/about_portrait.png"), false, this);
    im_picture->setObjectName(QStringLiteral("im_picture"));
    im_picture->setGeometry(8, 8, 116, 160);

    const QFont captionFont = arialFont(11);
    int top = kFirstTop;
    for (const AboutLine& line : kLines) {
        const QString base = QStringLiteral("la_") + QString::fromUtf8(line.name);
        makeLabel(QString::fromUtf8(line.caption),
                  {kCaptionLeft, top, line.captionWidth, kRowHeight}, captionFont, Qt::white,
                  Qt::AlignLeft, this)
            ->setObjectName(base + QStringLiteral("_1"));
        makeLabel(QString::fromUtf8(line.value), {kValueLeft, top, line.valueWidth, kRowHeight},
                  arialFont(11, true, line.italic), Qt::white, Qt::AlignLeft, this)
            ->setObjectName(base + QStringLiteral("_2"));
        top += kRowStep;
    }

    makeLabel(QStringLiteral("Website:"), {kCaptionLeft, 128, 42, kRowHeight}, captionFont,
              Qt::white, Qt::AlignLeft, this)
        ->setObjectName(QStringLiteral("la_website_1"));
    makeLabel(QStringLiteral("Email:"), {kCaptionLeft, 152, 27, kRowHeight}, captionFont, Qt::white,
              Qt::AlignLeft, this)
        ->setObjectName(QStringLiteral("la_email_1"));

    auto* la_website_2 =
        new LinkLabel(QString::fromUtf8(author::kWebsiteShown), Qt::yellow, 12, this);
    la_website_2->setObjectName(QStringLiteral("la_website_2"));
    la_website_2->setGeometry(kValueLeft, 128, 168, 15);
    la_website_2->onClick = [this] { la_website_2Click(); };
    auto* la_email_2 = new LinkLabel(QString::fromUtf8(author::kEmail), Qt::yellow, 12, this);
    la_email_2->setObjectName(QStringLiteral("la_email_2"));
    la_email_2->setGeometry(kValueLeft, 152, 168, 15);
    la_email_2->onClick = [this] { la_email_2Click(); };
}

void TAboutForm::la_website_2Click() {
    shell_.openUrl(author::kWebsiteUrl);
    close();
}

void TAboutForm::la_email_2Click() {
    shell_.openUrl(author::kEmailUrl);
    close();
}

void TAboutForm::showEvent(QShowEvent* event) {
    if (!placed_) {
        // Centred once; later openings keep the place it was left at.
        placed_ = true;
        const ScreenSize screen = shell_.screenSize();
        const QSize frame = frameGeometry().size();
        move(screen.left + (screen.width - frame.width()) / 2,
             screen.top + (screen.height - frame.height()) / 2);
    }
    QWidget::showEvent(event);
}

void TAboutForm::keyPressEvent(QKeyEvent* event) {
    const std::optional<KeyStroke> stroke = keyStrokeOf(*event);
    if (stroke && stroke->code == VkEscape)
        close();
    else
        QWidget::keyPressEvent(event);
}
