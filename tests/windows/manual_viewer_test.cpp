#include "qt/manual_viewer.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QtTest/QTest>

namespace {

// A page filled with one colour whose red channel tells the page number.
Picture filledPage(int width, int height, int page) {
    auto data = std::make_shared<PictureData>();
    data->width = width;
    data->height = height;
    data->rgba.resize(static_cast<std::size_t>(width) * height * 4);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p = data->pixel(x, y);
            p[0] = static_cast<std::uint8_t>(page * 20);
            p[1] = 100;
            p[2] = 50;
            p[3] = 255;
        }
    return data;
}

// What the skin loader gives a missing page: 10 x 10 red inside a one-pixel black frame.
Picture placeholder() {
    auto data = std::make_shared<PictureData>();
    data->width = data->height = 10;
    data->rgba.resize(10 * 10 * 4);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) {
            const bool frame = x == 0 || y == 0 || x == 9 || y == 9;
            std::uint8_t* p = data->pixel(x, y);
            p[0] = frame ? 0 : 255;
            p[1] = p[2] = 0;
            p[3] = 255;
        }
    return data;
}

std::array<Picture, 12> fullPages(int width, int height) {
    std::array<Picture, 12> pages;
    for (int n = 0; n < 12; ++n) pages[n] = filledPage(width, height, n + 1);
    return pages;
}

class ManualViewerTest : public ::testing::Test {
  protected:
    void open(int width = 545, int height = 365, std::array<Picture, 12> pages = {}) {
        if (!pages[0]) pages = fullPages(width, height);
        form = std::make_unique<TManualForm>(width, height, pages);
        form->show();
    }
    QWidget& widget(const char* name) { return *form->findChild<QWidget*>(name); }
    void tap(Qt::Key key, int times = 1) {
        for (int i = 0; i < times; ++i) QTest::keyClick(form.get(), key);
    }
    int shownPage() { return form->grab().toImage().pixelColor(1, 1).red() / 20; }
    void sendMouse(QWidget& target, QEvent::Type type, QPoint at, Qt::MouseButton button,
                   Qt::MouseButtons held) {
        QMouseEvent event(type, QPointF(at), target.mapToGlobal(QPointF(at)), button, held,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(&target, &event);
    }

    std::unique_ptr<TManualForm> form;
};

// --- pages and arrows ---

TEST_F(ManualViewerTest, FirstOpeningShowsPageOneWithoutTheBackArrow) {
    open();
    EXPECT_EQ(form->currentPage(), 1);
    EXPECT_EQ(shownPage(), 1);
    EXPECT_FALSE(form->isPictureShown("btn_left_up"));
    EXPECT_FALSE(form->isPictureShown("btn_left_down"));
    EXPECT_TRUE(form->isPictureShown("btn_right_up"));
    EXPECT_TRUE(form->isPictureShown("btn_close_up"));
    EXPECT_TRUE(widget("btn_left").isHidden());
}

TEST_F(ManualViewerTest, ElevenRightArrowsReachTheLastPageWhereForwardDisappears) {
    open();
    tap(Qt::Key_Right, 11);
    EXPECT_EQ(form->currentPage(), 12);
    EXPECT_EQ(shownPage(), 12);
    EXPECT_FALSE(form->isPictureShown("btn_right_up"));
    EXPECT_FALSE(form->isPictureShown("btn_right_down"));
    EXPECT_TRUE(form->isPictureShown("btn_left_up"));
    tap(Qt::Key_Right, 3);
    EXPECT_EQ(form->currentPage(), 12);
    tap(Qt::Key_Left);
    EXPECT_EQ(form->currentPage(), 11);
    EXPECT_TRUE(form->isPictureShown("btn_right_up"));
}

TEST_F(ManualViewerTest, LeftArrowAtTheFirstPageDoesNothing) {
    open();
    tap(Qt::Key_Left, 2);
    EXPECT_EQ(form->currentPage(), 1);
    EXPECT_FALSE(form->isPictureShown("btn_left_up"));
}

TEST_F(ManualViewerTest, HeldRightArrowTurnsOnePageWhenReleased) {
    open();
    QTest::keyPress(form.get(), Qt::Key_Right);
    // A held key repeats; the desktop pairs each repeat with a release marked as a repeat.
    for (int i = 0; i < 5; ++i) {
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Right, Qt::NoModifier, QString(), true);
        QCoreApplication::sendEvent(form.get(), &release);
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier, QString(), true);
        QCoreApplication::sendEvent(form.get(), &press);
    }
    EXPECT_EQ(form->currentPage(), 1);
    EXPECT_FALSE(form->isPictureShown("btn_right_up"));
    EXPECT_TRUE(form->isPictureShown("btn_right_down"));
    QTest::keyRelease(form.get(), Qt::Key_Right);
    EXPECT_EQ(form->currentPage(), 2);
    EXPECT_TRUE(form->isPictureShown("btn_right_up"));
}

TEST_F(ManualViewerTest, ReleaseOfAKeyPressedInAnotherWindowIsNoCommand) {
    // Esc pressed in the about box above the viewer closes that box; its release comes here.
    open();
    QTest::keyRelease(form.get(), Qt::Key_Escape);
    QTest::keyRelease(form.get(), Qt::Key_Right);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->currentPage(), 1);
}

TEST_F(ManualViewerTest, ClosingKeepsThePageForTheNextOpening) {
    open();
    tap(Qt::Key_Right, 6);
    tap(Qt::Key_Escape);
    EXPECT_FALSE(form->isVisible());
    form->show();
    EXPECT_EQ(form->currentPage(), 7);
    EXPECT_EQ(shownPage(), 7);
    EXPECT_TRUE(form->isPictureShown("btn_close_up"));
}

TEST_F(ManualViewerTest, MissingPageShowsThePlaceholderOnWhite) {
    std::array<Picture, 12> pages = fullPages(545, 365);
    pages[4] = placeholder();
    open(545, 365, pages);
    tap(Qt::Key_Right, 4);
    const QImage shot = form->grab().toImage();
    EXPECT_EQ(shot.pixelColor(0, 0), QColor(Qt::black));
    EXPECT_EQ(shot.pixelColor(9, 9), QColor(Qt::black));
    EXPECT_EQ(shot.pixelColor(5, 5), QColor(Qt::red));
    EXPECT_EQ(shot.pixelColor(10, 10), QColor(Qt::white));
    EXPECT_EQ(shot.pixelColor(300, 200), QColor(Qt::white));
}

TEST_F(ManualViewerTest, LargerPageIsCutAtTheWindowEdges) {
    open(545, 365, fullPages(700, 500));
    const QImage shot = form->grab().toImage();
    EXPECT_EQ(shot.size(), QSize(545, 365));
    EXPECT_EQ(shot.pixelColor(544, 200).red() / 20, 1);
}

// --- on-page buttons ---

TEST_F(ManualViewerTest, ButtonsSitFourPixelsFromTheEdgesOfALargerWindow) {
    open(800, 600);
    EXPECT_EQ(form->size(), QSize(800, 600));
    EXPECT_EQ(widget("btn_left").geometry(), QRect(4, 600 - 4 - 14, 16, 14));
    EXPECT_EQ(widget("btn_right").geometry(), QRect(800 - 4 - 16, 600 - 4 - 14, 16, 14));
    EXPECT_EQ(widget("btn_close").geometry(), QRect(800 - 4 - 16, 4, 16, 14));
}

TEST_F(ManualViewerTest, ArrowTurnsThePageOnReleaseEvenOutsideAndDoesNotDrag) {
    open();
    const QPoint start = form->pos();
    QWidget& forward = widget("btn_right");
    sendMouse(forward, QEvent::MouseButtonPress, {8, 7}, Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(form->currentPage(), 1);
    EXPECT_TRUE(form->isPictureShown("btn_right_down"));
    EXPECT_FALSE(form->isPictureShown("btn_right_up"));
    sendMouse(forward, QEvent::MouseMove, {-60, -40}, Qt::NoButton, Qt::LeftButton);
    sendMouse(forward, QEvent::MouseButtonRelease, {-60, -40}, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(form->currentPage(), 2);
    EXPECT_EQ(form->pos(), start);

    QTest::mouseClick(&widget("btn_left"), Qt::LeftButton);
    EXPECT_EQ(form->currentPage(), 1);
    QTest::mouseClick(&forward, Qt::RightButton);
    EXPECT_EQ(form->currentPage(), 1);
}

TEST_F(ManualViewerTest, CloseButtonShowsItsPressedLookThenHides) {
    open();
    QWidget& close = widget("btn_close");
    sendMouse(close, QEvent::MouseButtonPress, {8, 7}, Qt::LeftButton, Qt::LeftButton);
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(form->isPictureShown("btn_close_up"));
    sendMouse(close, QEvent::MouseButtonRelease, {8, 7}, Qt::LeftButton, Qt::NoButton);
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(form->isPictureShown("btn_close_up"));
}

// --- place on the screen ---

TEST_F(ManualViewerTest, FirstOpeningIsCentredAndADraggedPlaceSurvivesClosing) {
    open();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QPoint centred(screen.x() + (screen.width() - 545) / 2,
                         screen.y() + (screen.height() - 365) / 2);
    EXPECT_EQ(form->pos(), centred);

    QWidget& page = widget("sh_page_top");
    sendMouse(page, QEvent::MouseButtonPress, {100, 100}, Qt::LeftButton, Qt::LeftButton);
    sendMouse(page, QEvent::MouseMove, {130, 120}, Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(form->pos(), centred + QPoint(30, 20));
    // The window has followed the pointer, so the same spot is again under it.
    sendMouse(page, QEvent::MouseMove, {110, 90}, Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(form->pos(), centred + QPoint(40, 10));
    sendMouse(page, QEvent::MouseButtonRelease, {100, 100}, Qt::LeftButton, Qt::NoButton);
    sendMouse(page, QEvent::MouseMove, {200, 200}, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(form->pos(), centred + QPoint(40, 10));

    tap(Qt::Key_Escape);
    form->show();
    EXPECT_EQ(form->pos(), centred + QPoint(40, 10));
}

}  // namespace
