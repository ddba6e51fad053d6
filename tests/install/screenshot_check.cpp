// Judges a screenshot of the device window against the picture the default skin should give.
//
//   screenshot_check <screenshot.png> <reference.png> <window-left> <window-top>
//
// The reference is the skin composed without the program (skin_preview); where it shows the key
// colour the window must be see-through. Exit status 0 when the window passes, 1 when it does
// not (with the reasons on stderr), 2 on bad arguments or unreadable pictures.
#include <QImage>
#include <QSet>
#include <QString>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr QRgb kKeyColour = 0xffff00ff;  // the default skin's TranspColor, $00ff00ff
constexpr QRgb kPlaceholderRed = 0xffff0000;
// The inside of the placeholder picture: 8 x 8 red on a see-through element, the same red
// framed by black on an opaque one.
constexpr int kPlaceholderInside = 8;
constexpr int kChannelTolerance = 32;        // scaling-free drawing, so only rounding differs
constexpr double kMaxMismatch = 0.02;        // share of device pixels that may differ
constexpr double kMaxKeyColourShown = 0.01;  // share of see-through pixels that may still show
constexpr int kMinColours = 32;              // a photograph-like device has thousands

bool samePixel(QRgb a, QRgb b) {
    return std::abs(qRed(a) - qRed(b)) <= kChannelTolerance &&
           std::abs(qGreen(a) - qGreen(b)) <= kChannelTolerance &&
           std::abs(qBlue(a) - qBlue(b)) <= kChannelTolerance;
}

// Top-left corner of the first block of pure placeholder red, or (-1, -1).
std::pair<int, int> findPlaceholder(const QImage& image) {
    const int w = image.width();
    // per column: how many rows in a row end here with a red run of at least the inside width
    std::vector<int> height(static_cast<size_t>(w), 0);
    for (int y = 0; y < image.height(); ++y) {
        int count = 0;
        for (int x = 0; x < w; ++x) {
            count = image.pixel(x, y) == kPlaceholderRed ? count + 1 : 0;
            int& h = height[static_cast<size_t>(x)];
            h = count >= kPlaceholderInside ? h + 1 : 0;
            if (h >= kPlaceholderInside)
                return {x - kPlaceholderInside + 1, y - kPlaceholderInside + 1};
        }
    }
    return {-1, -1};
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: screenshot_check <shot.png> <reference.png> <left> <top>\n");
        return 2;
    }
    const QImage shot =
        QImage(QString::fromLocal8Bit(argv[1])).convertToFormat(QImage::Format_RGB32);
    const QImage reference =
        QImage(QString::fromLocal8Bit(argv[2])).convertToFormat(QImage::Format_RGB32);
    if (shot.isNull() || reference.isNull()) {
        std::fprintf(stderr, "screenshot_check: cannot read %s or %s\n", argv[1], argv[2]);
        return 2;
    }
    const int left = std::atoi(argv[3]);
    const int top = std::atoi(argv[4]);
    if (left < 0 || top < 0 || left + reference.width() > shot.width() ||
        top + reference.height() > shot.height()) {
        std::fprintf(stderr, "the %dx%d window at (%d, %d) is not inside the %dx%d screen\n",
                     reference.width(), reference.height(), left, top, shot.width(), shot.height());
        return 1;
    }
    const QImage window = shot.copy(left, top, reference.width(), reference.height());

    QSet<QRgb> colours;
    long device = 0, mismatched = 0, seeThrough = 0, keyShown = 0;
    for (int y = 0; y < window.height(); ++y) {
        for (int x = 0; x < window.width(); ++x) {
            const QRgb expected = reference.pixel(x, y);
            const QRgb actual = window.pixel(x, y);
            if (expected == kKeyColour) {
                ++seeThrough;
                if (actual == kKeyColour) ++keyShown;
                continue;
            }
            ++device;
            colours.insert(actual);
            if (!samePixel(expected, actual)) ++mismatched;
        }
    }

    std::vector<std::string> faults;
    const auto say = [&faults](const std::string& s) { faults.push_back(s); };
    if (colours.size() < kMinColours)
        say("the window is blank: " + std::to_string(colours.size()) + " colours on the device");
    if (device == 0 || double(mismatched) / double(device) > kMaxMismatch)
        say(std::to_string(mismatched) + " of " + std::to_string(device) +
            " device pixels differ from the default skin");
    if (seeThrough > 0 && double(keyShown) / double(seeThrough) > kMaxKeyColourShown)
        say(std::to_string(keyShown) + " of " + std::to_string(seeThrough) +
            " pixels outside the outline show the key colour instead of the desktop");
    if (window.pixel(window.width() / 2, window.height() / 2) == kKeyColour)
        say("the centre of the window is the key colour");
    if (const auto [px, py] = findPlaceholder(window); px >= 0)
        say("a placeholder picture (missing file) at (" + std::to_string(px) + ", " +
            std::to_string(py) + ") in the window");

    std::fprintf(stderr,
                 "device pixels %ld, differing %ld, colours %lld; outside %ld, key shown %ld\n",
                 device, mismatched, static_cast<long long>(colours.size()), seeThrough, keyShown);
    for (const std::string& f : faults) std::fprintf(stderr, "FAULT: %s\n", f.c_str());
    return faults.empty() ? 0 : 1;
}
