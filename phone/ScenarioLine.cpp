#include "ScenarioLine.h"

namespace phone {

bool SplitScenarioLine(const std::string& line, std::vector<std::string>* words, std::string* error) {
    words->clear();
    size_t i = 0;
    const size_t n = line.size();
    while (i < n) {
        char c = line[i];
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            ++i;
            continue;
        }
        if (c == '#') break;
        std::string word;
        if (c == '"') {
            ++i;
            bool closed = false;
            while (i < n) {
                char q = line[i++];
                if (q == '"') {
                    closed = true;
                    break;
                }
                if (q != '\\') {
                    word += q;
                    continue;
                }
                if (i >= n) break;
                char e = line[i++];
                if (e == '"' || e == '\\')
                    word += e;
                else if (e == 'n')
                    word += '\n';
                else {
                    *error = std::string("unknown escape \\") + e + " in a quoted text";
                    return false;
                }
            }
            if (!closed) {
                *error = "unterminated quoted text";
                return false;
            }
            if (i < n && line[i] != ' ' && line[i] != '\t' && line[i] != '\r' && line[i] != '\n' && line[i] != '#') {
                *error = "a quoted text must be followed by a blank";
                return false;
            }
        } else {
            while (i < n && line[i] != ' ' && line[i] != '\t' && line[i] != '\r' && line[i] != '\n') word += line[i++];
        }
        words->push_back(word);
    }
    return true;
}

}  // namespace phone
