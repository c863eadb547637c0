// The way of summing that every build has: plain single-precision sums.

#include "render/resample_average.h"

namespace resample {
namespace {

// A sum below 255 loses its fraction; any other becomes 255.
inline uint32_t Channel(double sum) {
    return sum < 255.0 ? static_cast<uint32_t>(sum) : 255u;
}

class PortableSums {
public:
    void Add(const Entry& color, const double* weight) {
        blue = static_cast<float>(blue + color.channel[0] * *weight);
        green = static_cast<float>(green + color.channel[1] * *weight);
        red = static_cast<float>(red + color.channel[2] * *weight);
    }
    uint32_t Pixel() const { return Channel(blue) | (Channel(green) << 8) | (Channel(red) << 16); }

private:
    float red = 0.0f;
    float green = 0.0f;
    float blue = 0.0f;
};

}  // namespace

const SummingWay kPortableSumming{kGroup, Average<8, OnePixel<PortableSums>, kGroup>,
                                  Average<4, OnePixel<PortableSums>, kGroup>};

}  // namespace resample
