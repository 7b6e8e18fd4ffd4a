#pragma once
// Whole files read with stdio: the C++ streams would bring their locale
// machinery into the browser build, which is most of its size.
#include <cstddef>
#include <string>

// The file's bytes in `bytes`. False when it cannot be opened, a read fails
// or it holds more than `largest` bytes; `bytes` then holds what was read. A
// file its size already shows to be too large is refused before any of it is
// read, so a huge file costs no more than a damaged one.
bool readWholeFile(const std::string& path, std::string& bytes, size_t largest);
