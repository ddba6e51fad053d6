// The SDL2_mixer backend really loading and mixing WAV files, on SDL's dummy and disk devices,
// and the opening of the sound on it with a real "Sound" folder.
#include <SDL_mixer.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <csignal>

#include <QTemporaryDir>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <thread>

#include "core/settings_store.h"
#include "core/sound/sound_system.h"
#include "platform/sdl_sound_library.h"
#include "support/recording_settings.h"
#include "support/recording_shell.h"
#include "wav_files.h"

using ::testing::ElementsAre;

namespace {

// Sets an environment variable for one test and puts the old value back.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        value ? setenv(name, value, 1) : unsetenv(name);
    }
    ~ScopedEnv() { old_ ? setenv(name_, old_->c_str(), 1) : unsetenv(name_); }

  private:
    const char* name_;
    std::optional<std::string> old_;
};

int playingChannels() {
    return Mix_Playing(-1);
}

bool deviceOpen() {
    int rate = 0, channels = 0;
    Uint16 format = 0;
    return Mix_QuerySpec(&rate, &format, &channels) != 0;
}

class SdlLibraryTest : public ::testing::Test {
  protected:
    QTemporaryDir dir;
    ScopedEnv driver{"SDL_AUDIODRIVER", "dummy"};
    SdlSoundLibrary library;

    std::string file(const std::string& name) const {
        return dir.filePath(QString::fromStdString(name)).toStdString();
    }
    std::string tone(const std::string& name, int ms = 1500) {
        writeBytes(file(name), sineWav(ms));
        return file(name);
    }
    void open() {
        ASSERT_TRUE(library.Init(22050, 64, 0));
        library.SetOutput(2);
    }
};

// --- opening ------------------------------------------------------------------------------------

TEST_F(SdlLibraryTest, InitOpensTheDeviceWithSixtyFourChannels) {
    open();
    EXPECT_TRUE(deviceOpen());
    EXPECT_EQ(library.driverName(), "dummy");
    EXPECT_EQ(Mix_AllocateChannels(-1), 64);
    // Ctrl+C and a logout still reach the program, not a quit event nobody reads.
    for (const int signal : {SIGINT, SIGTERM}) {
        struct sigaction now = {};
        sigaction(signal, nullptr, &now);
        EXPECT_EQ(now.sa_handler, SIG_DFL) << signal;
    }
}

TEST_F(SdlLibraryTest, UnusableUserDriverFallsBackToTheSilentDevice) {
    ScopedEnv bogus("SDL_AUDIODRIVER", "no-such-driver");
    open();
    EXPECT_EQ(library.driverName(), "dummy");
    EXPECT_NE(library.SampleLoad(-1, tone("a.wav"), kSample2D, 0, 0), 0u);
}

TEST(SdlLibraryDevices, EveryOutputTypeEndsWithAnOpenDeviceWhateverTheMachineHas) {
    ScopedEnv none("SDL_AUDIODRIVER", nullptr);
    QTemporaryDir dir;
    const std::string wav = dir.filePath("a.wav").toStdString();
    writeBytes(wav, sineWav(50));
    for (int type : {2, 1}) {
        SdlSoundLibrary library;
        library.Init(22050, 64, 0);
        library.SetOutput(type);
        EXPECT_TRUE(library.isOpen()) << "output type " << type;
        EXPECT_NE(library.SampleLoad(-1, wav, kSample2D, 0, 0), 0u)
            << "output type " << type << " on " << library.driverName();
        library.Close();
    }
}

TEST_F(SdlLibraryTest, SetOutputAfterLoadingKeepsTheDeviceAndItsSamples) {
    open();
    const SampleHandle h = library.SampleLoad(-1, tone("a.wav"), kSample2D, 0, 0);
    ASSERT_NE(h, 0u);
    library.SetOutput(1);
    EXPECT_TRUE(library.isOpen());
    EXPECT_GE(library.PlaySound(-1, h), 0);
}

// --- loading ------------------------------------------------------------------------------------

TEST_F(SdlLibraryTest, MissingAndBrokenFilesLoadAsNull) {
    open();
    writeBytes(file("header.wav"), lyingWavHeader());
    writeBytes(file("empty.wav"), {});
    std::vector<std::uint8_t> noise(3000);
    for (std::size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<std::uint8_t>(i * 97);
    writeBytes(file("noise.wav"), noise);
    std::vector<std::uint8_t> cut = sineWav(200);
    cut.resize(40);
    writeBytes(file("cut.wav"), cut);

    for (const char* name : {"absent.wav", "header.wav", "empty.wav", "noise.wav", "cut.wav"})
        EXPECT_EQ(library.SampleLoad(-1, file(name), kSample2D, 0, 0), 0u) << name;
}

// Samples hold the frames the mixer made of them when it loaded them itself; files with no whole
// frame load as silent samples, which SDL_mixer 2.8 freed twice.
TEST_F(SdlLibraryTest, SamplesSoundAsWhenTheMixerLoadedThem) {
    open();
    const auto tone = sineWav(300), low = sineWav(300, 440, 8000);
    for (const auto& w : {tone, low, relaidWav(tone, 1, 2, 4, 16), relaidWav(low, 1, 2, 2, 8),
                          relaidWav(tone, 1, 2, 6, 24), relaidWav(tone, 3, 1, 4, 32),
                          relaidWav(tone, 0x11, 1, 256, 4)}) {
        writeBytes(file("a.wav"), w);
        auto* ours =
            reinterpret_cast<Mix_Chunk*>(library.SampleLoad(-1, file("a.wav"), kSample2D, 0, 0));
        Mix_Chunk* theirs =
            Mix_LoadWAV_RW(SDL_RWFromConstMem(w.data(), static_cast<int>(w.size())), 1);
        ASSERT_TRUE(ours && theirs && ours->alen > 1000);
        EXPECT_TRUE(std::equal(ours->abuf, ours->abuf + ours->alen, theirs->abuf,
                               theirs->abuf + theirs->alen));
        Mix_FreeChunk(theirs);
    }
    for (const auto& w : soundlessWavs()) {
        writeBytes(file("a.wav"), w);
        EXPECT_NE(library.SampleLoad(-1, file("a.wav"), kSample2D, 0, 0), 0u);
    }
}

TEST_F(SdlLibraryTest, LoadBeforeInitOpensTheDeviceItself) {
    EXPECT_NE(library.SampleLoad(-1, tone("a.wav"), kSample2D, 0, 0), 0u);
    EXPECT_TRUE(deviceOpen());
}

// --- playing ------------------------------------------------------------------------------------

TEST_F(SdlLibraryTest, TwoPlaysOfOneSampleOverlapAndStopAllSilencesBoth) {
    open();
    const SampleHandle h = library.SampleLoad(-1, tone("step.wav"), kSample2D, 0, 0);
    ASSERT_NE(h, 0u);
    const int first = library.PlaySound(-1, h);
    const int second = library.PlaySound(-1, h);
    EXPECT_GE(first, 0);
    EXPECT_GE(second, 0);
    EXPECT_NE(first, second);
    EXPECT_EQ(playingChannels(), 2);

    EXPECT_TRUE(library.StopSound(kAllChannels));
    EXPECT_EQ(playingChannels(), 0);
}

TEST_F(SdlLibraryTest, NullUnknownAndFreedHandlesPlayNothing) {
    open();
    const SampleHandle h = library.SampleLoad(-1, tone("a.wav"), kSample2D, 0, 0);
    EXPECT_EQ(library.PlaySound(-1, 0), -1);
    EXPECT_EQ(library.PlaySound(-1, h + 1), -1);
    library.SampleFree(h);
    library.SampleFree(h);  // twice: harmless
    library.SampleFree(0);
    EXPECT_EQ(library.PlaySound(-1, h), -1);
    EXPECT_EQ(playingChannels(), 0);
}

TEST_F(SdlLibraryTest, FreeingAPlayingSampleStopsIt) {
    open();
    const SampleHandle h = library.SampleLoad(-1, tone("a.wav"), kSample2D, 0, 0);
    library.PlaySound(-1, h);
    ASSERT_EQ(playingChannels(), 1);
    library.SampleFree(h);
    EXPECT_EQ(playingChannels(), 0);
}

TEST(SdlLibraryDisk, PlayedSamplesReachTheOutputMixed) {
    QTemporaryDir dir;
    const std::string out = dir.filePath("out.raw").toStdString();
    const std::string wav = dir.filePath("tone.wav").toStdString();
    writeBytes(wav, sineWav(400));
    ScopedEnv driver("SDL_AUDIODRIVER", "disk");
    ScopedEnv target("SDL_DISKAUDIOFILE", out.c_str());
    ScopedEnv delay("SDL_DISKAUDIODELAY", "1");
    {
        SdlSoundLibrary library;
        ASSERT_TRUE(library.Init(22050, 64, 0));
        ASSERT_EQ(library.driverName(), "disk");
        const SampleHandle h = library.SampleLoad(-1, wav, kSample2D, 0, 0);
        library.PlaySound(-1, h);
        library.PlaySound(-1, h);
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        library.Close();
    }
    std::ifstream in(out, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GE(bytes.size(), 4000u);
    int peak = 0;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const int s = static_cast<std::int16_t>(static_cast<std::uint8_t>(bytes[i]) |
                                                (static_cast<std::uint8_t>(bytes[i + 1]) << 8));
        peak = std::max(peak, std::abs(s));
    }
    // Each play is at 20000 of 32767; the two overlap, so the mix stands well above one alone.
    EXPECT_GT(peak, 25000);
}

// --- closing ------------------------------------------------------------------------------------

TEST_F(SdlLibraryTest, CloseShutsTheDeviceEvenWhenItWasOpenedTwice) {
    open();
    ASSERT_EQ(Mix_OpenAudio(22050, AUDIO_S16SYS, 2, 256), 0);  // a second holder of the device
    library.Close();
    EXPECT_FALSE(deviceOpen());
    EXPECT_FALSE(library.isOpen());
}

TEST_F(SdlLibraryTest, CloseTwiceAndCallsOnANeverOpenedLibraryAreHarmless) {
    library.Close();
    EXPECT_EQ(library.PlaySound(-1, 1234), -1);
    EXPECT_FALSE(library.StopSound(kAllChannels));
    library.SampleFree(1234);
    open();
    library.Close();
    library.Close();
    EXPECT_FALSE(deviceOpen());
}

TEST_F(SdlLibraryTest, InitAfterCloseWorksAgain) {
    open();
    library.SampleLoad(-1, tone("a.wav"), kSample2D, 0, 0);
    library.Close();
    open();
    const SampleHandle h = library.SampleLoad(-1, tone("b.wav"), kSample2D, 0, 0);
    ASSERT_NE(h, 0u);
    EXPECT_GE(library.PlaySound(-1, h), 0);
    EXPECT_EQ(playingChannels(), 1);
}

// --- opening the sound on a real folder
// -----------------------------------------------------------

class SoundFolderTest : public SdlLibraryTest {
  protected:
    std::filesystem::path previous = std::filesystem::current_path();
    std::vector<std::string> log;
    RecordingShell shell{&log};
    RecordingSettings backend{&log};
    SettingsStore settings{backend};
    SoundSystem sound{library};

    SoundFolderTest() {
        std::filesystem::create_directory(file("Sound"));
        for (const SampleInfo& s : kSamples) tone(std::string(s.file), 100);
        std::filesystem::current_path(dir.path().toStdString());
    }
    ~SoundFolderTest() override { std::filesystem::current_path(previous); }
};

TEST_F(SoundFolderTest, CorruptBeep1ShowsTheMessage) {
    writeBytes(file("Sound/Beep1.wav"), lyingWavHeader());
    EXPECT_FALSE(sound.Snd_Open("Microsoft DirectSound", settings, shell));
    EXPECT_THAT(log, ElementsAre("store SoundMode=0",
                                 "showError(Sound folder unproperly installed. Please reinstall "
                                 "the game.)",
                                 "store SoundMode=-1", "store SplashScreen=1", "requestQuit()"));
    EXPECT_NE(sound.handle(SoundId::Step), 0u) << "every load is attempted";
}

// Samples that are no regular file, are huge, or would be huge once converted load as missing,
// at once and in bounded memory; only a missing Beep1 gives the message.
TEST_F(SoundFolderTest, HostileSamplesLoadAsMissingWithoutStallingOrFlooding) {
    using Make = std::function<void(const std::string&)>;
    const Make gigabyte = [](const std::string& f) {
        writeBytes(f, sineWav(10));
        std::filesystem::resize_file(f, std::uintmax_t{1} << 30);  // sparse
    };
    const std::pair<Make, bool> cases[] = {
        // how, and whether for all eleven or Step alone
        {[](const std::string& f) { ASSERT_EQ(mkfifo(f.c_str(), 0600), 0); }, false},
        {[](const std::string& f) { std::filesystem::create_symlink("/dev/zero", f); }, false},
        {gigabyte, false},
        // 120 KB at 100 Hz: some 50 MB once converted for the device.
        {[](const std::string& f) { writeBytes(f, sineWav(600000, 10, 100)); }, false},
        // The same behind a second format chunk that claims 44100 Hz, which the mixer ignores.
        {[](const std::string& f) {
             std::vector<std::uint8_t> w = sineWav(600000, 10, 100);
             std::vector<std::uint8_t> second(w.begin() + 12, w.begin() + 36);
             second[12] = 0x44, second[13] = 0xAC;
             w.insert(w.begin() + 36, second.begin(), second.end());
             w[4] += 24;  // the RIFF size, 120036 before
             writeBytes(f, w);
         },
         false},
        {gigabyte, true}};
    for (const auto& [make, all] : cases) {
        for (const SampleInfo& s : kSamples) {
            std::filesystem::remove(file(std::string(s.file)));
            if (all || s.id == SoundId::Step)
                make(file(std::string(s.file)));
            else
                tone(std::string(s.file), 100);
        }
        log.clear();
        EXPECT_EQ(sound.Snd_Open("Microsoft DirectSound", settings, shell), !all);
        EXPECT_EQ(sound.handle(SoundId::Step), 0u);
        EXPECT_EQ(sound.handle(SoundId::Miss1) != 0, !all);
        EXPECT_EQ(log.size(), all ? 5u : 1u);  // the message and its stores, or the choice alone
        EXPECT_LE(library.heldBytes(), 96u << 20);
        sound.Snd_Close();
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    EXPECT_LT(usage.ru_maxrss, 1 << 20) << "peak memory in KiB";
}

TEST_F(SoundFolderTest, NoAudioDeviceStillOpensSilentlyWithoutTheMessage) {
    ScopedEnv bogus("SDL_AUDIODRIVER", "no-such-driver");
    EXPECT_TRUE(sound.Snd_Open("Windows MultiMedia", settings, shell));
    EXPECT_THAT(log, ElementsAre("store SoundMode=1"));
    EXPECT_EQ(library.driverName(), "dummy");
    for (const SampleInfo& s : kSamples) EXPECT_NE(sound.handle(s.id), 0u) << s.name;
}

TEST_F(SoundFolderTest, AGameRoundPlaysOverlappingSoundsAndSilenceStopsThem) {
    ASSERT_TRUE(sound.Snd_Open("Microsoft DirectSound", settings, shell));
    sound.Snd_Play(SoundId::Step);
    sound.Snd_Play(SoundId::Step);
    EXPECT_EQ(playingChannels(), 2);
    sound.Snd_Silence();
    sound.Snd_Play(SoundId::Miss1);
    EXPECT_EQ(playingChannels(), 1);
    sound.Snd_Close();
    EXPECT_FALSE(deviceOpen());
    EXPECT_THAT(log, ElementsAre("store SoundMode=0"));
}

}  // namespace
