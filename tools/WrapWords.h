// Word wrapping for the help texts the build writes.
#ifndef QUORVEL_TOOLS_WRAPWORDS_H
#define QUORVEL_TOOLS_WRAPWORDS_H

#include <sstream>
#include <string>

// The words of `text` (split at spaces) on lines of at most `width`
// characters, the first behind `firstLead` and the others behind
// `nextLead`; a word longer than a line gets a line of its own. Each line
// ends in a newline.
inline std::string wrapWords(const std::string& text, const std::string& firstLead, const std::string& nextLead,
                             size_t width) {
    std::istringstream words(text);
    std::string wrapped, line = firstLead, word;
    bool lineHasWord = false;
    while (words >> word) {
        if (lineHasWord && line.size() + 1 + word.size() > width) {
            wrapped += line + "\n";
            line = nextLead;
            lineHasWord = false;
        }
        line += (lineHasWord ? " " : "") + word;
        lineHasWord = true;
    }
    return wrapped + line + "\n";
}

#endif
