#pragma once
// Drives screen procedures on the headless backend with scripted keys. A
// procedure that asks for a key after the script is used up stops the test
// at once instead of waiting forever.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "screen/backend_headless.h"
#include "screen/cp437.h"
#include "screen/keys.h"
#include "screen/screen.h"
#include "screen/snapshot.h"

struct OutOfKeys {};
struct ProgramEnded {};

class HeadlessTest : public ::testing::Test {
protected:
    HeadlessBackend backend;

    void SetUp() override {
        backend.onOutOfKeys = [] { throw OutOfKeys{}; };
        backend.onProgramEnd = [] { throw ProgramEnded{}; };
        installBackend(&backend);
        clearKeys();
        setScreenMode(640, 480, 8);
        setTextGrid(80, 30);
    }
    void TearDown() override { installBackend(nullptr); }

    // Queues a key script (the syntax of colonies-replay) for the next procedure.
    void keys(const std::string& script) {
        std::string error;
        backend.script.clear();
        backend.nextKey = 0;
        ASSERT_TRUE(parseKeyScript(script, backend.script, error)) << error;
    }
    bool keysLeft() const { return backend.nextKey < backend.script.size(); }

    // The text of `length` cells from (row, column), trailing part included.
    static std::string textAt(int row, int column, int length) {
        std::string s;
        for (int c = column; c < column + length; ++c) s += static_cast<char>(readCell(row, c).character);
        return s;
    }
    static int64_t colourAt(int row, int column) { return readCell(row, column).colour; }
    // The whole screen as the player sees it against the reviewed file
    // tests/screens/NAME.txt: each row's text, then each row's colours as
    // runs "count:RRGGBB" ("." black, "mixed" no single glyph on black).
    // UPDATE_EXPECTED=1 writes the file instead; look at it before committing.
    static void expectScreen(const std::string& name) {
        std::string shown;
        for (int row = 1; row <= gridRows; ++row) {
            const std::string text = rowText(row);
            shown += text.substr(0, text.find_last_not_of(' ') + 1) + "\n";
        }
        for (int row = 1; row <= gridRows; ++row) {
            std::string runs;
            for (int column = 1, count = 1; column <= gridColumns; ++column, ++count) {
                const int64_t c = readCell(row, column).colour;
                if (column < gridColumns && readCell(row, column + 1).colour == c) continue;
                char colour[16];
                const Framebuffer& fb = framebuffer();
                std::snprintf(colour, sizeof colour, "%06X", fb.depth == 8 ? fb.palette[c & 255] : unsigned(c));
                runs += (runs.empty() ? "" : " ") + std::to_string(count) + ":" +
                        (c == 0 ? "." : c < 0 ? "mixed" : colour);
                count = 0;
            }
            shown += runs + "\n";
        }
        const std::string path = std::string(COLONIES_TEST_DIR) + "/screens/" + name + ".txt";
        const char* update = std::getenv("UPDATE_EXPECTED");
        if (update && std::string(update) == "1") {
            std::ofstream(path, std::ios::binary) << shown;
            return;
        }
        std::ifstream in(path, std::ios::binary);
        const std::string expected{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        if (expected == shown) return;
        // The first lines that differ, text rows first, then colour rows.
        std::string report;
        size_t a = 0, b = 0;
        for (int line = 1, told = 0; told < 4 && (a < expected.size() || b < shown.size()); ++line) {
            const size_t endA = std::min(expected.find('\n', a), expected.size());
            const size_t endB = std::min(shown.find('\n', b), shown.size());
            const std::string want = expected.substr(a, endA - a), got = shown.substr(b, endB - b);
            if (want != got) {
                report += "\n  line " + std::to_string(line) + " wants: " + want + "\n  line " + std::to_string(line) +
                          " shows: " + got;
                ++told;
            }
            a = endA + 1;
            b = endB + 1;
        }
        ADD_FAILURE() << "the screen differs from " << path << " (UPDATE_EXPECTED=1 writes it; review it):" << report;
    }
    // The rows of a rectangle as the player reads them, frame pieces and marks
    // as their UTF-8 characters.
    static std::vector<std::string> rowsAt(int top, int left, int width, int height) {
        std::vector<std::string> rows;
        for (int row = top; row < top + height; ++row) {
            std::string s;
            for (int c = left; c < left + width; ++c) s += cp437ToUtf8(readCell(row, c).character);
            rows.push_back(s);
        }
        return rows;
    }
};
