#pragma once
// The start-up dialog: names the game, offers the author's links, lets the user choose the sound
// driver and hands over to the device window. With a stored driver and the dialog switched off it
// starts the simulator during its own creation and is never seen.
#include <QWidget>
#include <string>

#include "core/settings_store.h"
#include "core/shell.h"

class QCheckBox;
class QComboBox;
class PictureBox;
class PictureButton;

// What the splash screen needs from the main window.
class SplashHost {
  public:
    virtual ~SplashHost() = default;
    // Snd_Open with the chosen entry's text; false when the sound could not be opened.
    virtual bool openSound(const std::string& choiceText) = 0;
    virtual void clearSplashPending() = 0;
    virtual void setSplashMenuCheck(bool checked) = 0;
    // Centres the device window and applies ModeClosed.
    virtual void startSimulator() = 0;
};

class TSplashForm : public QWidget {
  public:
    static constexpr int kClientWidth = 460;
    static constexpr int kClientHeight = 420;

    TSplashForm(SettingsStore& settings, Shell& shell, SplashHost& host, QWidget* parent = nullptr);

    // The creation steps, run once by the main window at its place in the start-up order.
    void create();

    // The play action; runs at most once per run.
    void btn_playClick();
    bool playEnabled() const;
    // The state of chb_splashscreen (the context menu reads it as its default).
    bool splashScreenChecked() const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void cb_soundChange();
    // Returns whether the key was acted on.
    bool FormKeyDown(const QKeyEvent& event);
    void centreOnScreen();

    SettingsStore& settings_;
    Shell& shell_;
    SplashHost& host_;
    bool playStarted_ = false;
    bool played_ = false;

    PictureBox* im_background = nullptr;
    PictureBox* im_box_picture = nullptr;
    QComboBox* cb_sound = nullptr;
    PictureButton* btn_play = nullptr;
    PictureBox* btn_play_disabled = nullptr;
    PictureButton* btn_paypal = nullptr;
    QCheckBox* chb_splashscreen = nullptr;
};
