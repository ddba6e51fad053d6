#include "qt/about_box.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QtTest/QTest>

#include "support/recording_shell.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

class AboutBoxTest : public ::testing::Test {
  protected:
    QWidget& child(const char* name) { return *form.findChild<QWidget*>(name); }

    RecordingShell shell;
    TAboutForm form{shell};
};

TEST_F(AboutBoxTest, EscClosesAndTheNextOpeningKeepsThePlace) {
    form.show();
    const QSize outer = form.frameGeometry().size();
    EXPECT_EQ(form.pos(), QPoint((1024 - outer.width()) / 2, (768 - outer.height()) / 2));
    form.move(40, 50);
    QTest::keyClick(&form, Qt::Key_A);
    EXPECT_TRUE(form.isVisible());
    QTest::keyClick(&form, Qt::Key_Escape);
    EXPECT_FALSE(form.isVisible());
    form.show();
    EXPECT_EQ(form.pos(), QPoint(40, 50));
    EXPECT_THAT(shell.urls, IsEmpty());
}

TEST_F(AboutBoxTest, LinksOpenTheirTargetAndCloseTheBox) {
    form.show();
    QTest::mouseClick(&child("la_website_2"), Qt::LeftButton);
    EXPECT_FALSE(form.isVisible());
    form.show();
    QTest::mouseClick(&child("la_email_2"), Qt::RightButton);
    EXPECT_TRUE(form.isVisible());
    QTest::mouseClick(&child("la_email_2"), Qt::LeftButton);
    EXPECT_FALSE(form.isVisible());
    EXPECT_THAT(shell.urls, ElementsAre("https://example.org/sim/", "mailto:author@example.org"));
}

}  // namespace
