#pragma once
// The settings store's persistent storage: QSettings, organisation "Velvane", application
// "Qzorvalt50". On Windows that is the registry key HKCU\Software\Velvane\Qzorvalt50; elsewhere
// the file $XDG_CONFIG_HOME/Velvane/Qzorvalt50.conf (Qt keeps its top-level keys in [General]).
//
// Every read looks at the storage and every write reaches it at once. Each call uses its own
// QSettings object, so one failure does not stick to every later call. A settings file over
// 64 KiB is far beyond the few hundred bytes the values take: junk got into it. The first read or
// write scans it once, bounded, for the plain top-level values and replaces it with a file
// holding just those (and the value written), so the values survive and later starts never parse
// the junk.
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "core/settings_store.h"

class QSettings;
class QString;

class QSettingsBackend final : public SettingsBackend {
  public:
    // The per-user store.
    QSettingsBackend();
    // A store on one INI file (tests, portable installs).
    explicit QSettingsBackend(const std::string& iniFile);
    ~QSettingsBackend() override;

    std::optional<std::string> read(const std::string& name) override;
    // A write that cannot reach the storage fails quietly and is dropped, so later reads give
    // their defaults as they would for a store that cannot be opened. lastWriteOk() tells.
    void write(const std::string& name, const std::string& text) override;

    bool lastWriteOk() const { return lastWriteOk_; }
    // The file (or, on Windows, the registry path) that holds the values.
    std::string location() const;

  private:
    std::unique_ptr<QSettings> open() const;
    bool fileBased() const;
    QString file() const;
    // Under the writer lock: puts a file holding just these values in place of the file.
    bool replaceOversized(const QString& file, const std::map<std::string, std::string>& values);

    std::string iniFile_;  // empty: the per-user store
    bool lastWriteOk_ = true;
};
