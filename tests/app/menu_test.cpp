// The context menu's commands and shortcuts, and the game menu overlay of full-screen mode.
#include <gtest/gtest.h>

#include <SDL.h>
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTest>

#include "app_rig.h"
#include "platform/sdl_gamepads.h"
#include "qt/context_menu.h"
#include "qt/device_view.h"
#include "qt/game_menu_overlay.h"
#include "qt/lcd_look_menu.h"

namespace {

void startGame(AppRig& rig) {
    TForm1& w = *rig.window;
    w.startSimulator();
    w.game().Inp_open_down();
    w.game().Inp_game_a_down();
    w.game().Inp_game_a_up();
    rig.advance(3000);
}

// Sends a key through the window's shortcut handling first, as a real key press would go.
void pressKey(TForm1& w, Qt::Key key, Qt::KeyboardModifiers held = {}) {
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    QTest::keyClick(&w, key, held);
}

// --- Context menu ----------------------------------------------------------------------------

TEST(ContextMenu, HasItsItemsInOrderWithTheDefaultItemFirst) {
    AppRig rig;
    TForm1& w = rig.create(false);
    const std::array<const char*, 15> captions{"About...",
                                               "View 'Readme.txt'",
                                               "View 'Whatsnew.txt'",
                                               "View manual",
                                               "",
                                               "Edit configuration file",
                                               "Key settings",
                                               "Reset Hiscores",
                                               "",
                                               "Display in fullscreen mode",
                                               "Display splash screen at startup",
                                               "Zoom",
                                               "LCD look",
                                               "",
                                               "Exit"};
    for (int i = 0; i < 15; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(w.menu().item(i)->isSeparator(), captions[i][0] == '\0');
        if (captions[i][0]) {
            EXPECT_EQ(w.menu().item(i)->text().toStdString(), captions[i]);
        }
        EXPECT_TRUE(w.menu().item(i)->isEnabled());
    }
    EXPECT_EQ(w.menu().defaultAction(), w.menu().item("pm_1_about"));
    EXPECT_EQ(w.menu().item("pm_10_fullscreen")->shortcut(), QKeySequence(Qt::Key_F12));
    EXPECT_EQ(w.menu().item("pm_14_exit")->shortcut(), QKeySequence(Qt::Key_Escape));
}

TEST(ContextMenu, EscapeEndsTheProgramAtOnceEvenInAGame) {
    AppRig rig;
    TForm1& w = rig.create(false);
    startGame(rig);
    pressKey(w, Qt::Key_Escape);
    EXPECT_EQ(rig.shell.quitRequests, 1);
}

TEST(ContextMenu, ShortcutKeysWorkAlsoWhenTheWindowWasNeverActivated) {
    // Qt delivers keys to a window the desktop never activated, but not its shortcuts.
    AppRig rig;
    TForm1& w = rig.create(false);
    QKeyEvent f2(QEvent::KeyPress, Qt::Key_F2, Qt::NoModifier);
    QCoreApplication::sendEvent(&w, &f2);
    EXPECT_EQ(rig.shell.documents, std::vector<std::string>{"Readme.txt"});
}

TEST(ContextMenu, F12DuringAGameSwitchesThePresentationAndTheGameGoesOn) {
    AppRig rig;
    TForm1& w = rig.create(false);
    startGame(rig);
    pressKey(w, Qt::Key_F12);
    EXPECT_FALSE(w.FullscreenMode);
    EXPECT_FALSE(w.menu().item("pm_10_fullscreen")->isChecked());
    EXPECT_EQ(rig.stored("FullscreenMode"), "0");
    EXPECT_EQ(w.game().GameState, ModeGameA);
    EXPECT_TRUE(w.game().Timer_Game.enabled());
}

TEST(ContextMenu, ShortcutsAreThePlainKeysOnly) {
    AppRig rig;
    TForm1& w = rig.create(false);
    int chosen = 0;
    for (int i = 0; i < kMenuItemCount; ++i)
        QObject::connect(w.menu().item(i), &QAction::triggered, [&chosen] { ++chosen; });
    for (const Qt::Key key :
         {Qt::Key_F1, Qt::Key_F2, Qt::Key_F3, Qt::Key_F4, Qt::Key_F12, Qt::Key_Escape}) {
        for (const Qt::KeyboardModifier held :
             {Qt::ShiftModifier, Qt::ControlModifier, Qt::AltModifier}) {
            SCOPED_TRACE(QKeySequence(key | held).toString().toStdString());
            // Through the window's shortcuts, and as a key reaching a never-activated window.
            pressKey(w, key, held);
            QKeyEvent press(QEvent::KeyPress, key, held);
            QCoreApplication::sendEvent(&w, &press);
            EXPECT_EQ(chosen, 0);
        }
    }
}

TEST(ContextMenu, TogglingTheSplashItemTwiceLeavesTheStoredValue) {
    AppRig rig;
    rig.store.values = {{"SplashScreen", "0"}};
    TForm1& w = rig.create(false);
    w.commands().pm_0_menuPopup();
    EXPECT_FALSE(w.menu().item("pm_11_splashscreen")->isChecked());
    w.menu().item("pm_11_splashscreen")->trigger();
    EXPECT_EQ(rig.stored("SplashScreen"), "1");
    w.menu().item("pm_11_splashscreen")->trigger();
    EXPECT_EQ(rig.stored("SplashScreen"), "0");
}

TEST(ContextMenu, ResetHiscoresStoresZerosBeepsAndLeavesThePanel) {
    AppRig rig;
    rig.store.values = {{"HiScore1", "250"}, {"HiScore2", "40"}};
    TForm1& w = rig.create(false);
    w.startSimulator();
    w.game().Inp_open_down();
    w.game().Inp_game_a_down();  // holds GAME A: the high score 250 is on the panel
    const Picture shown = w.display().segment(seg("im_panel_digit_2")).picture;
    ASSERT_TRUE(shown);
    w.commands().pm_8_hiscoreClick();
    EXPECT_EQ(rig.stored("HiScore1"), "0");
    EXPECT_EQ(rig.stored("HiScore2"), "0");
    EXPECT_EQ(w.game().HiScore1, 0);
    EXPECT_EQ(rig.shell.beeps, 1);
    EXPECT_EQ(w.display().segment(seg("im_panel_digit_2")).picture, shown);
}

TEST(ContextMenu, DocumentsAreOpenedByBareNames) {
    AppRig rig;
    TForm1& w = rig.create(false);
    w.menu().item("pm_2_readme")->trigger();
    w.menu().item("pm_3_whatsnew")->trigger();
    w.menu().item("pm_6_config")->trigger();
    EXPECT_EQ(rig.shell.documents,
              (std::vector<std::string>{"Readme.txt", "Whatsnew.txt", "Config.ini"}));
}

TEST(ContextMenu, KeySettingsDisableTheWindowAndItsGamepadUntilTheDialogCloses) {
    AppRig rig;
    TForm1& w = rig.create(false, true);
    TKeysForm keys(w.bindings(), w.settings(), w);
    w.setKeySettingsDialog(&keys);
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    const int device = SdlGamepads::attachVirtualPad();
    SDL_Joystick* pad = SDL_JoystickOpen(device);
    ASSERT_NE(pad, nullptr) << SDL_GetError();
    w.gamepads()->poll();
    const auto press = [&](bool down) {
        SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_A, down);
        w.gamepads()->poll();
        return w.display().isVisible(seg("btn_game_a_down"));
    };
    EXPECT_TRUE(press(true));
    EXPECT_FALSE(press(false));

    w.commands().pm_7_keysClick();
    EXPECT_FALSE(w.isEnabled());
    EXPECT_TRUE(keys.isVisible());
    EXPECT_FALSE(press(true));
    press(false);
    // A click on the disabled device gives the keys back to the dialog, also where the
    // desktop did not make the device active first.
    QWidget elsewhere;
    elsewhere.show();
    elsewhere.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&elsewhere));
    QTest::mousePress(&w, Qt::LeftButton, {}, w.rect().center());
    EXPECT_TRUE(QTest::qWaitForWindowActive(&keys));
    QTest::mouseRelease(&w, Qt::LeftButton, {}, w.rect().center());
    w.enableMainWindow();
    EXPECT_TRUE(w.isEnabled());
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    EXPECT_TRUE(press(true));
    press(false);
    SDL_JoystickClose(pad);
    SDL_JoystickDetachVirtual(device);
}

// --- Game menu overlay -----------------------------------------------------------------------

std::vector<std::string> rowTexts(TForm1& w) {
    std::vector<std::string> texts;
    for (int i = 0; i < GameMenuOverlay::kRows; ++i)
        texts.push_back(w.gameMenu().row(i) ? w.gameMenu().row(i)->text().toStdString() : "<none>");
    return texts;
}

void clickMenuButton(TForm1& w) {
    QTest::mouseClick(&w.view(), Qt::LeftButton, {}, QPoint(10, 10));
}

TEST(GameMenu, OpensWithARowPerItemAndTheCheckMarks) {
    AppRig rig;
    TForm1& w = rig.create(false);
    w.startSimulator();
    clickMenuButton(w);
    ASSERT_TRUE(w.GameMenuOpen);
    EXPECT_EQ(w.display().segment(seg("btn_game_menu_background")).bounds, (Rect{0, 0, 256, 512}));
    const auto texts = rowTexts(w);
    EXPECT_EQ(texts[0], "   About...");
    EXPECT_EQ(texts[4], "");
    EXPECT_EQ(texts[8], "");
    EXPECT_EQ(texts[9], "   Display in fullscreen mode [V]");
    EXPECT_EQ(texts[11], "   Zoom");
    EXPECT_EQ(texts[12], "   LCD look");
    EXPECT_EQ(texts[13], "");
    EXPECT_EQ(texts[14], "   Exit");
    EXPECT_EQ(w.gameMenu().row(9)->geometry(), QRect(0, 320, 256, 32));
}

TEST(GameMenu, ClickingTheButtonTwiceFoldsItAgain) {
    AppRig rig;
    TForm1& w = rig.create(false);
    w.startSimulator();
    clickMenuButton(w);
    clickMenuButton(w);
    EXPECT_FALSE(w.GameMenuOpen);
    EXPECT_FALSE(w.gameMenu().isOpen());
    EXPECT_EQ(w.display().segment(seg("btn_game_menu_background")).bounds, (Rect{0, 0, 36, 32}));
}

TEST(GameMenu, ChoosingResetHiscoresRunsItAndCloses) {
    AppRig rig;
    rig.store.values = {{"HiScore1", "12"}};
    TForm1& w = rig.create(false);
    w.startSimulator();
    clickMenuButton(w);
    QTest::mouseClick(w.gameMenu().row(7), Qt::LeftButton, {}, QPoint(20, 16));
    EXPECT_EQ(rig.stored("HiScore1"), "0");
    EXPECT_EQ(rig.shell.beeps, 1);
    EXPECT_FALSE(w.GameMenuOpen);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(w.gameMenu().isOpen());
}

TEST(GameMenu, ExitPressedAndReleasedOutsideClosesWithoutExiting) {
    AppRig rig;
    TForm1& w = rig.create(false);
    w.startSimulator();
    clickMenuButton(w);
    GameMenuRow* exitRow = w.gameMenu().row(14);
    QTest::mousePress(exitRow, Qt::LeftButton, {}, QPoint(20, 16));
    QTest::mouseRelease(exitRow, Qt::LeftButton, {}, QPoint(20, 200));
    EXPECT_EQ(rig.shell.quitRequests, 0);
    EXPECT_FALSE(w.GameMenuOpen);
}

TEST(GameMenu, SwitchingToWindowModeFromTheOverlayLeavesNoRows) {
    AppRig rig;
    TForm1& w = rig.create(false);
    w.startSimulator();
    clickMenuButton(w);
    QTest::mouseClick(w.gameMenu().row(9), Qt::LeftButton, {}, QPoint(20, 16));
    EXPECT_FALSE(w.FullscreenMode);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(w.gameMenu().isOpen());
    EXPECT_FALSE(w.display().isVisible(seg("btn_game_menu_top")));
    EXPECT_TRUE(w.view().findChildren<GameMenuRow*>().isEmpty());
}

TEST(GameMenu, ItsLcdLookRowUnfoldsTheContextMenusChoicesWhichAreStoredAsChosen) {
    AppRig rig;
    TForm1& w = rig.create(false);
    w.startSimulator();
    LcdLookMenu& looks = w.menu().lcdLookMenu();
    EXPECT_EQ(w.menu().item("pm_12_lcdlook")->menu(), &looks);
    clickMenuButton(w);
    QTest::mouseClick(w.gameMenu().row(12), Qt::LeftButton, {}, QPoint(20, 16));
    ASSERT_TRUE(looks.isVisible());
    EXPECT_FALSE(w.GameMenuOpen);
    // "Plain" at first, and the contrasts mean nothing there.
    EXPECT_TRUE(looks.item("pm_12_plain")->isChecked());
    EXPECT_FALSE(looks.item("pm_12_unlit_10")->isEnabled());
    looks.item("pm_12_real")->trigger();
    EXPECT_EQ(rig.stored("LcdLook"), "1");
    EXPECT_EQ(rig.stored("LcdContrast"), "<none>");  // not chosen: it follows the skin
    looks.item("pm_12_unlit_20")->trigger();
    EXPECT_EQ(rig.stored("LcdContrast"), "20");
    looks.hide();
    looks.popup(QPoint(0, 0));
    EXPECT_TRUE(looks.item("pm_12_real")->isChecked());
    EXPECT_TRUE(looks.item("pm_12_unlit_20")->isChecked());
    EXPECT_TRUE(looks.item("pm_12_unlit_10")->isEnabled());
    looks.hide();
}

TEST(GameMenu, TheContextMenuPoppingUpClosesTheOverlay) {
    AppRig rig;
    TForm1& w = rig.create(false);
    w.startSimulator();
    clickMenuButton(w);
    w.commands().pm_0_menuPopup();
    EXPECT_FALSE(w.GameMenuOpen);
    EXPECT_EQ(w.display().segment(seg("btn_game_menu_background")).bounds.height, 32);
}

}  // namespace
