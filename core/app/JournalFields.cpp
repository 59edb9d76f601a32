#include "core/app/JournalFields.h"

#include "core/browser/UrlHelpers.h"

namespace plintor {
namespace {

bool isAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// A scheme of two characters at least: "C:\x" is a Windows path, not an address.
bool isAbsoluteAddress(std::string_view word) {
    const std::size_t colon = word.find(':');
    if (colon == std::string_view::npos || colon < 2 || !isAsciiLetter(word[0])) {
        return false;
    }
    for (const char c : word.substr(1, colon - 1)) {
        if (!isAsciiLetter(c) && !(c >= '0' && c <= '9') && c != '+' && c != '-' && c != '.') {
            return false;
        }
    }
    return colon + 1 < word.size();
}

std::string withLineFeeds(std::string_view text) {
    std::string message;
    message.reserve(text.size());
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (text.substr(at, 2) != "\r\n") {
            message += text[at];
        }
    }
    return message;
}

}  // namespace

// Words count while they end at a space, at the end of the text, or at a colon, comma or
// semicolon that ends the phrase: "http" in "http://x" is part of an address, not of the kind.
std::string logEventOf(std::string_view text) {
    std::size_t end = 0;
    std::size_t at = 0;
    while (at < text.size() && isAsciiLetter(text[at])) {
        std::size_t wordEnd = at;
        while (wordEnd < text.size() && isAsciiLetter(text[wordEnd])) {
            ++wordEnd;
        }
        const std::string_view after = text.substr(wordEnd);
        const bool endsPhrase = after.size() > 0 &&
                                (after[0] == ':' || after[0] == ',' || after[0] == ';') &&
                                (after.size() == 1 || after[1] == ' ' || after[1] == '\r');
        if (!after.empty() && after[0] != ' ' && !endsPhrase) {
            break;
        }
        end = wordEnd;
        if (after.empty() || endsPhrase) {
            break;
        }
        at = wordEnd + 1;
    }
    return std::string(text.substr(0, end));
}

std::vector<JournalField> journalFieldsOf(std::string_view text) {
    std::vector<JournalField> fields{{"MESSAGE", withLineFeeds(text)},
                                     {"SYSLOG_IDENTIFIER", "plintor"}};
    const std::string event = logEventOf(text);
    if (event.empty()) {
        return fields;
    }
    fields.emplace_back("PLINTOR_EVENT", event);
    std::string_view rest = text.substr(event.size());
    if (!rest.starts_with(": ")) {
        return fields;
    }
    rest.remove_prefix(2);
    const std::string_view word = rest.substr(0, rest.find_first_of(" \r\n"));
    if (!isAbsoluteAddress(word)) {
        return fields;
    }
    fields.emplace_back("PLINTOR_URL", addressForLog(word));
    if (event == "BeforeNavigate") {
        const std::string_view verdict = rest.substr(word.size());
        if (verdict == " (True)" || verdict == " (False)") {
            fields.emplace_back("PLINTOR_ALLOWED", verdict == " (True)" ? "True" : "False");
        }
    }
    return fields;
}

}  // namespace plintor
