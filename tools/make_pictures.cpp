// make_pictures: draws the title picture and the three planet pictures the game loads.
//
// Redraw with:
//   g++ -std=c++17 -O2 -I src tools/make_pictures.cpp src/screen/palette.cpp src/screen/png.cpp -o /tmp/make_pictures
//   /tmp/make_pictures data
// which writes data/Grafika/menu.bmp, data/grafika/planet1.rys .. planet3.rys
// and the desktop icons data/icons/NxN/colonies.png (48, 64, 128 and 256 pixels).
// All randomness comes from fixed seeds, so every run writes the same bytes.

#include "screen/palette.h"
#include "screen/png.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

struct Col {
    double r = 0, g = 0, b = 0;
};
Col operator+(Col a, Col b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
Col operator*(Col a, double k) { return {a.r * k, a.g * k, a.b * k}; }
Col mix(Col a, Col b, double t) { return a * (1 - t) + b * t; }

struct Vec {
    double x, y, z;
};
Vec operator*(Vec a, double k) { return {a.x * k, a.y * k, a.z * k}; }
Vec operator-(Vec a, Vec b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
double dot(Vec a, Vec b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vec normalize(Vec a) { return a * (1 / std::sqrt(dot(a, a))); }

double clamp01(double v) { return std::min(1.0, std::max(0.0, v)); }
double smoothstep(double e0, double e1, double x) {
    double t = clamp01((x - e0) / (e1 - e0));
    return t * t * (3 - 2 * t);
}

// Own generator so the pictures do not depend on the library's distributions.
struct Rng {
    uint32_t s;
    double unit() {
        s ^= s << 13;
        s ^= s >> 17;
        s ^= s << 5;
        return s / 4294967296.0;
    }
};

uint32_t mixBits(uint32_t h) {
    h ^= h >> 16;
    h *= 0x7feb352du;
    h ^= h >> 15;
    h *= 0x846ca68bu;
    h ^= h >> 16;
    return h;
}

double lattice(int x, int y, int z, uint32_t seed) {
    uint32_t h = mixBits(static_cast<uint32_t>(x) * 0x9E3779B1u ^ seed);
    h = mixBits(h ^ static_cast<uint32_t>(y) * 0x85EBCA77u);
    h = mixBits(h ^ static_cast<uint32_t>(z) * 0xC2B2AE3Du);
    return h / 4294967296.0;
}

// Value noise in 3D: sampling it on a sphere gives seamless planet surfaces.
double noise(Vec p, uint32_t seed) {
    double fx = std::floor(p.x), fy = std::floor(p.y), fz = std::floor(p.z);
    int ix = static_cast<int>(fx), iy = static_cast<int>(fy), iz = static_cast<int>(fz);
    auto fade = [](double t) { return t * t * (3 - 2 * t); };
    double tx = fade(p.x - fx), ty = fade(p.y - fy), tz = fade(p.z - fz);
    double v[2][2];
    for (int j = 0; j < 2; ++j)
        for (int k = 0; k < 2; ++k)
            v[j][k] = lattice(ix, iy + j, iz + k, seed) * (1 - tx) + lattice(ix + 1, iy + j, iz + k, seed) * tx;
    double a = v[0][0] * (1 - ty) + v[1][0] * ty;
    double b = v[0][1] * (1 - ty) + v[1][1] * ty;
    return a * (1 - tz) + b * tz;
}

double fbm(Vec p, uint32_t seed, int octaves) {
    double sum = 0, amp = 0.5, norm = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += noise(p, seed + 101u * i) * amp;
        norm += amp;
        amp *= 0.5;
        p = p * 2.03;
    }
    return sum / norm;
}

// Texture coordinates of a sphere point, turned so features do not line up with the screen.
Vec spin(Vec n, double tilt, double turn) {
    Vec a{n.x, n.y * std::cos(tilt) - n.z * std::sin(tilt), n.y * std::sin(tilt) + n.z * std::cos(tilt)};
    return {a.x * std::cos(turn) + a.z * std::sin(turn), a.y, -a.x * std::sin(turn) + a.z * std::cos(turn)};
}

// What a world's surface looks like at one point: colour, shine of water, cloud cover.
struct Surface {
    Col albedo;
    double wet = 0;
    double cloud = 0;
    double cityLights = 0;
};

// Light falling on a sphere point, with a soft terminator, water glint and an atmosphere rim.
Col shade(const Surface& s, Vec n, Vec light, Col atmosphere, double haze) {
    double d = dot(n, light);
    double day = smoothstep(-0.08, 0.15, d);
    double lambert = std::max(0.0, d);
    Col ground = mix(s.albedo, Col{1, 1, 1} * 0.95, s.cloud);
    Col c = ground * (day * (0.2 + 0.9 * lambert) + 0.015);
    Vec reflected = n * (2 * d) - light;
    double glint = std::pow(std::max(0.0, reflected.z), 24) * 0.45 * s.wet * (1 - s.cloud) * day;
    c = c + Col{1, 0.95, 0.85} * glint;
    c = c + Col{1.0, 0.72, 0.35} * (s.cityLights * (1 - smoothstep(-0.2, 0.02, d)) * (1 - s.cloud));
    double rim = std::pow(1 - std::max(0.0, n.z), 2.5) * haze;
    return c * (1 - 0.5 * rim) + atmosphere * (rim * smoothstep(-0.25, 0.45, d));
}

// ---------------------------------------------------------------- title picture

const int menuWidth = 640, menuHeight = 480;

// The menu's white rectangle (x 440..600, y 40..160) and its text cells (x 448..607,
// y 48..143) are drawn over the picture on black, so that area and a margin stay black.
const int quietLeft = 424, quietRight = 623, quietTop = 24, quietBottom = 176;

double quietFade(int x, int y) {
    double dx = std::max({quietLeft - x, 0, x - quietRight});
    double dy = std::max({quietTop - y, 0, y - quietBottom});
    return smoothstep(0, 56, std::hypot(dx, dy));
}

struct Canvas {
    int width, height;
    std::vector<Col> px;
    Canvas(int w, int h) : width(w), height(h), px(static_cast<size_t>(w) * h) {}
    Col& at(int x, int y) { return px[static_cast<size_t>(y) * width + x]; }
    void add(int x, int y, Col c) {
        if (x >= 0 && y >= 0 && x < width && y < height) at(x, y) = at(x, y) + c;
    }
};

void drawNebula(Canvas& img) {
    for (int y = 0; y < menuHeight; ++y)
        for (int x = 0; x < menuWidth; ++x) {
            Vec p{x / 190.0, y / 190.0, 0.37};
            double warp = fbm(p * 1.3, 71, 3);
            double dense = smoothstep(0.48, 0.82, fbm(Vec{p.x + warp, p.y - warp, p.z}, 17, 6));
            double hue = fbm(p * 0.8, 29, 3);
            Col tint = mix(Col{0.30, 0.10, 0.42}, Col{0.06, 0.22, 0.40}, smoothstep(0.35, 0.65, hue));
            img.at(x, y) = img.at(x, y) + tint * (dense * 0.42);
        }
}

void drawStars(Canvas& img, Rng& rng) {
    for (int i = 0; i < 3200; ++i) {
        double x = rng.unit() * menuWidth, y = rng.unit() * menuHeight;
        double u = rng.unit(), t = rng.unit();
        double bright = 0.10 + 0.90 * std::pow(u, 9);
        Col tint = t < 0.15 ? Col{0.75, 0.85, 1.0} : t < 0.3 ? Col{1.0, 0.86, 0.68} : Col{1, 1, 1};
        int cx = static_cast<int>(x), cy = static_cast<int>(y);
        if (bright < 0.45) {
            img.add(cx, cy, tint * bright);
            continue;
        }
        double sigma = 0.5 + bright * 0.9;
        for (int dy = -4; dy <= 4; ++dy)
            for (int dx = -4; dx <= 4; ++dx) {
                double r2 = (dx + cx + 0.5 - x) * (dx + cx + 0.5 - x) + (dy + cy + 0.5 - y) * (dy + cy + 0.5 - y);
                img.add(cx + dx, cy + dy, tint * (bright * 1.3 * std::exp(-r2 / (2 * sigma * sigma))));
            }
        if (bright > 0.9) {  // the few brightest get faint diffraction spikes
            for (int k = 3; k < 16; ++k) {
                double f = bright * 0.35 * std::exp(-k / 4.0);
                img.add(cx + k, cy, tint * f);
                img.add(cx - k, cy, tint * f);
                img.add(cx, cy + k, tint * f);
                img.add(cx, cy - k, tint * f);
            }
        }
    }
}

void drawSun(Canvas& img, double sx, double sy) {
    for (int y = 0; y < menuHeight; ++y)
        for (int x = 0; x < menuWidth; ++x) {
            double dx = x + 0.5 - sx, dy = y + 0.5 - sy, d = std::hypot(dx, dy);
            double glow = 1.1 * std::exp(-d / 7) + 0.28 * std::exp(-d / 34) + 0.07 * std::exp(-d / 150);
            double streak = 0.22 * std::exp(-std::fabs(dy) / 1.3) * std::exp(-std::fabs(dx) / 80);
            Col c = Col{1.0, 0.78, 0.50} * (glow + streak);
            if (d < 5.5) c = c + Col{1, 1, 0.95} * smoothstep(5.5, 4.0, d) * 1.5;
            img.at(x, y) = img.at(x, y) + c;
        }
}

Surface homeSurface(Vec n) {
    Vec p = spin(n, 0.5, 2.1);
    double land = fbm(p * 2.2, 5, 8);
    double coast = smoothstep(0.48, 0.495, land);
    double kind = fbm(p * 2.6, 9, 5);
    Col ocean = mix(Col{0.02, 0.10, 0.24}, Col{0.05, 0.26, 0.40}, smoothstep(0.38, 0.5, land));
    Col ground = mix(Col{0.20, 0.36, 0.16}, Col{0.62, 0.48, 0.28}, smoothstep(0.42, 0.62, kind));
    ground = mix(ground, Col{0.45, 0.42, 0.38}, smoothstep(0.62, 0.72, land));
    Surface s;
    s.albedo = mix(ocean, ground, coast);
    s.wet = 1 - coast;
    Vec q = Vec{p.x * 1.2, p.y * 3.5, p.z * 1.2} * 2.0;
    double swirl = fbm(q, 33, 3);
    s.cloud = smoothstep(0.52, 0.78, fbm(Vec{q.x + 2 * swirl, q.y, q.z - swirl}, 41, 7)) * 0.9;
    // The colonies: clusters of lights on the night side.
    double settled = smoothstep(0.35, 0.5, fbm(p * 6.0, 61, 3));
    s.cityLights = coast * settled * smoothstep(0.60, 0.72, fbm(p * 110.0, 57, 2)) * 1.8;
    return s;
}

Surface moonSurface(Vec n) {
    Vec p = spin(n, 0.3, 0.7);
    double tone = fbm(p * 3.0, 77, 5);
    double pits = smoothstep(0.62, 0.70, fbm(p * 7.0, 83, 3));
    Surface s;
    s.albedo = Col{0.62, 0.60, 0.57} * (0.65 + 0.5 * tone) * (1 - 0.35 * pits);
    return s;
}

// Draws a lit sphere over the picture, and its atmosphere glow around it.
void drawSphere(Canvas& img, double cx, double cy, double radius, Vec light, Surface (*surface)(Vec), Col atmosphere,
                double haze, double glowWidth) {
    for (int y = 0; y < img.height; ++y)
        for (int x = 0; x < img.width; ++x) {
            double dx = (x + 0.5 - cx) / radius, dy = (y + 0.5 - cy) / radius, d2 = dx * dx + dy * dy;
            double d = std::max(1e-9, std::sqrt(d2));
            double limbLight = smoothstep(-0.35, 0.5, dot(Vec{dx / d, dy / d, 0}, light));
            double glow = glowWidth > 0 ? 0.85 * std::exp(-std::max(0.0, d - 1) * radius / glowWidth) * limbLight : 0;
            Col behind = img.at(x, y) + atmosphere * glow;
            if (d < 1) {
                Vec n{dx, dy, std::sqrt(1 - d2)};
                Col c = shade(surface(n), n, light, atmosphere, haze);
                img.at(x, y) = mix(behind, c, clamp01((1 - d) * radius));  // anti-aliased limb
            } else {
                img.at(x, y) = behind;
            }
        }
}

void writeBmp(const std::string& path, Canvas& img) {
    std::vector<unsigned char> out;
    auto put = [&out](uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) out.push_back(static_cast<unsigned char>(v >> (8 * i)));
    };
    const uint32_t rowBytes = (menuWidth * 3 + 3) / 4 * 4, dataBytes = rowBytes * menuHeight;
    put('B' | ('M' << 8), 2);
    put(54 + dataBytes, 4);
    put(0, 4);
    put(54, 4);
    put(40, 4);
    put(menuWidth, 4);
    put(menuHeight, 4);  // positive height: rows stored bottom-up
    put(1, 2);
    put(24, 2);
    put(0, 4);  // no compression
    put(dataBytes, 4);
    put(2835, 4);
    put(2835, 4);
    put(0, 4);
    put(0, 4);
    auto byte = [](double v) { return static_cast<unsigned char>(std::lround(255 * clamp01(v))); };
    for (int y = menuHeight - 1; y >= 0; --y) {
        for (int x = 0; x < menuWidth; ++x) {
            Col c = img.at(x, y);
            out.push_back(byte(c.b));
            out.push_back(byte(c.g));
            out.push_back(byte(c.r));
        }
        for (uint32_t i = menuWidth * 3; i < rowBytes; ++i) out.push_back(0);
    }
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(out.data()), out.size());
}

void makeMenu(const std::string& path) {
    Canvas img(menuWidth, menuHeight);
    Rng rng{0x5EEDC0DEu};
    drawNebula(img);
    drawStars(img, rng);
    drawSun(img, 84, 72);
    Vec light = normalize(Vec{-0.80, -0.50, 0.20});
    drawSphere(img, 236, 736, 460, light, homeSurface, Col{0.35, 0.62, 1.0}, 1.0, 13);
    drawSphere(img, 572, 316, 22, normalize(Vec{-0.75, -0.45, 0.35}), moonSurface, Col{}, 0.0, 0);
    for (int y = 0; y < menuHeight; ++y)
        for (int x = 0; x < menuWidth; ++x) {
            img.at(x, y) = img.at(x, y) * quietFade(x, y);
            Col& c = img.at(x, y);  // soft shoulder instead of hard clipping of the sun and lights
            auto tone = [](double v) { return v < 0.8 ? v : 0.8 + 0.2 * (1 - std::exp(-(v - 0.8) * 5)); };
            c = Col{tone(c.r), tone(c.g), tone(c.b)};
        }
    writeBmp(path, img);
}

// ---------------------------------------------------------------- planet pictures

const int planetSize = 77;  // the widest picture that stays clear of the descriptions

Surface desertSurface(Vec n) {
    Vec p = spin(n, 0.4, 0.9);
    double base = fbm(p * 2.2, 101, 5);
    Col c = mix(Col{0.90, 0.42, 0.08}, Col{1.0, 0.72, 0.36}, smoothstep(0.38, 0.62, base));
    c = mix(c, Col{0.48, 0.22, 0.04}, smoothstep(0.58, 0.72, fbm(p * 4.0, 107, 4)) * 0.8);
    double ridge = 1 - std::fabs(2 * fbm(p * 2.5, 113, 4) - 1);  // canyons along the noise's mid line
    c = c * (1 - 0.55 * smoothstep(0.90, 0.97, ridge));
    Rng rng{0xC2A7E2u};  // same seed at every point, so every point sees the same craters
    for (int i = 0; i < 14; ++i) {
        Vec centre = normalize(Vec{rng.unit() - 0.5, rng.unit() - 0.5, rng.unit() - 0.5});
        double size = 0.08 + 0.16 * rng.unit();
        double a = std::acos(std::min(1.0, dot(p, centre))) / size;
        if (a < 1.25) c = c * (a < 1 ? 0.72 + 0.2 * a * a : 1.0 + 0.3 * (1.25 - a) / 0.25);
    }
    Surface s;
    s.albedo = c;
    s.cloud = smoothstep(0.68, 0.80, fbm(Vec{p.x, p.y * 3, p.z} * 2.0, 127, 4)) * 0.35;  // thin dust
    return s;
}

Surface iceSurface(Vec n) {
    Vec p = spin(n, 0.35, 2.4);
    double depth = fbm(p * 2.5, 211, 4);
    Col sea = mix(Col{0.02, 0.10, 0.42}, Col{0.08, 0.34, 0.68}, smoothstep(0.3, 0.7, depth));
    double edge = fbm(p * 4.0, 223, 4) - 0.5;
    double cap = smoothstep(0.60, 0.66, std::fabs(p.y) + 0.25 * edge);
    double floes = smoothstep(0.62, 0.66, fbm(p * 5.0, 229, 4)) * (0.4 + 0.6 * smoothstep(0.2, 0.55, std::fabs(p.y)));
    double ice = std::max(cap, floes);
    Col white = mix(Col{0.62, 0.76, 0.92}, Col{0.95, 0.98, 1.0}, smoothstep(0.4, 0.7, depth));
    Surface s;
    s.albedo = mix(sea, white, ice);
    s.wet = 1 - ice;
    s.cloud = smoothstep(0.60, 0.78, fbm(Vec{p.x * 1.5, p.y * 5, p.z * 1.5}, 233, 5)) * 0.55;
    return s;
}

Surface lushSurface(Vec n) {
    Vec p = spin(n, 0.6, 4.0);
    double land = fbm(p * 1.9, 307, 5);
    double coast = smoothstep(0.49, 0.52, land);
    Col sea = mix(Col{0.03, 0.14, 0.45}, Col{0.10, 0.48, 0.62}, smoothstep(0.40, 0.49, land));
    double kind = fbm(p * 3.5, 311, 4);
    Col green = mix(Col{0.06, 0.36, 0.08}, Col{0.40, 0.66, 0.18}, smoothstep(0.35, 0.65, kind));
    green = mix(green, Col{0.48, 0.40, 0.28}, smoothstep(0.64, 0.72, land));
    Surface s;
    s.albedo = mix(sea, green, coast);
    s.wet = 1 - coast;
    Vec q = p * 2.6;
    double swirl = fbm(q, 317, 3);
    s.cloud = smoothstep(0.55, 0.74, fbm(Vec{q.x + 1.8 * swirl, q.y * 1.6, q.z - swirl}, 331, 5)) * 0.9;
    return s;
}

// Palette entries a picture may use: black, the grey ramp and the colour wheel's hues
// firstHue..lastHue (0 blue, 8 red, 12 yellow, 16 green, 20 cyan; wrapping past 23),
// so that one world keeps to one family of colours.
std::vector<int> paletteFamily(int firstHue, int lastHue) {
    std::vector<int> family{0};
    for (int i = 16; i < 32; ++i) family.push_back(i);
    for (int block = 0; block < 9; ++block)
        for (int hue = firstHue; hue <= lastHue; ++hue) family.push_back(32 + block * 24 + (hue % 24));
    return family;
}

// Nearest colour among the allowed entries, judged with a weighting close to how eyes see it.
int nearestIndex(Col c, const std::vector<int>& family) {
    int best = 0;
    double bestDistance = 1e30;
    for (int i : family) {
        uint32_t v = vgaColour(i);
        double r = (v >> 16 & 255) / 255.0, g = (v >> 8 & 255) / 255.0, b = (v & 255) / 255.0;
        double mean = (r + c.r) / 2, dr = r - c.r, dg = g - c.g, db = b - c.b;
        double dist = (2 + mean) * dr * dr + 4 * dg * dg + (3 - mean) * db * db;
        if (dist < bestDistance) bestDistance = dist, best = i;
    }
    return best;
}

struct World {
    const char* name;
    Surface (*surface)(Vec);
    Col atmosphere;
    double haze;
    int firstHue, lastHue;
};

void makePlanet(const std::string& path, const World& world) {
    const double centre = planetSize / 2.0, radius = centre - 2.0;
    const Vec light = normalize(Vec{-0.50, -0.36, 0.79});
    const std::vector<int> family = paletteFamily(world.firstHue, world.lastHue);
    // An ordered dither bridges the wide gaps between the palette's three brightness levels.
    const int bayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    std::ofstream out(path, std::ios::binary);
    out << world.name << "\n" << planetSize << "\n" << planetSize << "\npixels\n";
    for (int y = 0; y < planetSize; ++y) {
        for (int x = 0; x < planetSize; ++x) {
            Col sum;
            int inside = 0;
            for (int sy = 0; sy < 3; ++sy)
                for (int sx = 0; sx < 3; ++sx) {
                    double dx = (x + (sx + 0.5) / 3 - centre) / radius, dy = (y + (sy + 0.5) / 3 - centre) / radius;
                    double d2 = dx * dx + dy * dy, d = std::sqrt(d2);
                    if (d < 1) {
                        Vec n{dx, dy, std::sqrt(1 - d2)};
                        sum = sum + shade(world.surface(n), n, light, world.atmosphere, world.haze);
                        ++inside;
                    } else {
                        double lit = smoothstep(0.0, 0.6, dot(Vec{dx / d, dy / d, 0}, light));
                        sum = sum + world.atmosphere * (world.haze * 0.8 * std::exp(-(d - 1) * radius / 0.8) * lit);
                    }
                }
            Col c = sum * (1.0 / 9);
            // Dither only on the disc, so the space around it stays clean black.
            if (inside >= 5) {
                double nudge = (bayer[y % 4][x % 4] + 0.5) / 16.0 - 0.5;
                double lum = (c.r + c.g + c.b) / 3;  // none on the night side: it would only speckle
                c = c + Col{1, 1, 1} * (nudge * 0.16 * smoothstep(0.03, 0.2, lum));
            }
            out << nearestIndex(c, family) << (x + 1 < planetSize ? " " : "\n");
        }
    }
}

// ---------------------------------------------------------------- desktop icon

// The home world of the title picture, whole, on a clear background; every size
// is the 64-pixel drawing scaled, so the sizes look alike.
void makeIcon(const std::string& path, int size) {
    const double scale = size / 64.0;
    const double radius = 27 * scale, glowWidth = 4 * scale;
    Canvas img(size, size);
    drawSphere(img, size / 2.0, size / 2.0, radius, normalize(Vec{-0.80, -0.50, 0.20}), homeSurface,
               Col{0.35, 0.62, 1.0}, 1.0, glowWidth);
    std::vector<uint32_t> pixels;
    auto byte = [](double v) { return static_cast<uint32_t>(std::lround(255 * clamp01(v))); };
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const double d = std::hypot(x + 0.5 - size / 2.0, y + 0.5 - size / 2.0);
            const double alpha = clamp01((radius + glowWidth - d) / glowWidth);  // the disc and its glow fading out
            const Col c = img.at(x, y);
            pixels.push_back(byte(alpha) << 24 | byte(c.r) << 16 | byte(c.g) << 8 | byte(c.b));
        }
    const std::vector<uint8_t> png = encodePng(size, size, pixels, true);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(png.data()), png.size());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_pictures OUTDIR\n");
        return 2;
    }
    const std::string dir = argv[1];
    // The game opens these two folders with exactly this spelling.
    std::filesystem::create_directories(dir + "/Grafika");
    std::filesystem::create_directories(dir + "/grafika");
    makeMenu(dir + "/Grafika/menu.bmp");
    const World worlds[3] = {
        {"planet1", desertSurface, Col{0.95, 0.62, 0.35}, 0.45, 9, 11},
        {"planet2", iceSurface, Col{0.55, 0.78, 1.0}, 0.9, 18, 24},
        {"planet3", lushSurface, Col{0.40, 0.68, 1.0}, 0.9, 9, 23},
    };
    for (int k = 0; k < 3; ++k) makePlanet(dir + "/grafika/planet" + std::to_string(k + 1) + ".rys", worlds[k]);
    for (int size : {48, 64, 128, 256}) {
        const std::string folder = dir + "/icons/" + std::to_string(size) + "x" + std::to_string(size);
        std::filesystem::create_directories(folder);
        makeIcon(folder + "/colonies.png", size);
    }
    return 0;
}
