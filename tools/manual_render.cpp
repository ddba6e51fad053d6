// Typesets the twelve pages of the printed leaflet from assets/manual/manual.txt and writes them
// as 24-bit bitmaps 1.bmp ... 12.bmp, each exactly the manual viewer's page size.
//
//   manual_render <manual.txt> <device.svg> <folder>
#include <QFile>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QStringList>
#include <QSvgRenderer>
#include <QTextLayout>
#include <QTextStream>
#include <cstdio>
#include <vector>

#include "asset_images.h"

namespace {

constexpr int kPageWidth = 545;
constexpr int kPageHeight = 365;
constexpr int kPageCount = 12;
constexpr int kMargin = 26;
constexpr int kBodyTop = 52;
constexpr int kBodyBottom = kPageHeight - 30;
const QColor kInk(0x23, 0x26, 0x2c);
const QColor kRed(0xc8, 0x38, 0x1c);
const QColor kNavy(0x1d, 0x2a, 0x4a);

struct Page {
    QString title;
    QStringList lines;
};

[[noreturn]] void fail(const QString& message) {
    std::fprintf(stderr, "manual_render: %s\n", qPrintable(message));
    std::exit(1);
}

std::vector<Page> readPages(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) fail("cannot read " + path);
    QTextStream in(&file);
    std::vector<Page> pages;
    while (!in.atEnd()) {
        const QString line = in.readLine();
        if (line.startsWith("=== "))
            pages.push_back({line.mid(4).trimmed(), {}});
        else if (line.startsWith('#') && pages.empty())
            continue;  // notes before the first page
        else if (!pages.empty())
            pages.back().lines << line;
    }
    return pages;
}

QFont font(int pixels, bool bold = false, bool italic = false) {
    QFont f("DejaVu Sans");
    f.setPixelSize(pixels);
    f.setBold(bold);
    f.setItalic(italic);
    return f;
}

QImage devicePicture(QSvgRenderer& svg, const QString& state) {
    QStringList ids{"im_background_bottom"};
    if (state == "closed") {
        ids << "im_background_front"
            << "btn_open";
    } else {
        ids << "im_background_back"
            << "im_game_background"
            << "im_panel_game_a"
            << "im_panel_digit_3"
            << "im_panel_digit_4"
            << "im_item_1_2"
            << "im_item_2_5"
            << "im_item_3_4"
            << "im_flame_1_3"
            << "im_flame_2_6"
            << "im_hero_2_body"
            << "im_hero_2_hand_up"
            << "im_hero_2_leg_left_down"
            << "im_hero_2_leg_right_up"
            << "im_hero_2_base"
            << "im_character_2_1"
            << "im_background_screen_top";
    }
    QImage image(svg.defaultSize(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    for (const QString& id : ids) svg.render(&p, id, svg.boundsOnElement(id));
    return image;
}

// A view of the screen alone with the named segments lit, as on the real device. A word
// "im_panel_digit_N=D" shows glyph D in digit place N; "noscenery" leaves the scenery dark.
QImage screenPicture(QSvgRenderer& svg, const QStringList& segments) {
    const QRectF screen = svg.boundsOnElement("im_background_back");
    QImage image(screen.size().toSize(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(-screen.topLeft());
    QStringList ids{"im_background_back"};
    if (!segments.contains("noscenery")) ids << "im_game_background";
    ids << segments << "im_background_screen_top";
    ids.removeAll("noscenery");
    for (const QString& word : ids) {
        const QStringList parts = word.split('=');
        if (parts.size() == 2) {
            const QString glyph = "im_panel_number_" + parts[1];
            if (!svg.elementExists(parts[0]) || !svg.elementExists(glyph))
                fail("no element for " + word);
            svg.render(&p, glyph, svg.boundsOnElement(parts[0]));
            continue;
        }
        if (!svg.elementExists(word)) fail("no element " + word);
        svg.render(&p, word, svg.boundsOnElement(word));
    }
    p.end();
    return image;
}

// Lays out one paragraph at y; returns the y below it. Draws only when `draw` is set.
int paragraph(QPainter& p, const QString& text, int x, int y, int width, const QFont& f,
              bool draw) {
    QTextLayout layout(text, f);
    layout.beginLayout();
    const QFontMetrics fm(f);
    int lineY = y;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        line.setPosition(QPointF(0, lineY - y));
        lineY += fm.height() + 2;
    }
    layout.endLayout();
    if (draw) layout.draw(&p, QPointF(x, y));
    return lineY;
}

void drawKeyChart(QPainter& p, int& y) {
    const struct {
        const char* key;
        const char* button;
    } rows[] = {{"1", "GAME A: hold for the high score, release to play"},
                {"2", "GAME B: the same for game B"},
                {"3", "TIME: release for the clock, hold for the alarm time"},
                {"5", "ACL: opens the lid; later it resets the device"},
                {"\u2190", "LEFT: moves the juggler to the left"},
                {"\u2192", "RIGHT: moves the juggler to the right"}};
    for (const auto& row : rows) {
        const QRect cap(kMargin + 12, y, 26, 22);
        p.setPen(QPen(QColor(0x6b, 0x70, 0x78), 1));
        QLinearGradient g(cap.topLeft(), cap.bottomLeft());
        g.setColorAt(0, QColor(0xfb, 0xfb, 0xfb));
        g.setColorAt(1, QColor(0xd3, 0xd6, 0xda));
        p.setBrush(g);
        p.drawRoundedRect(cap, 4, 4);
        p.setPen(kInk);
        p.setFont(font(13, true));
        p.drawText(cap, Qt::AlignCenter, QString::fromUtf8(row.key));
        p.setFont(font(12));
        p.drawText(QRect(kMargin + 50, y, kPageWidth - kMargin * 2 - 50, 22),
                   Qt::AlignVCenter | Qt::AlignLeft, QString::fromUtf8(row.button));
        y += 27;
    }
    y += 4;
}

// Renders one page; returns false when its text does not fit.
bool renderPage(QImage& image, const Page& page, int number, QSvgRenderer& svg) {
    image.fill(QColor(0xf7, 0xf2, 0xe4));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    // paper: a faint fold shadow and a coloured edge like the printed leaflet
    QLinearGradient fold(0, 0, kPageWidth, 0);
    fold.setColorAt(0, QColor(0, 0, 0, 18));
    fold.setColorAt(0.06, QColor(0, 0, 0, 0));
    fold.setColorAt(0.94, QColor(0, 0, 0, 0));
    fold.setColorAt(1, QColor(0, 0, 0, 14));
    p.fillRect(image.rect(), fold);
    p.fillRect(0, 0, kPageWidth, 6, kRed);
    p.fillRect(0, 6, kPageWidth, 2, QColor(0xe0, 0xa3, 0x3a));

    const bool cover = page.lines.contains("@cover");
    if (!cover) {
        p.setPen(kNavy);
        p.setFont(font(19, true, true));
        p.drawText(QPoint(kMargin, 38), page.title);
        p.fillRect(kMargin, 44, kPageWidth - 2 * kMargin, 1, QColor(0xb9, 0xb2, 0xa0));
    }
    p.setPen(QColor(0x7a, 0x74, 0x68));
    p.setFont(font(9));
    p.fillRect(kMargin, kPageHeight - 22, kPageWidth - 2 * kMargin, 1, QColor(0xb9, 0xb2, 0xa0));
    p.drawText(QRect(kMargin, kPageHeight - 20, 300, 16), Qt::AlignLeft | Qt::AlignVCenter,
               "TORCHWHEEL TW-50  \u00b7  Instructions");
    p.drawText(QRect(kPageWidth - kMargin - 100, kPageHeight - 20, 100, 16),
               Qt::AlignRight | Qt::AlignVCenter, QString("%1 / %2").arg(number).arg(kPageCount));

    int y = cover ? 20 : kBodyTop + 6;
    const int width = kPageWidth - 2 * kMargin;
    QString pending;
    auto flush = [&] {
        if (pending.isEmpty()) return;
        p.setPen(kInk);
        y = paragraph(p, pending, kMargin, y, width, font(12), true) + 6;
        pending.clear();
    };
    int coverLine = 0;
    for (const QString& raw : page.lines) {
        const QString line = raw.trimmed();
        if (line == "@cover") {
            p.setPen(kRed);
            p.setFont(font(34, true, true));
            p.drawText(QRect(0, y, kPageWidth, 44), Qt::AlignCenter, page.title);
            y += 48;
            continue;
        }
        if (line.startsWith("@picture")) {
            flush();
            const QStringList parts = line.split(' ', Qt::SkipEmptyParts);
            const int height = parts.value(2).toInt();
            const QImage device =
                devicePicture(svg, parts.value(1)).scaledToHeight(height, Qt::SmoothTransformation);
            p.drawImage((kPageWidth - device.width()) / 2, y, device);
            y += height + 8;
            continue;
        }
        if (line.startsWith("@screen")) {
            flush();
            QStringList parts = line.split(' ', Qt::SkipEmptyParts);
            const int height = parts.value(1).toInt();
            parts.remove(0, 2);
            const QImage screen =
                screenPicture(svg, parts).scaledToHeight(height, Qt::SmoothTransformation);
            const int x = (kPageWidth - screen.width()) / 2;
            p.fillRect(x - 3, y - 3, screen.width() + 6, screen.height() + 6,
                       QColor(0x23, 0x27, 0x2c));
            p.drawImage(x, y, screen);
            y += height + 10;
            continue;
        }
        if (line == "@keys") {
            flush();
            drawKeyChart(p, y);
            continue;
        }
        if (cover && !line.isEmpty() && y < 120) {  // the subtitle lines under the cover title
            p.setPen(coverLine++ == 0 ? kNavy : QColor(0x5a, 0x60, 0x68));
            p.setFont(font(coverLine == 1 ? 14 : 11, coverLine == 1));
            p.drawText(QRect(0, y, kPageWidth, 18), Qt::AlignCenter, line);
            y += 20;
            continue;
        }
        if (line.startsWith("- ")) {
            flush();
            p.setPen(kRed);
            p.setBrush(kRed);
            p.drawEllipse(QPointF(kMargin + 6, y + 8), 2.6, 2.6);
            p.setPen(kInk);
            y = paragraph(p, line.mid(2), kMargin + 16, y, width - 16, font(12), true) + 3;
            continue;
        }
        if (line.isEmpty())
            flush();
        else
            pending += (pending.isEmpty() ? "" : " ") + line;
    }
    flush();
    return y <= kBodyBottom + 6;
}

}  // namespace

int main(int argc, char** argv) {
    useOffscreenPlatform();
    QGuiApplication app(argc, argv);
    if (argc != 4) fail("usage: manual_render <manual.txt> <device.svg> <folder>");
    const std::vector<Page> pages = readPages(QString::fromLocal8Bit(argv[1]));
    if (static_cast<int>(pages.size()) != kPageCount)
        fail(QString("the leaflet has %1 pages, not %2").arg(pages.size()).arg(kPageCount));
    QSvgRenderer svg(QString::fromLocal8Bit(argv[2]));
    if (!svg.isValid()) fail("cannot read the device drawing");
    const QString dir = QString::fromLocal8Bit(argv[3]);
    if (!ensureDir(dir)) fail("cannot create " + dir);
    for (int i = 0; i < kPageCount; ++i) {
        QImage image(kPageWidth, kPageHeight, QImage::Format_RGB32);
        if (!renderPage(image, pages[static_cast<std::size_t>(i)], i + 1, svg))
            fail(QString("the text of page %1 (%2) does not fit")
                     .arg(i + 1)
                     .arg(pages[static_cast<std::size_t>(i)].title));
        if (!writeBmp24(image, QString("%1/%2.bmp").arg(dir).arg(i + 1)))
            fail("cannot write a page");
    }
    return 0;
}
