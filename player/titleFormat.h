// The player's title-formatting language, as its formatting requests apply it to a template:
// %tag% fields, %% for a percent sign, 'literal text' ('' is one apostrophe), [sections] shown
// only when a tag inside has a value, and $functions(arguments). A stray parenthesis or closing
// bracket, or an unclosed %, ' or [, makes the whole result the syntax-error text.
#pragma once

#include <functional>
#include <string>

extern const char kFormatSyntaxError[];      // "[SYNTAX ERROR IN FORMATTING STRING]"
extern const char kFormatUnknownFunction[];  // "[UNKNOWN FUNCTION]"

// The value of a tag by its name as written (UTF-8); false when it has none.
typedef std::function<bool(const std::string& name, std::string* value)> TagValueSource;

// Formats a template (UTF-8) with the tags' values; the result is UTF-8, before the player turns
// its line breaks into blanks.
std::string formatTitle(const std::string& templateText, const TagValueSource& tagValue);

// Every CR and LF of a formatted result becomes a blank, as both formatting requests do.
std::string blankLineBreaks(std::string text);
