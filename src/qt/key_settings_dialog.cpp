#include "qt/key_settings_dialog.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

#include "core/input/key_choices.h"
#include "core/settings_store.h"

namespace {

const QColor kBackground(0x08, 0x29, 0x52);
const QColor kLabelNormal(0xFF, 0xFF, 0xFF);
const QColor kLabelDuplicate(0xFF, 0x00, 0x00);

struct RowPlace {
    QRect combo;
    QRect label;
    Qt::Alignment labelAlignment;
};

// Rows in binding order: the four main operations on the left, the game controls on the right.
const std::array<RowPlace, kBindingCount> kRowPlaces{{
    {{8, 29, 120, 21}, {136, 33, 72, 14}, Qt::AlignLeft},
    {{8, 61, 120, 21}, {136, 65, 72, 14}, Qt::AlignLeft},
    {{8, 93, 120, 21}, {136, 97, 72, 14}, Qt::AlignLeft},
    {{8, 125, 120, 21}, {136, 129, 72, 14}, Qt::AlignLeft},
    {{320, 29, 120, 21}, {240, 33, 72, 14}, Qt::AlignRight},
    {{320, 61, 120, 21}, {240, 65, 72, 14}, Qt::AlignRight},
}};

QFont labelFont(bool underline) {
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(11);
    f.setBold(true);
    f.setUnderline(underline);
    return f;
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, const QRect& place,
                  Qt::Alignment alignment, bool heading) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(place);
    label->setFont(labelFont(heading));
    label->setAlignment(alignment | Qt::AlignTop);
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, kLabelNormal);
    label->setPalette(p);
    return label;
}

}  // namespace

TKeysForm::TKeysForm(KeyBindings& bindings, SettingsStore& settings, KeySettingsHost& host)
    : QDialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      bindings_(bindings),
      settings_(settings),
      host_(host) {
    setWindowTitle(QStringLiteral("Key settings"));
    setFixedSize(448, 195);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, kBackground);
    setPalette(p);

    makeLabel(this, "la_main", QStringLiteral("Main operations"), {8, 8, 104, 13}, Qt::AlignLeft,
              true);
    makeLabel(this, "la_controls", QStringLiteral("Game controls"), {336, 8, 104, 13},
              Qt::AlignRight, true);

    QPalette comboPalette = p;
    for (QPalette::ColorRole role : {QPalette::Base, QPalette::Button, QPalette::Window})
        comboPalette.setColor(role, Qt::white);
    for (QPalette::ColorRole role : {QPalette::Text, QPalette::ButtonText, QPalette::WindowText})
        comboPalette.setColor(role, Qt::black);

    for (int i = 0; i < kBindingCount; ++i) {
        const std::string labelName = "la_" + std::to_string(i + 1);
        const std::string comboName = "cb_" + std::to_string(i + 1);
        labels_[i] = makeLabel(this, labelName.c_str(),
                               QString::fromUtf8(kBindingTable[i].label.data(),
                                                 static_cast<int>(kBindingTable[i].label.size())),
                               kRowPlaces[i].label, kRowPlaces[i].labelAlignment, false);
        auto* combo = new QComboBox(this);
        combo->setObjectName(QString::fromStdString(comboName));
        combo->setGeometry(kRowPlaces[i].combo);
        combo->setEditable(false);
        combo->setMaxVisibleItems(kKeyChoiceCount);
        combo->setPalette(comboPalette);
        // The lists are only 120 pixels wide: a compact face keeps "<RIGHT ARROW>" whole.
        QFont comboFont(QStringLiteral("Arial"));
        comboFont.setPixelSize(11);
        combo->setFont(comboFont);
        combo->installEventFilter(this);
        // The list's own window: each time it opens, the highlight is put on the box's entry.
        combo->view()->window()->installEventFilter(this);
        combos_[i] = combo;
    }

    btn_accept = new QPushButton(QStringLiteral("- ACCEPT -"), this);
    btn_accept->setObjectName(QStringLiteral("btn_accept"));
    btn_accept->setGeometry(183, 162, 82, 25);
    QFont bold = btn_accept->font();
    bold.setBold(true);
    btn_accept->setFont(bold);
    // The caption is in the desktop's own font: where that is larger than the layout was made
    // for (a dot density Qt does not scale for), the button grows around its centre instead of
    // cutting the caption, and the dialog with it.
    const QFontMetrics metrics(bold);
    const QSize needed =
        QSize(metrics.horizontalAdvance(btn_accept->text()) + 12, metrics.height() + 8)
            .expandedTo(btn_accept->size());
    btn_accept->setGeometry(
        QRect(QPoint(0, 0), needed)
            .translated(btn_accept->geometry().center() - QRect(QPoint(0, 0), needed).center()));
    setFixedSize(size().expandedTo(QSize(width(), btn_accept->geometry().bottom() + 9)));
    btn_accept->setCursor(Qt::PointingHandCursor);
    // Enter is ours (FormKeyDown); a default button would accept behind our back.
    btn_accept->setAutoDefault(false);
    btn_accept->setDefault(false);
    btn_accept->installEventFilter(this);
    connect(btn_accept, &QPushButton::clicked, this, [this] { btn_acceptClick(); });

    for (int i = 0; i + 1 < kBindingCount; ++i) setTabOrder(combos_[i], combos_[i + 1]);
    setTabOrder(combos_[kBindingCount - 1], btn_accept);

    FormCreate();
}

void TKeysForm::FormCreate() {
    // The list is defined once, on the first box, and copied to the others.
    QStringList entries;
    for (const KeyChoice& c : kKeyChoices)
        entries << QString::fromUtf8(c.listText.data(), static_cast<int>(c.listText.size()));
    combos_[0]->addItems(entries);
    for (int i = 1; i < kBindingCount; ++i) {
        for (int e = 0; e < combos_[0]->count(); ++e) combos_[i]->addItem(combos_[0]->itemText(e));
    }
    for (int n = 1; n <= kBindingCount; ++n) {
        const int choice = bindings_.binding(n).choice;
        // A stored choice that names no key shows as an empty box.
        combos_[n - 1]->setCurrentIndex(isKeyChoice(choice) ? choice - 1 : -1);
    }
    // Connected only now, so that the selections above do not each run the validation.
    for (QComboBox* combo : combos_)
        connect(combo, &QComboBox::currentIndexChanged, this, [this] { cbChange(); });
    cbChange();
}

void TKeysForm::openCentred(const QRect& monitor) {
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    const QRect area = monitor.isValid() || !screen ? monitor : screen->availableGeometry();
    if (area.isValid()) {
        QRect frame = frameGeometry();
        frame.moveCenter(area.center());
        move(frame.topLeft());
    }
    show();
    raise();
    activateWindow();
}

void TKeysForm::FormActivate() {
    combos_[0]->setFocus(Qt::ActiveWindowFocusReason);
}

void TKeysForm::setLabelColour(QLabel* label, bool red) {
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, red ? kLabelDuplicate : kLabelNormal);
    label->setPalette(p);
}

bool TKeysForm::CheckKeys() {
    for (QLabel* label : labels_) setLabelColour(label, false);
    bool duplicate = false;
    for (int j = 0; j < kBindingCount; ++j) {
        for (int k = 0; k < kBindingCount; ++k) {
            if (j == k || combos_[j]->currentText() != combos_[k]->currentText()) continue;
            setLabelColour(labels_[j], true);
            setLabelColour(labels_[k], true);
            duplicate = true;
        }
    }
    return duplicate;
}

bool TKeysForm::markRowsWithoutKey() {
    bool missing = false;
    for (int i = 0; i < kBindingCount; ++i) {
        if (combos_[i]->currentIndex() >= 0) continue;
        setLabelColour(labels_[i], true);
        missing = true;
    }
    return missing;
}

void TKeysForm::cbChange() {
    const bool duplicate = CheckKeys();
    const bool missing = markRowsWithoutKey();
    btn_accept->setEnabled(!duplicate && !missing);
}

void TKeysForm::btn_acceptClick() {
    // Enter reaches here only through FormKeyDown, which checks; a click only when enabled.
    if (!btn_accept->isEnabled()) return;
    for (int n = 1; n <= kBindingCount; ++n) {
        bindings_.setChoice(n, combos_[n - 1]->currentIndex() + 1);
        settings_.WriteInteger("Key" + std::to_string(n), bindings_.binding(n).choice);
        bindings_.AssignWord(n);
    }
    bindings_.AssignHints();
    host_.hintsChanged();
    host_.enableMainWindow();
    hide();
}

void TKeysForm::reject() {
    host_.enableMainWindow();
    hide();
}

bool TKeysForm::FormKeyDown(int key) {
    switch (key) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (btn_accept->isEnabled()) btn_acceptClick();
            return true;
        case Qt::Key_Escape:
            reject();
            return true;
        default:
            return false;
    }
}

bool TKeysForm::eventFilter(QObject* watched, QEvent* event) {
    // Qt 6.8 leaves the highlight of a list closed with Esc on the row last under the cursor,
    // and shows it there when the list reopens: a cancelled choice would look chosen.
    for (QComboBox* combo : combos_) {
        if (!combo || watched != combo->view()->window()) continue;
        if (event->type() == QEvent::Show) {
            const QModelIndex entry =
                combo->model()->index(combo->currentIndex(), combo->modelColumn());
            combo->view()->selectionModel()->setCurrentIndex(entry,
                                                             QItemSelectionModel::ClearAndSelect);
        }
        return QDialog::eventFilter(watched, event);
    }
    // Key preview: the controls would otherwise use Enter and Esc themselves or pass them to
    // QDialog, which accepts through a default button and rejects on its own terms.
    if (event->type() == QEvent::KeyPress && FormKeyDown(static_cast<QKeyEvent*>(event)->key()))
        return true;
    return QDialog::eventFilter(watched, event);
}

void TKeysForm::keyPressEvent(QKeyEvent* event) {
    if (!FormKeyDown(event->key())) QDialog::keyPressEvent(event);
}

void TKeysForm::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate();
    QDialog::changeEvent(event);
}
