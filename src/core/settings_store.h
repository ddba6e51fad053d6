#pragma once
// The per-user store of named values. Every value is text: integers in decimal, booleans "1"/"0".
// There is no cache: each write goes to the backend at once and each read asks the backend.
#include <optional>
#include <string>

class SettingsBackend {
  public:
    virtual ~SettingsBackend() = default;
    virtual std::optional<std::string> read(const std::string& name) = 0;
    virtual void write(const std::string& name, const std::string& text) = 0;
};

class SettingsStore {
  public:
    explicit SettingsStore(SettingsBackend& backend) : backend_(backend) {}

    int ReadInteger(const std::string& name, int defaultValue);
    bool ReadBool(const std::string& name, bool defaultValue);
    void WriteInteger(const std::string& name, int value);
    void WriteBool(const std::string& name, bool value);

    // Decimal, "$" hex or "0x"/"0X" hex, with an optional leading "-"; nothing else.
    static std::optional<int> parseInteger(const std::string& text);

  private:
    SettingsBackend& backend_;
};
