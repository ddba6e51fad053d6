#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "input_rig.h"
#include "qt/key_settings_dialog.h"
#include "support/qstring_printer.h"

namespace {

class RecordingHost final : public KeySettingsHost {
  public:
    void enableMainWindow() override { ++enables; }
    void hintsChanged() override { ++hintUpdates; }
    int enables = 0;
    int hintUpdates = 0;
};

const QColor kWhite(0xFF, 0xFF, 0xFF);
const QColor kRed(0xFF, 0x00, 0x00);

class KeySettingsDialog : public ::testing::Test {
  protected:
    void SetUp() override { create(); }

    void create() {
        rig.bindings.load(rig.settings);
        storedAtCreation = rig.backend.values;
        dialog = std::make_unique<TKeysForm>(rig.bindings, rig.settings, host);
        dialog->show();
    }

    QComboBox* cb(int n) const {
        return dialog->findChild<QComboBox*>(QStringLiteral("cb_%1").arg(n));
    }
    QLabel* la(int n) const { return dialog->findChild<QLabel*>(QStringLiteral("la_%1").arg(n)); }
    QLabel* label(const char* name) const { return dialog->findChild<QLabel*>(name); }
    QPushButton* accept() const { return dialog->findChild<QPushButton*>("btn_accept"); }
    QColor colour(int n) const { return la(n)->palette().color(QPalette::WindowText); }

    void choose(int n, const QString& text) {
        const int index = cb(n)->findText(text);
        ASSERT_GE(index, 0) << text.toStdString();
        cb(n)->setCurrentIndex(index);
    }

    // Rows whose label is red, as a string of row numbers ("13").
    std::string redRows() const {
        std::string rows;
        for (int n = 1; n <= kBindingCount; ++n) {
            if (colour(n) == kRed)
                rows += std::to_string(n);
            else
                EXPECT_EQ(colour(n), kWhite) << "row " << n;
        }
        return rows;
    }

    InputRig rig;
    RecordingHost host;
    std::map<std::string, std::string> storedAtCreation;
    std::unique_ptr<TKeysForm> dialog;
};

TEST_F(KeySettingsDialog, LooksAsDesigned) {
    EXPECT_EQ(dialog->windowTitle(), "Key settings");
    EXPECT_EQ(dialog->size(), QSize(448, 195));
    EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize());
    const Qt::WindowFlags flags = dialog->windowFlags();
    EXPECT_TRUE(flags & Qt::CustomizeWindowHint);
    EXPECT_TRUE(flags & Qt::WindowTitleHint);
    EXPECT_FALSE(flags & (Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint |
                          Qt::WindowSystemMenuHint));
    EXPECT_EQ(dialog->palette().color(QPalette::Window), QColor(0x08, 0x29, 0x52));

    EXPECT_EQ(label("la_main")->text(), "Main operations");
    EXPECT_EQ(label("la_main")->geometry(), QRect(8, 8, 104, 13));
    EXPECT_TRUE(label("la_main")->font().underline());
    EXPECT_EQ(label("la_controls")->geometry(), QRect(336, 8, 104, 13));
    EXPECT_TRUE(label("la_controls")->alignment() & Qt::AlignRight);
    EXPECT_TRUE(label("la_controls")->font().bold());

    const char* texts[] = {"Game A", "Game B", "Time", "ACL", "Left", "Right"};
    for (int n = 1; n <= kBindingCount; ++n) {
        EXPECT_EQ(la(n)->text(), texts[n - 1]);
        EXPECT_TRUE(la(n)->font().bold()) << n;
        EXPECT_EQ(la(n)->font().family(), "Arial");
        EXPECT_EQ(cb(n)->count(), 44) << n;
        EXPECT_FALSE(cb(n)->isEditable());
        EXPECT_EQ(cb(n)->size(), QSize(120, 21));
        EXPECT_EQ(cb(n)->palette().color(QPalette::Base), QColor(Qt::white));
        EXPECT_EQ(cb(n)->palette().color(QPalette::Text), QColor(Qt::black));
    }
    EXPECT_EQ(cb(4)->pos(), QPoint(8, 125));
    EXPECT_EQ(la(4)->geometry(), QRect(136, 129, 72, 14));
    EXPECT_EQ(cb(6)->pos(), QPoint(320, 61));
    EXPECT_EQ(la(5)->geometry(), QRect(240, 33, 72, 14));
    EXPECT_TRUE(la(5)->alignment() & Qt::AlignRight);
    EXPECT_EQ(cb(1)->itemText(0), "0");
    EXPECT_EQ(cb(6)->itemText(10), "A");
    EXPECT_EQ(cb(3)->itemText(43), "<SPACEBAR>");

    EXPECT_EQ(accept()->text(), "- ACCEPT -");
    EXPECT_EQ(accept()->geometry(), QRect(183, 162, 82, 25));
    EXPECT_TRUE(accept()->font().bold());
    EXPECT_EQ(accept()->cursor().shape(), Qt::PointingHandCursor);

    // Tab stops in chain order, labels and other non-focusable widgets left out.
    std::vector<QWidget*> stops;
    QWidget* w = cb(1);
    do {
        if (w->focusPolicy() & Qt::TabFocus) stops.push_back(w);
        w = w->nextInFocusChain();
    } while (w != cb(1));
    const std::vector<QWidget*> expected{cb(1), cb(2), cb(3), cb(4), cb(5), cb(6), accept()};
    EXPECT_EQ(stops, expected);
}

TEST_F(KeySettingsDialog, DefaultBindingsOpenAllWhiteWithAcceptEnabled) {
    const char* shown[] = {"1", "2", "3", "5", "<LEFT ARROW>", "<RIGHT ARROW>"};
    for (int n = 1; n <= kBindingCount; ++n) EXPECT_EQ(cb(n)->currentText(), shown[n - 1]);
    EXPECT_EQ(redRows(), "");
    EXPECT_TRUE(accept()->isEnabled());
}

TEST_F(KeySettingsDialog, DuplicatesTurnRedAndBlockAcceptUntilResolved) {
    choose(3, "1");
    EXPECT_EQ(redRows(), "13");
    EXPECT_FALSE(accept()->isEnabled());
    choose(1, "9");
    EXPECT_EQ(redRows(), "");
    EXPECT_TRUE(accept()->isEnabled());

    choose(2, "<SPACEBAR>");
    choose(5, "<SPACEBAR>");
    choose(6, "<SPACEBAR>");
    EXPECT_EQ(redRows(), "256");
    EXPECT_FALSE(accept()->isEnabled());
    choose(5, "<LEFT ARROW>");
    EXPECT_EQ(redRows(), "26") << "the other two still share a key";
}

TEST_F(KeySettingsDialog, AcceptStoresTheChoicesAndTheGameUsesThemAtOnce) {
    choose(5, "A");
    QTest::mouseClick(accept(), Qt::LeftButton);

    EXPECT_EQ(rig.backend.values["Key5"], "11");
    EXPECT_EQ(rig.backend.values["Key1"], "2");
    EXPECT_EQ(rig.bindings.hint(seg("btn_left_top")), "click or press 'A'");
    EXPECT_EQ(host.hintUpdates, 1);
    EXPECT_EQ(host.enables, 1);
    EXPECT_FALSE(dialog->isVisible());

    rig.input.FormKeyDown(37);
    EXPECT_FALSE(rig.lit(seg("btn_left_down"))) << "the old key is no longer bound";
    rig.input.FormKeyDown('A');
    EXPECT_TRUE(rig.lit(seg("btn_left_down")));
    rig.input.FormKeyUp('A');
    EXPECT_FALSE(rig.lit(seg("btn_left_down")));
}

TEST_F(KeySettingsDialog, EnterAcceptsOnlyWhileAcceptIsEnabled) {
    choose(2, "1");
    QTest::keyClick(cb(2), Qt::Key_Return);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(rig.backend.values, storedAtCreation);
    EXPECT_EQ(host.enables, 0);

    choose(2, "Q");
    QTest::keyClick(cb(2), Qt::Key_Return);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(rig.backend.values["Key2"], "27");
    EXPECT_EQ(rig.bindings.binding(2).keyCode, 'Q');
    EXPECT_EQ(host.enables, 1);
}

TEST_F(KeySettingsDialog, EnterAndEscReachTheDialogWhateverHasTheFocus) {
    // After a list was opened and closed again, and on the accept button itself.
    cb(4)->showPopup();
    cb(4)->hidePopup();
    QTest::keyClick(cb(4), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(host.enables, 1);

    dialog->show();
    QTest::keyClick(accept(), Qt::Key_Escape, Qt::ShiftModifier);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(host.enables, 2);
    EXPECT_EQ(host.hintUpdates, 1) << "Esc rebuilds nothing";
}

TEST_F(KeySettingsDialog, AnOpenListKeepsEnterAndEscForItself) {
    cb(1)->showPopup();
    QTest::keyClick(cb(1)->view(), Qt::Key_Down);
    QTest::keyClick(cb(1)->view(), Qt::Key_Escape);
    EXPECT_TRUE(dialog->isVisible()) << "Esc closes only the list";
    cb(1)->showPopup();
    QTest::keyClick(cb(1)->view(), Qt::Key_Down);
    QTest::keyClick(cb(1)->view(), Qt::Key_Return);
    EXPECT_TRUE(dialog->isVisible()) << "Enter picks the entry and closes only the list";
    EXPECT_EQ(cb(1)->currentText(), "2");
    EXPECT_EQ(redRows(), "12");
    EXPECT_EQ(host.enables, 0);
    EXPECT_EQ(rig.backend.values, storedAtCreation);
}

TEST_F(KeySettingsDialog, EscKeepsTheBindingsButTheListsRememberTheChange) {
    choose(3, "Z");
    QTest::keyClick(cb(3), Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(host.enables, 1);
    EXPECT_EQ(host.hintUpdates, 0);
    EXPECT_EQ(rig.backend.values, storedAtCreation);
    EXPECT_EQ(rig.bindings.binding(3).keyCode, '3');
    EXPECT_EQ(rig.bindings.hint(seg("btn_time_top")).rfind("click or press '3' ", 0), 0u);

    dialog->openCentred();
    EXPECT_EQ(cb(3)->currentText(), "Z");
}

TEST_F(KeySettingsDialog, ClosedByTheWindowManagerItLeavesLikeEsc) {
    choose(1, "B");
    dialog->close();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(host.enables, 1) << "the main window must not stay disabled";
    EXPECT_EQ(rig.backend.values, storedAtCreation);
}

TEST_F(KeySettingsDialog, EachActivationPutsTheFocusOnTheFirstList) {
    dialog->hide();
    dialog->openCentred();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    EXPECT_EQ(QApplication::focusWidget(), cb(1));

    cb(5)->setFocus();
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    dialog->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    EXPECT_EQ(QApplication::focusWidget(), cb(1));
}

class KeySettingsDialogWithUnusableKeys : public KeySettingsDialog {
  protected:
    void SetUp() override {
        rig.backend.values = {{"Key2", "0"}, {"Key6", "45"}};
        create();
    }
};

TEST_F(KeySettingsDialogWithUnusableKeys, RowsWithoutAKeyShowEmptyAndMustBeChosen) {
    EXPECT_EQ(cb(2)->currentIndex(), -1);
    EXPECT_EQ(cb(2)->currentText(), "");
    EXPECT_EQ(cb(6)->currentText(), "");
    EXPECT_EQ(redRows(), "26");  // two empty rows count as the same key
    EXPECT_FALSE(accept()->isEnabled());

    choose(2, "2");
    EXPECT_EQ(redRows(), "6") << "a row without a key still blocks accepting";
    QTest::keyClick(cb(2), Qt::Key_Return);
    EXPECT_TRUE(dialog->isVisible());

    choose(6, "D");
    EXPECT_EQ(redRows(), "");
    QTest::mouseClick(accept(), Qt::LeftButton);
    EXPECT_EQ(rig.backend.values["Key2"], "3");
    EXPECT_EQ(rig.backend.values["Key6"], "14");
    EXPECT_EQ(rig.bindings.binding(6).keyCode, 'D');
}

}  // namespace
