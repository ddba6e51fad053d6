// Opening the sound with each driver choice, the missing-folder failure, and what the game's
// play and silence requests turn into before, after and without an opening.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/settings_store.h"
#include "core/sound/sound_drivers.h"
#include "core/sound/sound_system.h"
#include "support/recording_settings.h"
#include "support/recording_shell.h"
#include "support/recording_sound.h"

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

namespace {

constexpr const char* kFolderMessage =
    "showError(Sound folder unproperly installed. Please reinstall the game.)";

class SndOpenTest : public ::testing::Test {
  protected:
    RecordingSoundLibrary library;
    std::vector<std::string>& log = library.calls;  // library, store and shell in one order
    RecordingShell shell{&log};
    RecordingSettings backend{&log};
    SettingsStore settings{backend};
    SoundSystem sound{library};

    // The eleven loads as the library sees them, with the handles the recorder hands out.
    std::vector<std::string> expectedLoads() const {
        std::vector<std::string> loads;
        int handle = 101;
        for (const SampleInfo& s : kSamples) {
            const bool missing = library.missingFiles.count(std::string(s.file)) > 0;
            loads.push_back("SampleLoad(-1," + std::string(s.file) +
                            ",8192,0,0)=" + std::to_string(missing ? 0 : handle));
            if (!missing) ++handle;
        }
        return loads;
    }
    std::vector<std::string> openingCalls(int outputType, const std::string& stored) const {
        std::vector<std::string> calls = {"store SoundMode=" + stored, "Init(22050,64,0)",
                                          "SetOutput(" + std::to_string(outputType) + ")"};
        for (const std::string& l : expectedLoads()) calls.push_back(l);
        return calls;
    }
};

// --- the three choices --------------------------------------------------------------------------

TEST_F(SndOpenTest, DirectSoundStoresZeroThenOpensOutputTypeTwoAndLoadsElevenSamples) {
    EXPECT_TRUE(sound.Snd_Open("Microsoft DirectSound", settings, shell));
    EXPECT_THAT(log, ElementsAreArray(openingCalls(2, "0")));
    EXPECT_TRUE(sound.SoundOn());
    EXPECT_EQ(log[3], "SampleLoad(-1,Sound/Beep1.wav,8192,0,0)=101");
    EXPECT_EQ(log.back(), "SampleLoad(-1,Sound/Step.wav,8192,0,0)=111");
}

TEST_F(SndOpenTest, WindowsMultiMediaStoresOneThenOpensOutputTypeOne) {
    EXPECT_TRUE(sound.Snd_Open("Windows MultiMedia", settings, shell));
    EXPECT_THAT(log, ElementsAreArray(openingCalls(1, "1")));
    EXPECT_TRUE(sound.SoundOn());
}

TEST_F(SndOpenTest, NoSoundStoresTwoAndNeverTouchesTheLibraryUntilClose) {
    EXPECT_TRUE(sound.Snd_Open("(no sound)", settings, shell));
    EXPECT_FALSE(sound.SoundOn());
    EXPECT_THAT(log, ElementsAre("store SoundMode=2"));

    log.clear();
    for (const SampleInfo& s : kSamples) sound.Snd_Play(s.id);
    sound.Snd_Silence();
    EXPECT_THAT(log, IsEmpty());

    sound.Snd_Close();
    std::vector<std::string> closing(kSoundCount, "SampleFree(0)");
    closing.push_back("Close()");
    EXPECT_THAT(log, ElementsAreArray(closing));
}

TEST_F(SndOpenTest, TheStoredValueIsTheChoicesPositionInTheList) {
    for (std::size_t i = 0; i < kSoundDrivers.size(); ++i) {
        RecordingSoundLibrary lib;
        SoundSystem s(lib);
        s.Snd_Open(kSoundDrivers[i].text, settings, shell);
        EXPECT_EQ(settings.ReadInteger("SoundMode", -9), static_cast<int>(i))
            << kSoundDrivers[i].text;
    }
}

TEST_F(SndOpenTest, UnknownChoiceRunsSilentlyAndStoresNothing) {
    EXPECT_TRUE(sound.Snd_Open("Microsoft DirectSound ", settings, shell));
    EXPECT_FALSE(sound.SoundOn());
    EXPECT_THAT(log, IsEmpty());
}

// --- the sound folder ---------------------------------------------------------------------------

TEST_F(SndOpenTest, MissingBeep1FailsAfterTryingEveryLoadAndResetsTheChoice) {
    library.missingFiles = {"Sound/Beep1.wav"};
    backend.values["SplashScreen"] = "0";
    EXPECT_FALSE(sound.Snd_Open("Windows MultiMedia", settings, shell));

    std::vector<std::string> expected = openingCalls(1, "1");
    expected.insert(expected.end(), {kFolderMessage, "store SoundMode=-1", "store SplashScreen=1",
                                     "requestQuit()"});
    EXPECT_THAT(log, ElementsAreArray(expected));
    EXPECT_EQ(settings.ReadInteger("SoundMode", 0), -1);
    EXPECT_TRUE(settings.ReadBool("SplashScreen", false));
    EXPECT_FALSE(sound.SoundOn()) << "a failed opening must not count as sound on";
}

TEST_F(SndOpenTest, OnlyStepMissingSucceedsAndOnlyStepIsSilent) {
    library.missingFiles = {"Sound/Step.wav"};
    EXPECT_TRUE(sound.Snd_Open("Microsoft DirectSound", settings, shell));
    EXPECT_THAT(log, ElementsAreArray(openingCalls(2, "0")));
    EXPECT_EQ(sound.handle(SoundId::Step), 0u);

    sound.Snd_Play(SoundId::Step);
    sound.Snd_Play(SoundId::Beep1);
    sound.Snd_Play(SoundId::Gameover);
    EXPECT_THAT(library.played, ElementsAre("", "Sound/Beep1.wav", "Sound/Gameover.wav"));
}

TEST_F(SndOpenTest, AllButBeep1MissingStillSucceeds) {
    for (const SampleInfo& s : kSamples)
        if (s.id != SoundId::Beep1) library.missingFiles.insert(std::string(s.file));
    EXPECT_TRUE(sound.Snd_Open("Microsoft DirectSound", settings, shell));
    EXPECT_EQ(backend.values.count("SplashScreen"), 0u);
}

// --- playing and silencing --------------------------------------------------------------------

TEST_F(SndOpenTest, BeforeOpeningPlayAndSilenceMakeNoCall) {
    sound.Snd_Play(SoundId::Start);
    sound.Snd_Silence();
    EXPECT_THAT(log, IsEmpty());
}

TEST_F(SndOpenTest, PlaysOverlapAndSilenceStopsEverythingBeforeTheNextPlay) {
    sound.Snd_Open("Microsoft DirectSound", settings, shell);
    log.clear();
    sound.Snd_Play(SoundId::Step);
    sound.Snd_Play(SoundId::Step);
    sound.Snd_Silence();
    sound.Snd_Play(SoundId::Miss1);
    const std::string step = std::to_string(sound.handle(SoundId::Step));
    const std::string miss1 = std::to_string(sound.handle(SoundId::Miss1));
    EXPECT_THAT(log, ElementsAre("PlaySound(-1," + step + ")", "PlaySound(-1," + step + ")",
                                 "StopSound(-3)", "PlaySound(-1," + miss1 + ")"));
}

TEST_F(SndOpenTest, CloseFreesTheElevenHandlesInLoadOrderThenCloses) {
    sound.Snd_Open("Microsoft DirectSound", settings, shell);
    log.clear();
    sound.Snd_Close();
    std::vector<std::string> expected;
    for (int h = 101; h <= 111; ++h) expected.push_back("SampleFree(" + std::to_string(h) + ")");
    expected.push_back("Close()");
    EXPECT_THAT(log, ElementsAreArray(expected));

    log.clear();
    sound.Snd_Play(SoundId::Beep1);
    EXPECT_THAT(log, IsEmpty()) << "nothing plays after close";
}

TEST_F(SndOpenTest, OpeningAgainReleasesTheFirstSamplesBeforeLoadingNewOnes) {
    sound.Snd_Open("Microsoft DirectSound", settings, shell);
    log.clear();
    sound.Snd_Open("Windows MultiMedia", settings, shell);
    ASSERT_GE(log.size(), 12u);
    for (int i = 0; i < kSoundCount; ++i)
        EXPECT_EQ(log[i], "SampleFree(" + std::to_string(101 + i) + ")");
    EXPECT_EQ(log[11], "Close()");
    EXPECT_EQ(log[13], "Init(22050,64,0)");
    EXPECT_EQ(sound.handle(SoundId::Beep1), 112u);
}

}  // namespace
