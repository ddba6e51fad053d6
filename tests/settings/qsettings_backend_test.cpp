// The settings store on real QSettings files: first run, stored texts, bad texts, damaged files,
// unwritable folders and two stores on one file.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QFileInfo>
#include <cstdlib>
#include <filesystem>
#include <random>

#include "core/settings_store.h"
#include "platform/qsettings_backend.h"
#include "settings_files.h"

using ::testing::HasSubstr;
using ::testing::Not;

namespace {

class SettingsFileTest : public ::testing::Test {
  protected:
    StoreFolder folder;
    std::string file = folder.path();
    QSettingsBackend backend{file};
    SettingsStore store{backend};
};

// --- first run --------------------------------------------------------------------------------

TEST_F(SettingsFileTest, CleanStoreGivesTheCallersDefaultsAndReadsWriteNothing) {
    EXPECT_TRUE(store.ReadBool("FullscreenMode", true));
    EXPECT_TRUE(store.ReadBool("SplashScreen", true));
    EXPECT_EQ(store.ReadInteger("SoundMode", -1), -1);
    const int keyDefaults[] = {2, 3, 4, 6, 39, 40};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(store.ReadInteger("Key" + std::to_string(i + 1), keyDefaults[i]), keyDefaults[i]);
    EXPECT_EQ(store.ReadInteger("HiScore1", 0), 0);
    EXPECT_EQ(store.ReadInteger("HiScore2", 0), 0);
    EXPECT_FALSE(std::filesystem::exists(file)) << "a read created the store file";
}

TEST_F(SettingsFileTest, KeyWriteBackLeavesExactlyTheSixKeyValues) {
    const int keyDefaults[] = {2, 3, 4, 6, 39, 40};
    for (int i = 0; i < 6; ++i) {
        const std::string name = "Key" + std::to_string(i + 1);
        store.WriteInteger(name, store.ReadInteger(name, keyDefaults[i]));
    }
    EXPECT_EQ(fileText(file), "[General]\nKey1=2\nKey2=3\nKey3=4\nKey4=6\nKey5=39\nKey6=40\n");
}

TEST(SettingsLocation, PerUserStoreLivesInXdgConfigHome) {
    StoreFolder config;
    // Qt settles its paths once per process, so the per-user store is looked at in a child.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        setenv("XDG_CONFIG_HOME", config.dir.path().toLocal8Bit().constData(), 1);
        QSettingsBackend perUser;
        SettingsStore s(perUser);
        s.WriteInteger("SoundMode", 2);
        const bool ok = perUser.lastWriteOk() &&
                        perUser.location() == config.path("Velvane/Qzorvalt50.conf") &&
                        s.ReadInteger("SoundMode", -1) == 2;
        _exit(ok ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(fileText(config.path("Velvane/Qzorvalt50.conf")), "[General]\nSoundMode=2\n");
}

// --- stored texts -----------------------------------------------------------------------------

TEST_F(SettingsFileTest, ValuesAreStoredAsDecimalTextAndOneOrZero) {
    store.WriteInteger("SoundMode", -1);
    store.WriteBool("SplashScreen", true);
    store.WriteBool("FullscreenMode", false);
    store.WriteInteger("HiScore1", 999);
    EXPECT_TRUE(backend.lastWriteOk());
    const std::string text = fileText(file);
    EXPECT_THAT(text, HasSubstr("SoundMode=-1\n"));
    EXPECT_THAT(text, HasSubstr("SplashScreen=1\n"));
    EXPECT_THAT(text, HasSubstr("FullscreenMode=0\n"));
    EXPECT_THAT(text, HasSubstr("HiScore1=999\n"));
    // One flat section: Qt's [General] and nothing else.
    EXPECT_EQ(text.rfind("[General]\n", 0), 0u) << text;
    EXPECT_THAT(text.substr(1), Not(HasSubstr("["))) << text;
}

TEST_F(SettingsFileTest, NextRunReadsWhatThisRunWrote) {
    store.WriteInteger("SoundMode", -1);
    store.WriteBool("FullscreenMode", false);
    store.WriteInteger("HiScore2", 1205);

    QSettingsBackend nextRun(file);
    SettingsStore next(nextRun);
    EXPECT_EQ(next.ReadInteger("SoundMode", 0), -1);
    EXPECT_FALSE(next.ReadBool("FullscreenMode", true));
    EXPECT_EQ(next.ReadInteger("HiScore2", 0), 1205);
}

TEST_F(SettingsFileTest, ReadsSeeChangesMadeBehindTheStoresBack) {
    store.WriteInteger("HiScore1", 10);
    EXPECT_EQ(store.ReadInteger("HiScore1", 0), 10);
    writeFileText(file, "[General]\nHiScore1=77\nHiScore2=5\n");
    EXPECT_EQ(store.ReadInteger("HiScore1", 0), 77);
    EXPECT_EQ(store.ReadInteger("HiScore2", 0), 5);
}

// --- texts that are not what the program writes -----------------------------------------------

TEST_F(SettingsFileTest, HandEditedTextsReadAsTheirIntegerOrTheDefault) {
    writeFileText(file,
                  "[General]\nHiScore1=abc\nHiScore2=$1F\nKey1=0x1F\nKey2=\nFullscreenMode=5\n"
                  "SplashScreen=0\nSoundMode=1,2\nKey3=  7  \nKey4=12abc\n");
    EXPECT_EQ(store.ReadInteger("HiScore1", 0), 0);
    EXPECT_EQ(store.ReadInteger("HiScore2", 0), 31);
    EXPECT_EQ(store.ReadInteger("Key1", 2), 31);
    EXPECT_EQ(store.ReadInteger("Key2", 3), 3);
    EXPECT_TRUE(store.ReadBool("FullscreenMode", false));
    EXPECT_FALSE(store.ReadBool("SplashScreen", true));
    EXPECT_EQ(store.ReadInteger("SoundMode", -1), -1);
    EXPECT_EQ(store.ReadInteger("Key3", 4), 7);
    EXPECT_EQ(store.ReadInteger("Key4", 6), 6);
}

TEST_F(SettingsFileTest, KeysInsideAnotherSectionAreNotTopLevelValues) {
    writeFileText(file, "[Other]\nSoundMode=1\n[General]\nHiScore1=3\n");
    EXPECT_EQ(store.ReadInteger("SoundMode", -1), -1);
    EXPECT_EQ(store.ReadInteger("HiScore1", 0), 3);
}

// --- damaged and unwritable storage -------------------------------------------------------------

TEST_F(SettingsFileTest, BinaryGarbageFileGivesDefaultsAndIsRepairedByTheNextWrite) {
    std::mt19937 rng(7);
    std::string garbage(4096, '\0');
    for (char& c : garbage) c = static_cast<char>(rng() & 0xFF);
    garbage.replace(100, 3, "\0\n[", 3);
    writeFileText(file, garbage);

    EXPECT_EQ(store.ReadInteger("SoundMode", -1), -1);
    EXPECT_TRUE(store.ReadBool("SplashScreen", true));
    EXPECT_EQ(store.ReadInteger("HiScore1", 0), 0);

    store.WriteInteger("HiScore1", 42);
    EXPECT_TRUE(backend.lastWriteOk());
    QSettingsBackend nextRun(file);
    EXPECT_EQ(SettingsStore(nextRun).ReadInteger("HiScore1", 0), 42);
}

TEST_F(SettingsFileTest, FileSwollenWithJunkKeepsItsValuesAndShrinksBackOnFirstLook) {
    const std::string junk = "junk=" + std::string(10 << 20, 'j') + "\n";
    // Our values on both sides of the junk, and a section that is not ours.
    writeFileText(file,
                  "[General]\nHiScore1=55\nKey2=7\n" + junk + "SoundMode=1\n[Other]\nHiScore2=9\n");
    EXPECT_EQ(store.ReadInteger("HiScore1", 0), 55);
    EXPECT_EQ(fileText(file), "[General]\nHiScore1=55\nKey2=7\nSoundMode=1\n");
    EXPECT_EQ(store.ReadInteger("HiScore2", 0), 0);
    store.WriteInteger("HiScore2", 7);
    EXPECT_TRUE(backend.lastWriteOk());
    QSettingsBackend nextRun(file);
    SettingsStore next(nextRun);
    EXPECT_EQ(next.ReadInteger("HiScore1", 0), 55);
    EXPECT_EQ(next.ReadInteger("Key2", 3), 7);
    EXPECT_EQ(next.ReadInteger("SoundMode", -1), 1);
    EXPECT_EQ(next.ReadInteger("HiScore2", 0), 7);
    EXPECT_FALSE(std::filesystem::exists(file + ".new"));

    // Swollen again, and this time the first look is a write.
    writeFileText(file, "[General]\nHiScore1=60\n" + junk);
    store.WriteInteger("Key1", 9);
    EXPECT_TRUE(backend.lastWriteOk());
    EXPECT_EQ(fileText(file), "[General]\nHiScore1=60\nKey1=9\n");
}

TEST_F(SettingsFileTest, TruncatedFileKeepsTheValuesItStillHolds) {
    writeFileText(file, "[General]\nKey1=9\nSoundMode=1\nHiScore1=12");  // no final newline
    EXPECT_EQ(store.ReadInteger("Key1", 2), 9);
    EXPECT_EQ(store.ReadInteger("SoundMode", -1), 1);
    EXPECT_EQ(store.ReadInteger("HiScore1", 0), 12);
}

TEST(SettingsUnwritable, FolderThatCannotBeCreatedGivesDefaultsAndQuietFailures) {
    StoreFolder folder;
    // Root ignores folder permissions; a store whose parent is a regular file fails for anyone.
    writeFileText(folder.path("plain-file"), "x");
    const std::string file = folder.path("plain-file/Velvane/Qzorvalt50.conf");
    QSettingsBackend backend(file);
    SettingsStore store(backend);

    EXPECT_EQ(store.ReadInteger("SoundMode", -1), -1);
    store.WriteInteger("SoundMode", 1);
    EXPECT_FALSE(backend.lastWriteOk());
    store.WriteBool("SplashScreen", false);
    EXPECT_FALSE(backend.lastWriteOk());
    // Reads look at the storage, which never got the value.
    EXPECT_EQ(store.ReadInteger("SoundMode", -1), -1);
    EXPECT_TRUE(store.ReadBool("SplashScreen", true));
    EXPECT_FALSE(std::filesystem::exists(file));
}

TEST(SettingsUnwritable, ReadOnlyFolderFailsQuietlyAndKeepsTheOldFile) {
    if (geteuid() == 0) GTEST_SKIP() << "running as root: folder permissions do not stop writes";
    StoreFolder folder;
    const std::string file = folder.path();
    writeFileText(file, "[General]\nHiScore1=5\n");
    ASSERT_EQ(chmod(folder.dir.path().toLocal8Bit().constData(), 0555), 0);
    QSettingsBackend backend(file);
    SettingsStore store(backend);
    store.WriteInteger("HiScore1", 6);
    EXPECT_FALSE(backend.lastWriteOk());
    chmod(folder.dir.path().toLocal8Bit().constData(), 0755);
    EXPECT_EQ(fileText(file), "[General]\nHiScore1=5\n");
}

TEST(SettingsUnwritable, WritesSucceedAgainOnceTheFolderCanBeWritten) {
    StoreFolder folder;
    const std::string blocker = folder.path("Velvane");
    writeFileText(blocker, "x");
    const std::string file = folder.path("Velvane/Qzorvalt50.conf");
    QSettingsBackend backend(file);
    SettingsStore store(backend);
    store.WriteInteger("HiScore1", 3);
    ASSERT_FALSE(backend.lastWriteOk());

    std::filesystem::remove(blocker);
    store.WriteInteger("HiScore2", 4);
    EXPECT_TRUE(backend.lastWriteOk());
    EXPECT_EQ(fileText(file), "[General]\nHiScore2=4\n");
}

// --- two stores on one file -------------------------------------------------------------------

TEST_F(SettingsFileTest, TwoStoresOnOneFileKeepEachOthersValues) {
    QSettingsBackend otherBackend(file);
    SettingsStore other(otherBackend);
    for (int i = 0; i < 50; ++i) {
        store.WriteInteger("HiScore1", i);
        other.WriteInteger("HiScore2", 100 + i);
        ASSERT_EQ(other.ReadInteger("HiScore1", -1), i);
        ASSERT_EQ(store.ReadInteger("HiScore2", -1), 100 + i);
    }
    EXPECT_EQ(fileText(file), "[General]\nHiScore1=49\nHiScore2=149\n");
}

}  // namespace
