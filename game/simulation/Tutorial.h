// The tutorial's texts and prompts by step (0..6); any other step gives "".
// Step 1's text depends on the tilt-controls preference.
#pragma once

#include <string>

std::string GetTutorialText(int step);
std::string GetTutorialPrompt(int step);
