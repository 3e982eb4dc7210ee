#include "scenario.h"

#include <cctype>
#include <cstring>
#include <sstream>

namespace uidrv {

namespace {

std::string Trim(const std::string& s)
{
    std::size_t b = 0, e = s.size();
    while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
    while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
    return s.substr(b, e - b);
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::string cur;
    for (char c : text) {
        if (c == '\n') {
            if (!cur.empty() && cur.back() == '\r') cur.pop_back();
            lines.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    if (!cur.empty()) lines.push_back(cur);
    return lines;
}

// "set NAME rest": NAME and the raw rest of the line; false when the line is no set line.
bool SplitSet(const std::string& line, std::string& name, std::string& value)
{
    const std::string t = Trim(line);
    if (t.compare(0, 4, "set ") != 0) return false;
    const std::string rest = Trim(t.substr(4));
    const std::size_t blank = rest.find_first_of(" \t");
    name = rest.substr(0, blank);
    value = blank == std::string::npos ? std::string() : Trim(rest.substr(blank));
    return true;
}

}  // namespace

namespace {

std::string ExpandOnce(const std::string& text, const Variables& vars, int line)
{
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        if (text.compare(i, 2, "${") == 0) {
            const std::size_t end = text.find('}', i + 2);
            if (end == std::string::npos) throw ScenarioError(line, "unterminated ${");
            const std::string name = text.substr(i + 2, end - i - 2);
            const auto it = vars.find(name);
            if (it == vars.end()) throw ScenarioError(line, "unknown variable ${" + name + "}");
            out += it->second;
            i = end + 1;
        } else {
            out += text[i++];
        }
    }
    return out;
}

}  // namespace

// A value may name further variables (a case's value may use the driver's
// own, ${LOCAL_ADDRESS}); a bounded number of rounds stops a loop.
std::string Expand(const std::string& text, const Variables& vars, int line)
{
    std::string out = text;
    for (int round = 0; out.find("${") != std::string::npos; ++round) {
        if (round == 8) throw ScenarioError(line, "variables refer to each other without end");
        out = ExpandOnce(out, vars, line);
    }
    return out;
}

std::vector<std::string> SplitWords(const std::string& text, int line)
{
    std::vector<std::string> words;
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n) {
        const char c = text[i];
        if (std::isspace(static_cast<unsigned char>(c))) {
            ++i;
        } else if (c == '#') {
            break;
        } else if (c == '"') {
            std::string word;
            ++i;
            bool closed = false;
            while (i < n) {
                if (text[i] == '\\' && i + 1 < n && std::strchr("\"\\rnt", text[i + 1]) != nullptr) {
                    const char c = text[i + 1];
                    word += c == 'r' ? '\r' : c == 'n' ? '\n' : c == 't' ? '\t' : c;
                    i += 2;
                } else if (text[i] == '"') {
                    ++i;
                    closed = true;
                    break;
                } else {
                    word += text[i++];
                }
            }
            if (!closed) throw ScenarioError(line, "unterminated quoted text");
            words.push_back(word);
        } else {
            std::string word;
            while (i < n && !std::isspace(static_cast<unsigned char>(text[i])) && text[i] != '"') word += text[i++];
            words.push_back(word);
        }
    }
    return words;
}

namespace {

constexpr int kMaxIncludeDepth = 8;  // an include that includes itself ends here, as an error

// Reads one text's steps into steps; vars carries "set" lines on to what follows.
// origin is empty for the scenario itself, else the included file's name:
// its steps report the including line and name their place in the file.
void ParseInto(const std::string& text, Variables& vars, const IncludeReader& include, int depth,
               const std::string& origin, int includeLine, std::vector<Step>& steps)
{
    const std::vector<std::string> lines = Lines(text);
    Step* open = nullptr;  // step whose block is being read
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int inFile = static_cast<int>(i) + 1;
        const int number = origin.empty() ? inFile : includeLine;
        const std::string expanded = Expand(lines[i], vars, number);
        std::vector<std::string> words = SplitWords(expanded, number);
        if (open != nullptr) {
            if (words.size() == 1 && words[0] == "}") {
                open = nullptr;
                continue;
            }
            open->words.insert(open->words.end(), words.begin(), words.end());
            continue;
        }
        if (words.empty()) continue;
        std::string name, value;
        if (SplitSet(expanded, name, value)) {
            if (name.empty()) throw ScenarioError(number, "set needs a name");
            vars[name] = value;
            continue;
        }
        if (words[0] == "include") {
            if (words.size() != 2) throw ScenarioError(number, "include needs one file name");
            if (!include) throw ScenarioError(number, "include is not possible here");
            if (depth >= kMaxIncludeDepth) throw ScenarioError(number, "includes nested too deep: " + words[1]);
            ParseInto(include(words[1]), vars, include, depth + 1, words[1], number, steps);
            continue;
        }
        const std::string where = origin.empty() ? "" : origin + ":" + std::to_string(inFile) + ": ";
        steps.push_back(Step{number, where + Trim(expanded), {}});
        if (words.back() == "{") {
            words.pop_back();
            open = &steps.back();
        }
        steps.back().words = std::move(words);
    }
    if (open != nullptr) throw ScenarioError(open->line, "block not closed with }");
}

}  // namespace

std::vector<Step> ParseScenario(const std::string& text, const Variables& initial, const IncludeReader& include)
{
    Variables vars = initial;
    std::vector<Step> steps;
    ParseInto(text, vars, include, 0, "", 0, steps);
    return steps;
}

std::map<std::string, Variables> ParseCases(const std::string& text)
{
    std::map<std::string, Variables> cases;
    Variables* current = nullptr;
    const std::vector<std::string> lines = Lines(text);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int number = static_cast<int>(i) + 1;
        const std::vector<std::string> words = SplitWords(lines[i], number);
        if (words.empty()) continue;
        std::string name, value;
        if (words[0] == "case" && words.size() == 2) {
            if (cases.count(words[1])) throw ScenarioError(number, "case " + words[1] + " defined twice");
            current = &cases[words[1]];
        } else if (SplitSet(lines[i], name, value)) {
            if (current == nullptr) throw ScenarioError(number, "set before the first case");
            (*current)[name] = value;
        } else {
            throw ScenarioError(number, "expected \"case NAME\" or \"set NAME VALUE\"");
        }
    }
    return cases;
}

}  // namespace uidrv
