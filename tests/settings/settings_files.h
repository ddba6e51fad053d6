#pragma once
// Small helpers for tests that look at the settings file itself.
#include <QTemporaryDir>
#include <fstream>
#include <sstream>
#include <string>

inline std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

inline void writeFileText(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

// A fresh folder per test with the store file's name in it.
struct StoreFolder {
    QTemporaryDir dir;
    std::string path(const std::string& name = "Qzorvalt50.conf") const {
        return dir.filePath(QString::fromStdString(name)).toStdString();
    }
};
