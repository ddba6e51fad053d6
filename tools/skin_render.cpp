// Renders the default skin from its drawing: one picture per picture section, the backdrop and
// logo, and Config.ini with every section's place and size taken from the element bounds. The
// same pictures at twice the size go to Graphics/Skin2x, which Config.ini names as SkinDir2x
// for screens that show the skin at twice its size or more.
//
//   skin_render --device device.svg --backdrop backdrop.svg --out <program folder>
//   skin_render --device device.svg --test-skin <folder>
//
// The second form writes a skin with the same geometry in which every segment is a solid opaque
// picture of the colour given by test_skin_colours.h.
#include <QColor>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QSvgRenderer>
#include <QTextStream>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "asset_images.h"
#include "core/display/segment_catalogue.h"
#include "test_skin_colours.h"

namespace {

constexpr int kGameWidth = 780;
constexpr int kGameHeight = 480;
constexpr QRgb kBitmapKey = 0xffb7c1a9;  // same as KEY in make_device_svg.py

enum class Kind { Png, Bitmap, Jpeg };

// Mostly PNG with alpha; the printed scenery is a bitmap relying on its bottom-left colour key,
// the lid's latch plate is drawn whole.
Kind kindOf(std::string_view name) {
    if (name == "im_game_background") return Kind::Bitmap;
    if (name == "btn_open") return Kind::Jpeg;
    return Kind::Png;
}

const char* extensionOf(Kind kind) {
    switch (kind) {
        case Kind::Bitmap:
            return ".bmp";
        case Kind::Jpeg:
            return ".jpg";
        case Kind::Png:
            break;
    }
    return ".png";
}

struct Section {
    int number;
    QString name;
    QString file;
    QRect rect;
};

void fail(const QString& message) {
    std::fprintf(stderr, "skin_render: %s\n", qPrintable(message));
    std::exit(1);
}

void writeConfig(const QString& path, const std::vector<Section>& sections, bool withBackdrop) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
        fail("cannot write " + path);
    QTextStream out(&file);
    out << "; Torchwheel TW-50 - default skin.\n"
           "; Folders are written Windows-style; every picture section gives the file, the place\n"
           "; (Left, Top) and the size (Width, Height) of one element of the device window.\n\n";
    out << "[Common]\nSkinDir=Graphics\\Skin\\\n";
    if (withBackdrop)
        out << "; The same pictures at twice the size, for screens that show the skin at 200 %\n"
               "; or more.\nSkinDir2x=Graphics\\Skin2x\\\n";
    out << "GameWidth=" << kGameWidth << "\nGameHeight=" << kGameHeight << "\n\n";
    out << "[Fullscreen]\nBackdropDir=Graphics\\Backdrop\\\n";
    out << "BackdropFile=" << (withBackdrop ? "backdrop.jpg" : "nil") << "\nBackdropStretch=1\n";
    out << "BgColor=$00180c08\n";
    out << "LogoFile=" << (withBackdrop ? "logo.png" : "nil") << "\nLogoPosition=3\n";
    out << "GameOffsetX=Center\nGameOffsetY=Center\n\n";
    out << "[VideoMode]\nTranspColor=$00ff00ff\n\n";
    out << "; The LCD's look this skin suggests (\"Plain\" or \"Real\", and the contrast of the\n"
           "; unlit segments in percent); the player's own choice in the menu wins.\n";
    out << "[Lcd]\nLook=Plain\nUnlitContrast=10\n\n";
    out << "[Manual]\nManualDir=Graphics\\Manual\\\nManualWidth=545\nManualHeight=365\n";
    for (const Section& s : sections) {
        out << "\n[Image" << s.number << "]\nFilename=" << s.file << "\nLeft=" << s.rect.left()
            << "\nTop=" << s.rect.top() << "\nWidth=" << s.rect.width()
            << "\nHeight=" << s.rect.height() << "\n";
    }
}

QImage renderSegment(QSvgRenderer& svg, const QString& name, Kind kind, QRect& rect,
                     int scale = 1) {
    const QColor background =
        kind == Kind::Bitmap ? QColor::fromRgba(kBitmapKey) : QColor(Qt::transparent);
    QImage image = renderElement(svg, name, rect, background, scale);
    if (image.isNull()) fail("the drawing has no element " + name);
    if (kind == Kind::Bitmap && image.pixel(0, image.height() - 1) != kBitmapKey)
        fail(name + ": the bottom-left pixel of a bitmap segment must be the key colour");
    if (kind == Kind::Jpeg) {
        // drawn whole: flatten onto the lid colour so nothing relies on transparency
        QImage flat(image.size(), QImage::Format_RGB32);
        flat.fill(QColor(0x6d, 0x74, 0x7c));
        QPainter(&flat).drawImage(0, 0, image);
        image = flat;
    }
    if (name == "im_background_bottom") hardenAlpha(image);
    avoidKeyColour(image);
    return image;
}

bool save(const QImage& image, Kind kind, const QString& path) {
    switch (kind) {
        case Kind::Bitmap:
            return writeBmp24(image, path);
        case Kind::Jpeg:
            return writeJpeg(image, path);
        case Kind::Png:
            break;
    }
    return writePng(image, path);
}

void renderBackdrop(const QString& svgPath, const QString& dir) {
    QSvgRenderer svg(svgPath);
    if (!svg.isValid()) fail("cannot read " + svgPath);
    QImage backdrop = renderElementToSize(svg, "backdrop", QSize(1600, 1000));
    QImage logo = renderElementToSize(svg, "logo", QSize(224, 96));
    if (backdrop.isNull() || logo.isNull()) fail(svgPath + " needs elements backdrop and logo");
    avoidKeyColour(logo);
    if (!writeJpeg(backdrop, dir + "/backdrop.jpg", 88) || !writePng(logo, dir + "/logo.png"))
        fail("cannot write the backdrop pictures");
}

}  // namespace

int main(int argc, char** argv) {
    useOffscreenPlatform();
    QGuiApplication app(argc, argv);
    QString device, backdrop, out, testSkin;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string_view key = argv[i];
        const QString value = QString::fromLocal8Bit(argv[i + 1]);
        if (key == "--device")
            device = value;
        else if (key == "--backdrop")
            backdrop = value;
        else if (key == "--out")
            out = value;
        else if (key == "--test-skin")
            testSkin = value;
        else
            fail("unknown option " + QString::fromLocal8Bit(argv[i]));
    }
    if (device.isEmpty() || (out.isEmpty() == testSkin.isEmpty()))
        fail("usage: --device SVG (--backdrop SVG --out DIR | --test-skin DIR)");
    QSvgRenderer svg(device);
    if (!svg.isValid()) fail("cannot read " + device);

    const bool test = !testSkin.isEmpty();
    const QString root = test ? testSkin : out;
    const QString skinDir = root + "/Graphics/Skin";
    const QString sharpDir = root + "/Graphics/Skin2x";
    if (!ensureDir(skinDir) || (!test && !ensureDir(sharpDir))) fail("cannot create " + skinDir);

    std::vector<Section> sections;
    for (int n = 1; n <= kPictureSectionCount; ++n) {
        const SegmentId id = segmentOfSection(n);
        if (id < 0) fail(QString("no segment for section %1").arg(n));
        const QString name =
            QString::fromLatin1(kSegmentCatalogue[id].name.data(),
                                static_cast<qsizetype>(kSegmentCatalogue[id].name.size()));
        const Kind kind = test ? Kind::Png : kindOf(kSegmentCatalogue[id].name);
        QRect rect;
        QImage image = renderSegment(svg, name, test ? Kind::Png : kind, rect);
        if (test) {
            const TestSkinColour c = testSkinColour(id);
            image = QImage(rect.size(), QImage::Format_ARGB32);
            image.fill(QColor(c.r, c.g, c.b));
        }
        const QString file = name + extensionOf(kind);
        if (!save(image, kind, skinDir + "/" + file)) fail("cannot write " + file);
        QRect sharpRect;
        if (!test &&
            !save(renderSegment(svg, name, kind, sharpRect, 2), kind, sharpDir + "/" + file))
            fail("cannot write the sharp " + file);
        sections.push_back({n, name, file, rect});
    }
    if (!test) {
        if (backdrop.isEmpty()) fail("--backdrop is needed for the default skin");
        const QString backdropDir = root + "/Graphics/Backdrop";
        if (!ensureDir(backdropDir)) fail("cannot create " + backdropDir);
        renderBackdrop(backdrop, backdropDir);
    }
    writeConfig(root + "/Config.ini", sections, !test);
    return 0;
}
