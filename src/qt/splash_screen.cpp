#include "qt/splash_screen.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QPainter>

#include "core/input/virtual_keys.h"
#include "core/sound/sound_drivers.h"
#include "qt/author_info.h"
#include "qt/key_translation.h"
#include "qt/window_controls.h"

namespace {

// The entries' positions are the stored "SoundMode" values.
constexpr int kSoundChoiceCount = static_cast<int>(kSoundDrivers.size());

// Virtual-key codes of the keys the dialog answers.
constexpr std::uint16_t kVkMainRowOne = 49;

const QColor kLinkBlue(0x18, 0x52, 0x94);
const QColor kNavy(0x08, 0x29, 0x52);

// A check box that toggles on a click anywhere in its area, not only on its box and text.
class WideCheckBox : public QCheckBox {
  public:
    using QCheckBox::QCheckBox;

  protected:
    bool hitButton(const QPoint& at) const override { return rect().contains(at); }
    // Styles draw a check box's own background only sometimes; its band is painted here.
    void paintEvent(QPaintEvent* event) override {
        {
            QPainter painter(this);
            painter.fillRect(rect(), kNavy);
        }
        QCheckBox::paintEvent(event);
    }
};

}  // namespace

TSplashForm::TSplashForm(SettingsStore& settings, Shell& shell, SplashHost& host, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      settings_(settings),
      shell_(shell),
      host_(host) {
    setObjectName(QStringLiteral("TSplashForm"));
    setWindowTitle(QStringLiteral("About this game..."));
    setFixedSize(kClientWidth, kClientHeight);
    setAttribute(Qt::WA_QuitOnClose, false);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);
    setAutoFillBackground(true);

    im_background = new PictureBox(QStringLiteral(":/ui/splash_background.png"), false, this);
    im_background->setObjectName(QStringLiteral("im_background"));
    im_background->setGeometry(0, 0, 460, 420);
    im_box_picture = new PictureBox(QStringLiteral(":/ui/splash_box.png"), true, this);
    im_box_picture->setObjectName(QStringLiteral("im_box_picture"));
    im_box_picture->setGeometry(0, 56, 460, 160);

    const QFont regular = arialFont(12);
    const QFont bold = arialFont(12, true);
    const Qt::Alignment centre = Qt::AlignHCenter;
    makeLabel(QString(), {0, 12, 460, 15}, bold, Qt::white, centre, this)
        ->setObjectName(QStringLiteral("la_game_title"));
    makeLabel(QString(), {0, 28, 460, 15}, bold, Qt::white, centre, this)
        ->setObjectName(QStringLiteral("la_version"));
    makeLabel(QString(), {0, 236, 460, 15}, regular, Qt::black, centre, this)
        ->setObjectName(QStringLiteral("la_release_date"));
    makeLabel(QStringLiteral("website:"), {118, 259, 56, 15}, regular, Qt::black, Qt::AlignLeft,
              this)
        ->setObjectName(QStringLiteral("la_website_1"));
    makeLabel(QStringLiteral("email:"), {118, 282, 56, 15}, regular, Qt::black, Qt::AlignLeft, this)
        ->setObjectName(QStringLiteral("la_email_1"));
    makeLabel(QStringLiteral("Select sound driver:"), {98, 308, 116, 15}, regular, Qt::black,
              Qt::AlignLeft, this)
        ->setObjectName(QStringLiteral("la_sound_select"));

    auto* la_website_2 =
        new LinkLabel(QString::fromUtf8(author::kWebsiteShown), kLinkBlue, 12, this);
    la_website_2->setObjectName(QStringLiteral("la_website_2"));
    la_website_2->setGeometry(174, 259, 168, 15);
    la_website_2->onClick = [this] { shell_.openUrl(author::kWebsiteUrl); };
    auto* la_email_2 = new LinkLabel(QString::fromUtf8(author::kEmail), kLinkBlue, 12, this);
    la_email_2->setObjectName(QStringLiteral("la_email_2"));
    la_email_2->setGeometry(174, 282, 168, 15);
    la_email_2->onClick = [this] { shell_.openUrl(author::kEmailUrl); };

    cb_sound = new QComboBox(this);
    cb_sound->setObjectName(QStringLiteral("cb_sound"));
    cb_sound->setGeometry(217, 308, 144, 21);
    cb_sound->setEditable(false);
    cb_sound->setFont(regular);
    for (const SoundDriver& driver : kSoundDrivers)
        cb_sound->addItem(
            QString::fromUtf8(driver.text.data(), static_cast<int>(driver.text.size())));
    cb_sound->setMaxVisibleItems(kSoundChoiceCount);
    cb_sound->setCurrentIndex(-1);
    connect(cb_sound, &QComboBox::currentIndexChanged, this, [this] { cb_soundChange(); });

    btn_play = new PictureButton(QStringLiteral(":/ui/splash_play.png"), this);
    btn_play->setObjectName(QStringLiteral("btn_play"));
    btn_play->setGeometry(116, 340, 107, 30);
    btn_play->onClick = [this] {
        if (btn_play->isEnabled()) btn_playClick();
    };
    btn_play_disabled =
        new PictureBox(QStringLiteral(":/ui/splash_play_disabled.png"), false, this);
    btn_play_disabled->setObjectName(QStringLiteral("btn_play_disabled"));
    btn_play_disabled->setGeometry(116, 340, 107, 30);
    btn_play_disabled->setCursor(Qt::WhatsThisCursor);
    btn_play_disabled->setToolTip(QStringLiteral("please select sound driver first"));
    btn_play_disabled->hide();
    btn_paypal = new PictureButton(QStringLiteral(":/ui/splash_donate.png"), this);
    btn_paypal->setObjectName(QStringLiteral("btn_paypal"));
    btn_paypal->setGeometry(237, 340, 107, 30);
    btn_paypal->onClick = [this] { shell_.openUrl(author::kDonateUrl); };

    chb_splashscreen =
        new WideCheckBox(QStringLiteral("Display this splash screen at startup"), this);
    chb_splashscreen->setObjectName(QStringLiteral("chb_splashscreen"));
    chb_splashscreen->setGeometry(12, 391, 444, 17);
    chb_splashscreen->setFont(regular);
    QPalette boxPalette = chb_splashscreen->palette();
    boxPalette.setColor(QPalette::WindowText, Qt::white);
    chb_splashscreen->setPalette(boxPalette);
    chb_splashscreen->setChecked(true);

    setTabOrder(cb_sound, chb_splashscreen);
    // Key preview: the dialog sees every key before the focused control does.
    cb_sound->installEventFilter(this);
    chb_splashscreen->installEventFilter(this);
}

void TSplashForm::create() {
    findChild<QLabel*>(QStringLiteral("la_game_title"))
        ->setText(QStringLiteral("Torchwheel (Kestrova, Tickhand Wideglass) Simulator"));
    findChild<QLabel*>(QStringLiteral("la_version"))
        ->setText(QStringLiteral("Version 5.00 * Final *"));
    findChild<QLabel*>(QStringLiteral("la_release_date"))
        ->setText(QStringLiteral("Released by ") + QString::fromUtf8(author::kName) +
                  QStringLiteral(" on 4th December, 2017"));

    const int soundMode = settings_.ReadInteger("SoundMode", -1);
    {
        // The stored choice is not a user's change: the play state is computed below.
        const QSignalBlocker quiet(cb_sound);
        cb_sound->setCurrentIndex(soundMode >= 0 && soundMode < kSoundChoiceCount ? soundMode : -1);
    }
    chb_splashscreen->setChecked(settings_.ReadBool("SplashScreen", true));

    if (cb_sound->currentIndex() >= 0 && !chb_splashscreen->isChecked()) {
        // Auto-start. The dialog has already closed itself and stays hidden: showing it, even
        // off the screen, would let a window manager pull it back into view.
        move(-frameGeometry().width(), -frameGeometry().height());
        host_.clearSplashPending();
        btn_playClick();
        return;
    }
    centreOnScreen();
    cb_soundChange();
    // Showing a dialog makes it the active window, also on a desktop that activates nothing
    // by itself.
    show();
    raise();
    activateWindow();
}

bool TSplashForm::playEnabled() const {
    return btn_play->isEnabled();
}

void TSplashForm::cb_soundChange() {
    const bool enabled = !cb_sound->currentText().isEmpty();
    btn_play->setEnabled(enabled);
    btn_play->setVisible(enabled);
    btn_play_disabled->setVisible(!enabled);
}

void TSplashForm::btn_playClick() {
    // Opening the sound twice would load every sample again; the program may also be ending
    // after a failed attempt, when a second key press must not retry.
    if (playStarted_) return;
    playStarted_ = true;
    if (!host_.openSound(cb_sound->currentText().toStdString())) return;
    const bool showAtStartup = chb_splashscreen->isChecked();
    settings_.WriteBool("SplashScreen", showAtStartup);
    host_.setSplashMenuCheck(showAtStartup);
    host_.startSimulator();
    played_ = true;
    hide();
}

bool TSplashForm::FormKeyDown(const QKeyEvent& event) {
    const std::optional<KeyStroke> stroke = keyStrokeOf(event);
    if (!stroke || !stroke->down) return false;
    switch (stroke->code) {
        case VkReturn:
        case kVkMainRowOne:
            if (!btn_play->isEnabled()) return false;
            btn_playClick();
            return true;
        case VkEscape:
            shell_.requestQuit();
            return true;
        default:
            return false;
    }
}

bool TSplashForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && FormKeyDown(static_cast<QKeyEvent&>(*event)))
        return true;
    return QWidget::eventFilter(watched, event);
}

void TSplashForm::keyPressEvent(QKeyEvent* event) {
    if (!FormKeyDown(*event)) QWidget::keyPressEvent(event);
}

bool TSplashForm::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) cb_sound->setFocus(Qt::ActiveWindowFocusReason);
    return QWidget::event(event);
}

void TSplashForm::closeEvent(QCloseEvent* event) {
    // The dialog has no close button, but a desktop can still close it. Before play the device
    // window is off the screen, so staying alive without the dialog would leave nothing to use:
    // closing it then means the same as Esc.
    if (!played_) shell_.requestQuit();
    event->accept();
}

void TSplashForm::centreOnScreen() {
    const ScreenSize screen = shell_.screenSize();
    const QSize frame = frameGeometry().size();
    move(screen.left + (screen.width - frame.width()) / 2,
         screen.top + (screen.height - frame.height()) / 2);
}

bool TSplashForm::splashScreenChecked() const {
    return chb_splashscreen->isChecked();
}
