// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Small text functions shared by the windows.
#include <string>
#include <vector>

namespace tavrin {

// Every character code of 97 or more lowered by 32, in place: a..z become A..Z, and so do
// the codes above (a left brace becomes a left square bracket, 128..255 become 96..223).
void FoldToCapitals(std::string& text);
std::string FoldedToCapitals(std::string text);
// The bare file name of a path (after its last separator; on Linux both "/" and "\"
// separate), folded to capitals.
std::string UpperFileName(const std::string& path);
// Adds ".txt" unless the fourth character from the end is ".".
std::string EnsureTxtExtension(const std::string& name);
// The number a text begins with, as the operators' input boxes read it (the rule of
// ReadLeadingNumber in app/leading_number.h); no number, or one too large to hold, gives 0.
double LeadingNumber(const std::string& text);
// The parts of a text between its separators: "a;b;" gives "a", "b" and "" (an empty text
// gives one empty part).
std::vector<std::string> SplitAt(const std::string& text, char separator);

}  // namespace tavrin
