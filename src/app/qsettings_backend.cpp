#include "app/qsettings_backend.h"

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

namespace {

constexpr const char* kOrganisation = "Velvane";
constexpr const char* kApplication = "Qzorvalt50";
constexpr int kWriterLockWaitMs = 3000;
// Locks are held for a few milliseconds; one much older than this was left by a killed writer.
constexpr int kAbandonedLockMs = 500;
// Our file holds eleven short values, a few hundred bytes. A far larger one was not written by
// us (junk appended, another program's file) and Qt would parse all of it on every look, so it
// is taken for a damaged file: it reads as empty, and the next write replaces it.
constexpr qint64 kMaxSettingsFileBytes = 64 * 1024;

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
    if (fileBased() && oversized(file())) return std::nullopt;
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
        QDir().mkpath(QFileInfo(file).absolutePath());
        writerLock = std::make_unique<QLockFile>(file + QStringLiteral(".writer.lock"));
        // Without the lock (folder not writable, or another writer stuck) the write still goes
        // ahead under QSettings' own lock; only the time stamp guarantee is lost.
        writerLock->setStaleLockTime(kAbandonedLockMs);
        if (!writerLock->tryLock(kWriterLockWaitMs)) writerLock.reset();
        if (writerLock) clearAbandonedLock(file + QStringLiteral(".lock"));
        previousMs = modifiedMs(file);
    }

    if (stamped && oversized(file)) {
        lastWriteOk_ = replaceOversized(file, name, text, writerLock != nullptr);
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

bool QSettingsBackend::replaceOversized(const QString& file, const std::string& name,
                                        const std::string& text, bool locked) {
    // Written beside it and moved over it in one step, so a writer killed halfway leaves either
    // file whole. Only under the writer lock: two writers must not move files over each other.
    if (!locked) return false;
    const QString fresh = file + QStringLiteral(".new");
    clearAbandonedLock(fresh + QStringLiteral(".lock"));
    QFile::remove(fresh);
    {
        QSettings settings(fresh, QSettings::IniFormat);
        settings.setValue(QString::fromStdString(name), QString::fromStdString(text));
        settings.sync();
        if (settings.status() != QSettings::NoError) return false;
    }
    return std::rename(QFile::encodeName(fresh).constData(), QFile::encodeName(file).constData()) ==
           0;
}
