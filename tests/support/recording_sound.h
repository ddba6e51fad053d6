#pragma once
// A SoundLibrary that records every call as a line of text ("PlaySound(-1,101)") and loads every
// file except those it is told are missing. Handles are 101, 102, ... in load order.
#include <set>
#include <string>
#include <vector>

#include "core/sound/sound_library.h"

class RecordingSoundLibrary final : public SoundLibrary {
  public:
    bool Init(int mixRate, int maxChannels, unsigned flags) override {
        record("Init(" + std::to_string(mixRate) + "," + std::to_string(maxChannels) + "," +
               std::to_string(flags) + ")");
        return true;
    }
    bool SetOutput(int outputType) override {
        record("SetOutput(" + std::to_string(outputType) + ")");
        return true;
    }
    SampleHandle SampleLoad(int slot, const std::string& file, unsigned mode, int offset,
                            int length) override {
        const SampleHandle h = missingFiles.count(file) ? 0 : nextHandle_++;
        if (h != 0) loadedFiles_.push_back({h, file});
        record("SampleLoad(" + std::to_string(slot) + "," + file + "," + std::to_string(mode) +
               "," + std::to_string(offset) + "," + std::to_string(length) +
               ")=" + std::to_string(h));
        return h;
    }
    int PlaySound(int channel, SampleHandle sample) override {
        record("PlaySound(" + std::to_string(channel) + "," + std::to_string(sample) + ")");
        played.push_back(fileOf(sample));
        return sample == 0 ? -1 : 0;
    }
    bool StopSound(int channel) override {
        record("StopSound(" + std::to_string(channel) + ")");
        played.push_back("<silence>");
        return true;
    }
    void SampleFree(SampleHandle sample) override {
        record("SampleFree(" + std::to_string(sample) + ")");
    }
    void Close() override { record("Close()"); }

    // The file a handle was loaded from; "" for a null or unknown handle.
    std::string fileOf(SampleHandle h) const {
        for (const auto& [handle, file] : loadedFiles_)
            if (handle == h) return file;
        return "";
    }

    std::vector<std::string> calls;  // every call, in order
    std::vector<std::string>
        played;  // per PlaySound the file ("" = null handle), "<silence>" per stop
    std::set<std::string> missingFiles;

  private:
    struct Loaded {
        SampleHandle handle;
        std::string file;
    };
    void record(std::string line) { calls.push_back(std::move(line)); }

    SampleHandle nextHandle_ = 101;
    std::vector<Loaded> loadedFiles_;
};
