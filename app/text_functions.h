#pragma once
// Small text functions shared by the windows.
#include <string>

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
// The number a text begins with, as the operators' input boxes read it: blanks, tabs and
// line feeds anywhere are ignored; an optional sign, digits with at most one ".", an optional
// exponent (E or D); &H and &O read hexadecimal and octal; no number gives 0.
double LeadingNumber(const std::string& text);
// Whether a text begins with a number by that rule (a digit, or a point followed by a digit).
bool HasLeadingNumber(const std::string& text);

}  // namespace tavrin
