// Writes the words of a DLGTEMPLATE and its DLGITEMTEMPLATEs: fixed headers, then strings as
// zero-ended UTF-16, each item starting on a DWORD boundary.
#include "app/win32/win32_dialog_template.h"

#include <cstring>

namespace {

constexpr WORD kFontPoints = 8;
constexpr const char* kFontName = "MS Shell Dlg";

void pushDword(std::vector<WORD>* words, DWORD value) {
    words->push_back(LOWORD(value));
    words->push_back(HIWORD(value));
}

// Every text of the program is ASCII, which UTF-16 keeps as it is.
void pushText(std::vector<WORD>* words, const char* text) {
    for (const char* c = text; *c != '\0'; c++) {
        words->push_back(static_cast<WORD>(static_cast<unsigned char>(*c)));
    }
    words->push_back(0);
}

void alignToDword(std::vector<WORD>* words) {
    if (words->size() % 2 != 0) {
        words->push_back(0);
    }
}

} // namespace

void dialogTemplateBegin(DialogTemplate* dialog, const char* title, short width, short height) {
    std::vector<WORD>& words = dialog->words;
    words.clear();
    pushDword(&words, DS_MODALFRAME | DS_SETFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU);
    pushDword(&words, 0); // extended style
    words.push_back(0);   // item count, raised by each item
    words.push_back(0);   // x and y: DS_CENTER places it
    words.push_back(0);
    words.push_back(static_cast<WORD>(width));
    words.push_back(static_cast<WORD>(height));
    words.push_back(0); // no menu
    words.push_back(0); // the system's dialog class
    pushText(&words, title);
    words.push_back(kFontPoints);
    pushText(&words, kFontName);
}

void dialogTemplateAddItem(DialogTemplate* dialog, const char* className, const char* text,
                           DWORD style, RECT dialogUnits, WORD id) {
    std::vector<WORD>& words = dialog->words;
    alignToDword(&words);
    pushDword(&words, style | WS_CHILD | WS_VISIBLE);
    pushDword(&words, 0); // extended style
    words.push_back(static_cast<WORD>(dialogUnits.left));
    words.push_back(static_cast<WORD>(dialogUnits.top));
    words.push_back(static_cast<WORD>(dialogUnits.right - dialogUnits.left));
    words.push_back(static_cast<WORD>(dialogUnits.bottom - dialogUnits.top));
    words.push_back(id);
    pushText(&words, className);
    pushText(&words, text);
    words.push_back(0); // no creation data
    words[4]++;         // the dialog header's item count
}

const DLGTEMPLATE* dialogTemplateData(const DialogTemplate& dialog) {
    return reinterpret_cast<const DLGTEMPLATE*>(dialog.words.data());
}
