#pragma once
// Drives screen procedures on the headless backend with scripted keys. A
// procedure that asks for a key after the script is used up stops the test
// at once instead of waiting forever.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "screen/backend_headless.h"
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
};
