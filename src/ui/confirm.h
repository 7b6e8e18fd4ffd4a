#pragma once
// Key waits of the information windows: poll, stop on one of the keys,
// otherwise sleep a millisecond and poll again.
#include <initializer_list>
#include <string>

// Waits for one of `keys` and returns it; every other key is dropped.
std::string waitForOneOf(std::initializer_list<std::string> keys);
void waitForSpace();
void waitForSpaceOrEnter();
// Space, Enter or Esc: the three keys that close an information window.
void waitForConfirm();
