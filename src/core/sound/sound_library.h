#pragma once
// The sound library the game talks to: the seven calls it needs, with the arguments it passes.
// The real implementation mixes with SDL2_mixer; tests use a recorder of calls.
#include <cstdint>
#include <string>

using SampleHandle = std::uintptr_t;  // 0 = no sample (a failed load)

constexpr int kAnyFreeChannel = -1;  // PlaySound: the library picks a free channel
constexpr int kAllChannels = -3;     // StopSound: every channel
constexpr int kAnySampleSlot = -1;   // SampleLoad: the library picks the slot
constexpr unsigned kSample2D = 0x2000;

class SoundLibrary {
  public:
    virtual ~SoundLibrary() = default;
    virtual bool Init(int mixRate, int maxChannels, unsigned flags) = 0;
    virtual bool SetOutput(int outputType) = 0;
    virtual SampleHandle SampleLoad(int slot, const std::string& file, unsigned mode, int offset,
                                    int length) = 0;
    virtual int PlaySound(int channel, SampleHandle sample) = 0;
    virtual bool StopSound(int channel) = 0;
    virtual void SampleFree(SampleHandle sample) = 0;  // 0 is harmless
    virtual void Close() = 0;                          // harmless when never opened
};
