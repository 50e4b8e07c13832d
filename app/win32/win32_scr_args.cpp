// The screensaver command line as a table: one rule per letter Windows sends.
#include "app/win32/win32_scr_args.h"

#include <cstring>

#include "common/cli_args.h"

namespace {

enum class ScrWindowArg {
    None,     // the letter alone
    Required, // an id must follow
    Optional, // an id may follow
};

struct ScrRule {
    char letter; // lower case; the upper-case letter is read the same
    ScrAction action;
    ScrWindowArg windowArg;
};

constexpr ScrRule kScrRules[] = {
    {'s', ScrAction::Saver, ScrWindowArg::None},
    {'p', ScrAction::Preview, ScrWindowArg::Required},
    {'c', ScrAction::Settings, ScrWindowArg::Optional},
    {'a', ScrAction::Nothing, ScrWindowArg::Optional}, // older systems add the window's id
};

// Window handles carry 32 significant bits, also in 64-bit processes.
constexpr unsigned long long kMaxWindowId = UINT32_MAX;
constexpr const char* kScrSuffix = ".scr";

char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

const ScrRule* findScrRule(char letter) {
    for (const ScrRule& rule : kScrRules) {
        if (rule.letter == lowerAscii(letter)) {
            return &rule;
        }
    }
    return nullptr;
}

bool parseScrWindowId(const char* text, uint64_t* out) {
    unsigned long long id = 0;
    if (!parseUnsignedArg(text, kMaxWindowId, &id) || id == 0) {
        return false;
    }
    *out = id;
    return true;
}

} // namespace

ScrCommand parseScrCommand(int argc, const char* const* argv) {
    if (argc <= 1) {
        return ScrCommand{ScrAction::Settings, 0}; // started from the file itself
    }
    const ScrCommand unreadable{};
    const char* argument = argv[1];
    if (argument[0] != '/' && argument[0] != '-') {
        return unreadable;
    }
    const ScrRule* rule = findScrRule(argument[1]);
    if (rule == nullptr || (argument[2] != '\0' && argument[2] != ':')) {
        return unreadable;
    }
    const char* id = nullptr;
    int used = 2;
    if (argument[2] == ':') {
        id = argument + 3;
    } else if (argc > 2) {
        id = argv[2];
        used = 3;
    }
    if (used < argc || (id != nullptr && rule->windowArg == ScrWindowArg::None) ||
        (id == nullptr && rule->windowArg == ScrWindowArg::Required)) {
        return unreadable;
    }
    ScrCommand command{rule->action, 0};
    if (id != nullptr && !parseScrWindowId(id, &command.window)) {
        return unreadable;
    }
    return command;
}

bool isScrProgramPath(const char* path) {
    const size_t length = std::strlen(path);
    const size_t suffixLength = std::strlen(kScrSuffix);
    if (length < suffixLength) {
        return false;
    }
    const char* tail = path + length - suffixLength;
    for (size_t i = 0; i < suffixLength; i++) {
        if (lowerAscii(tail[i]) != kScrSuffix[i]) {
            return false;
        }
    }
    return true;
}
