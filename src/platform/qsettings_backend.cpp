#include "platform/qsettings_backend.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>
#include <QVariant>
#include <algorithm>
#include <cstdio>

#include "platform/settings_salvage.h"

namespace {

constexpr const char* kOrganisation = "Velvane";
constexpr const char* kApplication = "Qzorvalt50";
constexpr int kWriterLockWaitMs = 3000;
// Locks are held for a few milliseconds; one much older than this was left by a killed writer.
constexpr int kAbandonedLockMs = 500;
// Our file holds eleven short values, a few hundred bytes. A far larger one has junk in it (a
// line appended, another program's file) and Qt would parse all of it on every look, so the
// first look takes our values out of it and replaces it with a file holding just those.
constexpr qint64 kMaxSettingsFileBytes = 64 * 1024;

using Values = SettingsValues;

bool oversized(const QString& file) {
    const QFileInfo info(file);
    return info.exists() && info.size() > kMaxSettingsFileBytes;
}

qint64 modifiedMs(const QString& file) {
    const QFileInfo info(file);
    return info.exists() ? info.lastModified().toMSecsSinceEpoch() : 0;
}

// QSettings decides whether another process changed the file by its size and modification time
// alone. File times advance in coarse ticks (several milliseconds), so two simulators writing
// within one tick could each keep a stale copy and overwrite the other's value. Giving every
// version our writers produce a strictly later time, in milliseconds, makes that check exact.
void stampLaterThan(const QString& file, qint64 previousMs) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) return;
    const qint64 stamp = std::max(QDateTime::currentMSecsSinceEpoch(), previousMs + 1);
    f.setFileTime(QDateTime::fromMSecsSinceEpoch(stamp), QFileDevice::FileModificationTime);
}

// A writer killed while it held QSettings' own lock leaves the lock file behind, and QSettings
// waits half a minute before it takes such a lock for stale. While we hold the writer lock none
// of our writers can own it, so an old one is cleared here instead.
void clearAbandonedLock(const QString& lockName) {
    if (!QFileInfo::exists(lockName)) return;
    QLockFile lock(lockName);
    lock.setStaleLockTime(kAbandonedLockMs);
    if (lock.tryLock(2 * kAbandonedLockMs)) lock.unlock();
}

// Takes the lock our writers share; null when it cannot be had (folder not writable, or another
// writer stuck).
std::unique_ptr<QLockFile> lockWriters(const QString& file) {
    QDir().mkpath(QFileInfo(file).absolutePath());
    auto lock = std::make_unique<QLockFile>(file + QStringLiteral(".writer.lock"));
    lock->setStaleLockTime(kAbandonedLockMs);
    if (!lock->tryLock(kWriterLockWaitMs)) return nullptr;
    clearAbandonedLock(file + QStringLiteral(".lock"));
    return lock;
}

// Our values out of a swollen file (settings_salvage.h).
Values salvageValues(const QString& file) {
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly)) return {};
    return salvageSettings([&in](char* into, std::size_t most) {
        return static_cast<std::ptrdiff_t>(in.read(into, static_cast<qint64>(most)));
    });
}

}  // namespace

QSettingsBackend::QSettingsBackend() = default;

QSettingsBackend::QSettingsBackend(const std::string& iniFile) : iniFile_(iniFile) {}

QSettingsBackend::~QSettingsBackend() = default;

std::unique_ptr<QSettings> QSettingsBackend::open() const {
    // Constructing QSettings reads the storage when it changed since this process last saw it.
    if (iniFile_.empty())
        return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                           kOrganisation, kApplication);
    return std::make_unique<QSettings>(QString::fromStdString(iniFile_), QSettings::IniFormat);
}

bool QSettingsBackend::fileBased() const {
#if defined(Q_OS_WIN) || defined(Q_OS_DARWIN)
    return !iniFile_.empty();
#else
    return true;
#endif
}

QString QSettingsBackend::file() const {
    if (!iniFile_.empty()) return QString::fromStdString(iniFile_);
    // Where Qt keeps the per-user store on XDG desktops, found without reading it.
    if (fileBased())
        return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
               QStringLiteral("/%1/%2.conf")
                   .arg(QLatin1String(kOrganisation), QLatin1String(kApplication));
    return open()->fileName();
}

std::string QSettingsBackend::location() const {
    return file().toStdString();
}

std::optional<std::string> QSettingsBackend::read(const std::string& name) {
    if (fileBased()) {
        // Compacted on the first look, so the player's values show at once and later looks (and
        // later starts) no longer pay for the junk.
        const QString file = this->file();
        if (oversized(file)) {
            const std::unique_ptr<QLockFile> writerLock = lockWriters(file);
            const qint64 previousMs = modifiedMs(file);
            // Another simulator may have compacted it while this one waited for the lock.
            if (oversized(file)) {
                const Values values = salvageValues(file);
                if (!writerLock || !replaceOversized(file, values)) {
                    // It cannot be replaced (read-only folder): the values still read.
                    const auto found = values.find(name);
                    if (found == values.end()) return std::nullopt;
                    return found->second;
                }
                stampLaterThan(file, previousMs);
            }
        }
    }
    const std::unique_ptr<QSettings> settings = open();
    settings->sync();
    // A damaged or unreadable file reads as far as Qt can parse it; whatever is not there is
    // missing, so the caller's default applies.
    const QVariant value = settings->value(QString::fromStdString(name));
    if (!value.isValid()) return std::nullopt;
    // Qt splits a text with commas into a list; join it back so that it reads as the text it was.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(',')).toStdString();
    if (!value.canConvert<QString>()) return std::nullopt;
    return value.toString().toStdString();
}

void QSettingsBackend::write(const std::string& name, const std::string& text) {
    const bool stamped = fileBased();
    const QString file = this->file();

    std::unique_ptr<QLockFile> writerLock;
    qint64 previousMs = 0;
    if (stamped) {
        // Without the lock the write still goes ahead under QSettings' own lock; only the time
        // stamp guarantee is lost.
        writerLock = lockWriters(file);
        previousMs = modifiedMs(file);
    }

    if (stamped && oversized(file)) {
        // Files are moved over each other only under the writer lock.
        Values values;
        if (writerLock) values = salvageValues(file);
        values[name] = text;
        lastWriteOk_ = writerLock && replaceOversized(file, values);
    } else {
        const std::unique_ptr<QSettings> settings = open();
        settings->setValue(QString::fromStdString(name), QString::fromStdString(text));
        settings->sync();
        // The status sticks to its first error, which may be a damaged file read before the
        // write; so a fresh look at the storage must also find the value that was written.
        const std::unique_ptr<QSettings> check = open();
        lastWriteOk_ = settings->status() != QSettings::AccessError &&
                       check->status() == QSettings::NoError &&
                       check->value(QString::fromStdString(name)).toString().toStdString() == text;
    }

    if (stamped && writerLock && lastWriteOk_) stampLaterThan(file, previousMs);
}

bool QSettingsBackend::replaceOversized(const QString& file, const Values& values) {
    // Written beside it and moved over it in one step, so a writer killed halfway leaves either
    // file whole.
    const QString fresh = file + QStringLiteral(".new");
    clearAbandonedLock(fresh + QStringLiteral(".lock"));
    QFile::remove(fresh);
    bool written = false;
    {
        QSettings settings(fresh, QSettings::IniFormat);
        for (const auto& [name, text] : values)
            settings.setValue(QString::fromStdString(name), QString::fromStdString(text));
        settings.sync();
        written = settings.status() == QSettings::NoError;
    }
    if (written &&
        std::rename(QFile::encodeName(fresh).constData(), QFile::encodeName(file).constData()) == 0)
        return true;
    // A half-written or unmoved file would lie beside the settings until the next compaction.
    QFile::remove(fresh);
    return false;
}
