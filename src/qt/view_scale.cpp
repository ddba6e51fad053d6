#include "qt/view_scale.h"

#include <algorithm>
#include <cmath>

namespace {
// Positions the desktop reports in logical pixels are device pixels divided by its scale, a
// hair below the whole number at times.
constexpr double kSlack = 1e-6;
}  // namespace

bool ViewScale::whole() const {
    const double f = factor();
    return std::abs(f - std::round(f)) < kSlack;
}

int ViewScale::edge(int k) const {
    return static_cast<int>(std::floor(k * factor() + 0.5));
}

int ViewScale::unitAt(int d) const {
    // The last k whose edge is at or before d: first the estimate, then the exact test.
    int k = static_cast<int>(std::floor((d + 0.5) / factor()));
    while (edge(k) > d) --k;
    while (edge(k + 1) <= d) ++k;
    return k;
}

QRect ViewScale::deviceRect(const Rect& r) const {
    const int left = edge(r.left), top = edge(r.top);
    return QRect(left, top, edge(r.left + r.width) - left, edge(r.top + r.height) - top);
}

QRect ViewScale::logicalRect(const Rect& r) const {
    const QRect d = deviceRect(r);
    const int left = static_cast<int>(std::floor(d.left() / ratio));
    const int top = static_cast<int>(std::floor(d.top() / ratio));
    const int right = static_cast<int>(std::ceil((d.left() + d.width()) / ratio));
    const int bottom = static_cast<int>(std::ceil((d.top() + d.height()) / ratio));
    return QRect(left, top, right - left, bottom - top);
}

QRect ViewScale::deviceOfLogical(const QRect& r) const {
    const int left = static_cast<int>(std::floor(r.left() * ratio + kSlack));
    const int top = static_cast<int>(std::floor(r.top() * ratio + kSlack));
    const int right = static_cast<int>(std::ceil((r.left() + r.width()) * ratio - kSlack));
    const int bottom = static_cast<int>(std::ceil((r.top() + r.height()) * ratio - kSlack));
    return QRect(left, top, right - left, bottom - top);
}

QPoint ViewScale::skinPoint(double x, double y) const {
    return {unitAt(static_cast<int>(std::floor(x * ratio + kSlack))),
            unitAt(static_cast<int>(std::floor(y * ratio + kSlack)))};
}

QSize ViewScale::logicalSize(int width, int height) const {
    return {static_cast<int>(std::ceil(width * zoom - kSlack)),
            static_cast<int>(std::ceil(height * zoom - kSlack))};
}

QSize ViewScale::skinSize(QSize logical) const {
    return {static_cast<int>(std::ceil(logical.width() / zoom - kSlack)),
            static_cast<int>(std::ceil(logical.height() / zoom - kSlack))};
}

double fitZoom(QSize area, QSize game) {
    if (game.width() <= 0 || game.height() <= 0 || area.isEmpty()) return 1.0;
    return std::min(static_cast<double>(area.width()) / game.width(),
                    static_cast<double>(area.height()) / game.height());
}
