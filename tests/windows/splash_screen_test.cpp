#include "qt/splash_screen.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QtTest/QTest>

#include "support/qstring_printer.h"
#include "support/recording_settings.h"
#include "support/recording_shell.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

// The main window's side, as a log of calls in the order they came.
class RecordingHost final : public SplashHost {
  public:
    bool openSound(const std::string& choiceText) override {
        calls.push_back("openSound " + choiceText);
        return openSucceeds;
    }
    void clearSplashPending() override { calls.push_back("clearSplashPending"); }
    void setSplashMenuCheck(bool checked) override {
        calls.push_back(checked ? "setSplashMenuCheck on" : "setSplashMenuCheck off");
    }
    void startSimulator() override { calls.push_back("startSimulator"); }

    bool openSucceeds = true;
    std::vector<std::string> calls;
};

class SplashScreenTest : public ::testing::Test {
  protected:
    // The dialog is made on demand, so each test can store settings before its creation.
    TSplashForm& createDialog() {
        form_ = std::make_unique<TSplashForm>(store, shell, host);
        form_->create();
        return *form_;
    }
    QComboBox& soundBox() { return *form_->findChild<QComboBox*>("cb_sound"); }
    QCheckBox& splashBox() { return *form_->findChild<QCheckBox*>("chb_splashscreen"); }
    QWidget& child(const char* name) { return *form_->findChild<QWidget*>(name); }
    bool playShown() { return !child("btn_play").isHidden(); }
    bool greyPlayShown() { return !child("btn_play_disabled").isHidden(); }

    RecordingSettings backend;
    SettingsStore store{backend};
    RecordingShell shell;
    RecordingHost host;

  private:
    std::unique_ptr<TSplashForm> form_;
};

// --- first run: nothing stored ---

TEST_F(SplashScreenTest, FirstRunShowsTheCentredDialogWithNoDriverAndTheGreyPlay) {
    TSplashForm& form = createDialog();
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.pos(), QPoint((1024 - 460) / 2, (768 - 420) / 2));
    EXPECT_EQ(soundBox().currentIndex(), -1);
    EXPECT_FALSE(form.playEnabled());
    EXPECT_FALSE(playShown());
    EXPECT_TRUE(greyPlayShown());
    EXPECT_EQ(child("btn_play_disabled").toolTip(), "please select sound driver first");
    EXPECT_TRUE(splashBox().isChecked());
    EXPECT_THAT(host.calls, IsEmpty());
}

TEST_F(SplashScreenTest, ActivationFocusesTheDriverListAndTabGoesToTheCheckBox) {
    TSplashForm& form = createDialog();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    EXPECT_EQ(QApplication::focusWidget(), &soundBox());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), &splashBox());
}

TEST_F(SplashScreenTest, EnterAndOneDoNothingWhilePlayIsDisabled) {
    createDialog();
    QTest::keyClick(&soundBox(), Qt::Key_Return);
    QTest::keyClick(&soundBox(), Qt::Key_Enter, Qt::KeypadModifier);
    QTest::keyClick(&splashBox(), Qt::Key_1);
    EXPECT_THAT(host.calls, IsEmpty());
    EXPECT_THAT(backend.values, IsEmpty());
}

TEST_F(SplashScreenTest, EscRequestsTheEndAndStoresNothing) {
    createDialog();
    soundBox().setCurrentIndex(1);
    QTest::keyClick(&splashBox(), Qt::Key_Escape);
    EXPECT_EQ(shell.quitRequests, 1);
    EXPECT_THAT(backend.values, IsEmpty());
    EXPECT_THAT(host.calls, IsEmpty());
}

TEST_F(SplashScreenTest, SelectingAnyEntryEnablesPlayAndLeavesTheCheckBoxAlone) {
    createDialog();
    splashBox().setChecked(false);
    for (int entry : {2, 0, 1}) {
        soundBox().setCurrentIndex(entry);
        EXPECT_TRUE(playShown()) << "entry " << entry;
        EXPECT_FALSE(greyPlayShown()) << "entry " << entry;
        EXPECT_FALSE(splashBox().isChecked()) << "entry " << entry;
    }
    EXPECT_THAT(soundBox().currentText().toStdString(), "Windows MultiMedia");
}

// --- stored choices ---

TEST_F(SplashScreenTest, StoredDriverWithTheDialogSwitchedOffStartsAtOnceUnseen) {
    backend.values = {{"SoundMode", "1"}, {"SplashScreen", "0"}};
    TSplashForm& form = createDialog();
    EXPECT_THAT(host.calls, ElementsAre("clearSplashPending", "openSound Windows MultiMedia",
                                        "setSplashMenuCheck off", "startSimulator"));
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.pos(), QPoint(-460, -420));
    EXPECT_EQ(backend.values["SplashScreen"], "0");
}

TEST_F(SplashScreenTest, StoredNoSoundIsPreselectedAndEnterStarts) {
    backend.values = {{"SoundMode", "2"}, {"SplashScreen", "1"}};
    TSplashForm& form = createDialog();
    ASSERT_TRUE(form.isVisible());
    EXPECT_EQ(soundBox().currentText(), "(no sound)");
    EXPECT_TRUE(playShown());
    EXPECT_FALSE(greyPlayShown());

    QTest::keyClick(&soundBox(), Qt::Key_Return);
    EXPECT_THAT(host.calls,
                ElementsAre("openSound (no sound)", "setSplashMenuCheck on", "startSimulator"));
    EXPECT_EQ(backend.values["SplashScreen"], "1");
    EXPECT_FALSE(form.isVisible());
}

TEST_F(SplashScreenTest, StoredModeOutsideTheListBehavesLikeNoChoice) {
    for (const char* stored : {"7", "3", "-2", "banana"}) {
        backend.values = {{"SoundMode", stored}, {"SplashScreen", "0"}};
        host.calls.clear();
        TSplashForm& form = createDialog();
        EXPECT_TRUE(form.isVisible()) << "SoundMode " << stored;
        EXPECT_EQ(soundBox().currentIndex(), -1) << "SoundMode " << stored;
        EXPECT_TRUE(greyPlayShown()) << "SoundMode " << stored;
        EXPECT_THAT(host.calls, IsEmpty()) << "SoundMode " << stored;
    }
}

// --- the play action ---

TEST_F(SplashScreenTest, UncheckingAndPlayingSwitchesTheDialogOff) {
    backend.values = {{"SoundMode", "0"}};
    createDialog();
    QTest::mouseClick(&splashBox(), Qt::LeftButton);
    ASSERT_FALSE(splashBox().isChecked());
    QTest::mouseClick(&child("btn_play"), Qt::LeftButton);
    EXPECT_EQ(backend.values["SplashScreen"], "0");
    EXPECT_THAT(host.calls, ElementsAre("openSound Microsoft DirectSound", "setSplashMenuCheck off",
                                        "startSimulator"));
}

TEST_F(SplashScreenTest, MainRowOneStartsWhateverTheShiftStateButTheKeypadOneDoesNot) {
    backend.values = {{"SoundMode", "1"}};
    const std::pair<Qt::Key, Qt::KeyboardModifiers> mainRowOnes[] = {
        {Qt::Key_1, Qt::NoModifier}, {Qt::Key_Exclam, Qt::ShiftModifier}};
    for (const auto& [key, modifiers] : mainRowOnes) {
        host.calls.clear();
        TSplashForm& form = createDialog();
        QTest::keyClick(&soundBox(), Qt::Key_1, Qt::KeypadModifier);
        EXPECT_THAT(host.calls, IsEmpty());
        QTest::keyClick(&soundBox(), key, modifiers);
        EXPECT_THAT(host.calls, ElementsAre("openSound Windows MultiMedia", "setSplashMenuCheck on",
                                            "startSimulator"));
        EXPECT_FALSE(form.isVisible());
    }
}

TEST_F(SplashScreenTest, FailedSoundOpeningStopsThePlayActionAndIsNotRetried) {
    host.openSucceeds = false;
    TSplashForm& form = createDialog();
    soundBox().setCurrentIndex(0);
    QTest::keyClick(&soundBox(), Qt::Key_Return);
    QTest::keyClick(&soundBox(), Qt::Key_Return);
    EXPECT_THAT(host.calls, ElementsAre("openSound Microsoft DirectSound"));
    EXPECT_EQ(backend.values.count("SplashScreen"), 0u);
    EXPECT_TRUE(form.isVisible());
}

TEST_F(SplashScreenTest, FailedSoundOpeningOnAutoStartNeverShowsTheDialog) {
    backend.values = {{"SoundMode", "2"}, {"SplashScreen", "0"}};
    host.openSucceeds = false;
    TSplashForm& form = createDialog();
    EXPECT_THAT(host.calls, ElementsAre("clearSplashPending", "openSound (no sound)"));
    EXPECT_FALSE(form.isVisible());
}

TEST_F(SplashScreenTest, ClickOnTheGreyPlayDoesNothing) {
    createDialog();
    QTest::mouseClick(&child("btn_play_disabled"), Qt::LeftButton);
    EXPECT_THAT(host.calls, IsEmpty());
}

// --- links and closing ---

TEST_F(SplashScreenTest, LinksOpenTheirTargetsAndTheDialogStays) {
    TSplashForm& form = createDialog();
    QTest::mouseClick(&child("la_website_2"), Qt::LeftButton);
    QTest::mouseClick(&child("la_email_2"), Qt::LeftButton);
    QTest::mouseClick(&child("btn_paypal"), Qt::LeftButton);
    QTest::mouseClick(&child("la_email_2"), Qt::RightButton);
    EXPECT_THAT(shell.urls, ElementsAre("https://example.org/sim/", "mailto:author@example.org",
                                        "https://example.org/donate"));
    EXPECT_TRUE(form.isVisible());
}

TEST_F(SplashScreenTest, DesktopCloseBeforePlayEndsTheProgramLikeEsc) {
    TSplashForm& form = createDialog();
    form.close();
    EXPECT_EQ(shell.quitRequests, 1);
    EXPECT_THAT(backend.values, IsEmpty());
}

}  // namespace
