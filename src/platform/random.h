#pragma once

// Integer draws from an inclusive range. The generator is seeded again from the
// clock before every draw, as the program has always done.
class Random {
public:
    virtual ~Random() = default;
    virtual int between(int low, int high) = 0;
};

class ClockSeededRandom : public Random {
public:
    int between(int low, int high) override;
};
