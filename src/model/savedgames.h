#pragma once
// The saved games a name question lists beside it.
#include <string>
#include <vector>

// The names (without ".dat") of the plain files NAME.dat in `folder` whose
// name the continue and load prompts can take as typed, newest first (by
// modification time, equal times by name). Only the folder's own entries are
// looked at: links, folders and any other kind of entry are left out, so the
// list tells nothing of what lies outside it.
std::vector<std::string> savedGameNames(const std::string& folder = ".");
