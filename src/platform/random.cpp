#include "random.h"

#include <chrono>
#include <random>
#include <utility>

int ClockSeededRandom::between(int low, int high) {
    if (low > high)
        std::swap(low, high);
    const auto seed = std::chrono::high_resolution_clock::now().time_since_epoch().count();
    std::mt19937 generator(static_cast<std::mt19937::result_type>(seed));
    return std::uniform_int_distribution<int>(low, high)(generator);
}
