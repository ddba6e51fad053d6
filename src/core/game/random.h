#pragma once
// Random(n): a uniform integer from 0 to n - 1, from one generator seeded once.
#include <cstdint>
#include <random>

class RandomSource {
  public:
    virtual ~RandomSource() = default;
    virtual int Random(int n) = 0;
};

class SeededRandom final : public RandomSource {
  public:
    explicit SeededRandom(std::uint32_t seed) : engine_(seed) {}
    int Random(int n) override {
        if (n <= 1) return 0;
        // Rejection sampling keeps every value equally likely, independent of the library's
        // distribution implementation.
        const std::uint32_t bound = static_cast<std::uint32_t>(n);
        const std::uint32_t limit = UINT32_MAX - UINT32_MAX % bound;
        std::uint32_t v;
        do v = static_cast<std::uint32_t>(engine_());
        while (v >= limit);
        return static_cast<int>(v % bound);
    }

  private:
    std::mt19937 engine_;
};
