#pragma once
// The key settings dialog: one list per device button, duplicates marked red, accept refused
// while two buttons share a key.
#include <QDialog>
#include <array>

#include "core/input/key_bindings.h"

class QComboBox;
class QLabel;
class QPushButton;
class SettingsStore;

// What the dialog needs from the main window.
class KeySettingsHost {
  public:
    virtual ~KeySettingsHost() = default;
    // The main window was disabled when the dialog opened; it takes input again.
    virtual void enableMainWindow() = 0;
    // The hints of the device buttons were rebuilt (KeyBindings::hint); show the new ones.
    virtual void hintsChanged() = 0;
};

class TKeysForm final : public QDialog {
    Q_OBJECT
  public:
    // Runs FormCreate: the lists show the bindings' choices as they are now, and only now.
    // A window of its own, without a parent: a child of the main window would be disabled
    // together with it while open, and could then never be left.
    TKeysForm(KeyBindings& bindings, SettingsStore& settings, KeySettingsHost& host);

    // Centres the dialog on the monitor (its own screen when none is given) and shows it; the
    // caller disables the main window.
    void openCentred(const QRect& monitor = {});

    void FormActivate();
    void cbChange();
    // Marks the rows whose shown key is also shown in another row; true when there is one.
    bool CheckKeys();
    void btn_acceptClick();

    // Leaving without accepting (Esc, or the window manager closing the window).
    void reject() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void FormCreate();
    // Enter and Esc, whichever control has the focus; true when the key was used.
    bool FormKeyDown(int key);
    // A row without a key cannot be accepted; its label turns red too. True when there is one.
    bool markRowsWithoutKey();
    void setLabelColour(QLabel* label, bool red);

    KeyBindings& bindings_;
    SettingsStore& settings_;
    KeySettingsHost& host_;
    std::array<QLabel*, kBindingCount> labels_{};
    std::array<QComboBox*, kBindingCount> combos_{};
    QPushButton* btn_accept = nullptr;
};
