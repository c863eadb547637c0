#include "check/layout_picture.h"

#include <algorithm>
#include <fstream>

#include "check/layout_findings.h"
#include "check/picture_pixels.h"
#include "config/menu_model.h"
#include "config/saturating.h"

namespace {

// A larger screen would take gigabytes to draw.
constexpr int64_t kMostScreenPixels = int64_t{16384} * 16384;

class Canvas {
public:
    Canvas(int32_t width, int32_t height, uint32_t color)
        : width(width), height(height), pixels(static_cast<size_t>(width) * height, color) {}

    // The part of the rectangle that lies on the canvas.
    void Fill(int64_t left, int64_t top, int64_t right, int64_t bottom, uint32_t color) {
        for (int64_t y = std::max<int64_t>(top, 0); y < std::min(bottom, height); ++y) {
            for (int64_t x = std::max<int64_t>(left, 0); x < std::min(right, width); ++x) At(x, y) = color;
        }
    }

    // A one-pixel frame just inside the rectangle.
    void Frame(int64_t left, int64_t top, int64_t right, int64_t bottom, uint32_t color) {
        if (right <= left || bottom <= top) return;
        Fill(left, top, right, top + 1, color);
        Fill(left, bottom - 1, right, bottom, color);
        Fill(left, top, left + 1, bottom, color);
        Fill(right - 1, top, right, bottom, color);
    }

    uint32_t& At(int64_t x, int64_t y) { return pixels[static_cast<size_t>(y * width + x)]; }

    const int64_t width;
    const int64_t height;
    std::vector<uint32_t> pixels;
};

uint32_t Rgb(const ColorTriple& color) {
    return ((static_cast<uint32_t>(color.red) & 0xFF) << 16) | ((static_cast<uint32_t>(color.green) & 0xFF) << 8) |
           (static_cast<uint32_t>(color.blue) & 0xFF);
}

std::string ColorText(const OutlineColor& color) {
    return std::string(color.name) + " " + std::to_string(color.rgb >> 16) + "," +
           std::to_string((color.rgb >> 8) & 0xFF) + "," + std::to_string(color.rgb & 0xFF);
}

void Put16(std::string& bytes, uint32_t value) {
    bytes.push_back(static_cast<char>(value & 0xFF));
    bytes.push_back(static_cast<char>((value >> 8) & 0xFF));
}

void Put32(std::string& bytes, uint32_t value) {
    Put16(bytes, value & 0xFFFF);
    Put16(bytes, value >> 16);
}

}  // namespace

std::vector<uint32_t> DrawLayout(const LayoutScene& scene) {
    Canvas canvas(scene.screen.width, scene.screen.height, kWorkAreaColor.rgb);
    const Rect& w = scene.window;
    canvas.Fill(w.left, w.top, w.right, w.bottom, scene.backColor);

    // The picture as the menu copies it: from its top-left corner into
    // bitmapRect, no larger than either, and only inside the window.
    if (scene.background != nullptr) {
        const ResampledPicture& picture = *scene.background;
        const int64_t left = int64_t{w.left} + scene.bitmapRect.left;
        const int64_t top = int64_t{w.top} + scene.bitmapRect.top;
        const int64_t right = left + std::min<int64_t>(RectWidth(scene.bitmapRect), picture.width);
        const int64_t bottom = top + std::min<int64_t>(RectHeight(scene.bitmapRect), picture.height);
        const int64_t fromX = std::max({left, int64_t{w.left}, int64_t{0}});
        const int64_t toX = std::min({right, int64_t{w.right}, canvas.width});
        const int64_t fromY = std::max({top, int64_t{w.top}, int64_t{0}});
        const int64_t toY = std::min({bottom, int64_t{w.bottom}, canvas.height});
        for (int64_t y = fromY; y < toY; ++y) {
            const size_t row = static_cast<size_t>(picture.height - 1 - (y - top)) * picture.width;
            for (int64_t x = fromX; x < toX; ++x) canvas.At(x, y) = picture.pixels[row + static_cast<size_t>(x - left)];
        }
    }

    // Outlines where the elements would be, even outside the window; the
    // window's edge last, so that it is always seen.
    for (const LayoutElement& element : scene.elements) {
        const Rect& r = element.rect;
        canvas.Frame(int64_t{w.left} + r.left, int64_t{w.top} + r.top, int64_t{w.left} + r.right,
                     int64_t{w.top} + r.bottom, element.color.rgb);
    }
    canvas.Frame(w.left, w.top, w.right, w.bottom, kWindowEdgeColor.rgb);
    return std::move(canvas.pixels);
}

std::string BitmapFileBytes(int32_t width, int32_t height, const std::vector<uint32_t>& pixels) {
    const uint32_t stride = (static_cast<uint32_t>(width) * 3 + 3) / 4 * 4;
    const uint32_t imageSize = stride * static_cast<uint32_t>(height);
    std::string bytes;
    bytes.reserve(54 + imageSize);
    bytes += "BM";
    Put32(bytes, 54 + imageSize);
    Put32(bytes, 0);
    Put32(bytes, 54);
    Put32(bytes, 40);
    Put32(bytes, static_cast<uint32_t>(width));
    Put32(bytes, static_cast<uint32_t>(height));  // positive: bottom row first
    Put16(bytes, 1);
    Put16(bytes, 24);
    Put32(bytes, 0);  // uncompressed
    Put32(bytes, imageSize);
    Put32(bytes, 2835);  // 72 dots per inch
    Put32(bytes, 2835);
    Put32(bytes, 0);
    Put32(bytes, 0);
    for (int32_t y = height - 1; y >= 0; --y) {
        const size_t row = static_cast<size_t>(y) * width;
        for (int32_t x = 0; x < width; ++x) {
            const uint32_t pixel = pixels[row + x];
            bytes.push_back(static_cast<char>(pixel & 0xFF));
            bytes.push_back(static_cast<char>((pixel >> 8) & 0xFF));
            bytes.push_back(static_cast<char>((pixel >> 16) & 0xFF));
        }
        bytes.append(stride - static_cast<uint32_t>(width) * 3, '\0');
    }
    return bytes;
}

bool WriteLayoutPicture(const std::filesystem::path& file, const DiscFolder& disc, const StartupResult& start,
                        const Size& screen, std::ostream& out) {
    const std::string name = file.string();
    if (int64_t{screen.width} * screen.height > kMostScreenPixels) {
        out << "picture: " << name << " is not drawn: the screen has more than 16384 x 16384 pixels\n";
        return false;
    }
    const PictureAsShown picture = ReadPictureAsShown(disc.Find(start.bitmapName), start.scale);
    LayoutScene scene{screen,
                      start.window,
                      Rgb(menu.backColor),
                      menu.bitmapRect,
                      picture.notDrawn.empty() ? &picture.pixels : nullptr,
                      LayoutElements(RectWidth(start.window))};
    const std::string bytes = BitmapFileBytes(screen.width, screen.height, DrawLayout(scene));
    std::ofstream stream(file, std::ios::binary);
    if (!stream.write(bytes.data(), static_cast<std::streamsize>(bytes.size())) || !stream.flush()) {
        out << "picture: " << name << " cannot be written\n";
        return false;
    }

    out << "picture: " << name << ", " << screen.width << "x" << screen.height << ", the screen as the menu finds it\n";
    out << "  work area: " << ColorText(kWorkAreaColor) << "\n";
    out << "  window's edge: " << ColorText(kWindowEdgeColor) << ", inside it the background colour "
        << (scene.backColor >> 16) << "," << ((scene.backColor >> 8) & 0xFF) << "," << (scene.backColor & 0xFF)
        << " and ";
    if (picture.notDrawn.empty()) {
        out << "the picture, at BitmapRect\n";
    } else {
        out << "no picture (" << picture.notDrawn << ")\n";
    }
    for (const LayoutElement& element : scene.elements) {
        out << "  " << element.label << ": ";
        if (IsEmptyRect(element.rect)) {
            out << "not drawn, it has no area\n";
            continue;
        }
        out << ColorText(element.color) << (element.note.empty() ? "" : " (" + element.note + ")") << "\n";
    }
    const std::vector<std::string> findings = LayoutFindings(scene.elements, start.window, screen);
    for (const std::string& finding : findings) out << "layout: " << finding << "\n";
    if (findings.empty()) out << "layout: nothing overlaps, and everything lies inside the window and the screen\n";
    return true;
}
