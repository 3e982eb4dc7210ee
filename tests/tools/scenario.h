// Scenario texts of the UI driver: one step per line, words or "quoted
// strings", ${NAME} replaced by a variable before the line is split.
#pragma once

#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace uidrv {

struct Step {
    int line = 0;                    // 1-based line in the scenario file
    std::string text;                // the line with its variables replaced, for reports
    std::vector<std::string> words;  // command first, then its arguments
};

class ScenarioError : public std::runtime_error {
public:
    ScenarioError(int line, const std::string& what)
        : std::runtime_error("line " + std::to_string(line) + ": " + what), line_(line) {}
    int Line() const { return line_; }

private:
    int line_;
};

using Variables = std::map<std::string, std::string>;

// Replaces each ${NAME}; an unknown name is an error (a typo must not pass as empty text).
std::string Expand(const std::string& text, const Variables& vars, int line);

// Splits one line into words: blanks separate, "..." keeps blanks; inside
// quotes a backslash escapes a quote or a backslash, and \r \n \t stand for
// the control characters (for multi-line texts). An unquoted # starts a comment.
std::vector<std::string> SplitWords(const std::string& text, int line);

// Gives the text of a file named by an "include" line (or throws).
using IncludeReader = std::function<std::string(const std::string& name)>;

// All steps of a scenario. A line ending in "{" opens a block whose lines
// (up to a line holding only "}") are appended as further words of that step,
// so a long list of expected lines can be written one per line. "include FILE"
// puts the steps of FILE in its place (its "set" lines hold on after it); they
// report the include's line number, their text names the file and its line.
std::vector<Step> ParseScenario(const std::string& text, const Variables& vars,
                                const IncludeReader& include = {});

// A cases file: "case NAME" starts a case, "set NAME VALUE..." lines inside it
// define its variables (the value is the rest of the line, unexpanded).
std::map<std::string, Variables> ParseCases(const std::string& text);

}  // namespace uidrv
